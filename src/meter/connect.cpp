// The meter's controls, timers and port to their handlers.

#include "app/form1.h"

#include "platform/widgets/doubleclick.h"
#include "platform/widgets/keypress.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace vemra {

void Form1::connectMeterHandlers() {
    connect(ComboPort2, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            ComboPort2_Click();
    });
    connect(MSComm2, &SerialPort::onComm, this, [this] { MSComm2_OnComm(); });
    // Readings count as lost only while the operator asked for them.
    connect(AgilChann, &QAction::toggled, this, [this](bool on) { run_.setReadingsWanted(on); });
    connect(MSComm2, &SerialPort::portFailed, this, [this](const QString& message) {
        portFailed(message);
        meterPortLost();
    });
    connect(TimerSendFrame, &QTimer::timeout, this, [this] { TimerSendFrame_Timer(); });
    connect(TimerMulUpd, &QTimer::timeout, this, [this] { TimerMulUpd_Timer(); });

    const std::pair<QPushButton*, void (Form1::*)()> buttons[] = {
        {CommandBuff, &Form1::CommandBuff_Click},
        {CommandRemote, &Form1::CommandRemote_Click},
        {CommandErr, &Form1::CommandErr_Click},
        {CommandClear, &Form1::CommandClear_Click},
        {CommandResetParam, &Form1::CommandResetParam_Click},
        {Command1, &Form1::Command1_Click},
        {CommandSavParam, &Form1::CommandSavParam_Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    for (int k = 0; k < static_cast<int>(CommandMultimeter.size()); ++k)
        connect(CommandMultimeter[static_cast<std::size_t>(k)], &QPushButton::clicked, this,
                [this, k] { CommandMultimeter_Click(k); });

    connect(CheckManOperation, &QCheckBox::stateChanged, this,
            [this] { CheckManOperation_Click(); });
    onDoubleClick(TextMultOut, [this] { TextMultOut_DblClick(); });
    onKeyPress(TextAscii, [this](int& keyAscii) { TextAscii_KeyPress(keyAscii); });

    connect(CWNumEditAgilMax, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditAgilMax_ValueChanged(value); });
    connect(CWNumEditAgilMin, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditAgilMin_ValueChanged(value); });
    connect(CWButtonGraphMerg, &TwoStateButton::valueChanged, this,
            [this] { CWButtonGraphMerg_ValueChanged(); });
    connect(CWGraphMult, &Graph::mousePressed, this,
            [this](int button, int shift, double x, double y) {
                CWGraphMult_MouseDown(button, shift, x, y);
            });
    connect(CWGraphMult, &Graph::doubleClicked, this, [this] { CWGraphMult_DblClick(); });
}

} // namespace vemra
