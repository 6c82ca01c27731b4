#include "common/matrix.h"
#include "platform/graph.h"
#include "platform/graph_ticker.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <qcustomplot.h>

#include <cmath>
#include <limits>
#include <utility>

using namespace vemra;

namespace {

// Row r holds offset + 100 r + column, so every value tells where it came from.
Matrix block(int rows, int cols, double offset = 0.0) {
    Matrix m(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            m.at(r, c) = offset + 100.0 * r + c;
    return m;
}

QCPAxis* lastRightAxis(Graph& g) {
    return g.plot()->axisRect()->axes(QCPAxis::atRight).last();
}

void showChart(Graph& g) {
    g.resize(400, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.setAxisRange(1, 0.0, 100.0);
    g.setAxisRange(2, -10.0, 10.0);
    g.refreshNow();
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

class TestGraph : public QObject {
    Q_OBJECT
private slots:
    void axesAndTraceBinding_data() {
        QTest::addColumn<bool>("clearTracesFirst");
        QTest::newRow("axes removed under bound traces") << false;
        QTest::newRow("traces cleared first") << true;
    }
    void axesAndTraceBinding() {
        QFETCH(bool, clearTracesFirst);
        Graph g;
        QVERIFY(!g.plot()->xAxis2->visible() && !g.plot()->yAxis2->visible());
        g.addTrace();
        g.addTrace();
        g.setAxisCaption(2, "Force");
        QCOMPARE(g.addValueAxis(), 3);
        QCOMPARE(g.addValueAxis(), 4);
        QCOMPARE(g.axisCount(), 4);
        g.bindTrace(1, 4);
        QCOMPARE(g.traceAxis(0), 2);
        QCOMPARE(g.traceAxis(1), 4);
        QCOMPARE(g.plot()->graph(1)->valueAxis(), lastRightAxis(g));

        if (clearTracesFirst)
            g.clearTraces();
        g.removeAddedValueAxes();
        QCOMPARE(g.axisCount(), 2);
        QCOMPARE(g.plot()->axisRect()->axes(QCPAxis::atRight).size(), 1); // the hidden yAxis2
        QCOMPARE(g.axisCaption(2), QString("Force"));
        QCOMPARE(g.traceAxis(1), clearTracesFirst ? 0 : 2);
        QCOMPARE(g.addValueAxis(), 3);
    }

    void chartAppendContinuesEachTrace_data() {
        QTest::addColumn<int>("traces");
        QTest::addColumn<int>("blockRows");
        QTest::addColumn<int>("blockCols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("fedTraces");
        QTest::newRow("every row") << 3 << 3 << 4 << 3 << 4 << 3;
        QTest::newRow("first rows only") << 3 << 3 << 4 << 2 << 4 << 2;
        QTest::newRow("first columns only") << 2 << 2 << 10 << 2 << 3 << 2;
        QTest::newRow("more rows than traces") << 2 << 4 << 5 << 4 << 5 << 2;
        QTest::newRow("counts beyond the block") << 2 << 2 << 3 << 9 << 9 << 2;
        QTest::newRow("no rows") << 2 << 2 << 3 << 0 << 3 << 0;
    }
    void chartAppendContinuesEachTrace() {
        QFETCH(int, traces);
        QFETCH(int, blockRows);
        QFETCH(int, blockCols);
        QFETCH(int, rows);
        QFETCH(int, cols);
        QFETCH(int, fedTraces);
        const int blocks = 3;
        const int perBlock = std::min(cols, blockCols);
        Graph g;
        for (int t = 0; t < traces; ++t)
            g.addTrace();
        for (int b = 0; b < blocks; ++b)
            g.chartAppend(block(blockRows, blockCols, 1000.0 * b), rows, cols);

        for (int t = 0; t < traces; ++t) {
            const int expected = t < fedTraces ? blocks * perBlock : 0;
            QCOMPARE(g.pointCount(t), expected);
            for (int i = 0; i < expected; ++i) {
                QCOMPARE(g.pointX(t, i), double(i));
                QCOMPARE(g.pointY(t, i), 1000.0 * (i / perBlock) + 100.0 * t + i % perBlock);
            }
        }
    }

    void repaintsOnlyOnRefreshAndOnlyWhenChanged() {
        Graph g;
        showChart(g);
        g.addTrace();
        g.refreshNow();
        const int start = g.replotCount();
        g.refreshNow();
        QCOMPARE(g.replotCount(), start);
        for (int i = 0; i < 20; ++i)
            g.chartAppend(block(1, 50), 1, 50);
        g.appendPoint(0, 1.0);
        QCOMPARE(g.replotCount(), start);
        g.refreshNow();
        QCOMPARE(g.replotCount(), start + 1);

        g.appendPoint(0, 2.0);
        QCOMPARE(g.replotCount(), start + 1);
        QTRY_COMPARE(g.replotCount(), start + 2); // the refresh timer's turn
    }

    void xWindowScrollsWithNewestPoint_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        // x window 0..10; the newest of n points is at n - 1.
        QTest::newRow("inside the window") << 5 << 0.0 << 10.0;
        QTest::newRow("on the upper bound") << 11 << 0.0 << 10.0;
        QTest::newRow("one past") << 12 << 1.0 << 11.0;
        QTest::newRow("far past") << 250 << 239.0 << 249.0;
    }
    void xWindowScrollsWithNewestPoint() {
        QFETCH(int, points);
        QFETCH(double, lower);
        QFETCH(double, upper);
        Graph g;
        g.addTrace();
        g.addTrace();
        g.setAxisRange(1, 0.0, 10.0);
        g.chartAppend(block(2, points - 1), 2, points - 1);
        g.appendPoint(1, 0.0); // the longer trace decides
        QCOMPARE(g.axisMinimum(1), lower);
        QCOMPARE(g.axisMaximum(1), upper);
    }

    void trimmingKeepsNewestPoints_data() {
        QTest::addColumn<int>("blockSize");
        QTest::newRow("single points") << 1;
        QTest::newRow("blocks of 30") << 30;
        QTest::newRow("one block over the bound") << 250;
    }
    void trimmingKeepsNewestPoints() {
        QFETCH(int, blockSize);
        const int total = 250;
        Graph g;
        g.addTrace();
        g.setMaxPointsPerTrace(100);
        Matrix m(1, blockSize);
        for (int sent = 0; sent < total; sent += blockSize) {
            for (int c = 0; c < blockSize; ++c)
                m.at(0, c) = sent + c;
            g.chartAppend(m, 1, std::min(blockSize, total - sent));
        }
        QCOMPARE(g.pointCount(0), 100);
        QCOMPARE(g.pointX(0, 0), double(total - 100));
        QCOMPARE(g.pointY(0, 0), double(total - 100));
        QCOMPARE(g.pointX(0, 99), double(total - 1));
        g.setMaxPointsPerTrace(10);
        QCOMPARE(g.pointCount(0), 10);
        QCOMPARE(g.pointX(0, 0), double(total - 10));
    }

    void plotYAndAutoScale() {
        Graph g;
        g.addTrace();
        g.addTrace();
        g.addValueAxis();
        g.bindTrace(1, 3);
        g.setAxisRange(2, 0.0, 1.0);
        g.setAxisRange(3, 0.0, 1.0);
        g.autoScaleNow(3); // no data: range kept
        QCOMPARE(g.axisMaximum(3), 1.0);

        g.chartAppend(block(2, 20), 2, 20);
        g.plotY(1, {2.0, std::numeric_limits<double>::quiet_NaN(), -1.0, 4.0});
        QCOMPARE(g.pointCount(1), 4);
        QCOMPARE(g.pointX(1, 3), 3.0);
        QVERIFY(std::isnan(g.pointY(1, 1)));

        g.setAxisAutoScale(3, true);
        QCOMPARE(g.axisMaximum(3), 1.0); // not before the refresh
        g.refreshNow();
        QCOMPARE(g.axisMinimum(3), -1.0);
        QCOMPARE(g.axisMaximum(3), 4.0);
        QCOMPARE(g.axisMaximum(2), 1.0); // trace 0 is not on axis 3

        g.setAxisRange(3, 0.0, 1.0);
        QVERIFY(g.axisAutoScale(3));
        g.appendPoint(1, 40.0);
        QCOMPARE(g.pointX(1, 4), 4.0); // continues after the replaced data
        g.refreshNow();
        QCOMPARE(g.axisMaximum(3), 40.0);
        g.setAxisAutoScale(3, false);
        g.appendPoint(1, 90.0);
        g.refreshNow();
        QCOMPARE(g.axisMaximum(3), 40.0);
    }

    void exponentLabel_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("label");
        QTest::newRow("thousand") << 1000.0 << "1,00e3";
        QTest::newRow("zero") << 0.0 << "0,00e0";
        QTest::newRow("negative") << -250.0 << "-2,50e2";
        QTest::newRow("small") << 0.00125 << "1,25e-3";
        QTest::newRow("rounding carries") << 9999.0 << "1,00e4";
        QTest::newRow("three-digit exponent") << 4.5e120 << "4,50e120";
    }
    void exponentLabel() {
        QFETCH(double, value);
        QFETCH(QString, label);
        QCOMPARE(vemra::exponentLabel(value), label);
    }

    void tickLabelsUseDecimalComma_data() {
        QTest::addColumn<bool>("exponent");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<bool>("fractions");
        QTest::newRow("fractions") << false << 1.0 << true;
        QTest::newRow("thousands, no grouping") << false << 20000.0 << false;
        QTest::newRow("exponent labels") << true << 2000.0 << true;
    }
    void tickLabelsUseDecimalComma() {
        QFETCH(bool, exponent);
        QFETCH(double, maximum);
        QFETCH(bool, fractions);
        Graph g;
        g.resize(400, 300);
        g.addValueAxis();
        if (exponent)
            g.setAxisExponentLabels(3);
        g.setAxisRange(3, 0.0, maximum);
        g.refreshNow();
        const QVector<double> ticks = lastRightAxis(g)->tickVector();
        const QVector<QString> labels = lastRightAxis(g)->tickVectorLabels();
        QVERIFY(ticks.size() >= 3);
        bool comma = false;
        for (int i = 0; i < ticks.size(); ++i) {
            QVERIFY2(!labels[i].contains('.'), qPrintable(labels[i]));
            comma = comma || labels[i].contains(',');
            if (exponent)
                QCOMPARE(labels[i], vemra::exponentLabel(ticks[i]));
            else
                QCOMPARE(QString(labels[i]).replace(',', '.').toDouble(), ticks[i]);
        }
        QCOMPARE(comma, fractions);
    }

    void captionsColoursAndOppositeSide() {
        Graph g;
        g.addValueAxis();
        for (int position = 1; position <= 3; ++position) {
            g.setAxisCaption(position, QString("axis %1").arg(position));
            g.setAxisTickColor(position, QColor(10 * position, 0, 0));
        }
        QCOMPARE(g.axisCaption(3), QString("axis 3"));
        QCOMPARE(g.axisTickColor(1), QColor(10, 0, 0));
        QVERIFY(!g.axisOpposite(2));
        QVERIFY(g.axisOpposite(3));

        g.setAxisOpposite(2);
        const QCustomPlot* plot = g.plot();
        QVERIFY(g.axisOpposite(2));
        QVERIFY(!plot->yAxis->visible() && plot->yAxis2->visible());
        QCOMPARE(plot->yAxis2->tickLabelColor(), QColor(20, 0, 0));
        g.setAxisRange(2, -3.0, 7.0);
        g.setAxisCaption(2, "moved");
        g.setAxisExponentLabels(2);
        QCOMPARE(plot->yAxis2->range(), QCPRange(-3.0, 7.0));
        QCOMPARE(plot->yAxis2->label(), QString("moved"));
        QCOMPARE(plot->yAxis2->ticker(), plot->yAxis->ticker());
    }

    void invalidAddressesAreIgnored() {
        Graph g;
        g.addTrace();
        g.addValueAxis();
        g.appendPoint(0, 1.0);
        const std::pair<int, int> badAddresses[] = {{-1, -1}, {0, 1}, {4, 1000}, {1000, 2}};
        for (const auto& [position, trace] : badAddresses) {
            g.setAxisRange(position, 1.0, 2.0);
            g.setAxisCaption(position, "x");
            g.setAxisTickColor(position, Qt::red);
            g.setAxisOpposite(position);
            g.setAxisAutoScale(position, true);
            g.autoScaleNow(position);
            g.setAxisExponentLabels(position);
            g.bindTrace(0, position);
            QCOMPARE(g.axisMaximum(position), 0.0);
            QCOMPARE(g.axisCaption(position), QString());
            QVERIFY(!g.axisTickColor(position).isValid() && !g.axisAutoScale(position));

            g.setTraceColor(trace, Qt::red);
            g.bindTrace(trace, 3);
            g.appendPoint(trace, 1.0);
            g.plotY(trace, {1.0});
            QCOMPARE(g.traceAxis(trace), 0);
            QCOMPARE(g.pointCount(trace), 0);
            QVERIFY(!g.traceColor(trace).isValid());
        }
        QCOMPARE(g.pointY(0, 1), 0.0);
        QCOMPARE(g.pointX(0, -1), 0.0);
        g.bindTrace(0, 1); // the x axis carries no values
        QCOMPARE(g.traceAxis(0), 2);
        QCOMPARE(g.axisCount(), 3);
        g.refreshNow();
    }

    void dragModeConfiguresPlot_data() {
        QTest::addColumn<DragMode>("mode");
        QTest::addColumn<bool>("pan");
        QTest::addColumn<bool>("valueAxesFollow");
        QTest::newRow("pan") << DragMode::Pan << true << true;
        QTest::newRow("rectangle zoom") << DragMode::ZoomRect << false << true;
        QTest::newRow("x zoom") << DragMode::ZoomX << false << false;
    }
    void dragModeConfiguresPlot() {
        QFETCH(DragMode, mode);
        QFETCH(bool, pan);
        QFETCH(bool, valueAxesFollow);
        Graph g;
        g.setDragMode(DragMode::Pan);
        g.setDragMode(DragMode::ZoomRect);
        g.setDragMode(mode);
        g.addValueAxis(); // axes added later take part too
        QCustomPlot* plot = g.plot();
        QCPAxisRect* rect = plot->axisRect();
        const auto moved = [&](Qt::Orientation orientation) {
            return pan ? rect->rangeDragAxes(orientation) : rect->rangeZoomAxes(orientation);
        };
        QCOMPARE(plot->interactions().testFlag(QCP::iRangeDrag), pan);
        QVERIFY(!plot->interactions().testFlag(QCP::iRangeZoom));
        QCOMPARE(plot->selectionRectMode(), pan ? QCP::srmNone : QCP::srmZoom);
        QCOMPARE(moved(Qt::Horizontal), QList<QCPAxis*>{plot->xAxis});
        const QList<QCPAxis*> all{plot->yAxis, lastRightAxis(g)};
        QCOMPARE(moved(Qt::Vertical), valueAxesFollow ? all : QList<QCPAxis*>());
        g.removeAddedValueAxes();
        QCOMPARE(moved(Qt::Vertical), valueAxesFollow ? all.mid(0, 1) : QList<QCPAxis*>());
    }

    void pressSlotChoosesDragBeforeItStarts() {
        Graph g;
        showChart(g);
        QCOMPARE(g.dragMode(), DragMode::ZoomX);
        connect(&g, &Graph::mousePressed, &g, [&g] { g.setDragMode(DragMode::Pan); });
        QCustomPlot* plot = g.plot();
        const int y = int(plot->yAxis->coordToPixel(0.0));
        const QPoint from(int(plot->xAxis->coordToPixel(50.0)), y);
        const QPoint to(int(plot->xAxis->coordToPixel(40.0)), y);
        const double shift =
            plot->xAxis->pixelToCoord(from.x()) - plot->xAxis->pixelToCoord(to.x());
        sendMouse(plot, QEvent::MouseButtonPress, from, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseMove, to, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseButtonRelease, to, Qt::NoButton);
        // Panned: the window kept its width and moved by the drag; a zoom would narrow it.
        QCOMPARE(g.axisMinimum(1), shift);
        QCOMPARE(g.axisMaximum(1), 100.0 + shift);
        QCOMPARE(g.axisMinimum(2), -10.0);
    }

    void pressAndDoubleClickSignals() {
        Graph g;
        showChart(g);
        QSignalSpy pressed(&g, &Graph::mousePressed);
        QSignalSpy doubleClicked(&g, &Graph::doubleClicked);
        QCustomPlot* plot = g.plot();
        const QPoint at(plot->xAxis->coordToPixel(25.0), plot->yAxis->coordToPixel(5.0));
        QTest::mousePress(plot, Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier, at);
        QTest::mouseRelease(plot, Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier, at);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][0].toInt(), int(Qt::RightButton));
        QCOMPARE(pressed[0][1].toInt(), 1 | 4);
        QCOMPARE(pressed[0][2].toDouble(), plot->xAxis->pixelToCoord(at.x()));
        QCOMPARE(pressed[0][3].toDouble(), plot->yAxis->pixelToCoord(at.y()));
        QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(doubleClicked.size(), 1);
    }

    void millionPointsInBlocksKeepCounts() {
        const int blockCols = 1000;
        const int total = 1'000'000;
        Graph g;
        for (int t = 0; t < 3; ++t)
            g.addTrace();
        const Matrix m = block(3, blockCols);
        for (int sent = 0; sent < total; sent += blockCols)
            g.chartAppend(m, 3, blockCols);
        g.refreshNow();
        for (int t = 0; t < 3; ++t) {
            QCOMPARE(g.pointCount(t), total);
            QCOMPARE(g.pointX(t, total - 1), double(total - 1));
            QCOMPARE(g.pointY(t, total - 1), 100.0 * t + blockCols - 1);
        }
        QCOMPARE(g.axisMaximum(1), double(total - 1));
    }
};

QTEST_MAIN(TestGraph)
#include "test_graph.moc"
