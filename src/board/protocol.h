#pragma once
// Bytes between the station and the acquisition board, and the block arithmetic that
// follows from the record layout. No widgets here.

#include <QByteArray>
#include <cstdint>

namespace vemra::board {

constexpr std::uint8_t kChannelCommand = 0x43; // 'C', then the channel mask
constexpr std::uint8_t kPeriodCommand = 0x54;  // 'T', then the period, high byte first
constexpr std::uint8_t kStartByte = 0x31;      // '1'
constexpr std::uint8_t kStopByte = 0x30;       // '0'

// Period P in tenths of a millisecond as its two command bytes: the high byte is the
// exact quotient rounded down, the low byte the remainder of P rounded half to even.
std::uint8_t periodHigh(double period);
std::uint8_t periodLow(double period);

// 0x43 mask 0x54 hi lo: the start frame without its final start byte.
QByteArray channelAndPeriodCommands(std::uint8_t mask, double period);
// 0x54 hi lo.
QByteArray periodCommand(double period);

// One record: a leading byte, two bytes per channel, a checksum byte.
constexpr int recordLength(int channels) {
    return 2 * channels + 2;
}
// One block of records, as the port hands it over; the serial library takes it as a
// 16-bit signed value.
std::int16_t blockLength(int channels, int recordsPerBlock);

} // namespace vemra::board
