#pragma once
// vemra-rig's command line.

#include "rig/board.h"
#include "rig/meter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemra::rig {

struct Options {
    std::string dir = ".";
    std::uint64_t seed = 1;
    bool fast = false;
    std::string truthFile;
    std::string logFile;
    std::string replayFile;
    Faults faults;
    MeterFaults meterFaults;
    std::uint64_t lineHz = 50;
    bool help = false;
};

std::string usage();

// args without the program name. On failure returns nothing and says why in error.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error);

} // namespace vemra::rig
