#include "rig/record.h"

#include <bit>

namespace vemra::rig {

int channelCount(std::uint8_t mask) {
    return std::popcount(static_cast<unsigned>(mask & kChannelBits));
}

std::uint8_t checksum(std::span<const std::uint8_t> sampleBytes) {
    unsigned sum = 0;
    for (const std::uint8_t byte : sampleBytes)
        sum += byte;
    return static_cast<std::uint8_t>(~sum);
}

void appendRecord(std::vector<std::uint8_t>& out, std::uint8_t lead, std::uint8_t mask,
                  const Samples& raw) {
    out.push_back(lead);
    const std::size_t first = out.size();
    for (int channel = 0; channel < kChannels; ++channel) {
        if ((mask & (1u << channel)) == 0)
            continue;
        out.push_back(static_cast<std::uint8_t>(raw[channel] & 0xFF));
        out.push_back(static_cast<std::uint8_t>(raw[channel] >> 8));
    }
    out.push_back(checksum(std::span(out).subspan(first)));
}

} // namespace vemra::rig
