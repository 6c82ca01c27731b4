// Start, Stop and closing the window as the operator does them, checked on the wire and
// in the controls' states.

#include "support/formfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// The control's own state: a control inside a disabled panel is still "enabled" itself.
bool ownEnabled(const QWidget* w) {
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

} // namespace

class AcquisitionTest : public QObject {
    Q_OBJECT
private slots:
    void lifecycleStates_data();
    void lifecycleStates();
    void startFrameOnTheWire_data();
    void startFrameOnTheWire();
    void startEmptiesInputBeforeStartByte();
    void startResetsTheRun();
    void startWithClosedPortStillRuns();
    void stopSendsStopAndTakesSnapshot();
    void closingDuringRunStopsBoardAndClosesPort();
    void labelBuffEmptiesInput();
    void vanishedAdapterKeepsStopAndSaveUsable();
};

void AcquisitionTest::lifecycleStates_data() {
    QTest::addColumn<QString>("path");         // one letter a step: p port, s Start, o Stop
    QTest::addColumn<QList<bool>>("expected"); // Start Stop Save timing coeff edits list
    QTest::newRow("No port") << "" << QList<bool>{false, false, false, false, false, true, true};
    QTest::newRow("Ready") << "p" << QList<bool>{true, false, false, true, true, true, false};
    QTest::newRow("Running") << "ps" << QList<bool>{false, true, false, false, false, false, false};
    QTest::newRow("Stopped") << "pso" << QList<bool>{true, false, true, true, true, true, false};
    QTest::newRow("Running again")
        << "psos" << QList<bool>{false, true, false, false, false, false, false};
}

void AcquisitionTest::lifecycleStates() {
    QFETCH(QString, path);
    QFETCH(QList<bool>, expected);
    FormFixture fx;
    Form1& f = fx.start();
    for (QChar step : path) {
        if (step == 'p')
            fx.chooseBoardPort(1);
        else if (step == 's')
            f.CommandSendData->click();
        else
            f.CommandOff->click();
    }
    const QList<bool> actual{f.CommandSendData->isEnabled(),
                             f.CommandOff->isEnabled(),
                             f.CommandSave->isEnabled(),
                             f.FrameContols->isEnabled(),
                             f.CheckCoeff->isEnabled(),
                             ownEnabled(f.CWNumEditNumPoint) && ownEnabled(f.CWNumEditFreq) &&
                                 ownEnabled(f.CWNumEdit1),
                             f.ComboPort->isEnabled()};
    QCOMPARE(actual, expected);
}

void AcquisitionTest::startFrameOnTheWire_data() {
    QTest::addColumn<QList<int>>("enabled");
    QTest::addColumn<double>("period");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("CH0, 40 ms") << QList<int>{1, 0, 0} << 400.0
                                << bytes({0x43, 0x01, 0x54, 0x01, 0x90, 0x31});
    QTest::newRow("shortest period")
        << QList<int>{1, 0, 0} << 10.0 << bytes({0x43, 0x01, 0x54, 0x00, 0x0A, 0x31});
    QTest::newRow("longest period")
        << QList<int>{1, 0, 0} << 64000.0 << bytes({0x43, 0x01, 0x54, 0xFA, 0x00, 0x31});
    QTest::newRow("256") << QList<int>{1, 1, 1} << 256.0
                         << bytes({0x43, 0x07, 0x54, 0x01, 0x00, 0x31});
    QTest::newRow("CH1 and CH2") << QList<int>{0, 1, 1} << 333.0
                                 << bytes({0x43, 0x06, 0x54, 0x01, 0x4D, 0x31});
    QTest::newRow("no channel") << QList<int>{0, 0, 0} << 400.0
                                << bytes({0x43, 0x00, 0x54, 0x01, 0x90, 0x31});
}

void AcquisitionTest::startFrameOnTheWire() {
    QFETCH(QList<int>, enabled);
    QFETCH(double, period);
    QFETCH(QByteArray, frame);
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(2);
    // The operator's clicks on the enable boxes keep the mask; here the mask is what the
    // boxes say, as start-up derives it.
    f.CheckEnCH0->setChecked(enabled[0]);
    f.CheckEnCH1->setChecked(enabled[1]);
    f.CheckEnCH2->setChecked(enabled[2]);
    f.ChannelMask = static_cast<std::uint8_t>(enabled[0] | enabled[1] << 1 | enabled[2] << 2);
    f.CWNumEditFreq->setValue(period);
    fx.board->clearWritten();

    f.CommandSendData->click();

    QCOMPARE(fx.board->written().toHex(' '), frame.toHex(' '));
}

void AcquisitionTest::startEmptiesInputBeforeStartByte() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    fx.board->deliver(QByteArray(7, '\x55')); // stale bytes from before the run
    fx.board->clearLog();

    f.CommandSendData->click();

    const QStringList log = fx.board->log();
    const int clear = log.lastIndexOf(QStringLiteral("clear"));
    QVERIFY(clear >= 0);
    QCOMPARE(log.mid(clear), (QStringList{QStringLiteral("clear"), QStringLiteral("write 31")}));
    QCOMPARE(log.count(QStringLiteral("write 31")), 1);
    QCOMPARE(f.MSComm1->inBufferCount(), 0);
}

void AcquisitionTest::startResetsTheRun() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CheckEnCH1->setChecked(true);
    f.NumChannels = 2;
    f.ChannelMask = 3;
    f.SampleCount = 730;
    f.MultCount = 12;
    f.TextAcq->setText(QStringLiteral("730"));
    f.CWGraph1->addTrace();
    f.CWNumEdit1->setValue(2000);

    f.CommandSendData->click();

    QCOMPARE(f.SampleCount, 0);
    QCOMPARE(f.MultCount, 0);
    QCOMPARE(f.TextAcq->text(), QStringLiteral("0"));
    QCOMPARE(f.NumChannels, 2);
    QCOMPARE(f.AcqEnCH0, 1);
    QCOMPARE(f.AcqEnCH1, 1);
    QCOMPARE(f.AcqEnCH2, 0);
    QCOMPARE(f.SampleData.rows(), 2);
    QCOMPARE(f.SampleData.cols(), 1000 + 2 * 10 + 1);
    QCOMPARE(f.BlockData.rows(), 2);
    QCOMPARE(f.BlockData.cols(), 10);
    QCOMPARE(f.CWGraph1->traceCount(), 2);
    QCOMPARE(f.CWGraph1->pointCount(0), 0);
    QCOMPARE(f.CWGraph1->axisMinimum(1), 0.0);
    QCOMPARE(f.CWGraph1->axisMaximum(1), 2000.0);
    QCOMPARE(f.CWGraphMult->axisMaximum(1), 2000.0);
    QVERIFY(f.CWGraphMult->axisAutoScale(2));
    // Without the external channel the readings store keeps a single entry.
    QCOMPARE(f.MultData.size(), std::size_t(1));
}

void AcquisitionTest::startWithClosedPortStillRuns() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CommandSendData_Click();
    QVERIFY(fx.board->written().isEmpty());
    QVERIFY(f.CommandOff->isEnabled());
    QVERIFY(!f.CommandSendData->isEnabled());
    QCOMPARE(f.TextAcq->text(), QStringLiteral("0"));
    f.CommandOff->click();
    QVERIFY(fx.board->written().isEmpty());
    QVERIFY(f.CommandSave->isEnabled());
}

void AcquisitionTest::stopSendsStopAndTakesSnapshot() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CommandSendData->click();
    f.SampleCount = 730;
    fx.board->clearWritten();

    f.CommandOff->click();

    QCOMPARE(fx.board->written(), bytes({0x30}));
    QCOMPARE(f.SavedSampleCount, 730);
    QCOMPARE(f.SavedTimeStep, 40.0);
    QCOMPARE(f.SavedChannelMask, 1);
    QCOMPARE(f.SavedMultEnabled, false);
    QVERIFY(f.CommandSendData->isEnabled());
    QVERIFY(f.CommandSave->isEnabled());
    QVERIFY(!f.CommandOff->isEnabled());
    // Stopping discards nothing and leaves the port open for late records.
    QCOMPARE(f.SampleCount, 730);
    QVERIFY(f.MSComm1->portOpen());
}

void AcquisitionTest::closingDuringRunStopsBoardAndClosesPort() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CommandSendData->click();
    fx.board->clearLog();

    f.close();

    QCOMPARE(fx.board->log(), (QStringList{QStringLiteral("write 30"), QStringLiteral("close")}));
    QVERIFY(!f.MSComm1->portOpen());
}

void AcquisitionTest::labelBuffEmptiesInput() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.LabelBuff->setText(QStringLiteral("Error Comm"));
    fx.board->deliver(QByteArray(13, '\x01'));
    f.LabelBuff_Click();
    QCOMPARE(f.LabelBuff->text(), QStringLiteral("0"));
    QCOMPARE(f.MSComm1->inBufferCount(), 0);

    f.LabelBuff2->setText(QStringLiteral("12"));
    f.LabelBuff2_Click();
    QCOMPARE(f.LabelBuff2->text(), QString());
}

void AcquisitionTest::vanishedAdapterKeepsStopAndSaveUsable() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CommandSendData->click();
    f.SampleCount = 40;
    fx.dialogs->shown.clear();

    fx.board->breakDevice(QStringLiteral("No such device"));
    QTRY_VERIFY(!f.MSComm1->portOpen());
    QTRY_COMPARE(fx.dialogs->shown.size(), 1);
    QVERIFY(fx.dialogs->shown.first().text.contains(QStringLiteral("No such device")));

    QVERIFY(f.CommandOff->isEnabled());
    f.CommandOff->click();
    QCOMPARE(f.SavedSampleCount, 40);
    fx.dialogs->shown.clear();
    f.CommandSave->click();
    QCOMPARE(fx.dialogs->shown.first().text, QStringLiteral("Data Saved"));
    // The list is usable again, so the operator can choose the port once it is back.
    QVERIFY(f.ComboPort->isEnabled());
    fx.chooseBoardPort(1);
    QVERIFY(f.MSComm1->portOpen());
}

QTEST_MAIN(AcquisitionTest)
#include "test_acquisition.moc"
