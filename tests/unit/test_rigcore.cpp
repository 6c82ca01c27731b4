// How the rig reads the station's commands, what its board samples and how its meter paces
// the readings: the end-to-end tests take the rig's word for what was sent, so its own rules
// are pinned here.

#include "rig/commands.h"
#include "rig/meter.h"
#include "rig/signalsource.h"

#include <QTest>

using namespace vemra::rig;

class TestRigCore : public QObject {
    Q_OBJECT

private slots:
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

    // The meter's pace decides which record each reading belongs to; the readings' text and
    // the injected faults are checked against the station in the rig runs.
    void meterReadsOncePerTriggerWhenNotBusy() {
        std::vector<std::string> truth;
        Meter meter(
            {}, 1, [](const std::string&) {},
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
        say("SYST:REM\r\nCONF:FRES DEF,DEF\r\nTRIG:SOUR EXT\r\nTRIG:COUNT INF\r\nFRES:NPLC 1\r\n"
            "READ?\r\n");

        // Records every 30 ms; a reading takes 20 ms of integration and 18.3 ms on the line,
        // so records 1 and 3 come while the meter is busy.
        for (std::uint64_t record = 0; record < 4; ++record)
            meter.trigger(1, record, {512, 300, 250}, std::int64_t(record) * 30'000'000);
        QCOMPARE(heard(19), QString());
        QCOMPARE(heard(90).count(u','), 2);
        QCOMPARE(truth.size(), std::size_t(2));
        QVERIFY(QString::fromStdString(truth.back()).startsWith("M 1 2 "));

        say("\x03"); // device clear: no more readings
        meter.trigger(1, 4, {512, 300, 250}, 120'000'000);
        QCOMPARE(heard(1000), QString());
    }

    // The force the rig's board samples follows the actuator the station drives: still when
    // idle, swinging over most of the range with a full-amplitude sine (about 3 Hz here).
    void forceFollowsTheActuator() {
        Actuator actuator{255, 10, 8, Drive::Idle};
        const auto swing = [&actuator] {
            double low = 1e9, high = -1e9;
            for (int record = 0; record < 1000; ++record) {
                const double force = SignalSource::force(record / 1000.0, 10, actuator);
                low = std::min(low, force);
                high = std::max(high, force);
            }
            return high - low;
        };
        QCOMPARE(swing(), 0.0);
        actuator.drive = Drive::Sine;
        QVERIFY(swing() > 600);
    }
};

QTEST_APPLESS_MAIN(TestRigCore)
#include "test_rigcore.moc"
