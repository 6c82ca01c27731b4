#include "common/numbertext.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace vemra {

namespace {

// Exponent form below this magnitude and from 10^15 up, as the old runtime printed.
constexpr int smallestPlainExponent = -4;
constexpr int firstExponentFormExponent = 15;
constexpr int significantDigits = 15;

// Texts for the values that have no number text; parseNumber refuses them.
const char* nonFiniteText(double value) {
    if (std::isnan(value))
        return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

char* appendChars(char* out, const char* first, const char* last) {
    std::memcpy(out, first, static_cast<std::size_t>(last - first));
    return out + (last - first);
}

// With 15 significant digits the largest doubles are written rounded up past the largest
// double ("1,79769313486232E+308"); such a text reads back as the largest double, so that
// every number the station writes, it reads back.
std::optional<double> largestWrittenAsRounded(const char* first, const char* last) {
    constexpr long double roundedLargest = 1.79769313486232e308L;
    long double wide = 0;
    const auto [end, error] = std::from_chars(first, last, wide);
    if (error != std::errc() || end != last || std::fabs(wide) > roundedLargest ||
        std::fabs(wide) < 1.0L)
        return std::nullopt;
    constexpr double largest = std::numeric_limits<double>::max();
    return wide < 0 ? -largest : largest;
}

} // namespace

int appendGeneral(char* out, double value) {
    char* p = out;
    if (!std::isfinite(value)) {
        const char* text = nonFiniteText(value);
        return static_cast<int>(appendChars(p, text, text + std::strlen(text)) - out);
    }
    if (value == 0.0) {
        *p = '0';
        return 1;
    }
    if (value < 0)
        *p++ = '-';

    // Scientific form with 15 significant digits does the rounding: "d.dddddddddddddde±x".
    char scientific[32];
    const char* const scientificEnd =
        std::to_chars(scientific, scientific + sizeof scientific, std::fabs(value),
                      std::chars_format::scientific, significantDigits - 1)
            .ptr;
    char digits[significantDigits];
    digits[0] = scientific[0];
    std::memcpy(digits + 1, scientific + 2, significantDigits - 1);
    const char* const exponentSign = scientific + significantDigits + 2;
    int exponent = 0;
    for (const char* e = exponentSign + 1; e < scientificEnd; ++e)
        exponent = exponent * 10 + (*e - '0');
    if (*exponentSign == '-')
        exponent = -exponent;
    int digitCount = significantDigits;
    while (digitCount > 1 && digits[digitCount - 1] == '0')
        --digitCount;
    const char* const digitsEnd = digits + digitCount;

    if (exponent < smallestPlainExponent || exponent >= firstExponentFormExponent) {
        *p++ = digits[0];
        if (digitCount > 1) {
            *p++ = ',';
            p = appendChars(p, digits + 1, digitsEnd);
        }
        *p++ = 'E';
        *p++ = exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude >= 100)
            *p++ = static_cast<char>('0' + magnitude / 100);
        *p++ = static_cast<char>('0' + magnitude / 10 % 10);
        *p++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent < 0) {
        *p++ = '0';
        *p++ = ',';
        for (int zeros = -exponent - 1; zeros > 0; --zeros)
            *p++ = '0';
        p = appendChars(p, digits, digitsEnd);
    } else {
        const int integerDigits = exponent + 1;
        if (digitCount <= integerDigits) {
            p = appendChars(p, digits, digitsEnd);
            for (int zeros = integerDigits - digitCount; zeros > 0; --zeros)
                *p++ = '0';
        } else {
            p = appendChars(p, digits, digits + integerDigits);
            *p++ = ',';
            p = appendChars(p, digits + integerDigits, digitsEnd);
        }
    }
    return static_cast<int>(p - out);
}

QString generalText(double value) {
    char buffer[generalTextMaxLength];
    return QString::fromLatin1(buffer, appendGeneral(buffer, value));
}

QString fixed3Text(double value) {
    if (!std::isfinite(value))
        return QString::fromLatin1(nonFiniteText(value));

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
    const char* const last = plain.data() + plain.size();
    const auto [end, error] = std::from_chars(plain.data(), last, value);
    if (error == std::errc::result_out_of_range)
        return largestWrittenAsRounded(plain.data(), last);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

double numericValue(QStringView text) {
    return parseNumber(text).value_or(0.0);
}

} // namespace vemra
