// The meter's serial port: choosing it, opening it for 16-character reading units, sending
// command lines, and the buffer counts.

#include "app/form1.h"

#include "meter/scpi.h"

#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>

namespace vemra {

void Form1::SetupComm2() {
    if (MSComm2->portOpen())
        MSComm2->close();
    MSComm2->setInBufferSize(10000);
    MSComm2->setSettings(QStringLiteral("9600,N,8,2"));
    if (!MSComm2->portOpen()) {
        QString reason;
        if (!MSComm2->open(&reason)) {
            portFailed(reason);
            return;
        }
    }
    // What waited before the port was ours belongs to no reading.
    MSComm2->setInputLen(0);
    MSComm2->readText();
    MSComm2->clearInput();
    MSComm2->setInputLen(meter::kUnitLength);
    MSComm2->setRThreshold(meter::kUnitLength);
    MSComm2->setInputMode(InputMode::Text);
    // A unit's characters follow each other within milliseconds, even through a USB adapter.
    MSComm2->setQuietDelivery(100);
}

void Form1::ComboPort2_Click() {
    MSComm2->setCommPort(ComboPort2->currentData().toInt());
    SetupComm2();
    if (!MSComm2->portOpen()) {
        // Not opened (the operator was told why): stay where we were, list usable.
        meterPortLost();
        return;
    }
    ComboPort2->setEnabled(false);
    MultimSetup->setEnabled(true);
    if (AgilChann->isChecked()) {
        CommandResetParam_Click();
        CWButtonChangeScrean->setEnabled(true);
        run_.emptyReadings(TotalPoints);
    }
}

void Form1::meterPortLost() {
    {
        const QSignalBlocker block(ComboPort2);
        ComboPort2->setCurrentIndex(-1);
    }
    ComboPort2->setEnabled(true);
    // The meter panel follows the port: without one its commands go nowhere.
    if (MultimSetup->isChecked())
        MultimSetup_Click();
    MultimSetup->setEnabled(false);
}

void Form1::sendMeterLine(const QString& text) {
    if (MSComm2->portOpen())
        MSComm2->write(meter::commandLine(text));
}

void Form1::CommandBuff_Click() {
    if (MSComm1->portOpen())
        LabelBuff->setText(QString::number(MSComm1->inBufferCount()));
    if (MSComm2->portOpen())
        LabelBuff2->setText(QString::number(MSComm2->inBufferCount()));
}

} // namespace vemra
