#include "rig/board.h"

#include <algorithm>
#include <utility>

namespace vemra::rig {

namespace {

constexpr int kMinPeriod = 10;
constexpr int kMaxPeriod = 64000;
constexpr int kExtraByteStream = 4; // past the channels' and the meter's noise

} // namespace

Board::Board(const Faults& faults, std::uint64_t seed, LineSink log, LineSink truth)
    : faults_(faults)
    , seed_(seed)
    , source_(seed)
    , log_(std::move(log))
    , truth_(std::move(truth)) {}

void Board::apply(const Command& command) {
    switch (command.kind) {
    case CommandKind::Channels:
        mask_ = command.mask & kChannelBits;
        noteChange();
        return;
    case CommandKind::Period:
        period_ = std::clamp<int>(command.period, kMinPeriod, kMaxPeriod);
        if (period_ != command.period)
            log_("board: period out of range, using " + std::to_string(period_));
        noteChange();
        return;
    case CommandKind::Start:
        start();
        return;
    case CommandKind::Stop:
        stop();
        return;
    case CommandKind::ActuatorParameters:
        actuator_.amplitude = command.amplitude;
        actuator_.prescaler = command.prescaler;
        actuator_.multiplier = command.multiplier;
        return;
    case CommandKind::ActuatorDrive:
        actuator_.drive = command.drive;
        return;
    case CommandKind::Ignored:
        return;
    }
}

// The board takes new settings at once, like the real one; the truth shows from where.
void Board::noteChange() {
    if (streaming_)
        truth_("# change " + std::to_string(run_) + " mask=" + std::to_string(mask_) +
               " period=" + std::to_string(period_));
}

void Board::start() {
    if (vanished_)
        return;
    ++run_;
    index_ = 0;
    tail_.reset();
    streaming_ = true;
    truth_("# start " + std::to_string(run_) + " mask=" + std::to_string(mask_) +
           " period=" + std::to_string(period_));
    checkEnd();
}

void Board::stop() {
    if (!streaming_ || tail_)
        return;
    truth_("# stop " + std::to_string(run_) + " after=" + std::to_string(index_));
    tail_ = faults_.afterStop;
    checkEnd();
}

Sampled Board::next(std::vector<std::uint8_t>& out, bool dropped) {
    const Samples raw = source_.sample(run_, index_, period_, actuator_);
    const auto lead = static_cast<std::uint8_t>(index_ & 0xFF);
    std::vector<std::uint8_t> record;
    appendRecord(record, lead, mask_, raw);

    std::string line =
        std::to_string(run_) + ' ' + std::to_string(index_) + ' ' + std::to_string(lead);
    for (int channel = 0; channel < kChannels; ++channel)
        if (mask_ & (1u << channel))
            line += ' ' + std::to_string(raw[channel]);

    if (faults_.badChecksumEvery > 0 && (index_ + 1) % faults_.badChecksumEvery == 0) {
        ++record.back();
        line += " bad";
    }
    damage(record, line);
    if (dropped)
        line += " dropped";
    truth_(line);

    const Sampled sampled{run_, index_, raw};
    ++index_;
    if (tail_ && *tail_ > 0)
        --*tail_;
    checkEnd();
    if (!dropped)
        out.insert(out.end(), record.begin(), record.end());
    return sampled;
}

// Both faults count bytes in the record as sampled, so at one offset the extra byte takes
// the lost byte's place.
void Board::damage(std::vector<std::uint8_t>& record, std::string& truth) {
    const bool lose = faults_.loseByteAt == index_;
    const bool extra = faults_.extraByteAt == index_;
    const std::size_t size = record.size();
    const std::size_t offset = faults_.faultOffset;
    if ((lose && offset >= size) || (extra && offset > size))
        log_("board: fault offset " + std::to_string(offset) + " is past the " +
             std::to_string(size) + "-byte record, the fault goes at its end");
    if (extra)
        record.insert(record.begin() + static_cast<std::ptrdiff_t>(std::min(offset, size)),
                      static_cast<std::uint8_t>(noiseBits(seed_, run_, index_, kExtraByteStream)));
    if (lose)
        record.erase(record.begin() +
                     static_cast<std::ptrdiff_t>(std::min(offset, size - 1) +
                                                 (extra && offset < size ? 1 : 0)));
    truth += std::string(lose ? " lost" : "") + (extra ? " extra" : "");
}

void Board::checkEnd() {
    if (!streaming_)
        return;
    const std::string run = std::to_string(run_);
    const std::string count = std::to_string(index_);
    if (run_ == 1 && faults_.vanishAt == index_) {
        vanished_ = true;
        endStreaming("# vanish " + run + " after=" + count,
                     "board: vanishing after " + count + " records");
    } else if (faults_.recordsLimit > 0 && index_ >= faults_.recordsLimit) {
        endStreaming("# limit " + run + " after=" + count,
                     "board: records limit reached after " + count + " records");
    } else if (tail_ == 0u) {
        endStreaming({}, faults_.afterStop > 0 ? "board: stopped after the late records"
                                               : std::string());
    }
}

void Board::endStreaming(const std::string& truth, const std::string& log) {
    streaming_ = false;
    tail_.reset();
    if (!truth.empty())
        truth_(truth);
    if (!log.empty())
        log_(log);
}

} // namespace vemra::rig
