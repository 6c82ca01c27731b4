// The meter's reading stream: readings numbered as they stood on the line, stored by the run
// beside their samples, shown and charted.

#include "app/form1.h"

#include "meter/scpi.h"
#include "platform/widgets/checkvalue.h"

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
    run_.takeMeterChars(MSComm2->readText());
}

// Every reading is shown, and charted with the external channel on, whether or not the run
// stores it.
void Form1::showReading(const QString& reading) {
    LabelMultCH->setText(reading);
    if (AgilChann->isChecked())
        CWGraphMult->appendPoint(0, meter::readingValue(reading));
}

} // namespace vemra
