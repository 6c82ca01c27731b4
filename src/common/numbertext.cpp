#include "common/numbertext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vemra {

namespace {

// Exponent form below this magnitude and from 10^15 up, as the old runtime printed.
constexpr int smallestPlainExponent = -4;
constexpr int firstExponentFormExponent = 15;
constexpr int significantDigits = 15;

// Texts for the values that have no number text; parseNumber refuses them.
QString nonFiniteText(double value) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
}

} // namespace

QString generalText(double value) {
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (value == 0.0)
        return QStringLiteral("0");

    // Scientific form with 15 significant digits does the rounding: "d.dddddddddddddde±x".
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, significantDigits - 1);
    const std::string scientific(buffer, written.ptr);
    const auto ePos = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, ePos - 2);
    const int exponent = std::stoi(scientific.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent < smallestPlainExponent || exponent >= firstExponentFormExponent) {
        text += digits[0];
        if (digits.size() > 1)
            text += ',' + digits.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        const std::string magnitude = std::to_string(std::abs(exponent));
        text += (magnitude.size() < 2 ? "0" : "") + magnitude;
    } else if (exponent < 0) {
        text += "0," + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits)
            text += digits + std::string(integerDigits - digits.size(), '0');
        else
            text += digits.substr(0, integerDigits) + ',' + digits.substr(integerDigits);
    }
    return QString::fromLatin1(text);
}

QString fixed3Text(double value) {
    if (!std::isfinite(value))
        return nonFiniteText(value);

    // Halves are rounded away from zero, judged on the exact binary value: the product of a
    // double and 1000 needs 60 significant bits, which the x87 extended type holds exactly.
    static_assert(std::numeric_limits<long double>::digits >= 64);
    if (std::fabs(value) >= 0x1p53) {
        // Every double from 2^53 up is a whole number: nothing to round.
        char buffer[400];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
        return QString::fromLatin1(buffer, written.ptr - buffer).replace(u'.', u',');
    }
    const long double thousandths = std::roundl(std::fabs(value) * 1000.0L);
    const auto count = static_cast<unsigned long long>(thousandths);
    const std::string decimals = std::to_string(count % 1000);
    std::string text = value < 0 && count != 0 ? "-" : "";
    text += std::to_string(count / 1000) + ',' + std::string(3 - decimals.size(), '0') + decimals;
    return QString::fromLatin1(text);
}

long long roundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    // Independent of the floating-point rounding mode: round() takes halves away from zero,
    // and a half is then moved to the even neighbour.
    double rounded = std::round(value);
    if (std::fabs(value - rounded) == 0.5)
        rounded = 2.0 * std::round(value / 2.0);
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (rounded >= limit)
        return std::numeric_limits<long long>::max();
    if (rounded <= -limit)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(rounded);
}

namespace {

template <typename Int> Int saturated(double value) {
    const long long whole = roundHalfEven(value);
    if (whole > std::numeric_limits<Int>::max())
        return std::numeric_limits<Int>::max();
    if (whole < std::numeric_limits<Int>::min())
        return std::numeric_limits<Int>::min();
    return static_cast<Int>(whole);
}

} // namespace

std::int16_t toInt16(double value) {
    return saturated<std::int16_t>(value);
}

std::int32_t toInt32(double value) {
    return saturated<std::int32_t>(value);
}

std::uint8_t toByte(double value) {
    return saturated<std::uint8_t>(value);
}

std::optional<double> parseNumber(QStringView text) {
    text = text.trimmed();
    // The grammar is checked here; from_chars then sees a plain C-locale text without '+'.
    std::string plain;
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return k < text.size() ? text[k].unicode() : u'\0'; };
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    const auto takeDigits = [&] {
        qsizetype count = 0;
        for (; isDigit(at(i)); ++i, ++count)
            plain += static_cast<char>(at(i));
        return count;
    };

    if (at(i) == u'-')
        plain += '-';
    if (at(i) == u'-' || at(i) == u'+')
        ++i;
    qsizetype mantissaDigits = takeDigits();
    if (at(i) == u',' || at(i) == u'.') {
        plain += '.';
        ++i;
        mantissaDigits += takeDigits();
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (at(i) == u'e' || at(i) == u'E') {
        plain += 'e';
        ++i;
        if (at(i) == u'-')
            plain += '-';
        if (at(i) == u'-' || at(i) == u'+')
            ++i;
        if (takeDigits() == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    return value;
}

double numericValue(QStringView text) {
    return parseNumber(text).value_or(0.0);
}

} // namespace vemra
