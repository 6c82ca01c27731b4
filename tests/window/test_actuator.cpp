// The actuator panel from the operator's side: bytes on the board's line in order, and
// which buttons can be used.

#include "support/formfixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

using namespace vemra;
using namespace vemra::test;

namespace {

// Sin, Square, Triangle, Sawtooth, manual: 1 enabled, 0 not.
QString enabledButtons(const Form1& f) {
    QString out;
    for (const TwoStateButton* b :
         {f.CWButtonSin, f.CWButtonSquare, f.CWButtonTriangle, f.CWButtonSawtoot, f.CWButtonPWM})
        out += b->isEnabled() ? u'1' : u'0';
    return out;
}

} // namespace

class ActuatorTest : public QObject {
    Q_OBJECT
private slots:
    void waveformStartsAndStops_data();
    void waveformStartsAndStops();
    void frequencyManualOutputAndEnable();
};

void ActuatorTest::waveformStartsAndStops_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<char>("start"); // 0: no port chosen
    QTest::newRow("Sin") << "CWButtonSin" << '3';
    QTest::newRow("Square") << "CWButtonSquare" << '2';
    QTest::newRow("Triangle") << "CWButtonTriangle" << '4';
    QTest::newRow("Sawtooth") << "CWButtonSawtoot" << '5';
    QTest::newRow("closed port") << "CWButtonTriangle" << '\0';
}

void ActuatorTest::waveformStartsAndStops() {
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
    QCOMPARE(enabledButtons(f).count(u'1'), 1);
    QVERIFY(b->isEnabled());

    fx.board->clearWritten();
    b->click();
    QCOMPARE(fx.board->written(), start ? QByteArray("6F") : QByteArray());
    QCOMPARE(enabledButtons(f), QStringLiteral("11111"));
}

void ActuatorTest::frequencyManualOutputAndEnable() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    fx.board->clearWritten();
    f.CWNumEditMulFreq->setValue(7);
    f.CWNumEditMulPeriod->setValue(255);
    QCOMPARE(f.TextMul->text(), QStringLiteral("128"));
    QCOMPARE(f.TextDiv->text(), QStringLiteral("255"));
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("0,049")); // 25 Hz × 128 / (255 × 256)
    QVERIFY(fx.board->written().isEmpty()); // the settings reach the board with the next start
    f.CWNumEditFreq->setValue(10);
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("1,961"));

    fx.board->clearWritten();
    f.CWButtonPWM->click();
    QCOMPARE(fx.board->written(), QByteArray("O"));
    QCOMPARE(enabledButtons(f), QStringLiteral("00001"));
    fx.board->clearWritten();
    f.CWNumEditPWM->setValue(127.5);
    QCOMPARE(fx.board->written(), bytes({'P', 0x80, 255, 128, 'O'}));

    // A running waveform takes a new value without restarting.
    f.CWButtonPWM->click();
    f.CWButtonSin->click();
    fx.board->clearWritten();
    f.CWNumEditPWM->setValue(126.5);
    QCOMPARE(fx.board->written(), bytes({'P', 0x7E, 255, 128}));

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

QTEST_MAIN(ActuatorTest)
#include "test_actuator.moc"
