#include "meter/pace.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace vemra::meter {

namespace {

constexpr double kNplcSteps[] = {0.02, 0.2, 1, 10, 100};
// 16 characters of 11 bits (start, 8 data, 2 stop) at 9600 baud.
constexpr double kLineSeconds = 16 * 11 / 9600.0;

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// "SYSTem" stands for SYST and SYSTEM; a node in brackets may be left out.
bool nodeIs(std::string_view given, std::string_view node) {
    std::string shortForm;
    for (const char c : node)
        if (!std::islower(static_cast<unsigned char>(c)))
            shortForm += c;
    const std::string word = upper(given);
    return word == shortForm || word == upper(node);
}

std::vector<std::string_view> split(std::string_view text, char by) {
    std::vector<std::string_view> out;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(by, from);
        out.push_back(text.substr(from, at - from));
        if (at == text.npos)
            return out;
        from = at + 1;
    }
}

bool headerIs(const std::vector<std::string_view>& given, std::size_t at,
              const std::vector<std::string_view>& pattern, std::size_t from) {
    if (from == pattern.size())
        return at == given.size();
    std::string_view node = pattern[from];
    if (node.front() == '[') {
        node = node.substr(1, node.size() - 2);
        if (headerIs(given, at, pattern, from + 1))
            return true;
    }
    return at < given.size() && nodeIs(given[at], node) &&
           headerIs(given, at + 1, pattern, from + 1);
}

std::optional<double> number(std::string_view text) {
    text = trimmed(text);
    double value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

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
    for (std::string_view unit : split(line, ';')) {
        unit = trimmed(unit);
        if (!unit.empty() && unit.front() == ':')
            unit.remove_prefix(1);
        if (unit.empty())
            continue;
        const std::size_t space = std::min(unit.find(' '), unit.size());
        const std::vector<std::string_view> header = split(unit.substr(0, space), ':');
        const std::string_view argument = trimmed(unit.substr(space));
        const auto is = [&header](std::string_view pattern) {
            return headerIs(header, 0, split(pattern, ':'), 0);
        };
        const auto word = [&argument](std::string_view node) { return nodeIs(argument, node); };
        const std::vector<std::string_view> arguments = split(argument, ',');
        const auto rangeOf = [&](std::string_view text) -> std::optional<double> {
            if (text.empty() || nodeIs(text, "DEFault") || nodeIs(text, "AUTO"))
                return std::nullopt;
            return number(text);
        };

        if (is("*RST")) {
            setting = MeterSetting{};
        } else if (is("CONFigure:FRESistance") || is("CONFigure:RESistance") ||
                   is("CONFigure:VOLTage:[DC]")) {
            // A configuration presets what *RST does, but for the function and its range.
            const MeterFunction function =
                nodeIs(header[1], "FRESistance")  ? MeterFunction::FourWireOhms
                : nodeIs(header[1], "RESistance") ? MeterFunction::TwoWireOhms
                                                  : MeterFunction::DcVolts;
            setting = MeterSetting{};
            setting.function = function;
            setting.range = rangeOf(argument.empty() ? argument : trimmed(arguments[0]));
        } else if (is("[SENSe]:FRESistance:NPLCycles") || is("[SENSe]:RESistance:NPLCycles") ||
                   is("[SENSe]:VOLTage:[DC]:NPLCycles")) {
            const auto requested = word("MINimum")   ? std::optional<double>(0.02)
                                   : word("MAXimum") ? std::optional<double>(100)
                                                     : number(argument);
            const auto step = requested ? nplcStep(*requested) : std::nullopt;
            if (!step)
                return false;
            setting.nplc = *step;
        } else if (is("[SENSe]:FRESistance:RANGe") || is("[SENSe]:RESistance:RANGe") ||
                   is("[SENSe]:VOLTage:[DC]:RANGe")) {
            setting.range = rangeOf(argument);
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
                                                 : number(argument);
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
