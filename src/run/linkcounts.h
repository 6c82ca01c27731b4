#pragma once
// What the two serial links brought during a run, counted as the bytes are handled.

#include <QtGlobal>

namespace vemra {

struct LinkCounts {
    qint64 records = 0;        // board records decoded
    qint64 bytes = 0;          // board bytes taken
    qint64 checksumErrors = 0; // records whose checksum did not match
    qint64 damagedRecords = 0; // of them, records a byte lost or added on the line went through
    qint64 droppedBlocks = 0;  // blocks not stored: run store full, or lost to an overrun
    qint64 readings = 0;       // meter readings taken
    qint64 outOfStep = 0;      // damaged stretches of the meter's stream ("Err Mult!")
    qint64 lostReadings = 0;   // readings whose units were damaged: their slots stay empty
    qint64 overloads = 0;      // readings beyond the meter's range
};

} // namespace vemra
