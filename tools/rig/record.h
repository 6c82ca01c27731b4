#pragma once
// A board record as it travels to the station: a leading byte, one 16-bit little-endian
// sample per enabled channel (CH0, CH1, CH2 in that order) and a checksum byte that
// brings the sum of the sample bytes and itself to 255 modulo 256.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vemra::rig {

constexpr int kChannels = 3;
using Samples = std::array<std::uint16_t, kChannels>;

// Only the three low bits of a mask name channels.
constexpr std::uint8_t kChannelBits = 0x07;

int channelCount(std::uint8_t mask);

std::uint8_t checksum(std::span<const std::uint8_t> sampleBytes);

// Appends the record for the channels of the mask; samples of other channels are not sent.
void appendRecord(std::vector<std::uint8_t>& out, std::uint8_t lead, std::uint8_t mask,
                  const Samples& raw);

} // namespace vemra::rig
