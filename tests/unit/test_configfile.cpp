#include "files/configfile.h"

#include <QTest>

using namespace vemra;

Q_DECLARE_METATYPE(vemra::LoadError)

namespace {

// A file in the form the save writes, so that it also serves as the save's expected bytes.
QByteArrayList sampleLines() {
    const QList<QByteArray> values =
        QByteArray("3|0|1000000|400|10|1|1000|1|0|1|1E-06|1,5E+20|-0,0123|Force (g)|Temp \260C||"
                   "2,5|1|7|Resistence (Ohm)|CONF:FRES DEF,DEF|TRIG:SOUR EXT|TRIG:COUNT INF|"
                   "FRES:NPLC 1||True")
            .split('|');
    QByteArrayList lines;
    for (int n = 0; n < configLineCount; ++n)
        lines << configKeys()[n].toLatin1() + '\t' + values[n];
    return lines;
}

Config sampleConfig() {
    return Config{.comm1 = 3,
                  .totalPoints = 1000000,
                  .period = 400,
                  .pointsPerBlock = 10,
                  .infinite = 1,
                  .displayedPoints = 1000,
                  .enable = {1, 0, 1},
                  .coefficients = {1e-6, 1.5e20, -0.0123},
                  .labels = {"Force (g)", QString::fromUtf8("Temp °C"), ""},
                  .actuatorValue = 2.5,
                  .prescaler = 1,
                  .exponent = 7,
                  .meterLabel = "Resistence (Ohm)",
                  .meterCommands = {"CONF:FRES DEF,DEF", "TRIG:SOUR EXT", "TRIG:COUNT INF",
                                    "FRES:NPLC 1", ""},
                  .meterEnabled = true};
}

QByteArray joined(const QByteArrayList& lines, const QByteArray& end = "\r\n") {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + end;
    return bytes;
}

// The sample with line n (from 1) replaced by text.
QByteArray withLine(int n, const QByteArray& text) {
    QByteArrayList lines = sampleLines();
    lines[n - 1] = text;
    return joined(lines);
}

QByteArray savedLine(const Config& config, int n) {
    return serializeConfig(config).split('\n').at(n - 1);
}

} // namespace

class TestConfigFile : public QObject {
    Q_OBJECT

private slots:
    void readsWholeFiles_data();
    void readsWholeFiles();
    void refusesDamagedFiles_data();
    void refusesDamagedFiles();
    void convertsValues_data();
    void convertsValues();
    void savesTheSampleByteForByte();
    void roundTripsAwkwardNumbers_data();
    void roundTripsAwkwardNumbers();
    void savesTextsAsLatin1_data();
    void savesTextsAsLatin1();
};

void TestConfigFile::readsWholeFiles_data() {
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("CR LF") << joined(sampleLines());
    QTest::newRow("CR") << joined(sampleLines(), "\r");
    QTest::newRow("LF") << joined(sampleLines(), "\n");
    QTest::newRow("last line unterminated") << joined(sampleLines()).chopped(2);
    QTest::newRow("lines after the 26th") << joined(sampleLines()) + "Comm1:\t9\r\nrest";
}

void TestConfigFile::readsWholeFiles() {
    QFETCH(QByteArray, file);
    const ConfigLoad load = parseConfig(file);
    QVERIFY2(load, qPrintable(load.detail));
    QCOMPARE(*load.config, sampleConfig());
}

void TestConfigFile::refusesDamagedFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<LoadError>("error");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("named");

    const QByteArrayList lines = sampleLines();
    const auto corrupted = LoadError::Corrupted;
    QTest::newRow("empty") << QByteArray() << LoadError::InitFileError << 0 << QStringList();
    QTest::newRow("25 lines") << joined(lines.mid(0, 25)) << LoadError::InitFileError << 0
                              << QStringList();

    QByteArrayList missing = lines;
    missing.removeAt(4);
    missing << "x";
    QByteArrayList swapped = lines;
    swapped.swapItemsAt(20, 21);
    QTest::newRow("changed key") << withLine(1, "Comm 1:\t3") << corrupted << 1
                                 << QStringList{"Comm1:", "Comm 1:"};
    QTest::newRow("extra space") << withLine(3, "TotalNumOfPoints: \t1000") << corrupted << 3
                                 << QStringList{"TotalNumOfPoints: "};
    QTest::newRow("letter case") << withLine(9, "enableCH1:\t0") << corrupted << 9
                                 << QStringList{"EnableCH1:", "enableCH1:"};
    QTest::newRow("missing line") << joined(missing) << corrupted << 5
                                  << QStringList{"NumAveragPoints:", "InfiniteLogger:"};
    QTest::newRow("reordered") << joined(swapped) << corrupted << 21
                               << QStringList{"MultimeterCommand0:", "MultimeterCommand1:"};
    QTest::newRow("blank 26th line") << joined(lines.mid(0, 25)) + "\r\n"
                                     << corrupted << 26 << QStringList{"MultimeterEnabled:"};

    const struct {
        const char* name;
        int line;
        QByteArray value;
    } refusedValues[] = {
        {"port not a number", 1, "x1"},
        {"port 9", 1, "9"},
        {"port -1", 2, "-1"},
        {"port rounds to 9", 1, "8,6"},
        {"port empty", 2, ""},
        {"total 0", 3, "0"},
        {"period 5", 4, "5"},
        {"points 1001", 5, "1001"},
        {"state 2", 6, "2"},
        {"state rounds to 2", 8, "1,5"},
        {"exponent 8", 19, "8"},
        {"coefficient abc", 11, "abc"},
        {"coefficient overflows", 13, "1E+400"},
        {"boolean maybe", 26, "maybe"},
    };
    for (const auto& refused : refusedValues) {
        const QString key = configKeys()[refused.line - 1];
        QTest::newRow(refused.name) << withLine(refused.line, key.toLatin1() + '\t' + refused.value)
                                    << corrupted << refused.line << QStringList{key};
    }
    QTest::newRow("number key without TAB")
        << withLine(7, "DisplayedPoints:") << corrupted << 7 << QStringList{"DisplayedPoints:"};
    QByteArrayList twoFaults = lines;
    twoFaults[18] = "FreqActuatorPostmultExp:\t8";
    twoFaults[3] = "AcquisitionPeriod:\t5";
    QTest::newRow("first fault named")
        << joined(twoFaults) << corrupted << 4 << QStringList{"AcquisitionPeriod:"};
}

void TestConfigFile::refusesDamagedFiles() {
    QFETCH(QByteArray, file);
    QFETCH(LoadError, error);
    QFETCH(int, line);
    QFETCH(QStringList, named);

    const ConfigLoad load = parseConfig(file);
    QVERIFY(!load);
    QCOMPARE(load.error, error);
    if (line > 0) {
        const QString prefix = QStringLiteral("line %1").arg(line);
        QVERIFY2(load.detail.startsWith(prefix) && !load.detail[prefix.size()].isDigit(),
                 qPrintable(load.detail));
    }
    for (const QString& text : named)
        QVERIFY2(load.detail.contains(text), qPrintable(load.detail));
}

// Each loaded value is checked through what the save writes back for it.
void TestConfigFile::convertsValues_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("saved");

    const struct {
        const char* name;
        int line;
        QByteArray text;
        QByteArray saved;
    } rows[] = {
        {"port half to even", 1, "Comm1:\t8,5", "8"},
        {"port with point", 2, "Comm2:\t2.5", "2"},
        {"state 1,0", 6, "InfiniteLogger:\t1,0", "1"},
        {"state half to even", 9, "EnableCH1:\t0,5", "0"},
        {"lowest period", 4, "AcquisitionPeriod:\t10", "10"},
        {"coefficient with point", 12, "CalibrationCoeffCH1:\t2.5e-3", "0,0025"},
        {"boolean -1", 26, "MultimeterEnabled:\t-1", "True"},
        {"boolean 0", 26, "MultimeterEnabled:\t0", "False"},
        {"boolean False", 26, "MultimeterEnabled:\tFalse", "False"},
        {"value with TAB", 21, "MultimeterCommand0:\tREAD?\tx", "READ?"},
        {"number before TAB", 17, "ForceActuatorValue:\t255\t0", "255"},
        {"empty value", 14, "LabelCH0:\t", ""},
        {"text key without TAB", 15, "LabelCH1:", ""},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << row.line << row.text << row.saved;
}

void TestConfigFile::convertsValues() {
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, saved);

    const ConfigLoad load = parseConfig(withLine(line, text));
    QVERIFY2(load, qPrintable(load.detail));
    QCOMPARE(savedLine(*load.config, line),
             configKeys()[line - 1].toLatin1() + '\t' + saved + '\r');
}

void TestConfigFile::savesTheSampleByteForByte() {
    QCOMPARE(serializeConfig(sampleConfig()), joined(sampleLines()));
}

void TestConfigFile::roundTripsAwkwardNumbers_data() {
    QTest::addColumn<double>("c0");
    QTest::addColumn<double>("c1");
    QTest::addColumn<double>("c2");
    QTest::addColumn<double>("total");

    QTest::newRow("exponent forms") << 1e-6 << 1.5e20 << 0.0123 << 1000000.0;
    QTest::newRow("around 1E+15") << -123456789012345.0 << 999999999999999.0 << 1e15 << 2.5;
    QTest::newRow("around 1E-04") << 0.0001 << 9.99999999999999e-5 << -1e-300 << 1.0123;
}

void TestConfigFile::roundTripsAwkwardNumbers() {
    QFETCH(double, c0);
    QFETCH(double, c1);
    QFETCH(double, c2);
    QFETCH(double, total);

    Config config = sampleConfig();
    config.coefficients = {c0, c1, c2};
    config.totalPoints = total;
    config.labels[2] = QString::fromUtf8("Dehnung µ ± ÿ");
    config.meterEnabled = false;
    const ConfigLoad load = parseConfig(serializeConfig(config));
    QVERIFY2(load, qPrintable(load.detail));
    QCOMPARE(*load.config, config);
}

void TestConfigFile::savesTextsAsLatin1_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("accents") << QString::fromUtf8("Résistance é")
                             << QByteArray("R\xE9sistance \xE9");
    QTest::newRow("beyond Latin-1") << QString::fromUtf8("Ω (Ohm)") << QByteArray("? (Ohm)");
    QTest::newRow("beyond U+FFFF") << QString::fromUtf8("a😀b") << QByteArray("a?b");
    QTest::newRow("TAB saved whole") << QString("a\tb") << QByteArray("a\tb");
}

void TestConfigFile::savesTextsAsLatin1() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    Config config = sampleConfig();
    config.meterLabel = text;
    QCOMPARE(savedLine(config, 20), "LabelMultimeterOut:\t" + bytes + '\r');
}

QTEST_GUILESS_MAIN(TestConfigFile)
#include "test_configfile.moc"
