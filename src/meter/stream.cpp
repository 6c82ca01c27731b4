// The meter's reading stream: 16-character units, stored by reading number and charted.

#include "app/form1.h"

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
    const std::optional<QString> reading = meter::readingText(MSComm2->readText());
    if (!reading) {
        ++LinkCount.outOfStep;
        LabelBuff->setText(QStringLiteral("Err Mult!"));
        return;
    }
    ++LinkCount.readings;
    LabelMultCH->setText(*reading);
    if (!MultData.set(MultCount, *reading)) {
        ++DroppedReadings;
        statusBar()->showMessage(
            tr("Meter readings dropped (no slot left for them): %1").arg(DroppedReadings));
    }
    if (AgilChann->isChecked())
        CWGraphMult->appendPoint(0, meter::readingValue(*reading));
    ++MultCount;
    if (MultCount >= TotalPoints && checkValue(CheckInf) == 1)
        MultCount = 0;
}

} // namespace vemra
