#include "rig/rig.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

namespace vemra::rig {

namespace {

constexpr std::int64_t kNsPerPeriodUnit = 100'000; // P counts tenths of a millisecond
// What a station that does not read may cost the rig in memory before records are dropped.
constexpr std::size_t kQueueCap = 8 * 1024 * 1024;
// --fast keeps this much ready for the line and no more, so a station that stops reading
// costs neither memory nor CPU.
constexpr std::size_t kFastFill = 64 * 1024;
// A line carries byte after byte; waking for each would cost a good part of a core at
// 115200 baud, so the rig writes what is through at most this often. A record still
// reaches the station in pieces.
constexpr std::int64_t kWriteGapNs = 500'000;
// Records sent at once when the loop woke late; beyond this the schedule starts afresh.
constexpr std::uint64_t kCatchUpCap = 1000;
// A vanishing board waits for the station to read what was sent, up to the grace. Bytes
// written to a master reach the slave's count only once the kernel has moved them across,
// a moment later: the settle time covers that.
constexpr std::int64_t kVanishGraceNs = 2'000'000'000;
constexpr std::int64_t kVanishSettleNs = 50'000'000;
constexpr std::int64_t kVanishCheckNs = 10'000'000;
// A master held with its slave should never fail; if it does, polling it again would spin.
constexpr short kFailed = POLLERR | POLLHUP | POLLNVAL;

std::int64_t monotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

} // namespace

Rig::Rig(const Options& options)
    : options_(options)
    , board_(
          options.faults, options.seed, [this](const std::string& line) { log_(line); },
          [this](const std::string& line) { truth_.write(line); })
    , meter_(
          options.meterFaults, static_cast<double>(options.lineHz), options.seed,
          [this](const std::string& line) { log_(line); },
          [this](const std::string& line) { truth_.write(line); }) {}

bool Rig::setUp() {
    std::string error;
    if (!options_.logFile.empty() && !log_.openFile(options_.logFile, error)) {
        log_("rig: " + error);
        return false;
    }
    if (!options_.truthFile.empty() && !truth_.open(options_.truthFile, error)) {
        log_("rig: " + error);
        return false;
    }

    if (!options_.replayFile.empty() && !loadReplay())
        return false;

    // Delivered only through the descriptor, so a signal never interrupts a half-done step.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &set, nullptr);
    signals_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (signals_ < 0) {
        log_(std::string("rig: signalfd: ") + std::strerror(errno));
        return false;
    }

    if (!boardPty_.open(error) || !meterPty_.open(error)) {
        log_("rig: " + error);
        return false;
    }
    boardLink_ = options_.dir + "/Comm1";
    meterLink_ = options_.dir + "/Comm2";
    if (!makeLink(boardLink_, boardPty_.slavePath(), error) ||
        !makeLink(meterLink_, meterPty_.slavePath(), error)) {
        log_("rig: " + error);
        return false;
    }
    std::printf("ready Comm1=%s Comm2=%s\n", boardPty_.slavePath().c_str(),
                meterPty_.slavePath().c_str());
    std::fflush(stdout);
    return true;
}

bool Rig::loadReplay() {
    const std::string& path = options_.replayFile;
    std::string file;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    char buffer[65536];
    for (std::size_t count; in && (count = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        file.append(buffer, count);
    const bool read = in && !std::ferror(in);
    const int error = errno;
    if (in)
        std::fclose(in);
    if (!read) {
        log_("rig: " + path + ": " + std::strerror(error));
        return false;
    }
    journal::Journal journal = journal::readJournal(file);
    if (!journal.refused.empty()) {
        log_("rig: " + path + ": " + journal.refused);
        return false;
    }
    if (!journal.damage.empty())
        log_("replay: " + path + ": " + journal.damage + "; playing the " +
             std::to_string(journal.goodBytes) + " bytes before it");
    replay_.emplace(std::move(journal), options_.fast);
    log_("replay: " + path + ": " + replay_->summary());
    truth_.write("# replay of " + path + ": the journal is the ground truth");
    return true;
}

void Rig::tearDown() {
    if (boardPty_.isOpen())
        removeLink(boardLink_, boardPty_.slavePath());
    if (meterPty_.isOpen())
        removeLink(meterLink_, meterPty_.slavePath());
    boardPty_.close();
    meterPty_.close();
    if (signals_ >= 0)
        ::close(signals_);
    signals_ = -1;
}

int Rig::run() {
    if (!setUp()) {
        tearDown();
        return 1;
    }
    for (;;) {
        // A closed pty's descriptor is -1, which ppoll skips.
        pollfd fds[3] = {{signals_, POLLIN, 0},
                         {-1, 0, 0},
                         {meterPty_.master(),
                          static_cast<short>(POLLIN | (meterOutput_.empty() ? 0 : POLLOUT)), 0}};
        if (boardPty_.isOpen())
            fds[1] = {boardPty_.master(),
                      static_cast<short>(POLLIN | (output_.empty() ? 0 : POLLOUT)), 0};

        const auto sleep = sleepNs(monotonicNs());
        timespec timeout{};
        if (sleep) {
            timeout.tv_sec = *sleep / 1'000'000'000;
            timeout.tv_nsec = *sleep % 1'000'000'000;
        }
        if (::ppoll(fds, 3, sleep ? &timeout : nullptr, nullptr) < 0 && errno != EINTR) {
            log_(std::string("rig: ppoll: ") + std::strerror(errno));
            tearDown();
            return 1;
        }

        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(signals_, &info, sizeof info) == sizeof info) {
                log_(std::string("rig: ") + ::strsignal(static_cast<int>(info.ssi_signo)) +
                     " from pid " + std::to_string(info.ssi_pid) + ", exiting");
                tearDown();
                return 0;
            }
        }
        const std::int64_t now = monotonicNs();
        if (fds[1].revents & POLLIN)
            readBoard(now);
        else if (fds[1].revents & kFailed)
            dropPty(boardPty_, boardLink_, "board");
        if (fds[2].revents & POLLIN)
            readMeter(now);
        else if (fds[2].revents & kFailed)
            dropPty(meterPty_, meterLink_, "meter");
        if (replay_)
            play(now);
        if (boardPty_.isOpen()) {
            produceRecords(now);
            sendBoard(now);
            finishVanishing(now);
        }
        if (meterPty_.isOpen())
            sendMeter(now);
    }
}

std::optional<std::int64_t> Rig::sleepNs(std::int64_t now) const {
    std::optional<std::int64_t> sleep;
    const auto until = [&sleep, now](std::int64_t at) {
        sleep = std::min(sleep.value_or(INT64_MAX), std::max<std::int64_t>(0, at - now));
    };
    if (const auto due = replay_ ? meterLine_.nextDueNs() : meter_.nextSendNs();
        due && meterPty_.isOpen())
        until(std::max(*due, meterTakenAt_ + kWriteGapNs));
    if (const auto due = boardLine_.nextDueNs(); due && boardPty_.isOpen())
        until(std::max(*due, boardTakenAt_ + kWriteGapNs));
    if (replay_ && options_.fast) {
        // A full queue waits for its line to take bytes (POLLOUT), not for the clock.
        const auto send = replay_->due(now);
        if (send && (send->port == Port::Board ? output_ : meterOutput_).size() < kFastFill)
            until(now);
    } else if (replay_) {
        if (const auto at = replay_->nextDueNs())
            until(*at);
    }
    if (vanishSince_) {
        until(now + kVanishCheckNs);
    } else if (boardPty_.isOpen() && board_.streaming()) {
        if (!options_.fast)
            until(deadline_);
        else if (output_.empty())
            until(now);
    }
    return sleep;
}

void Rig::readBoard(std::int64_t now) {
    std::uint8_t bytes[4096];
    const ssize_t count = ::read(boardPty_.master(), bytes, sizeof bytes);
    if (count <= 0)
        return;
    std::vector<Command> commands;
    for (ssize_t i = 0; i < count; ++i)
        parser_.feed(bytes[i], commands);
    for (const Command& command : commands) {
        log_(describe(command));
        if (replay_) {
            if (command.kind == CommandKind::Start)
                replay_->start(now);
            else if (command.kind == CommandKind::Stop)
                replay_->stop(now);
            continue;
        }
        board_.apply(command);
        // A real board sends its first record one period after the start byte.
        if (command.kind == CommandKind::Start)
            deadline_ = now + board_.period() * kNsPerPeriodUnit;
    }
}

void Rig::produceRecords(std::int64_t now) {
    if (options_.fast) {
        while (board_.streaming() && output_.size() < kFastFill) {
            const Sampled sampled = board_.next(output_.tail());
            meter_.trigger(sampled.run, sampled.index, sampled.raw, now);
        }
        return;
    }
    std::uint64_t sent = 0;
    while (board_.streaming() && deadline_ <= now && sent < kCatchUpCap) {
        const bool full = output_.size() + boardLine_.pending() >= kQueueCap;
        if (full && dropped_ == 0)
            log_("board: output queue full (the station is not reading), dropping records");
        else if (!full && dropped_ > 0) {
            log_("board: output queue drained, " + std::to_string(dropped_) +
                 " records were dropped");
            dropped_ = 0;
        }
        // The meter is triggered when the record is sampled, whether or not it can be sent.
        record_.clear();
        const Sampled sampled = board_.next(record_, full);
        boardLine_.push(record_, deadline_);
        meter_.trigger(sampled.run, sampled.index, sampled.raw, deadline_);
        dropped_ += full ? 1 : 0;
        deadline_ += board_.period() * kNsPerPeriodUnit;
        ++sent;
    }
    if (board_.streaming() && deadline_ <= now) {
        log_("board: " + std::to_string((now - deadline_) / 1'000'000) +
             " ms behind the schedule, skipping ahead");
        deadline_ = now + board_.period() * kNsPerPeriodUnit;
    }
}

void Rig::sendBoard(std::int64_t now) {
    const std::size_t waiting = output_.size();
    boardLine_.take(now, output_.tail());
    if (output_.size() > waiting)
        boardTakenAt_ = now;
    if (output_.empty() || output_.flush(boardPty_.master()))
        return;
    log_(std::string("board: write failed: ") + std::strerror(errno) + ", " +
         std::to_string(output_.size()) + " bytes discarded");
    output_.clear();
}

void Rig::finishVanishing(std::int64_t now) {
    if (!board_.vanished())
        return;
    if (!vanishSince_)
        vanishSince_ = now;
    const std::int64_t waited = now - *vanishSince_;
    const bool read = boardLine_.empty() && output_.empty() && boardPty_.unread() == 0;
    if (waited < kVanishSettleNs || (waited < kVanishGraceNs && !read))
        return;
    vanishSince_.reset();
    dropPty(boardPty_, boardLink_, "board");
}

void Rig::dropPty(Pty& pty, const std::string& link, const std::string& name) {
    removeLink(link, pty.slavePath());
    pty.close();
    if (&pty == &boardPty_) {
        boardLine_.clear();
        output_.clear();
    }
    log_(name + ": port closed and " + link + " removed");
}

void Rig::readMeter(std::int64_t now) {
    std::uint8_t bytes[4096];
    const ssize_t count = ::read(meterPty_.master(), bytes, sizeof bytes);
    // A replayed meter answers nothing: the journal holds all it says.
    if (count > 0 && !replay_)
        meter_.receive(std::span(bytes, static_cast<std::size_t>(count)), now);
}

void Rig::sendMeter(std::int64_t now) {
    const std::size_t waiting = meterOutput_.size();
    if (replay_)
        meterLine_.take(now, meterOutput_.tail());
    else
        meter_.send(now, meterOutput_.tail());
    if (meterOutput_.size() > waiting)
        meterTakenAt_ = now;
    if (meterOutput_.empty() || meterOutput_.flush(meterPty_.master()))
        return;
    log_(std::string("meter: write failed: ") + std::strerror(errno) + ", " +
         std::to_string(meterOutput_.size()) + " bytes discarded");
    meterOutput_.clear();
}

void Rig::play(std::int64_t now) {
    while (const auto send = replay_->due(now)) {
        const bool board = send->port == Port::Board;
        OutputQueue& queue = board ? output_ : meterOutput_;
        if (options_.fast && queue.size() >= kFastFill)
            return;
        const std::span bytes(reinterpret_cast<const std::uint8_t*>(send->bytes.data()),
                              send->bytes.size());
        // A port that failed takes nothing more; the rest of the run still plays on the other.
        const bool open = (board ? boardPty_ : meterPty_).isOpen();
        if (open && options_.fast)
            queue.tail().insert(queue.tail().end(), bytes.begin(), bytes.end());
        else if (open)
            (board ? boardLine_ : meterLine_).push(bytes, send->atNs);
        replay_->sent();
    }
}

} // namespace vemra::rig
