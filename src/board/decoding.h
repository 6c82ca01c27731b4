#pragma once
// Board records to calibrated samples. A record is a leading byte, one 16-bit
// little-endian raw sample per channel of the run (CH0, CH1, CH2 order, disabled ones
// absent) and a checksum byte that makes the sample bytes plus itself sum to 255 mod 256.

#include "common/matrix.h"

#include <QByteArray>
#include <array>
#include <cstdint>

namespace vemra::board {

struct BlockDecode {
    int channels = 0;             // channels in a record: the rows of the decoded block
    int records = 0;              // whole records decoded
    bool checksumError = false;   // a record's checksum did not match
    int badChecksums = 0;         // records whose checksum did not match
    bool lengthMismatch = false;  // the block was not recordsPerBlock whole records
    std::array<double, 3> sums{}; // per channel CH0..CH2, 0 for channels not in the run
};

// Decodes up to recordsPerBlock whole records of `bytes`; the value of the channel of rank
// r in record i (raw × its coefficient) goes to out(r, i). `out` is re-dimensioned to
// channels-in-run × records when its shape differs.
BlockDecode decodeBlock(const QByteArray& bytes, const std::array<int, 3>& enabled,
                        const std::array<double, 3>& coefficients, int recordsPerBlock,
                        Matrix& out);

// The checksum byte the board appends to a record's sample bytes.
std::uint8_t recordChecksum(const std::uint8_t* sampleBytes, int count);

} // namespace vemra::board
