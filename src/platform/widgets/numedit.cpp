#include "platform/widgets/numedit.h"

#include "common/numbertext.h"
#include "platform/widgets/wheelguard.h"

#include <QRegularExpression>
#include <QSignalBlocker>
#include <cmath>

namespace vemra {

NumEdit::NumEdit(QWidget* parent)
    : QDoubleSpinBox(parent) {
    // The value changes when the operator commits (Enter, focus out, arrows), not per key.
    setKeyboardTracking(false);
    ignoreWheelUnlessFocused(this);
    // QDoubleSpinBox rounds every value to decimals(); nine keep coefficients such as
    // 0.001023 and the 1E-06 lower bound intact.
    setDecimals(9);
}

void NumEdit::setup(double value, double minimum, double maximum, double step) {
    const QSignalBlocker blocker(this);
    setRange(minimum, maximum);
    setSingleStep(step);
    setValue(value);
}

QString NumEdit::textFromValue(double value) const {
    if (!exponent_)
        return generalText(value);
    // The meter graph's ".##0e" look: two decimals and a bare exponent, "1,00e3".
    if (value == 0.0)
        return QStringLiteral("0,00e0");
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    double mantissa = value / std::pow(10.0, exponent);
    if (std::round(std::fabs(mantissa) * 100.0) >= 1000.0) {
        ++exponent;
        mantissa /= 10.0;
    }
    return QString::number(mantissa, 'f', 2).replace(u'.', u',') + u'e' + QString::number(exponent);
}

double NumEdit::valueFromText(const QString& text) const {
    return parseNumber(text).value_or(value());
}

QValidator::State NumEdit::validate(QString& text, int& pos) const {
    Q_UNUSED(pos);
    if (parseNumber(text))
        return QValidator::Acceptable;
    // Anything that could still become a number while the operator types.
    static const QRegularExpression partial(
        QStringLiteral(R"(^\s*[+-]?\d*([.,]\d*)?([eE][+-]?\d*)?\s*$)"));
    return partial.match(text).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

} // namespace vemra
