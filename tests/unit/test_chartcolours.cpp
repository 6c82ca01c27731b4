// Colours on the dark chart: each channel's colour is drawn readable and recognisable.

#include "platform/graph.h"

#include <QTest>

using namespace vemra;

class TestChartColours : public QObject {
    Q_OBJECT
private slots:
    void readableOnChart_data() {
        QTest::addColumn<QColor>("given");
        QTest::addColumn<QColor>("drawn");
        QTest::newRow("CH0 green") << QColor(0, 255, 0) << QColor(0, 255, 0);
        QTest::newRow("CH1 red") << QColor(255, 0, 0) << QColor(255, 0, 0);
        QTest::newRow("meter white") << QColor(255, 255, 255) << QColor(255, 255, 255);
        // Pure blue reads at 2.4:1 on black: lightened to 4.5:1, still blue.
        QTest::newRow("CH2 blue") << QColor(0, 0, 255) << QColor(94, 94, 255);
    }
    void readableOnChart() {
        QFETCH(QColor, given);
        QFETCH(QColor, drawn);
        const QColor shown = vemra::readableOnChart(given);
        QVERIFY2(std::abs(shown.red() - drawn.red()) <= 1 &&
                     std::abs(shown.green() - drawn.green()) <= 1 && shown.blue() == drawn.blue(),
                 qPrintable(shown.name()));
        Graph graph; // the logic still sees the colour it gave
        graph.setTraceColor(graph.addTrace(), given);
        QCOMPARE(graph.traceColor(0), given);
    }
};

QTEST_MAIN(TestChartColours)
#include "test_chartcolours.moc"
