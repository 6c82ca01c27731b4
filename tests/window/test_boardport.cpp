// Choosing the board port: which device opens, how the port is set up for block reads,
// what the operator is told when it cannot be opened, and the timing edits that reach it.

#include "support/formfixture.h"

using namespace vemra::test;

class BoardPortTest : public QObject {
    Q_OBJECT
private slots:
    // The timing edits on an open port: the period goes to the board at once and the labels
    // follow it; points per block and total points re-dimension the port and the stores.
    void timingEditsReachTheOpenPort() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.enableChannels(5);
        fx.chooseBoardPort(1);
        fx.board->clearWritten();
        f.CWNumEditFreq->setValue(333);
        QCOMPARE(fx.board->written(), bytes({'T', 0x01, 0x4D}));
        QCOMPARE(f.LabelFrequency->text() + " / " + f.LabelExpTime->text(),
                 QStringLiteral("30,030 / 33,300")); // of 1000 points
        f.CWNumEditNumPoint->setValue(20);
        f.CWNumEditTotPoint->setValue(500);
        QCOMPARE((QList<int>{f.MSComm1->inputLen(), f.MSComm1->rThreshold(), f.BlockData.cols(),
                             f.SampleData.cols(), f.MultData.size()}),
                 (QList<int>{120, 120, 20, 500 + 2 * 20 + 1, 501}));
        // A record without channels is its lead and checksum bytes.
        fx.enableChannels(0);
        f.SetupComm1();
        QCOMPARE(f.MSComm1->rThreshold(), 2 * 20);
    }

    void devicesLineSettingsAndDefaultComm() {
        FormFixture fx;
        // Links the operator made come before the system's ports, even one that leads nowhere
        // (opening it then fails with a reason); past the system's three ports there is none.
        fx.writeFile(QStringLiteral("Comm2"), {});
        QVERIFY(QFile::link(fx.dir() + "/nowhere", fx.dir() + "/Comm3"));
        Form1& f = fx.start();
        const QString link = QDir(fx.dir()).absoluteFilePath(QStringLiteral("Comm2"));
        QCOMPARE(f.ComboPort->itemText(7), QStringLiteral("Comm8"));
        QStringList tips;
        for (int i = 0; i < 4; ++i)
            tips << f.ComboPort->itemData(i, Qt::ToolTipRole).toString();
        QCOMPARE(tips.mid(0, 3), (QStringList{"/dev/ttyS0", link, fx.dir() + "/Comm3"}));
        QVERIFY(tips[3].contains("No device"));
        // Nothing is opened until the operator chooses, not even by a set-up request; with no
        // stored port, "Default Comm" says where to choose one.
        f.SetupComm1();
        f.CommandCommStart->click();
        QVERIFY(fx.board->log().isEmpty() && fx.meter->log().isEmpty());
        QVERIFY(f.statusBar()->currentMessage().contains(QStringLiteral("\" PIC System\" list")));
        f.CommandCommStart->setEnabled(true);

        f.CommPort1 = 2;
        f.CommPort2 = 0;
        f.CommandCommStart->click(); // "Default Comm": the stored ports
        QCOMPARE(f.ComboPort->currentText() + '|' + f.ComboPort2->currentText(), "Comm2|");
        QVERIFY(!f.CommandCommStart->isEnabled() && fx.board->written().isEmpty());
        QCOMPARE(fx.board->device(), link);
        const LineSettings line = fx.board->line();
        QCOMPARE((QList<int>{line.baud, line.parity, line.dataBits, line.stopBits,
                             f.MSComm1->inBufferSize(), int(f.MSComm1->inputMode())}),
                 (QList<int>{115200, 'N', 8, 1, 32000, int(InputMode::Binary)}));
        QCOMPARE(flags({f.SelectChannel->isEnabled(), f.TimeSetup->isEnabled(),
                        f.DisplacementSys->isEnabled(), f.EnbleAll->isEnabled()}),
                 QStringLiteral("1111"));

        // A new set-up starts from a closed port, so bytes waiting from before are gone.
        fx.board->deliver(QByteArray(25, '\x11'));
        fx.board->clearLog();
        f.SetupComm1();
        QCOMPARE(fx.board->log().mid(0, 2), (QStringList{"close", "open " + link}));
        QCOMPARE(f.MSComm1->inBufferCount(), 0);

        // A second choice leaves the open port alone and says so.
        f.CommPort1 = 3;
        fx.board->clearLog();
        f.CommandCommStart_Click();
        QCOMPARE(f.ComboPort->currentText(), QStringLiteral("Comm2"));
        QVERIFY(fx.board->log().isEmpty());
        QCOMPARE(fx.said(), QStringList("Warning: The board port Comm2 is already open; Comm3 "
                                        "was not opened."));
    }

    // The message names the port, the device and the reason; the window stays without a port
    // and the list stays usable.
    void openFailuresKeepNoPort_data() {
        QTest::addColumn<int>("number"); // above 8: through "Default Comm"
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message"); // "<dir>": the working directory
        QTest::newRow("busy") << 1 << "Device or resource busy"
                              << "Cannot open Comm1 (/dev/ttyS0): Device or resource busy";
        QTest::newRow("absent")
            << 5 << ""
            << "Cannot open Comm5: no ./Comm5 in <dir> and the system lists only 3 "
               "serial ports";
        QTest::newRow("Default Comm9") << 9 << ""
                                       << "Cannot open Comm9: port numbers go from 1 to 8.";
    }
    void openFailuresKeepNoPort() {
        QFETCH(int, number);
        QFETCH(QString, failure);
        QFETCH(QString, message);
        FormFixture fx;
        Form1& f = fx.start();
        fx.board->setOpenFailure(failure);
        f.CommPort1 = number;
        if (number > 8)
            f.CommandCommStart->click();
        else
            fx.chooseBoardPort(number);
        QCOMPARE(fx.said(), QStringList("Warning: " + message.replace("<dir>", fx.dir())));
        QVERIFY(!f.MSComm1->portOpen() && !f.CommandSendData->isEnabled());
        QCOMPARE(f.ComboPort->currentIndex(), -1);

        fx.board->setOpenFailure(QString());
        fx.chooseBoardPort(1);
        QVERIFY(f.CommandSendData->isEnabled());
    }
};

QTEST_MAIN(BoardPortTest)
#include "test_boardport.moc"
