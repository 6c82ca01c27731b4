// What the rig puts on the line and how it reads the station's commands: the end-to-end
// tests compare the station's results with it.

#include "rig/commands.h"
#include "rig/record.h"

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
};

QTEST_APPLESS_MAIN(TestRigCore)
#include "test_rigcore.moc"
