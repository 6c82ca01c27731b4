// "File → Export Chart…": the graph on screen written as a picture at the chosen size, or a
// warning that says why not.

#include "support/formfixture.h"

#include <QAction>
#include <QImage>
#include <QStatusBar>

using namespace vemra;
using namespace vemra::test;

class ChartExportTest : public QObject {
    Q_OBJECT
private slots:
    void exports_data();
    void exports();
};

void ChartExportTest::exports_data() {
    QTest::addColumn<QString>("name");    // empty: the operator cancels
    QTest::addColumn<bool>("meterGraph"); // shown in the main graph's place
    QTest::addColumn<bool>("diskFull");
    QTest::addColumn<QByteArray>("starts"); // the file's first bytes; empty: no file
    QTest::addColumn<QString>("warning");   // empty: none
    QTest::newRow("png") << "chart.PNG" << false << false << QByteArray("\x89PNG") << "";
    QTest::newRow("pdf") << "chart.pdf" << false << false << QByteArray("%PDF") << "";
    QTest::newRow("svg") << "chart.svg" << false << false << QByteArray("<?xml") << "";
    QTest::newRow("meter graph") << "meter.svg" << true << false << QByteArray("<?xml") << "";
    QTest::newRow("full disk") << "chart.png" << false << true << QByteArray()
                               << "No space left on device";
    QTest::newRow("other extension")
        << "chart.jpg" << false << false << QByteArray() << ".png, .pdf or .svg";
    QTest::newRow("cancelled") << "" << false << false << QByteArray() << "";
}

void ChartExportTest::exports() {
    QFETCH(QString, name);
    QFETCH(bool, meterGraph);
    QFETCH(bool, diskFull);
    QFETCH(QByteArray, starts);
    QFETCH(QString, warning);
    FormFixture fx;
    if (diskFull)
        fx.platform().fileSink = fullDisk();
    Form1& f = fx.start();
    fx.startRun(100);
    fx.send(block(0, 10) + block(500, 10));
    f.CWGraphMult->setVisible(meterGraph);
    const QString path = fx.dir() + u'/' + name;
    if (!name.isEmpty())
        fx.dialogs->exportAnswer = ChartExportChoice{path, QSize(640, 480)};

    f.ExportChart->trigger();
    QCOMPARE(fx.dialogs->exportSuggested.size(), 1);
    QCOMPARE(fx.dialogs->exportSuggested.first().path,
             fx.dir() + QStringLiteral("/VemraData 5-3 9-7-4.png"));
    const QByteArray file = name.isEmpty() ? QByteArray() : readFile(path);
    QVERIFY(file.startsWith(starts));
    QCOMPARE(file.isEmpty(), starts.isEmpty());
    QCOMPARE(fx.dialogs->shown.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(fx.dialogs->shown.first().text.contains(warning),
                 qPrintable(fx.dialogs->shown.first().text));
    QCOMPARE(f.statusBar()->currentMessage().contains(path), !starts.isEmpty());
    if (starts == "\x89PNG")
        QCOMPARE(QImage::fromData(file).size(), QSize(640, 480));
    if (starts == "<?xml") // the graph on screen, with its captions
        QVERIFY(file.contains(meterGraph ? "Multimrtr Input" : "Force (g)"));
}

QTEST_MAIN(ChartExportTest)
#include "test_chartexport.moc"
