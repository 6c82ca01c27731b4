#pragma once
// The actuator's single-byte commands on the board port.

#include <QByteArray>
#include <QStringView>
#include <cstdint>

namespace vemra::actuator {

enum class Waveform : char { Square = '2', Sine = '3', Triangle = '4', Sawtooth = '5' };

constexpr char kParameters = 'P';
constexpr char kStartSuffix = 'N';
constexpr char kManual = 'O';

// 'P', maximum value A, prescaler D, multiplier M: each rounded half to even into a byte;
// the prescaler and multiplier come from their text boxes (not a number counts as 0).
QByteArray parametersCommand(double maxValue, QStringView prescalerText,
                             QStringView multiplierText);
QByteArray startCommand(Waveform waveform);
QByteArray stopCommand();

} // namespace vemra::actuator
