#include "actuator/commands.h"

#include "common/numbertext.h"

namespace vemra::actuator {

QByteArray parametersCommand(double maxValue, QStringView prescalerText,
                             QStringView multiplierText) {
    QByteArray bytes(1, kParameters);
    bytes.append(static_cast<char>(toByte(maxValue)));
    bytes.append(static_cast<char>(toByte(numericValue(prescalerText))));
    bytes.append(static_cast<char>(toByte(numericValue(multiplierText))));
    return bytes;
}

QByteArray startCommand(Waveform waveform) {
    QByteArray bytes(1, static_cast<char>(waveform));
    bytes.append(kStartSuffix);
    return bytes;
}

QByteArray stopCommand() {
    return QByteArrayLiteral("6F");
}

} // namespace vemra::actuator
