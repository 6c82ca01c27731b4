// The board's controls, timing edits and port to their handlers.

#include "app/form1.h"

#include <QComboBox>
#include <QPushButton>

namespace vemra {

void Form1::connectBoardHandlers() {
    connect(ComboPort, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            ComboPort_Click();
    });
    connect(CommandCommStart, &QPushButton::clicked, this, [this] { CommandCommStart_Click(); });
    connect(CommandSendData, &QPushButton::clicked, this, [this] { CommandSendData_Click(); });
    connect(CommandOff, &QPushButton::clicked, this, [this] { CommandOff_Click(); });
    connect(LabelBuff, &ClickLabel::clicked, this, [this] { LabelBuff_Click(); });
    connect(LabelBuff2, &ClickLabel::clicked, this, [this] { LabelBuff2_Click(); });

    connect(CWNumEditNumPoint, &NumEdit::valueChanged, this,
            [this] { CWNumEditNumPoint_ValueChanged(); });
    connect(CWNumEditFreq, &NumEdit::valueChanged, this, [this] { CWNumEditFreq_ValueChanged(); });
    connect(CWNumEditTotPoint, &NumEdit::valueChanged, this,
            [this] { CWNumEditTotPoint_ValueChanged(); });

    connect(MSComm1, &SerialPort::onComm, this, [this] { MSComm1_OnComm(); });
    connect(MSComm1, &SerialPort::portFailed, this, [this](const QString& message) {
        portFailed(message);
        boardPortLost();
    });
}

} // namespace vemra
