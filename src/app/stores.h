#pragma once
// Shapes of the sample stores: one row per enabled channel, a single element when no
// channel is enabled. The spare 2 × block + 1 columns of the run store take the blocks
// that arrive after a finite run has ended and before the board obeys the stop.

#include "common/matrix.h"

#include <QString>
#include <vector>

namespace vemra {

inline void dimensionBlockData(Matrix& block, int channels, int recordsPerBlock)
{
    if (channels >= 1)
        block.redim(channels, recordsPerBlock);
    else
        block.redim(1, 1);
}

inline void dimensionSampleData(Matrix& samples, int channels, int totalPoints,
                                int recordsPerBlock)
{
    if (channels >= 1)
        samples.redim(channels, totalPoints + 2 * recordsPerBlock + 1);
    else
        samples.redim(1, 1);
}

// Readings 0..lastIndex, all empty.
inline void dimensionMultData(std::vector<QString>& readings, int lastIndex)
{
    readings.assign(static_cast<std::size_t>(lastIndex < 0 ? 0 : lastIndex) + 1, QString());
}

} // namespace vemra
