// The live display after each received block: count, block averages, chart.

#include "app/form1.h"

#include "common/numbertext.h"

#include <QAction>
#include <QLineEdit>

namespace vemra {

void Form1::Visualizza() {
    TextAcq->setText(QString::number(SampleCount));
    const double perBlock = CWNumEditNumPoint->value();
    LabelForce->setText(QString::number(roundHalfEven(BlockSumCH0 / perBlock)));
    LabelCH1->setText(QString::number(roundHalfEven(BlockSumCH1 / perBlock)));
    LabelCH2->setText(QString::number(roundHalfEven(BlockSumCH2 / perBlock)));

    // Only a block received since the last call goes on the chart: an event that brought
    // no data must not chart the previous block a second time.
    if (NumChannels > 0 && GraphToggle->isChecked() && freshRecords_ > 0) {
        const int rows = std::min<int>(NumChannels, BlockData.rows());
        CWGraph1->chartAppend(BlockData, rows, std::min(freshRecords_, BlockData.cols()));
    }
    freshRecords_ = 0;
}

} // namespace vemra
