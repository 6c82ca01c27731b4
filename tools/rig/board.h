#pragma once
// The acquisition board's behaviour: it obeys the station's commands, produces one record
// per call while it streams, injects the faults it was asked for and reports every record
// and run boundary to the ground truth. Pacing and bytes on the line are the caller's.

#include "rig/commands.h"
#include "rig/signalsource.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vemra::rig {

struct Faults {
    std::uint64_t badChecksumEvery = 0;       // 0: never; else every N-th record of a run, from 1
    std::optional<std::uint64_t> loseByteAt;  // record index within each run
    std::optional<std::uint64_t> extraByteAt; // record index within each run
    // The byte lost, and the byte the extra one goes before, in the record as sampled.
    std::uint64_t faultOffset = 1;
    std::uint64_t afterStop = 0;           // records still sent after the stop byte
    std::optional<std::uint64_t> vanishAt; // records of the first run before the port goes
    std::uint64_t recordsLimit = 0;        // 0: none
};

using LineSink = std::function<void(const std::string&)>;

// A record the board sampled: what its trigger output tells the meter.
struct Sampled {
    int run = 0;
    std::uint64_t index = 0;
    Samples raw{};
};

class Board {
public:
    Board(const Faults& faults, std::uint64_t seed, LineSink log, LineSink truth);

    void apply(const Command& command);

    bool streaming() const { return streaming_; }
    // Set once the first run has sent its --vanish-at records: the port must go away.
    bool vanished() const { return vanished_; }
    int period() const { return period_; }

    // Appends the next record to out, unless the caller cannot send it (dropped): the
    // truth then marks it. Either way the board sampled it.
    Sampled next(std::vector<std::uint8_t>& out, bool dropped = false);

private:
    void noteChange();
    void damage(std::vector<std::uint8_t>& record, std::string& truth);
    void start();
    void stop();
    void checkEnd();
    void endStreaming(const std::string& truth, const std::string& log);

    Faults faults_;
    std::uint64_t seed_;
    SignalSource source_;
    LineSink log_;
    LineSink truth_;
    Actuator actuator_;
    std::uint8_t mask_ = 1;
    int period_ = 400;
    int run_ = 0;
    std::uint64_t index_ = 0;
    bool streaming_ = false;
    std::optional<std::uint64_t> tail_; // records left after the stop byte
    bool vanished_ = false;
};

} // namespace vemra::rig
