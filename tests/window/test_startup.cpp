// The window as it opens: derived state and labels, inputs and values as assistive
// technology announces them, and which setup panels can stand together.

#include "support/formfixture.h"

using namespace vemra::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void derivedStateAtDefaults() {
        FormFixture fx;
        Form1& f = fx.start();
        f.show();
        QCOMPARE(f.windowTitle(), QStringLiteral("Vemra Measurement V 1.4 (Old Style)"));
        QCOMPARE((QList<int>{f.TotalPoints, f.NumAvgPoints, f.ChannelMask}),
                 (QList<int>{1000, 10, 1}));
        QCOMPARE(f.LabelFrequency->text() + ' ' + f.LabelExpTime->text() + ' ' +
                     f.LabelFreqAct->text(),
                 QStringLiteral("25,000 40,000 0,098"));
        QCOMPARE(flags({f.TimerSendFrame->isActive(), f.TimerMulUpd->isActive(),
                        f.SelectChannel->isEnabled(), f.MultimSetup->isEnabled(),
                        f.GraphToggle->isChecked(), f.AgilChann->isChecked()}),
                 QStringLiteral("000010"));
        for (QWidget* shown : QList<QWidget*>{f.FrameDebug, f.CommandSendData, f.CommandOff,
                                              f.CommandSave, f.TextAcq, f.CWGraph1})
            QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
        for (QWidget* hidden : QList<QWidget*>{f.FrameCoeff, f.CheckCoeff, f.CWGraphMult})
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));

        // Start-up derives the mask from the boxes.
        fx.enableChannels(6);
        f.ChannelMask = 0;
        f.Form_Load();
        QVERIFY(f.ChannelMask == 6 && f.NumChannels == 2);
    }

    // Assistive technology announces an input by the caption beside it and a value display
    // by its value and caption. (The captions themselves are the window's literals; the live
    // values' announcements are checked where they change.)
    void inputsAndValuesAnnounced_data() {
        QTest::addColumn<QString>("announced"); // the row's name is the control's
        QTest::newRow("CWNumEditNumPoint") << QStringLiteral("Points to Sample (Avg.)");
        QTest::newRow("ComboPort") << QStringLiteral("PIC System");
        QTest::newRow("CWNumEditFreq") << QStringLiteral("Acquisition Time (ms/10)");
        QTest::newRow("LabelFreqAct") << QStringLiteral("0,098 Frequenza (Hz)");
        QTest::newRow("LabelExpTime") << QStringLiteral("40,000 Total Exp Time (sec)");
    }
    void inputsAndValuesAnnounced() {
        FormFixture fx;
        Form1& f = fx.start();
        auto* object = f.findChild<QObject*>(QLatin1String(QTest::currentDataTag()));
        QVERIFY(object);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
        const QString description = a->text(QAccessible::Description);
        QTEST(a->text(QAccessible::Name) + (description.isEmpty() ? "" : " " + description),
              "announced");
    }

    void panelSharing_data() {
        QTest::addColumn<QString>("items"); // menu items chosen in turn
        QTest::addColumn<QString>("shown"); // timing, graph, multimeter, actuator: 1 shown
        QTest::newRow("start-up") << QString() << QStringLiteral("1000");
        QTest::newRow("graph replaces timing") << "GraphControl" << QStringLiteral("0100");
        QTest::newRow("actuator beside timing") << "DisplacementSys" << QStringLiteral("1001");
        QTest::newRow("actuator beside graph")
            << "GraphControl DisplacementSys" << QStringLiteral("0101");
        QTest::newRow("multimeter alone")
            << "DisplacementSys MultimSetup" << QStringLiteral("0010");
        QTest::newRow("timing after multimeter")
            << "DisplacementSys MultimSetup TimeSetup" << QStringLiteral("1000");
        QTest::newRow("actuator closed again")
            << "DisplacementSys DisplacementSys" << QStringLiteral("1000");
    }

    void panelSharing() {
        QFETCH(QString, items);
        QFETCH(QString, shown);
        FormFixture fx;
        Form1& f = fx.start();
        f.show();
        fx.chooseBoardPort(1);
        f.MultimSetup->setEnabled(true); // as once a meter port is chosen
        for (const QString& item : items.split(u' ', Qt::SkipEmptyParts))
            f.findChild<QAction*>(item)->trigger();
        QCOMPARE(flags({f.FrameContols->isVisible(), f.FrameGraph->isVisible(),
                        f.FrameAgilent->isVisible(), f.FrameActuator->isVisible()}),
                 shown);
        QCOMPARE(flags({f.TimeSetup->isChecked(), f.GraphControl->isChecked(),
                        f.MultimSetup->isChecked(), f.DisplacementSys->isChecked()}),
                 shown); // the menu marks follow the panels
    }

    void multimeterExitAndCalibrationBox() {
        FormFixture fx;
        Form1& f = fx.start();
        f.MultimSetup->setEnabled(true);
        fx.chooseBoardPort(1);
        f.MultimSetup->trigger();
        QVERIFY(!f.CheckCoeff->isEnabled());
        // "Exit" leaves the mark: the next choice only clears it.
        f.CommandExit->click();
        QVERIFY(f.CheckCoeff->isEnabled() && f.MultimSetup->isChecked());
        f.MultimSetup->trigger();
        QVERIFY(!f.MultimSetup->isChecked() && !f.FrameAgilent->isVisibleTo(&f));
        f.GraphControl->trigger();
        QVERIFY(!f.CheckCoeff->isEnabled());
        f.TimeSetup->trigger();
        QVERIFY(f.CheckCoeff->isEnabled());
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
