#pragma once
// Numeric edit: a value with limits and an arrow step, shown and typed in the station's
// number text (decimal comma). valueChanged carries the new value and is raised whether
// the operator or the program changed it, and only when it changed.

#include <QDoubleSpinBox>

namespace vemra {

class NumEdit : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit NumEdit(QWidget* parent = nullptr);

    // Sets limits, step and value in one call (no valueChanged for the design value).
    void setup(double value, double minimum, double maximum, double step);

    // Exponent form for the shown value (meter range edits).
    void setExponentDisplay(bool on) { exponent_ = on; }

protected:
    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;

private:
    bool exponent_ = false;
};

} // namespace vemra
