#pragma once
// Actuator frequency from the sampling frequency as shown, the multiplier and the
// prescaler: f = F × M / (D × 256). A prescaler of 0 (or no number) gives 0 Hz rather
// than a division by zero.

namespace vemra {

inline double actuatorFrequency(double samplingHz, double multiplier, double prescaler) {
    if (prescaler == 0.0)
        return 0.0;
    return samplingHz * multiplier / (prescaler * 256.0);
}

} // namespace vemra
