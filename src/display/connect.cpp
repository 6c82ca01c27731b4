// The channel display's controls, graph and menu items to their handlers.

#include "app/form1.h"

#include "platform/widgets/keypress.h"
#include "platform/widgets/menuclick.h"

#include <QCheckBox>
#include <QPushButton>

namespace vemra {

void Form1::connectDisplayHandlers() {
    connect(CheckEnCH0, &QCheckBox::stateChanged, this, [this] { CheckEnCH0_Click(); });
    connect(CheckEnCH1, &QCheckBox::stateChanged, this, [this] { CheckEnCH1_Click(); });
    connect(CheckEnCH2, &QCheckBox::stateChanged, this, [this] { CheckEnCH2_Click(); });
    onMenuClick(EnbleAll, this, [this] { EnbleAll_Click(); });
    onKeyPress(TextLabel, [this](int& key) { TextLabel_KeyPress(key); });
    onKeyPress(TextLabelCH1, [this](int& key) { TextLabelCH1_KeyPress(key); });
    onKeyPress(TextLabelCH2, [this](int& key) { TextLabelCH2_KeyPress(key); });
    connect(LabelForce, &ClickLabel::clicked, this, [this] { LabelForce_Click(); });
    connect(LabelCH1, &ClickLabel::clicked, this, [this] { LabelCH1_Click(); });
    connect(LabelCH2, &ClickLabel::clicked, this, [this] { LabelCH2_Click(); });

    connect(CWNumEditSpan, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditSpan_ValueChanged(value); });
    connect(CWNumEditSpanCH1, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditSpanCH1_ValueChanged(value); });
    connect(CWNumEditSpanCH2, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditSpanCH2_ValueChanged(value); });
    connect(CWNumEdit1, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEdit1_ValueChanged(value); });
    connect(CommandResetSpan, &QPushButton::clicked, this, [this] { CommandResetSpan_Click(); });
    connect(CWGraph1, &Graph::doubleClicked, this, [this] { CWGraph1_DblClick(); });
    connect(CWGraph1, &Graph::mousePressed, this, &Form1::CWGraph1_MouseDown);
    // The charts' readouts tell a sample's time by the period of the run that drew it.
    connect(&run_, &Run::started, this, [this] {
        for (Graph* graph : {CWGraph1, CWGraphMult})
            graph->setMsPerSample(run_.shape().period / 10.0);
    });
    onMenuClick(GraphToggle, this, [this] { GraphToggle_Click(); });
    connect(CWButtonChangeScrean, &TwoStateButton::valueChanged, this,
            [this](bool on) { CWButtonChangeScrean_ValueChanged(on); });
}

} // namespace vemra
