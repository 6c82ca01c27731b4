#include "rig/commands.h"

#include <cstdio>

namespace vemra::rig {

std::string describe(const Command& command) {
    switch (command.kind) {
    case CommandKind::Channels:
        return "board: channels mask=" + std::to_string(command.mask);
    case CommandKind::Period:
        return "board: period " + std::to_string(command.period);
    case CommandKind::Start:
        return "board: start";
    case CommandKind::Stop:
        return "board: stop";
    case CommandKind::ActuatorParameters:
        return "actuator: parameters A=" + std::to_string(command.amplitude) +
               " D=" + std::to_string(command.prescaler) +
               " M=" + std::to_string(command.multiplier);
    case CommandKind::ActuatorDrive:
        return "actuator: " + std::string(driveName(command.drive));
    case CommandKind::Ignored:
        break;
    }
    char text[40];
    std::snprintf(text, sizeof text, "board: ignored byte 0x%02X", command.byte);
    return text;
}

std::vector<Command> CommandParser::feed(std::span<const std::uint8_t> bytes) {
    std::vector<Command> out;
    for (const std::uint8_t byte : bytes)
        feed(byte, out);
    return out;
}

void CommandParser::feed(std::uint8_t byte, std::vector<Command>& out) {
    switch (state_) {
    case State::Idle:
        begin(byte, out);
        return;
    case State::Mask:
        out.push_back({.kind = CommandKind::Channels, .mask = byte});
        break;
    case State::PeriodHigh:
        args_[0] = byte;
        state_ = State::PeriodLow;
        return;
    case State::PeriodLow:
        out.push_back({.kind = CommandKind::Period,
                       .period = static_cast<std::uint16_t>(args_[0] << 8 | byte)});
        break;
    case State::Amplitude:
        args_[0] = byte;
        state_ = State::Prescaler;
        return;
    case State::Prescaler:
        args_[1] = byte;
        state_ = State::Multiplier;
        return;
    case State::Multiplier:
        out.push_back({.kind = CommandKind::ActuatorParameters,
                       .amplitude = args_[0],
                       .prescaler = args_[1],
                       .multiplier = byte});
        break;
    case State::DriveN:
    case State::StopF:
        if (byte == (state_ == State::DriveN ? 'N' : 'F')) {
            out.push_back({.kind = CommandKind::ActuatorDrive, .drive = pendingDrive_});
            break;
        }
        // A pair that does not complete drops its first byte only: the second may
        // well be the next command.
        out.push_back({.kind = CommandKind::Ignored, .byte = commandByte_});
        state_ = State::Idle;
        begin(byte, out);
        return;
    }
    state_ = State::Idle;
}

void CommandParser::begin(std::uint8_t byte, std::vector<Command>& out) {
    commandByte_ = byte;
    switch (byte) {
    case 'C':
        state_ = State::Mask;
        return;
    case 'T':
        state_ = State::PeriodHigh;
        return;
    case 'P':
        state_ = State::Amplitude;
        return;
    case '1':
        out.push_back({.kind = CommandKind::Start});
        return;
    case '0':
        out.push_back({.kind = CommandKind::Stop});
        return;
    case 'O':
        out.push_back({.kind = CommandKind::ActuatorDrive, .drive = Drive::Manual});
        return;
    case '2':
    case '3':
    case '4':
    case '5': {
        constexpr Drive shapes[] = {Drive::Square, Drive::Sine, Drive::Triangle, Drive::Sawtooth};
        pendingDrive_ = shapes[byte - '2'];
        state_ = State::DriveN;
        return;
    }
    case '6':
        pendingDrive_ = Drive::Idle;
        state_ = State::StopF;
        return;
    default:
        out.push_back({.kind = CommandKind::Ignored, .byte = byte});
    }
}

} // namespace vemra::rig
