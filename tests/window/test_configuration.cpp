// "Vemra.ini" through the window: start-up, "Reload Configuration", "Save Configuration".

#include "support/formfixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

using namespace vemra;
using namespace vemra::test;

namespace {

// A file as the rig's demo would have it, with line `replaceLine` (from 1) replaced.
QByteArray configFile(int replaceLine = 0, const QByteArray& replacement = {}) {
    QList<QByteArray> lines = QByteArray("Comm1:\t3|Comm2:\t4|TotalNumOfPoints:\t500|"
                                         "AcquisitionPeriod:\t200|NumAveragPoints:\t20|"
                                         "InfiniteLogger:\t0|DisplayedPoints:\t2000|"
                                         "EnableCH0:\t1|EnableCH1:\t1|EnableCH2:\t0|"
                                         "CalibrationCoeffCH0:\t0,5|CalibrationCoeffCH1:\t1E-06|"
                                         "CalibrationCoeffCH2:\t2|LabelCH0:\tLoad (N)|"
                                         "LabelCH1:\tStroke (mm)|LabelCH2:\tTemp (C)|"
                                         "ForceActuatorValue:\t100|FreqActuatorPrescaler:\t2|"
                                         "FreqActuatorPostmultExp:\t3|LabelMultimeterOut:\tR|"
                                         "MultimeterCommand0:\tCONF:RES|MultimeterCommand1:\tA|"
                                         "MultimeterCommand2:\tB|MultimeterCommand3:\tC|"
                                         "MultimeterCommand4:\tD|MultimeterEnabled:\tTrue|")
                                  .split('|');
    if (replaceLine > 0)
        lines[replaceLine - 1] = replacement;
    return lines.join("\r\n");
}

} // namespace

class ConfigurationTest : public QObject {
    Q_OBJECT
private slots:
    void refusedFilesApplyNothing_data();
    void refusedFilesApplyNothing();
    void reloadOnOpenPort();
    void startUpThenSaveAndLoadBack();
    void demoFileLoads();
};

void ConfigurationTest::refusedFilesApplyNothing_data() {
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<bool>("corrupted");  // else unreadable
    QTest::addColumn<QString>("detail");
    QTest::newRow("missing") << QByteArray() << false << QStringLiteral("Vemra.ini");
    QTest::newRow("25 lines") << configFile().left(configFile().lastIndexOf("Multimeter")) << false
                              << QString();
    QTest::newRow("changed key") << configFile(5, "NumAveragePoints:\t20") << true
                                 << QStringLiteral("line 5");
    QTest::newRow("out of limits") << configFile(18, "FreqActuatorPrescaler:\t0") << true
                                   << QStringLiteral("FreqActuatorPrescaler:");
    QTest::newRow("grey check box")
        << configFile(9, "EnableCH1:\t2") << true << QStringLiteral("EnableCH1:");
    QTest::newRow("port 9") << configFile(1, "Comm1:\t9") << true << QStringLiteral("Comm1:");
}

void ConfigurationTest::refusedFilesApplyNothing() {
    QFETCH(QByteArray, file);
    QFETCH(bool, corrupted);
    QFETCH(QString, detail);
    FormFixture fx;
    if (!file.isNull())
        fx.writeFile(QStringLiteral("Vemra.ini"), file);
    Form1& f = fx.start();
    QCOMPARE(fx.startupMessages.size(), 1);
    QCOMPARE(fx.startupMessages.first().title, QStringLiteral("Warning"));
    QCOMPARE(fx.startupMessages.first().icon, MessageIcon::Critical);
    QCOMPARE(fx.startupMessages.first().text, corrupted ? QStringLiteral("Corrupted Init File!")
                                                        : QStringLiteral("Init File Error!"));
    QVERIFY2(fx.startupMessages.first().detail.contains(detail),
             qPrintable(fx.startupMessages.first().detail));
    QCOMPARE(f.TotalPoints, 1000);
    QCOMPARE(f.CommPort1, 0);
    QCOMPARE(f.CoeffCH0, 1.0); // raw counts, not zeros
    QCOMPARE(f.TextLabel->text(), QStringLiteral("Force (g)"));
    QVERIFY(!f.LoadingConf);
    fx.chooseBoardPort(1);
    QCOMPARE(f.MSComm1->rThreshold(), 40);
}

void ConfigurationTest::reloadOnOpenPort() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CWButtonPWM->click();
    fx.writeFile(QStringLiteral("Vemra.ini"), configFile());
    fx.board->clearWritten();

    f.LoadConf->trigger();

    // Period first, then the maximum value with the prescaler and multiplier of before
    // (they come later in the file), then the manual output again.
    QCOMPARE(fx.board->written().toHex(' '),
             bytes({'T', 0x00, 0xC8, 'P', 0x64, 0x01, 0x01, 'O'}).toHex(' '));
    QCOMPARE(fx.dialogs->shown.last().text, QStringLiteral("Parameters Loaded"));
    // CH0 and CH1, 20 records a block: the open port takes the new block length.
    QCOMPARE(f.MSComm1->rThreshold(), 6 * 20);

    f.CommandSendData->click();
    fx.board->clearLog();
    f.LoadConf->trigger();
    QCOMPARE(fx.board->log(), QStringList()); // during a run: no close, no emptying, no bytes
}

void ConfigurationTest::startUpThenSaveAndLoadBack() {
    FormFixture fx;
    fx.writeFile(QStringLiteral("Vemra.ini"), configFile());
    Form1& f = fx.start();
    QCOMPARE(fx.startupMessages.size(), 1);
    QCOMPARE(fx.startupMessages.first().title, QStringLiteral("Init"));
    QCOMPARE(fx.startupMessages.first().text, QStringLiteral("Parameters Loaded"));
    QCOMPARE(f.TotalPoints, 500);
    QCOMPARE(f.ChannelMask, 3);
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("0,781")); // period, prescaler, multiplier
    QCOMPARE(f.CWGraph1->axisCaption(2), QStringLiteral("Load (N)"));
    QCOMPARE(f.CWGraph1->axisMaximum(2), 511.5);
    QCOMPARE(f.LabelParam[0]->text(), QStringLiteral("CONF:RES"));
    QVERIFY(f.AgilChann->isChecked());
    QVERIFY(!f.LoadingConf);
    QVERIFY(!f.MSComm1->portOpen());

    f.CoeffCH2 = 0.0123;
    f.TextLabelCH2->setText(QStringLiteral("Température"));
    fx.chooseBoardPort(2);
    f.SaveConf->trigger();
    QCOMPARE(fx.dialogs->shown.last().title, QStringLiteral("DOWNLOAD"));
    QCOMPARE(fx.dialogs->shown.last().text, QStringLiteral("Parameters Saved"));
    const QByteArray saved = readFile(fx.dir() + QStringLiteral("/Vemra.ini"));
    QVERIFY(saved.startsWith("Comm1:\t2\r\n")); // the open port, not the one of the file

    FormFixture again;
    again.writeFile(QStringLiteral("Vemra.ini"), saved);
    Form1& g = again.start();
    QCOMPARE(again.startupMessages.first().text, QStringLiteral("Parameters Loaded"));
    QCOMPARE(g.TextLabelCH2->text(), QStringLiteral("Température"));
    g.CommandCommStart->click();
    g.SaveConf->trigger();
    QCOMPARE(readFile(again.dir() + QStringLiteral("/Vemra.ini")), saved);

    // A folder where the file should go: the save fails and says so.
    QFile::remove(again.dir() + QStringLiteral("/Vemra.ini"));
    QDir(again.dir()).mkdir(QStringLiteral("Vemra.ini"));
    g.SaveConf_Click();
    QCOMPARE(again.dialogs->shown.last().title, QStringLiteral("Warning"));
    QVERIFY(again.dialogs->shown.last().text.contains(QStringLiteral("Vemra.ini")));
}

void ConfigurationTest::demoFileLoads() {
    FormFixture fx;
    fx.writeFile(QStringLiteral("Vemra.ini"),
                 readFile(QStringLiteral(VEMRA_SOURCE_DIR "/tools/rig/demo-Vemra.ini")));
    Form1& f = fx.start();
    QCOMPARE(fx.startupMessages.first().text, QStringLiteral("Parameters Loaded"));
    QCOMPARE(f.NumChannels, 3);
    f.CommandCommStart->click();
    QVERIFY(f.MSComm1->portOpen());
    QVERIFY(f.CommandSendData->isEnabled());
}

QTEST_MAIN(ConfigurationTest)
#include "test_configuration.moc"
