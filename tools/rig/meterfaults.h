#pragma once
// What a noisy line does to the meter's readings: a unit loses a character or its ',', or
// foreign bytes get in (a garbage unit, a reply that is not a reading, arbitrary junk); and
// the overload, which a station meets only when the input is beyond the meter's range. Each
// hits one reading of the first run; the truth says which.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemra::rig {

// Readings counted from 0 within the first run.
struct MeterFaults {
    std::optional<std::uint64_t> loseCharAt;
    std::optional<std::uint64_t> loseCommaAt; // it runs into the next reading
    std::optional<std::uint64_t> garbageAt;   // 16 printable characters, no ','
    std::optional<std::uint64_t> replyAt;     // +0,"No error" CR LF
    std::optional<std::uint64_t> junkAt;      // any bytes but ',', CR and LF
    std::optional<std::uint64_t> overloadAt;  // +9.90000000E+37
    std::uint64_t junkLength = 16;
    // The character lost (4 when not given, the ',' at most) and the one the foreign bytes
    // go before (0 when not given: before the unit).
    std::optional<std::uint64_t> charOffset;
};

// One reading's unit as the line delivers it.
struct DamagedUnit {
    std::string bytes;
    std::size_t own = 0;            // the unit's own characters among them
    std::string marks;              // for its truth line: " lost", " lost-comma", " broken"
    std::vector<std::string> notes; // truth lines for what went in, to go before it
};

// unit: the reading's text and its ',' (or CR LF, the last of a count).
DamagedUnit damageUnit(std::string_view unit, const MeterFaults& faults, std::uint64_t seed,
                       int run, std::uint64_t index);

} // namespace vemra::rig
