#pragma once
// A serial line's timing: bytes handed to it go out one after another at its byte time,
// each available to the far end only once its last stop bit is through. A station that
// reads a real port sees half records and half readings; the rig's writes must show it
// the same.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace vemra::rig {

class Line {
public:
    // bitsPerByte: start, data, parity and stop bits.
    Line(int baud, int bitsPerByte);

    // The bytes start at `at`, or as soon as the bytes queued before them are through.
    void push(std::span<const std::uint8_t> bytes, std::int64_t at);
    // Appends every byte through by now.
    void take(std::int64_t now, std::vector<std::uint8_t>& out);
    // When the next byte is through, if one is queued.
    std::optional<std::int64_t> nextDueNs() const;
    std::size_t pending() const { return pending_; }
    bool empty() const { return pending_ == 0; }
    // Drops what has not gone yet.
    void clear();

private:
    struct Burst {
        std::int64_t start;
        std::vector<std::uint8_t> bytes;
        std::size_t sent = 0;
    };
    // The k-th byte of a burst, from 1, is through this long after its start. Counted from
    // the burst's start rather than added up byte by byte, so the rounding never drifts.
    std::int64_t throughNs(std::size_t k) const;

    int baud_;
    int bitsPerByte_;
    std::deque<Burst> bursts_;
    std::size_t pending_ = 0;
    std::int64_t freeAt_ = INT64_MIN;
};

} // namespace vemra::rig
