// The board's stream through the window: the graph and stores set up for the coefficients
// and labels, blocks decoded and stored, the run ending by itself or wrapping, the live
// display, and streams that do not fit.

#include "support/formfixture.h"

using namespace vemra::test;

class ReceiveTest : public QObject {
    Q_OBJECT
private slots:
    // The layouts of one to three channels are the channel tests' business; here the two
    // edges: a full scale beyond the span edit's limit, and no channel at all.
    void fullScaleAndNoChannel() {
        FormFixture fx;
        Form1& f = fx.start();
        f.CoeffCH2 = 1e-6;
        f.TextLabelCH2->setText(QStringLiteral("Temp (C)"));
        f.CoeffCH0 = 1000;
        fx.enableChannels(5);
        // The full scale reaches the axis whole, though the span edit stops at 64000.
        QCOMPARE((QList<double>{f.CWGraph1->axisMaximum(2), f.CWNumEditSpan->value(),
                                f.CWGraph1->axisMaximum(3)}),
                 (QList<double>{1023000, 64000, 1023e-6}));

        // Without a channel the primary axis stays as the last layout, CH2 alone, left it.
        fx.enableChannels(4);
        fx.enableChannels(0);
        QCOMPARE((QList<int>{f.CWGraph1->traceCount(), f.CWGraph1->axisCount(), f.BlockData.cols(),
                             f.SampleData.cols()}),
                 (QList<int>{0, 2, 1, 1}));
        QCOMPARE(f.CWGraph1->axisMaximum(2), 1023e-6);
        QCOMPARE(f.CWGraph1->axisCaption(2), QStringLiteral("Temp (C)"));
        QCOMPARE(f.CWGraph1->axisTickColor(2), QColor(0, 0, 255));
    }

    void finiteRunKeepsTheEndingBlock_data() {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("stopAt"); // the operator clicks Stop after this many points
        QTest::addColumn<int>("sent");
        // Kept, saved, and stop bytes: blocks that found the run at its end, or Stop.
        QTest::addColumn<QList<int>>("counts");
        QTest::newRow("1000") << 1000 << -1 << 1000 << QList<int>{1000, 1000, 1};
        QTest::newRow("1005") << 1005 << -1 << 1010 << QList<int>{1010, 1010, 1};
        QTest::newRow("5") << 5 << -1 << 10 << QList<int>{10, 10, 1};
        // The store has room for two late blocks; a third is dropped whole.
        QTest::newRow("1000, 3 late") << 1000 << -1 << 1030 << QList<int>{1020, 1020, 4};
        QTest::newRow("late after Stop") << 1000 << 20 << 30 << QList<int>{30, 20, 1};
    }
    void finiteRunKeepsTheEndingBlock() {
        QFETCH(int, total);
        QFETCH(int, stopAt);
        QFETCH(int, sent);
        QFETCH(QList<int>, counts);
        FormFixture fx;
        Form1& f = fx.start();
        fx.startRun(total);
        fx.board->clearWritten();
        for (int first = 0; first < sent; first += 10) {
            if (first == stopAt)
                f.CommandOff->click();
            fx.send(block(first, 10));
        }
        const int kept = counts[0];
        QCOMPARE((QList<int>{f.SampleCount, f.SavedSampleCount}), counts.mid(0, 2));
        QCOMPARE(fx.board->written(), QByteArray(counts[2], '\x30'));
        QVERIFY(f.TextAcq->text() == QString::number(kept) && f.CommandSave->isEnabled());
        for (int i = 0; i < kept; ++i)
            QCOMPARE(f.SampleData.at(0, i), double(i));
        QCOMPARE(f.DroppedBlocks, (sent - kept) / 10);
        QCOMPARE(f.statusBar()->currentMessage().isEmpty(), sent == kept);
        QCOMPARE(f.LabelBuff->text(), QString());
    }

    void endlessRunWraps() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.startRun(20, 10, true);
        for (int first : {0, 100, 200})
            fx.send(block(first, 10));
        // Columns 10.. are never written; the run goes on.
        QCOMPARE(
            (QList<double>{double(f.SampleCount), f.SampleData.at(0, 0), f.SampleData.at(0, 10)}),
            (QList<double>{10, 200, 0}));
        QVERIFY(f.CommandOff->isEnabled() && fx.board->written().endsWith('\x31'));

        // Fed faster than it takes, the port keeps its input buffer's worth (32000 bytes): the
        // oldest whole blocks go, the newest are decoded, and the operator is told.
        fx.send(block(300, 10).repeated(802) + block(400, 10));
        QCOMPARE(f.OverrunBytes, 120);
        QCOMPARE(f.SampleData.at(0, 0), 400.0);
        fx.send(block(300, 10).repeated(803)); // each overrun counted once
        QCOMPARE(f.statusBar()->currentMessage(),
                 QStringLiteral("Input overrun: 240 bytes lost (60 records)"));
    }

    void liveDisplayAndChecksums() {
        FormFixture fx;
        Form1& f = fx.start();
        f.CoeffCH2 = 3;
        fx.enableChannels(6);
        fx.startRun(1000, 4);
        QByteArray sent;
        for (int i = 0; i < 4; ++i)
            sent += record({i == 0 ? 10 : 0, 100 + i});
        fx.send(sent);
        // Averages of the scaled samples, half to even: CH1 10 / 4 = 2.5, CH2 3 × 406 / 4 = 304.5.
        QCOMPARE(f.LabelForce->text() + ' ' + f.LabelCH1->text() + ' ' + f.LabelCH2->text(),
                 QStringLiteral("0 2 304"));
        // A screen reader hears the newest values, the live ones within a repaint.
        const auto spoken = [](QWidget* w) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            return QStringList{a->text(QAccessible::Name), a->text(QAccessible::Value),
                               a->text(QAccessible::Description)};
        };
        QTRY_COMPARE(spoken(f.LabelCH2), (QStringList{"304", "", "Average CH2"}));
        QCOMPARE(spoken(f.TextAcq), (QStringList{"Acquired Points", "4", ""}));
        QCOMPARE((QList<double>{double(f.CWGraph1->pointCount(0)), f.CWGraph1->pointY(0, 0),
                                f.CWGraph1->pointY(1, 3)}),
                 (QList<double>{4, 10, 309}));

        f.MSComm1_OnComm(); // an event that brought no data charts nothing again
        QVERIFY(f.CWGraph1->pointCount(0) == 4 && f.SampleCount == 4);
        QCOMPARE(f.LabelCH2->text(), QStringLiteral("304"));

        // With the graph off the values still follow; a wrong checksum marks the run until the
        // operator clicks the mark, and the samples are kept as they came.
        f.GraphToggle->setChecked(false);
        fx.send(record({5, 0}).repeated(3) + record({5, 65535}, true));
        QCOMPARE(f.CWGraph1->pointCount(0), 4);
        QCOMPARE(f.TextAcq->text() + ' ' + f.LabelCH1->text() + ' ' + f.LabelBuff->text(),
                 QStringLiteral("8 5 Error Comm"));
        QCOMPARE(f.SampleData.at(1, 7), 3 * 65535.0);
        fx.send(record({1, 1}).repeated(5)); // a good block, and a record of the next
        QCOMPARE(f.LabelBuff->text(), QStringLiteral("Error Comm"));
        f.LabelBuff_Click();
        QVERIFY(f.LabelBuff->text() == "0" && f.MSComm1->inBufferCount() == 0);
    }
};

QTEST_MAIN(ReceiveTest)
#include "test_receive.moc"
