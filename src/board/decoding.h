#pragma once
// Board records to calibrated samples. A record is a leading byte, one 16-bit
// little-endian raw sample per channel of the run (CH0, CH1, CH2 order, disabled ones
// absent) and a checksum byte that makes the sample bytes plus itself sum to 255 mod 256.

#include "common/matrix.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vemra::board {

enum class RecordState : std::uint8_t {
    Good,
    BadChecksum, // in step, but its checksum did not match
    Damaged,     // a byte lost or added on the line went through it
};

struct RawRecord {
    std::array<std::uint16_t, 3> samples{}; // by rank: the run's channels in CH0, CH1, CH2 order
    RecordState state = RecordState::Good;
};

struct BlockDecode {
    int channels = 0;             // channels in a record: the rows of the decoded block
    int records = 0;              // records decoded
    int badChecksums = 0;         // records whose checksum did not match, damaged ones included
    int damaged = 0;              // records a slip of the line went through
    std::array<double, 3> sums{}; // per channel CH0..CH2, 0 for channels not in the run
};

// Each record's raw samples × their channel's coefficient: the value of the channel of rank r
// in record i goes to out(r, i). `out` is re-dimensioned to channels-in-run × records (one row
// when no channel is in the run) when its shape differs.
BlockDecode scaleRecords(const std::vector<RawRecord>& records, const std::array<int, 3>& enabled,
                         const std::array<double, 3>& coefficients, Matrix& out);

// The checksum byte the board appends to a record's sample bytes.
std::uint8_t recordChecksum(const std::uint8_t* sampleBytes, int count);

} // namespace vemra::board
