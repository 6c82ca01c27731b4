// The status bar's link health: rates over the last interval and counts since Start, for a
// clean stream, damaged records, dropped blocks, a link gone quiet and the meter's readings.

#include "support/formfixture.h"

#include <QLabel>

using namespace vemra;
using namespace vemra::test;

class LinkHealthTest : public QObject {
    Q_OBJECT
private slots:
    void counters_data();
    void counters();
};

void LinkHealthTest::counters_data() {
    QTest::addColumn<int>("badRecords");   // among 100 CH0 records, 10 a block
    QTest::addColumn<int>("total");        // points of the run: fewer than sent drops blocks
    QTest::addColumn<int>("quietMs");      // then nothing for this long
    QTest::addColumn<QByteArray>("meter"); // units the meter sends
    QTest::addColumn<QString>("shown");
    const QByteArray reading("+1.00000000E+03,");
    QTest::newRow("clean stream")
        << 0 << 1000 << 0 << QByteArray()
        << "Board: 100 records/s, 400 bytes/s, 0 checksum errors, 0 dropped blocks";
    QTest::newRow("checksum errors")
        << 3 << 1000 << 0 << QByteArray()
        << "Board: 100 records/s, 400 bytes/s, 3 checksum errors, 0 dropped blocks";
    // 30 points keep 30 + 21 spare columns: of ten blocks five fit.
    QTest::newRow("drops") << 0 << 30 << 0 << QByteArray()
                           << "Board: 100 records/s, 400 bytes/s, 0 checksum errors, 5 dropped "
                              "blocks";
    QTest::newRow("quiet link") << 0 << 1000 << 2500 << QByteArray()
                                << "Board: no data for 2 s, 0 checksum errors, 0 dropped blocks";
    QTest::newRow("meter") << 0 << 1000 << 0 << reading.repeated(3) + "+1.0000000E+03,x"
                           << "Board: 100 records/s, 400 bytes/s, 0 checksum errors, 0 dropped "
                              "blocks · Meter: 3 readings/s, 1 out of step";
}

void LinkHealthTest::counters() {
    QFETCH(int, badRecords);
    QFETCH(int, total);
    QFETCH(int, quietMs);
    QFETCH(QByteArray, meter);
    QFETCH(QString, shown);
    FormFixture fx;
    Form1& f = fx.start();
    if (!meter.isEmpty())
        fx.chooseMeterPort(2);
    const QDateTime start = fx.clock->now();
    fx.startRun(total);
    for (int b = 0; b < 10; ++b) {
        QByteArray sent;
        for (int i = 0; i < 10; ++i)
            sent += record({b * 10 + i}, b * 10 + i < badRecords);
        fx.send(sent);
    }
    fx.meter->deliver(meter);
    QTRY_COMPARE(f.MSComm2->inBufferCount(), 0);
    fx.clock->set(start.addMSecs(1000));
    f.TimerLinkHealth_Timer();
    if (quietMs > 0) {
        fx.clock->set(start.addMSecs(1000 + quietMs));
        f.TimerLinkHealth_Timer();
    }
    QCOMPARE(f.LabelLinkHealth->text(), shown);

    // Start begins the counts afresh.
    f.CommandOff->click();
    f.CommandSendData->click();
    fx.clock->set(fx.clock->now().addMSecs(500));
    f.TimerLinkHealth_Timer();
    QVERIFY(f.LabelLinkHealth->text().startsWith(
        QStringLiteral("Board: 0 records/s, 0 bytes/s, 0 checksum errors, 0 dropped blocks")));
}

QTEST_MAIN(LinkHealthTest)
#include "test_linkhealth.moc"
