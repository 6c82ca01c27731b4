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
    void menuItems();
    void panels();
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

void StartupTest::menuItems() {
    FormFixture fx;
    Form1& f = fx.start();
    // name, caption, enabled, checked
    const QList<std::tuple<const char*, const char*, bool, bool>> items = {
        {"LoadConf", "Reload Configuration", true, false},
        {"ExitProgr", "Exit", true, false},
        {"GraphToggle", "Enable Graph", true, true},
        {"AgilChann", "Enable Agilent External Channel", true, false},
        {"TimeSetup", "System Acquisition Time", true, true},
        {"SelectChannel", "Select Channels", false, false},
        {"MultimSetup", "Agilent 3441A Advanced Setup", false, false},
        {"DisplacementSys", "Displacement System Setup", false, false},
        {"GraphControl", "Advanced Graph Control", true, false}};
    for (const auto& [name, caption, enabled, checked] : items) {
        auto* item = f.findChild<QAction*>(QLatin1String(name));
        QVERIFY2(item, name);
        QCOMPARE(item->text(), QLatin1String(caption));
        QCOMPARE(item->isEnabled(), enabled);
        QCOMPARE(item->isChecked(), checked);
    }
}

void StartupTest::panels() {
    FormFixture fx;
    Form1& f = fx.start();
    f.show();
    QVERIFY(f.FrameDebug->isVisible());
    QVERIFY(f.FrameContols->isVisible());
    QVERIFY(!f.FrameContols->isEnabled());
    for (QWidget* hidden : QList<QWidget*>{f.FrameGraph, f.FrameAgilent, f.FrameActuator,
                                           f.FrameCoeff, f.CheckCoeff, f.CWGraphMult})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    for (QWidget* always : QList<QWidget*>{f.CommandSendData, f.CommandOff, f.CommandSave,
                                           f.TextAcq, f.LabelForce, f.CWGraph1})
        QVERIFY2(always->isVisible(), qPrintable(always->objectName()));
}

void StartupTest::controlsCarryTheirNames() {
    FormFixture fx;
    Form1& f = fx.start();
    // Every control the handlers address is found under its own name; captions whose exact
    // text is easy to get wrong are checked too.
    const QList<std::pair<const char*, const char*>> controls = {
        {"CheckInf", "  Infinite Points (no Logger)"},
        {"CommandRemote", "Remot"},
        {"CommandSavParam", "<- Save"},
        {"Command1", "Load ->"},
        {"CWButtonSawtoot", "Sawtooth"},
        {"FrameContols", "System Acquisition Timing"},
        {"FrameCoeff", "Channels Config."},
        {"TextLabelMult", "Resistence (Ohm)"},
        {"LabelParam0", "CONF:FRES DEF,DEF"},
        {"LabelParam4", ""},
        {"CommandMultimeter5", "CMD"},
        {"TextCommand5", ""},
        {"CommandResetParam", "INIT"},
        {"CheckManOperation", "Manual Operation Enable"},
        {"CommandCommStart", "Default Comm"},
        {"CommandExit", "Exit"},
        {"CommandBuff", "Buff"},
        {"CommandResetSpan", "Reset Spans"},
        {"CommandClear", "Clear"},
        {"CommandErr", "Error?"},
        {"ComboPort2", ""},
        {"CWButtonChangeScrean", nullptr},
        {"CWButtonGraphMerg", nullptr},
        {"CWNumEditAgilMin", ""},
        {"TextMultOut", ""},
        {"TextAscii", ""},
        {"LabelTest", ""}};
    for (const auto& [name, caption] : controls) {
        auto* widget = f.findChild<QWidget*>(QLatin1String(name));
        QVERIFY2(widget, name);
        if (!caption)
            continue;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(widget))
            text = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(widget))
            text = g->title();
        else if (auto* e = qobject_cast<QLineEdit*>(widget))
            text = e->text();
        else if (auto* l = qobject_cast<QLabel*>(widget))
            text = l->text();
        QCOMPARE(text, QLatin1String(caption));
    }
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
