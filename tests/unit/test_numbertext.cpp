#include "common/numbertext.h"

#include <QRandomGenerator>
#include <QTest>
#include <bit>
#include <cmath>
#include <limits>
#include <tuple>

using namespace vemra;

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void textForms_data() {
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
    void textForms() {
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
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
