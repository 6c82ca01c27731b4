// The actuator panel from the operator's side: bytes on the board's line in order, and
// which buttons can be used.

#include "support/formfixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

namespace {

QList<bool> enabledButtons(const Form1& f) {
    return {f.CWButtonSin->isEnabled(), f.CWButtonSquare->isEnabled(),
            f.CWButtonTriangle->isEnabled(), f.CWButtonSawtoot->isEnabled(),
            f.CWButtonPWM->isEnabled()};
}

} // namespace

class ActuatorTest : public QObject {
    Q_OBJECT
private slots:
    void waveformStartsAndStops_data();
    void waveformStartsAndStops();
    void manualOutput();
    void maxValueWhileWaveformRuns();
    void closedPortSendsNothingButButtonsFollow();
    void enableActuatorMenu();
    void frequencySettings();
};

void ActuatorTest::waveformStartsAndStops_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<char>("start");
    QTest::newRow("Sin") << "CWButtonSin" << '3';
    QTest::newRow("Square") << "CWButtonSquare" << '2';
    QTest::newRow("Triangle") << "CWButtonTriangle" << '4';
    QTest::newRow("Sawtooth") << "CWButtonSawtoot" << '5';
}

void ActuatorTest::waveformStartsAndStops() {
    QFETCH(QString, button);
    QFETCH(char, start);
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CWNumEditPWM->setValue(200);
    f.CWNumEditMulPeriod->setValue(3);
    f.CWNumEditMulFreq->setValue(4);
    fx.board->clearWritten();
    auto* b = f.findChild<TwoStateButton*>(button);

    b->click();
    QCOMPARE(fx.board->written(), QByteArray("P\xC8\x03\x10", 4) + start + 'N');
    const QList<bool> enabled = enabledButtons(f);
    QCOMPARE(enabled.count(true), 1);
    QVERIFY(b->isEnabled());

    fx.board->clearWritten();
    b->click();
    QCOMPARE(fx.board->written(), QByteArray("6F"));
    QCOMPARE(enabledButtons(f), (QList<bool>{true, true, true, true, true}));
}

void ActuatorTest::manualOutput() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    fx.board->clearWritten();
    f.CWButtonPWM->click();
    QCOMPARE(fx.board->written(), QByteArray("O"));
    QCOMPARE(enabledButtons(f), (QList<bool>{false, false, false, false, true}));
    fx.board->clearWritten();
    f.CWNumEditPWM->setValue(127.5);
    QCOMPARE(fx.board->written(), QByteArray("P\x80\x01\x01O", 5));
}

void ActuatorTest::maxValueWhileWaveformRuns() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CWButtonSin->click();
    fx.board->clearWritten();
    f.CWNumEditPWM->setValue(126.5);
    QCOMPARE(fx.board->written(), QByteArray("P\x7E\x01\x01", 4));
}

void ActuatorTest::closedPortSendsNothingButButtonsFollow() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CWButtonTriangle->click();
    QCOMPARE(enabledButtons(f), (QList<bool>{false, false, true, false, false}));
    f.CWButtonTriangle->click();
    QCOMPARE(enabledButtons(f), (QList<bool>{true, true, true, true, true}));
    QVERIFY(fx.board->written().isEmpty());
}

void ActuatorTest::enableActuatorMenu() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.EnableActuator->trigger();
    QVERIFY(f.EnableActuator->isChecked());
    QCOMPARE(enabledButtons(f), (QList<bool>{true, true, true, true, true}));
    f.CWButtonSin->click();
    fx.board->clearWritten();
    f.EnableActuator->trigger();
    QVERIFY(!f.EnableActuator->isChecked());
    QCOMPARE(fx.board->written(), QByteArray("6F"));
    QCOMPARE(enabledButtons(f), (QList<bool>{false, false, false, false, false}));
    QVERIFY(f.CWButtonSin->value()); // the button still shows on
}

void ActuatorTest::frequencySettings() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    fx.board->clearWritten();
    QStringList multipliers;
    for (int n = 1; n <= 7; ++n) {
        f.CWNumEditMulFreq->setValue(n);
        multipliers << f.TextMul->text();
    }
    QCOMPARE(multipliers, (QStringList{"2", "4", "8", "16", "32", "64", "128"}));
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("12,500"));
    f.CWNumEditMulPeriod->setValue(255);
    QCOMPARE(f.TextDiv->text(), QStringLiteral("255"));
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("0,049"));
    QVERIFY(fx.board->written().isEmpty()); // the settings reach the board with the next start
    f.CWNumEditMulPeriod->setValue(1);
    f.CWNumEditFreq->setValue(10);
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("500,000"));
}

QTEST_MAIN(ActuatorTest)
#include "test_actuator.moc"
