// Channel enables: the mask and count of the acquisition follow the boxes, and the graph is
// rebuilt for them.

#include "app/form1.h"

#include "platform/checkvalue.h"

#include <QAction>
#include <QCheckBox>

namespace vemra {

int Form1::followEnableBox(int channel) {
    QCheckBox* const boxes[3] = {CheckEnCH0, CheckEnCH1, CheckEnCH2};
    NumEdit* const spans[3] = {CWNumEditSpan, CWNumEditSpanCH1, CWNumEditSpanCH2};
    const auto bit = static_cast<std::uint8_t>(1u << channel);
    const int value = checkValue(boxes[channel]);
    if (value == 0) {
        spans[channel]->setEnabled(false);
        ChannelMask &= static_cast<std::uint8_t>(~bit);
    } else if (value == 1) {
        ChannelMask |= bit;
        spans[channel]->setEnabled(true);
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

} // namespace vemra
