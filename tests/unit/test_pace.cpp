// The meter's pace, one rule for the station's advice and the rig's meter: the reading time
// from the lines that set the meter up, and the README's table of shortest periods.

#include "meter/pace.h"

#include <QtTest>

using namespace vemra::meter;

class PaceTest : public QObject {
    Q_OBJECT
private slots:
    // The lines as the station sends them, and the shortest period (tenths of a millisecond)
    // at 50 Hz; 0: the rule cannot tell.
    void periodFromTheSetUpLines_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<double>("period");
        const QStringList defaults{"SYST:REM",       "CONF:FRES DEF,DEF", "TRIG:SOUR EXT",
                                   "TRIG:COUNT INF", "FRES:NPLC 1",       "READ?"};
        // 2 × 20 ms of integration and zero, 1,5 ms of delay, 18,3 ms on the line.
        QTest::newRow("the station's defaults") << defaults << 599.0;
        QTest::newRow("autozero off") << (defaults + QStringList{"ZERO:AUTO OFF"}) << 399.0;
        QTest::newRow("autozero once") << (defaults + QStringList{"SENS:ZERO:AUTO ONCE"}) << 399.0;
        QTest::newRow("a step the meter does not have, taken up")
            << QStringList{"CONF:FRES", "FRES:NPLC 0.5"} << 599.0;
        QTest::newRow("volts, NPLC 0.2") << QStringList{"CONF:VOLT:DC", "VOLT:NPLC 0.2"} << 279.0;
        QTest::newRow("the 1 MΩ range") << QStringList{"CONF:RES 1E6", "RES:NPLC 0.02"} << 342.0;
        QTest::newRow("the largest range") << QStringList{"CONF:FRES", "FRES:RANG MAX"} << 5184.0;
        QTest::newRow("a range the meter refuses") << QStringList{"CONF:RES abc"} << 0.0;
        QTest::newRow("the 10 MΩ range")
            << QStringList{"CONF:FRES 10E6,DEF", "FRES:NPLC MIN"} << 1192.0;
        QTest::newRow("a fixed trigger delay")
            << QStringList{"CONF:FRES", "FRES:NPLC 0.2", "TRIG:DEL 0.01"} << 364.0;
        QTest::newRow("configured again: autozero back on")
            << QStringList{"ZERO:AUTO OFF", "CONF:FRES", "FRES:NPLC 0.2"} << 279.0;
        QTest::newRow("two commands on a line") << QStringList{"CONF:FRES;:FRES:NPLC 0.2"} << 279.0;
        QTest::newRow("unknown line") << QStringList{"CONF:FRES", "CALC:FUNC AVER"} << 0.0;
        QTest::newRow("NPLC beyond the meter") << QStringList{"FRES:NPLC 200"} << 0.0;
    }
    void periodFromTheSetUpLines() {
        QFETCH(QStringList, lines);
        std::vector<std::string> text;
        for (const QString& line : lines)
            text.push_back(line.toStdString());
        std::string unknown;
        const auto setting = settingFromLines(text, &unknown);
        QTEST(setting ? shortestPeriod(*setting, 50) : 0.0, "period");
        QCOMPARE(setting.has_value(), unknown.empty());
    }

    // The README's table of shortest periods is the rule's own.
    void readmeTableFollowsTheRule() {
        QFile readme(VEMRA_SOURCE_DIR "/README.md");
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        static const QRegularExpression row(
            QStringLiteral("^\\| (\\S+) \\| (on|off) \\| ([\\d,]+) ms \\| ([\\d,]+) ms \\|$"),
            QRegularExpression::MultilineOption);
        int rows = 0;
        for (auto match = row.globalMatch(text); match.hasNext(); ++rows) {
            const QRegularExpressionMatch m = match.next();
            MeterSetting setting;
            setting.nplc = m.captured(1).replace(u',', u'.').toDouble();
            setting.autozero = m.captured(2) == u"on";
            for (const auto& [hz, column] : {std::pair(50.0, 3), std::pair(60.0, 4)})
                QCOMPARE(
                    m.captured(column),
                    QString::number(shortestPeriod(setting, hz) / 10, 'f', 1).replace(u'.', u','));
        }
        QCOMPARE(rows, 8);
    }
};

QTEST_APPLESS_MAIN(PaceTest)
#include "test_pace.moc"
