// What the rig puts on the line and how it reads the station's commands: the end-to-end
// tests compare the station's results with it.

#include "rig/commands.h"
#include "rig/meter.h"
#include "rig/record.h"

#include <QRegularExpression>
#include <QTest>

using namespace vemra::rig;

class TestRigCore : public QObject {
    Q_OBJECT

    static QByteArray encoded(int lead, int mask, const Samples& raw) {
        std::vector<std::uint8_t> out;
        appendRecord(out, std::uint8_t(lead), std::uint8_t(mask), raw);
        return QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
    }

private slots:
    void encodesRecords_data() {
        QTest::addColumn<int>("lead");
        QTest::addColumn<int>("mask");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("CH0 and CH2") << 7 << 5 << QByteArray("0723010002d9");
        QTest::newRow("high bits ignored") << 7 << 0xFD << QByteArray("0723010002d9");
        QTest::newRow("all three") << 1 << 7 << QByteArray("01230102030002d4");
        QTest::newRow("no channel") << 9 << 0 << QByteArray("09ff");
    }
    void encodesRecords() {
        QFETCH(int, lead);
        QFETCH(int, mask);
        QTEST(encoded(lead, mask, {0x0123, 0x0302, 0x0200}).toHex(), "hex");
    }

    void parsesCommandsHoweverSplit_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("commands");
        QTest::newRow("arguments that look like commands")
            << QByteArray::fromHex("433154303130")
            << "board: channels mask=49, board: period 12337, board: stop";
        QTest::newRow("actuator")
            << QByteArray::fromHex("500a0180") + "3NO6F2N4N5N"
            << "actuator: parameters A=10 D=1 M=128, actuator: sine, actuator: manual output, "
               "actuator: stop, actuator: square, actuator: triangle, actuator: sawtooth";
        QTest::newRow("unknown and broken pairs")
            << QByteArray::fromHex("41ff00") + "216O6N"
            << "board: ignored byte 0x41, board: ignored byte 0xFF, board: ignored byte 0x00, "
               "board: ignored byte 0x32, board: start, board: ignored byte 0x36, "
               "actuator: manual output, board: ignored byte 0x36, board: ignored byte 0x4E";
    }
    void parsesCommandsHoweverSplit() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, commands);
        for (qsizetype split = 0; split < bytes.size(); ++split) {
            CommandParser parser;
            QStringList lines;
            for (const QByteArray& read : {bytes.left(split), bytes.mid(split)})
                for (const Command& command : parser.feed(std::span(
                         reinterpret_cast<const std::uint8_t*>(read.data()), read.size())))
                    lines << QString::fromStdString(describe(command));
            QVERIFY2(lines.join(", ") == commands, qPrintable(QString("split at %1").arg(split)));
        }
    }

    void meterAnswersLikeTheInstrument_data() {
        QTest::addColumn<bool>("faults");
        QTest::newRow("clean") << false;
        QTest::newRow("garbage before reading 0, reading 1 short") << true;
    }
    void meterAnswersLikeTheInstrument() {
        QFETCH(bool, faults);
        std::vector<std::string> truth;
        Meter meter(
            faults ? MeterFaults{1, 0} : MeterFaults{}, 1, [](const std::string&) {},
            [&truth](const std::string& line) { truth.push_back(line); });
        const auto say = [&meter](std::string_view lines) {
            meter.receive(
                std::span(reinterpret_cast<const std::uint8_t*>(lines.data()), lines.size()), 0);
        };
        const auto heard = [&meter](std::int64_t ms) {
            std::vector<std::uint8_t> out;
            meter.send(ms * 1'000'000, out);
            return QString::fromLatin1(reinterpret_cast<const char*>(out.data()), out.size());
        };
        say("SYST:ERR?\r\nFOO:BAR\nsystem:error?\r\nTRIG:SOUR SIDEWAYS\r\nsyst:err?\r\n");
        QCOMPARE(heard(0), "+0,\"No error\"\r\n-113,\"Undefined header\"\r\n"
                           "-224,\"Illegal parameter value\"\r\n");
        say("SYST:REM\r\nCONF:FRES DEF,DEF\r\nTRIG:SOUR EXT\r\nTRIG:COUNT INF\r\nFRES:NPLC 1\r\n"
            "READ?\r\n");
        QCOMPARE(meter.configuration().size(), std::size_t(5));

        // Records every 30 ms; a reading takes 20 ms of integration and 18.3 ms on the line,
        // so records 1 and 3 come while the meter is busy.
        for (std::uint64_t record = 0; record < 4; ++record)
            meter.trigger(1, record, {512, 300, 250}, std::int64_t(record) * 30'000'000);
        QCOMPARE(heard(19), QString());
        const QString readings = heard(90);
        static const QRegularExpression format(R"(^([+-]\d\.\d{8}E[+-]\d\d,){2}$)");
        QVERIFY2(format.match(readings).hasMatch() != faults, qPrintable(readings));
        QCOMPARE(readings.size(), faults ? 47 : 32);
        QCOMPARE(truth.size(), std::size_t(faults ? 3 : 2));
        QVERIFY(QString::fromStdString(truth.back()).startsWith("M 1 2 "));
        QCOMPARE(QString::fromStdString(truth.back()).endsWith(" lost"), faults);

        say("\x03"); // device clear: no more readings
        meter.trigger(1, 4, {512, 300, 250}, 120'000'000);
        QCOMPARE(heard(1000), QString());
    }
};

QTEST_APPLESS_MAIN(TestRigCore)
#include "test_rigcore.moc"
