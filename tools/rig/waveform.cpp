#include "rig/waveform.h"

#include <cmath>
#include <numbers>

namespace vemra::rig {

std::string_view driveName(Drive drive) {
    switch (drive) {
    case Drive::Idle:
        return "stop";
    case Drive::Square:
        return "square";
    case Drive::Sine:
        return "sine";
    case Drive::Triangle:
        return "triangle";
    case Drive::Sawtooth:
        return "sawtooth";
    case Drive::Manual:
        return "manual output";
    }
    return "?";
}

double wave(Drive drive, double phaseCycles) {
    const double u = phaseCycles - std::floor(phaseCycles);
    switch (drive) {
    case Drive::Idle:
        return 0.0;
    case Drive::Manual:
        return 1.0;
    case Drive::Sine:
        return std::sin(2.0 * std::numbers::pi * u);
    case Drive::Square:
        return u < 0.5 ? 1.0 : -1.0;
    case Drive::Triangle:
        if (u < 0.25)
            return 4.0 * u;
        if (u < 0.75)
            return 2.0 - 4.0 * u;
        return 4.0 * u - 4.0;
    case Drive::Sawtooth:
        return u < 0.5 ? 2.0 * u : 2.0 * u - 2.0;
    }
    return 0.0;
}

double actuatorFrequency(int period, int prescaler, int multiplier) {
    if (prescaler == 0 || period == 0)
        return 0.0;
    return (10000.0 / period) * multiplier / (prescaler * 256.0);
}

} // namespace vemra::rig
