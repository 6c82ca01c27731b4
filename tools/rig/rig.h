#pragma once
// The rig's event loop: one thread, ppoll() on the two pseudo-terminals and a signal
// descriptor, records paced by absolute deadlines on the monotonic clock and their bytes
// by the line's own pace.

#include "rig/board.h"
#include "rig/commands.h"
#include "rig/line.h"
#include "rig/linelog.h"
#include "rig/meter.h"
#include "rig/options.h"
#include "rig/outputqueue.h"
#include "rig/pty.h"
#include "rig/replay.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vemra::rig {

class Rig {
public:
    explicit Rig(const Options& options);

    // Until SIGINT or SIGTERM; the exit code.
    int run();

private:
    bool setUp();
    bool loadReplay();
    void tearDown();
    void readBoard(std::int64_t now);
    void produceRecords(std::int64_t now);
    void sendBoard(std::int64_t now);
    void finishVanishing(std::int64_t now);
    void dropPty(Pty& pty, const std::string& link, const std::string& name);
    void readMeter(std::int64_t now);
    void sendMeter(std::int64_t now);
    void play(std::int64_t now);
    // How long ppoll may sleep, or nothing for as long as it likes.
    std::optional<std::int64_t> sleepNs(std::int64_t now) const;

    Options options_;
    LineLog log_;
    LineFile truth_;
    Board board_;
    Meter meter_;
    CommandParser parser_;
    Pty boardPty_;
    Pty meterPty_;
    std::string boardLink_;
    std::string meterLink_;
    int signals_ = -1;

    Line boardLine_{115200, 10}; // 8N1
    std::vector<std::uint8_t> record_;
    std::int64_t boardTakenAt_ = 0;
    OutputQueue output_;
    std::int64_t deadline_ = 0;
    std::uint64_t dropped_ = 0;
    std::optional<std::int64_t> vanishSince_;
    OutputQueue meterOutput_;
    std::int64_t meterTakenAt_ = 0;
    // --replay: the journal's run stands in for the board and the meter.
    std::optional<Replay> replay_;
    Line meterLine_{9600, 11}; // 8N2
};

} // namespace vemra::rig
