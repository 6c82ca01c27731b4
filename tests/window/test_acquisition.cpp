// Start, Stop, Save and closing the window as the operator does them, checked on the wire,
// in the controls' states and in the files left behind.

#include "support/formfixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>

using namespace vemra;
using namespace vemra::test;

namespace {

const QString kName = QStringLiteral("VemraData 5-3 9-7-4");

} // namespace

class AcquisitionTest : public QObject {
    Q_OBJECT
private slots:
    void lifecycleStates_data();
    void lifecycleStates();
    void startFrameOnTheWire_data();
    void startFrameOnTheWire();
    void stopStartAndClose();
    void vanishedAdapterThenStopAndSave();
    void saveRefusals_data();
    void saveRefusals();
};

void AcquisitionTest::lifecycleStates_data() {
    // One letter a step: p port, s Start, S Start's handler (its button is off), o Stop,
    // c "Select Channels", e "Enable CH1".
    QTest::addColumn<QString>("path");
    // 1 enabled, 0 not: Start, Stop, Save, timing panel, coefficients box, edits, port list,
    // "Enable All Channels" and "Select Channels"
    QTest::addColumn<QString>("expected");
    QTest::newRow("No port") << QString() << QStringLiteral("00000110");
    QTest::newRow("Ready") << QStringLiteral("p") << QStringLiteral("10011101");
    QTest::newRow("Running") << QStringLiteral("ps") << QStringLiteral("01000000");
    QTest::newRow("Stopped") << QStringLiteral("pso") << QStringLiteral("10111101");
    QTest::newRow("Running, no port") << QStringLiteral("S") << QStringLiteral("01000010");
    QTest::newRow("Stopped, no port") << QStringLiteral("So") << QStringLiteral("10111111");
    QTest::newRow("Calibrating") << QStringLiteral("psoc") << QStringLiteral("00001101");
    QTest::newRow("Stopped, calibrated") << QStringLiteral("psocc") << QStringLiteral("10111101");
    QTest::newRow("Stopped, channels changed")
        << QStringLiteral("psocec") << QStringLiteral("10011101");
}

void AcquisitionTest::lifecycleStates() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    FormFixture fx;
    Form1& f = fx.start();
    for (QChar step : path) {
        if (step == 'p')
            fx.chooseBoardPort(1);
        else if (step == 's')
            f.CommandSendData->click();
        else if (step == 'S')
            f.CommandSendData_Click();
        else if (step == 'o')
            f.CommandOff->click();
        else if (step == 'c')
            f.SelectChannel->trigger();
        else
            f.CheckEnCH1->click();
    }
    // A control inside a disabled panel is still enabled itself.
    const auto own = [](const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); };
    QString actual;
    for (bool on :
         {f.CommandSendData->isEnabled(), f.CommandOff->isEnabled(), f.CommandSave->isEnabled(),
          f.FrameContols->isEnabled(), f.CheckCoeff->isEnabled(),
          own(f.CWNumEditNumPoint) && own(f.CWNumEditFreq) && own(f.CWNumEdit1),
          f.ComboPort->isEnabled(), f.EnbleAll->isEnabled() && f.SelectChannel->isEnabled()})
        actual += on ? u'1' : u'0';
    QCOMPARE(actual, expected);
    if (!path.contains('p'))
        QVERIFY(fx.board->written().isEmpty());
}

void AcquisitionTest::startFrameOnTheWire_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<double>("period");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("CH0, 40 ms") << 1 << 400.0 << bytes({0x43, 0x01, 0x54, 0x01, 0x90, 0x31});
    QTest::newRow("shortest") << 1 << 10.0 << bytes({0x43, 0x01, 0x54, 0x00, 0x0A, 0x31});
    QTest::newRow("longest") << 1 << 64000.0 << bytes({0x43, 0x01, 0x54, 0xFA, 0x00, 0x31});
    QTest::newRow("all, 256") << 7 << 256.0 << bytes({0x43, 0x07, 0x54, 0x01, 0x00, 0x31});
    QTest::newRow("CH1 CH2") << 6 << 333.0 << bytes({0x43, 0x06, 0x54, 0x01, 0x4D, 0x31});
    QTest::newRow("none") << 0 << 400.0 << bytes({0x43, 0x00, 0x54, 0x01, 0x90, 0x31});
}

void AcquisitionTest::startFrameOnTheWire() {
    QFETCH(int, mask);
    QFETCH(double, period);
    QFETCH(QByteArray, frame);
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(2);
    fx.enableChannels(mask);
    f.CWNumEditFreq->setValue(period);
    fx.board->deliver(QByteArray(7, '\x55')); // stale bytes from before the run
    fx.board->clearWritten();
    fx.board->clearLog();

    f.CommandSendData->click();

    QCOMPARE(fx.board->written().toHex(' '), frame.toHex(' '));
    QCOMPARE(fx.board->log().mid(fx.board->log().size() - 2), (QStringList{"clear", "write 31"}));
    QCOMPARE(f.MSComm1->inBufferCount(), 0);
}

void AcquisitionTest::stopStartAndClose() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.enableChannels(3);
    f.CWNumEdit1->setValue(2000);
    fx.startRun(1000);
    fx.send(record({7, 100}).repeated(10));
    f.MultCount = 12;
    fx.board->clearWritten();

    f.CommandOff->click();
    QCOMPARE(fx.board->written(), bytes({0x30}));
    QCOMPARE(f.SavedSampleCount, 10);
    QCOMPARE(f.SavedTimeStep, 40.0);
    QCOMPARE(f.SavedChannelMask, 3);
    // Stopping discards nothing and leaves the port open for late records.
    QCOMPARE(f.SampleData.at(1, 9), 100.0);
    QVERIFY(f.MSComm1->portOpen());

    f.CommandSendData->click();
    QCOMPARE(f.SampleCount, 0);
    QCOMPARE(f.MultCount, 0);
    QCOMPARE(f.TextAcq->text(), QStringLiteral("0"));
    QCOMPARE((QList<int>{f.AcqEnCH0, f.AcqEnCH1, f.AcqEnCH2}), (QList<int>{1, 1, 0}));
    QCOMPARE(f.SampleData.at(1, 9), 0.0);
    QCOMPARE(f.CWGraph1->pointCount(1), 0);
    QCOMPARE(f.CWGraph1->axisMaximum(1), 2000.0);

    fx.board->clearLog();
    f.close();
    QCOMPARE(fx.board->log(), (QStringList{"write 30", "close"}));
}

void AcquisitionTest::vanishedAdapterThenStopAndSave() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CoeffCH0 = 0.5;
    fx.startRun(1000);
    fx.send(block(0, 10) + block(10, 10));

    fx.board->breakDevice(QStringLiteral("No such device"));
    QTRY_VERIFY(!f.MSComm1->portOpen());
    QTRY_COMPARE(fx.dialogs->shown.size(), 1);
    QVERIFY(fx.dialogs->shown.first().text.contains(QStringLiteral("No such device")));
    // Still running, with the port list locked: only "Stop" goes on from here.
    QVERIFY(f.CommandOff->isEnabled() && !f.CommandSendData->isEnabled());
    QVERIFY(!f.ComboPort->isEnabled());
    QVERIFY(!f.FrameContols->isEnabled());

    fx.board->clearLog();
    f.CommandOff->click();
    QVERIFY(fx.board->log().isEmpty()); // the stop byte has nowhere to go
    QVERIFY(f.ComboPort->isEnabled());  // so the port can be chosen once it is back
    f.CommandSave->click();
    f.CommandSave->click();
    QCOMPARE(fx.dialogs->shown.last().title, QStringLiteral("DOWNLOAD"));
    QCOMPARE(fx.dialogs->shown.last().text, QStringLiteral("Data Saved"));
    const QByteArray file = readFile(fx.dir() + u'/' + kName + QStringLiteral(".txt"));
    const QList<QByteArray> lines = file.split('\n');
    QCOMPARE(lines.size(), 1 + 20 + 1); // header, data lines, nothing after the last CR LF
    QCOMPARE(lines[0], QByteArray("Time (mS)\tForce (g)\t\r"));
    QCOMPARE(lines[1], QByteArray("0\t0\t\r"));
    QCOMPARE(lines[4], QByteArray("120\t1,5\t\r"));
    QCOMPARE(lines[20], QByteArray("760\t9,5\t\r"));
    // A second save in the same second gets a name of its own.
    QCOMPARE(readFile(fx.dir() + u'/' + kName + QStringLiteral(" (2).txt")), file);

    fx.chooseBoardPort(1);
    QVERIFY(f.MSComm1->portOpen() && f.CommandSendData->isEnabled() && !f.CommandOff->isEnabled());
}

void AcquisitionTest::saveRefusals_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("samples");
    QTest::addColumn<QString>("reason"); // in the message
    QTest::newRow("run store reshaped") << "reshape" << 20 << "no longer in memory";
    QTest::newRow("directory gone") << "gone" << 20 << "Cannot create";
    QTest::newRow("full disk, small file") << "full" << 20 << "No space left on device";
    QTest::newRow("full disk, large file") << "full" << 5000 << "No space left on device";
}

void AcquisitionTest::saveRefusals() {
    QFETCH(QString, failure);
    QFETCH(int, samples);
    QFETCH(QString, reason);
    FormFixture fx;
    if (failure == u"full")
        fx.platform().fileSink = fullDisk();
    Form1& f = fx.start();
    fx.startRun(samples);
    for (int first = 0; first < samples; first += 10)
        fx.send(block(first, 10));
    if (failure == u"reshape") {
        f.CheckEnCH1->setChecked(true);
    } else if (failure == u"gone") {
        QDir(fx.dir()).mkdir(QStringLiteral("gone"));
        QDir::setCurrent(fx.dir() + QStringLiteral("/gone"));
        QDir(fx.dir()).rmdir(QStringLiteral("gone"));
    }
    f.CommandSave->click();
    QCOMPARE(fx.dialogs->shown.size(), 1);
    QCOMPARE(fx.dialogs->shown.first().title, QStringLiteral("Warning"));
    QVERIFY2(fx.dialogs->shown.first().text.contains(reason),
             qPrintable(fx.dialogs->shown.first().text));
    QVERIFY(failure == u"reshape" || fx.dialogs->shown.first().text.contains(kName));
    QVERIFY(QDir(fx.dir()).entryList({QStringLiteral("VemraData*")}).isEmpty());
}

QTEST_MAIN(AcquisitionTest)
#include "test_acquisition.moc"
