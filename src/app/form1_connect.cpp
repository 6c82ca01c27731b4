// Controls and ports to their handlers. Qt's direct connections run a handler at once,
// nested, when code changes a control's value: the handlers rely on that.

#include "app/form1.h"

#include <QComboBox>
#include <QPushButton>

namespace vemra {

void Form1::connectHandlers()
{
    connect(ComboPort, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            ComboPort_Click();
    });
    connect(CommandCommStart, &QPushButton::clicked, this, [this] { CommandCommStart_Click(); });
    connect(CommandSendData, &QPushButton::clicked, this, [this] { CommandSendData_Click(); });
    connect(CommandOff, &QPushButton::clicked, this, [this] { CommandOff_Click(); });
    connect(CommandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(LabelBuff, &ClickLabel::clicked, this, [this] { LabelBuff_Click(); });
    connect(LabelBuff2, &ClickLabel::clicked, this, [this] { LabelBuff2_Click(); });

    connect(MSComm1, &SerialPort::onComm, this, [this] { MSComm1_OnComm(); });
    connect(MSComm1, &SerialPort::portFailed, this, &Form1::portFailed);
    connect(MSComm2, &SerialPort::portFailed, this, &Form1::portFailed);
}

} // namespace vemra
