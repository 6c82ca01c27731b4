// The window as it opens: derived state and labels, controls present under their names,
// every input reachable by the caption the operator reads, and which setup panels can
// stand together.

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

    // One control of each kind: its caption as the operator reads it, and what assistive
    // technology announces (the caption of an input beside it, a value display's value).
    void namesCaptionsAndAccessibleNames_data() {
        // The row's name is the control's; a null text is not checked.
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("announced");
        const QString none;
        QTest::newRow("LoadConf") << QStringLiteral("Reload Configuration") << none;
        QTest::newRow("CheckInf") << QStringLiteral("  Infinite Points (no Logger)") << none;
        QTest::newRow("FrameContols") << QStringLiteral("System Acquisition Timing") << none;
        QTest::newRow("LabelParam0") << QStringLiteral("CONF:FRES DEF,DEF") << none;
        QTest::newRow("CommandCommStart") << QStringLiteral("Default Comm") << none;
        QTest::newRow("CWButtonChangeScrean") << none << none;
        QTest::newRow("CWNumEditNumPoint") << none << QStringLiteral("Points to Sample (Avg.)");
        QTest::newRow("TextAcq") << QStringLiteral("0") << QStringLiteral("Acquired Points");
        QTest::newRow("ComboPort") << none << QStringLiteral("PIC System");
        QTest::newRow("LabelFreqAct") << none << QStringLiteral("0,098 Frequenza (Hz)");
    }
    void namesCaptionsAndAccessibleNames() {
        QFETCH(QString, caption);
        QFETCH(QString, announced);
        FormFixture fx;
        Form1& f = fx.start();
        auto* object = f.findChild<QObject*>(QLatin1String(QTest::currentDataTag()));
        QVERIFY(object);
        QString text;
        if (auto* a = qobject_cast<QAction*>(object))
            text = a->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(object))
            text = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(object))
            text = g->title();
        else if (auto* e = qobject_cast<QLineEdit*>(object))
            text = e->text();
        else if (auto* l = qobject_cast<QLabel*>(object))
            text = l->text();
        if (!caption.isNull())
            QCOMPARE(text, caption);
        if (!announced.isNull()) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
            const QString description = a->text(QAccessible::Description);
            QCOMPARE(a->text(QAccessible::Name) + (description.isEmpty() ? "" : " " + description),
                     announced);
        }
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
