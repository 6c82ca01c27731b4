// Choosing the board port: which device opens, how the port is set up for block reads,
// and what the operator is told when it cannot be opened.

#include "support/formfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

class BoardPortTest : public QObject {
    Q_OBJECT
private slots:
    void blockLengthFollowsChannelsAndPoints_data();
    void blockLengthFollowsChannelsAndPoints();
    void choosingAPortOpensItForBlocks();
    void linkInWorkingDirectoryWins();
    void reopeningDiscardsWaitingBytes();
    void portFailures_data();
    void portFailures();
    void defaultCommChoosesStoredPorts();
    void defaultCommOutsideRangeIsReported();
    void secondChoiceKeepsOpenPort();
    void startUpOpensNothing();
    void portListShowsDevices();
};

void BoardPortTest::blockLengthFollowsChannelsAndPoints_data() {
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("length");
    QTest::newRow("CH0, 10") << 1 << 10 << 40;
    QTest::newRow("three, 1000") << 3 << 1000 << 8000;
    QTest::newRow("none, 10") << 0 << 10 << 20;
    QTest::newRow("two, 20") << 2 << 20 << 120;
    QTest::newRow("one record") << 3 << 1 << 8;
}

void BoardPortTest::blockLengthFollowsChannelsAndPoints() {
    QFETCH(int, channels);
    QFETCH(int, points);
    QFETCH(int, length);
    FormFixture fx;
    Form1& f = fx.start();
    f.NumChannels = static_cast<std::uint8_t>(channels);
    f.NumAvgPoints = points;
    fx.chooseBoardPort(1);
    QCOMPARE(f.MSComm1->inputLen(), length);
    QCOMPARE(f.MSComm1->rThreshold(), length);
}

void BoardPortTest::choosingAPortOpensItForBlocks() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(2);
    QVERIFY(f.MSComm1->portOpen());
    QCOMPARE(f.MSComm1->commPort(), 2);
    QCOMPARE(fx.board->device(), QStringLiteral("/dev/ttyS1"));
    QCOMPARE(fx.board->line().baud, 115200);
    QCOMPARE(fx.board->line().parity, 'N');
    QCOMPARE(fx.board->line().dataBits, 8);
    QCOMPARE(fx.board->line().stopBits, 1);
    QCOMPARE(f.MSComm1->inputMode(), InputMode::Binary);
    QCOMPARE(f.MSComm1->inBufferSize(), 32000);
    QVERIFY(fx.board->written().isEmpty());
    QVERIFY(fx.dialogs->shown.isEmpty());
    for (QAction* item : {f.SelectChannel, f.TimeSetup, f.DisplacementSys, f.EnbleAll})
        QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
}

void BoardPortTest::linkInWorkingDirectoryWins() {
    FormFixture fx;
    QFile link(fx.dir() + QStringLiteral("/Comm2"));
    QVERIFY(link.open(QIODevice::WriteOnly));
    link.close();
    Form1& f = fx.start();
    fx.chooseBoardPort(2);
    QVERIFY(f.MSComm1->portOpen());
    QCOMPARE(fx.board->device(), QDir(fx.dir()).absoluteFilePath(QStringLiteral("Comm2")));
    QCOMPARE(f.ComboPort->itemData(1, Qt::ToolTipRole).toString(), fx.board->device());
}

void BoardPortTest::reopeningDiscardsWaitingBytes() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    fx.board->deliver(QByteArray(25, '\x11'));
    fx.board->clearLog();
    f.SetupComm1();
    QCOMPARE(fx.board->log().first(), QStringLiteral("close"));
    QVERIFY(fx.board->log().contains(QStringLiteral("open /dev/ttyS0")));
    QVERIFY(f.MSComm1->portOpen());
    QCOMPARE(f.MSComm1->inBufferCount(), 0);
}

void BoardPortTest::portFailures_data() {
    QTest::addColumn<QStringList>("systemPorts");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("openFailure");
    QTest::addColumn<QString>("mentioned"); // a text the message must contain
    QTest::newRow("busy") << QStringList{"/dev/ttyS0"} << 1 << "Device or resource busy"
                          << "/dev/ttyS0";
    QTest::newRow("no permission") << QStringList{"/dev/ttyUSB0"} << 1 << "Permission denied"
                                   << "Permission denied";
    QTest::newRow("absent") << QStringList{"/dev/ttyS0"} << 5 << ""
                            << "Comm5";
}

void BoardPortTest::portFailures() {
    QFETCH(QStringList, systemPorts);
    QFETCH(int, number);
    QFETCH(QString, openFailure);
    QFETCH(QString, mentioned);
    FormFixture fx(systemPorts);
    Form1& f = fx.start();
    fx.board->setOpenFailure(openFailure);

    fx.chooseBoardPort(number);

    QVERIFY(!f.MSComm1->portOpen());
    QCOMPARE(fx.dialogs->shown.size(), 1);
    QVERIFY2(fx.dialogs->shown.first().text.contains(mentioned),
             qPrintable(fx.dialogs->shown.first().text));
    // Still No port: the list stays usable so the operator can choose again.
    QVERIFY(f.ComboPort->isEnabled());
    QCOMPARE(f.ComboPort->currentIndex(), -1);
    QVERIFY(!f.CommandSendData->isEnabled());
    QVERIFY(!f.FrameContols->isEnabled());
    QVERIFY(!f.SelectChannel->isEnabled());

    fx.board->setOpenFailure(QString());
    fx.chooseBoardPort(1);
    QVERIFY(f.MSComm1->portOpen());
    QVERIFY(f.CommandSendData->isEnabled());
}

void BoardPortTest::defaultCommChoosesStoredPorts() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CommPort1 = 3;
    f.CommPort2 = 0;
    f.CommandCommStart->click();
    QCOMPARE(f.ComboPort->currentText(), QStringLiteral("Comm3"));
    QVERIFY(f.MSComm1->portOpen());
    QCOMPARE(fx.board->device(), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(f.ComboPort2->currentIndex(), -1);
    QVERIFY(!f.CommandCommStart->isEnabled());
}

void BoardPortTest::defaultCommOutsideRangeIsReported() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CommPort1 = 9;
    f.CommandCommStart->click();
    QVERIFY(!f.MSComm1->portOpen());
    QCOMPARE(fx.dialogs->shown.size(), 1);
    QVERIFY(fx.dialogs->shown.first().text.contains(QStringLiteral("Comm9")));
    QVERIFY(f.ComboPort->isEnabled());
}

void BoardPortTest::secondChoiceKeepsOpenPort() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CommPort1 = 2;
    fx.board->clearLog();
    f.CommandCommStart->click();
    QVERIFY(f.MSComm1->portOpen());
    QCOMPARE(f.MSComm1->commPort(), 1);
    QCOMPARE(f.ComboPort->currentText(), QStringLiteral("Comm1"));
    QVERIFY(fx.board->log().isEmpty());
    QCOMPARE(fx.dialogs->shown.size(), 1);
}

void BoardPortTest::startUpOpensNothing() {
    FormFixture fx;
    Form1& f = fx.start();
    QVERIFY(!f.MSComm1->portOpen());
    QVERIFY(!f.MSComm2->portOpen());
    QVERIFY(fx.board->log().isEmpty());
    QVERIFY(fx.meter->log().isEmpty());
    // A set-up request before any port was chosen grabs no device either.
    f.SetupComm1();
    QVERIFY(fx.board->log().isEmpty());
}

void BoardPortTest::portListShowsDevices() {
    FormFixture fx;
    Form1& f = fx.start();
    QCOMPARE(f.ComboPort->count(), 8);
    QCOMPARE(f.ComboPort2->count(), 8);
    QCOMPARE(f.ComboPort->itemText(7), QStringLiteral("Comm8"));
    QCOMPARE(f.ComboPort->itemData(7).toInt(), 8);
    QCOMPARE(f.ComboPort->itemData(2, Qt::ToolTipRole).toString(), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(
        f.ComboPort->itemData(3, Qt::ToolTipRole).toString().contains(QStringLiteral("No device")));
}

QTEST_MAIN(BoardPortTest)
#include "test_boardport.moc"
