// The actuator's bytes and frequency.

#include "actuator/commands.h"
#include "actuator/frequency.h"
#include "common/numbertext.h"

#include <QtTest>

using namespace vemra;
using namespace vemra::actuator;

class ActuatorCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void parameters_data();
    void parameters();
    void frequency_data();
    void frequency();
};

void ActuatorCommandsTest::parameters_data() {
    QTest::addColumn<double>("maxValue");
    QTest::addColumn<QString>("prescaler");
    QTest::addColumn<QString>("multiplier");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("design") << 0.0 << "1"
                            << "1" << QByteArray("P\x00\x01\x01", 4);
    QTest::newRow("full") << 255.0 << "255"
                          << "128" << QByteArray("P\xFF\xFF\x80", 4);
    QTest::newRow("127.5 rounds up to even") << 127.5 << "12"
                                             << "8" << QByteArray("P\x80\x0C\x08", 4);
    QTest::newRow("126.5 rounds down to even") << 126.5 << "1"
                                               << "2" << QByteArray("P\x7E\x01\x02", 4);
    QTest::newRow("prescaler not a number") << 10.0 << ""
                                            << "x" << QByteArray("P\x0A\x00\x00", 4);
}

void ActuatorCommandsTest::parameters() {
    QFETCH(double, maxValue);
    QFETCH(QString, prescaler);
    QFETCH(QString, multiplier);
    QFETCH(QByteArray, bytes);
    QCOMPARE(parametersCommand(maxValue, prescaler, multiplier).toHex(' '), bytes.toHex(' '));
    QCOMPARE(startCommand(Waveform::Sine), QByteArray("3N"));
    QCOMPARE(startCommand(Waveform::Square), QByteArray("2N"));
    QCOMPARE(startCommand(Waveform::Triangle), QByteArray("4N"));
    QCOMPARE(startCommand(Waveform::Sawtooth), QByteArray("5N"));
    QCOMPARE(stopCommand(), QByteArray("6F"));
}

void ActuatorCommandsTest::frequency_data() {
    QTest::addColumn<QString>("sampling"); // as "Frequency (Hz)" shows it
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<double>("prescaler");
    QTest::addColumn<QString>("shown");
    QTest::newRow("design") << "25,000" << 1.0 << 1.0 << "0,098";
    QTest::newRow("x128") << "25,000" << 128.0 << 1.0 << "12,500";
    QTest::newRow("fastest") << "1000,000" << 128.0 << 1.0 << "500,000";
    QTest::newRow("slowest") << "25,000" << 1.0 << 255.0 << "0,000";
    QTest::newRow("from the shown frequency") << "30,030" << 128.0 << 1.0 << "15,015";
    QTest::newRow("prescaler zero") << "25,000" << 1.0 << 0.0 << "0,000";
}

void ActuatorCommandsTest::frequency() {
    QFETCH(QString, sampling);
    QFETCH(double, multiplier);
    QFETCH(double, prescaler);
    QFETCH(QString, shown);
    QCOMPARE(fixed3Text(actuatorFrequency(numericValue(sampling), multiplier, prescaler)), shown);
}

QTEST_APPLESS_MAIN(ActuatorCommandsTest)
#include "test_actuatorcommands.moc"
