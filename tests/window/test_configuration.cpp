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
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void demoFileLoads();
};

void ConfigurationTest::refusedFilesApplyNothing_data() {
    QTest::addColumn<QByteArray>("file"); // null: no file; "<loop>", "<folder>": no file either
    QTest::addColumn<bool>("corrupted");  // else unreadable
    QTest::addColumn<QString>("detail");
    QTest::newRow("missing") << QByteArray() << false << QStringLiteral("No such file");
    QTest::newRow("link loop") << QByteArray("<loop>") << false
                               << QStringLiteral("Too many levels of symbolic links");
    QTest::newRow("folder") << QByteArray("<folder>") << false << QStringLiteral("not a plain");
    // Damaged files are quoted by a short prefix: the message stays light to lay out.
    QTest::newRow("no line break")
        << QByteArray(1 << 21, 'x') << true << QStringLiteral("\"xxxxxxxxxx");
    QTest::newRow("binary") << QByteArray("Comm1:\t\x01\x02\xff\x80") + QByteArray(1 << 20, '\0')
                            << false << QStringLiteral("1 lines");
    QTest::newRow("huge value") << configFile(3, "TotalNumOfPoints:\t" + QByteArray(256 << 10, 'z'))
                                << true << QStringLiteral("\"zzzzzzzzzz");
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
    const QString path = fx.dir() + QStringLiteral("/Vemra.ini");
    if (file == "<loop>")
        QVERIFY(QFile::link(path, path));
    else if (file == "<folder>")
        QVERIFY(QDir(fx.dir()).mkdir(QStringLiteral("Vemra.ini")));
    else if (!file.isNull())
        fx.writeFile(QStringLiteral("Vemra.ini"), file);
    Form1& f = fx.start();
    QCOMPARE(fx.startupMessages.size(), 1);
    QCOMPARE(fx.startupMessages.first().title, QStringLiteral("Warning"));
    QCOMPARE(fx.startupMessages.first().icon, MessageIcon::Critical);
    QCOMPARE(fx.startupMessages.first().text, corrupted ? QStringLiteral("Corrupted Init File!")
                                                        : QStringLiteral("Init File Error!"));
    QVERIFY2(fx.startupMessages.first().detail.contains(detail),
             qPrintable(fx.startupMessages.first().detail));
    QVERIFY(fx.startupMessages.first().detail.size() < 200);
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
}

void ConfigurationTest::failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("labelLength"); // long labels make a file larger than any buffer
    QTest::addColumn<QString>("reason");
    QTest::newRow("full disk, small file") << "full" << 10 << "No space left on device";
    QTest::newRow("full disk, large file") << "full" << 30000 << "No space left on device";
    QTest::newRow("folder in the way") << "folder" << 10 << "Vemra.ini";
}

void ConfigurationTest::failedSaveKeepsTheOldFile() {
    QFETCH(QString, failure);
    QFETCH(int, labelLength);
    QFETCH(QString, reason);
    FormFixture fx;
    const QString path = fx.dir() + QStringLiteral("/Vemra.ini");
    if (failure == u"full") {
        fx.platform().fileSink = fullDisk();
        fx.writeFile(QStringLiteral("Vemra.ini"), configFile());
    }
    Form1& f = fx.start();
    if (failure == u"folder")
        QVERIFY(QDir(fx.dir()).mkdir(QStringLiteral("Vemra.ini")));
    for (QLineEdit* label : {f.TextLabel, f.TextLabelCH1, f.TextLabelCH2, f.TextLabelMult})
        label->setText(QString(labelLength, u'L'));
    fx.dialogs->shown.clear();

    f.SaveConf->trigger();
    QCOMPARE(fx.dialogs->shown.size(), 1);
    QCOMPARE(fx.dialogs->shown.first().title, QStringLiteral("Warning"));
    QVERIFY2(fx.dialogs->shown.first().text.contains(reason),
             qPrintable(fx.dialogs->shown.first().text));
    if (failure == u"full")
        QCOMPARE(readFile(path), configFile());
    QCOMPARE(QDir(fx.dir()).entryList(QDir::Files | QDir::Hidden).size(), failure == u"full");
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
