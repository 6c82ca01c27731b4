#include "rig/meter.h"

#include "meter/scpiheader.h"
#include "rig/signalsource.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace vemra::rig {

namespace {

constexpr std::int64_t kUnitChars = 16; // a reading's 15 characters and its ','
constexpr double kOverload = 9.9e37;    // what the meter reads beyond its range
constexpr std::size_t kErrorQueue = 20;
constexpr std::size_t kLineMax = 256;
constexpr std::uint8_t kDeviceClear = 3;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::int64_t nanoseconds(double seconds) {
    return static_cast<std::int64_t>(std::llround(seconds * 1e9));
}

} // namespace

std::string meterReadingText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.8E", value);
    return text;
}

Meter::Meter(const MeterFaults& faults, double lineHz, std::uint64_t seed, LineSink log,
             LineSink truth)
    : faults_(faults)
    , lineHz_(lineHz)
    , seed_(seed)
    , log_(std::move(log))
    , truth_(std::move(truth)) {}

void Meter::receive(std::span<const std::uint8_t> bytes, std::int64_t now) {
    for (const std::uint8_t byte : bytes) {
        if (byte == kDeviceClear) {
            // Aborts the measurement and empties the output, as the instrument's ^C does.
            log_("meter: device clear");
            reading_ = false;
            line_.clear();
            input_.clear();
        } else if (byte == '\n') {
            line(input_, now);
            input_.clear();
        } else if (byte != '\r' && input_.size() < kLineMax) {
            input_ += static_cast<char>(byte);
        }
    }
}

void Meter::line(std::string_view text, std::int64_t now) {
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t semicolon = std::min(text.find(';', from), text.size());
        std::string_view unit = meter::trimmed(text.substr(from, semicolon - from));
        from = semicolon + 1;
        if (unit.starts_with(':'))
            unit.remove_prefix(1);
        if (unit.empty())
            continue;
        const std::size_t space = std::min(unit.find(' '), unit.size());
        const std::string_view header = unit.substr(0, space);
        const std::string_view argument = meter::trimmed(unit.substr(space));
        switch (command(unit, header, argument, now)) {
        case Outcome::Taken:
            log_("meter: " + std::string(unit));
            if (!header.ends_with('?'))
                configuration_.emplace_back(unit);
            break;
        case Outcome::UndefinedHeader:
            log_("meter: " + std::string(unit) + " (undefined header)");
            error(-113, "Undefined header");
            break;
        case Outcome::IllegalValue:
            log_("meter: " + std::string(unit) + " (illegal parameter value)");
            error(-224, "Illegal parameter value");
            break;
        }
    }
}

Meter::Outcome Meter::command(std::string_view unit, std::string_view header,
                              std::string_view argument, std::int64_t now) {
    const std::vector<std::string_view> given = meter::splitAt(header, ':');
    const auto is = [&given](std::string_view pattern) { return meter::headerIs(given, pattern); };
    const auto word = [&argument](std::string_view node) {
        return meter::nodeMatches(argument, node);
    };

    if (is("*IDN?")) {
        reply("HEWLETT-PACKARD,34401A,0,11-5-2", now);
    } else if (is("*RST")) {
        reset();
    } else if (is("*CLS")) {
        errors_.clear();
    } else if (is("*TRG")) {
        if (reading_ && source_ == Source::Bus && now >= busyUntil_)
            measure(run_, "- -", last_, now);
    } else if (is("SYSTem:REMote") || is("SYSTem:LOCal") || is("SYSTem:RWLock")) {
    } else if (is("SYSTem:ERRor?")) {
        reply(errors_.empty() ? std::string("+0,\"No error\"") : errors_.front(), now);
        if (!errors_.empty())
            errors_.pop_front();
    } else if (is("CONFigure:FRESistance") || is("CONFigure:RESistance") ||
               is("CONFigure:VOLTage:[DC]")) {
        meter::applyLine(unit, setting_);
        // A configuration ends a measurement under way and presets one reading per
        // immediate trigger.
        reading_ = false;
        source_ = Source::Immediate;
        triggerCount_ = 1;
    } else if (is("TRIGger:SOURce")) {
        if (word("IMMediate"))
            source_ = Source::Immediate;
        else if (word("EXTernal"))
            source_ = Source::External;
        else if (word("BUS"))
            source_ = Source::Bus;
        else
            return Outcome::IllegalValue;
    } else if (is("TRIGger:COUNt")) {
        const auto count = meter::numberIn(argument);
        if (word("INFinity"))
            triggerCount_.reset();
        else if (count && *count >= 1 && *count <= 50000)
            triggerCount_ = static_cast<std::uint64_t>(*count);
        else
            return Outcome::IllegalValue;
    } else if (is("SAMPle:COUNt")) {
    } else if (is("[SENSe]:FRESistance:NPLCycles") || is("[SENSe]:RESistance:NPLCycles") ||
               is("[SENSe]:VOLTage:[DC]:NPLCycles") || is("[SENSe]:FRESistance:RANGe") ||
               is("[SENSe]:RESistance:RANGe") || is("[SENSe]:VOLTage:[DC]:RANGe") ||
               is("[SENSe]:ZERO:AUTO") || is("TRIGger:DELay") || is("TRIGger:DELay:AUTO")) {
        // What sets the pace is taken as the station reckons with it.
        if (!meter::applyLine(unit, setting_))
            return Outcome::IllegalValue;
        // ONCE zeroes now, one integration long, and leaves autozero off.
        if (is("[SENSe]:ZERO:AUTO") && word("ONCE"))
            busyUntil_ = std::max(busyUntil_, now) + nanoseconds(setting_.nplc / lineHz_);
    } else if (is("READ?")) {
        reading_ = true;
        taken_ = 0;
        busyUntil_ = std::max(busyUntil_, now);
    } else {
        return Outcome::UndefinedHeader;
    }
    return Outcome::Taken;
}

void Meter::reset() {
    setting_ = {};
    source_ = Source::Immediate;
    triggerCount_ = 1;
    reading_ = false;
    configuration_.clear();
}

void Meter::error(int code, std::string_view text) {
    std::string entry = std::to_string(code) + ",\"" + std::string(text) + '"';
    if (errors_.size() < kErrorQueue)
        errors_.push_back(std::move(entry));
    else
        errors_.back() = "-350,\"Too many errors\"";
}

void Meter::reply(std::string text, std::int64_t at) {
    // Behind a reading still being measured, whose place on the line is taken already.
    line_.push(bytesOf(text + "\r\n"), at);
}

void Meter::trigger(int run, std::uint64_t record, const Samples& raw, std::int64_t now) {
    last_ = raw;
    if (run != run_) {
        run_ = run;
        runReadings_ = 0;
    }
    if (reading_ && source_ == Source::External && now >= busyUntil_)
        measure(run, std::to_string(run) + ' ' + std::to_string(record), raw, now);
}

void Meter::measure(int run, const std::string& origin, const Samples& raw, std::int64_t now) {
    const bool firstRun = run == 1 && origin != "- -";
    const std::uint64_t index = runReadings_++;
    const bool overload = firstRun && faults_.overloadAt == index;
    std::string text = meterReadingText(overload ? kOverload : value(raw, now));
    std::string truth = "M " + origin + ' ' + text + (overload ? " overload" : "");
    ++taken_;
    const bool last = triggerCount_ && taken_ >= *triggerCount_;
    text += last ? "\r\n" : ",";
    reading_ = !last;

    const DamagedUnit unit =
        damageUnit(text, firstRun ? faults_ : MeterFaults{}, seed_, run, index);
    for (const std::string& note : unit.notes)
        truth_(note);
    truth_(truth + unit.marks);
    // The station's reckoning ends with the unit's characters through the line. Busy with its
    // own characters only: the foreign ones are the line's doing.
    const std::int64_t measured =
        now + nanoseconds(meter::readingSeconds(setting_, lineHz_)) - kUnitChars * kMeterCharNs;
    busyUntil_ = measured + static_cast<std::int64_t>(unit.own) * kMeterCharNs;
    line_.push(bytesOf(unit.bytes), measured);
}

// A strain-gauge bridge: an arm's resistance follows the force and the slow channel, and the
// bridge's output swings with the force either side of zero, a few volts over the
// converter's range; both with a little noise of their own below the converter's steps.
double Meter::value(const Samples& raw, std::int64_t now) const {
    const double noise = 0.004 * unitNoise(seed_, run_, static_cast<std::uint64_t>(now), 3);
    const double ohms = 1000.0 + 0.5 * (raw[0] - kForceRest) + 0.25 * (raw[1] - 300.0) + noise;
    switch (setting_.function) {
    case meter::MeterFunction::FourWireOhms:
        return ohms;
    case meter::MeterFunction::TwoWireOhms:
        return ohms + 0.8; // the test leads
    case meter::MeterFunction::DcVolts:
        return (raw[0] - kForceRest) * 10.0 / kAdcMax + noise / 1000.0;
    }
    return ohms;
}

void Meter::send(std::int64_t now, std::vector<std::uint8_t>& out) {
    while (reading_ && source_ == Source::Immediate && busyUntil_ <= now)
        measure(run_, "- -", last_, busyUntil_);
    line_.take(now, out);
}

std::optional<std::int64_t> Meter::nextSendNs() const {
    std::optional<std::int64_t> next = line_.nextDueNs();
    if (reading_ && source_ == Source::Immediate)
        next = std::min(next.value_or(busyUntil_), busyUntil_);
    return next;
}

} // namespace vemra::rig
