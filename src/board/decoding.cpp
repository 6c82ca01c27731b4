#include "board/decoding.h"

#include "board/protocol.h"

namespace vemra::board {

std::uint8_t recordChecksum(const std::uint8_t* sampleBytes, int count) {
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += sampleBytes[i];
    return static_cast<std::uint8_t>(~sum & 0xFF);
}

BlockDecode decodeBlock(const QByteArray& bytes, const std::array<int, 3>& enabled,
                        const std::array<double, 3>& coefficients, int recordsPerBlock,
                        Matrix& out) {
    BlockDecode result;
    int channels = 0;
    std::array<int, 3> rankOf{-1, -1, -1};
    for (int ch = 0; ch < 3; ++ch) {
        if (enabled[ch] == 1)
            rankOf[ch] = channels++;
    }
    result.channels = channels;
    const int length = recordLength(channels);
    const int whole = static_cast<int>(bytes.size() / length);
    result.records = whole < recordsPerBlock ? whole : recordsPerBlock;
    if (result.records < 0)
        result.records = 0;
    result.lengthMismatch =
        bytes.size() != static_cast<qsizetype>(length) * static_cast<qsizetype>(recordsPerBlock);

    const int rows = channels > 0 ? channels : 1;
    if (out.rows() != rows || out.cols() != result.records)
        out.redim(rows, result.records);

    const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    for (int i = 0; i < result.records; ++i) {
        const std::uint8_t* record = b + static_cast<std::ptrdiff_t>(length) * i;
        for (int ch = 0; ch < 3; ++ch) {
            const int rank = rankOf[ch];
            if (rank < 0)
                continue;
            const std::uint8_t* sample = record + 1 + 2 * rank;
            const double value = (sample[0] + 256.0 * sample[1]) * coefficients[ch];
            out.at(rank, i) = value;
            result.sums[ch] += value;
        }
        if (record[length - 1] != recordChecksum(record + 1, 2 * channels))
            ++result.badChecksums;
    }
    result.checksumError = result.badChecksums > 0;
    return result;
}

} // namespace vemra::board
