// The main graph rebuilt for the enabled channels: a trace and a value axis per channel,
// full scale = coefficient × 1023, and the stores sized for the channel count.

#include "app/form1.h"

#include "common/numbertext.h"
#include "platform/widgets/checkvalue.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace vemra {

void Form1::GraphSetup() {
    run_.dimensionReadings(AgilChann->isChecked() ? TotalPoints : 0);
    const int perBlock = toInt32(CWNumEditNumPoint->value());
    run_.dimensionBlock(NumChannels, perBlock);
    run_.dimensionSamples(NumChannels, TotalPoints, perBlock);

    LabelForce->setText(QString());
    LabelCH1->setText(QString());
    LabelCH2->setText(QString());

    CWGraph1->removeAddedValueAxes();
    CWGraph1->clearTraces();

    for (int ch = 0; ch < 3; ++ch) {
        const ChannelControls c = channelControls(ch);
        if (checkValue(c.enable) != 1)
            continue;
        const int trace = CWGraph1->addTrace();
        CWGraph1->setTraceColor(trace, c.colour);

        // The first enabled channel takes the primary axis, every further one an axis of
        // its own on the opposite side.
        const bool newAxis =
            (ch == 1 && checkValue(CheckEnCH0) == 1) || (ch == 2 && NumChannels > 1);
        if (newAxis)
            CWGraph1->setAxisOpposite(CWGraph1->addValueAxis());
        const int axis = CWGraph1->axisCount();

        CWGraph1->setAxisCaption(axis, c.label->text());
        CWGraph1->setAxisTickColor(axis, c.colour);
        CWGraph1->bindTrace(trace, axis);

        // The span edit's own handler narrows the axis to what the edit holds; a full
        // scale beyond the edit's limit still gets the whole axis.
        const double fullScale = c.coefficient * 1023.0;
        c.span->setValue(fullScale);
        CWGraph1->setAxisRange(axis, 0, fullScale);
        c.spanCaption->setText(QStringLiteral("Max Span ") + c.label->text());
        c.averageCaption->setText(QStringLiteral("Average ") + c.label->text());
    }
}

} // namespace vemra
