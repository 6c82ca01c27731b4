#pragma once
// The meter's dialogue as bytes and texts: command lines out, 16-character reading units
// in. No widgets and no ports here.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace vemra::meter {

// A reading unit: the 15-character reading (sign, digit, point, eight digits, 'E', sign,
// two digits) and the ',' that ends it.
constexpr int kUnitLength = 16;

// The device-clear byte: the meter aborts its measurement and empties its output.
constexpr char kDeviceClear = 3;

// A command line as it goes on the wire: the text in 8-bit characters, then CR LF.
QByteArray commandLine(QStringView text);

// The line that step s of the start-up sequence sends ("SYST:REM", the four parameter
// lines, "READ?"), or nothing once s is past the last step.
std::optional<QString> initLine(int step, const std::array<QString, 4>& parameters);
constexpr int kInitSteps = 6;

// The reading text of a unit: its first 15 characters with the third, the meter's decimal
// point, turned into the station's ','. Nothing when the unit does not end with ',': the
// stream is out of step or the meter sent something else.
std::optional<QString> readingText(QStringView unit);

// What the meter reads when the input is beyond its range: ±9.9E37.
constexpr double kOverload = 9.9e37;

// A reading text as a number for the charts; NaN, a gap, for a text that is not a number.
double readingValue(QStringView text);

// A raw reply as the manual box shows it: every ',' starts a new line, and the meter's own
// line ends are the box's line breaks.
QString manualReply(QStringView raw);

} // namespace vemra::meter
