// Manual operation of the meter: its raw replies read every 100 ms and shown as text, and
// the key-code box beside them.

#include "app/form1.h"

#include "meter/scpi.h"
#include "platform/widgets/checkvalue.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace vemra {

void Form1::CheckManOperation_Click() {
    const int value = checkValue(CheckManOperation);
    if (value == 1) {
        FrameManualOperation->show();
        TimerMulUpd->start();
    } else if (value == 0) {
        FrameManualOperation->hide();
        TimerMulUpd->stop();
    }
}

void Form1::TimerMulUpd_Timer() {
    if (checkValue(CheckManOperation) != 1)
        return;
    const QString piece = MSComm2->readText();
    if (piece.isEmpty())
        return;
    TextMultOut->moveCursor(QTextCursor::End);
    TextMultOut->insertPlainText(meter::manualReply(piece));
}

void Form1::TextMultOut_DblClick() {
    TextMultOut->setPlainText(QString());
}

void Form1::TextAscii_KeyPress(int& keyAscii) {
    // The code as one byte: a character outside Latin-1 shows as '?', as the files write it.
    TextAscii->setText(QString::number(keyAscii <= 0xFF ? keyAscii : int('?')));
    keyAscii = 0;
}

} // namespace vemra
