#include "board/protocol.h"

#include "common/numbertext.h"

#include <cmath>

namespace vemra::board {

std::uint8_t periodHigh(double period) {
    return toByte(std::floor(period / 256.0));
}

std::uint8_t periodLow(double period) {
    const long long whole = roundHalfEven(period);
    return static_cast<std::uint8_t>(((whole % 256) + 256) % 256);
}

QByteArray periodCommand(double period) {
    QByteArray bytes;
    bytes.append(static_cast<char>(kPeriodCommand));
    bytes.append(static_cast<char>(periodHigh(period)));
    bytes.append(static_cast<char>(periodLow(period)));
    return bytes;
}

QByteArray channelAndPeriodCommands(std::uint8_t mask, double period) {
    QByteArray bytes;
    bytes.append(static_cast<char>(kChannelCommand));
    bytes.append(static_cast<char>(mask));
    bytes.append(periodCommand(period));
    return bytes;
}

std::int16_t blockLength(int channels, int recordsPerBlock) {
    return toInt16(static_cast<double>(recordLength(channels)) * recordsPerBlock);
}

} // namespace vemra::board
