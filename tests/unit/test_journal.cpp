// A run's journal: what a reader keeps of a file a crash cut short or a disk damaged, what it
// refuses, the text fields, and the rig's replay of a journal on the two lines.

#include "journal/format.h"
#include "rig/replay.h"

#include <QtTest>

using namespace vemra::journal;
using vemra::rig::Port;
using vemra::rig::Replay;

namespace {

// One chunk of every type and one of a later version's, with the offset each ends at.
struct Sample {
    std::vector<Chunk> chunks{
        {ChunkType::Header, 1000, encodeFields({{"program", "Vemra Measurement 1.4"}})},
        {ChunkType::MeterAtStart, 1000, "+1.0E+00,"},
        {ChunkType::Board, 41000, std::string("\x55\x00\x02\xfd", 4)},
        {ChunkType::Meter, 52000, "\xb5+1.00012345E+03,"},
        {ChunkType::Overrun, 60000, encodeFields({{"bytes", "700"}})},
        {ChunkType::InputCleared, 61000, ""},
        {ChunkType::Stop, 90000, encodeFields({{"mask", "1"}, {"meter", "1"}, {"step", "40"}})},
        {ChunkType::Board, 91000, std::string(300, '\x55')},
        {ChunkType::Resume, 92000, std::string("\0\xff", 2)},
        {ChunkType{200}, 93000, "later"},
        {ChunkType::Saved, 99000, encodeFields({{"file", "VemraRun 1-2 3-4-5.txt"}})},
    };
    std::string file = fileStart();
    std::vector<std::size_t> ends;
    Sample() {
        for (const Chunk& chunk : chunks) {
            appendChunk(file, chunk.type, chunk.timeUs, chunk.bytes);
            ends.push_back(file.size());
        }
    }
    std::vector<Chunk> first(std::size_t count) const {
        return {chunks.begin(), chunks.begin() + std::ptrdiff_t(count)};
    }
};

} // namespace

class JournalTest : public QObject {
    Q_OBJECT
private slots:
    // The layout other readers rely on: little-endian fields and zlib's CRC-32.
    void layoutIsLittleEndianWithZlibCrc() {
        std::string file = fileStart();
        appendChunk(file, ChunkType::Board, 0x0102030405060708, "\x55\xaa");
        QCOMPARE(QByteArray::fromStdString(file).toHex(),
                 QByteArray("56454d52414a4e4c0100000002080706050403020102000000"
                            "55aa207126c7"));
        QCOMPARE(crc32("56789", crc32("1234")), 0xCBF43926u);
    }

    // Cut anywhere, a journal gives every chunk that was whole before the cut and nothing of
    // the one the cut went through.
    void tornTailKeepsEveryWholeChunk() {
        const Sample sample;
        for (std::size_t cut = 0; cut <= sample.file.size(); ++cut) {
            const Journal read = readJournal(std::string_view(sample.file).substr(0, cut));
            std::size_t whole = 0;
            while (whole < sample.ends.size() && sample.ends[whole] <= cut)
                ++whole;
            const std::size_t good = cut < kFileStartSize ? 0
                                     : whole              ? sample.ends[whole - 1]
                                                          : kFileStartSize;
            QVERIFY(read.refused.empty());
            QCOMPARE(read.goodBytes, good);
            QCOMPARE(read.totalBytes, cut);
            QCOMPARE(read.damage.empty(), cut == good);
            QVERIFY(read.chunks == sample.first(whole));
        }
    }

    // One bit flipped anywhere in a chunk (type, time, length, bytes or CRC) ends the reading
    // before that chunk.
    void flippedBitStopsBeforeItsChunk() {
        const Sample sample;
        const std::size_t from = sample.ends[5], to = sample.ends[6];
        for (std::size_t bit = from * 8; bit < to * 8; ++bit) {
            std::string file = sample.file;
            file[bit / 8] = char(file[bit / 8] ^ (1 << bit % 8));
            const Journal read = readJournal(file);
            QCOMPARE(read.goodBytes, from);
            QVERIFY(read.damage.find("at byte " + std::to_string(from)) != std::string::npos);
            QVERIFY(read.chunks == sample.first(6));
        }
    }

    void refusesWhatItCannotRead_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("refused");
        std::string newer("VEMRAJNL\x02\0\0\0", 12);
        appendChunk(newer, ChunkType::Board, 5, "\x55");
        QTest::newRow("newer station")
            << QByteArray::fromStdString(newer) << "made by a newer station: journal version 2";
        QTest::newRow("data file")
            << QByteArray("Date\t12/05/2024\nCH0\n0,5\n") << "not a Vemra journal";
        QTest::newRow("short and not one") << QByteArray("VEMRB") << "not a Vemra journal";
        QTest::newRow("version 0") << QByteArray("VEMRAJNL\0\0\0\0", 12) << "not a Vemra journal";
    }
    void refusesWhatItCannotRead() {
        QFETCH(QByteArray, file);
        const Journal read = readJournal(file.toStdString());
        QTEST(QString::fromStdString(read.refused), "refused");
        QVERIFY(read.chunks.empty() && read.goodBytes == 0);
    }

    // Keys and values alternate; `extra` lines come before the encoded fields.
    void fieldsSurviveTheirText_data() {
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QStringList>("read");
        const QStringList labels{"label0",     "Force [N]", "label1", "a\tb",
                                 "meterLabel", "Ω µV",      "x",      ""};
        QTest::newRow("labels, a tab, nothing") << labels << "" << labels;
        QTest::newRow("line ends in a value cannot make a field")
            << QStringList{"label2", "x\r\nmask\t7"} << "" << QStringList{"label2", "x  mask\t7"};
        QTest::newRow("line without a tab, a key given twice")
            << QStringList{"mask", "5"} << "garbage\nmask\t3\n"
            << QStringList{"mask", "5"};
    }
    void fieldsSurviveTheirText() {
        QFETCH(QStringList, written);
        QFETCH(QString, extra);
        QFETCH(QStringList, read);
        std::vector<std::pair<std::string, std::string>> fields;
        for (qsizetype i = 0; i < written.size(); i += 2)
            fields.emplace_back(written[i].toStdString(), written[i + 1].toStdString());
        QStringList parsed;
        for (const auto& [key, value] : parseFields(extra.toStdString() + encodeFields(fields)))
            parsed << QString::fromStdString(key) << QString::fromStdString(value);
        QCOMPARE(parsed, read);
    }

    // The station starts at 0 ms; each piece is "B" or "M", the milliseconds it is due at,
    // and its bytes. The journal: board "ab" at 100 ms, meter "m1" at 150, board "cd" at 250,
    // the stop at 300, then board "tail" at 310 and meter "m2" at 320.
    void replayFollowsTheStationsStartAndStop_data() {
        QTest::addColumn<bool>("fast");
        QTest::addColumn<bool>("recordedStop");
        QTest::addColumn<int>("stopMs");
        QTest::addColumn<int>("restartMs"); // 0: none
        QTest::addColumn<QString>("played");
        QTest::newRow("stop before the run's end")
            << false << true << 200 << 0 << "B100 ab|M150 m1|B210 tail|M320 m2|";
        QTest::newRow("stop after the run played")
            << false << true << 1000 << 0 << "B100 ab|M150 m1|B250 cd|M320 m2|B1010 tail|";
        QTest::newRow("no stop in the journal")
            << false << false << 200 << 0 << "B100 ab|M150 m1|M320 m2|";
        QTest::newRow("start again")
            << false << true << 200 << 1000
            << "B100 ab|M150 m1|B210 tail|M320 m2|B1100 ab|M1150 m1|B1250 cd|M1320 m2|";
        QTest::newRow("fast") << true << true << 200 << 0 << "B0 ab|M0 m1|B0 cd|M0 m2|B200 tail|";
    }
    void replayFollowsTheStationsStartAndStop() {
        QFETCH(bool, fast);
        QFETCH(bool, recordedStop);
        QFETCH(int, stopMs);
        QFETCH(int, restartMs);
        constexpr std::int64_t t0 = 7'000'000;
        std::string file = fileStart();
        const auto add = [&file](ChunkType type, int ms, std::string_view bytes) {
            appendChunk(file, type, std::uint64_t(t0 + ms * 1000LL), bytes);
        };
        add(ChunkType::MeterAtStart, -5, "old");
        add(ChunkType::Header, 0, encodeFields({{"start", "2024-05-12T09:30:00"}}));
        add(ChunkType::Board, 100, "ab");
        add(ChunkType::Meter, 150, "m1");
        add(ChunkType::Board, 250, "cd");
        if (recordedStop)
            add(ChunkType::Stop, 300, encodeFields({{"mask", "1"}}));
        add(ChunkType::Overrun, 305, encodeFields({{"bytes", "7"}}));
        add(ChunkType::Board, 310, "tail");
        add(ChunkType::Meter, 320, "m2");
        Replay replay(readJournal(file), fast);

        constexpr std::int64_t ms = 1'000'000, start = 5'000 * ms;
        QString played;
        for (int at = -100; at <= 2000; ++at) {
            const std::int64_t now = start + at * ms;
            if (at == 0 || at == restartMs)
                replay.start(now);
            if (at == stopMs)
                replay.stop(now);
            while (const auto send = replay.due(now)) {
                QVERIFY(send->atNs <= now && now - send->atNs < ms);
                played += QString::asprintf("%c%lld %s|", send->port == Port::Board ? 'B' : 'M',
                                            (long long)((send->atNs - start) / ms),
                                            std::string(send->bytes).c_str());
                replay.sent();
            }
            QVERIFY(!replay.nextDueNs() || *replay.nextDueNs() > now);
        }
        QTEST(played, "played");
    }
};

QTEST_APPLESS_MAIN(JournalTest)
#include "test_journal.moc"
