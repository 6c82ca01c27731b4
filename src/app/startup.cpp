// Start-up: the acquisition state derived from the controls before the operator can act.

#include "app/form1.h"

#include "common/numbertext.h"

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

    for (int ch = 0; ch < 3; ++ch)
        followEnableBox(ch);
    NumChannels = enabledChannelCount();

    GraphSetup();

    const double period = CWNumEditFreq->value();
    LabelFrequency->setText(fixed3Text(10000.0 / period));
    TextMul->setText(generalText(std::pow(2.0, CWNumEditMulFreq->value())));
    TextDiv->setText(generalText(CWNumEditMulPeriod->value()));
    UpdFreqAct();
    LabelExpTime->setText(fixed3Text(CWNumEditTotPoint->value() * period / 10000.0));
}

} // namespace vemra
