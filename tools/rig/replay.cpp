#include "rig/replay.h"

#include <algorithm>
#include <utility>

namespace vemra::rig {

namespace {

// Far from overflowing when a clock reading is added: a journal's times are only checked
// for damage, not for sense.
constexpr std::uint64_t kMaxOffsetUs = INT64_MAX / 4000;

std::int64_t offsetNs(std::uint64_t at, std::uint64_t from) {
    return at <= from ? 0 : static_cast<std::int64_t>(std::min(at - from, kMaxOffsetUs)) * 1000;
}

} // namespace

Replay::Replay(journal::Journal journal, bool fast)
    : fast_(fast) {
    using journal::ChunkType;
    const auto& chunks = journal.chunks;
    const auto header = std::find_if(chunks.begin(), chunks.end(), [](const journal::Chunk& c) {
        return c.type == ChunkType::Header;
    });
    const std::uint64_t origin = header != chunks.end() ? header->timeUs
                                 : chunks.empty()       ? 0
                                                        : chunks.front().timeUs;
    if (header != chunks.end()) {
        auto fields = journal::parseFields(header->bytes);
        header_ = "the run started " + fields["start"] + " (" + fields["program"] + ")";
    }
    std::optional<std::uint64_t> stop;
    // A run that ended by itself stopped on the block that ended it, which came before its
    // stop byte went out: that block is the run's, not one after the stop.
    bool ending = false;
    for (journal::Chunk& chunk : journal.chunks) {
        if (chunk.type == ChunkType::Stop && !stop) {
            stop = chunk.timeUs;
            beforeStop_ = pieces_.size();
            ending = journal::parseFields(chunk.bytes)["ending"] == "1";
        } else if (chunk.type == ChunkType::Board) {
            const bool endingBlock = std::exchange(ending, false);
            pieces_.push_back({Port::Board,
                               offsetNs(chunk.timeUs, endingBlock ? origin : stop.value_or(origin)),
                               std::move(chunk.bytes)});
            if (endingBlock)
                beforeStop_ = pieces_.size();
        } else if (chunk.type == ChunkType::Meter) {
            pieces_.push_back(
                {Port::Meter, offsetNs(chunk.timeUs, origin), std::move(chunk.bytes)});
        }
    }
    if (!stop)
        beforeStop_ = pieces_.size();
}

void Replay::start(std::int64_t now) {
    playing_ = true;
    startedAt_ = now;
    stoppedAt_.reset();
    board_ = 0;
    meter_ = 0;
}

void Replay::stop(std::int64_t now) {
    if (stoppedAt_)
        return;
    stoppedAt_ = now;
    board_ = std::max(board_, beforeStop_);
}

std::size_t Replay::nextOf(std::size_t from, Port port) const {
    while (from < pieces_.size() && pieces_[from].port != port)
        ++from;
    return from;
}

std::int64_t Replay::atNs(std::size_t piece) const {
    const bool afterStop = pieces_[piece].port == Port::Board && piece >= beforeStop_;
    const std::int64_t from = afterStop ? stoppedAt_.value_or(startedAt_) : startedAt_;
    return fast_ ? from : from + pieces_[piece].offsetNs;
}

std::optional<std::size_t> Replay::head() const {
    if (!playing_)
        return std::nullopt;
    const std::size_t board = nextOf(board_, Port::Board);
    const std::size_t meter = nextOf(meter_, Port::Meter);
    const bool boardReady = board < pieces_.size() && (stoppedAt_ || board < beforeStop_);
    const bool meterReady = meter < pieces_.size();
    if (!boardReady || !meterReady) {
        if (boardReady)
            return board;
        if (meterReady)
            return meter;
        return std::nullopt;
    }
    if (fast_)
        return std::min(board, meter);
    return std::pair(atNs(meter), meter) < std::pair(atNs(board), board) ? meter : board;
}

std::optional<Send> Replay::due(std::int64_t now) const {
    const auto piece = head();
    if (!piece || atNs(*piece) > now)
        return std::nullopt;
    return Send{pieces_[*piece].port, atNs(*piece), pieces_[*piece].bytes};
}

void Replay::sent() {
    if (const auto piece = head())
        (pieces_[*piece].port == Port::Board ? board_ : meter_) = *piece + 1;
}

std::optional<std::int64_t> Replay::nextDueNs() const {
    const auto piece = head();
    return piece ? std::optional(atNs(*piece)) : std::nullopt;
}

std::string Replay::summary() const {
    const auto board = std::count_if(pieces_.begin(), pieces_.end(),
                                     [](const Piece& p) { return p.port == Port::Board; });
    const auto afterStop =
        std::count_if(pieces_.begin() + static_cast<std::ptrdiff_t>(beforeStop_), pieces_.end(),
                      [](const Piece& p) { return p.port == Port::Board; });
    return (header_.empty() ? "a run without its header" : header_) + ": " + std::to_string(board) +
           " board pieces (" + std::to_string(afterStop) + " after the stop), " +
           std::to_string(std::ssize(pieces_) - board) + " meter pieces";
}

} // namespace vemra::rig
