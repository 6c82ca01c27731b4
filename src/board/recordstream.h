#pragma once
// The board's byte stream cut into records, whatever pieces the line delivers it in.
//
// A record that fails its checksum keeps its place and its bytes, as the board sent them. A
// byte lost or added on the line makes the stream slip: every later record would be read
// across two. When the records after a failed one fail too at the current boundary and pass
// at a shifted one, the boundary moves there; the records the slip touched keep their places
// (decoded as they stood, marked damaged), so every later record lands on its own sample and
// stays in step with time and with the meter's readings.

#include "board/decoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace vemra::board {

class RecordStream {
public:
    // Records at a shifted boundary that must all pass their checksums before the stream is
    // taken to have slipped: one lucky checksum in 256 never decides.
    static constexpr int kConfirm = 4;

    explicit RecordStream(int channels = 0) { restart(channels); }

    // A new run of records with `channels` samples each; nothing held from before.
    void restart(int channels);
    int channels() const { return channels_; }

    // Appends every record the bytes complete. After a failed checksum the records are held
    // back until enough follow to tell a slip from a bad record.
    void feed(QByteArrayView bytes, std::vector<RawRecord>& out);

    // Appends the whole records held back after a failed checksum, decided with what has come:
    // at Stop, so that every record received before it is in the run.
    void flush(std::vector<RawRecord>& out);

    // What the stream holds (the last records decoded and the bytes still to come), to carry
    // it on elsewhere; restoring takes a state of the same channels back.
    QByteArray state() const;
    void restore(const QByteArray& state);

    // Bytes received and not yet part of a record.
    std::size_t held() const { return held_.size() - next_; }

private:
    void decode(std::vector<RawRecord>& out, bool flushing);
    bool passes(std::size_t at) const;
    // Bytes from `at` (a record that failed) to the record boundary after a slip, or 0 when
    // the stream is still in step.
    std::size_t slipAt(std::size_t at) const;
    RawRecord recordAt(std::size_t at, RecordState state) const;

    int channels_ = 0;
    std::size_t length_ = 2;
    std::vector<std::uint8_t> held_; // the last records decoded, then what is still to come
    std::size_t next_ = 0;           // where the records still to come start
};

} // namespace vemra::board
