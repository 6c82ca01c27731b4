#include "rig/line.h"

#include <algorithm>

namespace vemra::rig {

Line::Line(int baud, int bitsPerByte)
    : baud_(baud)
    , bitsPerByte_(bitsPerByte) {}

std::int64_t Line::throughNs(std::size_t k) const {
    // Rounded up: a byte is never through before its time.
    return (static_cast<std::int64_t>(k) * bitsPerByte_ * 1'000'000'000LL + baud_ - 1) / baud_;
}

void Line::push(std::span<const std::uint8_t> bytes, std::int64_t at) {
    if (bytes.empty())
        return;
    const std::int64_t start = std::max(at, freeAt_);
    bursts_.push_back({start, {bytes.begin(), bytes.end()}});
    pending_ += bytes.size();
    freeAt_ = start + throughNs(bytes.size());
}

void Line::take(std::int64_t now, std::vector<std::uint8_t>& out) {
    while (!bursts_.empty()) {
        Burst& burst = bursts_.front();
        std::size_t through = burst.sent;
        while (through < burst.bytes.size() && burst.start + throughNs(through + 1) <= now)
            ++through;
        out.insert(out.end(), burst.bytes.begin() + static_cast<std::ptrdiff_t>(burst.sent),
                   burst.bytes.begin() + static_cast<std::ptrdiff_t>(through));
        pending_ -= through - burst.sent;
        burst.sent = through;
        if (through < burst.bytes.size())
            return;
        bursts_.pop_front();
    }
}

std::optional<std::int64_t> Line::nextDueNs() const {
    if (bursts_.empty())
        return std::nullopt;
    return bursts_.front().start + throughNs(bursts_.front().sent + 1);
}

void Line::clear() {
    bursts_.clear();
    pending_ = 0;
    // What was taken was through by the time it was taken, so new bytes cannot overtake it.
    freeAt_ = INT64_MIN;
}

} // namespace vemra::rig
