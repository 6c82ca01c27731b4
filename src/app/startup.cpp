// Start-up: the acquisition state derived from the controls before the operator can act.

#include "app/form1.h"

#include "common/numbertext.h"
#include "platform/checkvalue.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

namespace vemra {

void Form1::Form_Load() {
    LoadingConf = false;
    MultCmdIndex = 0;
    LoadConf_Click();

    TotalPoints = toInt32(CWNumEditTotPoint->value());
    NumAvgPoints = toInt32(CWNumEditNumPoint->value());

    QCheckBox* const enables[3] = {CheckEnCH0, CheckEnCH1, CheckEnCH2};
    NumEdit* const spans[3] = {CWNumEditSpan, CWNumEditSpanCH1, CWNumEditSpanCH2};
    for (int ch = 0; ch < 3; ++ch) {
        const auto bit = static_cast<std::uint8_t>(1u << ch);
        switch (checkValue(enables[ch])) {
        case 0:
            spans[ch]->setEnabled(false);
            ChannelMask &= static_cast<std::uint8_t>(~bit);
            break;
        case 1:
            ChannelMask |= bit;
            spans[ch]->setEnabled(true);
            break;
        default:
            break;
        }
    }
    NumChannels = static_cast<std::uint8_t>(checkValue(CheckEnCH0) + checkValue(CheckEnCH1) +
                                            checkValue(CheckEnCH2));

    GraphSetup();

    const double period = CWNumEditFreq->value();
    LabelFrequency->setText(fixed3Text(10000.0 / period));
    TextMul->setText(generalText(std::pow(2.0, CWNumEditMulFreq->value())));
    TextDiv->setText(generalText(CWNumEditMulPeriod->value()));
    UpdFreqAct();
    LabelExpTime->setText(fixed3Text(CWNumEditTotPoint->value() * period / 10000.0));
}

} // namespace vemra
