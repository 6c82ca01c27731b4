// The window as it opens: derived state and labels, controls present under their names,
// every input reachable by the caption the operator reads, and which setup panels can
// stand together.

#include "support/formfixture.h"

#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

using namespace vemra;
using namespace vemra::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void derivedStateAtDefaults();
    void namesCaptionsAndAccessibleNames_data();
    void namesCaptionsAndAccessibleNames();
    void panelSharing_data();
    void panelSharing();
    void multimeterExitAndCalibrationBox();
};

void StartupTest::derivedStateAtDefaults() {
    FormFixture fx;
    Form1& f = fx.start();
    f.show();
    QCOMPARE(f.windowTitle(), QStringLiteral("Vemra Measurement V 1.4 (Old Style)"));
    QCOMPARE(f.TotalPoints, 1000);
    QCOMPARE(f.NumAvgPoints, 10);
    QCOMPARE(f.ChannelMask, 1);
    QCOMPARE(f.LabelFrequency->text(), QStringLiteral("25,000"));
    QCOMPARE(f.LabelExpTime->text(), QStringLiteral("40,000"));
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("0,098"));
    QVERIFY(!f.TimerSendFrame->isActive());
    QVERIFY(!f.TimerMulUpd->isActive());
    QVERIFY(!f.SelectChannel->isEnabled() && !f.MultimSetup->isEnabled());
    QVERIFY(f.GraphToggle->isChecked() && !f.AgilChann->isChecked());
    for (QWidget* shown : QList<QWidget*>{f.FrameDebug, f.CommandSendData, f.CommandOff,
                                          f.CommandSave, f.TextAcq, f.CWGraph1})
        QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
    for (QWidget* hidden : QList<QWidget*>{f.FrameCoeff, f.CheckCoeff, f.CWGraphMult})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));

    // Start-up derives the mask from the boxes.
    fx.enableChannels(6);
    f.ChannelMask = 0;
    f.Form_Load();
    QCOMPARE(f.ChannelMask, 6);
    QCOMPARE(f.NumChannels, 2);
}

void StartupTest::namesCaptionsAndAccessibleNames_data() {
    // The row's name is the control's; a null text is not checked.
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("announced");
    const QString none;
    QTest::newRow("LoadConf") << QStringLiteral("Reload Configuration") << none;
    QTest::newRow("TimeSetup") << QStringLiteral("System Acquisition Time") << none;
    QTest::newRow("MultimSetup") << QStringLiteral("Agilent 3441A Advanced Setup") << none;
    QTest::newRow("CheckInf") << QStringLiteral("  Infinite Points (no Logger)") << none;
    QTest::newRow("FrameContols") << QStringLiteral("System Acquisition Timing") << none;
    QTest::newRow("TextLabelMult") << QStringLiteral("Resistence (Ohm)") << none;
    QTest::newRow("LabelParam0") << QStringLiteral("CONF:FRES DEF,DEF") << none;
    QTest::newRow("CommandCommStart") << QStringLiteral("Default Comm") << none;
    QTest::newRow("CWButtonChangeScrean") << none << none;
    QTest::newRow("CWNumEditNumPoint") << none << QStringLiteral("Points to Sample (Avg.)");
    QTest::newRow("CWNumEditFreq") << none << QStringLiteral("Acquisition Time (ms/10)");
    QTest::newRow("TextAcq") << QStringLiteral("0") << QStringLiteral("Acquired Points");
    QTest::newRow("ComboPort") << none << QStringLiteral("PIC System");
    // Value displays: read out as their value, described by their caption.
    QTest::newRow("LabelFreqAct") << none << QStringLiteral("0,098 Frequenza (Hz)");
    QTest::newRow("LabelFrequency") << none << QStringLiteral("25,000 Frequency (Hz)");
    QTest::newRow("LabelExpTime") << none << QStringLiteral("40,000 Total Exp Time (sec)");

}

void StartupTest::namesCaptionsAndAccessibleNames() {
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

void StartupTest::panelSharing_data() {
    QTest::addColumn<QString>("items"); // menu items chosen in turn
    QTest::addColumn<QString>("shown"); // timing, graph, multimeter, actuator: 1 shown
    QTest::newRow("start-up") << QString() << QStringLiteral("1000");
    QTest::newRow("graph replaces timing") << "GraphControl" << QStringLiteral("0100");
    QTest::newRow("actuator beside timing") << "DisplacementSys" << QStringLiteral("1001");
    QTest::newRow("actuator beside graph")
        << "GraphControl DisplacementSys" << QStringLiteral("0101");
    QTest::newRow("multimeter alone") << "DisplacementSys MultimSetup" << QStringLiteral("0010");
    QTest::newRow("timing after multimeter")
        << "DisplacementSys MultimSetup TimeSetup" << QStringLiteral("1000");
    QTest::newRow("actuator closed again")
        << "DisplacementSys DisplacementSys" << QStringLiteral("1000");
}

void StartupTest::panelSharing() {
    QFETCH(QString, items);
    QFETCH(QString, shown);
    FormFixture fx;
    Form1& f = fx.start();
    f.show();
    fx.chooseBoardPort(1);
    f.MultimSetup->setEnabled(true); // as once a meter port is chosen
    for (const QString& item : items.split(u' ', Qt::SkipEmptyParts))
        f.findChild<QAction*>(item)->trigger();
    QString actual, marks;
    for (QWidget* panel : {f.FrameContols, f.FrameGraph, f.FrameAgilent, f.FrameActuator})
        actual += panel->isVisible() ? u'1' : u'0';
    for (QAction* item : {f.TimeSetup, f.GraphControl, f.MultimSetup, f.DisplacementSys})
        marks += item->isChecked() ? u'1' : u'0';
    QCOMPARE(actual, shown);
    QCOMPARE(marks, shown);
}

void StartupTest::multimeterExitAndCalibrationBox() {
    FormFixture fx;
    Form1& f = fx.start();
    f.MultimSetup->setEnabled(true);
    fx.chooseBoardPort(1);
    f.MultimSetup->trigger();
    QVERIFY(!f.CheckCoeff->isEnabled());
    f.CommandExit->click();
    QVERIFY(f.CheckCoeff->isEnabled());
    QVERIFY(f.MultimSetup->isChecked()); // "Exit" leaves the mark: the next choice only clears it
    f.MultimSetup->trigger();
    QVERIFY(!f.MultimSetup->isChecked());
    QVERIFY(!f.FrameAgilent->isVisibleTo(&f));
    f.GraphControl->trigger();
    QVERIFY(!f.CheckCoeff->isEnabled());
    f.TimeSetup->trigger();
    QVERIFY(f.CheckCoeff->isEnabled());
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
