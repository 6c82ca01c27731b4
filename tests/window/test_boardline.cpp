// The board's line from the operator's side: choosing its port, and the timing edits and the
// actuator panel whose bytes reach the board in order.

#include "support/formfixture.h"

using namespace vemra::test;

namespace {

// Sin, Square, Triangle, Sawtooth, manual: 1 enabled, 0 not.
QString enabledButtons(const Form1& f) {
    return flags({f.CWButtonSin->isEnabled(), f.CWButtonSquare->isEnabled(),
                  f.CWButtonTriangle->isEnabled(), f.CWButtonSawtoot->isEnabled(),
                  f.CWButtonPWM->isEnabled()});
}

} // namespace

class BoardLineTest : public QObject {
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
        QStringList tips{"/dev/ttyS0", link, fx.dir() + "/Comm3", "No device for Comm4"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(f.ComboPort->itemData(i, Qt::ToolTipRole).toString(), tips[i]);
        // Nothing is opened until the operator chooses, not even by a set-up request; with no
        // stored port, "Default Comm" says where to choose one.
        f.SetupComm1();
        f.CommandCommStart->click();
        QVERIFY(fx.board->log().isEmpty() && fx.meter->log().isEmpty() &&
                f.statusBar()->currentMessage().contains("\" PIC System\" list"));
        f.CommandCommStart->setEnabled(true);

        f.CommPort1 = 2;
        f.CommPort2 = 0;
        f.CommandCommStart->click(); // "Default Comm": the stored ports
        QCOMPARE(f.ComboPort->currentText() + '|' + f.ComboPort2->currentText(), "Comm2|");
        QVERIFY(!f.CommandCommStart->isEnabled() && fx.board->written().isEmpty());
        QCOMPARE(fx.board->device(), link);
        const LineSettings line = fx.board->line();
        QCOMPARE((QList<int>{line.baud, line.parity, line.dataBits, line.stopBits}),
                 (QList<int>{115200, 'N', 8, 1}));

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
        QCOMPARE(
            fx.said(),
            QStringList("Warning: The board port Comm2 is already open; Comm3 was not opened."));
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
        QVERIFY(!f.MSComm1->portOpen() && !f.CommandSendData->isEnabled() &&
                f.ComboPort->currentIndex() == -1);

        fx.board->setOpenFailure(QString());
        fx.chooseBoardPort(1);
        QVERIFY(f.CommandSendData->isEnabled());
    }

    // Each waveform starts with the maximum value, prescaler and multiplier and locks the other
    // buttons; off, it stops the actuator. A closed port gets nothing.
    void waveformStartsAndStops() {
        FormFixture fx;
        Form1& f = fx.start();
        f.CWNumEditPWM->setValue(200);
        f.CWNumEditMulPeriod->setValue(3);
        f.CWNumEditMulFreq->setValue(4);
        const std::pair<TwoStateButton*, char> waves[] = {{f.CWButtonTriangle, '\0'},
                                                          {f.CWButtonSin, '3'},
                                                          {f.CWButtonSquare, '2'},
                                                          {f.CWButtonTriangle, '4'},
                                                          {f.CWButtonSawtoot, '5'}};
        for (const auto& [button, start] : waves) {
            if (start)
                fx.chooseBoardPort(1);
            fx.board->clearWritten();
            button->click();
            QCOMPARE(fx.board->written(), start ? bytes({'P', 200, 3, 16, start, 'N'}) : "");
            QVERIFY(enabledButtons(f).count(u'1') == 1 && button->isEnabled());
            fx.board->clearWritten();
            button->click();
            QCOMPARE(fx.board->written(), start ? QByteArray("6F") : QByteArray());
            QCOMPARE(enabledButtons(f), "11111");
        }
    }

    void frequencyManualOutputAndEnable() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.chooseBoardPort(1);
        fx.board->clearWritten();
        f.CWNumEditMulFreq->setValue(7);
        f.CWNumEditMulPeriod->setValue(255);
        QCOMPARE(f.TextMul->text() + ' ' + f.TextDiv->text() + ' ' + f.LabelFreqAct->text(),
                 "128 255 0,049");              // 25 Hz × 128 / (255 × 256)
        QVERIFY(fx.board->written().isEmpty()); // the settings reach the board with the next start
        f.CWNumEditFreq->setValue(10);
        QCOMPARE(f.LabelFreqAct->text(), "1,961");

        f.CWButtonPWM->click();
        QCOMPARE(enabledButtons(f), "00001");
        f.CWNumEditPWM->setValue(127.5);
        // A running waveform takes a new value without restarting.
        f.CWButtonPWM->click();
        f.CWButtonSin->click();
        f.CWNumEditPWM->setValue(126.5);
        // After the period: manual on; the value (127.5 rounds to even) and manual again; the
        // stop; the value and the sine; the new value (126.5), the sine left running.
        QCOMPARE(fx.board->written().mid(3).toHex(' '),
                 QByteArray("4f 50 80 ff 80 4f 36 46 50 80 ff 80 33 4e 50 7e ff 80"));

        f.EnableActuator->trigger();
        QVERIFY(f.EnableActuator->isChecked() && enabledButtons(f) == "11111");
        fx.board->clearWritten();
        f.EnableActuator->trigger();
        QCOMPARE(fx.board->written(), QByteArray("6F"));
        QVERIFY(!f.EnableActuator->isChecked() && enabledButtons(f) == "00000");
        QVERIFY(f.CWButtonSin->value()); // the button still shows on
    }
};

QTEST_MAIN(BoardLineTest)
#include "test_boardline.moc"
