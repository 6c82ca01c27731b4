#pragma once
// The bench multimeter (an Agilent 34401A on RS-232) as the rig plays it: it takes SCPI
// lines ended by CR LF (LF alone will do), keeps its configuration, answers queries, keeps
// an error queue, and after "READ?" measures once per trigger: a board record with the
// external trigger, back to back with the immediate one. A reading takes as long as the
// station reckons it does (meter/pace.h): the trigger delay, the integration over NPLC
// power-line cycles and, while autozero is on, a zero measurement as long, then its
// characters at 9600 baud with two stop bits, one after another; triggers that come while it
// is busy are ignored, as on the real instrument. Time is the caller's monotonic clock; the
// bytes a caller takes are through the line by then.

#include "meter/pace.h"
#include "rig/board.h"
#include "rig/line.h"
#include "rig/meterfaults.h"
#include "rig/record.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vemra::rig {

// Nanoseconds one character takes on the line: start, 8 data and 2 stop bits at 9600 baud.
constexpr std::int64_t kMeterCharNs = 11 * 1'000'000'000LL / 9600;

// The reading text, as the meter sends it: "+1.00012345E+03".
std::string meterReadingText(double value);

class Meter {
public:
    // lineHz: the power line the meter integrates over, 50 or 60.
    Meter(const MeterFaults& faults, double lineHz, std::uint64_t seed, LineSink log,
          LineSink truth);

    // Bytes from the station.
    void receive(std::span<const std::uint8_t> bytes, std::int64_t now);
    // The board's trigger out: record `record` of board run `run` was sampled now.
    void trigger(int run, std::uint64_t record, const Samples& raw, std::int64_t now);
    // Appends what has come through the line by now.
    void send(std::int64_t now, std::vector<std::uint8_t>& out);
    // When the next byte is through or the next immediate trigger is due, if any.
    std::optional<std::int64_t> nextSendNs() const;

    // The configuration lines it has taken, in order (since the last *RST).
    const std::vector<std::string>& configuration() const { return configuration_; }

private:
    enum class Source { Immediate, External, Bus };
    enum class Outcome { Taken, UndefinedHeader, IllegalValue };

    void line(std::string_view text, std::int64_t now);
    Outcome command(std::string_view unit, std::string_view header, std::string_view argument,
                    std::int64_t now);
    void reset();
    void error(int code, std::string_view text);
    void reply(std::string text, std::int64_t at);
    // origin: "run record" of the triggering record, "- -" for an immediate or bus trigger.
    void measure(int run, const std::string& origin, const Samples& raw, std::int64_t now);
    double value(const Samples& raw, std::int64_t now) const;

    MeterFaults faults_;
    double lineHz_;
    std::uint64_t seed_;
    LineSink log_;
    LineSink truth_;

    meter::MeterSetting setting_;
    Source source_ = Source::Immediate;
    std::optional<std::uint64_t> triggerCount_; // nothing: infinite
    std::vector<std::string> configuration_;
    std::deque<std::string> errors_;

    bool reading_ = false; // "READ?" taken, readings to come
    std::uint64_t taken_ = 0;
    std::int64_t busyUntil_ = 0;
    Samples last_{512, 300, 250};
    int run_ = 0;
    std::uint64_t runReadings_ = 0;

    // Readings and replies share it: whatever comes next waits for what is on it.
    Line line_{9600, 11}; // 8N2
    std::string input_;
};

} // namespace vemra::rig
