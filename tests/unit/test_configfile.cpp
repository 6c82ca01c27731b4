#include "files/configfile.h"
#include "support/sampleconfig.h"

#include <QTest>
#include <tuple>

using namespace vemra;
using namespace vemra::test;

namespace {

// The sample file's settings, in file order.
Config sampleConfig() {
    const std::array<int, 3> enable{1, 0, 1};
    const std::array<double, 3> coefficients{1e-6, 1.5e20, -0.0123};
    const std::array<QString, 3> labels{"Load (N)", QString::fromUtf8("Temp °C"), ""};
    const std::array<QString, 5> commands{"CONF:RES", "TRIG:SOUR BUS", "TRIG:COUNT 1",
                                          "RES:NPLC 10", "*CLS"};
    return Config(3, 0, 500, 200, 20, 1, 2000, enable, coefficients, labels, 2.5, 2, 3,
                  "Strain (Ohm)", commands, true);
}

QByteArray savedLine(const Config& config, int n) {
    return serializeConfig(config).split('\n').at(n - 1);
}

} // namespace

class TestConfigFile : public QObject {
    Q_OBJECT

private slots:
    void readsWholeFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("CR LF") << joinedLines(sampleConfigLines());
        QTest::newRow("CR") << joinedLines(sampleConfigLines(), "\r");
        QTest::newRow("LF") << joinedLines(sampleConfigLines(), "\n");
        QTest::newRow("last line unterminated") << joinedLines(sampleConfigLines()).chopped(2);
        QTest::newRow("lines after the 26th")
            << joinedLines(sampleConfigLines()) + "Comm1:\t9\r\nrest";
    }
    void readsWholeFiles() {
        QFETCH(QByteArray, file);
        const ConfigLoad load = parseConfig(file);
        QVERIFY2(load, qPrintable(load.detail));
        QCOMPARE(*load.config, sampleConfig());
    }

    // Refused files name the first faulty line and its key; a loaded line is checked through
    // what the save writes back for it.
    void loadsOrRefuses_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");         // 0: too few lines
        QTest::addColumn<QByteArray>("saved"); // null: refused
        QByteArrayList lines = sampleConfigLines();
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
        for (const auto& [line, text, saved] : rows) {
            lines = sampleConfigLines();
            lines[line - 1] = text;
            QTest::addRow("line %d: %s", line, text)
                << joinedLines(lines) << line << QByteArray(saved);
        }
    }
    void loadsOrRefuses() {
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        QFETCH(QByteArray, saved);
        const ConfigLoad load = parseConfig(file);
        QVERIFY2(bool(load) == !saved.isNull(), qPrintable(load.detail));
        if (load) {
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
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "test_configfile.moc"
