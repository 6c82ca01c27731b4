// The platform's components: the serial port (devices and overruns are checked through the
// window), the chart, the numeric edit, key handling and message boxes.

#include "common/matrix.h"
#include "platform/chart/graph.h"
#include "platform/chart/graph_ticker.h"
#include "platform/chart/readout.h"
#include "platform/chart/traceseries.h"
#include "platform/serial/qtserialbackend.h"
#include "platform/serial/serialport.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/keypress.h"
#include "platform/widgets/numedit.h"
#include "support/loopbackbackend.h"

#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <fcntl.h>
#include <poll.h>
#include <qcustomplot.h>
#include <stdlib.h>
#include <unistd.h>

using namespace vemra;

// Row r holds offset + 100 r + column: every value tells where it came from.
static Matrix block(int rows, int cols, double offset = 0.0) {
    Matrix m(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            m.at(r, c) = offset + 100.0 * r + c;
    return m;
}

// What the window shows now, from its backing store (a grab would paint afresh).
static QImage shown(Graph& g) {
    QCoreApplication::processEvents();
    const auto* image = dynamic_cast<QImage*>(g.window()->backingStore()->paintDevice());
    return image ? image->copy(g.rect()) : QImage();
}

class TestPlatform : public QObject {
    Q_OBJECT
    QTemporaryDir workDir_; // the serial ports' working directory, for ./Comm1

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(workDir_.path())); }

    void seriesKeepsNewestPointsInOrder_data() {
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("appended");
        QTest::addColumn<int>("shrinkTo");
        QTest::newRow("below capacity") << 10 << 7 << 10;
        QTest::newRow("wrapped several times") << 10 << 37 << 10;
        QTest::newRow("wrapped, then shrunk") << 10 << 37 << 4;
        QTest::newRow("grows past its first allocation") << 100000 << 9000 << 5000;
    }
    void seriesKeepsNewestPointsInOrder() {
        QFETCH(int, capacity);
        QFETCH(int, appended);
        QFETCH(int, shrinkTo);
        TraceSeries series(capacity);
        for (int i = 0; i < appended; ++i)
            series.append(i);
        series.setCapacity(shrinkTo);
        const int kept = std::min({appended, capacity, shrinkTo});
        QCOMPARE((QList<double>{double(series.size()), series.firstKey(), series.nextKey()}),
                 (QList<double>{double(kept), double(appended - kept), double(appended)}));
        for (int i = 0; i < kept; ++i)
            QCOMPARE(series.at(i), double(appended - kept + i));
        // A column's extent takes in the point before it, so the line joining them shows;
        // a gap (NaN) breaks the line.
        series.append(qQNaN());
        series.append(-5.0);
        const ColumnExtent e = series.extent(series.size() - 3, series.size() - 2);
        QVERIFY(e.any);
        QCOMPARE(e.min, double(appended - 2 + (kept == 1)));
        QCOMPARE(series.extent(series.size() - 2, series.size() - 1).any, false);
        QCOMPARE(series.extent(series.size() - 1, series.size()).max, -5.0);
    }

    // Streaming frames only move what is drawn and paint the new columns: the picture must
    // be the one a full repaint gives, and a lone sample among thousands per column shows. The
    // cursor under the mouse and the readout stand still while the data and the markers move
    // on, whether the mouse moves just after a frame or between a block and the next frame.
    void scrolledPictureIsTheFullPicture_data() {
        QTest::addColumn<bool>("overlay");
        QTest::newRow("traces alone") << false;
        QTest::newRow("cursor, markers and readout") << true;
    }
    void scrolledPictureIsTheFullPicture() {
        QFETCH(bool, overlay);
        Graph g;
        g.resize(700, 300);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.addTrace();
        g.setTraceColor(0, QColor(0, 255, 0));
        g.setAxisRange(1, 0, 20000);
        g.setAxisRange(2, -2, 2);
        Matrix block(1, 250);
        const int spike = 31234;
        const QRect area = g.plot()->axisRect()->rect();
        const auto at = [&](int percent) {
            return QPoint(area.left() + area.width() * percent / 100, area.center().y());
        };
        for (int sent = 0; sent < 40000; sent += 250) {
            for (int i = 0; i < 250; ++i)
                block.at(0, i) =
                    sent + i == spike ? 1.5 : std::round(std::sin((sent + i) / 700.0) * 100) / 100;
            g.chartAppend(block, 1, 250);
            if (overlay && sent % 2000 == 1000)
                QTest::mouseMove(g.plot(), at(sent % 8000 / 100));
            if (overlay && (sent == 30000 || sent == 34000))
                QTest::mouseClick(g.plot(), Qt::LeftButton, {}, at(sent / 1000));
            g.refreshNow();
            if (overlay && sent % 2000 == 0)
                QTest::mouseMove(g.plot(), at(sent < 38000 ? sent % 9000 / 100 : 80));
            QCoreApplication::processEvents();
        }
        QCOMPARE(g.readout()->isVisible(), overlay);
        QVERIFY(g.scrolledCount() > 50);
        const QImage scrolled = shown(g);
        g.setTraceColor(0, QColor(0, 255, 0)); // any change: everything is painted again
        g.refreshNow();
        const QImage full = shown(g);
        QVERIFY(!full.isNull());
        QCOMPARE(scrolled, full);

        const auto spikeShown = [&](const QImage& picture) {
            const QCustomPlot* plot = g.plot();
            const int x = qRound(plot->xAxis->coordToPixel(spike));
            const int y = qRound(plot->yAxis->coordToPixel(1.5));
            bool found = false;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    found |= picture.pixelColor(x + dx, y + dy) == QColor(0, 255, 0);
            return found;
        };
        QVERIFY(spikeShown(full));
        // A plot area of another width (a resize, an added axis, an export) lays the same
        // x range out anew: each sample stays under its tick.
        g.resize(1400, 300);
        g.refreshNow();
        QVERIFY(spikeShown(shown(g)));
    }

    // B − A, with B before A: negative differences with the decimal comma and the decimals
    // of the values, and none where a trace has a gap or an overload.
    void readoutTellsTheMarkersDifferences() {
        ReadoutData data;
        data.samples = {std::nullopt, 20, 13};
        data.msPerSample = 0.45;
        data.traces = {{"Force (g)", Qt::green, {0, 25, 24.95}},
                       {"Ohm", Qt::white, {0, 1000.5, 1000.25}},
                       {"Volt", Qt::white, {0, 9.9e37, 1}},
                       {"Amp", Qt::white, {0, 1, qQNaN()}},
                       {"Hz", Qt::white, {0, 1.5e-5, 2e-5}}};
        QCOMPARE(readoutSpeech(readoutTable(data)).section("; ", 2),
                 "B − A: Sample -7, Time (ms) -3,15, Force (g) -0,05, Ohm -0,25, Volt —, Amp —, Hz "
                 "5E-06");
    }

    // Three traces, blocks of 4 × 4.
    void chartAppendContinuesEachTrace_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::newRow("first rows, columns beyond the block") << 2 << 9;
        QTest::newRow("rows beyond the traces, first columns") << 9 << 3;
    }
    void chartAppendContinuesEachTrace() {
        QFETCH(int, rows);
        QFETCH(int, cols);
        const int fedTraces = std::min(rows, 3), perBlock = std::min(cols, 4);
        Graph g;
        for (int t = 0; t < 3; ++t)
            g.addTrace();
        for (int b = 0; b < 3; ++b)
            g.chartAppend(block(4, 4, 1000.0 * b), rows, cols);
        for (int t = 0; t < 3; ++t) {
            QCOMPARE(g.pointCount(t), t < fedTraces ? 3 * perBlock : 0);
            for (int i = 0; i < g.pointCount(t); ++i) {
                QCOMPARE(g.pointX(t, i), double(i));
                QCOMPARE(g.pointY(t, i), 1000.0 * (i / perBlock) + 100.0 * t + i % perBlock);
            }
        }
    }

    void appendingNeverRepaintsAndRefreshCoalesces() {
        Graph g;
        g.show();
        g.addTrace();
        g.refreshNow();
        const int start = g.replotCount();
        for (int i = 0; i < 20; ++i) {
            g.chartAppend(block(1, 50), 1, 50);
            g.appendPoint(0, 1.0);
        }
        QCOMPARE(g.replotCount(), start);
        g.refreshNow();
        g.refreshNow();
        QCOMPARE(g.replotCount(), start + 1);
        g.appendPoint(0, 2.0);
        QTRY_COMPARE(g.replotCount(), start + 2); // the refresh timer's turn
    }

    void trimsAndScrollsToNewestPoints_data() {
        QTest::addColumn<int>("blockSize");
        QTest::newRow("blocks of 30") << 30;
        QTest::newRow("one block over the bound") << 250;
    }
    void trimsAndScrollsToNewestPoints() {
        QFETCH(int, blockSize);
        Graph g;
        g.addTrace();
        g.setMaxPointsPerTrace(100);
        g.setAxisRange(1, 0.0, 10.0);
        for (int sent = 0; sent < 250; sent += blockSize)
            g.chartAppend(block(1, blockSize, sent), 1, std::min(blockSize, 250 - sent));
        QCOMPARE((QList<double>{double(g.pointCount(0)), g.pointY(0, 0), g.axisMinimum(1),
                                g.axisMaximum(1)}),
                 (QList<double>{100, 150, 239, 249}));
        g.setMaxPointsPerTrace(10);
        QCOMPARE(g.pointY(0, 0), 240.0);
    }

    void addedAxisAutoScalesItsTracesAndHandsThemBack() {
        Graph g;
        g.addTrace();
        g.addTrace();
        g.bindTrace(1, g.addValueAxis());
        g.setAxisRange(2, 0.0, 1.0);
        g.setAxisRange(3, 0.0, 1.0);
        g.setAxisAutoScale(3, true);
        g.plotY(0, {5.0});
        g.plotY(1, {101.0, qQNaN(), 100.0, 103.0});
        QCOMPARE(g.axisMaximum(3), 1.0); // not before the refresh
        g.refreshNow();
        QCOMPARE((QList<double>{g.axisMinimum(3), g.axisMaximum(3), g.axisMaximum(2)}),
                 (QList<double>{100, 103, 1}));
        g.appendPoint(1, 400.0);
        g.refreshNow();
        QCOMPARE(g.axisMaximum(3), 400.0);

        g.removeAddedValueAxes();
        QCOMPARE(g.plot()->axisRect()->axes(QCPAxis::atRight).size(), 1); // the hidden yAxis2
        QVERIFY(g.traceAxis(1) == 2 && g.addValueAxis() == 3);
    }

    // Each channel's colour is drawn readable on the dark chart and still recognisable.
    void channelColoursReadOnTheDarkChart_data() {
        QTest::addColumn<QColor>("given");
        QTest::addColumn<QColor>("drawn");
        QTest::newRow("CH0 green") << QColor(0, 255, 0) << QColor(0, 255, 0);
        QTest::newRow("CH1 red") << QColor(255, 0, 0) << QColor(255, 0, 0);
        QTest::newRow("meter white") << QColor(255, 255, 255) << QColor(255, 255, 255);
        // Pure blue reads at 2.4:1 on black: lightened to 4.5:1, still blue.
        QTest::newRow("CH2 blue") << QColor(0, 0, 255) << QColor(94, 94, 255);
    }
    void channelColoursReadOnTheDarkChart() {
        QFETCH(QColor, given);
        QFETCH(QColor, drawn);
        const QColor shown = vemra::readableOnChart(given);
        QVERIFY2(std::abs(shown.red() - drawn.red()) <= 1 &&
                     std::abs(shown.green() - drawn.green()) <= 1 && shown.blue() == drawn.blue(),
                 qPrintable(shown.name()));
    }

    // A literal mantissa, a bare exponent, the rounding carried into it.
    void meterTicksShowMantissaAndExponent() {
        QCOMPARE(QStringList({vemra::exponentLabel(-250), vemra::exponentLabel(0.00125),
                              vemra::exponentLabel(9999)}),
                 QStringList({"-2,50e2", "1,25e-3", "1,00e4"}));
    }

    void numEditShowsAndTakesNumberText_data() {
        QTest::addColumn<bool>("exponent");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("typed");
        QTest::newRow("decimal point typed") << false << "2,5" << 2.5 << "2.5";
        QTest::newRow("letters refused") << false << "25" << 25.0 << "2x5";
        QTest::newRow("exponent small") << true << "1,23e-3" << 0.00123 << "1,23e-3";
        QTest::newRow("exponent rounds up") << true << "1,00e4" << 9999.0 << "9999";
    }
    void numEditShowsAndTakesNumberText() {
        QFETCH(bool, exponent);
        QFETCH(double, value);
        QFETCH(QString, typed);
        NumEdit edit;
        edit.setExponentDisplay(exponent);
        QSignalSpy changed(&edit, &NumEdit::valueChanged);
        edit.setup(value, -100000, 100000, 1);
        QTEST(edit.text(), "shown");
        edit.setValue(0);
        edit.selectAll();
        QTest::keyClicks(&edit, typed);
        QCOMPARE(changed.count(), 1); // setup is silent and typing commits only on Enter
        QTest::keyClick(&edit, Qt::Key_Enter);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().first().toDouble(), value);
    }

    void keyHandlerLeavesEditingKeys() {
        QLineEdit box("123");
        onKeyPress(&box, [](int& code) { code = 0; });
        QTest::keyClick(&box, Qt::Key_Left);
        QTest::keyClick(&box, Qt::Key_Left);
        QTest::keyClick(&box, Qt::Key_Delete);
        QTest::keyClick(&box, 'a', Qt::ControlModifier);
        QCOMPARE(box.selectedText(), QString("13"));
    }

    void messageBoxOpensWithoutBlocking() {
        QWidget window;
        WindowDialogs(&window).message("Warning!", "Port not found", MessageIcon::Warning,
                                       "/dev/ttyUSB0");
        auto* box = window.findChild<QMessageBox*>();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(QStringList({box->windowTitle(), box->text(), box->detailedText()}),
                 QStringList({"Warning!", "Port not found", "/dev/ttyUSB0"}));
        const QPointer<QMessageBox> closing(box);
        box->accept();
        QTRY_VERIFY(closing.isNull());
    }

    void oneEventPerWholeBlock_data() {
        QTest::addColumn<QByteArrayList>("deliveries");
        QTest::addColumn<QString>("handler");      // read, read+clear, or none
        QTest::addColumn<QByteArrayList>("reads"); // "-" for an event that read nothing
        QTest::newRow("piled-up blocks in order")
            << QByteArrayList{"abcdefghijkl"} << "read" << QByteArrayList{"abcd", "efgh", "ijkl"};
        QTest::newRow("partial block completed later")
            << QByteArrayList{"ab", "c", "de"} << "read" << QByteArrayList{"abcd"};
        QTest::newRow("handler empties input")
            << QByteArrayList{"abcdefghijkl"} << "read+clear" << QByteArrayList{"abcd"};
        // A handler that leaves its block (as the meter's does in manual mode) is raised
        // again only when more bytes arrive, never in a loop.
        QTest::newRow("handler reads nothing")
            << QByteArrayList{"abcdefgh", "i"} << "none" << QByteArrayList{"-", "-"};
    }
    void oneEventPerWholeBlock() {
        QFETCH(QByteArrayList, deliveries);
        QFETCH(QString, handler);
        auto* line = new LoopbackBackend;
        SerialPort port("MSComm1", std::unique_ptr<SerialBackend>(line),
                        [] { return QStringList{"/dev/ttyS0"}; });
        QByteArrayList reads;
        QObject::connect(&port, &SerialPort::onComm, [&] {
            reads << (handler == "none" ? QByteArray("-") : port.readBytes());
            if (handler == "read+clear")
                port.clearInput();
        });
        port.setCommPort(1);
        port.setRThreshold(4);
        port.setInputLen(4);
        QVERIFY(port.open());
        for (const QByteArray& bytes : deliveries) {
            const qsizetype before = reads.size();
            line->deliver(bytes);
            QCOMPARE(reads.size(), before); // never inside the delivering call
            for (int round = 0; round < 10; ++round)
                QCoreApplication::processEvents();
        }
        QTEST(reads, "reads");
    }

    // QSerialPort on a pseudo-terminal linked as ./Comm1, as vemra-rig attaches, at the start
    // of a run: stale bytes in the kernel are emptied, then blocks stream.
    void ptyClearedInputThenBlocks() {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY); // to see bytes arrive
        QVERIFY(QFile::link(QString::fromLocal8Bit(::ptsname(master)), "Comm1")); // in workDir_
        SerialPort port("MSComm1", std::make_unique<QtSerialBackend>(),
                        [] { return QStringList(); });
        QByteArrayList reads;
        connect(&port, &SerialPort::onComm, [&] { reads << port.readBytes(); });
        port.setCommPort(1);
        port.setInputLen(4);
        QString message;
        QVERIFY2(port.open(&message), qPrintable(message));

        QCOMPARE(::write(master, "junk", 4), 4);
        pollfd waiting{slave, POLLIN, 0};
        QCOMPARE(::poll(&waiting, 1, 5000), 1);
        port.clearInput();
        port.setRThreshold(4);
        QCOMPARE(::write(master, "abcdefgh", 8), 8);
        QTRY_COMPARE_WITH_TIMEOUT(reads, (QByteArrayList{"abcd", "efgh"}), 5000);
        port.close();
        ::close(slave);
        ::close(master);
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
