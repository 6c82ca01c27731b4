// The window as it opens and the settings it keeps: the state derived at start-up, inputs
// and values as assistive technology announces them, which setup panels stand together, and
// "Vemra.ini" at start-up, on "Reload Configuration" and "Save Configuration".

#include "support/formfixture.h"
#include "support/sampleconfig.h"

using namespace vemra::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    // Start-up derives the labels and the acquisition's mask from the controls (their own
    // defaults are the window's literals). Assistive technology announces an input by the
    // caption beside it and a value display by its value and caption (the live values are
    // checked where they change).
    void startUpDerivesTheStateAndNamesEveryControl() {
        FormFixture fx;
        Form1& f = fx.start();
        const std::pair<const char*, const char*> announced[] = {
            {"CWNumEditNumPoint", "Points to Sample (Avg.)|10|"},
            {"ComboPort", "PIC System||"},
            {"CWNumEditFreq", "Acquisition Time (ms/10)|400|"},
            {"LabelFreqAct", "0,098||Frequenza (Hz)"},
            {"LabelExpTime", "40,000||Total Exp Time (sec)"}};
        for (const auto& [name, text] : announced)
            QCOMPARE(spoken(f.findChild<QObject*>(name)), QString(text));
        QCOMPARE(f.LabelFrequency->text(), QStringLiteral("25,000"));
        f.show();
        QCOMPARE(flags({f.CommandSendData->isVisible(), f.CWGraph1->isVisible(),
                        f.FrameCoeff->isVisible(), f.CheckCoeff->isVisible(),
                        f.CWGraphMult->isVisible()}),
                 QStringLiteral("11000"));
    }

    // The timing and graph panels exclude each other, the multimeter panel every other, the
    // actuator panel stands beside timing or graph; the calibration box goes with the timing
    // panel. "Exit" closes the multimeter panel but leaves its mark: the next choice only
    // clears it.
    void panelsShareTheColumnByMenuChoice_data() {
        QTest::addColumn<QString>("items"); // chosen in turn
        QTest::addColumn<QString>("shown"); // timing, graph, multimeter, actuator: panels, marks;
                                            // the calibration box enabled
        const std::pair<const char*, const char*> rows[] = {
            {"", "1000 1000 1"},
            {"GraphControl", "0100 0100 0"},
            {"DisplacementSys", "1001 1001 1"},
            {"GraphControl DisplacementSys", "0101 0101 1"},
            {"DisplacementSys MultimSetup", "0010 0010 0"},
            {"DisplacementSys MultimSetup TimeSetup", "1000 1000 1"},
            {"DisplacementSys DisplacementSys", "1000 1000 1"},
            {"MultimSetup Exit", "0000 0010 1"},
            {"MultimSetup Exit MultimSetup", "0000 0000 1"}};
        for (const auto& [items, shown] : rows)
            QTest::addRow("'%s'", items) << QString(items) << QString(shown);
    }
    void panelsShareTheColumnByMenuChoice() {
        QFETCH(QString, items);
        FormFixture fx;
        Form1& f = fx.start();
        f.show();
        fx.chooseBoardPort(1);
        f.MultimSetup->setEnabled(true); // as once a meter port is chosen
        for (const QString& item : items.split(u' ', Qt::SkipEmptyParts)) {
            if (item == u"Exit")
                f.CommandExit->click();
            else
                f.findChild<QAction*>(item)->trigger();
        }
        QTEST(flags({f.FrameContols->isVisible(), f.FrameGraph->isVisible(),
                     f.FrameAgilent->isVisible(), f.FrameActuator->isVisible()}) +
                  ' ' +
                  flags({f.TimeSetup->isChecked(), f.GraphControl->isChecked(),
                         f.MultimSetup->isChecked(), f.DisplacementSys->isChecked()}) +
                  ' ' + flags({f.CheckCoeff->isEnabled()}),
              "shown");
    }

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
        QTest::newRow("read-only folder") << "read-only" << 10 << "Permission denied";
        QTest::newRow("folder in the way") << "folder" << 10 << "Vemra.ini";
    }

    void failedSaveKeepsTheOldFile() {
        QFETCH(QString, failure);
        QFETCH(int, labelLength);
        QFETCH(QString, reason);
        FormFixture fx(failure);
        if (failure != u"folder")
            fx.writeFile(QStringLiteral("Vemra.ini"), sampleConfigFile());
        Form1& f = fx.start();
        if (failure == u"folder")
            QVERIFY(QDir(fx.dir()).mkdir(QStringLiteral("Vemra.ini")));
        for (QLineEdit* label : {f.TextLabel, f.TextLabelCH1, f.TextLabelCH2, f.TextLabelMult})
            label->setText(QString(labelLength, u'L'));
        fx.dialogs->shown.clear();

        fx.saving([&] { f.SaveConf->trigger(); });
        QVERIFY2(fx.said().size() == 1 && fx.said()[0].startsWith("Warning: ") &&
                     fx.said()[0].contains(reason),
                 qPrintable(fx.said().join('\n')));
        if (failure != u"folder")
            QCOMPARE(readFile(fx.dir() + "/Vemra.ini"), sampleConfigFile());
        QCOMPARE(QDir(fx.dir()).entryList(QDir::Files | QDir::Hidden).size(), failure != u"folder");
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
