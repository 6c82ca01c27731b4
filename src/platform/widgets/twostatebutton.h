#pragma once
// Two-state (on/off) button; valueChanged is raised for the operator's and the program's
// changes alike.

#include <QPushButton>

namespace vemra {

class TwoStateButton : public QPushButton {
    Q_OBJECT
public:
    explicit TwoStateButton(const QString& caption, QWidget* parent = nullptr);

    bool value() const { return isChecked(); }
    void setValue(bool on) { setChecked(on); }

signals:
    void valueChanged(bool on);
};

} // namespace vemra
