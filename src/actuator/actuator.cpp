// The actuator panel: waveform and manual buttons, maximum value, "Enable Actuator".

#include "app/form1.h"

#include "actuator/commands.h"

#include <QAction>
#include <QLineEdit>

namespace vemra {

void Form1::UpdPWM() {
    if (MSComm1->portOpen())
        sendBytes(
            *MSComm1, OutBuffer,
            actuator::parametersCommand(CWNumEditPWM->value(), TextDiv->text(), TextMul->text()));
}

void Form1::StopPWM() {
    if (MSComm1->portOpen())
        sendBytes(*MSComm1, OutBuffer, actuator::stopCommand());
    for (TwoStateButton* b :
         {CWButtonPWM, CWButtonSquare, CWButtonSin, CWButtonTriangle, CWButtonSawtoot})
        b->setEnabled(true);
}

void Form1::waveformChanged(TwoStateButton* button, char startByte, bool on) {
    for (TwoStateButton* b :
         {CWButtonSin, CWButtonSquare, CWButtonTriangle, CWButtonSawtoot, CWButtonPWM}) {
        if (b != button)
            b->setEnabled(false);
    }
    if (on) {
        UpdPWM();
        if (MSComm1->portOpen())
            sendBytes(*MSComm1, OutBuffer,
                      actuator::startCommand(static_cast<actuator::Waveform>(startByte)));
    } else {
        StopPWM();
    }
}

void Form1::CWButtonSin_ValueChanged(bool value) {
    waveformChanged(CWButtonSin, static_cast<char>(actuator::Waveform::Sine), value);
}

void Form1::CWButtonSquare_ValueChanged(bool value) {
    waveformChanged(CWButtonSquare, static_cast<char>(actuator::Waveform::Square), value);
}

void Form1::CWButtonTriangle_ValueChanged(bool value) {
    waveformChanged(CWButtonTriangle, static_cast<char>(actuator::Waveform::Triangle), value);
}

void Form1::CWButtonSawtoot_ValueChanged(bool value) {
    waveformChanged(CWButtonSawtoot, static_cast<char>(actuator::Waveform::Sawtooth), value);
}

void Form1::CWButtonPWM_ValueChanged(bool value) {
    for (TwoStateButton* b : {CWButtonSin, CWButtonSquare, CWButtonTriangle, CWButtonSawtoot})
        b->setEnabled(false);
    if (value && MSComm1->portOpen())
        sendByte(*MSComm1, OutBuffer, static_cast<std::uint8_t>(actuator::kManual));
    if (!value)
        StopPWM();
}

void Form1::CWNumEditPWM_ValueChanged() {
    UpdPWM();
    if (CWButtonPWM->value() && MSComm1->portOpen())
        sendByte(*MSComm1, OutBuffer, static_cast<std::uint8_t>(actuator::kManual));
}

void Form1::EnableActuator_Click() {
    const bool enable = !EnableActuator->isChecked();
    EnableActuator->setChecked(enable);
    for (TwoStateButton* b :
         {CWButtonPWM, CWButtonSquare, CWButtonSin, CWButtonTriangle, CWButtonSawtoot})
        b->setEnabled(enable);
    if (!enable && MSComm1->portOpen())
        sendBytes(*MSComm1, OutBuffer, actuator::stopCommand());
}

} // namespace vemra
