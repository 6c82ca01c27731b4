// The station's text formats: numbers as it writes and reads them (decimal comma, general
// form, "####0.000", round-half-even conversions), the settings file and the data file.

#include "common/numbertext.h"
#include "files/configfile.h"
#include "files/datafile.h"
#include "support/sampleconfig.h"

#include <QtTest>
#include <bit>
#include <cmath>
#include <limits>
#include <tuple>

using namespace vemra;
using namespace vemra::test;

namespace {

// The sample file's settings, in file order.
Config sampleConfig() {
    return Config(
        3, 0, 500, 200, 20, 1, 2000, std::array{1, 0, 1}, std::array{1e-6, 1.5e20, -0.0123},
        std::array<QString, 3>{"Load (N)", QString::fromUtf8("Temp °C"), ""}, 2.5, 2, 3,
        "Strain (Ohm)",
        std::array<QString, 5>{"CONF:RES", "TRIG:SOUR BUS", "TRIG:COUNT 1", "RES:NPLC 10", "*CLS"},
        true);
}

QByteArray savedLine(const Config& config, int n) {
    return serializeConfig(config).split('\n').at(n - 1);
}

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

class TestFormats : public QObject {
    Q_OBJECT

private slots:
    void numbersShowInGeneralAndFixedForms_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("general");
        QTest::addColumn<QString>("fixed3");
        const std::tuple<double, const char*, const char*> rows[] = {
            {1000000, "1000000", "1000000,000"},
            {3 * 0.3, "0,9", "0,900"},
            {1.0 / 3, "0,333333333333333", "0,333"},
            {2.0 / 3, "0,666666666666667", "0,667"},
            {0.3125, "0,3125", "0,313"},
            {-0.0625, "-0,0625", "-0,063"},
            {-0.0004, "-0,0004", "0,000"},
            {0.00009999999999999999, "0,0001", "0,000"},
            {9.99999999999999e-5, "9,99999999999999E-05", "0,000"},
            {1e-6, "1E-06", "0,000"},
            {999999999999999.0, "999999999999999", "999999999999999,000"},
            {999999999999999.9, "1E+15", "999999999999999,875"},
            {1.5e20, "1,5E+20", "150000000000000000000,000"},
            {-1.23456789012345e-300, "-1,23456789012345E-300", "0,000"},
            {-0.0, "0", "0,000"},
            {std::nan(""), "NaN", "NaN"},
            {-std::numeric_limits<double>::infinity(), "-Inf", "-Inf"}};
        for (const auto& [value, general, fixed3] : rows)
            QTest::addRow("%.17g", value) << value << QString(general) << QString(fixed3);
    }
    void numbersShowInGeneralAndFixedForms() {
        QFETCH(double, value);
        QFETCH(QString, general);
        QTEST(fixed3Text(value), "fixed3");
        QCOMPARE(generalText(value), general);
        // Writes are sequential, so one mark just past the room catches any overrun.
        char buffer[generalTextMaxLength + 1];
        buffer[generalTextMaxLength] = '#';
        QCOMPARE(QString::fromLatin1(buffer, appendGeneral(buffer, value)), general);
        QCOMPARE(buffer[generalTextMaxLength], '#');
    }

    void convertsToIntegers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<long long>("whole");
        QTest::addColumn<int>("int32");
        QTest::addColumn<int>("int16");
        QTest::addColumn<int>("byte");
        const long long most = std::numeric_limits<long long>::max();
        const int most32 = std::numeric_limits<int>::max();
        const std::tuple<double, long long, int, int, int> rows[] = {
            {2.5, 2, 2, 2, 2},
            {-2.5, -2, -2, -2, 0},
            {255.5, 256, 256, 256, 255},
            {0.49999999999999994, 0, 0, 0, 0},
            {-40000, -40000, -40000, -32768, 0},
            {1e30, most, most32, 32767, 255},
            {-1e30, -most - 1, -most32 - 1, -32768, 0},
            {std::nan(""), 0, 0, 0, 0}};
        for (const auto& [value, whole, int32, int16, byte] : rows)
            QTest::addRow("%g", value) << value << whole << int32 << int16 << byte;
    }
    void convertsToIntegers() {
        QFETCH(double, value);
        QTEST(roundHalfEven(value), "whole");
        QTEST(int(toInt32(value)), "int32");
        QTEST(int(toInt16(value)), "int16");
        QTEST(int(toByte(value)), "byte");
    }

    void parsesNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value"); // NaN: refused, and 0 where that counts as 0
        const double largest = std::numeric_limits<double>::max();
        const std::pair<const char*, double> read[] = {
            {"1E-06", 1e-6}, {"2,5", 2.5}, {"2.5", 2.5}, {"-0,9", -0.9}, {"+1,5E+20", 1.5e20},
            {"2,5e3", 2500}, {",5", 0.5},  {"5,", 5},    {"  42 ", 42}};
        for (const auto& [text, value] : read)
            QTest::addRow("'%s'", text) << QString::fromLatin1(text) << value;
        QTest::newRow("largest") << "1,79769313486232E+308" << largest;
        QTest::newRow("-largest") << "-1,79769313486232E+308" << -largest;
        for (const char* text :
             {"", " ", "abc", "1,2,3", "1.2,3", ",", "-", "1E", "E5", "--1", "1 2", "12a", "0x10",
              "NaN", "Inf", "1E5.5", "1E400", "1,79769313486233E+308"})
            QTest::addRow("'%s'", text) << QString::fromLatin1(text) << qQNaN();
    }
    void parsesNumbers() {
        QFETCH(QString, text);
        QFETCH(double, value);
        const bool refused = std::isnan(value);
        const auto parsed = parseNumber(text);
        // Seventeen digits tell any two doubles apart.
        QVERIFY2(refused ? !parsed : parsed && *parsed == value,
                 QByteArray::number(parsed.value_or(qQNaN()), 'g', 17).constData());
        QVERIFY(numericValue(text) == (refused ? 0.0 : value));
    }

    // Every finite double the station writes, it reads back as the same text: the extremes,
    // then random bit patterns.
    void everyWrittenNumberReadsBack() {
        const double largest = std::numeric_limits<double>::max();
        const double tiny = std::numeric_limits<double>::denorm_min();
        const double normal = std::numeric_limits<double>::min();
        QList<double> values{
            largest, -largest, 1.7976931348623151e308, -1.7976931348623151e308, tiny, -tiny, normal,
            1e15,    1e-5,     9.999999999999995e14};
        values << std::nextafter(largest, 0.0);
        QRandomGenerator random(20261207);
        while (values.size() < 200000) {
            const double value = std::bit_cast<double>(random.generate64());
            if (std::isfinite(value))
                values.append(value);
        }
        for (const double value : values) {
            const QString text = generalText(value);
            const auto parsed = parseNumber(text);
            QVERIFY2(parsed && generalText(*parsed) == text, qPrintable(text));
        }
    }

    // Refused files name the first faulty line and its key; a whole sample file (line 0) loads
    // as the sample, and a changed line is checked through what the save writes back for it.
    void loadsOrRefuses_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");         // 0: too few lines, or none changed
        QTest::addColumn<QByteArray>("saved"); // null: refused
        QByteArrayList lines = sampleConfigLines();
        const QByteArray whole = joinedLines(lines), loaded("");
        QTest::newRow("CR LF") << whole << 0 << loaded;
        QTest::newRow("CR") << joinedLines(lines, "\r") << 0 << loaded;
        QTest::newRow("LF") << joinedLines(lines, "\n") << 0 << loaded;
        QTest::newRow("last line unterminated") << whole.chopped(2) << 0 << loaded;
        QTest::newRow("lines after the 26th") << whole + "Comm1:\t9\r\nrest" << 0 << loaded;
        QTest::newRow("empty") << QByteArray() << 0 << QByteArray();
        QTest::newRow("25 lines") << joinedLines(lines.mid(0, 25)) << 0 << QByteArray();
        lines[18] = "FreqActuatorPostmultExp:\t8";
        lines[3] = "AcquisitionPeriod:\t5";
        QTest::newRow("first fault named") << joinedLines(lines) << 4 << QByteArray();
        const std::tuple<int, const char*, const char*> rows[] = {
            {9, "enableCH1:\t0", nullptr},
            {26, "", nullptr},
            {2, "Comm2:\t9", nullptr},
            {6, "InfiniteLogger:\t2", nullptr},
            {7, "DisplayedPoints:", nullptr},
            {11, "CalibrationCoeffCH0:\tabc", nullptr},
            {26, "MultimeterEnabled:\tmaybe", nullptr},
            {2, "Comm2:\t2.5", "2"},
            {1, "Comm1:\t-1", "-1"},
            {26, "MultimeterEnabled:\t-1", "True"},
            {26, "MultimeterEnabled:\t0", "False"},
            {26, "MultimeterEnabled:\tFalse", "False"},
            {21, "MultimeterCommand0:\tREAD?\tx", "READ?"},
            {15, "LabelCH1:", ""}};
        for (const auto& [line, text, saved] : rows)
            QTest::addRow("line %d: %s", line, text)
                << sampleConfigFile(line, text) << line << QByteArray(saved);
    }
    void loadsOrRefuses() {
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        QFETCH(QByteArray, saved);
        const ConfigLoad load = parseConfig(file);
        QVERIFY2(bool(load) == !saved.isNull(), qPrintable(load.detail));
        if (load && !line) {
            QCOMPARE(*load.config, sampleConfig());
        } else if (load) {
            QCOMPARE(savedLine(*load.config, line),
                     configKeys()[line - 1].toLatin1() + '\t' + saved + '\r');
        } else {
            QCOMPARE(load.error, line ? LoadError::Corrupted : LoadError::InitFileError);
            const QString prefix = QStringLiteral("line %1").arg(line);
            QVERIFY2(!line ||
                         (load.detail.startsWith(prefix) && !load.detail[prefix.size()].isDigit() &&
                          load.detail.contains(configKeys()[line - 1])),
                     qPrintable(load.detail));
        }
    }

    void savesAndReadsBack() {
        QCOMPARE(serializeConfig(sampleConfig()), joinedLines(sampleConfigLines()));
        Config config = sampleConfig();
        config.coefficients = {9.99999999999999e-5, 1e15, -1e-300};
        config.labels[2] = QString::fromUtf8("µ ± ÿ");
        config.meterEnabled = false;
        QCOMPARE(parseConfig(serializeConfig(config)).config, config);
        config.meterLabel = QString::fromUtf8("Ω a😀b");
        QCOMPARE(savedLine(config, 20), "LabelMultimeterOut:\t? a?b\r");
    }

    // The rig's demo starts the station with this file: three channels, the board on Comm1.
    void demoFileLoads() {
        QFile demo(QStringLiteral(VEMRA_SOURCE_DIR "/tools/rig/demo-Vemra.ini"));
        QVERIFY(demo.open(QIODevice::ReadOnly));
        const ConfigLoad load = parseConfig(demo.readAll());
        QVERIFY2(load && load.config->comm1 == 1 && load.config->enable == (std::array{1, 1, 1}),
                 qPrintable(load.detail));
    }

    // No bytes: refused, the stores no longer hold the run.
    void dataFileLayouts_data() {
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
    void dataFileLayouts() {
        QFETCH(int, mask);
        QFETCH(bool, meter);
        QFETCH(double, step);
        QFETCH(int, count);
        QFETCH(QSize, store);
        const Matrix samples = storeOf(store.height(), store.width());
        ReadingStore readings(3);
        readings.set(0, u"+1,5E+03");
        readings.set(2, u"-4,5E-01");
        const DataFileContent content{
            mask, count, meter, step, samples, readings, {"Force", "Position", "Temp"}, "µV Ω"};
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
        QVERIFY2(writeDataFile(dir.path(), runFileStem(fifthOfMarch), headerOnly, &written, &error),
                 qPrintable(error));
        QCOMPARE(written, "VemraData 5-3 9-7-4" + number + ".txt");
        QCOMPARE(QFileInfo(dir.filePath(written)).size(), qint64(12)); // "Time (mS)\t\r\n"
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

    void failedDataFileWriteLeavesNoFile() {
        QTemporaryDir dir;
        QString written, error;
        QVERIFY(!writeDataFile(dir.filePath("missing"), runFileStem(fifthOfMarch), headerOnly,
                               &written, &error));
        QVERIFY2(error.contains("\"VemraData 5-3 9-7-4.txt\""), qPrintable(error));
        QVERIFY(written.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }
};

QTEST_APPLESS_MAIN(TestFormats)
#include "test_formats.moc"
