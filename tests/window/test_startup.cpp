// The window as it opens: derived state and labels, inputs and values as assistive
// technology announces them, and which setup panels can stand together.

#include "support/formfixture.h"

using namespace vemra::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    // Start-up derives the labels and the acquisition's mask from the controls (their own
    // defaults are the window's literals).
    void derivedStateAtStartUp() {
        FormFixture fx;
        Form1& f = fx.start();
        QCOMPARE(f.LabelFrequency->text() + ' ' + f.LabelExpTime->text() + ' ' +
                     f.LabelFreqAct->text(),
                 QStringLiteral("25,000 40,000 0,098"));
        f.show();
        QCOMPARE(flags({f.CommandSendData->isVisible(), f.CWGraph1->isVisible(),
                        f.FrameCoeff->isVisible(), f.CheckCoeff->isVisible(),
                        f.CWGraphMult->isVisible()}),
                 QStringLiteral("11000"));
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

    // The timing and graph panels exclude each other, the multimeter panel every other, the
    // actuator panel stands beside timing or graph; the calibration box goes with the timing
    // panel. "Exit" closes the multimeter panel but leaves its mark: the next choice only
    // clears it.
    void panelSharing_data() {
        QTest::addColumn<QString>("items"); // chosen in turn
        QTest::addColumn<QString>("shown"); // timing, graph, multimeter, actuator: panels, marks;
                                            // the calibration box enabled
        QTest::newRow("start-up") << ""
                                  << "1000 1000 1";
        QTest::newRow("graph replaces timing") << "GraphControl"
                                               << "0100 0100 0";
        QTest::newRow("actuator beside timing") << "DisplacementSys"
                                                << "1001 1001 1";
        QTest::newRow("actuator beside graph") << "GraphControl DisplacementSys"
                                               << "0101 0101 1";
        QTest::newRow("multimeter alone") << "DisplacementSys MultimSetup"
                                          << "0010 0010 0";
        QTest::newRow("timing after multimeter") << "DisplacementSys MultimSetup TimeSetup"
                                                 << "1000 1000 1";
        QTest::newRow("actuator closed again") << "DisplacementSys DisplacementSys"
                                               << "1000 1000 1";
        QTest::newRow("Exit") << "MultimSetup Exit"
                              << "0000 0010 1";
        QTest::newRow("after Exit") << "MultimSetup Exit MultimSetup"
                                    << "0000 0000 1";
    }
    void panelSharing() {
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
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
