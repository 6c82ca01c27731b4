// The actuator frequency settings: prescaler and power-of-two multiplier.

#include "app/form1.h"

#include "actuator/frequency.h"
#include "common/numbertext.h"

#include <QLabel>
#include <QLineEdit>
#include <cmath>

namespace vemra {

void Form1::CWNumEditMulPeriod_ValueChanged(double value) {
    TextDiv->setText(generalText(value));
    UpdFreqAct();
}

void Form1::CWNumEditMulFreq_ValueChanged(double value) {
    TextMul->setText(generalText(std::pow(2.0, value)));
    UpdFreqAct();
}

void Form1::UpdFreqAct() {
    LabelFreqAct->setText(fixed3Text(actuatorFrequency(numericValue(LabelFrequency->text()),
                                                       numericValue(TextMul->text()),
                                                       numericValue(TextDiv->text()))));
}

} // namespace vemra
