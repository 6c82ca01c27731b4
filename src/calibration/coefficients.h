#pragma once
// Calibration coefficients: a channel's raw count times its coefficient is the value in the
// channel's unit. A committed coefficient stays within 1E-06 .. 1000000, both included.

#include <QString>

namespace vemra {

inline constexpr double kLowestCoefficient = 1e-6;
inline constexpr double kHighestCoefficient = 1000000.0;

// A key typed into a coefficient field, other than Enter: digits, Backspace and ',' reach
// the field, '.' arrives as ',', anything else is discarded (code 0). Digits and discarded
// keys are the "ordinary" keys; Backspace, ',' and '.' are editing keys.
struct CoefficientKey {
    int code;
    bool ordinary;
};
CoefficientKey filterCoefficientKey(int keyAscii);

// What committing a field's text gives. An empty text counts as 0. A number outside the
// range commits the bound it broke; a text that is no number commits nothing.
struct CoefficientCheck {
    enum Status { InRange, BelowRange, AboveRange, NotANumber };
    Status status;
    double value; // the coefficient to commit (the bound when out of range)
};
CoefficientCheck checkCoefficientText(const QString& text);

// "Coefficient value out of the range ", CR LF, "1E-06  -  1000000".
QString coefficientRangeWarning();

// The refusal of a text that is no number, quoting no more than its start.
QString notACoefficientMessage(int channel, const QString& text, double kept);

} // namespace vemra
