// Board records to calibrated samples, from the byte layouts the board sends.

#include "board/decoding.h"
#include "board/protocol.h"

#include <QtTest>

using namespace vemra;
using namespace vemra::board;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// A record as the board builds it.
QByteArray record(const QList<int>& raws) {
    QByteArray r(1, '\x55');
    for (int raw : raws) {
        r.append(static_cast<char>(raw & 0xFF));
        r.append(static_cast<char>(raw >> 8));
    }
    r.append(static_cast<char>(recordChecksum(
        reinterpret_cast<const std::uint8_t*>(r.constData()) + 1, static_cast<int>(r.size()) - 1)));
    return r;
}

} // namespace

class DecodingTest : public QObject {
    Q_OBJECT
private slots:
    void blocks_data();
    void blocks();
    void checksumExamples_data();
    void checksumExamples();
    void shortAndLongBlocksStayInBounds_data();
    void shortAndLongBlocksStayInBounds();
    void frameBytes_data();
    void frameBytes();
};

void DecodingTest::blocks_data() {
    QTest::addColumn<QList<int>>("enabled");
    QTest::addColumn<QList<double>>("coefficients");
    QTest::addColumn<int>("perBlock");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QList<QList<double>>>("rows"); // expected out(rank, record)
    QTest::addColumn<QList<double>>("sums");
    QTest::addColumn<bool>("checksumError");

    QTest::newRow("CH0, two records")
        << QList<int>{1, 0, 0} << QList<double>{1, 1, 1} << 2
        << bytes({0x55, 0x23, 0x01, 0xDB, 0x55, 0xFF, 0xFF, 0x01})
        << QList<QList<double>>{{291, 65535}} << QList<double>{65826, 0, 0} << false;
    QTest::newRow("CH0, bad checksum keeps samples")
        << QList<int>{1, 0, 0} << QList<double>{1, 1, 1} << 2
        << bytes({0x55, 0x23, 0x01, 0xDB, 0x55, 0xFF, 0xFF, 0x02})
        << QList<QList<double>>{{291, 65535}} << QList<double>{65826, 0, 0} << true;
    QTest::newRow("CH0 and CH2") << QList<int>{1, 0, 1} << QList<double>{1, 1, 1} << 1
                                 << bytes({0x00, 0x10, 0x00, 0x00, 0x02, 0xED})
                                 << QList<QList<double>>{{16}, {512}} << QList<double>{16, 0, 512}
                                 << false;
    QTest::newRow("CH1 and CH2 scaled")
        << QList<int>{0, 1, 1} << QList<double>{5, 2, 0.5} << 2
        << record({100, 1000}) + record({7, 9}) << QList<QList<double>>{{200, 14}, {500, 4.5}}
        << QList<double>{0, 214, 504.5} << false;
    QTest::newRow("all three") << QList<int>{1, 1, 1} << QList<double>{1, 1, 1} << 1
                               << record({1, 2, 65535}) << QList<QList<double>>{{1}, {2}, {65535}}
                               << QList<double>{1, 2, 65535} << false;
    QTest::newRow("coefficient zero")
        << QList<int>{1, 0, 0} << QList<double>{0, 1, 1} << 1 << record({1023})
        << QList<QList<double>>{{0}} << QList<double>{0, 0, 0} << false;
}

void DecodingTest::blocks() {
    QFETCH(QList<int>, enabled);
    QFETCH(QList<double>, coefficients);
    QFETCH(int, perBlock);
    QFETCH(QByteArray, block);
    QFETCH(QList<QList<double>>, rows);
    QFETCH(QList<double>, sums);
    QFETCH(bool, checksumError);

    Matrix out;
    const BlockDecode d =
        decodeBlock(block, {enabled[0], enabled[1], enabled[2]},
                    {coefficients[0], coefficients[1], coefficients[2]}, perBlock, out);
    QCOMPARE(d.records, perBlock);
    QCOMPARE(d.checksumError, checksumError);
    QVERIFY(!d.lengthMismatch);
    QCOMPARE(out.rows(), rows.size());
    for (int r = 0; r < rows.size(); ++r)
        for (int i = 0; i < rows[r].size(); ++i)
            QCOMPARE(out.at(r, i), rows[r][i]);
    for (int ch = 0; ch < 3; ++ch)
        QCOMPARE(d.sums[ch], sums[ch]);
}

void DecodingTest::checksumExamples_data() {
    QTest::addColumn<QByteArray>("samples");
    QTest::addColumn<int>("checksum");
    QTest::newRow("0x0123") << bytes({0x23, 0x01}) << 0xDB;
    QTest::newRow("0xFFFF") << bytes({0xFF, 0xFF}) << 0x01;
    QTest::newRow("two channels") << bytes({0x10, 0x00, 0x00, 0x02}) << 0xED;
    QTest::newRow("no channel") << QByteArray() << 0xFF;
}

void DecodingTest::checksumExamples() {
    QFETCH(QByteArray, samples);
    QFETCH(int, checksum);
    QCOMPARE(int(recordChecksum(reinterpret_cast<const std::uint8_t*>(samples.constData()),
                                static_cast<int>(samples.size()))),
             checksum);
}

void DecodingTest::shortAndLongBlocksStayInBounds_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("records");
    QTest::newRow("exact") << 40 << 10;
    QTest::newRow("half a record short") << 38 << 9;
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("less than a record") << 3 << 0;
    QTest::newRow("longer block (channels added mid-run)") << 80 << 10;
}

void DecodingTest::shortAndLongBlocksStayInBounds() {
    QFETCH(int, size);
    QFETCH(int, records);
    QByteArray block;
    for (int i = 0; i < 20; ++i)
        block += record({i});
    block.truncate(size);
    Matrix out(1, 10);
    const BlockDecode d = decodeBlock(block, {1, 0, 0}, {1, 1, 1}, 10, out);
    QCOMPARE(d.records, records);
    QCOMPARE(d.lengthMismatch, size != 40);
    QCOMPARE(out.cols(), records);
    if (records > 0)
        QCOMPARE(out.at(0, records - 1), double(records - 1));
}

void DecodingTest::frameBytes_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<double>("period");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("400") << 1 << 400.0 << bytes({0x43, 0x01, 0x54, 0x01, 0x90});
    QTest::newRow("10") << 7 << 10.0 << bytes({0x43, 0x07, 0x54, 0x00, 0x0A});
    QTest::newRow("64000") << 2 << 64000.0 << bytes({0x43, 0x02, 0x54, 0xFA, 0x00});
    QTest::newRow("256") << 0 << 256.0 << bytes({0x43, 0x00, 0x54, 0x01, 0x00});
    // The remainder rounds half to even; the quotient is rounded down.
    QTest::newRow("255.5") << 1 << 255.5 << bytes({0x43, 0x01, 0x54, 0x00, 0x00});
    QTest::newRow("300.5") << 1 << 300.5 << bytes({0x43, 0x01, 0x54, 0x01, 0x2C});
}

void DecodingTest::frameBytes() {
    QFETCH(int, mask);
    QFETCH(double, period);
    QFETCH(QByteArray, expected);
    QCOMPARE(channelAndPeriodCommands(static_cast<std::uint8_t>(mask), period).toHex(' '),
             expected.toHex(' '));
}

QTEST_APPLESS_MAIN(DecodingTest)
#include "test_decoding.moc"
