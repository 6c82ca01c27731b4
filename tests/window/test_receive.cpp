// The board's stream through the window: blocks decoded and stored, the run ending by
// itself or wrapping, the live display, and streams that do not fit.

#include "board/decoding.h"
#include "support/formfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

namespace {

QByteArray record(const QList<int>& raws, bool badChecksum = false) {
    QByteArray r(1, '\x55');
    for (int raw : raws) {
        r.append(static_cast<char>(raw & 0xFF));
        r.append(static_cast<char>(raw >> 8));
    }
    auto sum = board::recordChecksum(reinterpret_cast<const std::uint8_t*>(r.constData()) + 1,
                                     static_cast<int>(r.size()) - 1);
    r.append(static_cast<char>(badChecksum ? sum + 1 : sum));
    return r;
}

// A block of `records` CH0 records whose raw values count up from `first`.
QByteArray block(int first, int records) {
    QByteArray b;
    for (int i = 0; i < records; ++i)
        b += record({first + i});
    return b;
}

struct Run {
    FormFixture fx;
    Form1* f = nullptr;
    Run(int total, int perBlock, bool endless = false) {
        f = &fx.start();
        f->CWNumEditTotPoint->setValue(total);
        f->TotalPoints = total;
        f->CWNumEditNumPoint->setValue(perBlock);
        f->NumAvgPoints = perBlock;
        f->CheckInf->setChecked(endless);
        fx.chooseBoardPort(1);
        f->CommandSendData->click();
    }
    // The board sends blocks; the test waits until the station has taken them all.
    void send(const QByteArray& bytes) {
        fx.board->deliver(bytes);
        QTRY_COMPARE(f->MSComm1->inBufferCount() < f->MSComm1->rThreshold(), true);
    }
};

} // namespace

class ReceiveTest : public QObject {
    Q_OBJECT
private slots:
    void finiteRunEndsByItselfAndKeepsLastBlock_data();
    void finiteRunEndsByItselfAndKeepsLastBlock();
    void lateBlocksAfterOperatorStop();
    void endlessRunWraps();
    void checksumErrorMarksAndKeepsSamples();
    void blockBeyondStoreIsDroppedAndCounted();
    void liveValuesAndChart();
    void eventWithoutDataChartsNothing();
    void graphToggleOffStopsCharting();
};

void ReceiveTest::finiteRunEndsByItselfAndKeepsLastBlock_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("perBlock");
    QTest::addColumn<int>("kept");
    QTest::newRow("1000 by 10") << 1000 << 10 << 1000;
    QTest::newRow("1005 by 10") << 1005 << 10 << 1010;
    QTest::newRow("5 by 10") << 5 << 10 << 10;
    QTest::newRow("20 by 10") << 20 << 10 << 20;
}

void ReceiveTest::finiteRunEndsByItselfAndKeepsLastBlock() {
    QFETCH(int, total);
    QFETCH(int, perBlock);
    QFETCH(int, kept);
    Run run(total, perBlock);
    run.fx.board->clearWritten();
    for (int first = 0; first < kept; first += perBlock)
        run.send(block(first, perBlock));

    Form1& f = *run.f;
    QCOMPARE(f.SampleCount, kept);
    QCOMPARE(f.SavedSampleCount, kept);
    QCOMPARE(run.fx.board->written(), QByteArray(1, '\x30'));
    QCOMPARE(f.TextAcq->text(), QString::number(kept));
    QVERIFY(f.CommandSave->isEnabled());
    QVERIFY(!f.CommandOff->isEnabled());
    for (int i = 0; i < kept; ++i)
        QCOMPARE(f.SampleData.at(0, i), double(i));
    QCOMPARE(f.LabelBuff->text(), QString());
}

void ReceiveTest::lateBlocksAfterOperatorStop() {
    Run run(1000, 10);
    run.send(block(0, 10) + block(10, 10));
    run.f->CommandOff->click();
    run.send(block(20, 10));
    QCOMPARE(run.f->SampleCount, 30);
    QCOMPARE(run.f->SavedSampleCount, 20);
    QCOMPARE(run.f->SampleData.at(0, 29), 29.0);
}

void ReceiveTest::endlessRunWraps() {
    Run run(20, 10, true);
    run.send(block(0, 10));
    run.send(block(100, 10));
    run.send(block(200, 10));
    Form1& f = *run.f;
    QCOMPARE(f.SampleCount, 10);
    QCOMPARE(f.SampleData.at(0, 0), 200.0);
    QCOMPARE(f.SampleData.at(0, 10), 0.0); // columns 10.. are never written
    QVERIFY(f.CommandOff->isEnabled());
    QVERIFY(run.fx.board->written().endsWith('\x31'));
}

void ReceiveTest::checksumErrorMarksAndKeepsSamples() {
    Run run(1000, 2);
    run.send(record({291}) + record({65535}, true));
    QCOMPARE(run.f->LabelBuff->text(), QStringLiteral("Error Comm"));
    QCOMPARE(run.f->SampleData.at(0, 1), 65535.0);
    run.send(block(5, 2));
    QCOMPARE(run.f->LabelBuff->text(), QStringLiteral("Error Comm")); // stays until clicked
    run.f->LabelBuff_Click();
    QCOMPARE(run.f->LabelBuff->text(), QStringLiteral("0"));
}

void ReceiveTest::blockBeyondStoreIsDroppedAndCounted() {
    // 1000 by 10: the store holds 1021 columns, so two late blocks fit and a third does not.
    Run run(1000, 10);
    for (int first = 0; first < 1030; first += 10)
        run.send(block(first, 10));
    Form1& f = *run.f;
    QCOMPARE(f.SampleCount, 1020);
    QCOMPARE(f.DroppedBlocks, 1);
    QVERIFY(f.statusBar()->currentMessage().contains(QStringLiteral("1")));
    QCOMPARE(f.SampleData.at(0, 1019), 1019.0);
}

void ReceiveTest::liveValuesAndChart() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CheckEnCH0->setChecked(false);
    f.CheckEnCH1->setChecked(true);
    f.CheckEnCH2->setChecked(true);
    f.ChannelMask = 6;
    f.NumChannels = 2;
    f.CWNumEditNumPoint->setValue(4);
    f.NumAvgPoints = 4;
    fx.chooseBoardPort(1);
    f.CommandSendData->click();
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b += record({i == 0 ? 10 : 0, 100 + i});
    fx.board->deliver(b);
    QTRY_COMPARE(f.SampleCount, 4);
    QCOMPARE(f.LabelForce->text(), QStringLiteral("0"));
    QCOMPARE(f.LabelCH1->text(), QStringLiteral("2"));   // 10 / 4 = 2.5 rounds to even
    QCOMPARE(f.LabelCH2->text(), QStringLiteral("102")); // 406 / 4 = 101.5 rounds to even
    QCOMPARE(f.CWGraph1->pointCount(0), 4);
    QCOMPARE(f.CWGraph1->pointY(0, 0), 10.0);
    QCOMPARE(f.CWGraph1->pointY(1, 3), 103.0);
    QCOMPARE(f.CWGraph1->traceColor(1), QColor(0, 0, 255));
}

void ReceiveTest::eventWithoutDataChartsNothing() {
    Run run(1000, 10);
    run.send(block(0, 10));
    QCOMPARE(run.f->CWGraph1->pointCount(0), 10);
    const QString average = run.f->LabelForce->text();
    run.f->MSComm1_OnComm(); // an event of another kind
    QCOMPARE(run.f->CWGraph1->pointCount(0), 10);
    QCOMPARE(run.f->SampleCount, 10);
    QCOMPARE(run.f->LabelForce->text(), average);
    QCOMPARE(run.f->LabelBuff->text(), QString());
}

void ReceiveTest::graphToggleOffStopsCharting() {
    Run run(1000, 10);
    run.f->GraphToggle->setChecked(false);
    run.send(block(0, 10));
    QCOMPARE(run.f->CWGraph1->pointCount(0), 0);
    QCOMPARE(run.f->TextAcq->text(), QStringLiteral("10"));
    QCOMPARE(run.f->LabelForce->text(), QStringLiteral("4")); // 45 / 10 = 4.5 rounds to even
}

QTEST_MAIN(ReceiveTest)
#include "test_receive.moc"
