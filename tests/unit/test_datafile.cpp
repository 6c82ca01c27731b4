#include "files/datafile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vemra;

namespace {

// Row r, sample i holds r*100 + i + 0,25: every field tells which row and sample it came from.
Matrix store(int rows, int cols) {
    Matrix samples(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int i = 0; i < cols; ++i)
            samples.at(r, i) = r * 100 + i + 0.25;
    return samples;
}

const std::vector<QString> meterReadings{"+1,23456789E+03", "", "-4,5E-01", "+2,5E+00"};

QByteArray lines(std::initializer_list<const char*> texts) {
    QByteArray bytes;
    for (const char* text : texts)
        bytes += QByteArray(text) + "\r\n";
    return bytes;
}

const QDateTime fifthOfMarch(QDate(2024, 3, 5), QTime(9, 7, 4));

void createEntry(const QString& dir, const QString& name, const QString& kind) {
    const QString path = QDir(dir).filePath(name);
    if (kind == "dir") {
        QVERIFY(QDir(dir).mkdir(name));
    } else if (kind == "link") {
        QVERIFY(QFile::link(QDir(dir).filePath("nowhere"), path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier run");
    }
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void titlesAsLatin1_data();
    void titlesAsLatin1();
    void refusesStoresSmallerThanTheRun_data();
    void refusesStoresSmallerThanTheRun();
    void namesFromTheClock_data();
    void namesFromTheClock();
    void numbersTakenNames_data();
    void numbersTakenNames();
    void failedWriteLeavesNoFile_data();
    void failedWriteLeavesNoFile();
};

void TestDataFile::layouts_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("meter");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("no channel") << 0 << false << 1.5 << 4
                                << lines({"Time (mS)\t", "0\t", "1,5\t", "3\t", "4,5\t"});
    QTest::newRow("CH1 with meter")
        << 2 << true << 40.0 << 3
        << lines({"Time (mS)\tPosition\tMeter", "0\t0,25\t+1,23456789E+03", "40\t1,25\t",
                  "80\t2,25\t-4,5E-01"});
    QTest::newRow("CH0 and CH2") << 5 << false << 0.3 << 4
                                 << lines({"Time (mS)\tForce\tTemp\t", "0\t0,25\t100,25\t",
                                           "0,3\t1,25\t101,25\t", "0,6\t2,25\t102,25\t",
                                           "0,9\t3,25\t103,25\t"});
    QTest::newRow("all three with meter")
        << 7 << true << 1.5 << 2
        << lines({"Time (mS)\tForce\tPosition\tTemp\tMeter",
                  "0\t0,25\t100,25\t200,25\t+1,23456789E+03", "1,5\t1,25\t101,25\t201,25\t"});
    QTest::newRow("no samples") << 7 << true << 1.5 << 0
                                << lines({"Time (mS)\tForce\tPosition\tTemp\tMeter"});
}

void TestDataFile::layouts() {
    QFETCH(int, mask);
    QFETCH(bool, meter);
    QFETCH(double, step);
    QFETCH(int, count);
    QFETCH(QByteArray, expected);

    const Matrix samples = store(3, 4);
    const DataFileContent content{
        mask, count, meter, step, samples, meterReadings, {"Force", "Position", "Temp"}, "Meter"};
    QString error;
    const auto bytes = formatDataFile(content, &error);
    QVERIFY2(bytes, qPrintable(error));
    QCOMPARE(*bytes, expected);
}

void TestDataFile::titlesAsLatin1_data() {
    QTest::addColumn<QString>("channelTitle");
    QTest::addColumn<QString>("meterTitle");
    QTest::addColumn<QByteArray>("header");

    QTest::newRow("Latin-1") << QString("Kraft °C") << QString("µV")
                             << QByteArray("Kraft \xB0"
                                           "C\t\xB5V");
    QTest::newRow("outside Latin-1") << QString("5 €") << QString("Ω") << QByteArray("5 ?\t?");
    QTest::newRow("surrogate pair") << QString("a😀b") << QString("") << QByteArray("a?b\t");
    QTest::newRow("tab inside") << QString("a\tb") << QString("c\td") << QByteArray("a\tb\tc\td");
}

void TestDataFile::titlesAsLatin1() {
    QFETCH(QString, channelTitle);
    QFETCH(QString, meterTitle);
    QFETCH(QByteArray, header);

    const Matrix samples = store(1, 1);
    const DataFileContent content{1, 0, true, 1, samples, {}, {channelTitle, "", ""}, meterTitle};
    QString error;
    QCOMPARE(formatDataFile(content, &error).value_or("refused"), "Time (mS)\t" + header + "\r\n");
}

void TestDataFile::refusesStoresSmallerThanTheRun_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("meter");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("readings");
    QTest::addColumn<bool>("refused");

    QTest::newRow("fewer rows than channels") << 7 << false << 4 << 2 << 10 << 0 << true;
    QTest::newRow("fewer columns than samples") << 1 << false << 4 << 1 << 3 << 0 << true;
    QTest::newRow("fewer readings than samples (late blocks)")
        << 0 << true << 4 << 1 << 1 << 3 << false;
    QTest::newRow("stores just hold the run") << 7 << true << 4 << 3 << 4 << 4 << false;
    QTest::newRow("CH2 alone is row 0") << 4 << false << 4 << 1 << 4 << 0 << false;
    QTest::newRow("no channel reads no samples") << 0 << false << 4 << 1 << 1 << 0 << false;
    QTest::newRow("no meter reads no readings") << 1 << false << 4 << 1 << 4 << 0 << false;
    QTest::newRow("no samples read nothing") << 7 << true << 0 << 1 << 1 << 0 << false;
}

void TestDataFile::refusesStoresSmallerThanTheRun() {
    QFETCH(int, mask);
    QFETCH(bool, meter);
    QFETCH(int, count);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(int, readings);
    QFETCH(bool, refused);

    const Matrix samples = store(rows, cols);
    const std::vector<QString> texts(static_cast<std::size_t>(readings), "+1E+00");
    const DataFileContent content{mask, count, meter, 1, samples, texts, {"a", "b", "c"}, "m"};
    QString error;
    const auto bytes = formatDataFile(content, &error);
    QCOMPARE(!bytes, refused);
    QCOMPARE(error.isEmpty(), !refused);
    if (bytes) {
        QCOMPARE(bytes->count("\r\n"), count + 1);
        if (meter && count > 0)
            QCOMPARE(bytes->count("+1E+00"), std::min(count, readings));
    }
}

void TestDataFile::namesFromTheClock_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("name");

    QTest::newRow("5 March") << fifthOfMarch << "VemraData 5-3 9-7-4.txt";
    QTest::newRow("New Year") << QDateTime(QDate(2023, 1, 1), QTime(0, 0, 5))
                              << "VemraData 1-1 0-0-5.txt";
    QTest::newRow("New Year's Eve")
        << QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)) << "VemraData 31-12 23-59-59.txt";
}

void TestDataFile::namesFromTheClock() {
    QFETCH(QDateTime, now);
    QFETCH(QString, name);

    QTemporaryDir dir;
    QString written, error;
    QVERIFY2(writeDataFile(dir.path(), now, "Time (mS)\t\r\n", &written, &error),
             qPrintable(error));
    QCOMPARE(written, name);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    QFile file(QDir(dir.path()).filePath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "Time (mS)\t\r\n");
}

void TestDataFile::numbersTakenNames_data() {
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");

    const QString base = "VemraData 5-3 9-7-4";
    QTest::newRow("free") << QStringList{} << "file" << base + ".txt";
    QTest::newRow("taken") << QStringList{base + ".txt"} << "file" << base + " (2).txt";
    QTest::newRow("taken twice") << QStringList{base + ".txt", base + " (2).txt"} << "file"
                                 << base + " (3).txt";
    QTest::newRow("first free number")
        << QStringList{base + ".txt", base + " (3).txt"} << "file" << base + " (2).txt";
    QTest::newRow("only a numbered one")
        << QStringList{base + " (2).txt"} << "file" << base + ".txt";
    QTest::newRow("a folder") << QStringList{base + ".txt"} << "dir" << base + " (2).txt";
    QTest::newRow("a dangling link") << QStringList{base + ".txt"} << "link" << base + " (2).txt";
}

void TestDataFile::numbersTakenNames() {
    QFETCH(QStringList, existing);
    QFETCH(QString, kind);
    QFETCH(QString, name);

    QTemporaryDir dir;
    for (const QString& entry : existing)
        createEntry(dir.path(), entry, kind);
    QString written, error;
    QVERIFY2(writeDataFile(dir.path(), fifthOfMarch, "new run", &written, &error),
             qPrintable(error));
    QCOMPARE(written, name);
    for (const QString& entry : existing + QStringList{name}) {
        QFile file(QDir(dir.path()).filePath(entry));
        if (entry == name || kind == "file") {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), entry == name ? "new run" : "earlier run");
        } else {
            QVERIFY(QFileInfo(file).isSymLink() || QFileInfo(file).isDir());
        }
    }
}

void TestDataFile::failedWriteLeavesNoFile_data() {
    QTest::addColumn<QString>("subdir");

    QTest::newRow("under a file") << "afile/sub";
    QTest::newRow("missing folder") << "missing";
}

void TestDataFile::failedWriteLeavesNoFile() {
    QFETCH(QString, subdir);

    QTemporaryDir dir;
    createEntry(dir.path(), "afile", "file");
    QString written, error;
    QVERIFY(
        !writeDataFile(QDir(dir.path()).filePath(subdir), fifthOfMarch, "run", &written, &error));
    QVERIFY2(error.contains("\"VemraData 5-3 9-7-4.txt\""), qPrintable(error));
    QVERIFY(written.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"afile"});
}

QTEST_APPLESS_MAIN(TestDataFile)
#include "test_datafile.moc"
