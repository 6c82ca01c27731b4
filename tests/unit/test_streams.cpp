// The two streams as a real line delivers them: split anywhere, a byte or a character lost or
// added at every offset, noise and replies between readings. Each decoded record and reading
// is compared with what was sent: a fault costs what it touches, never the rest of the run.

#include "board/protocol.h"
#include "board/recordstream.h"
#include "meter/readingstream.h"
#include "support/records.h"

#include <QtTest>
#include <cmath>

using namespace vemra;
using namespace vemra::board;
using vemra::test::record;

namespace {

constexpr int kRecords = 30;
constexpr int kFaultAt = 7;

// Records as the board sends them, behind the constant lead byte the station never reads:
// slowly swinging channels with a little noise, or channels that hold still from record
// `from` on.
QList<QList<int>> boardSamples(int channels, int still = -1, int from = 0) {
    QRandomGenerator random(20261207);
    QList<QList<int>> samples;
    for (int i = 0; i < kRecords; ++i) {
        QList<int> raws;
        for (int ch = 0; ch < channels; ++ch)
            raws << (still >= 0 && i >= from
                         ? still
                         : int(512 + 300 * std::sin(i / (5.0 + ch)) + random.bounded(4)));
        samples << raws;
    }
    return samples;
}

// Feeds `input` in pieces of `piece`; from `carryAt` on a fresh stream carries on from the
// state the first had reached, as it would have gone on.
template <typename Stream, typename View, typename Item>
void feedInPieces(Stream& stream, View input, qsizetype piece, qsizetype carryAt,
                  std::vector<Item>& out) {
    const Stream fresh = stream;
    for (qsizetype at = 0; at < input.size(); at += piece) {
        if (at == carryAt) {
            Stream carried = fresh;
            carried.restore(stream.state());
            stream = carried;
        }
        stream.feed(input.sliced(at, std::min(piece, input.size() - at)), out);
    }
}

std::vector<RawRecord> decode(const QByteArray& bytes, int channels, qsizetype piece,
                              qsizetype carryAt = -1) {
    RecordStream stream(channels);
    std::vector<RawRecord> out;
    feedInPieces(stream, QByteArrayView(bytes), piece, carryAt, out);
    return out;
}

// "G" a good record with the samples sent, "B" a bad checksum with the samples sent, "D"
// damaged, "x" a record whose samples differ from those sent though it passed.
QString states(const std::vector<RawRecord>& out, const QList<QList<int>>& sent) {
    QString text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        bool same = int(i) < sent.size();
        for (int r = 0; same && r < sent[int(i)].size(); ++r)
            same = out[i].samples[std::size_t(r)] == sent[int(i)][r];
        const RecordState s = out[i].state;
        text += s == RecordState::Damaged ? u'D'
                : !same                   ? u'x'
                : s == RecordState::Good  ? u'G'
                                          : u'B';
    }
    return text;
}

// Reading i as the meter sends it.
QString readingText(int i) {
    return QString::asprintf("%+.8E", 1000 + 1.25 * i);
}

} // namespace

class StreamsTest : public QObject {
    Q_OBJECT
private slots:
    // A byte lost from record 7 or added to it, at every offset, for one to three channels: the
    // record it went through is damaged and every other lands in its own place, however the
    // line splits the bytes (a byte at a time, a record, a block of ten). A byte added before
    // the samples only takes the unread lead byte's place. A burst of bad checksums in step is
    // no slip: its records keep their places and their samples.
    void recordsKeepTheirPlaces_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("touched"); // states of the records from 7 on that differ
        for (int channels = 1; channels <= 3; ++channels) {
            const int length = recordLength(channels);
            for (int offset = 0; offset < length; ++offset)
                QTest::addRow("%d channels, byte %d lost", channels, offset)
                    << channels << "lost" << offset << "D";
            for (int offset = 0; offset <= length; ++offset)
                QTest::addRow("%d channels, byte added before %d", channels, offset)
                    << channels << "extra" << offset
                    << (offset <= 1 || offset == length ? "" : "D");
            for (int burst : {1, 2, 3, 6})
                QTest::addRow("%d channels, %d bad checksums", channels, burst)
                    << channels << "bad" << burst << QString(burst, u'B');
        }
        // 0x9A10 behind the lead 0x55 has the checksum 0x55: every record read one byte early
        // passes as well. Only the records before the burst tell which boundary is the board's.
        QTest::newRow("still channel, 6 bad checksums") << 1 << "bad still" << 6 << "BBBBBB";
        // A channel coming to rest there at a bad checksum: the records after it pass in step.
        QTest::newRow("channel at rest from a bad checksum") << 1 << "bad resting" << 1 << "B";
    }
    void recordsKeepTheirPlaces() {
        QFETCH(int, channels);
        QFETCH(QString, fault);
        QFETCH(int, offset);
        QFETCH(QString, touched);
        const QList<QList<int>> sent =
            boardSamples(channels, fault.startsWith("bad ") ? 0x9A10 : -1,
                         fault.endsWith("resting") ? kFaultAt : 0);
        QByteArray bytes;
        for (int i = 0; i < kRecords; ++i) {
            const bool bad = fault.startsWith("bad") && i >= kFaultAt && i < kFaultAt + offset;
            QByteArray r = record(sent[i], bad);
            if (i == kFaultAt && fault == u"lost")
                r.remove(offset, 1);
            if (i == kFaultAt && fault == u"extra")
                r.insert(offset, '\xa7');
            bytes += r;
        }
        const QString whole = states(decode(bytes, channels, int(bytes.size())), sent);
        QCOMPARE(whole, QString(kFaultAt, u'G') + touched +
                            QString(kRecords - kFaultAt - touched.size(), u'G'));
        for (qsizetype piece : {1, recordLength(channels), 10 * recordLength(channels)})
            QCOMPARE(states(decode(bytes, channels, piece), sent), whole);
        // Carried on from its state anywhere near the fault, a stream goes on as it would have.
        for (int carry = -3; carry <= 3; ++carry)
            QCOMPARE(
                states(decode(bytes, channels, 1, kFaultAt * recordLength(channels) + carry), sent),
                whole);
    }

    // Meter readings 0..7 with a fault at reading 3: a character lost (the 16th is the ','),
    // or noise, a reply or a long line put before any of its characters. A fault inside a unit
    // costs that reading's slot; one between two units costs none; the readings after it keep
    // their numbers, however the line splits the characters.
    void readingsKeepTheirNumbers_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("inserted");
        QRandomGenerator random(7);
        QByteArray junk, line;
        while (junk.size() < 4000) {
            const char c = char(random.bounded(256));
            if (c != ',' && c != '\r' && c != '\n')
                junk += c;
        }
        for (int i = 0; line.size() < (1 << 20); ++i)
            line += "OVERLOAD " + QByteArray::number(i) + ' ';
        line += "\r\n";
        for (int offset = 0; offset <= 16; ++offset) {
            if (offset < 16)
                QTest::addRow("character %d lost", offset) << "lost" << offset << QByteArray();
            QTest::addRow("noise before %d", offset)
                << "noise" << offset << QByteArray("!#$%&()*+-./:;<=");
            QTest::addRow("reply before %d", offset)
                << "reply" << offset << QByteArray("+0,\"No error\"\r\n");
            QTest::addRow("junk before %d", offset) << "junk" << offset << junk;
        }
        for (int offset : {0, 6, 15, 16})
            QTest::addRow("1 MiB line before %d", offset) << "line" << offset << line;
    }
    void readingsKeepTheirNumbers() {
        QFETCH(QString, fault);
        QFETCH(int, offset);
        QFETCH(QByteArray, inserted);
        QString chars;
        QStringList expected;
        for (int i = 0; i < 8; ++i) {
            QString unit = readingText(i) + u',';
            if (i == 3 && fault == u"lost")
                unit.remove(offset, 1);
            else if (i == 3)
                unit.insert(offset, QString::fromLatin1(inserted));
            chars += unit;
            const bool touched = i == 3 && (fault == u"lost" || (offset > 0 && offset < 16));
            expected << (touched ? QStringLiteral("-") : readingText(i).replace(u'.', u','));
        }
        for (qsizetype piece : {qsizetype(1), qsizetype(7), qsizetype(16), chars.size()}) {
            if (inserted.size() > 5000 && piece < 16)
                continue;
            // Carried on from its state in the middle of the fault.
            meter::ReadingStream stream;
            std::vector<meter::StreamItem> items;
            feedInPieces(stream, QStringView(chars), piece, (3 * 16 / piece + 1) * piece, items);
            // A damaged reading reads "-": its slot stays empty, or holds what came in step in
            // its place (taken as it came), never the reading sent nor another's.
            QStringList numbered;
            for (const meter::StreamItem& item : items)
                for (std::int64_t n = 0; n < std::max<std::int64_t>(item.lost, 1); ++n) {
                    const qsizetype i = numbered.size();
                    numbered << (i < expected.size() && expected[i] != item.reading
                                     ? QStringLiteral("-")
                                     : item.reading);
                }
            QCOMPARE(numbered, expected);
            QVERIFY(stream.takeOutOfStep());
        }
    }

    // At Start the readings are numbered afresh: the rest of a reading half received is
    // passed over, noise or a whole unit before it is not.
    void startsAfreshInStep_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("readings");
        const QString unit = readingText(1) + u',';
        const QString reading = readingText(1).replace(u'.', u',');
        QTest::newRow("half a reading")
            << unit.left(7) << unit.mid(7) + unit << QStringList{reading};
        QTest::newRow("all but its ','")
            << unit.left(15) << unit.right(1) + unit << QStringList{reading};
        QTest::newRow("a whole unit") << unit << unit << QStringList{reading};
        QTest::newRow("noise") << "#?@" << unit << QStringList{reading};
        QTest::newRow("the line end of a reply") << "+0,\"No err"
                                                 << "or\"\r\n" + unit << QStringList{reading};
    }
    void startsAfreshInStep() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        meter::ReadingStream stream;
        std::vector<meter::StreamItem> items;
        stream.feed(before, items);
        stream.realign();
        items.clear();
        stream.feed(after, items);
        QStringList readings;
        for (const meter::StreamItem& item : items)
            readings << (item.lost ? QStringLiteral("lost %1").arg(item.lost) : item.reading);
        QTEST(readings, "readings");
    }
};

QTEST_APPLESS_MAIN(StreamsTest)
#include "test_streams.moc"
