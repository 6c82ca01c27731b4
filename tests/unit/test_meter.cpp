// The meter's dialogue as bytes and texts, and the compact store of its readings.

#include "meter/readingstore.h"
#include "meter/scpi.h"

#include <QTest>

using namespace vemra;
using namespace vemra::meter;

class TestMeter : public QObject {
    Q_OBJECT

private slots:
    void readingUnits_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("reading"); // null: "Err Mult!"
        QTest::newRow("positive") << "+1.23456789E+03,"
                                  << "+1,23456789E+03";
        QTest::newRow("negative, small") << "-4.50000000E-07,"
                                         << "-4,50000000E-07";
        QTest::newRow("overload") << "+9.90000000E+37,"
                                  << "+9,90000000E+37";
        QTest::newRow("taken as it comes") << "x?.abcdefghijkl,"
                                           << "x?,abcdefghijkl";
        QTest::newRow("out of step") << "23456789E+03,+1." << QString();
        QTest::newRow("error reply") << "-113,\"Undefined " << QString();
        QTest::newRow("line end") << "+1.23456789E+03\r" << QString();
        QTest::newRow("short") << "+1.2345678E+03," << QString();
    }
    void readingUnits() {
        QFETCH(QString, unit);
        QFETCH(QString, reading);
        QCOMPARE(readingText(unit).value_or(QString()), reading);
        if (!reading.isNull())
            QCOMPARE(std::isnan(readingValue(reading)), unit.startsWith(u'x'));
    }

    // The rest of the dialogue (line ends, the INIT lines, manual replies) is checked on the
    // wire by the window tests; a character the meter's 8-bit line cannot carry goes as '?'.
    void commandLineIsEightBitText() {
        QCOMPARE(commandLine(u"R\u00e9\u20ac"), QByteArray("R\xe9?\r\n"));
    }

    void storeHoldsReadingsBySlot() {
        ReadingStore store(3);
        QVERIFY(store.set(0, u"+1,23456789E+03"));
        QVERIFY(store.set(2, u"0123456789ABCDEFG")); // cut to 15 characters
        QVERIFY(store.set(1, u"\u00b5\u03a9"));      // Latin-1 kept, the rest '?'
        QCOMPARE(QString(store.text(0)) + '|' + store.text(1) + '|' + store.text(2),
                 QString::fromLatin1("+1,23456789E+03|\xb5?|0123456789ABCDE"));
        QVERIFY(store.set(1, u""));
        QVERIFY(!store.filled(1) && store.filled(2));

        // Nothing is stored or read outside the store.
        for (int slot : {-1, 3, 1 << 30}) {
            QVERIFY(!store.set(slot, u"x"));
            QVERIFY(!store.filled(slot) && store.text(slot).isEmpty());
        }
        store.cut(5); // never grows
        QCOMPARE(store.size(), 3);
        store.cut(1);
        QCOMPARE(store.size(), 1);
        QCOMPARE(store.text(0), QLatin1StringView("+1,23456789E+03"));
        store.redim(2);
        QVERIFY(store.size() == 2 && !store.filled(0));
        store.redim(-4);
        QCOMPARE(store.size(), 0);
    }
};

QTEST_APPLESS_MAIN(TestMeter)
#include "test_meter.moc"
