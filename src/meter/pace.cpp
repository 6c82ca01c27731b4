#include "meter/pace.h"

#include "meter/scpiheader.h"

#include <algorithm>
#include <cmath>

namespace vemra::meter {

namespace {

constexpr double kNplcSteps[] = {0.02, 0.2, 1, 10, 100};
// 16 characters of 11 bits (start, 8 data, 2 stop) at 9600 baud.
constexpr double kLineSeconds = 16 * 11 / 9600.0;

} // namespace

std::optional<double> nplcStep(double requested) {
    const auto step = std::find_if(std::begin(kNplcSteps), std::end(kNplcSteps),
                                   [requested](double s) { return s >= requested - 1e-9; });
    if (requested <= 0 || step == std::end(kNplcSteps))
        return std::nullopt;
    return *step;
}

double automaticTriggerDelay(const MeterSetting& setting) {
    if (setting.function == MeterFunction::DcVolts || !setting.range || *setting.range <= 100e3)
        return 0.0015;
    return *setting.range <= 1e6 ? 0.015 : 0.1;
}

double readingSeconds(const MeterSetting& setting, double lineHz) {
    const double integration = setting.nplc / lineHz * (setting.autozero ? 2 : 1);
    return integration + setting.triggerDelay.value_or(automaticTriggerDelay(setting)) +
           kLineSeconds;
}

double shortestPeriod(const MeterSetting& setting, double lineHz) {
    // A hair under a tenth is the float's, not the meter's.
    return std::ceil(readingSeconds(setting, lineHz) * 10000 - 1e-6);
}

bool applyLine(std::string_view line, MeterSetting& setting) {
    for (std::string_view unit : splitAt(line, ';')) {
        unit = trimmed(unit);
        if (!unit.empty() && unit.front() == ':')
            unit.remove_prefix(1);
        if (unit.empty())
            continue;
        const std::size_t space = std::min(unit.find(' '), unit.size());
        const std::vector<std::string_view> header = splitAt(unit.substr(0, space), ':');
        const std::string_view argument = trimmed(unit.substr(space));
        const auto is = [&header](std::string_view pattern) { return headerIs(header, pattern); };
        const auto word = [&argument](std::string_view node) {
            return nodeMatches(argument, node);
        };
        const std::vector<std::string_view> arguments = splitAt(argument, ',');
        // A range: none for autorange, MIN and MAX the function's first and last; false for
        // a text the meter refuses.
        const auto takeRange = [&](std::string_view text, MeterFunction function) {
            const bool volts = function == MeterFunction::DcVolts;
            if (text.empty() || nodeMatches(text, "DEFault") || nodeMatches(text, "AUTO"))
                setting.range.reset();
            else if (nodeMatches(text, "MINimum"))
                setting.range = volts ? 0.1 : 100;
            else if (nodeMatches(text, "MAXimum"))
                setting.range = volts ? 1000 : 100e6;
            else if (const auto value = numberIn(text))
                setting.range = value;
            else
                return false;
            return true;
        };

        if (is("*RST")) {
            setting = MeterSetting{};
        } else if (is("CONFigure:FRESistance") || is("CONFigure:RESistance") ||
                   is("CONFigure:VOLTage:[DC]")) {
            // A configuration presets what *RST does, but for the function and its range.
            const MeterFunction function =
                nodeMatches(header[1], "FRESistance")  ? MeterFunction::FourWireOhms
                : nodeMatches(header[1], "RESistance") ? MeterFunction::TwoWireOhms
                                                       : MeterFunction::DcVolts;
            setting = MeterSetting{};
            setting.function = function;
            if (!takeRange(argument.empty() ? argument : trimmed(arguments[0]), function))
                return false;
        } else if (is("[SENSe]:FRESistance:NPLCycles") || is("[SENSe]:RESistance:NPLCycles") ||
                   is("[SENSe]:VOLTage:[DC]:NPLCycles")) {
            const auto requested = word("MINimum")   ? std::optional<double>(0.02)
                                   : word("MAXimum") ? std::optional<double>(100)
                                                     : numberIn(argument);
            const auto step = requested ? nplcStep(*requested) : std::nullopt;
            if (!step)
                return false;
            setting.nplc = *step;
        } else if (is("[SENSe]:FRESistance:RANGe") || is("[SENSe]:RESistance:RANGe") ||
                   is("[SENSe]:VOLTage:[DC]:RANGe")) {
            if (!takeRange(argument, setting.function))
                return false;
        } else if (is("[SENSe]:ZERO:AUTO")) {
            if (word("ON") || argument == "1")
                setting.autozero = true;
            else if (word("OFF") || word("ONCE") || argument == "0")
                setting.autozero = false;
            else
                return false;
        } else if (is("TRIGger:DELay:AUTO")) {
            if (word("ON") || argument == "1")
                setting.triggerDelay.reset();
            else if (!(word("OFF") || argument == "0"))
                return false;
        } else if (is("TRIGger:DELay")) {
            const auto delay = word("MINimum")   ? std::optional<double>(0)
                               : word("MAXimum") ? std::optional<double>(3600)
                                                 : numberIn(argument);
            if (!delay || *delay < 0)
                return false;
            setting.triggerDelay = delay;
        } else if (!(is("SYSTem:REMote") || is("SYSTem:LOCal") || is("SYSTem:RWLock") ||
                     is("TRIGger:SOURce") || is("TRIGger:COUNt") || is("SAMPle:COUNt") ||
                     is("*CLS") || is("READ?") || is("INITiate") || is("SYSTem:ERRor?") ||
                     is("*IDN?"))) {
            return false;
        }
    }
    return true;
}

std::optional<MeterSetting> settingFromLines(const std::vector<std::string>& lines,
                                             std::string* unknown) {
    MeterSetting setting;
    for (const std::string& line : lines) {
        if (!applyLine(line, setting)) {
            if (unknown)
                *unknown = line;
            return std::nullopt;
        }
    }
    return setting;
}

} // namespace vemra::meter
