// The main graph rebuilt for each set of enabled channels, and the stores sized with it.

#include "support/formfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

namespace {

const QColor green(0, 255, 0);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

void enable(Form1& f, int mask) {
    f.CheckEnCH0->setChecked(mask & 1);
    f.CheckEnCH1->setChecked(mask & 2);
    f.CheckEnCH2->setChecked(mask & 4);
    f.NumChannels = static_cast<std::uint8_t>(((mask & 1) ? 1 : 0) + ((mask & 2) ? 1 : 0) +
                                              ((mask & 4) ? 1 : 0));
}

} // namespace

class GraphSetupTest : public QObject {
    Q_OBJECT
private slots:
    void layouts_data();
    void layouts();
    void noChannelKeepsPrimaryAxis();
    void coefficientSetsFullScaleAndSpan();
    void captionsFollowLabels();
    void storesFollowChannelsAndExternalChannel();
    void runningTwiceGivesSameResult();
};

void GraphSetupTest::layouts_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<QList<QColor>>("traces");
    QTest::addColumn<QList<int>>("traceAxes");
    QTest::addColumn<int>("axes");
    QTest::newRow("CH0") << 1 << QList<QColor>{green} << QList<int>{2} << 2;
    QTest::newRow("CH1") << 2 << QList<QColor>{red} << QList<int>{2} << 2;
    QTest::newRow("CH2") << 4 << QList<QColor>{blue} << QList<int>{2} << 2;
    QTest::newRow("CH0 CH1") << 3 << QList<QColor>{green, red} << QList<int>{2, 3} << 3;
    QTest::newRow("CH0 CH2") << 5 << QList<QColor>{green, blue} << QList<int>{2, 3} << 3;
    QTest::newRow("CH1 CH2") << 6 << QList<QColor>{red, blue} << QList<int>{2, 3} << 3;
    QTest::newRow("all") << 7 << QList<QColor>{green, red, blue} << QList<int>{2, 3, 4} << 4;
}

void GraphSetupTest::layouts() {
    QFETCH(int, mask);
    QFETCH(QList<QColor>, traces);
    QFETCH(QList<int>, traceAxes);
    QFETCH(int, axes);
    FormFixture fx;
    Form1& f = fx.start();
    enable(f, 7);
    f.GraphSetup(); // a previous layout with every axis, to be replaced
    enable(f, mask);
    f.GraphSetup();

    Graph& g = *f.CWGraph1;
    QCOMPARE(g.traceCount(), traces.size());
    QCOMPARE(g.axisCount(), axes);
    for (int k = 0; k < traces.size(); ++k) {
        QCOMPARE(g.traceColor(k), traces[k]);
        QCOMPARE(g.traceAxis(k), traceAxes[k]);
        QCOMPARE(g.axisTickColor(traceAxes[k]), traces[k]);
        QCOMPARE(g.axisOpposite(traceAxes[k]), traceAxes[k] > 2);
        QCOMPARE(g.axisMinimum(traceAxes[k]), 0.0);
        QCOMPARE(g.axisMaximum(traceAxes[k]), 1023.0);
    }
    QCOMPARE(f.BlockData.rows(), traces.size());
    QCOMPARE(f.SampleData.rows(), traces.size());
}

void GraphSetupTest::noChannelKeepsPrimaryAxis() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CoeffCH1 = 2;
    enable(f, 2);
    f.GraphSetup();
    enable(f, 0);
    f.GraphSetup();
    QCOMPARE(f.CWGraph1->traceCount(), 0);
    QCOMPARE(f.CWGraph1->axisCount(), 2);
    QCOMPARE(f.CWGraph1->axisMaximum(2), 2046.0);
    QCOMPARE(f.CWGraph1->axisCaption(2), QStringLiteral("CH1 (a.u.)"));
    QCOMPARE(f.CWGraph1->axisTickColor(2), red);
    QCOMPARE(f.BlockData.rows(), 1);
    QCOMPARE(f.BlockData.cols(), 1);
    QCOMPARE(f.SampleData.rows(), 1);
    QCOMPARE(f.SampleData.cols(), 1);
}

void GraphSetupTest::coefficientSetsFullScaleAndSpan() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CoeffCH0 = 2;
    f.CoeffCH2 = 1e-6;
    enable(f, 5);
    f.GraphSetup();
    QCOMPARE(f.CWGraph1->axisMaximum(2), 2046.0);
    QCOMPARE(f.CWNumEditSpan->value(), 2046.0);
    QCOMPARE(f.CWGraph1->axisMaximum(3), 1023e-6);
    QCOMPARE(f.CWNumEditSpanCH2->value(), 0.001023);
    // A full scale beyond the span edit's limit still reaches the axis whole.
    f.CoeffCH0 = 1000;
    f.GraphSetup();
    QCOMPARE(f.CWGraph1->axisMaximum(2), 1023000.0);
    QCOMPARE(f.CWNumEditSpan->value(), 64000.0);
}

void GraphSetupTest::captionsFollowLabels() {
    FormFixture fx;
    Form1& f = fx.start();
    f.TextLabelCH2->setText(QStringLiteral("Temp (C)"));
    f.LabelForce->setText(QStringLiteral("12"));
    enable(f, 5);
    f.GraphSetup();
    QCOMPARE(f.LabelSpan->text(), QStringLiteral("Max Span Force (g)"));
    QCOMPARE(f.LabelAverage->text(), QStringLiteral("Average Force (g)"));
    QCOMPARE(f.LabelSpanCH2->text(), QStringLiteral("Max Span Temp (C)"));
    QCOMPARE(f.LabelAverageCH2->text(), QStringLiteral("Average Temp (C)"));
    QCOMPARE(f.CWGraph1->axisCaption(3), QStringLiteral("Temp (C)"));
    // A disabled channel's captions stay as they were.
    QCOMPARE(f.LabelSpanCH1->text(), QStringLiteral("Max Span CH1"));
    QCOMPARE(f.LabelForce->text(), QString());
}

void GraphSetupTest::storesFollowChannelsAndExternalChannel() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CWNumEditNumPoint->setValue(20);
    f.TotalPoints = 500;
    enable(f, 7);
    f.GraphSetup();
    QCOMPARE(f.BlockData.rows(), 3);
    QCOMPARE(f.BlockData.cols(), 20);
    QCOMPARE(f.SampleData.cols(), 500 + 40 + 1);
    QCOMPARE(f.MultData.size(), std::size_t(1));
    f.AgilChann->setChecked(true);
    f.GraphSetup();
    QCOMPARE(f.MultData.size(), std::size_t(501));
}

void GraphSetupTest::runningTwiceGivesSameResult() {
    FormFixture fx;
    Form1& f = fx.start();
    enable(f, 6);
    f.GraphSetup();
    f.GraphSetup();
    QCOMPARE(f.CWGraph1->traceCount(), 2);
    QCOMPARE(f.CWGraph1->axisCount(), 3);
    QCOMPARE(f.CWGraph1->traceAxis(1), 3);
}

QTEST_MAIN(GraphSetupTest)
#include "test_graphsetup.moc"
