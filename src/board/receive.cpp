// The board's stream: the records each comm event completes, decoded, stored and shown.

#include "app/form1.h"

#include "board/protocol.h"
#include "platform/widgets/checkvalue.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QStatusBar>

namespace vemra {

// What the streams could not keep, shown until the next Start: blocks that did not fit the
// run store, input that arrived faster than it was taken (an overrun), and meter readings
// with no slot or no sample of the run to go with.
void Form1::showStreamLosses() {
    QStringList losses;
    if (DroppedBlocks > 0)
        losses << tr("Blocks dropped (run store full): %1").arg(DroppedBlocks);
    if (OverrunBytes > 0)
        losses << tr("Input overrun: %1 bytes lost (%2 records)")
                      .arg(OverrunBytes)
                      .arg(OverrunBytes / board::recordLength(AcqEnCH0 + AcqEnCH1 + AcqEnCH2));
    if (DroppedReadings > 0)
        losses << tr("Meter readings dropped (no slot left for them): %1").arg(DroppedReadings);
    if (LateReadings > 0)
        losses
            << tr("Meter readings after the run's last sample, not stored: %1").arg(LateReadings);
    if (!journalFailure_.isEmpty())
        losses << tr("Journal stopped: %1").arg(journalFailure_);
    if (!meterPaceNote_.isEmpty())
        losses << meterPaceNote_;
    statusBar()->showMessage(losses.join(QStringLiteral("; ")));
}

void Form1::MSComm1_OnComm() {
    if (MSComm1->commEvent() == CommEvent::Overrun)
        run_.takeOverrun(MSComm1->takeOverrun());
    if (MSComm1->commEvent() == CommEvent::Receive) {
        const bool endsHere = run_.atEnd();
        if (endsHere) {
            CommandOff_Click();
            TextAcq->setText(QStringLiteral("Buffer Full"));
        }
        run_.takeBoardBytes(MSComm1->readBytes());
        if (endsHere)
            run_.keepEndingBlock();
    }
    Visualizza();
}

} // namespace vemra
