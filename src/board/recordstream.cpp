#include "board/recordstream.h"

#include "board/protocol.h"

#include <algorithm>

namespace vemra::board {

void RecordStream::restart(int channels) {
    channels_ = std::clamp(channels, 0, 3);
    length_ = static_cast<std::size_t>(recordLength(channels_));
    held_.clear();
    next_ = 0;
}

bool RecordStream::passes(std::size_t at) const {
    const std::uint8_t* record = held_.data() + at;
    return record[length_ - 1] == recordChecksum(record + 1, static_cast<int>(length_) - 2);
}

RawRecord RecordStream::recordAt(std::size_t at, RecordState state) const {
    RawRecord record;
    record.state = state;
    const std::uint8_t* sample = held_.data() + at + 1;
    for (int rank = 0; rank < channels_; ++rank, sample += 2)
        record.samples[static_cast<std::size_t>(rank)] =
            static_cast<std::uint16_t>(sample[0] | sample[1] << 8);
    return record;
}

// The boundary stays where it is while the records after the failed one mostly pass there:
// a burst of bad checksums is not a slip. Otherwise the first boundary after the failed
// record's start at which kConfirm records in a row pass is taken: a byte lost puts it one
// byte before the next record's place, a byte added one byte after, a byte added between two
// records one byte after the failed record's start.
//
// A steady signal can make a shifted boundary pass as well as the true one (when a record's
// checksum byte equals its lead byte, say). Such a boundary passed before the failure too: it
// tells nothing, and the stream stays where it was.
std::size_t RecordStream::slipAt(std::size_t at) const {
    const std::size_t r = length_;
    int inStep = 0;
    for (int j = 1; j <= kConfirm; ++j)
        inStep += passes(at + static_cast<std::size_t>(j) * r);
    if (inStep >= 2)
        return 0;
    for (std::size_t shift = 1; shift < 2 * r; ++shift) {
        bool confirmed = shift != r;
        for (int j = 0; confirmed && j < kConfirm; ++j)
            confirmed = passes(at + shift + static_cast<std::size_t>(j) * r);
        if (!confirmed)
            continue;
        // The shifted boundaries at or before the failed record's start, going back.
        int before = 0;
        const auto step = static_cast<std::ptrdiff_t>(r);
        auto end = static_cast<std::ptrdiff_t>(at + shift % r) - step;
        for (int seen = 0; end >= step && seen < kConfirm; end -= step, ++seen)
            before += passes(static_cast<std::size_t>(end - step));
        if (before < 2)
            return shift;
    }
    return 0;
}

QByteArray RecordStream::state() const {
    QByteArray out(reinterpret_cast<const char*>(held_.data()), qsizetype(held_.size()));
    return QByteArray::number(qulonglong(next_)) + ' ' + out;
}

void RecordStream::restore(const QByteArray& state) {
    const qsizetype space = state.indexOf(' ');
    const std::size_t next = space < 0 ? 0 : state.left(space).toULongLong();
    const QByteArray bytes = space < 0 ? QByteArray() : state.mid(space + 1);
    held_.assign(bytes.begin(), bytes.end());
    next_ = std::min(next, held_.size());
}

void RecordStream::feed(QByteArrayView bytes, std::vector<RawRecord>& out) {
    held_.insert(held_.end(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                 reinterpret_cast<const std::uint8_t*>(bytes.data()) + bytes.size());
    decode(out, false);
}

void RecordStream::flush(std::vector<RawRecord>& out) {
    decode(out, true);
}

void RecordStream::decode(std::vector<RawRecord>& out, bool flushing) {
    const std::size_t r = length_;
    // What a decision at a failed record looks at: the shifted boundaries up to a record
    // either side, each with its confirming records.
    const std::size_t window = 2 * r - 1 + kConfirm * r;
    std::size_t at = next_;
    while (held_.size() - at >= r) {
        if (passes(at)) {
            out.push_back(recordAt(at, RecordState::Good));
            at += r;
            continue;
        }
        // Two records passing after the failed one say at once that the stream is in step.
        const bool inStep = held_.size() - at >= 3 * r && passes(at + r) && passes(at + 2 * r);
        if (!inStep && held_.size() - at < window && !flushing)
            break;
        const std::size_t slip = inStep || held_.size() - at < window ? 0 : slipAt(at);
        if (slip == 0) {
            out.push_back(recordAt(at, RecordState::BadChecksum));
            at += r;
            continue;
        }
        // The bytes up to the new boundary held this many records as the board sent them: a
        // record with a byte lost or added is one, a byte added between two records is none.
        const std::size_t touched = (slip + r / 2) / r;
        for (std::size_t j = 0; j < touched; ++j)
            out.push_back(recordAt(at + j * r, RecordState::Damaged));
        at += slip;
    }
    // What came before stays for the next decision's look back.
    const std::size_t history = (kConfirm + 1) * r;
    const std::size_t drop = at > history ? at - history : 0;
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(drop));
    next_ = at - drop;
}

} // namespace vemra::board
