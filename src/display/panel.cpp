// "Advanced Graph Controls": the channels' spans and shown points, and the meter trace's
// range and merging into the channels' graph.

#include "app/form1.h"

#include "platform/widgets/controls.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>

namespace vemra {

QGroupBox* Form1::buildGraphPanel() {
    FrameGraph = frame(QStringLiteral("Advanced Graph Controls"), "FrameGraph");
    auto* form = new QFormLayout(FrameGraph);
    CWNumEditSpan = numEdit(1000, 0, 64000, 10, "CWNumEditSpan");
    CWNumEditSpanCH1 = numEdit(1000, 0, 64000, 10, "CWNumEditSpanCH1");
    CWNumEditSpanCH2 = numEdit(1000, 0, 64000, 10, "CWNumEditSpanCH2");
    LabelSpan = named(captionFor(QStringLiteral("Max Span CH0"), CWNumEditSpan), "LabelSpan");
    LabelSpanCH1 =
        named(captionFor(QStringLiteral("Max Span CH1"), CWNumEditSpanCH1), "LabelSpanCH1");
    LabelSpanCH2 =
        named(captionFor(QStringLiteral("Max Span CH2"), CWNumEditSpanCH2), "LabelSpanCH2");
    CWNumEdit1 = numEdit(1000, 100, 60000, 10, "CWNumEdit1");
    CommandResetSpan = button(QStringLiteral("Reset Spans"), "CommandResetSpan");
    CWNumEditAgilMax = numEdit(1000, 0, 64000, 1, "CWNumEditAgilMax");
    CWNumEditAgilMin = numEdit(0, 0, 64000, 1, "CWNumEditAgilMin");
    CWNumEditAgilMax->setExponentDisplay(true);
    CWNumEditAgilMin->setExponentDisplay(true);
    CWButtonGraphMerg =
        named(new TwoStateButton(QStringLiteral("Merge Multimeter Trace")), "CWButtonGraphMerg");
    CWButtonGraphMerg->setEnabled(false);
    form->addRow(LabelSpan, CWNumEditSpan);
    form->addRow(LabelSpanCH1, CWNumEditSpanCH1);
    form->addRow(LabelSpanCH2, CWNumEditSpanCH2);
    form->addRow(captionFor(QStringLiteral("Showed points"), CWNumEdit1), CWNumEdit1);
    form->addRow(CommandResetSpan);
    form->addRow(captionFor(QStringLiteral("Max CH Agilent 34401A"), CWNumEditAgilMax),
                 CWNumEditAgilMax);
    form->addRow(captionFor(QStringLiteral("Min CH Agilent 34401A"), CWNumEditAgilMin),
                 CWNumEditAgilMin);
    form->addRow(CWButtonGraphMerg);
    FrameGraph->hide();
    return FrameGraph;
}

} // namespace vemra
