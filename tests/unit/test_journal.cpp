// A run's journal: what a reader keeps of a file a crash cut short or a disk damaged, what it
// refuses, and the text fields.

#include "journal/format.h"

#include <QtTest>

using namespace vemra::journal;

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
};

QTEST_APPLESS_MAIN(JournalTest)
#include "test_journal.moc"
