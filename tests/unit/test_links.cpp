// What crosses the two serial links as pure functions (the start frame, the meter's units and
// lines, the store of its readings) and the rig at their far ends. The decoders have their own.

#include "board/protocol.h"
#include "meter/pace.h"
#include "meter/scpi.h"
#include "rig/board.h"
#include "rig/commands.h"
#include "rig/line.h"
#include "rig/meter.h"
#include "rig/options.h"
#include "run/readingstore.h"
#include "support/records.h"

#include <QtTest>
#include <tuple>

using namespace vemra;
using namespace vemra::board;
using namespace vemra::meter;
using namespace vemra::rig;

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

QByteArray bytesOf(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace

class LinksTest : public QObject {
    Q_OBJECT
private slots:
    // The remainder rounds half to even; the quotient is rounded down.
    void periodBytesRoundAsTheBoardReadsThem_data() {
        QTest::addColumn<int>("mask");
        QTest::addColumn<double>("period");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("64000") << 2 << 64000.0 << QByteArray("430254fa00");
        QTest::newRow("255.5") << 1 << 255.5 << QByteArray("4301540000");
        QTest::newRow("300.5") << 1 << 300.5 << QByteArray("430154012c");
    }
    void periodBytesRoundAsTheBoardReadsThem() {
        QFETCH(int, mask);
        QFETCH(double, period);
        QTEST(channelAndPeriodCommands(std::uint8_t(mask), period).toHex(), "hex");
    }

    void unitsBecomeReadingTexts_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("reading"); // null: "Err Mult!"
        // Taken: positive, negative and small, the overload, anything in the reading's shape
        // (control characters shown as '?': a tab or line end would break the data file's
        // rows). Refused: out of step, an error reply, a line end, one character short.
        const std::pair<const char*, const char*> rows[] = {
            {"+1.23456789E+03,", "+1,23456789E+03"},
            {"-4.50000000E-07,", "-4,50000000E-07"},
            {"+9.90000000E+37,", "+9,90000000E+37"},
            {"x?.abcdefghijkl,", "x?,abcdefghijkl"},
            {"x1.2\t4\r\n789E+03,", "x1,2?4??789E+03"},
            {"23456789E+03,+1.", nullptr},
            {"-113,\"Undefined ", nullptr},
            {"+1.23456789E+03\r", nullptr},
            {"+1.2345678E+03,", nullptr}};
        for (const auto& [unit, reading] : rows)
            QTest::newRow(unit) << QString(unit) << QString(reading);
    }
    void unitsBecomeReadingTexts() {
        QFETCH(QString, unit);
        QFETCH(QString, reading);
        QCOMPARE(readingText(unit).value_or(QString()), reading);
        if (!reading.isNull())
            QCOMPARE(std::isnan(readingValue(reading)), unit.startsWith(u'x'));
    }

    // The rest of the dialogue (line ends, the INIT lines, manual replies) is checked on the
    // wire by the window tests; a character the meter's 8-bit line cannot carry goes as '?'.
    void commandLineIsEightBitText() {
        QCOMPARE(commandLine(u"R\u00e9\u20ac"), QByteArray("R\xe9?\r\n"));
    }

    void storeHoldsReadingsBySlot() {
        ReadingStore store(3);
        QVERIFY(store.set(0, u"+1,23456789E+03"));
        QVERIFY(store.set(2, u"0123456789ABCDEFG")); // cut to 15 characters
        QVERIFY(store.set(1, u"\u00b5\u03a9"));      // Latin-1 kept, the rest '?'
        QCOMPARE(QString(store.text(0)) + '|' + store.text(1) + '|' + store.text(2),
                 QString::fromLatin1("+1,23456789E+03|\xb5?|0123456789ABCDE"));
        QVERIFY(store.set(1, u""));
        QVERIFY(!store.filled(1) && store.filled(2));

        // Nothing is stored or read outside the store.
        for (int slot : {-1, 3, 1 << 30})
            QVERIFY(!store.set(slot, u"x") && !store.filled(slot) && store.text(slot).isEmpty());
        store.cut(5); // never grows
        QCOMPARE(store.size(), 3);
        store.cut(1);
        QVERIFY(store.size() == 1 && store.text(0) == QLatin1StringView("+1,23456789E+03"));
        store.redim(2);
        QVERIFY(store.size() == 2 && !store.filled(0));
    }

    // The rig at the far ends: how it reads the station's commands, what its board samples
    // and how its meter paces the readings. The end-to-end tests take the rig's word for
    // what was sent, so its own rules are pinned here.
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
                for (const Command& command : parser.feed(bytesOf(read.toStdString())))
                    lines << QString::fromStdString(describe(command));
            QVERIFY2(lines.join(", ") == commands, qPrintable(QString("split at %1").arg(split)));
        }
    }

    // Record 1 of a run (CH0 only: lead, sample low and high, checksum: "LabC") with its
    // faults at each offset, the records around it whole, all as the truth tells. The extra
    // byte is the seed's, wherever it goes.
    void boardFaultsAtEveryOffset_data() {
        QTest::addColumn<QString>("marks");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("sent"); // x: the extra byte
        const std::pair<const char*, const char*> faults[] = {
            {" lost", "abC LbC LaC Lab Lab Lab Lab Lab Lab"},
            {" extra", "xLabC LxabC LaxbC LabxC LabCx LabCx LabCx LabCx LabCx"},
            {" lost extra", "xabC LxbC LaxC Labx Labx Labx Labx Labx Labx"}};
        for (const auto& [marks, patterns] : faults) {
            const QStringList sent = QString(patterns).split(' ');
            for (int offset = 0; offset < sent.size(); ++offset)
                QTest::addRow("%s at %d", marks + 1, offset)
                    << QString(marks) << offset << sent[offset];
        }
    }
    void boardFaultsAtEveryOffset() {
        QFETCH(QString, marks);
        QFETCH(int, offset);
        QFETCH(QString, sent);
        QStringList truth;
        const auto records = [&truth](bool lose, bool extra, int offset) {
            Faults faults;
            faults.faultOffset = std::uint64_t(offset);
            faults.loseByteAt = lose ? std::optional<std::uint64_t>(1) : std::nullopt;
            faults.extraByteAt = extra ? std::optional<std::uint64_t>(1) : std::nullopt;
            truth.clear();
            Board board(
                faults, 5, [](const std::string&) {},
                [&truth](const std::string& line) { truth << QString::fromStdString(line); });
            board.apply({CommandKind::Channels, 1});
            board.apply({CommandKind::Start});
            std::vector<std::uint8_t> bytes;
            for (int record = 0; record < 3; ++record)
                board.next(bytes);
            return bytesOf(bytes);
        };
        const char extraByte = records(false, true, 0).at(4);
        const QByteArray bytes = records(marks.contains("lost"), marks.contains("extra"), offset);

        QByteArray expected;
        for (int record = 0; record < 3; ++record) {
            const QStringList fields = truth[record + 1].split(' ');
            QCOMPARE(QStringList(fields.mid(4)).join(' '), record == 1 ? marks.mid(1) : "");
            std::vector<std::uint8_t> whole;
            appendRecord(whole, std::uint8_t(fields[2].toInt()), 1, {fields[3].toUShort()});
            for (const QChar c : record == 1 ? sent : QString("LabC"))
                expected += c == 'x' ? extraByte : char(whole.at(QString("LabC").indexOf(c)));
        }
        QCOMPARE(bytes, expected);
    }

    // A byte reaches the station once its last stop bit is through, never earlier; bytes
    // handed over while the line is busy wait for it.
    void lineKeepsItsPace_data() {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QList<qint64>>("pushes");  // at (ns), byte count; ...
        QTest::addColumn<QList<qint64>>("through"); // each byte in turn (ns)
        QTest::newRow("board record, 8N1")
            << 115200 << 10 << QList<qint64>{5000, 3} << QList<qint64>{91806, 178612, 265417};
        QTest::newRow("meter reply behind a reading, 8N2")
            << 9600 << 11 << QList<qint64>{20'000'000, 2, 1'000'000, 1}
            << QList<qint64>{21'145'834, 22'291'667, 23'437'501};
        QTest::newRow("idle line between bursts")
            << 115200 << 10 << QList<qint64>{0, 1, 10'000'000, 1}
            << QList<qint64>{86806, 10'086'806};
    }
    void lineKeepsItsPace() {
        QFETCH(int, baud);
        QFETCH(int, bits);
        QFETCH(QList<qint64>, pushes);
        QFETCH(QList<qint64>, through);
        Line line(baud, bits);
        std::uint8_t next = 0;
        for (qsizetype i = 0; i < pushes.size(); i += 2) {
            std::vector<std::uint8_t> bytes(std::size_t(pushes[i + 1]));
            for (std::uint8_t& byte : bytes)
                byte = next++;
            line.push(bytes, pushes[i]);
        }
        std::vector<std::uint8_t> out;
        for (qsizetype k = 0; k < through.size(); ++k) {
            QCOMPARE(line.nextDueNs(), std::optional<std::int64_t>(through[k]));
            line.take(through[k] - 1, out);
            QCOMPARE(out.size(), std::size_t(k));
            line.take(through[k], out);
            QVERIFY(out.size() == std::size_t(k + 1) && out.back() == k);
        }
        QVERIFY(line.empty() && !line.nextDueNs());
    }

    // The meter's pace decides which record each reading belongs to: records a hair slower
    // than the station's reckoning all get one, a hair faster every other one. A record that
    // comes while ZERO:AUTO ONCE zeroes gets none; none after a device clear. The readings'
    // text and the faults are checked against the station in the rig runs.
    void meterReadsOncePerTriggerWhenNotBusy_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("lineHz");
        QTest::addColumn<QString>("slower"); // the records read
        QTest::addColumn<QString>("faster");
        const QStringList station{"CONF:FRES DEF,DEF", "TRIG:SOUR EXT", "TRIG:COUNT INF",
                                  "FRES:NPLC 1"};
        const QStringList trigger{"TRIG:SOUR EXT", "TRIG:COUN INF"};
        const auto row = [](const char* name, const QStringList& lines, int hz,
                            const char* slower = "0 1 2 3 4 5", const char* faster = "0 2 4") {
            QTest::newRow(name) << lines << hz << QString(slower) << QString(faster);
        };
        row("the station's lines", station, 50);
        row("the station's lines at 60 Hz", station, 60);
        row("autozero off", station + QStringList{"ZERO:AUTO OFF"}, 50);
        row("autozero once", station + QStringList{"SENS:ZERO:AUTO ONCE"}, 50, "1 2 3 4 5",
            "1 3 5");
        row("the 1 MΩ range",
            QStringList{"CONF:RES 1E6,DEF"} + trigger + QStringList{"RES:NPLC .02"}, 50);
        row("the 10 MΩ range", QStringList{"CONF:FRES", "FRES:RANG 10E6"} + trigger, 60);
        row("a fixed trigger delay", station + QStringList{"TRIG:DEL 0.05"}, 50);
        row("the automatic delay again", station + QStringList{"TRIG:DEL 0.05", "TRIG:DEL:AUTO ON"},
            50);
        row("volts on the 1000 V range",
            QStringList{"CONF:VOLT:DC 1000,DEF"} + trigger + QStringList{"VOLT:DC:NPLC 0.2"}, 60);
    }
    void meterReadsOncePerTriggerWhenNotBusy() {
        QFETCH(QStringList, lines);
        QFETCH(int, lineHz);
        QFETCH(QString, slower);
        QFETCH(QString, faster);
        std::vector<std::string> text;
        for (const QString& line : lines)
            text.push_back(line.toStdString());
        const auto setting = settingFromLines(text);
        QVERIFY(setting);
        const double reading = readingSeconds(*setting, lineHz);
        for (const auto& [seconds, read] :
             {std::pair(reading + 1e-4, slower), std::pair(reading - 1e-4, faster)}) {
            QStringList records;
            Meter meter(
                {}, lineHz, 1, [](const std::string&) {},
                [&records](const std::string& line) {
                    records << QString::fromStdString(line).section(' ', 2, 2);
                });
            meter.receive(bytesOf((lines.join("\r\n") + "\r\nREAD?\r\n").toStdString()), 0);
            for (std::uint64_t record = 0; record < 6; ++record)
                meter.trigger(1, record, {512, 300, 250}, std::llround(record * seconds * 1e9));
            meter.receive(bytesOf("\x03"), 0);
            meter.trigger(1, 6, {512, 300, 250}, std::llround(60 * seconds * 1e9));
            QCOMPARE(records.join(' '), read);
        }
    }

    // Reading 1 of three, the force swinging about its middle, with the meter's faults, as the
    // line carries it and as the truth tells: in `sent`, a hex digit is the clean unit's
    // character at that place ('f' is its ','), '*' what went in, as long as the notes say.
    void meterFaultsInTheUnit_data() {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("marks");
        QTest::addColumn<QStringList>("notes");
        // The notes of the truth, each "# meter " and what follows, apart by '|'.
        const std::tuple<const char*, const char*, const char*, const char*, const char*> rows[] = {
            {"overload", "--meter-overload-at 1", "0123456789abcdef", " overload", ""},
            {"lost character", "--meter-lose-char-at 1", "012356789abcdef", " lost", ""},
            {"lost first character", "--meter-lose-char-at 1 --meter-char-offset 0",
             "123456789abcdef", " lost", ""},
            {"lost character past the ','", "--meter-lose-char-at 1 --meter-char-offset 16",
             "0123456789abcde", " lost", ""},
            {"lost comma", "--meter-lose-comma-at 1", "0123456789abcde", " lost-comma", ""},
            {"garbage before", "--meter-garbage-at 1", "*0123456789abcdef", "",
             "garbage 1 before=1"},
            {"reply inside", "--meter-reply-at 1 --meter-char-offset 9", "012345678*9abcdef",
             " broken", "reply 1 before=1"},
            {"long junk after the ','",
             "--meter-junk-at 1 --meter-junk-length 4096 --meter-char-offset 16",
             "0123456789abcdef*", "", "junk 1 before=1 length=4096"},
            {"all at one place",
             "--meter-lose-char-at 1 --meter-lose-comma-at 1 --meter-garbage-at 1 "
             "--meter-reply-at 1 --meter-junk-at 1 --meter-junk-length 3 --meter-char-offset 7",
             "0123456*89abcde", " lost lost-comma broken",
             "garbage 1 before=1|reply 1 before=1|junk 1 before=1 length=3"}};
        for (const auto& [name, options, sent, marks, notes] : rows)
            QTest::newRow(name) << QString(options) << QString(sent) << QString(marks)
                                << QString(notes)
                                       .split('|', Qt::SkipEmptyParts)
                                       .replaceInStrings(QRegularExpression("^"), "# meter ");
    }
    void meterFaultsInTheUnit() {
        QFETCH(QString, options);
        QFETCH(QString, sent);
        QFETCH(QString, marks);
        QFETCH(QStringList, notes);
        std::vector<std::string> args;
        for (const QString& arg : options.split(' '))
            args.push_back(arg.toStdString());
        std::string error;
        const auto parsed = parseOptions(args, error);
        QVERIFY2(parsed, error.c_str());
        QStringList truth;
        Meter meter(
            parsed->meterFaults, double(parsed->lineHz), 1, [](const std::string&) {},
            [&truth](const std::string& line) { truth << QString::fromStdString(line); });
        meter.receive(bytesOf("CONF:VOLT:DC\nTRIG:SOUR EXT\nTRIG:COUN INF\nREAD?\n"), 0);
        const std::uint16_t force[] = {400, 512, 624};
        for (std::uint64_t record = 0; record < 3; ++record)
            meter.trigger(1, record, {force[record], 300, 250},
                          std::int64_t(record) * 1'000'000'000);
        std::vector<std::uint8_t> out;
        meter.send(std::int64_t(10) * 1'000'000'000, out);
        const QByteArray stream = bytesOf(out);

        QCOMPARE(truth.filter(QRegularExpression("^#")), notes);
        QByteArray units[3];
        for (const QString& line : truth.filter(QRegularExpression("^M "))) {
            const QStringList fields = line.split(' ');
            const int reading = fields[2].toInt();
            QCOMPARE(QStringList(fields.mid(4)).join(' '), reading == 1 ? marks.mid(1) : "");
            units[reading] = fields[3].toLatin1() + ',';
        }
        // Volts either side of zero, and the overload a test can ask for.
        static const QRegularExpression volts("^[-+][1-9]\\.\\d{8}E\\+00,$");
        QVERIFY(volts.match(QString::fromLatin1(units[0])).hasMatch() && units[0][0] == '-');
        QVERIFY(volts.match(QString::fromLatin1(units[2])).hasMatch() && units[2][0] == '+');
        QCOMPARE(units[1] == "+9.90000000E+37,", marks.contains("overload"));
        const qsizetype star = sent.indexOf(u'*');
        const QByteArray in =
            star < 0 ? QByteArray() : stream.mid(16 + star, stream.size() - 32 - sent.size() + 1);
        qsizetype inLength = 0, replies = 0;
        for (const QString& note : notes) {
            inLength += note.contains("garbage") ? 16 : note.contains("reply") ? 15 : 0;
            inLength += note.section('=', 2).toInt();
            replies += note.contains("reply");
        }
        QByteArray expected = units[0];
        for (const QChar c : sent)
            expected += c == '*' ? in : units[1].mid(QString("0123456789abcdef").indexOf(c), 1);
        QCOMPARE(stream, expected + units[2]);
        QCOMPARE(in.size(), inLength);
        QCOMPARE(in.count(',') + in.count('\r') + in.count('\n'), 3 * replies);
        QVERIFY(replies == 0 || in.contains("+0,\"No error\"\r\n"));
    }
};

QTEST_APPLESS_MAIN(LinksTest)
#include "test_links.moc"
