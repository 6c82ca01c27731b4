#pragma once
// The station's number text: what the operator reads, what the two files hold and what is
// read back from them. Decimal comma, no digit grouping.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace vemra {

// General form of a double: up to 15 significant digits, no trailing zeros, "-" for
// negatives, exponent form (1E-06, 1,5E+20) for magnitudes below 0.0001 or from 1E+15 up.
QString generalText(double value);

// Longest text of the general form: "-1,79769313486232E+308".
constexpr int generalTextMaxLength = 22;

// The general form written into out, which has room for generalTextMaxLength characters;
// returns the count written. For texts of millions of numbers, where a QString each would
// cost more than the digits.
int appendGeneral(char* out, double value);

// "####0.000" and "#######0.000": at least one integer digit, exactly three decimals.
QString fixed3Text(double value);

// Conversions to integers: nearest whole number, halves to the even neighbour, saturated
// at the type's limits (a value out of range never wraps around).
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);
std::uint8_t toByte(double value);
long long roundHalfEven(double value);

// Reverse of generalText/fixed3Text: accepts ',' or '.' as decimal separator, an optional
// sign and an optional exponent ("1E-06", "2,5e3"); surrounding blanks are ignored.
// Anything else is not a number.
std::optional<double> parseNumber(QStringView text);

// Numeric value of a text where "not a number counts as 0" (labels and text boxes that
// the logic reads back).
double numericValue(QStringView text);

} // namespace vemra
