#include "rig/signalsource.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vemra::rig {

namespace {

constexpr double kNoiseForce = 1.5;
constexpr double kNoiseSlow = 2.0;
constexpr double kNoiseDrift = 1.0;

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint16_t toRaw(double value) {
    return static_cast<std::uint16_t>(std::clamp(std::lround(value), 0l, long{kAdcMax}));
}

} // namespace

double SignalSource::force(double seconds, int period, const Actuator& actuator) {
    const double frequency = actuatorFrequency(period, actuator.prescaler, actuator.multiplier);
    return kForceRest +
           actuator.amplitude / 255.0 * kForceSwing * wave(actuator.drive, frequency * seconds);
}

std::uint64_t noiseBits(std::uint64_t seed, int run, std::uint64_t index, int stream) {
    return mix(mix(mix(mix(seed) ^ static_cast<std::uint64_t>(run)) ^ index) ^
               static_cast<std::uint64_t>(stream));
}

double unitNoise(std::uint64_t seed, int run, std::uint64_t index, int channel) {
    const std::uint64_t h = noiseBits(seed, run, index, channel);
    // Four uniform quarters of the hash sum to a bell shape (Irwin–Hall); centred and
    // scaled to a unit standard deviation.
    double sum = 0.0;
    for (int part = 0; part < 4; ++part)
        sum += static_cast<double>((h >> (16 * part)) & 0xFFFF) / 65536.0;
    return (sum - 2.0) * std::sqrt(3.0);
}

Samples SignalSource::sample(int run, std::uint64_t index, int period,
                             const Actuator& actuator) const {
    const double t = static_cast<double>(index) * period / 10000.0;
    const double slow = 300.0 + 200.0 * std::sin(2.0 * std::numbers::pi * 0.2 * t);
    const double drift = 250.0 + 400.0 * (1.0 - std::exp(-t / 120.0));
    return {toRaw(force(t, period, actuator) + kNoiseForce * unitNoise(seed_, run, index, 0)),
            toRaw(slow + kNoiseSlow * unitNoise(seed_, run, index, 1)),
            toRaw(drift + kNoiseDrift * unitNoise(seed_, run, index, 2))};
}

} // namespace vemra::rig
