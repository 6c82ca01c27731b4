#include "calibration/coefficients.h"

#include "common/numbertext.h"
#include "common/quote.h"

namespace vemra {

namespace {

constexpr int kBackspace = 8;
constexpr int kComma = 44;
constexpr int kPoint = 46;

} // namespace

CoefficientKey filterCoefficientKey(int keyAscii) {
    if (keyAscii == kBackspace || keyAscii == kComma)
        return {keyAscii, false};
    if (keyAscii == kPoint)
        return {kComma, false};
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    return {digit ? keyAscii : 0, true};
}

CoefficientCheck checkCoefficientText(const QString& text) {
    const auto number = text.isEmpty() ? std::optional<double>(0.0) : parseNumber(text);
    if (!number)
        return {CoefficientCheck::NotANumber, 0.0};
    if (*number < kLowestCoefficient)
        return {CoefficientCheck::BelowRange, kLowestCoefficient};
    if (*number > kHighestCoefficient)
        return {CoefficientCheck::AboveRange, kHighestCoefficient};
    return {CoefficientCheck::InRange, *number};
}

QString coefficientRangeWarning() {
    return QStringLiteral("Coefficient value out of the range ") + QStringLiteral("\r\n") +
           generalText(kLowestCoefficient) + QStringLiteral("  -  ") +
           generalText(kHighestCoefficient);
}

QString notACoefficientMessage(int channel, const QString& text, double kept) {
    return QStringLiteral("Coeff.CH%1: %2 is not a number. The coefficient stays %3.")
        .arg(channel)
        .arg(quotedPrefix(text), generalText(kept));
}

} // namespace vemra
