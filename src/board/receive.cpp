// The board's stream: one comm event per block, decoded, stored and shown.

#include "app/form1.h"

#include "board/decoding.h"
#include "board/protocol.h"
#include "platform/checkvalue.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QStatusBar>

namespace vemra {

// The two ways a stream loses data, both shown until the next Start: blocks that did not fit
// the run store, and input that arrived faster than it was taken (an overrun).
void Form1::showStreamLosses() {
    QStringList losses;
    if (DroppedBlocks > 0)
        losses << tr("Blocks dropped (run store full): %1").arg(DroppedBlocks);
    if (OverrunBytes > 0)
        losses << tr("Input overrun: %1 bytes lost (%2 records)")
                      .arg(OverrunBytes)
                      .arg(OverrunBytes / board::recordLength(AcqEnCH0 + AcqEnCH1 + AcqEnCH2));
    statusBar()->showMessage(losses.join(QStringLiteral("; ")));
}

void Form1::MSComm1_OnComm() {
    if (MSComm1->commEvent() == CommEvent::Overrun) {
        OverrunBytes += MSComm1->takeOverrun();
        showStreamLosses();
    }
    if (MSComm1->commEvent() == CommEvent::Receive) {
        bool stoppedHere = false;
        if (SampleCount >= TotalPoints - NumAvgPoints) {
            if (checkValue(CheckInf) == 1) {
                SampleCount = 0;
            } else {
                CommandOff_Click();
                TextAcq->setText(QStringLiteral("Buffer Full"));
                stoppedHere = true;
            }
        }

        const QByteArray block = MSComm1->readBytes();
        if (block.isEmpty()) {
            // Nothing was waiting after all: nothing to decode, nothing damaged.
            Visualizza();
            return;
        }

        const board::BlockDecode d =
            board::decodeBlock(block, {AcqEnCH0, AcqEnCH1, AcqEnCH2},
                               {CoeffCH0, CoeffCH1, CoeffCH2}, NumAvgPoints, decoded_);
        BlockSumCH0 = d.sums[0];
        BlockSumCH1 = d.sums[1];
        BlockSumCH2 = d.sums[2];
        LinkCount.records += d.records;
        LinkCount.bytes += block.size();
        LinkCount.checksumErrors += d.badChecksums;
        if (d.checksumError || d.lengthMismatch)
            LabelBuff->setText(QStringLiteral("Error Comm"));

        const int channels = d.channels;
        for (int r = 0; r < channels; ++r) {
            for (int i = 0; i < d.records; ++i) {
                if (BlockData.contains(r, i))
                    BlockData.at(r, i) = decoded_.at(r, i);
            }
        }

        // The store is sized at Start; a block that would run past it (more late blocks
        // than its spare columns hold, or a store re-dimensioned mid-run) is dropped
        // whole rather than written out of bounds.
        const bool fits =
            channels == 0 || (SampleData.contains(channels - 1, SampleCount) &&
                              SampleData.contains(channels - 1, SampleCount + d.records - 1));
        if (fits) {
            for (int r = 0; r < channels; ++r)
                std::copy_n(decoded_.row(r), d.records, SampleData.row(r) + SampleCount);
            SampleCount += d.records;
        } else if (d.records > 0) {
            ++DroppedBlocks;
            ++LinkCount.droppedBlocks;
            showStreamLosses();
        }
        freshRecords_ = d.records;

        // A run that ends by itself keeps the block that ended it.
        if (stoppedHere)
            SavedSampleCount = SampleCount;
    }
    Visualizza();
}

} // namespace vemra
