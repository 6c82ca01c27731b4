// The board's stream: the records each comm event completes, decoded, stored and shown.

#include "app/form1.h"

#include "app/stores.h"
#include "board/protocol.h"
#include "platform/checkvalue.h"

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
    statusBar()->showMessage(losses.join(QStringLiteral("; ")));
}

void Form1::MSComm1_OnComm() {
    if (MSComm1->commEvent() == CommEvent::Overrun) {
        OverrunBytes += MSComm1->takeOverrun();
        showStreamLosses();
    }
    if (MSComm1->commEvent() == CommEvent::Receive) {
        bool stoppedHere = false;
        if (SampleCount >= TotalPoints - NumAvgPoints && checkValue(CheckInf) != 1) {
            CommandOff_Click();
            TextAcq->setText(QStringLiteral("Buffer Full"));
            stoppedHere = true;
        }

        const QByteArray bytes = MSComm1->readBytes();
        LinkCount.bytes += bytes.size();
        records_.clear();
        recordStream_.feed(bytes, records_);
        if (!records_.empty())
            storeRecords();

        // A run that ends by itself keeps the block that ended it.
        if (stoppedHere)
            SavedSampleCount = SampleCount;
    }
    Visualizza();
}

// Record i of the run goes to column i of the run store; an endless run's records go round
// the columns its blocks fill, so a sample keeps the column its meter reading gets.
void Form1::storeRecords() {
    const board::BlockDecode d = board::scaleRecords(records_, {AcqEnCH0, AcqEnCH1, AcqEnCH2},
                                                     {CoeffCH0, CoeffCH1, CoeffCH2}, decoded_);
    BlockSumCH0 = d.sums[0];
    BlockSumCH1 = d.sums[1];
    BlockSumCH2 = d.sums[2];
    blockRecords_ = d.records;
    LinkCount.records += d.records;
    LinkCount.checksumErrors += d.badChecksums;
    LinkCount.damagedRecords += d.damaged;
    if (d.badChecksums > 0)
        LabelBuff->setText(QStringLiteral("Error Comm"));

    const int channels = d.channels;
    for (int r = 0; r < channels; ++r)
        for (int i = 0; i < d.records && BlockData.contains(r, i); ++i)
            BlockData.at(r, i) = decoded_.at(r, i);
    freshRecords_ = d.records;

    if (checkValue(CheckInf) == 1) {
        const int width = endlessRunWidth(TotalPoints, NumAvgPoints);
        for (int i = 0; i < d.records; ++i) {
            const int column = static_cast<int>(runRecords_++ % width);
            for (int r = 0; r < channels; ++r)
                if (SampleData.contains(r, column))
                    SampleData.at(r, column) = decoded_.at(r, i);
            SampleCount = column + 1;
        }
        return;
    }
    // The store is sized at Start; records that would run past it (more late blocks than its
    // spare columns hold, or a store re-dimensioned mid-run) are dropped whole rather than
    // written out of bounds.
    const bool fits =
        channels == 0 || (SampleData.contains(channels - 1, SampleCount) &&
                          SampleData.contains(channels - 1, SampleCount + d.records - 1));
    if (!fits) {
        ++DroppedBlocks;
        ++LinkCount.droppedBlocks;
        showStreamLosses();
        return;
    }
    for (int r = 0; r < channels; ++r)
        std::copy_n(decoded_.row(r), d.records, SampleData.row(r) + SampleCount);
    SampleCount += d.records;
    runRecords_ = SampleCount;
}

} // namespace vemra
