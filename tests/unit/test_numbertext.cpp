#include "common/numbertext.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace vemra;

namespace {

// Seventeen digits tell any two doubles apart, so this compares exactly (QCOMPARE on doubles
// is fuzzy) and still prints both values on failure.
QByteArray exact(double value) {
    return QByteArray::number(value, 'g', 17);
}

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void generalTextForms_data();
    void generalTextForms();
    void appendGeneralStaysInBounds_data();
    void appendGeneralStaysInBounds();
    void fixed3Forms_data();
    void fixed3Forms();
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void saturatesIntegers();
    void parsesNumbers_data();
    void parsesNumbers();
    void refusesNonNumbers_data();
    void refusesNonNumbers();
    void generalTextReadsBack_data();
    void generalTextReadsBack();
};

void TestNumberText::generalTextForms_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char* text;
    } rows[] = {{25, "25"},
                {40.0, "40"},
                {-1, "-1"},
                {1.5, "1,5"},
                {0.5, "0,5"},
                {0.09765625, "0,09765625"},
                {3 * 0.3, "0,9"},
                {0.1 + 0.2, "0,3"},
                {1.0 / 3, "0,333333333333333"},
                {2.0 / 3, "0,666666666666667"},
                {0.0001, "0,0001"},
                {0.00009999999999999999, "0,0001"},
                {0.00012345, "0,00012345"},
                {1e-6, "1E-06"},
                {1.5e-5, "1,5E-05"},
                {-2.5e-7, "-2,5E-07"},
                {123456789012345, "123456789012345"},
                {999999999999999.9, "1E+15"},
                {1e15, "1E+15"},
                {1.5e20, "1,5E+20"},
                {1e100, "1E+100"},
                {1e-100, "1E-100"},
                {1000000, "1000000"},
                {-std::numeric_limits<double>::max(), "-1,79769313486232E+308"},
                {-std::numeric_limits<double>::denorm_min(), "-4,94065645841247E-324"},
                {-0.00012345678901234567, "-0,000123456789012346"},
                {0.0, "0"},
                {-0.0, "0"},
                {std::nan(""), "NaN"},
                {inf, "Inf"},
                {-inf, "-Inf"}};
    for (const auto& row : rows)
        QTest::addRow("%s", row.text) << row.value << QString::fromLatin1(row.text);
}

void TestNumberText::generalTextForms() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(generalText(value), text);
}

void TestNumberText::appendGeneralStaysInBounds_data() {
    QTest::addColumn<double>("value");

    const double values[] = {-std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::min(),
                             -std::numeric_limits<double>::denorm_min(),
                             -0.00012345678901234567,
                             -123456789012345.0,
                             -12345678901234.56,
                             -std::numeric_limits<double>::infinity()};
    for (double value : values)
        QTest::addRow("%.17g", value) << value;
}

void TestNumberText::appendGeneralStaysInBounds() {
    QFETCH(double, value);
    constexpr char untouched = '#';
    char buffer[generalTextMaxLength + 8];
    std::fill(std::begin(buffer), std::end(buffer), untouched);
    const int length = appendGeneral(buffer, value);
    QVERIFY(length <= generalTextMaxLength);
    QVERIFY(std::all_of(buffer + length, std::end(buffer), [](char c) { return c == untouched; }));
}

void TestNumberText::fixed3Forms_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const struct {
        double value;
        const char* text;
    } rows[] = {{25, "25,000"},
                {0.09765625, "0,098"},
                {1000, "1000,000"},
                {6400000, "6400000,000"},
                {30.03003003, "30,030"},
                {0.3125, "0,313"},
                {-0.0625, "-0,063"},
                {1.0004999, "1,000"},
                {-12.3456, "-12,346"},
                {-0.0004, "0,000"},
                {1e17, "100000000000000000,000"}};
    for (const auto& row : rows)
        QTest::addRow("%s", row.text) << row.value << QString::fromLatin1(row.text);
}

void TestNumberText::fixed3Forms() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(fixed3Text(value), text);
}

void TestNumberText::roundsHalvesToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<long long>("whole");

    const long long most = std::numeric_limits<long long>::max();
    const long long least = std::numeric_limits<long long>::min();
    const struct {
        double value;
        long long whole;
    } rows[] = {{2.5, 2},       {3.5, 4},      {-2.5, -2},
                {0.5, 0},       {1.5, 2},      {-1.5, -2},
                {126.5, 126},   {127.5, 128},  {0.49999999999999994, 0},
                {2.5000001, 3}, {-2.6, -3},    {std::nan(""), 0},
                {1e30, most},   {-1e30, least}};
    for (const auto& [value, whole] : rows)
        QTest::addRow("%g", value) << value << whole;
}

void TestNumberText::roundsHalvesToEven() {
    QFETCH(double, value);
    QFETCH(long long, whole);
    QCOMPARE(roundHalfEven(value), whole);
}

void TestNumberText::saturatesIntegers() {
    QCOMPARE(toByte(300), std::uint8_t{255});
    QCOMPARE(toByte(-5), std::uint8_t{0});
    QCOMPARE(toByte(254.5), std::uint8_t{254});
    QCOMPARE(toByte(255.5), std::uint8_t{255});
    QCOMPARE(toInt16(32767.5), std::int16_t{32767});
    QCOMPARE(toInt16(-40000), std::int16_t{-32768});
    QCOMPARE(toInt16(-3.5), std::int16_t{-4});
    QCOMPARE(toInt32(3e9), std::int32_t{2147483647});
    QCOMPARE(toInt32(-3e9), std::int32_t{-2147483647 - 1});
    QCOMPARE(toInt32(std::nan("")), std::int32_t{0});
}

void TestNumberText::parsesNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    const struct {
        const char* text;
        double value;
    } rows[] = {{"1E-06", 1e-6},
                {"2,5", 2.5},
                {"2.5", 2.5},
                {"-0,9", -0.9},
                {"+1,5E+20", 1.5e20},
                {"2,5e3", 2500},
                {",5", 0.5},
                {"5,", 5},
                {"  42 ", 42},
                {"-1.23456789E+03", -1234.56789},
                {"6400000,000", 6400000}};
    for (const auto& row : rows)
        QTest::addRow("%s", row.text) << QString::fromLatin1(row.text) << row.value;
}

void TestNumberText::parsesNumbers() {
    QFETCH(QString, text);
    QFETCH(double, value);
    const auto parsed = parseNumber(text);
    QVERIFY(parsed);
    QCOMPARE(exact(*parsed), exact(value));
}

void TestNumberText::refusesNonNumbers_data() {
    QTest::addColumn<QString>("text");

    for (const char* text : {"", " ", "abc", "1,2,3", "1.2,3", ",", "-", "1E", "1E+", "E5", "--1",
                             "+-1", "1 2", "12a", "0x10", "NaN", "Inf", "1E5.5", "1E400"})
        QTest::addRow("'%s'", text) << QString::fromLatin1(text);
}

void TestNumberText::refusesNonNumbers() {
    QFETCH(QString, text);
    QVERIFY(!parseNumber(text));
    QCOMPARE(exact(numericValue(text)), exact(0.0));
}

void TestNumberText::generalTextReadsBack_data() {
    QTest::addColumn<double>("value");

    const double values[] = {0.0,
                             1.0,
                             -1.0,
                             0.1,
                             0.001023,
                             1e-6,
                             1.5e-5,
                             9.99999999999999e-5,
                             1e-4,
                             123456.789,
                             1.0 / 3,
                             -2.0 / 3,
                             0.1 + 0.2,
                             3 * 0.3,
                             123456789012345.0,
                             999999999999999.0,
                             1e15,
                             1.5e20,
                             -2.5e-7,
                             1e-300,
                             1.23456789012345e300};
    for (double value : values)
        QTest::addRow("%.17g", value) << value;
}

void TestNumberText::generalTextReadsBack() {
    QFETCH(double, value);
    // Texts hold 15 significant digits: the value they stand for is the double nearest to
    // value's 15-digit rounding, which is value itself when it has no more digits.
    const double fifteenDigits = QByteArray::number(value, 'e', 14).toDouble();
    const auto parsed = parseNumber(generalText(value));
    QVERIFY(parsed);
    QCOMPARE(exact(*parsed), exact(fifteenDigits));
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
