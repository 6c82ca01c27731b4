// Board records to calibrated samples, from the byte layouts the board sends.

#include "board/decoding.h"
#include "board/protocol.h"
#include "support/records.h"

#include <QtTest>

using namespace vemra;
using namespace vemra::board;
using vemra::test::record;

class DecodingTest : public QObject {
    Q_OBJECT
private slots:
    // Out: one row per enabled channel (rank), one column per whole record; the block sums
    // show in the live averages, checked through the window.
    void blocks_data() {
        QTest::addColumn<QList<int>>("enabled");
        QTest::addColumn<QList<double>>("coefficients");
        QTest::addColumn<int>("perBlock");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QList<QList<double>>>("rows"); // expected out(rank, record)
        QTest::addColumn<QString>("faults");
        const QList<int> ch0{1, 0, 0};
        const QList<double> ones{1, 1, 1};
        QTest::newRow("CH0, two records")
            << ch0 << ones << 2 << QByteArray::fromHex("552301db55ffff01")
            << QList<QList<double>>{{291, 65535}} << "";
        QTest::newRow("CH0, bad checksum keeps samples")
            << ch0 << ones << 2 << QByteArray::fromHex("552301db55ffff02")
            << QList<QList<double>>{{291, 65535}} << "checksum";
        QTest::newRow("CH1 and CH2 scaled") << QList<int>{0, 1, 1} << QList<double>{5, 2, 0.5} << 2
                                            << record({100, 1000}) + record({7, 9})
                                            << QList<QList<double>>{{200, 14}, {500, 4.5}} << "";
        QTest::newRow("all three") << QList<int>{1, 1, 1} << ones << 1 << record({1, 2, 65535})
                                   << QList<QList<double>>{{1}, {2}, {65535}} << "";
        QTest::newRow("half a record short")
            << ch0 << ones << 2 << record({7}) + record({9}).chopped(1) << QList<QList<double>>{{7}}
            << "length";
        QTest::newRow("less than a record")
            << ch0 << ones << 1 << record({7}).left(3) << QList<QList<double>>{{}} << "length";
        QTest::newRow("longer block (channels added mid-run)")
            << ch0 << ones << 1 << record({7}) + record({9}) << QList<QList<double>>{{7}}
            << "length";
    }
    void blocks() {
        QFETCH(QList<int>, enabled);
        QFETCH(QList<double>, coefficients);
        QFETCH(int, perBlock);
        QFETCH(QByteArray, block);
        QFETCH(QList<QList<double>>, rows);
        QFETCH(QString, faults);
        Matrix out(2, 5); // a shape left from another run
        const BlockDecode d =
            decodeBlock(block, {enabled[0], enabled[1], enabled[2]},
                        {coefficients[0], coefficients[1], coefficients[2]}, perBlock, out);
        QCOMPARE((QList<int>{d.records, out.rows(), out.cols()}),
                 (QList<int>{int(rows[0].size()), int(rows.size()), int(rows[0].size())}));
        QCOMPARE(QString(d.checksumError ? "checksum" : "") + (d.lengthMismatch ? "length" : ""),
                 faults);
        for (int r = 0; r < rows.size(); ++r)
            for (int i = 0; i < rows[r].size(); ++i)
                QCOMPARE(out.at(r, i), rows[r][i]);
    }

    // The remainder rounds half to even; the quotient is rounded down.
    void frameBytes_data() {
        QTest::addColumn<int>("mask");
        QTest::addColumn<double>("period");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("64000") << 2 << 64000.0 << QByteArray("430254fa00");
        QTest::newRow("255.5") << 1 << 255.5 << QByteArray("4301540000");
        QTest::newRow("300.5") << 1 << 300.5 << QByteArray("430154012c");
    }
    void frameBytes() {
        QFETCH(int, mask);
        QFETCH(double, period);
        QTEST(channelAndPeriodCommands(std::uint8_t(mask), period).toHex(), "hex");
    }
};

QTEST_APPLESS_MAIN(DecodingTest)
#include "test_decoding.moc"
