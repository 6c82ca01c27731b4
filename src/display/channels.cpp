// Channel enables: the mask and count of the acquisition follow the boxes, and the graph is
// rebuilt for them.

#include "app/form1.h"

#include "platform/checkvalue.h"

#include <QAction>
#include <QCheckBox>

namespace vemra {

void Form1::channelEnableRule(int channel) {
    QCheckBox* const boxes[3] = {CheckEnCH0, CheckEnCH1, CheckEnCH2};
    NumEdit* const spans[3] = {CWNumEditSpan, CWNumEditSpanCH1, CWNumEditSpanCH2};
    const auto bit = static_cast<std::uint8_t>(1u << channel);
    if (channel == 0 && CWButtonGraphMerg->value()) {
        CWButtonGraphMerg->setValue(false);
        CWButtonGraphMerg->setEnabled(false);
    }
    switch (checkValue(boxes[channel])) {
    case 0:
        spans[channel]->setEnabled(false);
        ChannelMask &= static_cast<std::uint8_t>(~bit);
        EnbleAll->setChecked(false);
        break;
    case 1:
        ChannelMask |= bit;
        spans[channel]->setEnabled(true);
        break;
    default:
        break;
    }
    NumChannels = static_cast<std::uint8_t>(checkValue(CheckEnCH0) + checkValue(CheckEnCH1) +
                                            checkValue(CheckEnCH2));
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
