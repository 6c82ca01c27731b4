// Reading values off the charts as the operator does: the data cursor under the mouse on every
// layout of the channels, with the merged meter trace and on the meter graph, through a
// scroll, a zoom, a pan and a resize; the markers, their differences, the readout in an
// exported picture, and the chart's own gestures beside them.

#include "common/numbertext.h"
#include "support/formfixture.h"

#include <qcustomplot.h>
#include <tuple>

using namespace vemra::test;

namespace {

constexpr double kMsPerSample = 4.5; // a period of 45 tenths of a millisecond
const double kCoefficients[] = {0.5, 2, 0.25};
const QString kLabels[] = {"Force (g)", "Position (mm)", "CH2 (a.u.)"};

// Channel k's raw sample i is i + 100 k; the meter reads 1000 + i / 4 ohm for the first 250.
QString place(const QString& name, int sample, int mask, const QString& meter) {
    QString said = QStringLiteral("%1: Sample %2, Time (ms) %3")
                       .arg(name, QString::number(sample), generalText(sample * kMsPerSample));
    for (int ch = 0; ch < 3 && meter != u"graph"; ++ch)
        if (mask & 1 << ch)
            said += QStringLiteral(", %1 %2").arg(
                kLabels[ch], generalText((sample + 100 * ch) * kCoefficients[ch]));
    if (!meter.isEmpty())
        said += QStringLiteral(", Resistence (Ohm) ") +
                (sample < 250 ? generalText(1000 + sample * 0.25) : QStringLiteral("—"));
    return said;
}

// What assistive technology reads of the readout; nothing while it is hidden.
QString readout(const Graph& g) {
    auto* label = const_cast<QLabel*>(g.readout());
    return label->isVisible() ? spoken(label).section(u'|', 0, 0) : QString();
}

// A CH0 run of `records` shown on a chart `span` samples wide.
bool showRun(FormFixture& fx, int span, int records) {
    Form1& f = *fx.form;
    f.show();
    if (!QTest::qWaitForWindowActive(&f))
        return false;
    f.CoeffCH0 = kCoefficients[0];
    f.CWNumEditFreq->setValue(kMsPerSample * 10);
    f.CWNumEdit1->setValue(span);
    fx.startRun(1000);
    fx.sendBlocks(0, records);
    f.CWGraph1->refreshNow();
    return true;
}

void drag(QWidget* plot, QPoint from, QPoint to, Qt::KeyboardModifiers held = {}) {
    QTest::mousePress(plot, Qt::LeftButton, held, from);
    QTest::mouseMove(plot, to);
    QTest::mouseRelease(plot, Qt::LeftButton, held, to);
    QCoreApplication::processEvents();
}

} // namespace

class CursorTest : public QObject {
    Q_OBJECT
private slots:
    void cursorReadsTheSampleUnderTheMouse_data() {
        QTest::addColumn<int>("mask");
        QTest::addColumn<QString>("meter"); // "merged" into the main graph, or its own "graph"
        for (int mask = 1; mask < 8; ++mask)
            QTest::addRow("mask %d", mask) << mask << QString();
        QTest::newRow("all, meter merged") << 7 << "merged";
        QTest::newRow("meter graph") << 1 << "graph";
    }
    void cursorReadsTheSampleUnderTheMouse() {
        QFETCH(int, mask);
        QFETCH(QString, meter);
        FormFixture fx;
        Form1& f = fx.start();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        fx.enableChannels(mask);
        std::tie(f.CoeffCH0, f.CoeffCH1, f.CoeffCH2) =
            std::tuple(kCoefficients[0], kCoefficients[1], kCoefficients[2]);
        f.TextLabelCH1->setText(kLabels[1]);
        if (!meter.isEmpty()) {
            fx.chooseMeterPort(1);
            f.AgilChann->trigger();
            f.TimerSendFrame->stop();
        }
        f.CWNumEditFreq->setValue(kMsPerSample * 10);
        f.CWNumEdit1->setValue(200);
        fx.startRun(1000);
        for (int sample = 0; sample < 300; ++sample) {
            QList<int> raws;
            for (int ch = 0; ch < 3; ++ch)
                if (mask & 1 << ch)
                    raws << sample + 100 * ch;
            fx.board->deliver(record(raws));
            if (!meter.isEmpty() && sample < 250)
                fx.sendMeter(QString::asprintf("%+.8E,", 1000 + sample * 0.25).toLatin1());
        }
        QTRY_COMPARE(f.SampleCount, 300);
        Graph& g = meter == u"graph" ? *f.CWGraphMult : *f.CWGraph1;
        if (meter == u"merged") {
            f.CommandOff->click();
            f.CWButtonGraphMerg->click();
        }
        f.CWButtonChangeScrean->setValue(meter == u"graph");
        QCustomPlot* plot = g.plot();
        const int last = meter == u"graph" ? 249 : 299;

        const auto at = [plot](int percent) {
            const QRect area = plot->axisRect()->rect();
            return QPoint(area.left() + area.width() * percent / 100, area.center().y());
        };
        // Panned toward the newest samples, the view goes beyond them.
        for (const QString view : {"scrolled", "panned", "zoomed", "resized"}) {
            const QRect before = plot->axisRect()->rect();
            if (view == u"panned")
                drag(plot, at(80), at(60), Qt::ShiftModifier);
            if (view == u"zoomed")
                drag(plot, at(30), at(60));
            if (view == u"resized") {
                f.resize(1500, 900);
                QTRY_VERIFY(plot->axisRect()->rect() != before);
            }
            g.refreshNow();
            for (int percent : {-3, 2, 50, 97}) {
                QTest::mouseMove(plot, at(percent));
                const int sample =
                    std::clamp(qRound(plot->xAxis->pixelToCoord(at(percent).x())), 0, last);
                QCOMPARE(readout(g),
                         percent < 0 ? QString() : place("Cursor", sample, mask, meter));
            }
        }
    }

    // Clicks put A and B on the samples under them and a third moves the nearer; a zoom by a
    // drag leaves them on their samples and places none, a double-click takes them away; an
    // exported picture shows them with the readout.
    void markersKeepTheirSamplesAndTellTheDifferences() {
        FormFixture fx;
        Form1& f = fx.start();
        QVERIFY(showRun(fx, 200, 300));
        Graph& g = *f.CWGraph1;
        QCustomPlot* plot = g.plot();
        const auto at = [plot](double key) {
            return QPoint(qRound(plot->xAxis->coordToPixel(key)),
                          plot->axisRect()->rect().center().y());
        };
        const auto cursorAnd = [](int cursor, int a, int b) {
            return place("Cursor", cursor, 1, {}) + "; " + place("A", a, 1, {}) + "; " +
                   place("B", b, 1, {}) +
                   QStringLiteral("; B − A: Sample %1, Time (ms) %2, Force (g) %3")
                       .arg(b - a)
                       .arg(generalText((b - a) * kMsPerSample), generalText((b - a) * 0.5));
        };

        for (int sample : {150, 250, 230})
            QTest::mouseClick(plot, Qt::LeftButton, {}, at(sample));
        QCoreApplication::processEvents();
        QCOMPARE(readout(g), cursorAnd(230, 150, 230));

        const QString file = fx.dir() + "/markers.svg";
        fx.dialogs->exportAnswer = ChartExportChoice{file, QSize(640, 480)};
        f.ExportChart->trigger();
        const QByteArray picture = readFile(file);
        QVERIFY(picture.contains("Time (ms)") && picture.contains("#ffd700")); // readout, A

        drag(plot, at(100), at(200));
        QCOMPARE(readout(g).section("; ", 1), cursorAnd(0, 150, 230).section("; ", 1));
        const QImage shown = plot->grab().toImage();
        QCOMPARE(shown.pixelColor(at(150)), QColor(255, 215, 0));

        QTest::mouseDClick(plot, Qt::LeftButton, {}, at(1000));
        QVERIFY(!readout(g).contains("A:") && g.axisMinimum(1) == 0);
    }

    // The keys do what the mouse does, from where the mouse left the cursor: Left and Right by a
    // sample, with Shift by a pixel column (a few samples here), `a` and `b` mark, Esc unmarks
    // and restores the view as a double-click does.
    void keysMoveTheCursorAndPlaceTheMarkers() {
        FormFixture fx;
        Form1& f = fx.start();
        QVERIFY(showRun(fx, 3000, 1000));
        Graph& g = *f.CWGraph1;
        QCustomPlot* plot = g.plot();
        plot->setFocus();
        const QRect area = plot->axisRect()->rect();
        // A click beside the plot area marks nothing (and ends a double-click an earlier test
        // left in QTest's idea of the buttons).
        QTest::mouseClick(plot, Qt::LeftButton, {}, area.topLeft() - QPoint(5, 0));
        g.refreshNow();
        QCOMPARE(readout(g), QString());
        const QPoint mouse(qRound(plot->xAxis->coordToPixel(500)), area.center().y());
        QTest::mouseMove(plot, mouse);
        g.refreshNow();
        const int under = readout(g).section(u',', 0, 0).section(u' ', -1).toInt();
        const int column = qRound(plot->xAxis->pixelToCoord(area.left() + 1) -
                                  plot->xAxis->pixelToCoord(area.left()));
        QVERIFY(column > 1 && std::abs(under - 500) <= column);

        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_A})
            QTest::keyClick(plot, key);
        QTest::keyClick(plot, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(plot, Qt::Key_B);
        g.refreshNow();
        const int a = under + 2;
        const int b = a - column;
        QCOMPARE(readout(g),
                 QStringLiteral("%1; %2; %3; B − A: Sample %4, Time (ms) %5, Force (g) %6")
                     .arg(place("Cursor", b, 1, {}), place("A", a, 1, {}), place("B", b, 1, {}))
                     .arg(b - a)
                     .arg(generalText((b - a) * kMsPerSample), generalText((b - a) * 0.5)));
        g.setAxisRange(1, 400, 600);
        QTest::keyClick(plot, Qt::Key_Escape);
        g.refreshNow();
        QCOMPARE(readout(g), place("Cursor", b, 1, {}));
        QCOMPARE(g.axisMinimum(1), 0);

        // A new coefficient and label set the chart up again: the markers go with the old
        // samples, and the next run reads in the new unit.
        QTest::keyClick(plot, Qt::Key_A);
        f.CommandOff->click();
        f.TextLabel->setText("Force (N)");
        f.TextCoeff->setText("3");
        QTest::keyClick(f.TextCoeff, Qt::Key_Return);
        fx.startRun(1000);
        fx.sendBlocks(0, 1000);
        g.refreshNow();
        QTest::mouseMove(plot, QPoint(qRound(plot->xAxis->coordToPixel(500)), mouse.y()));
        g.refreshNow();
        const int now = readout(g).section(u',', 0, 0).section(u' ', -1).toInt();
        QVERIFY(std::abs(now - 500) <= column);
        QCOMPARE(readout(g), QStringLiteral("Cursor: Sample %1, Time (ms) %2, Force (N) %3")
                                 .arg(now)
                                 .arg(generalText(now * kMsPerSample), generalText(now * 3)));
    }
};

QTEST_MAIN(CursorTest)
#include "test_cursor.moc"
