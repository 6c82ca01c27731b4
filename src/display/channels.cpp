// Channel enables and labels: the mask and count of the acquisition follow the boxes, the
// graph is rebuilt for them, and a label committed with Enter renames the channel.

#include "app/form1.h"

#include "platform/widgets/checkvalue.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace vemra {

namespace {

constexpr int kEnter = 13;

} // namespace

Form1::ChannelControls Form1::channelControls(int channel) {
    switch (channel) {
    case 0:
        return {CheckEnCH0,    TextCoeff, TextLabel,    CoeffCH0,
                CWNumEditSpan, LabelSpan, LabelAverage, QColor(0, 255, 0)};
    case 1:
        return {CheckEnCH1,       TextCoeffCH1, TextLabelCH1,    CoeffCH1,
                CWNumEditSpanCH1, LabelSpanCH1, LabelAverageCH1, QColor(255, 0, 0)};
    default:
        return {CheckEnCH2,       TextCoeffCH2, TextLabelCH2,    CoeffCH2,
                CWNumEditSpanCH2, LabelSpanCH2, LabelAverageCH2, QColor(0, 0, 255)};
    }
}

int Form1::followEnableBox(int channel) {
    const ChannelControls c = channelControls(channel);
    const auto bit = static_cast<std::uint8_t>(1u << channel);
    const int value = checkValue(c.enable);
    if (value == 0) {
        c.span->setEnabled(false);
        ChannelMask &= static_cast<std::uint8_t>(~bit);
    } else if (value == 1) {
        ChannelMask |= bit;
        c.span->setEnabled(true);
    }
    return value;
}

std::uint8_t Form1::enabledChannelCount() const {
    return static_cast<std::uint8_t>(checkValue(CheckEnCH0) + checkValue(CheckEnCH1) +
                                     checkValue(CheckEnCH2));
}

void Form1::channelEnableRule(int channel) {
    if (channel == 0 && CWButtonGraphMerg->value()) {
        CWButtonGraphMerg->setValue(false);
        CWButtonGraphMerg->setEnabled(false);
    }
    if (followEnableBox(channel) == 0)
        EnbleAll->setChecked(false);
    NumChannels = enabledChannelCount();
    GraphSetup();
}

void Form1::CheckEnCH0_Click() {
    channelEnableRule(0);
}

void Form1::CheckEnCH1_Click() {
    channelEnableRule(1);
}

void Form1::CheckEnCH2_Click() {
    channelEnableRule(2);
}

// Each box that changes runs its own rule as it is set; the port then takes the block
// length of three channels.
void Form1::EnbleAll_Click() {
    if (EnbleAll->isChecked()) {
        EnbleAll->setChecked(false);
        return;
    }
    EnbleAll->setChecked(true);
    for (int channel = 0; channel < 3; ++channel)
        setCheckValue(channelControls(channel).enable, 1);
    NumChannels = 3;
    SetupComm1();
    GraphSetup();
}

// A disabled channel's label takes no key; Enter renames the channel's captions and axis.
void Form1::labelKeyPress(int channel, int& keyAscii) {
    const ChannelControls c = channelControls(channel);
    if (checkValue(c.enable) == 0) {
        keyAscii = 0;
        return;
    }
    if (keyAscii != kEnter)
        return;
    if (channel == 0)
        LabelSpan->setText(QStringLiteral("Max Span ") + c.label->text());
    c.averageCaption->setText(QStringLiteral("Average ") + c.label->text());
    GraphSetup();
}

void Form1::TextLabel_KeyPress(int& KeyAscii) {
    labelKeyPress(0, KeyAscii);
}

void Form1::TextLabelCH1_KeyPress(int& KeyAscii) {
    labelKeyPress(1, KeyAscii);
}

void Form1::TextLabelCH2_KeyPress(int& KeyAscii) {
    labelKeyPress(2, KeyAscii);
}

// A clicked live value stays empty until the next block.
void Form1::LabelForce_Click() {
    LabelForce->setText(QString());
}

void Form1::LabelCH1_Click() {
    LabelCH1->setText(QString());
}

void Form1::LabelCH2_Click() {
    LabelCH2->setText(QString());
}

} // namespace vemra
