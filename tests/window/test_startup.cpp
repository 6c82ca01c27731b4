// The window as it opens: derived state and labels, controls present under their names,
// initial states, and every input reachable by the caption the operator reads.

#include "support/formfixture.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void derivedStateAtDefaults();
    void channelsOneAndTwo();
    void menuItems_data();
    void menuItems();
    void panels();
    void controlsCarryTheirNames_data();
    void controlsCarryTheirNames();
    void inputsAnnouncedByCaption_data();
    void inputsAnnouncedByCaption();
};

void StartupTest::derivedStateAtDefaults() {
    FormFixture fx;
    Form1& f = fx.start();
    QCOMPARE(f.windowTitle(), QStringLiteral("Vemra Measurement V 1.4 (Old Style)"));
    QCOMPARE(f.TotalPoints, 1000);
    QCOMPARE(f.NumAvgPoints, 10);
    QCOMPARE(f.ChannelMask, 1);
    QCOMPARE(f.NumChannels, 1);
    QCOMPARE(f.LabelFrequency->text(), QStringLiteral("25,000"));
    QCOMPARE(f.LabelExpTime->text(), QStringLiteral("40,000"));
    QCOMPARE(f.TextMul->text(), QStringLiteral("1"));
    QCOMPARE(f.TextDiv->text(), QStringLiteral("1"));
    QCOMPARE(f.LabelFreqAct->text(), QStringLiteral("0,098"));
    QVERIFY(f.CWNumEditSpan->isEnabled());
    QVERIFY(!f.CWNumEditSpanCH1->isEnabled());
    QVERIFY(!f.CWNumEditSpanCH2->isEnabled());
    QVERIFY(!f.CommandSendData->isEnabled());
    QVERIFY(!f.TimerSendFrame->isActive());
    QVERIFY(!f.TimerMulUpd->isActive());
    QCOMPARE(f.TimerSendFrame->interval(), 100);
    QCOMPARE(f.CWGraph1->traceCount(), 1);
    QCOMPARE(f.SampleData.cols(), 1000 + 20 + 1);
    QCOMPARE(f.MultData.size(), std::size_t(1));
    QVERIFY(fx.dialogs->shown.isEmpty());
}

void StartupTest::channelsOneAndTwo() {
    FormFixture fx;
    Form1& f = fx.start();
    f.CheckEnCH0->setChecked(false);
    f.CheckEnCH1->setChecked(true);
    f.CheckEnCH2->setChecked(true);
    f.ChannelMask = 0;
    f.Form_Load();
    QCOMPARE(f.ChannelMask, 6);
    QCOMPARE(f.NumChannels, 2);
    QCOMPARE(f.SampleData.rows(), 2);
    QVERIFY(!f.CWNumEditSpan->isEnabled());
    QVERIFY(f.CWNumEditSpanCH1->isEnabled());
    QCOMPARE(f.CWGraph1->traceColor(0), QColor(255, 0, 0));
}

void StartupTest::menuItems_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");
    QTest::newRow("LoadConf") << "LoadConf"
                              << "Reload Configuration" << true << false;
    QTest::newRow("SaveConf") << "SaveConf"
                              << "Save Configuration" << true << false;
    QTest::newRow("ExitProgr") << "ExitProgr"
                               << "Exit" << true << false;
    QTest::newRow("EnbleAll") << "EnbleAll"
                              << "Enable All Channels" << true << false;
    QTest::newRow("GraphToggle") << "GraphToggle"
                                 << "Enable Graph" << true << true;
    QTest::newRow("AgilChann") << "AgilChann"
                               << "Enable Agilent External Channel" << true << false;
    QTest::newRow("EnableActuator") << "EnableActuator"
                                    << "Enable Actuator" << true << false;
    QTest::newRow("TimeSetup") << "TimeSetup"
                               << "System Acquisition Time" << true << true;
    QTest::newRow("SelectChannel") << "SelectChannel"
                                   << "Select Channels" << false << false;
    QTest::newRow("MultimSetup") << "MultimSetup"
                                 << "Agilent 3441A Advanced Setup" << false << false;
    QTest::newRow("DisplacementSys") << "DisplacementSys"
                                     << "Displacement System Setup" << false << false;
    QTest::newRow("GraphControl") << "GraphControl"
                                  << "Advanced Graph Control" << true << false;
}

void StartupTest::menuItems() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(bool, checked);
    FormFixture fx;
    Form1& f = fx.start();
    auto* item = f.findChild<QAction*>(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->isEnabled(), enabled);
    QCOMPARE(item->isChecked(), checked);
}

void StartupTest::panels() {
    FormFixture fx;
    Form1& f = fx.start();
    f.show();
    QVERIFY(f.FrameDebug->isVisible());
    QVERIFY(f.FrameContols->isVisible());
    QVERIFY(!f.FrameContols->isEnabled());
    for (QWidget* hidden :
         {static_cast<QWidget*>(f.FrameGraph), static_cast<QWidget*>(f.FrameAgilent),
          static_cast<QWidget*>(f.FrameActuator), static_cast<QWidget*>(f.FrameCoeff),
          static_cast<QWidget*>(f.CheckCoeff), static_cast<QWidget*>(f.CWGraphMult),
          static_cast<QWidget*>(f.LabelTest)})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    for (QWidget* always :
         {static_cast<QWidget*>(f.CommandSendData), static_cast<QWidget*>(f.CommandOff),
          static_cast<QWidget*>(f.CommandSave), static_cast<QWidget*>(f.TextAcq),
          static_cast<QWidget*>(f.LabelForce), static_cast<QWidget*>(f.CWGraph1)})
        QVERIFY2(always->isVisible(), qPrintable(always->objectName()));
}

void StartupTest::controlsCarryTheirNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // empty: no caption of its own
    const QList<QPair<QString, QString>> controls = {
        {"CommandCommStart", "Default Comm"},
        {"CommandSendData", "Start"},
        {"CommandOff", "Stop"},
        {"CommandSave", "Save"},
        {"CommandResetSpan", "Reset Spans"},
        {"CommandRemote", "Remot"},
        {"CommandErr", "Error?"},
        {"CommandClear", "Clear"},
        {"CommandResetParam", "INIT"},
        {"CommandBuff", "Buff"},
        {"CommandExit", "Exit"},
        {"Command1", "Load ->"},
        {"CommandSavParam", "<- Save"},
        {"CommandMultimeter5", "CMD"},
        {"CheckInf", "  Infinite Points (no Logger)"},
        {"CheckEnCH0", "Enable CH0"},
        {"CheckEnCH1", "Enable CH1"},
        {"CheckEnCH2", "Enable CH2"},
        {"CheckCoeff", "Calibration Coefficient Setting"},
        {"CheckManOperation", "Manual Operation Enable"},
        {"CWButtonSin", "Sin"},
        {"CWButtonSquare", "Square"},
        {"CWButtonTriangle", "Triangle"},
        {"CWButtonSawtoot", "Sawtooth"},
        {"CWButtonPWM", "Manual"},
        {"FrameDebug", "Serial RS 232 Communication Setup"},
        {"FrameContols", "System Acquisition Timing"},
        {"FrameGraph", "Advanced Graph Controls"},
        {"FrameAgilent", "Agilent 34401A Advanced Setup"},
        {"FrameActuator", "Actuator"},
        {"FrameCoeff", "Channels Config."},
        {"FrameManualOperation", "Manual Operations"},
        {"TextAcq", "0"},
        {"TextLabel", "Force (g)"},
        {"TextLabelCH1", "CH1 (a.u.)"},
        {"TextLabelCH2", "CH2 (a.u.)"},
        {"TextLabelMult", "Resistence (Ohm)"},
        {"TextCoeff", "1"},
        {"TextCoeffCH1", "1"},
        {"TextCoeffCH2", "1"},
        {"LabelParam0", "CONF:FRES DEF,DEF"},
        {"LabelParam1", "TRIG:SOUR EXT"},
        {"LabelParam2", "TRIG:COUNT INF"},
        {"LabelParam3", "FRES:NPLC 1"},
        {"LabelParam4", ""},
        {"LabelSpanCH1", "Max Span CH1"},
        {"LabelAverageCH2", "Average CH2"},
        {"LabelBuff", ""},
        {"LabelBuff2", ""},
        {"LabelMultCH", ""},
        {"TextMultOut", ""},
        {"TextAscii", ""},
        {"TextCommand5", ""},
        {"ComboPort", ""},
        {"ComboPort2", ""},
        {"CWGraph1", ""},
        {"CWGraphMult", ""},
        {"CWButtonChangeScrean", ""},
        {"CWButtonGraphMerg", ""},
        {"CWNumEditAgilMax", ""},
        {"CWNumEditAgilMin", ""},
        {"CWNumEditPWM", ""},
        {"CWNumEditMulPeriod", ""},
        {"CWNumEditMulFreq", ""},
        {"TextDiv", ""},
        {"TextMul", ""},
        {"LabelFreqAct", ""},
        {"LabelTest", ""},
    };
    for (const auto& [name, caption] : controls)
        QTest::newRow(qPrintable(name)) << name << caption;
}

void StartupTest::controlsCarryTheirNames() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    FormFixture fx;
    Form1& f = fx.start();
    auto* widget = f.findChild<QWidget*>(name);
    QVERIFY2(widget, "missing control");
    if (caption.isEmpty())
        return;
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(widget))
        text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(widget))
        text = g->title();
    else if (auto* e = qobject_cast<QLineEdit*>(widget))
        text = e->text();
    else if (auto* l = qobject_cast<QLabel*>(widget))
        text = l->text();
    QCOMPARE(text, caption);
}

void StartupTest::inputsAnnouncedByCaption_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("announced");
    QTest::newRow("points") << "CWNumEditNumPoint"
                            << "Points to Sample (Avg.)";
    QTest::newRow("period") << "CWNumEditFreq"
                            << "Acquisition Time (ms/10)";
    QTest::newRow("total") << "CWNumEditTotPoint"
                           << "Total Points per Ch";
    QTest::newRow("acquired") << "TextAcq"
                              << "Acquired Points";
    QTest::newRow("shown points") << "CWNumEdit1"
                                  << "Showed points";
    QTest::newRow("span") << "CWNumEditSpan"
                          << "Max Span CH0";
    QTest::newRow("coefficient") << "TextCoeffCH1"
                                 << "Coeff.CH1";
    QTest::newRow("label") << "TextLabelCH2"
                           << "Label CH2";
    QTest::newRow("agilent max") << "CWNumEditAgilMax"
                                 << "Max CH Agilent 34401A";
    QTest::newRow("pwm") << "CWNumEditPWM"
                         << "Max Value";
    QTest::newRow("prescaler") << "CWNumEditMulPeriod"
                               << "Freq / n";
    QTest::newRow("exponent") << "CWNumEditMulFreq"
                              << "Freq X n";
    QTest::newRow("board list") << "ComboPort"
                                << "PIC System";
    QTest::newRow("frequency") << "LabelFrequency"
                               << "Frequency (Hz)";
    QTest::newRow("run time") << "LabelExpTime"
                              << "Total Exp Time (sec)";
    QTest::newRow("actuator frequency") << "LabelFreqAct"
                                        << "Frequenza (Hz)";
    QTest::newRow("average CH0") << "LabelForce"
                                 << "Average CH0";
    QTest::newRow("meter reading") << "LabelMultCH"
                                   << "Agilent 34401 Ouput";
    QTest::newRow("board status") << "LabelBuff"
                                  << "PIC System Status";
}

void StartupTest::inputsAnnouncedByCaption() {
    QFETCH(QString, name);
    QFETCH(QString, announced);
    FormFixture fx;
    Form1& f = fx.start();
    auto* widget = f.findChild<QWidget*>(name);
    QVERIFY(widget);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), announced);
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
