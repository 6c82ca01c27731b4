// The board's serial port: choosing it, opening it for block reads, and its status label.

#include "app/form1.h"

#include "board/protocol.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>

namespace vemra {

void Form1::SetupComm1() {
    if (LoadingConf)
        return;
    // Until the operator has chosen a board port there is nothing to set up; opening the
    // default port number here would grab a device nobody asked for.
    if (ComboPort->currentIndex() < 0 && !MSComm1->portOpen())
        return;
    if (MSComm1->portOpen())
        MSComm1->close();
    MSComm1->setInBufferSize(32000);
    MSComm1->setSettings(QStringLiteral("115200,N,8,1"));
    if (!MSComm1->portOpen()) {
        QString reason;
        if (!MSComm1->open(&reason)) {
            dialogs().message(QStringLiteral("Warning"), reason, MessageIcon::Warning);
            boardPortLost();
            return;
        }
    }
    MSComm1->setInputLen(0);
    MSComm1->readBytes();
    MSComm1->setInputLen(board::blockLength(NumChannels, NumAvgPoints));
    MSComm1->setRThreshold(board::blockLength(NumChannels, NumAvgPoints));
    MSComm1->setInputMode(InputMode::Binary);
}

void Form1::ComboPort_Click() {
    const int number = ComboPort->currentData().toInt();
    if (MSComm1->portOpen()) {
        // The board port is chosen once; a second choice (through "Default Comm") would
        // pull the running link from under the acquisition.
        const int open = MSComm1->commPort();
        if (number != open) {
            dialogs().message(QStringLiteral("Warning"),
                              tr("The board port Comm%1 is already open; Comm%2 was not opened.")
                                  .arg(open)
                                  .arg(number),
                              MessageIcon::Warning);
        }
        const QSignalBlocker block(ComboPort);
        ComboPort->setCurrentIndex(open - 1);
        return;
    }

    MSComm1->setCommPort(number);
    SetupComm1();
    if (!LoadingConf && !MSComm1->portOpen()) {
        // Not opened (the operator was told why): stay where we were, list usable.
        const QSignalBlocker block(ComboPort);
        ComboPort->setCurrentIndex(-1);
        return;
    }

    ComboPort->setEnabled(false);
    FrameContols->setEnabled(true);
    CommandSendData->setEnabled(true);
    CheckCoeff->setEnabled(true);
    SelectChannel->setEnabled(true);
    TimeSetup->setEnabled(true);
    DisplacementSys->setEnabled(true);
    EnbleAll->setEnabled(true);
}

void Form1::boardPortLost() {
    const QSignalBlocker block(ComboPort);
    ComboPort->setCurrentIndex(-1);
    run_.follow(RunEvent::BoardPortLost);
    ComboPort->setEnabled(boardListUsable(run_.phase()));
}

void Form1::CommandCommStart_Click() {
    const auto choose = [this](QComboBox* list, int number) {
        if (number > 8) {
            dialogs().message(QStringLiteral("Warning"),
                              tr("Cannot open Comm%1: port numbers go from 1 to 8.").arg(number),
                              MessageIcon::Warning);
            return;
        }
        list->setCurrentIndex(number - 1);
    };
    if (CommPort1 > 0)
        choose(ComboPort, CommPort1);
    if (CommPort2 > 0)
        choose(ComboPort2, CommPort2);
    if (CommPort1 <= 0 && CommPort2 <= 0)
        statusBar()->showMessage(
            tr("No ports are stored in Vemra.ini: choose the board's port from the \" PIC "
               "System\" list and the multimeter's from the \"Agilent 34401A\" list."));
    CommandCommStart->setEnabled(false);
}

void Form1::LabelBuff_Click() {
    MSComm1->clearInput();
    LabelBuff->setText(QString::number(MSComm1->inBufferCount()));
}

void Form1::LabelBuff2_Click() {
    LabelBuff2->setText(QString());
}

} // namespace vemra
