// "Vemra.ini" through the window: start-up, "Reload Configuration", "Save Configuration".

#include "support/formfixture.h"
#include "support/sampleconfig.h"

using namespace vemra::test;

class ConfigurationTest : public QObject {
    Q_OBJECT
private slots:
    void refusedFilesApplyNothing_data() {
        QTest::addColumn<QByteArray>("file"); // null: no file; "<loop>", "<folder>": no file either
        QTest::addColumn<bool>("corrupted");  // else unreadable
        QTest::addColumn<QString>("detail");
        QTest::newRow("missing") << QByteArray() << false << QStringLiteral("No such file");
        QTest::newRow("link loop")
            << QByteArray("<loop>") << false << QStringLiteral("Too many levels of symbolic links");
        QTest::newRow("folder") << QByteArray("<folder>") << false << QStringLiteral("not a plain");
        // Damaged files are quoted by a short prefix: the message stays light to lay out.
        QTest::newRow("no line break")
            << QByteArray(1 << 21, 'x') << true << QStringLiteral("\"xxxxxxxxxx");
        QTest::newRow("binary") << QByteArray("Comm1:\t\x01\x02\xff\x80") +
                                       QByteArray(1 << 20, '\0')
                                << false << QStringLiteral("1 lines");
        QTest::newRow("huge value")
            << sampleConfigFile(3, "TotalNumOfPoints:\t" + QByteArray(256 << 10, 'z')) << true
            << QStringLiteral("\"zzzzzzzzzz");
        // Which values a file may hold is the parser's unit tests' business; here a fault late
        // in the file, after values that must not be applied either.
        QTest::newRow("out of limits") << sampleConfigFile(18, "FreqActuatorPrescaler:\t0") << true
                                       << QStringLiteral("FreqActuatorPrescaler:");
    }

    void refusedFilesApplyNothing() {
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
        const RecordingDialogs::Shown& m = fx.startupMessages.first();
        QCOMPARE(m.title + ": " + m.text,
                 corrupted ? "Warning: Corrupted Init File!" : "Warning: Init File Error!");
        QCOMPARE(m.icon, MessageIcon::Critical);
        QVERIFY2(m.detail.contains(detail) && m.detail.size() < 200, qPrintable(m.detail));
        QCOMPARE((QList<double>{double(f.TotalPoints), double(f.CommPort1), f.CoeffCH0}),
                 (QList<double>{1000, 0, 1})); // coefficients of 1: raw counts, not zeros
        QCOMPARE(f.TextLabel->text(), QStringLiteral("Force (g)"));
        QVERIFY(!f.LoadingConf); // the port set-up is not held back
    }

    void reloadOnOpenPort() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.chooseBoardPort(1);
        f.CWButtonPWM->click();
        fx.writeFile(QStringLiteral("Vemra.ini"), sampleConfigFile());
        fx.board->clearWritten();

        f.LoadConf->trigger();

        // Period first, then the maximum value (2,5 rounds to even) with the prescaler and
        // multiplier of before (they come later in the file), then the manual output again.
        QCOMPARE(fx.board->written().toHex(' '),
                 bytes({'T', 0x00, 0xC8, 'P', 0x02, 0x01, 0x01, 'O'}).toHex(' '));
        QCOMPARE(fx.dialogs->shown.last().text, QStringLiteral("Parameters Loaded"));
        // CH0 and CH2, 20 records a block: the open port takes the new block length.
        QCOMPARE(f.MSComm1->rThreshold(), 6 * 20);

        f.CommandSendData->click();
        fx.board->clearLog();
        f.LoadConf->trigger();
        QCOMPARE(fx.board->log(), QStringList()); // during a run: no close, no emptying, no bytes
    }

    void startUpThenSaveAndLoadBack() {
        FormFixture fx;
        fx.writeFile(QStringLiteral("Vemra.ini"), sampleConfigFile());
        Form1& f = fx.start();
        QCOMPARE(fx.startupMessages.size(), 1);
        QCOMPARE(fx.startupMessages.first().title + ": " + fx.startupMessages.first().text,
                 QStringLiteral("Init: Parameters Loaded"));
        // The values reach the controls and their handlers: period, prescaler and multiplier
        // give the actuator frequency, coefficient and label the axis.
        QCOMPARE(
            (QStringList{QString::number(f.TotalPoints), QString::number(f.ChannelMask),
                         f.LabelFreqAct->text(), f.CWGraph1->axisCaption(2),
                         QString::number(f.CWGraph1->axisMaximum(2)), f.LabelParam[0]->text()}),
            (QStringList{"500", "5", "0,781", "Load (N)", "0.001023", "CONF:RES"}));
        QVERIFY(f.AgilChann->isChecked() && !f.LoadingConf && !f.MSComm1->portOpen());

        f.CoeffCH2 = 0.0123;
        f.TextLabelCH2->setText(QStringLiteral("Température"));
        fx.chooseBoardPort(2);
        f.SaveConf->trigger();
        QCOMPARE(fx.said().last(), QStringLiteral("DOWNLOAD: Parameters Saved"));
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

    void failedSaveKeepsTheOldFile_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("labelLength"); // long labels make a file larger than any buffer
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk, small file") << "full" << 10 << "No space left on device";
        QTest::newRow("full disk, large file") << "full" << 30000 << "No space left on device";
        QTest::newRow("folder in the way") << "folder" << 10 << "Vemra.ini";
    }

    void failedSaveKeepsTheOldFile() {
        QFETCH(QString, failure);
        QFETCH(int, labelLength);
        QFETCH(QString, reason);
        FormFixture fx;
        const QString path = fx.dir() + QStringLiteral("/Vemra.ini");
        if (failure == u"full") {
            fx.platform().fileSink = fullDisk();
            fx.writeFile(QStringLiteral("Vemra.ini"), sampleConfigFile());
        }
        Form1& f = fx.start();
        if (failure == u"folder")
            QVERIFY(QDir(fx.dir()).mkdir(QStringLiteral("Vemra.ini")));
        for (QLineEdit* label : {f.TextLabel, f.TextLabelCH1, f.TextLabelCH2, f.TextLabelMult})
            label->setText(QString(labelLength, u'L'));
        fx.dialogs->shown.clear();

        f.SaveConf->trigger();
        QVERIFY2(fx.said().size() == 1 && fx.said()[0].startsWith("Warning: ") &&
                     fx.said()[0].contains(reason),
                 qPrintable(fx.said().join('\n')));
        if (failure == u"full")
            QCOMPARE(readFile(path), sampleConfigFile());
        QCOMPARE(QDir(fx.dir()).entryList(QDir::Files | QDir::Hidden).size(), failure == u"full");
    }

    void demoFileLoads() {
        FormFixture fx;
        fx.writeFile(QStringLiteral("Vemra.ini"),
                     readFile(QStringLiteral(VEMRA_SOURCE_DIR "/tools/rig/demo-Vemra.ini")));
        Form1& f = fx.start();
        QCOMPARE(fx.startupMessages.first().text, QStringLiteral("Parameters Loaded"));
        QCOMPARE(f.NumChannels, 3);
        f.CommandCommStart->click();
        QVERIFY(f.MSComm1->portOpen() && f.CommandSendData->isEnabled());
    }
};

QTEST_MAIN(ConfigurationTest)
#include "test_configuration.moc"
