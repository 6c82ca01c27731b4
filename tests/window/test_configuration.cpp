// "Vemra.ini" through the window: start-up, "Reload Configuration", "Save Configuration".

#include "support/formfixture.h"

#include "files/configfile.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

namespace {

// A file as the rig's demo would have it, with one line replaced when asked.
QByteArray configFile(int replaceLine = 0, const QByteArray& replacement = {}) {
    const QList<QByteArray> lines = {"Comm1:\t3",
                                     "Comm2:\t4",
                                     "TotalNumOfPoints:\t500",
                                     "AcquisitionPeriod:\t200",
                                     "NumAveragPoints:\t20",
                                     "InfiniteLogger:\t0",
                                     "DisplayedPoints:\t2000",
                                     "EnableCH0:\t1",
                                     "EnableCH1:\t1",
                                     "EnableCH2:\t0",
                                     "CalibrationCoeffCH0:\t0,5",
                                     "CalibrationCoeffCH1:\t1E-06",
                                     "CalibrationCoeffCH2:\t2",
                                     "LabelCH0:\tLoad (N)",
                                     "LabelCH1:\tStroke (mm)",
                                     "LabelCH2:\tTemp (C)",
                                     "ForceActuatorValue:\t100",
                                     "FreqActuatorPrescaler:\t2",
                                     "FreqActuatorPostmultExp:\t3",
                                     "LabelMultimeterOut:\tR (Ohm)",
                                     "MultimeterCommand0:\tCONF:RES",
                                     "MultimeterCommand1:\tA",
                                     "MultimeterCommand2:\tB",
                                     "MultimeterCommand3:\tC",
                                     "MultimeterCommand4:\tD",
                                     "MultimeterEnabled:\tTrue"};
    QByteArray out;
    for (int n = 1; n <= lines.size(); ++n)
        out += (n == replaceLine ? replacement : lines[n - 1]) + "\r\n";
    return out;
}

} // namespace

class ConfigurationTest : public QObject {
    Q_OBJECT
private slots:
    void startUpAppliesTheFile();
    void startUpWithoutFileKeepsDesignValues();
    void damagedFilesApplyNothing_data();
    void damagedFilesApplyNothing();
    void reloadRunsHandlersInFileOrder();
    void reloadedBlockLengthReachesOpenPort();
    void reloadDuringRunLeavesStreamAlone();
    void saveThenLoadGivesEverySettingBack();
    void failedSaveIsReported();
    void demoFileLoads();
};

void ConfigurationTest::startUpAppliesTheFile() {
    FormFixture fx;
    fx.writeFile(QStringLiteral("Vemra.ini"), configFile());
    Form1& f = fx.start();
    QCOMPARE(fx.startupMessages.size(), 1);
    QCOMPARE(fx.startupMessages.first().title, QStringLiteral("Init"));
    QCOMPARE(fx.startupMessages.first().text, QStringLiteral("Parameters Loaded"));
    QCOMPARE(f.CommPort1, 3);
    QCOMPARE(f.CommPort2, 4);
    QCOMPARE(f.TotalPoints, 500);
    QCOMPARE(f.NumAvgPoints, 20);
    QCOMPARE(f.ChannelMask, 3);
    QCOMPARE(f.NumChannels, 2);
    QCOMPARE(f.CoeffCH1, 1e-6);
    QCOMPARE(f.LabelFrequency->text(), QStringLiteral("50,000"));
    QCOMPARE(f.LabelExpTime->text(), QStringLiteral("10,000"));
    QCOMPARE(f.TextDiv->text(), QStringLiteral("2"));
    QCOMPARE(f.TextMul->text(), QStringLiteral("8"));
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("0,781"));
    QCOMPARE(f.CWGraph1->axisCaption(2), QStringLiteral("Load (N)"));
    QCOMPARE(f.CWGraph1->axisMaximum(2), 511.5);
    QCOMPARE(f.LabelParam[0]->text(), QStringLiteral("CONF:RES"));
    QVERIFY(f.AgilChann->isChecked());
    QVERIFY(!f.LoadingConf);
    QVERIFY(!f.MSComm1->portOpen());
}

void ConfigurationTest::startUpWithoutFileKeepsDesignValues() {
    FormFixture fx;
    Form1& f = fx.start();
    QCOMPARE(fx.startupMessages.size(), 1);
    QCOMPARE(fx.startupMessages.first().text, QStringLiteral("Init File Error!"));
    QCOMPARE(fx.startupMessages.first().icon, MessageIcon::Critical);
    QVERIFY(fx.startupMessages.first().detail.contains(QStringLiteral("Vemra.ini")));
    // Without a file the channels record raw counts, not zeros.
    QCOMPARE(f.CoeffCH0, 1.0);
    QCOMPARE(f.TotalPoints, 1000);
    QVERIFY(!f.LoadingConf);
}

void ConfigurationTest::damagedFilesApplyNothing_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("detail");
    QTest::newRow("25 lines") << configFile().left(configFile().lastIndexOf("Multimeter"))
                              << "Init File Error!"
                              << "";
    QTest::newRow("changed key") << configFile(5, "NumAveragePoints:\t20") << "Corrupted Init File!"
                                 << "line 5";
    QTest::newRow("value out of limits")
        << configFile(18, "FreqActuatorPrescaler:\t0") << "Corrupted Init File!"
        << "FreqActuatorPrescaler:";
    QTest::newRow("grey check box") << configFile(9, "EnableCH1:\t2") << "Corrupted Init File!"
                                    << "EnableCH1:";
    QTest::newRow("port 9") << configFile(1, "Comm1:\t9") << "Corrupted Init File!"
                            << "Comm1:";
}

void ConfigurationTest::damagedFilesApplyNothing() {
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(QString, detail);
    FormFixture fx;
    fx.writeFile(QStringLiteral("Vemra.ini"), file);
    Form1& f = fx.start();
    QCOMPARE(fx.startupMessages.size(), 1);
    QCOMPARE(fx.startupMessages.first().title, QStringLiteral("Warning"));
    QCOMPARE(fx.startupMessages.first().text, message);
    QVERIFY2(fx.startupMessages.first().detail.contains(detail),
             qPrintable(fx.startupMessages.first().detail));
    QCOMPARE(f.TotalPoints, 1000);
    QCOMPARE(f.CommPort1, 0);
    QCOMPARE(f.TextLabel->text(), QStringLiteral("Force (g)"));
    QVERIFY(!f.LoadingConf);
    // The port set-up still works after a refused load.
    fx.chooseBoardPort(1);
    QVERIFY(f.MSComm1->portOpen());
    QCOMPARE(f.MSComm1->rThreshold(), 40);
}

void ConfigurationTest::reloadRunsHandlersInFileOrder() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CWButtonPWM->click();
    fx.writeFile(QStringLiteral("Vemra.ini"), configFile());
    fx.board->clearWritten();

    f.LoadConf->trigger();

    // Period first, then the maximum value with the prescaler and multiplier of before
    // (they come later in the file), then the manual output again.
    QCOMPARE(fx.board->written().toHex(' '), QByteArray("T\x00\xC8"
                                                        "P\x64\x01\x01O",
                                                        8)
                                                 .toHex(' '));
    QCOMPARE(fx.dialogs->shown.last().text, QStringLiteral("Parameters Loaded"));
    QCOMPARE(f.TextDiv->text(), QStringLiteral("2"));
}

void ConfigurationTest::reloadedBlockLengthReachesOpenPort() {
    FormFixture fx;
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    QCOMPARE(f.MSComm1->rThreshold(), 40);
    fx.writeFile(QStringLiteral("Vemra.ini"), configFile());
    f.LoadConf_Click();
    QCOMPARE(f.NumAvgPoints, 20);
    // CH0 and CH1 of the file, 20 records a block.
    QCOMPARE(f.ChannelMask, 3);
    QCOMPARE(f.MSComm1->rThreshold(), 6 * 20);
}

void ConfigurationTest::reloadDuringRunLeavesStreamAlone() {
    FormFixture fx;
    fx.writeFile(QStringLiteral("Vemra.ini"), configFile());
    Form1& f = fx.start();
    fx.chooseBoardPort(1);
    f.CommandSendData->click();
    fx.board->clearLog();
    f.LoadConf->trigger();
    QCOMPARE(fx.board->log(), QStringList()); // no close, no emptying, nothing sent
}

void ConfigurationTest::saveThenLoadGivesEverySettingBack() {
    FormFixture fx;
    fx.writeFile(QStringLiteral("Vemra.ini"), configFile());
    Form1& f = fx.start();
    f.CoeffCH2 = 0.0123;
    f.TextLabelCH2->setText(QStringLiteral("Température"));
    fx.chooseBoardPort(3);
    f.SaveConf->trigger();
    QCOMPARE(fx.dialogs->shown.last().title, QStringLiteral("DOWNLOAD"));
    QCOMPARE(fx.dialogs->shown.last().text, QStringLiteral("Parameters Saved"));

    FormFixture again;
    QFile saved(fx.dir() + QStringLiteral("/Vemra.ini"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    again.writeFile(QStringLiteral("Vemra.ini"), bytes);
    Form1& g = again.start();
    QCOMPARE(again.startupMessages.first().text, QStringLiteral("Parameters Loaded"));
    QCOMPARE(g.CommPort1, 3);
    QCOMPARE(g.CommPort2, f.MSComm2->commPort());
    QCOMPARE(g.CWNumEditTotPoint->value(), 500.0);
    QCOMPARE(g.CWNumEditFreq->value(), 200.0);
    QCOMPARE(g.CWNumEditNumPoint->value(), 20.0);
    QCOMPARE(g.CWNumEdit1->value(), 2000.0);
    QCOMPARE(g.CheckEnCH1->isChecked(), true);
    QCOMPARE(g.CheckEnCH2->isChecked(), false);
    QCOMPARE(g.CoeffCH0, 0.5);
    QCOMPARE(g.CoeffCH1, 1e-6);
    QCOMPARE(g.CoeffCH2, 0.0123);
    QCOMPARE(g.TextLabelCH2->text(), QStringLiteral("Température"));
    QCOMPARE(g.CWNumEditPWM->value(), 100.0);
    QCOMPARE(g.CWNumEditMulPeriod->value(), 2.0);
    QCOMPARE(g.CWNumEditMulFreq->value(), 3.0);
    QCOMPARE(g.TextLabelMult->text(), QStringLiteral("R (Ohm)"));
    QCOMPARE(g.LabelParam[4]->text(), QStringLiteral("D"));
    QVERIFY(g.AgilChann->isChecked());
    QVERIFY(bytes.endsWith("MultimeterEnabled:\tTrue\r\n"));
}

void ConfigurationTest::failedSaveIsReported() {
    FormFixture fx;
    Form1& f = fx.start();
    QDir(fx.dir()).mkdir(QStringLiteral("Vemra.ini")); // a folder where the file should go
    f.SaveConf_Click();
    QCOMPARE(fx.dialogs->shown.size(), 1);
    QCOMPARE(fx.dialogs->shown.first().title, QStringLiteral("Warning"));
    QVERIFY(fx.dialogs->shown.first().text.contains(QStringLiteral("Vemra.ini")));
}

void ConfigurationTest::demoFileLoads() {
    QFile demo(QStringLiteral(VEMRA_SOURCE_DIR "/tools/rig/demo-Vemra.ini"));
    QVERIFY(demo.open(QIODevice::ReadOnly));
    FormFixture fx;
    fx.writeFile(QStringLiteral("Vemra.ini"), demo.readAll());
    Form1& f = fx.start();
    QCOMPARE(fx.startupMessages.first().text, QStringLiteral("Parameters Loaded"));
    QCOMPARE(f.CommPort1, 1);
    QCOMPARE(f.NumChannels, 3);
    f.CommandCommStart->click();
    QVERIFY(f.MSComm1->portOpen());
    QVERIFY(f.CommandSendData->isEnabled());
}

QTEST_MAIN(ConfigurationTest)
#include "test_configuration.moc"
