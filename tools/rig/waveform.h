#pragma once
// What the actuator does and the shape it drives, as the force channel sees it.

#include <cstdint>
#include <string_view>

namespace vemra::rig {

enum class Drive { Idle, Square, Sine, Triangle, Sawtooth, Manual };

std::string_view driveName(Drive drive);

// The drive's normalised output at a phase counted in cycles: -1..1 for the periodic
// shapes, all starting at phase 0 (the square high, the others at 0 and rising), 1 for
// the manual output and 0 when idle.
double wave(Drive drive, double phaseCycles);

// f = (10000 / P) × M / (D × 256) Hz: the actuator runs at a fraction of the sampling
// frequency. A prescaler of 0 stops it rather than dividing by zero.
double actuatorFrequency(int period, int prescaler, int multiplier);

struct Actuator {
    std::uint8_t amplitude = 0;
    std::uint8_t prescaler = 1;
    std::uint8_t multiplier = 1;
    Drive drive = Drive::Idle;
};

} // namespace vemra::rig
