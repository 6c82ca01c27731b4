#include "files/datafile.h"
#include "support/sampleconfig.h"

#include <QDir>
#include <QFile>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>

using namespace vemra;
using vemra::test::joinedLines;

namespace {

// Row r, sample i holds r*100 + i + 0,25: every field tells which row and sample it came from.
Matrix storeOf(int rows, int cols) {
    Matrix samples(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int i = 0; i < cols; ++i)
            samples.at(r, i) = r * 100 + i + 0.25;
    return samples;
}

const QDateTime fifthOfMarch(QDate(2024, 3, 5), QTime(9, 7, 4));

// A stopped run of no sample: the header line alone.
const Matrix noSamples(1, 1);
const ReadingStore noReadings;
const DataFileContent headerOnly{0, 0, false, 1, noSamples, noReadings, {}, {}};

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT

private slots:
    // No bytes: refused, the stores no longer hold the run.
    void layouts_data() {
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("meter");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("count");
        QTest::addColumn<QSize>("store"); // samples per row × rows
        QTest::addColumn<QByteArray>("expected");
        const QSize full(4, 3);
        QTest::newRow("no channel") << 0 << false << 1.5 << 4 << full
                                    << joinedLines({"Time (mS)\t", "0\t", "1,5\t", "3\t", "4,5\t"});
        QTest::newRow("CH1 with meter")
            << 2 << true << 40.0 << 3 << full
            << joinedLines({"Time (mS)\tPosition\t\xB5V ?", "0\t0,25\t+1,5E+03", "40\t1,25\t",
                            "80\t2,25\t-4,5E-01"});
        QTest::newRow("CH0 and CH2")
            << 5 << false << 0.3 << 4 << full
            << joinedLines({"Time (mS)\tForce\tTemp\t", "0\t0,25\t100,25\t", "0,3\t1,25\t101,25\t",
                            "0,6\t2,25\t102,25\t", "0,9\t3,25\t103,25\t"});
        QTest::newRow("all three with meter")
            << 7 << true << 1.5 << 2 << full
            << joinedLines({"Time (mS)\tForce\tPosition\tTemp\t\xB5V ?",
                            "0\t0,25\t100,25\t200,25\t+1,5E+03", "1,5\t1,25\t101,25\t201,25\t"});
        // The meter's last readings may come after the stop: their fields stay empty.
        QTest::newRow("CH2 alone, readings late")
            << 4 << true << 1.0 << 4 << QSize(4, 1)
            << joinedLines({"Time (mS)\tTemp\t\xB5V ?", "0\t0,25\t+1,5E+03", "1\t1,25\t",
                            "2\t2,25\t-4,5E-01", "3\t3,25\t"});
        QTest::newRow("fewer rows than channels")
            << 7 << false << 1.0 << 4 << QSize(4, 2) << QByteArray();
        QTest::newRow("fewer samples than the run")
            << 1 << false << 1.0 << 4 << QSize(3, 1) << QByteArray();
    }
    void layouts() {
        QFETCH(int, mask);
        QFETCH(bool, meter);
        QFETCH(double, step);
        QFETCH(int, count);
        QFETCH(QSize, store);
        const Matrix samples = storeOf(store.height(), store.width());
        ReadingStore readings(3);
        readings.set(0, u"+1,5E+03");
        readings.set(2, u"-4,5E-01");
        const std::array<QString, 3> titles{"Force", "Position", "Temp"};
        const DataFileContent content{mask,    count,    meter,  step,
                                      samples, readings, titles, QString::fromUtf8("µV Ω")};
        QString error;
        const auto bytes = formatDataFile(content, &error);
        QCOMPARE(error.isEmpty(), bool(bytes));
        QTEST(bytes.value_or(QByteArray()), "expected");
    }

    void namesFreeFiles_data() {
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<bool>("links"); // dangling links rather than files
        QTest::addColumn<QString>("number");
        QTest::newRow("free") << QStringList{} << false << "";
        QTest::newRow("taken") << QStringList{""} << false << " (2)";
        QTest::newRow("taken twice") << QStringList{"", " (2)"} << false << " (3)";
        QTest::newRow("first free number") << QStringList{"", " (3)"} << false << " (2)";
        QTest::newRow("a dangling link") << QStringList{""} << true << " (2)";
    }
    void namesFreeFiles() {
        QFETCH(QStringList, taken);
        QFETCH(bool, links);
        QFETCH(QString, number);
        QTemporaryDir dir;
        const QString base = dir.filePath("VemraData 5-3 9-7-4");
        for (const QString& suffix : taken) {
            QFile file(base + suffix + ".txt");
            QVERIFY(links ? QFile::link(dir.filePath("nowhere"), file.fileName())
                          : file.open(QIODevice::WriteOnly));
        }
        QString written, error;
        QVERIFY2(writeDataFile(dir.path(), fifthOfMarch, headerOnly, &written, &error),
                 qPrintable(error));
        QCOMPARE(written, "VemraData 5-3 9-7-4" + number + ".txt");
        QFile file(dir.filePath(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "Time (mS)\t\r\n");
        QVERIFY(!QFile::exists(dir.filePath("nowhere")));
    }

    // A run of several pieces comes out whole and in order.
    void longRunInPieces() {
        const int count = 200000;
        Matrix samples(1, count);
        for (int i = 0; i < count; ++i)
            samples.at(0, i) = i;
        const DataFileContent content{1, count, false, 1, samples, noReadings, {"F"}, {}};
        QString error;
        QList<qsizetype> pieces;
        QByteArray joined;
        QVERIFY(streamDataFile(
            content,
            [&](QByteArrayView piece) { return pieces << piece.size(), joined += piece, true; },
            &error));
        QVERIFY(pieces.size() > 2);
        QCOMPARE(joined.count('\n'), count + 1);
        QVERIFY(joined.endsWith("\r\n199998\t199998\t\r\n199999\t199999\t\r\n"));
        int calls = 0; // a refused piece stops the writing
        QVERIFY(!streamDataFile(
            content, [&](QByteArrayView) { return ++calls < 2; }, &error));
        QCOMPARE(calls, 2);
    }

    void failedWriteLeavesNoFile() {
        QTemporaryDir dir;
        QString written, error;
        QVERIFY(
            !writeDataFile(dir.filePath("missing"), fifthOfMarch, headerOnly, &written, &error));
        QVERIFY2(error.contains("\"VemraData 5-3 9-7-4.txt\""), qPrintable(error));
        QVERIFY(written.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }
};

QTEST_APPLESS_MAIN(TestDataFile)
#include "test_datafile.moc"
