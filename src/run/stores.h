#pragma once
// Shapes of the sample stores: one row per enabled channel, a single element when no
// channel is enabled. The spare 2 × block + 1 columns of the run store take the blocks
// that arrive after a finite run has ended and before the board obeys the stop.
//
// Re-dimensioning to the shape a store already has keeps its contents, so that a stopped
// run survives the set-ups that merely confirm the layout; a new shape starts empty.
// Each function says whether the shape changed.

#include "common/matrix.h"
#include "run/readingstore.h"

namespace vemra {

inline bool dimensionMatrix(Matrix& store, int rows, int cols) {
    if (store.rows() == rows && store.cols() == cols)
        return false;
    store.redim(rows, cols);
    return true;
}

inline bool dimensionBlockData(Matrix& block, int channels, int recordsPerBlock) {
    return channels >= 1 ? dimensionMatrix(block, channels, recordsPerBlock)
                         : dimensionMatrix(block, 1, 1);
}

inline bool dimensionSampleData(Matrix& samples, int channels, int totalPoints,
                                int recordsPerBlock) {
    return channels >= 1 ? dimensionMatrix(samples, channels, totalPoints + 2 * recordsPerBlock + 1)
                         : dimensionMatrix(samples, 1, 1);
}

// The columns an endless run goes round: it starts again at column 0 once a block has found
// the count at or past total points − points per block, so it fills whole blocks up to the
// first multiple of the block at or past that mark, and never less than one block.
inline int endlessRunWidth(int totalPoints, int recordsPerBlock) {
    const int block = recordsPerBlock > 0 ? recordsPerBlock : 1;
    const int mark = totalPoints - block;
    return mark <= block ? block : (mark + block - 1) / block * block;
}

// Readings 0..lastIndex.
inline bool dimensionMultData(ReadingStore& readings, int lastIndex) {
    const int size = (lastIndex < 0 ? 0 : lastIndex) + 1;
    if (readings.size() == size)
        return false;
    readings.redim(size);
    return true;
}

} // namespace vemra
