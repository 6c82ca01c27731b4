// The live display after each received block: count, block averages, chart.

#include "app/form1.h"

#include "common/numbertext.h"

#include <QAction>
#include <QLineEdit>

namespace vemra {

void Form1::Visualizza() {
    TextAcq->setText(QString::number(SampleCount));
    // A block's average: what a block brings is one block of records, but for the event that
    // found the record boundary again after a slip of the line.
    const double perBlock = run_.blockRecords > 0 ? run_.blockRecords : CWNumEditNumPoint->value();
    LabelForce->setText(QString::number(roundHalfEven(BlockSumCH0 / perBlock)));
    LabelCH1->setText(QString::number(roundHalfEven(BlockSumCH1 / perBlock)));
    LabelCH2->setText(QString::number(roundHalfEven(BlockSumCH2 / perBlock)));

    // Only records received since the last call go on the chart: an event that brought
    // none must not chart the previous ones a second time.
    const Matrix& fresh = run_.decoded;
    if (NumChannels > 0 && GraphToggle->isChecked() && run_.freshRecords > 0) {
        const int rows = std::min<int>(NumChannels, fresh.rows());
        CWGraph1->chartAppend(fresh, rows, std::min(run_.freshRecords, fresh.cols()));
    }
    run_.freshRecords = 0;
}

} // namespace vemra
