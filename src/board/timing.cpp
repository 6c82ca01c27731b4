// The three timing edits: points per block, acquisition period, total points.

#include "app/form1.h"

#include "board/protocol.h"
#include "common/numbertext.h"

#include <QLabel>

namespace vemra {

void Form1::CWNumEditNumPoint_ValueChanged() {
    NumAvgPoints = toInt32(CWNumEditNumPoint->value());
    run_.dimensionBlock(NumChannels, NumAvgPoints);
    run_.dimensionReadings(TotalPoints);
    SetupComm1();
}

void Form1::CWNumEditFreq_ValueChanged() {
    const double period = CWNumEditFreq->value();
    if (MSComm1->portOpen())
        sendBytes(*MSComm1, OutBuffer, board::periodCommand(period));
    LabelFrequency->setText(fixed3Text(10000.0 / period));
    UpdFreqAct();
    LabelExpTime->setText(fixed3Text(period * CWNumEditTotPoint->value() / 10000.0));
}

void Form1::CWNumEditTotPoint_ValueChanged() {
    TotalPoints = toInt32(CWNumEditTotPoint->value());
    run_.dimensionSamples(NumChannels, TotalPoints, toInt32(CWNumEditNumPoint->value()));
    run_.dimensionReadings(TotalPoints);
    LabelExpTime->setText(
        fixed3Text(CWNumEditFreq->value() * CWNumEditTotPoint->value() / 10000.0));
}

} // namespace vemra
