#pragma once
// Link health at a glance: what the two serial links brought during the current run, as
// rates over the last interval and counts since Start, for the status bar.

#include <QString>

namespace vemra {

struct LinkCounts {
    qint64 records = 0;        // board records decoded
    qint64 bytes = 0;          // board bytes taken
    qint64 checksumErrors = 0; // records whose checksum did not match
    qint64 droppedBlocks = 0;  // blocks not stored: run store full, or lost to an overrun
    qint64 readings = 0;       // meter readings taken
    qint64 outOfStep = 0;      // meter units out of step ("Err Mult!")
};

struct LinkHealth {
    LinkCounts now;
    LinkCounts before;       // at the start of the interval
    double seconds = 0;      // length of the interval
    double quietSeconds = 0; // since the board's last block (or since Start)
    bool boardOpen = false;
    bool running = false;
    bool meterOpen = false;
};

// "Board: 1000 records/s, 8000 bytes/s, 0 checksum errors, 0 dropped blocks · Meter: 18,2
// readings/s, 0 out of step"; a board silent for more than a second during a run says so.
QString linkHealthText(const LinkHealth& health);

} // namespace vemra
