// Choosing the board port: which device opens, how the port is set up for block reads,
// what the operator is told when it cannot be opened, and the timing edits that reach it.

#include "support/formfixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>

using namespace vemra;
using namespace vemra::test;

class BoardPortTest : public QObject {
    Q_OBJECT
private slots:
    void blockLengthFollowsChannelsAndPoints_data();
    void blockLengthFollowsChannelsAndPoints();
    void devicesLineSettingsAndDefaultComm();
    void openFailuresKeepNoPort_data();
    void openFailuresKeepNoPort();
    void periodLabelsAndCommand_data();
    void periodLabelsAndCommand();
};

void BoardPortTest::blockLengthFollowsChannelsAndPoints_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("length");
    QTest::newRow("CH0, 10") << 1 << 10 << 40;
    QTest::newRow("three, 1000") << 7 << 1000 << 8000;
    QTest::newRow("none, 10") << 0 << 10 << 20;
    QTest::newRow("two, 20") << 5 << 20 << 120;
    QTest::newRow("one record") << 7 << 1 << 8;
}

void BoardPortTest::blockLengthFollowsChannelsAndPoints() {
    QFETCH(int, mask);
    QFETCH(int, points);
    QFETCH(int, length);
    FormFixture fx;
    Form1& f = fx.start();
    fx.enableChannels(mask);
    fx.chooseBoardPort(1);
    f.CWNumEditNumPoint->setValue(points); // on the open port, unless it stays at 10
    f.CWNumEditTotPoint->setValue(500);
    QCOMPARE(f.MSComm1->inputLen(), length);
    QCOMPARE(f.MSComm1->rThreshold(), length);
    QCOMPARE(f.BlockData.cols(), mask ? points : 1);
    QCOMPARE(f.SampleData.cols(), mask ? 500 + 2 * points + 1 : 1);
    QCOMPARE(f.MultData.size(), 501);
}

void BoardPortTest::devicesLineSettingsAndDefaultComm() {
    FormFixture fx;
    fx.writeFile(QStringLiteral("Comm2"), {}); // a link the operator made
    Form1& f = fx.start();
    const QString link = QDir(fx.dir()).absoluteFilePath(QStringLiteral("Comm2"));
    QCOMPARE(f.ComboPort->itemText(7), QStringLiteral("Comm8"));
    QCOMPARE(f.ComboPort->itemData(1, Qt::ToolTipRole).toString(), link);
    QCOMPARE(f.ComboPort->itemData(2, Qt::ToolTipRole).toString(), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(f.ComboPort->itemData(3, Qt::ToolTipRole).toString().contains("No device"));
    // Nothing is opened until the operator chooses, not even by a set-up request.
    f.SetupComm1();
    QVERIFY(fx.board->log().isEmpty());
    QVERIFY(fx.meter->log().isEmpty());

    // With no stored port, "Default Comm" says where to choose one.
    f.CommandCommStart->click();
    QVERIFY(f.statusBar()->currentMessage().contains(QStringLiteral("\" PIC System\" list")));
    QCOMPARE(f.ComboPort->currentIndex(), -1);
    f.CommandCommStart->setEnabled(true);

    f.CommPort1 = 2;
    f.CommPort2 = 0;
    f.CommandCommStart->click(); // "Default Comm": the stored ports
    QCOMPARE(f.ComboPort->currentText(), QStringLiteral("Comm2"));
    QCOMPARE(f.ComboPort2->currentIndex(), -1);
    QVERIFY(!f.CommandCommStart->isEnabled());
    QCOMPARE(fx.board->device(), link);
    const LineSettings line = fx.board->line();
    QCOMPARE((QList<int>{line.baud, line.parity, line.dataBits, line.stopBits}),
             (QList<int>{115200, 'N', 8, 1}));
    QCOMPARE(f.MSComm1->inputMode(), InputMode::Binary);
    QCOMPARE(f.MSComm1->inBufferSize(), 32000);
    QVERIFY(fx.board->written().isEmpty());
    for (QAction* item : {f.SelectChannel, f.TimeSetup, f.DisplacementSys, f.EnbleAll})
        QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));

    // A new set-up starts from a closed port, so bytes waiting from before are gone.
    fx.board->deliver(QByteArray(25, '\x11'));
    fx.board->clearLog();
    f.SetupComm1();
    QCOMPARE(fx.board->log().mid(0, 2), (QStringList{"close", "open " + link}));
    QCOMPARE(f.MSComm1->inBufferCount(), 0);

    // A second choice leaves the open port alone and says so.
    QVERIFY(fx.dialogs->shown.isEmpty());
    f.CommPort1 = 3;
    fx.board->clearLog();
    f.CommandCommStart_Click();
    QCOMPARE(f.ComboPort->currentText(), QStringLiteral("Comm2"));
    QVERIFY(fx.board->log().isEmpty());
    QCOMPARE(fx.dialogs->shown.size(), 1);
}

void BoardPortTest::openFailuresKeepNoPort_data() {
    QTest::addColumn<int>("number"); // above 8: through "Default Comm"
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("mentioned");
    QTest::newRow("busy") << 1 << "Device or resource busy" << QStringLiteral("/dev/ttyS0");
    QTest::newRow("no permission") << 3 << "Permission denied" << QStringLiteral("/dev/ttyUSB0");
    QTest::newRow("absent") << 5 << QString() << QStringLiteral("Comm5");
    QTest::newRow("Default Comm9") << 9 << QString() << QStringLiteral("Comm9");
}

void BoardPortTest::openFailuresKeepNoPort() {
    QFETCH(int, number);
    QFETCH(QString, failure);
    QFETCH(QString, mentioned);
    FormFixture fx;
    Form1& f = fx.start();
    fx.board->setOpenFailure(failure);
    f.CommPort1 = number;
    if (number > 8)
        f.CommandCommStart->click();
    else
        fx.chooseBoardPort(number);

    QVERIFY(!f.MSComm1->portOpen());
    QCOMPARE(fx.dialogs->shown.size(), 1);
    const QString message = fx.dialogs->shown.first().text;
    QVERIFY2(message.contains(mentioned) && message.contains(failure), qPrintable(message));
    QCOMPARE(f.ComboPort->currentIndex(), -1);
    QVERIFY(!f.CommandSendData->isEnabled());

    fx.board->setOpenFailure(QString());
    fx.chooseBoardPort(1);
    QVERIFY(f.CommandSendData->isEnabled());
}

void BoardPortTest::periodLabelsAndCommand_data() {
    QTest::addColumn<double>("period");
    QTest::addColumn<QString>("labels");     // frequency / run time of 1000 points
    QTest::addColumn<QByteArray>("command"); // empty: no port chosen
    QTest::newRow("10") << 10.0 << "1000,000 / 1,000" << bytes({'T', 0x00, 0x0A});
    QTest::newRow("64000") << 64000.0 << "0,156 / 6400,000" << bytes({'T', 0xFA, 0x00});
    QTest::newRow("333") << 333.0 << "30,030 / 33,300" << bytes({'T', 0x01, 0x4D});
    QTest::newRow("closed port") << 200.0 << "50,000 / 20,000" << QByteArray();
}

void BoardPortTest::periodLabelsAndCommand() {
    QFETCH(double, period);
    QFETCH(QString, labels);
    QFETCH(QByteArray, command);
    FormFixture fx;
    Form1& f = fx.start();
    if (!command.isEmpty())
        fx.chooseBoardPort(1);
    fx.board->clearWritten();
    f.CWNumEditFreq->setValue(period);
    QCOMPARE(fx.board->written().toHex(' '), command.toHex(' '));
    QCOMPARE(f.LabelFrequency->text() + " / " + f.LabelExpTime->text(), labels);
}

QTEST_MAIN(BoardPortTest)
#include "test_boardport.moc"
