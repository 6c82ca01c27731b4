#pragma once
// The board's command bytes from the station, decoded one byte at a time: a command's
// argument bytes may arrive in later reads than the command byte.

#include "rig/waveform.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vemra::rig {

enum class CommandKind {
    Channels,
    Period,
    Start,
    Stop,
    ActuatorParameters,
    ActuatorDrive,
    Ignored
};

struct Command {
    CommandKind kind = CommandKind::Ignored;
    std::uint8_t mask = 0;       // Channels
    std::uint16_t period = 0;    // Period, tenths of a millisecond
    std::uint8_t amplitude = 0;  // ActuatorParameters: A
    std::uint8_t prescaler = 0;  // ActuatorParameters: D
    std::uint8_t multiplier = 0; // ActuatorParameters: M
    Drive drive = Drive::Idle;   // ActuatorDrive
    std::uint8_t byte = 0;       // Ignored
};

// The log line for a command, e.g. "board: period 400" or "actuator: sine".
std::string describe(const Command& command);

class CommandParser {
public:
    void feed(std::uint8_t byte, std::vector<Command>& out);
    std::vector<Command> feed(std::span<const std::uint8_t> bytes);

private:
    enum class State {
        Idle,
        Mask,
        PeriodHigh,
        PeriodLow,
        Amplitude,
        Prescaler,
        Multiplier,
        DriveN,
        StopF
    };

    void begin(std::uint8_t byte, std::vector<Command>& out);

    State state_ = State::Idle;
    std::uint8_t commandByte_ = 0;
    std::uint8_t args_[2] = {};
    Drive pendingDrive_ = Drive::Idle;
};

} // namespace vemra::rig
