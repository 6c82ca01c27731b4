// The meter panel's commands: the fixed SCPI buttons, the six "CMD" rows, the parameter
// lines and the timed "INIT" sequence.

#include "app/form1.h"

#include "meter/scpi.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace vemra {

void Form1::CommandRemote_Click() {
    sendMeterLine(QStringLiteral("SYST:REM"));
}

void Form1::CommandErr_Click() {
    sendMeterLine(QStringLiteral("SYST:ERR?"));
}

void Form1::CommandClear_Click() {
    if (MSComm2->portOpen())
        sendByte(*MSComm2, OutBuffer, meter::kDeviceClear);
}

void Form1::CommandMultimeter_Click(int index) {
    sendMeterLine(TextCommand[static_cast<std::size_t>(index)]->text());
}

void Form1::CommandResetParam_Click() {
    // A sequence already under way goes on from its step: restarting the timer would only
    // delay it.
    if (!TimerSendFrame->isActive())
        TimerSendFrame->start();
    CWGraphMult->setAxisCaption(2, TextLabelMult->text());
}

void Form1::TimerSendFrame_Timer() {
    const std::optional<QString> line =
        meter::initLine(MultCmdIndex, {LabelParam[0]->text(), LabelParam[1]->text(),
                                       LabelParam[2]->text(), LabelParam[3]->text()});
    if (line)
        sendMeterLine(*line);
    if (line && MultCmdIndex < meter::kInitSteps - 1) {
        ++MultCmdIndex;
    } else {
        MultCmdIndex = 0;
        TimerSendFrame->stop();
    }
}

void Form1::Command1_Click() {
    for (std::size_t k = 0; k < LabelParam.size(); ++k)
        TextCommand[k]->setText(LabelParam[k]->text());
    TextCommand[5]->setText(QStringLiteral("READ?"));
}

void Form1::CommandSavParam_Click() {
    for (std::size_t k = 0; k < LabelParam.size(); ++k)
        LabelParam[k]->setText(TextCommand[k]->text());
}

} // namespace vemra
