// The meter as the external channel: its switch, its graph's range edits and mouse, and the
// merge of a run's readings into the main graph.

#include "app/form1.h"

#include "meter/scpi.h"

#include <QAction>
#include <QLineEdit>
#include <limits>

namespace vemra {

namespace {

// The merged trace and its tick labels: white stands out on the dark chart beside the
// channels' green, red and blue.
const QColor kMergedColour(255, 255, 255);

} // namespace

void Form1::AgilChann_Click() {
    if (!AgilChann->isChecked()) {
        AgilChann->setChecked(true);
        if (MSComm2->portOpen())
            CommandResetParam_Click();
        CWButtonChangeScrean->setEnabled(true);
        run_.dimensionReadings(TotalPoints);
    } else {
        AgilChann->setChecked(false);
        CWButtonChangeScrean->setValue(false);
        CWButtonChangeScrean->setEnabled(false);
        run_.dimensionReadings(0);
    }
}

// A range the operator sets stays: the graph's autoscale would undo it at the next repaint.
// A double-click on the graph gives the autoscale back.
void Form1::CWNumEditAgilMax_ValueChanged(double value) {
    CWGraphMult->setAxisAutoScale(2, false);
    CWGraphMult->setAxisMaximum(2, value);
    if (CWButtonGraphMerg->value())
        CWGraph1->setAxisMaximum(CWGraph1->axisCount(), value);
}

void Form1::CWNumEditAgilMin_ValueChanged(double value) {
    CWGraphMult->setAxisAutoScale(2, false);
    CWGraphMult->setAxisMinimum(2, value);
    if (CWButtonGraphMerg->value())
        CWGraph1->setAxisMinimum(CWGraph1->axisCount(), value);
}

void Form1::CWButtonGraphMerg_ValueChanged() {
    const int trace = CWGraph1->addTrace();
    CWGraph1->setTraceColor(trace, kMergedColour);
    if (NumChannels >= 1)
        CWGraph1->setAxisOpposite(CWGraph1->addValueAxis());
    const int axis = CWGraph1->axisCount();
    CWGraph1->setAxisRange(axis, CWNumEditAgilMin->value(), CWNumEditAgilMax->value());
    CWGraph1->setAxisCaption(axis, TextLabelMult->text());
    CWGraph1->setAxisTickColor(axis, kMergedColour);
    CWGraph1->bindTrace(trace, axis);

    if (SavedSampleCount > 0)
        MultData.cut(SavedSampleCount);
    // Slot i at sample i; a slot no reading filled is a gap.
    QVector<double> values(MultData.size(), std::numeric_limits<double>::quiet_NaN());
    for (int i = 0; i < MultData.size(); ++i) {
        if (MultData.filled(i))
            values[i] = meter::readingValue(QString(MultData.text(i)));
    }
    CWGraph1->plotY(trace, values);
    CWButtonGraphMerg->setEnabled(false);
}

void Form1::CWGraphMult_MouseDown(int, int shift, double, double) {
    CWGraphMult->setDragMode(dragModeForShift(shift));
}

void Form1::CWGraphMult_DblClick() {
    CWGraphMult->setAxisRange(1, 0, CWNumEdit1->value());
    CWGraphMult->setAxisAutoScale(2, true);
    CWGraphMult->autoScaleNow(2);
}

} // namespace vemra
