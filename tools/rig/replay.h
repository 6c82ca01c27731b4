#pragma once
// A journal's run played again on the two lines, as the station read it: each board and
// meter piece at its recorded offset from the station's start byte. At the station's stop
// byte the board does what the recorded board did: the run's pieces still to come are
// dropped and those the journal holds after its stop follow, at their recorded offsets
// from the stop byte. The meter plays to its end. A start byte plays the run again from its
// beginning. Time is the caller's monotonic clock in nanoseconds; the line's pace is the
// caller's too.

#include "journal/format.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemra::rig {

enum class Port { Board, Meter };

struct Send {
    Port port = Port::Board;
    std::int64_t atNs = 0;
    std::string_view bytes; // valid while the replay lives
};

class Replay {
public:
    // fast: nothing waits for its time; the two ports' pieces keep their recorded order.
    // The journal's bytes move into the replay rather than being copied: a run's journal
    // may be tens of megabytes.
    Replay(journal::Journal journal, bool fast);

    void start(std::int64_t now);
    void stop(std::int64_t now);

    // The next piece due by now, if any; sent() moves past it.
    std::optional<Send> due(std::int64_t now) const;
    void sent();
    // When the next piece is due, if one is to come before the station's next byte.
    std::optional<std::int64_t> nextDueNs() const;

    // What will play, for the log.
    std::string summary() const;

private:
    struct Piece {
        Port port;
        // From the start byte; for the board's pieces after the recorded stop, from the stop.
        std::int64_t offsetNs;
        std::string bytes;
    };

    std::size_t nextOf(std::size_t from, Port port) const;
    std::optional<std::size_t> head() const;
    std::int64_t atNs(std::size_t piece) const;

    std::vector<Piece> pieces_; // in the journal's order
    // Pieces before the recorded stop; all of them when the journal holds none.
    std::size_t beforeStop_ = 0;
    bool fast_;
    std::string header_;
    bool playing_ = false;
    std::int64_t startedAt_ = 0;
    std::optional<std::int64_t> stoppedAt_;
    std::size_t board_ = 0;
    std::size_t meter_ = 0;
};

} // namespace vemra::rig
