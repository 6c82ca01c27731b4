// The main graph rebuilt for the enabled channels: a trace and a value axis per channel,
// full scale = coefficient × 1023, and the stores sized for the channel count.

#include "app/form1.h"

#include "common/numbertext.h"
#include "platform/checkvalue.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace vemra {

void Form1::GraphSetup() {
    dimensionReadings(AgilChann->isChecked() ? TotalPoints : 0);
    const int perBlock = toInt32(CWNumEditNumPoint->value());
    dimensionBlock(NumChannels, perBlock);
    dimensionSamples(NumChannels, TotalPoints, perBlock);

    LabelForce->setText(QString());
    LabelCH1->setText(QString());
    LabelCH2->setText(QString());

    CWGraph1->removeAddedValueAxes();
    CWGraph1->clearTraces();

    struct Channel {
        QCheckBox* enable;
        QLineEdit* label;
        double coefficient;
        QColor colour;
        NumEdit* span;
        QLabel* spanCaption;
        QLabel* averageCaption;
    };
    const Channel channels[3] = {
        {CheckEnCH0, TextLabel, CoeffCH0, QColor(0, 255, 0), CWNumEditSpan, LabelSpan,
         LabelAverage},
        {CheckEnCH1, TextLabelCH1, CoeffCH1, QColor(255, 0, 0), CWNumEditSpanCH1, LabelSpanCH1,
         LabelAverageCH1},
        {CheckEnCH2, TextLabelCH2, CoeffCH2, QColor(0, 0, 255), CWNumEditSpanCH2, LabelSpanCH2,
         LabelAverageCH2},
    };

    for (int ch = 0; ch < 3; ++ch) {
        const Channel& c = channels[ch];
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

        const double fullScale = c.coefficient * 1023.0;
        CWGraph1->setAxisRange(axis, 0, fullScale);
        CWGraph1->setAxisCaption(axis, c.label->text());
        CWGraph1->setAxisTickColor(axis, c.colour);
        CWGraph1->bindTrace(trace, axis);

        c.span->setValue(fullScale);
        c.spanCaption->setText(QStringLiteral("Max Span ") + c.label->text());
        c.averageCaption->setText(QStringLiteral("Average ") + c.label->text());
    }
}

} // namespace vemra
