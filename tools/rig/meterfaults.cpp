#include "rig/meterfaults.h"

#include "rig/signalsource.h"

#include <algorithm>

namespace vemra::rig {

namespace {

constexpr std::string_view kGarbage = "!#$%&()*+-./:;<=>?@ABCDEFabcdef0123456789";
constexpr std::string_view kReply = "+0,\"No error\"\r\n";
constexpr int kJunkStream = 16; // past the board's and the meter's own noise
constexpr std::size_t kDefaultLost = 4;

} // namespace

DamagedUnit damageUnit(std::string_view unit, const MeterFaults& faults, std::uint64_t seed,
                       int run, std::uint64_t index) {
    DamagedUnit out;
    std::string foreign;
    const std::string before = ' ' + std::to_string(run) + " before=" + std::to_string(index);
    if (faults.garbageAt == index) {
        for (std::uint64_t i = 0; i < 16; ++i)
            foreign += kGarbage[(seed * 31 + index * 7 + i * 13) % kGarbage.size()];
        out.notes.push_back("# meter garbage" + before);
    }
    if (faults.replyAt == index) {
        foreign += kReply;
        out.notes.push_back("# meter reply" + before);
    }
    if (faults.junkAt == index) {
        for (std::uint64_t i = 0; i < faults.junkLength; ++i) {
            auto byte = static_cast<char>(noiseBits(seed, run, index, kJunkStream + int(i)));
            // Moved to the upper half rather than skipped, so the length stays as asked.
            if (byte == ',' || byte == '\r' || byte == '\n')
                byte = static_cast<char>(byte ^ 0x80);
            foreign += byte;
        }
        out.notes.push_back("# meter junk" + before +
                            " length=" + std::to_string(faults.junkLength));
    }

    const bool loseChar = faults.loseCharAt == index;
    const bool loseComma = faults.loseCommaAt == index;
    const std::size_t end = std::min(unit.find_first_of(",\r"), unit.size());
    const std::size_t lost = std::min<std::size_t>(faults.charOffset.value_or(kDefaultLost), end);
    const std::size_t at = std::min<std::size_t>(faults.charOffset.value_or(0), unit.size());
    for (std::size_t i = 0; i <= unit.size(); ++i) {
        if (i == at)
            out.bytes += foreign;
        if (i == unit.size() || (loseChar && i == lost) || (loseComma && i >= end))
            continue;
        out.bytes += unit[i];
        ++out.own;
    }
    const bool broken = !foreign.empty() && at > 0 && at < unit.size();
    out.marks = std::string(loseChar ? " lost" : "") + (loseComma ? " lost-comma" : "") +
                (broken ? " broken" : "");
    return out;
}

} // namespace vemra::rig
