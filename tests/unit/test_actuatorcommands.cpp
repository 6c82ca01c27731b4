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
    void parameters_data() {
        QTest::addColumn<double>("maxValue");
        QTest::addColumn<QStringList>("boxes"); // prescaler and multiplier texts
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("full") << 255.0 << QStringList{"255", "128"} << QByteArray("50ffff80");
        QTest::newRow("127.5 rounds up to even")
            << 127.5 << QStringList{"12", "8"} << QByteArray("50800c08");
        QTest::newRow("126.5 rounds down to even")
            << 126.5 << QStringList{"1,5", "2.5"} << QByteArray("507e0202");
        QTest::newRow("not numbers") << 10.0 << QStringList{"", "x"} << QByteArray("500a0000");
    }
    void parameters() {
        QFETCH(double, maxValue);
        QFETCH(QStringList, boxes);
        QTEST(parametersCommand(maxValue, boxes[0], boxes[1]).toHex(), "hex");
    }

    void frequency_data() {
        QTest::addColumn<QString>("sampling"); // as "Frequency (Hz)" shows it
        QTest::addColumn<double>("multiplier");
        QTest::addColumn<double>("prescaler");
        QTest::addColumn<QString>("shown");
        QTest::newRow("design") << "25,000" << 1.0 << 1.0 << "0,098";
        QTest::newRow("from the shown frequency") << "30,030" << 128.0 << 1.0 << "15,015";
        QTest::newRow("prescaler zero") << "25,000" << 1.0 << 0.0 << "0,000";
    }
    void frequency() {
        QFETCH(QString, sampling);
        QFETCH(double, multiplier);
        QFETCH(double, prescaler);
        QTEST(fixed3Text(actuatorFrequency(numericValue(sampling), multiplier, prescaler)),
              "shown");
    }
};

QTEST_APPLESS_MAIN(ActuatorCommandsTest)
#include "test_actuatorcommands.moc"
