// vemra-rig: the acquisition board and the multimeter, simulated on pseudo-terminals.

#include "rig/options.h"
#include "rig/rig.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace vemra::rig;
    std::string error;
    const auto options = parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "vemra-rig: %s (see vemra-rig --help)\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(usage().c_str(), stdout);
        return 0;
    }
    Rig rig(*options);
    return rig.run();
}
