// What part of the data the main graph shows: each channel's span, the x width ("Showed
// points"), the view reset, the drag chosen at each press, and which graph is on screen.
// None of it touches the acquisition.

#include "app/form1.h"

#include "display/axes.h"
#include "platform/widgets/checkvalue.h"

#include <QAction>
#include <QCheckBox>

namespace vemra {

int Form1::spanAxis(int channel) const {
    return channelAxisPosition(channel, checkValue(CheckEnCH0), NumChannels);
}

void Form1::CWNumEditSpan_ValueChanged(double value) {
    CWGraph1->setAxisRange(spanAxis(0), 0, value);
}

void Form1::CWNumEditSpanCH1_ValueChanged(double value) {
    CWGraph1->setAxisRange(spanAxis(1), 0, value);
}

void Form1::CWNumEditSpanCH2_ValueChanged(double value) {
    CWGraph1->setAxisRange(spanAxis(2), 0, value);
}

// The whole range at once: setting the maximum first would swap the ends of a window that
// has scrolled past the new width, and the minimum of 0 would then keep the old maximum.
void Form1::CWNumEdit1_ValueChanged(double value) {
    CWGraph1->setAxisRange(1, 0, value);
    CWGraphMult->setAxisRange(1, 0, value);
}

// x back to 0 .. "Showed points", each enabled channel's axis to 0 .. its span edit, the
// edits first set to coefficient × 255 when the spans are reset.
void Form1::restoreView(bool resetSpans) {
    CWGraph1->setAxisRange(1, 0, CWNumEdit1->value());
    for (int channel = 0; channel < 3; ++channel) {
        const ChannelControls c = channelControls(channel);
        if (!c.span->isEnabled())
            continue;
        if (resetSpans)
            c.span->setValue(c.coefficient * 255.0);
        CWGraph1->setAxisRange(spanAxis(channel), 0, c.span->value());
    }
}

void Form1::CommandResetSpan_Click() {
    restoreView(true);
}

void Form1::CWGraph1_DblClick() {
    restoreView(false);
    // The merge toggle can outlive the merged trace: a plot set-up removes its axis.
    const int merged = NumChannels + 2;
    if (CWButtonGraphMerg->value() && CWGraph1->axisCount() >= merged)
        CWGraph1->autoScaleNow(merged);
}

void Form1::CWGraph1_MouseDown(int /*button*/, int shift, double /*x*/, double /*y*/) {
    CWGraph1->setDragMode(dragModeForShift(shift));
}

// Hidden, the graph charts nothing; the live values go on.
void Form1::GraphToggle_Click() {
    GraphToggle->setChecked(!GraphToggle->isChecked());
    CWGraph1->setVisible(GraphToggle->isChecked());
}

// The meter graph covers the main graph while it is shown.
void Form1::CWButtonChangeScrean_ValueChanged(bool value) {
    CWGraphMult->setVisible(value);
}

} // namespace vemra
