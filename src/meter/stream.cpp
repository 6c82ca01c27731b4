// The meter's reading stream: readings numbered as they stood on the line, stored beside
// their samples and charted.

#include "app/form1.h"

#include "app/stores.h"
#include "meter/scpi.h"
#include "platform/checkvalue.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QStatusBar>

namespace vemra {

void Form1::MSComm2_OnComm() {
    if (checkValue(CheckManOperation) != 0)
        return;
    if (MSComm2->commEvent() != CommEvent::Receive)
        return;
    readingItems_.clear();
    readingStream_.feed(MSComm2->readText(), readingItems_);
    if (readingStream_.takeOutOfStep()) {
        ++LinkCount.outOfStep;
        LabelBuff->setText(QStringLiteral("Err Mult!"));
    }
    for (const meter::StreamItem& item : readingItems_) {
        if (item.reading.isEmpty()) {
            // Damaged units keep their numbers: their slots stay empty.
            LinkCount.lostReadings += item.lost;
            readingIndex_ += item.lost;
        } else {
            takeReading(item.reading);
            ++readingIndex_;
        }
        MultCount = readingSlot(readingIndex_);
    }
}

// Reading i belongs to sample i: an endless run's readings go round with its samples, and a
// stopped run takes readings only for the samples it holds.
int Form1::readingSlot(qint64 index) const {
    if (checkValue(CheckInf) == 1)
        return static_cast<int>(index % endlessRunWidth(TotalPoints, NumAvgPoints));
    return static_cast<int>(std::min<qint64>(index, std::numeric_limits<int>::max()));
}

void Form1::takeReading(const QString& reading) {
    ++LinkCount.readings;
    LabelMultCH->setText(reading);
    if (AgilChann->isChecked())
        CWGraphMult->appendPoint(0, meter::readingValue(reading));
    if (runStopped_ && readingIndex_ >= runRecords_) {
        ++LateReadings;
        showStreamLosses();
        return;
    }
    if (!MultData.set(readingSlot(readingIndex_), reading)) {
        ++DroppedReadings;
        showStreamLosses();
    }
}

} // namespace vemra
