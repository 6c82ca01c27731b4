#pragma once
// How long the bench multimeter (a 34401A-class meter) takes for one triggered reading, worked
// out from the lines that set it up: the station tells the operator which period the meter
// keeps up with, and the simulated rig's meter takes exactly this long. Standard C++ only, so
// both use the one rule.
//
// A reading takes its integration (NPLC power-line cycles), doubled while autozero is on (a
// zero measurement follows each one), plus the trigger delay (automatic unless set), plus its
// 16 characters on the 9600-baud 8N2 line. A trigger that comes before that is ignored.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemra::meter {

enum class MeterFunction { FourWireOhms, TwoWireOhms, DcVolts };

struct MeterSetting {
    MeterFunction function = MeterFunction::FourWireOhms;
    double nplc = 10;                   // one of 0.02, 0.2, 1, 10, 100
    bool autozero = true;               // on after CONF and *RST; ONCE zeroes once, then it is off
    std::optional<double> range;        // ohms or volts; none: autorange
    std::optional<double> triggerDelay; // seconds; none: automatic
};

// The integration times the meter has; a request takes the next one up (MIN the first, MAX
// the last), nothing beyond the last.
std::optional<double> nplcStep(double requested);

// The automatic trigger delay: 1.5 ms for DC volts and for resistance up to 100 kΩ, 15 ms on
// the 1 MΩ range, 100 ms above (an autoranged resistance is taken at a range up to 100 kΩ).
double automaticTriggerDelay(const MeterSetting& setting);

// Seconds from a trigger until the meter takes the next one.
double readingSeconds(const MeterSetting& setting, double lineHz);

// The shortest period, in tenths of a millisecond (the station's unit), at which every trigger
// finds the meter ready.
double shortestPeriod(const MeterSetting& setting, double lineHz);

// One SCPI line's effect on the setting, as the meter takes it: false for a line the rule does
// not know (the reading time then cannot be told). Lines that change nothing of the pace
// (SYST:REM, TRIG:SOUR, TRIG:COUN, READ?, ...) are known and leave it.
bool applyLine(std::string_view line, MeterSetting& setting);

// The setting the lines leave, from the meter's state after *RST; nothing and the first line
// not known when the rule cannot tell.
std::optional<MeterSetting> settingFromLines(const std::vector<std::string>& lines,
                                             std::string* unknown = nullptr);

} // namespace vemra::meter
