#pragma once
// The raw values the board samples, as 10-bit ADC readings: CH0 a force that follows the
// actuator, CH1 a slow sine, CH2 a temperature-like drift, each with a little noise.
// A sample is a function of the seed, the run, the record index and the settings only,
// so a run is reproducible however the records were scheduled.

#include "rig/record.h"
#include "rig/waveform.h"

#include <cstdint>

namespace vemra::rig {

constexpr int kAdcMax = 1023;
constexpr double kForceRest = 512.0;
constexpr double kForceSwing = 400.0; // at full amplitude A = 255

// Uniform bits, a function of its arguments only: stream picks an independent sequence.
std::uint64_t noiseBits(std::uint64_t seed, int run, std::uint64_t index, int stream);

// Roughly normal, standard deviation 1, a function of its arguments only: channel picks an
// independent sequence.
double unitNoise(std::uint64_t seed, int run, std::uint64_t index, int channel);

class SignalSource {
public:
    explicit SignalSource(std::uint64_t seed)
        : seed_(seed) {}

    // t = index × P / 10000 s from the run's start.
    Samples sample(int run, std::uint64_t index, int period, const Actuator& actuator) const;

    // The force without its noise.
    static double force(double seconds, int period, const Actuator& actuator);

private:
    std::uint64_t seed_;
};

} // namespace vemra::rig
