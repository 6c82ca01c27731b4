// The timing edits: derived labels, the period command and the stores they size.

#include "support/formfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

class TimingTest : public QObject {
    Q_OBJECT
private slots:
    void periodLabelsAndCommand_data();
    void periodLabelsAndCommand();
    void pointsPerBlockFollowsToThePort();
    void totalPointsSizesStores();
    void closedPortPeriodChangeSendsNothing();
};

void TimingTest::periodLabelsAndCommand_data() {
    QTest::addColumn<double>("period");
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("10") << 10.0 << 1000.0 << "1000,000"
                        << "1,000" << QByteArray("T\x00\x0A", 3);
    QTest::newRow("64000") << 64000.0 << 1000000.0 << "0,156"
                           << "6400000,000" << QByteArray("T\xFA\x00", 3);
    QTest::newRow("333") << 333.0 << 1000.0 << "30,030"
                         << "33,300" << QByteArray("T\x01\x4D", 3);
}

void TimingTest::periodLabelsAndCommand() {
    QFETCH(double, period);
    QFETCH(double, total);
    QFETCH(QString, frequency);
    QFETCH(QString, duration);
    QFETCH(QByteArray, command);
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CWNumEditTotPoint->setValue(total);
    fx.board->clearWritten();
    f.CWNumEditFreq->setValue(period);
    QCOMPARE(fx.board->written().toHex(' '), command.toHex(' '));
    QCOMPARE(f.LabelFrequency->text(), frequency);
    QCOMPARE(f.LabelExpTime->text(), duration);
}

void TimingTest::pointsPerBlockFollowsToThePort() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CheckEnCH1->setChecked(true);
    f.NumChannels = 2;
    fx.chooseBoardPort(1);
    f.CWNumEditNumPoint->setValue(20);
    QCOMPARE(f.NumAvgPoints, 20);
    QCOMPARE(f.MSComm1->rThreshold(), 120);
    QCOMPARE(f.MSComm1->inputLen(), 120);
    QCOMPARE(f.BlockData.rows(), 2);
    QCOMPARE(f.BlockData.cols(), 20);
}

void TimingTest::totalPointsSizesStores() {
    FormFixture fx;
    Form1& f = fx.start();
    f.NumChannels = 3;
    f.CWNumEditTotPoint->setValue(500);
    QCOMPARE(f.TotalPoints, 500);
    QCOMPARE(f.SampleData.rows(), 3);
    QCOMPARE(f.SampleData.cols(), 521);
    QCOMPARE(f.MultData.size(), std::size_t(501));
}

void TimingTest::closedPortPeriodChangeSendsNothing() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CWNumEditFreq->setValue(200);
    QVERIFY(fx.board->written().isEmpty());
    QCOMPARE(f.LabelFrequency->text(), QStringLiteral("50,000"));
    QCOMPARE(f.LabelExpTime->text(), QStringLiteral("20,000"));
}

QTEST_MAIN(TimingTest)
#include "test_timing.moc"
