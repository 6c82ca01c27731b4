// The actuator panel from the operator's side: bytes on the board's line in order, and
// which buttons can be used.

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

class ActuatorTest : public QObject {
    Q_OBJECT
private slots:
    void waveformStartsAndStops_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<char>("start"); // 0: no port chosen
        QTest::newRow("Sin") << "CWButtonSin" << '3';
        QTest::newRow("Square") << "CWButtonSquare" << '2';
        QTest::newRow("Triangle") << "CWButtonTriangle" << '4';
        QTest::newRow("Sawtooth") << "CWButtonSawtoot" << '5';
        QTest::newRow("closed port") << "CWButtonTriangle" << '\0';
    }
    void waveformStartsAndStops() {
        QFETCH(QString, button);
        QFETCH(char, start);
        FormFixture fx;
        Form1& f = fx.start();
        if (start)
            fx.chooseBoardPort(1);
        f.CWNumEditPWM->setValue(200);
        f.CWNumEditMulPeriod->setValue(3);
        f.CWNumEditMulFreq->setValue(4);
        fx.board->clearWritten();
        auto* b = f.findChild<TwoStateButton*>(button);

        b->click();
        QCOMPARE(fx.board->written(), start ? bytes({'P', 200, 3, 16, start, 'N'}) : QByteArray());
        QVERIFY(enabledButtons(f).count(u'1') == 1 && b->isEnabled());
        fx.board->clearWritten();
        b->click();
        QCOMPARE(fx.board->written(), start ? QByteArray("6F") : QByteArray());
        QCOMPARE(enabledButtons(f), QStringLiteral("11111"));
    }

    void frequencyManualOutputAndEnable() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.chooseBoardPort(1);
        fx.board->clearWritten();
        f.CWNumEditMulFreq->setValue(7);
        f.CWNumEditMulPeriod->setValue(255);
        QCOMPARE(f.TextMul->text() + ' ' + f.TextDiv->text() + ' ' + f.LabelFreqAct->text(),
                 QStringLiteral("128 255 0,049")); // 25 Hz × 128 / (255 × 256)
        QVERIFY(fx.board->written().isEmpty()); // the settings reach the board with the next start
        f.CWNumEditFreq->setValue(10);
        QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("1,961"));

        f.CWButtonPWM->click();
        QCOMPARE(enabledButtons(f), QStringLiteral("00001"));
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
        QVERIFY(f.EnableActuator->isChecked());
        QCOMPARE(enabledButtons(f), QStringLiteral("11111"));
        fx.board->clearWritten();
        f.EnableActuator->trigger();
        QVERIFY(!f.EnableActuator->isChecked());
        QCOMPARE(fx.board->written(), QByteArray("6F"));
        QCOMPARE(enabledButtons(f), QStringLiteral("00000"));
        QVERIFY(f.CWButtonSin->value()); // the button still shows on
    }
};

QTEST_MAIN(ActuatorTest)
#include "test_actuator.moc"
