#include "board/decoding.h"

namespace vemra::board {

std::uint8_t recordChecksum(const std::uint8_t* sampleBytes, int count) {
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += sampleBytes[i];
    return static_cast<std::uint8_t>(~sum & 0xFF);
}

BlockDecode scaleRecords(const std::vector<RawRecord>& records, const std::array<int, 3>& enabled,
                         const std::array<double, 3>& coefficients, Matrix& out) {
    BlockDecode result;
    std::array<int, 3> rankOf{-1, -1, -1};
    for (int ch = 0; ch < 3; ++ch) {
        if (enabled[ch] == 1)
            rankOf[ch] = result.channels++;
    }
    result.records = static_cast<int>(records.size());
    const int rows = result.channels > 0 ? result.channels : 1;
    if (out.rows() != rows || out.cols() != result.records)
        out.redim(rows, result.records);

    for (int i = 0; i < result.records; ++i) {
        const RawRecord& record = records[static_cast<std::size_t>(i)];
        for (int ch = 0; ch < 3; ++ch) {
            const int rank = rankOf[ch];
            if (rank < 0)
                continue;
            const double value = record.samples[static_cast<std::size_t>(rank)] * coefficients[ch];
            out.at(rank, i) = value;
            result.sums[ch] += value;
        }
        result.badChecksums += record.state != RecordState::Good;
        result.damaged += record.state == RecordState::Damaged;
    }
    return result;
}

} // namespace vemra::board
