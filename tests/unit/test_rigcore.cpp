// The pure parts of vemra-rig: what it puts on the line, how it reads the station's
// commands, the signals it plays and its command line. The end-to-end tests trust the
// rig's ground truth, so the truth must be right first.

#include "rig/board.h"
#include "rig/commands.h"
#include "rig/options.h"
#include "rig/record.h"
#include "rig/signalsource.h"
#include "rig/waveform.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace vemra::rig;

Q_DECLARE_METATYPE(vemra::rig::Drive)

namespace {

QByteArray bytesOf(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

std::span<const std::uint8_t> spanOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
}

QStringList described(const std::vector<Command>& commands) {
    QStringList lines;
    for (const Command& command : commands)
        lines << QString::fromStdString(describe(command));
    return lines;
}

bool balanced(const QByteArray& record) {
    int sum = 0;
    for (qsizetype i = 1; i < record.size(); ++i)
        sum += std::uint8_t(record[i]);
    return sum % 256 == 255;
}

} // namespace

class TestRigCore : public QObject {
    Q_OBJECT

private slots:
    void encodesRecords_data();
    void encodesRecords();
    void recordsBalanceForAnyValues_data();
    void recordsBalanceForAnyValues();
    void parsesCommandsHoweverSplit_data();
    void parsesCommandsHoweverSplit();
    void actuatorFrequency_data();
    void actuatorFrequency();
    void wavesAtKnownPhases_data();
    void wavesAtKnownPhases();
    void forceFollowsActuator_data();
    void forceFollowsActuator();
    void samplesDependOnSeedOnly();
    void boardRunsAndFaults_data();
    void boardRunsAndFaults();
    void parsesOptions_data();
    void parsesOptions();
    void refusesOptions_data();
    void refusesOptions();
};

void TestRigCore::encodesRecords_data() {
    QTest::addColumn<int>("lead");
    QTest::addColumn<int>("mask");
    QTest::addColumn<QList<int>>("raw");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("CH0 alone") << 0x55 << 1 << QList<int>{0x0123, 0x0777, 0x0777}
                               << QByteArray::fromHex("552301db");
    QTest::newRow("CH0 and CH2") << 7 << 5 << QList<int>{0x0010, 0x0777, 0x0200}
                                 << QByteArray::fromHex("07100000"
                                                        "02ed");
    QTest::newRow("CH1 alone") << 0 << 2 << QList<int>{0xFFFF, 0x0302, 0xFFFF}
                               << QByteArray::fromHex("000203fa");
    QTest::newRow("no channel") << 9 << 0 << QList<int>{1, 2, 3} << QByteArray::fromHex("09ff");
}

void TestRigCore::encodesRecords() {
    QFETCH(int, lead);
    QFETCH(int, mask);
    QFETCH(QList<int>, raw);
    std::vector<std::uint8_t> out;
    appendRecord(out, std::uint8_t(lead), std::uint8_t(mask),
                 {std::uint16_t(raw[0]), std::uint16_t(raw[1]), std::uint16_t(raw[2])});
    QTEST(bytesOf(out), "record");
}

void TestRigCore::recordsBalanceForAnyValues_data() {
    QTest::addColumn<int>("mask");
    for (int mask = 0; mask < 8; ++mask)
        QTest::addRow("mask %d", mask) << mask;
}

void TestRigCore::recordsBalanceForAnyValues() {
    QFETCH(int, mask);
    QRandomGenerator random(std::uint32_t(mask) + 1);
    for (int round = 0; round < 500; ++round) {
        const Samples raw = {std::uint16_t(random.bounded(65536)),
                             std::uint16_t(random.bounded(65536)),
                             std::uint16_t(random.bounded(65536))};
        std::vector<std::uint8_t> out;
        appendRecord(out, std::uint8_t(round), std::uint8_t(mask), raw);
        const QByteArray record = bytesOf(out);
        QCOMPARE(record.size(), 2 * channelCount(std::uint8_t(mask)) + 2);
        QVERIFY2(balanced(record), record.toHex(' ').constData());
        // Each sample reads back little-endian in channel order.
        int at = 1;
        for (int channel = 0; channel < kChannels; ++channel) {
            if (!(mask & (1 << channel)))
                continue;
            QCOMPARE(std::uint8_t(record[at]) | std::uint8_t(record[at + 1]) << 8,
                     int(raw[std::size_t(channel)]));
            at += 2;
        }
    }
}

void TestRigCore::parsesCommandsHoweverSplit_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("start frame") << QByteArray::fromHex("4305540190"
                                                        "31")
                                 << QStringList{"board: channels mask=5", "board: period 400",
                                                "board: start"};
    QTest::newRow("arguments that look like commands")
        << QByteArray::fromHex("4331"
                               "543031"
                               "30")
        << QStringList{"board: channels mask=49", "board: period 12337", "board: stop"};
    QTest::newRow("actuator") << QByteArray("P\x0a\x01\x80"
                                            "3N"
                                            "O"
                                            "6F",
                                            9)
                              << QStringList{"actuator: parameters A=10 D=1 M=128",
                                             "actuator: sine", "actuator: manual output",
                                             "actuator: stop"};
    QTest::newRow("every shape") << QByteArray("2N4N5N")
                                 << QStringList{"actuator: square", "actuator: triangle",
                                                "actuator: sawtooth"};
    QTest::newRow("unknown bytes")
        << QByteArray::fromHex("41ff0031")
        << QStringList{"board: ignored byte 0x41", "board: ignored byte 0xFF",
                       "board: ignored byte 0x00", "board: start"};
    QTest::newRow("broken pairs") << QByteArray("21"
                                                "6O"
                                                "6N")
                                  << QStringList{
                                         "board: ignored byte 0x32", "board: start",
                                         "board: ignored byte 0x36", "actuator: manual output",
                                         "board: ignored byte 0x36", "board: ignored byte 0x4E"};
}

void TestRigCore::parsesCommandsHoweverSplit() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, commands);

    CommandParser whole;
    QCOMPARE(described(whole.feed(spanOf(bytes))), commands);

    CommandParser byByte;
    std::vector<Command> out;
    for (const char byte : bytes)
        byByte.feed(std::uint8_t(byte), out);
    QCOMPARE(described(out), commands);

    for (qsizetype split = 1; split < bytes.size(); ++split) {
        CommandParser twoReads;
        std::vector<Command> both = twoReads.feed(spanOf(bytes.left(split)));
        const std::vector<Command> second = twoReads.feed(spanOf(bytes.mid(split)));
        both.insert(both.end(), second.begin(), second.end());
        QVERIFY2(described(both) == commands, qPrintable(QString("split at %1").arg(split)));
    }
}

void TestRigCore::actuatorFrequency_data() {
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("prescaler");
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<double>("hertz");
    QTest::newRow("25 Hz sampling") << 400 << 1 << 1 << 25.0 / 256;
    QTest::newRow("fastest multiplier") << 333 << 1 << 128 << 10000.0 / 333 / 2;
    QTest::newRow("prescaled") << 10 << 255 << 2 << 1000.0 * 2 / (255 * 256);
    QTest::newRow("no prescaler") << 400 << 0 << 4 << 0.0;
}

void TestRigCore::actuatorFrequency() {
    QFETCH(int, period);
    QFETCH(int, prescaler);
    QFETCH(int, multiplier);
    QFETCH(double, hertz);
    QCOMPARE(vemra::rig::actuatorFrequency(period, prescaler, multiplier), hertz);
}

void TestRigCore::wavesAtKnownPhases_data() {
    QTest::addColumn<Drive>("drive");
    QTest::addColumn<double>("phase");
    QTest::addColumn<double>("value");
    const struct {
        Drive drive;
        double phase;
        double value;
    } rows[] = {
        {Drive::Sine, 0.0, 0.0},      {Drive::Sine, 0.25, 1.0},       {Drive::Sine, 0.5, 0.0},
        {Drive::Sine, 0.75, -1.0},    {Drive::Sine, 2.25, 1.0},       {Drive::Sine, -0.25, -1.0},
        {Drive::Square, 0.0, 1.0},    {Drive::Square, 0.49, 1.0},     {Drive::Square, 0.5, -1.0},
        {Drive::Square, 0.99, -1.0},  {Drive::Triangle, 0.125, 0.5},  {Drive::Triangle, 0.25, 1.0},
        {Drive::Triangle, 0.5, 0.0},  {Drive::Triangle, 0.875, -0.5}, {Drive::Sawtooth, 0.0, 0.0},
        {Drive::Sawtooth, 0.25, 0.5}, {Drive::Sawtooth, 0.5, -1.0},   {Drive::Sawtooth, 0.75, -0.5},
        {Drive::Manual, 0.3, 1.0},    {Drive::Idle, 0.25, 0.0}};
    for (const auto& row : rows)
        QTest::addRow("%s at %g", driveName(row.drive).data(), row.phase)
            << row.drive << row.phase << row.value;
}

void TestRigCore::wavesAtKnownPhases() {
    QFETCH(Drive, drive);
    QFETCH(double, phase);
    QFETCH(double, value);
    const double actual = wave(drive, phase);
    QVERIFY2(std::abs(actual - value) < 1e-12, qPrintable(QString::number(actual)));
}

void TestRigCore::forceFollowsActuator_data() {
    QTest::addColumn<Drive>("drive");
    QTest::addColumn<int>("amplitude");
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<int>("period");
    QTest::addColumn<QList<double>>("force"); // records 0, 1, 2, 3
    // M / (D × 256) cycles per record whatever the period: M = 64 is a quarter cycle.
    QTest::newRow("sine, quarter cycles")
        << Drive::Sine << 255 << 64 << 100 << QList<double>{512, 912, 512, 112};
    QTest::newRow("same at another period")
        << Drive::Sine << 255 << 64 << 4000 << QList<double>{512, 912, 512, 112};
    QTest::newRow("triangle, eighth cycles")
        << Drive::Triangle << 255 << 32 << 400 << QList<double>{512, 712, 912, 712};
    QTest::newRow("square, fifth amplitude")
        << Drive::Square << 51 << 64 << 400 << QList<double>{592, 592, 432, 432};
    QTest::newRow("manual") << Drive::Manual << 255 << 1 << 400
                            << QList<double>{912, 912, 912, 912};
    QTest::newRow("idle") << Drive::Idle << 255 << 64 << 400 << QList<double>{512, 512, 512, 512};
}

void TestRigCore::forceFollowsActuator() {
    QFETCH(Drive, drive);
    QFETCH(int, amplitude);
    QFETCH(int, multiplier);
    QFETCH(int, period);
    QFETCH(QList<double>, force);
    const SignalSource source(7);
    const Actuator actuator{std::uint8_t(amplitude), 1, std::uint8_t(multiplier), drive};
    for (int index = 0; index < force.size(); ++index) {
        const Samples raw = source.sample(1, std::uint64_t(index), period, actuator);
        // The noise stays within a few counts.
        QVERIFY2(std::abs(raw[0] - force[index]) <= 6,
                 qPrintable(QString("record %1: %2").arg(index).arg(raw[0])));
        QVERIFY(raw[1] <= kAdcMax && raw[2] <= kAdcMax);
    }
}

void TestRigCore::samplesDependOnSeedOnly() {
    const Actuator sine{200, 3, 16, Drive::Sine};
    const SignalSource first(42), again(42), other(43);
    int differing = 0;
    for (std::uint64_t index = 0; index < 200; ++index) {
        const Samples raw = first.sample(2, index, 400, sine);
        QVERIFY(again.sample(2, index, 400, sine) == raw);
        differing += other.sample(2, index, 400, sine) != raw;
    }
    QVERIFY(differing > 100);
}

void TestRigCore::boardRunsAndFaults_data() {
    QTest::addColumn<QByteArrayList>("script"); // bytes for the board, "next N" or "drain"
    QTest::addColumn<QList<int>>("faults");     // bad every, lose at, after stop, vanish at, limit
    QTest::addColumn<QStringList>("truth");     // record lines without their samples
    QTest::newRow("two runs")
        << QByteArrayList{"C\x01", "1", "next 2", "0", "C\x05", "T\x01\x90", "1", "next 1"}
        << QList<int>{0, -1, 0, -1, 0}
        << QStringList{"# start 1 mask=1 period=400", "1 0 0", "1 1 1", "# stop 1 after=2",
                       "# start 2 mask=5 period=400", "2 0 0"};
    QTest::newRow("bad checksums, each run")
        << QByteArrayList{"1", "next 5", "0", "1", "next 3"} << QList<int>{2, -1, 0, -1, 0}
        << QStringList{"# start 1 mask=1 period=400",
                       "1 0 0",
                       "1 1 1 bad",
                       "1 2 2",
                       "1 3 3 bad",
                       "1 4 4",
                       "# stop 1 after=5",
                       "# start 2 mask=1 period=400",
                       "2 0 0",
                       "2 1 1 bad",
                       "2 2 2"};
    QTest::newRow("lost byte") << QByteArrayList{"C\x03", "1", "next 3"}
                               << QList<int>{0, 1, 0, -1, 0}
                               << QStringList{"# start 1 mask=3 period=400", "1 0 0", "1 1 1 lost",
                                              "1 2 2"};
    QTest::newRow("records after the stop")
        << QByteArrayList{"1", "next 2", "0", "drain"} << QList<int>{0, -1, 3, -1, 0}
        << QStringList{"# start 1 mask=1 period=400",
                       "1 0 0",
                       "1 1 1",
                       "# stop 1 after=2",
                       "1 2 2",
                       "1 3 3",
                       "1 4 4"};
    QTest::newRow("period during a run")
        << QByteArrayList{"1", "next 1", QByteArray("T\x00\x0a", 3), "next 1"}
        << QList<int>{0, -1, 0, -1, 0}
        << QStringList{"# start 1 mask=1 period=400", "1 0 0", "# change 1 mask=1 period=10",
                       "1 1 1"};
    QTest::newRow("vanish in the first run")
        << QByteArrayList{"1", "drain"} << QList<int>{0, -1, 0, 2, 0}
        << QStringList{"# start 1 mask=1 period=400", "1 0 0", "1 1 1", "# vanish 1 after=2"};
    QTest::newRow("records limit")
        << QByteArrayList{"1", "drain", "1", "drain"} << QList<int>{0, -1, 0, -1, 1}
        << QStringList{"# start 1 mask=1 period=400", "1 0 0", "# limit 1 after=1",
                       "# start 2 mask=1 period=400", "2 0 0", "# limit 2 after=1"};
}

void TestRigCore::boardRunsAndFaults() {
    QFETCH(QByteArrayList, script);
    QFETCH(QList<int>, faults);
    Faults given;
    given.badChecksumEvery = std::uint64_t(faults[0]);
    if (faults[1] >= 0)
        given.loseByteAt = std::uint64_t(faults[1]);
    given.afterStop = std::uint64_t(faults[2]);
    if (faults[3] >= 0)
        given.vanishAt = std::uint64_t(faults[3]);
    given.recordsLimit = std::uint64_t(faults[4]);

    QStringList truth;
    Board board(
        given, 1, [](const std::string&) {},
        [&](const std::string& line) {
            QStringList words = QString::fromStdString(line).split(' ');
            // A record line keeps run, index, lead and its marks; the samples are noise.
            if (words[0] != "#") {
                const QStringList marks = words.mid(3).filter(QRegularExpression("^[a-z]+$"));
                words = words.mid(0, 3) + marks;
            }
            truth << words.join(' ');
        });
    CommandParser parser;
    std::uint8_t mask = 1;
    const auto nextRecord = [&] {
        std::vector<std::uint8_t> out;
        board.next(out);
        const QByteArray record = bytesOf(out);
        const QString& line = truth.constLast();
        const int full = 2 * channelCount(mask) + 2;
        QCOMPARE(record.size(), line.endsWith(" lost") ? full - 1 : full);
        if (!line.endsWith(" lost"))
            QCOMPARE(balanced(record), !line.endsWith(" bad"));
    };
    for (const QByteArray& step : script) {
        if (step.startsWith("next ")) {
            for (int n = step.mid(5).toInt(); n > 0; --n) {
                QVERIFY(board.streaming());
                nextRecord();
            }
        } else if (step == "drain") {
            for (int guard = 0; board.streaming() && guard < 100; ++guard)
                nextRecord();
            QVERIFY(!board.streaming());
        } else {
            for (const Command& command : parser.feed(spanOf(step))) {
                if (command.kind == CommandKind::Channels)
                    mask = command.mask;
                board.apply(command);
            }
        }
    }
    QTEST(truth, "truth");
    QCOMPARE(board.vanished(), faults[3] >= 0);
}

void TestRigCore::parsesOptions_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("values"); // dir seed fast truth log, then the faults
    const QStringList defaults{".", "1", "0", "", "", "0", "-", "0", "-", "0"};
    QTest::newRow("none") << QStringList{} << defaults;
    const QStringList all{"/tmp/x", "7", "1", "t.txt", "l.txt", "5", "0", "3", "20", "100"};
    QTest::newRow("separate values") << QStringList{"--dir",  "/tmp/x",
                                                    "--seed", "7",
                                                    "--fast", "--truth",
                                                    "t.txt",  "--log",
                                                    "l.txt",  "--bad-checksum-every",
                                                    "5",      "--lose-byte-at",
                                                    "0",      "--after-stop",
                                                    "3",      "--vanish-at",
                                                    "20",     "--records-limit",
                                                    "100"}
                                     << all;
    QTest::newRow("joined values")
        << QStringList{"--dir=/tmp/x",       "--seed=7",       "--fast",
                       "--truth=t.txt",      "--log=l.txt",    "--bad-checksum-every=5",
                       "--lose-byte-at=0",   "--after-stop=3", "--vanish-at=20",
                       "--records-limit=100"}
        << all;
}

void TestRigCore::parsesOptions() {
    QFETCH(QStringList, args);
    std::vector<std::string> arguments;
    for (const QString& arg : args)
        arguments.push_back(arg.toStdString());
    std::string error;
    const auto options = parseOptions(arguments, error);
    QVERIFY2(options, error.c_str());
    const auto text = [](const std::optional<std::uint64_t>& value) {
        return value ? QString::number(*value) : QString("-");
    };
    const Faults& f = options->faults;
    const QStringList values{QString::fromStdString(options->dir),
                             QString::number(options->seed),
                             QString::number(int(options->fast)),
                             QString::fromStdString(options->truthFile),
                             QString::fromStdString(options->logFile),
                             QString::number(f.badChecksumEvery),
                             text(f.loseByteAt),
                             QString::number(f.afterStop),
                             text(f.vanishAt),
                             QString::number(f.recordsLimit)};
    QTEST(values, "values");
    QVERIFY(!options->help);
}

void TestRigCore::refusesOptions_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown") << QStringList{"--slow"} << "unknown option --slow";
    QTest::newRow("positional") << QStringList{"Comm1"} << "unknown option Comm1";
    QTest::newRow("value missing at the end")
        << QStringList{"--fast", "--seed"} << "--seed needs a value";
    QTest::newRow("next option taken for a value")
        << QStringList{"--truth", "--fast"} << "--truth needs a value";
    QTest::newRow("empty joined value") << QStringList{"--dir="} << "--dir needs a value";
    QTest::newRow("value on a switch") << QStringList{"--fast=1"} << "--fast takes no value";
    QTest::newRow("trailing junk") << QStringList{"--seed", "12x"} << "--seed needs a whole number";
    QTest::newRow("negative") << QStringList{"--after-stop=-1"}
                              << "--after-stop needs a whole number";
    QTest::newRow("every 0th record") << QStringList{"--bad-checksum-every", "0"}
                                      << "--bad-checksum-every needs a whole number of at least 1";
    QTest::newRow("limit of 0") << QStringList{"--records-limit", "0"}
                                << "--records-limit needs a whole number of at least 1";
}

void TestRigCore::refusesOptions() {
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    std::vector<std::string> arguments;
    for (const QString& arg : args)
        arguments.push_back(arg.toStdString());
    std::string message;
    QVERIFY(!parseOptions(arguments, message));
    QVERIFY2(QString::fromStdString(message).startsWith(error), message.c_str());
}

QTEST_APPLESS_MAIN(TestRigCore)
#include "test_rigcore.moc"
