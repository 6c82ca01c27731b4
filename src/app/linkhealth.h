#pragma once
// Link health at a glance: what the two serial links brought during the current run, as
// rates over the last interval and counts since Start, for the status bar.

#include "run/linkcounts.h"

#include <QString>

namespace vemra {

struct LinkHealth {
    LinkCounts now;
    LinkCounts before;       // at the start of the interval
    double seconds = 0;      // length of the interval
    double quietSeconds = 0; // since the board's last block (or since Start)
    bool boardOpen = false;
    bool running = false;
    bool meterOpen = false;
};

// "Board: 1000 records/s, 8000 bytes/s, 0 checksum errors (0 damaged), 0 dropped blocks ·
// Meter: 18,2 readings/s, 0 out of step (0 lost)"; a board silent for more than a second
// during a run says so.
QString linkHealthText(const LinkHealth& health);

} // namespace vemra
