// The window's controls, panels and menus with their captions, design values and initial
// states. The graph takes the left; the run buttons, live values and the panels share the
// right-hand column.

#include "app/form1.h"

#include "platform/widgets/controls.h"
#include "platform/widgets/wheelguard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedLayout>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace vemra {

namespace {

QTimer* hundredMsTimer(QObject* parent, const char* name) {
    auto* timer = named(new QTimer(parent), name);
    timer->setInterval(100);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

QAction* menuItem(QMenu* menu, const QString& caption, const char* name, bool checkable) {
    auto* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}

} // namespace

void Form1::buildWindow() {
    setWindowTitle(QStringLiteral("Vemra Measurement V 1.4 (Old Style)"));
    setObjectName(QStringLiteral("Form1"));

    TimerSendFrame = hundredMsTimer(this, "TimerSendFrame");
    TimerMulUpd = hundredMsTimer(this, "TimerMulUpd");

    CWGraph1 = named(new Graph, "CWGraph1");
    CWGraph1->setAccessibleName(QStringLiteral("Channels Graph"));
    CWGraph1->setAxisCaption(1, QStringLiteral("Points"));
    CWGraph1->setAxisCaption(2, QStringLiteral("Force (g)"));
    CWGraph1->setAxisRange(1, 0, 1000);

    CWGraphMult = named(new Graph, "CWGraphMult");
    CWGraphMult->setAccessibleName(QStringLiteral("Multimeter Graph"));
    CWGraphMult->setAxisCaption(1, QStringLiteral("Points"));
    CWGraphMult->setAxisCaption(2, QStringLiteral("Multimrtr Input"));
    CWGraphMult->setAxisExponentLabels(2);
    CWGraphMult->setAxisRange(1, 0, 1000);
    // White, as the meter's trace is when merged into the main graph.
    CWGraphMult->setTraceColor(CWGraphMult->addTrace(), QColor(255, 255, 255));
    CWGraphMult->hide();

    CWButtonChangeScrean =
        named(new TwoStateButton(QStringLiteral("Meter\nGraph")), "CWButtonChangeScrean");
    CWButtonChangeScrean->setAccessibleName(QStringLiteral("Show Multimeter Graph"));
    CWButtonChangeScrean->setToolTip(tr("Shows the multimeter graph in place of the channels"));
    CWButtonChangeScrean->setEnabled(false);

    auto* graphs = new QWidget;
    auto* stack = new QGridLayout(graphs);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(CWGraph1, 0, 0);
    stack->addWidget(CWGraphMult, 0, 0);

    auto* left = new QWidget;
    auto* leftLayout = new QHBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* switchColumn = new QVBoxLayout;
    switchColumn->addWidget(CWButtonChangeScrean);
    switchColumn->addStretch();
    leftLayout->addLayout(switchColumn);
    leftLayout->addWidget(graphs, 1);

    auto* right = new QWidget;
    right->setFixedWidth(390);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(4, 4, 4, 4);
    rightLayout->addWidget(buildRunPanel());
    rightLayout->addWidget(buildSidePanels(), 1);

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(left, 1);
    layout->addWidget(right);
    setCentralWidget(central);

    buildMenus();
    LabelLinkHealth = named(new QLabel, "LabelLinkHealth");
    LabelLinkHealth->setAccessibleDescription(QStringLiteral("Link health"));
    statusBar()->addPermanentWidget(LabelLinkHealth);
    TimerLinkHealth = named(new QTimer(this), "TimerLinkHealth");
    TimerLinkHealth->setInterval(500);
    resize(1280, 800);
}

QWidget* Form1::buildRunPanel() {
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    CommandSendData = button(QStringLiteral("Start"), "CommandSendData");
    CommandOff = button(QStringLiteral("Stop"), "CommandOff");
    CommandSave = button(QStringLiteral("Save"), "CommandSave");
    CommandSendData->setEnabled(false);
    CommandOff->setEnabled(false);
    CommandSave->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandSendData);
    buttons->addWidget(CommandOff);
    buttons->addWidget(CommandSave);
    grid->addLayout(buttons, 0, 0, 1, 2);

    TextAcq = named(new LiveText<QLineEdit>(QStringLiteral("0")), "TextAcq");
    TextAcq->setReadOnly(true);
    grid->addWidget(captionFor(QStringLiteral("Acquired Points"), TextAcq), 1, 0);
    grid->addWidget(TextAcq, 1, 1);

    LabelAverage = named(new QLabel(QStringLiteral("Average CH0")), "LabelAverage");
    LabelAverageCH1 = named(new QLabel(QStringLiteral("Average CH1")), "LabelAverageCH1");
    LabelAverageCH2 = named(new QLabel(QStringLiteral("Average CH2")), "LabelAverageCH2");
    LabelForce = valueLabel<LiveText<ClickLabel>>("LabelForce", QStringLiteral("Average CH0"));
    LabelCH1 = valueLabel<LiveText<ClickLabel>>("LabelCH1", QStringLiteral("Average CH1"));
    LabelCH2 = valueLabel<LiveText<ClickLabel>>("LabelCH2", QStringLiteral("Average CH2"));
    // A value that changes 20 times a second cannot be selected anyway, and a selectable
    // label lays its text out as a document at every repaint.
    for (QLabel* live : {static_cast<QLabel*>(LabelForce), static_cast<QLabel*>(LabelCH1),
                         static_cast<QLabel*>(LabelCH2)})
        live->setTextInteractionFlags(Qt::NoTextInteraction);
    LabelAverage->setStyleSheet(QStringLiteral("color: #008000"));
    LabelAverageCH1->setStyleSheet(QStringLiteral("color: #c00000"));
    LabelAverageCH2->setStyleSheet(QStringLiteral("color: #0000c0"));
    grid->addWidget(LabelAverage, 2, 0);
    grid->addWidget(LabelForce, 2, 1);
    grid->addWidget(LabelAverageCH1, 3, 0);
    grid->addWidget(LabelCH1, 3, 1);
    grid->addWidget(LabelAverageCH2, 4, 0);
    grid->addWidget(LabelCH2, 4, 1);

    LabelMultCH = valueLabel<QLabel>("LabelMultCH", QStringLiteral("Agilent 34401 Ouput"));
    grid->addWidget(new QLabel(QStringLiteral("Agilent 34401 Ouput")), 5, 0);
    grid->addWidget(LabelMultCH, 5, 1);
    return panel;
}

QWidget* Form1::buildSidePanels() {
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);

    // Serial ports
    FrameDebug = frame(QStringLiteral("Serial RS 232 Communication Setup"), "FrameDebug");
    {
        auto* form = new QGridLayout(FrameDebug);
        ComboPort = named(new QComboBox, "ComboPort");
        ComboPort2 = named(new QComboBox, "ComboPort2");
        fillPortList(ComboPort);
        fillPortList(ComboPort2);
        ignoreWheelUnlessFocused(ComboPort);
        ignoreWheelUnlessFocused(ComboPort2);
        ComboPort->setCurrentIndex(-1);
        ComboPort2->setCurrentIndex(-1);
        ComboPort->setPlaceholderText(tr("choose"));
        ComboPort2->setPlaceholderText(tr("choose"));
        CommandCommStart = button(QStringLiteral("Default Comm"), "CommandCommStart");
        CommandBuff = button(QStringLiteral("Buff"), "CommandBuff");
        LabelBuff = valueLabel<ClickLabel>("LabelBuff", QStringLiteral("PIC System Status"));
        LabelBuff2 = valueLabel<ClickLabel>("LabelBuff2", QStringLiteral("Multimeter Status"));
        LabelBuff->setToolTip(tr("Click to empty the board's input and clear the mark"));
        LabelBuff2->setToolTip(tr("Click to clear"));
        form->addWidget(captionFor(QStringLiteral(" PIC System"), ComboPort), 0, 0);
        form->addWidget(ComboPort, 0, 1);
        form->addWidget(LabelBuff, 0, 2);
        form->addWidget(captionFor(QStringLiteral("Agilent 34401A"), ComboPort2), 1, 0);
        form->addWidget(ComboPort2, 1, 1);
        form->addWidget(LabelBuff2, 1, 2);
        form->addWidget(CommandCommStart, 2, 0, 1, 2);
        form->addWidget(CommandBuff, 2, 2);
    }
    column->addWidget(FrameDebug);

    // Acquisition timing
    FrameContols = frame(QStringLiteral("System Acquisition Timing"), "FrameContols");
    {
        auto* form = new QFormLayout(FrameContols);
        CheckInf =
            named(new QCheckBox(QStringLiteral("  Infinite Points (no Logger)")), "CheckInf");
        CWNumEditNumPoint = numEdit(10, 1, 1000, 1, "CWNumEditNumPoint");
        CWNumEditFreq = numEdit(400, 10, 64000, 1, "CWNumEditFreq");
        CWNumEditTotPoint = numEdit(1000, 1, 1000000, 10, "CWNumEditTotPoint");
        LabelFrequency = valueLabel<QLabel>("LabelFrequency", QStringLiteral("Frequency (Hz)"));
        LabelExpTime = valueLabel<QLabel>("LabelExpTime", QStringLiteral("Total Exp Time (sec)"));
        form->addRow(CheckInf);
        form->addRow(captionFor(QStringLiteral("Points to Sample (Avg.)"), CWNumEditNumPoint),
                     CWNumEditNumPoint);
        form->addRow(captionFor(QStringLiteral("Acquisition Time (ms/10)"), CWNumEditFreq),
                     CWNumEditFreq);
        form->addRow(captionFor(QStringLiteral("Total Points per Ch"), CWNumEditTotPoint),
                     CWNumEditTotPoint);
        form->addRow(new QLabel(QStringLiteral("Frequency (Hz)")), LabelFrequency);
        form->addRow(new QLabel(QStringLiteral("Total Exp Time (sec)")), LabelExpTime);
        FrameContols->setEnabled(false);
    }
    column->addWidget(FrameContols);

    // Graph controls
    FrameGraph = frame(QStringLiteral("Advanced Graph Controls"), "FrameGraph");
    {
        auto* form = new QFormLayout(FrameGraph);
        CWNumEditSpan = numEdit(1000, 0, 64000, 10, "CWNumEditSpan");
        CWNumEditSpanCH1 = numEdit(1000, 0, 64000, 10, "CWNumEditSpanCH1");
        CWNumEditSpanCH2 = numEdit(1000, 0, 64000, 10, "CWNumEditSpanCH2");
        LabelSpan = named(captionFor(QStringLiteral("Max Span CH0"), CWNumEditSpan), "LabelSpan");
        LabelSpanCH1 =
            named(captionFor(QStringLiteral("Max Span CH1"), CWNumEditSpanCH1), "LabelSpanCH1");
        LabelSpanCH2 =
            named(captionFor(QStringLiteral("Max Span CH2"), CWNumEditSpanCH2), "LabelSpanCH2");
        CWNumEdit1 = numEdit(1000, 100, 60000, 10, "CWNumEdit1");
        CommandResetSpan = button(QStringLiteral("Reset Spans"), "CommandResetSpan");
        CWNumEditAgilMax = numEdit(1000, 0, 64000, 1, "CWNumEditAgilMax");
        CWNumEditAgilMin = numEdit(0, 0, 64000, 1, "CWNumEditAgilMin");
        CWNumEditAgilMax->setExponentDisplay(true);
        CWNumEditAgilMin->setExponentDisplay(true);
        CWButtonGraphMerg = named(new TwoStateButton(QStringLiteral("Merge Multimeter Trace")),
                                  "CWButtonGraphMerg");
        CWButtonGraphMerg->setEnabled(false);
        form->addRow(LabelSpan, CWNumEditSpan);
        form->addRow(LabelSpanCH1, CWNumEditSpanCH1);
        form->addRow(LabelSpanCH2, CWNumEditSpanCH2);
        form->addRow(captionFor(QStringLiteral("Showed points"), CWNumEdit1), CWNumEdit1);
        form->addRow(CommandResetSpan);
        form->addRow(captionFor(QStringLiteral("Max CH Agilent 34401A"), CWNumEditAgilMax),
                     CWNumEditAgilMax);
        form->addRow(captionFor(QStringLiteral("Min CH Agilent 34401A"), CWNumEditAgilMin),
                     CWNumEditAgilMin);
        form->addRow(CWButtonGraphMerg);
        FrameGraph->hide();
    }
    column->addWidget(FrameGraph);

    // Multimeter
    FrameAgilent = frame(QStringLiteral("Agilent 34401A Advanced Setup"), "FrameAgilent");
    {
        auto* box = new QVBoxLayout(FrameAgilent);
        auto* top = new QFormLayout;
        TextLabelMult = textBox(QStringLiteral("Resistence (Ohm)"), "TextLabelMult");
        top->addRow(captionFor(QStringLiteral("Multimeter Label"), TextLabelMult), TextLabelMult);
        box->addLayout(top);
        auto* actions = new QHBoxLayout;
        CommandResetParam = button(QStringLiteral("INIT"), "CommandResetParam");
        CommandExit = button(QStringLiteral("Exit"), "CommandExit");
        CheckManOperation =
            named(new QCheckBox(QStringLiteral("Manual Operation Enable")), "CheckManOperation");
        actions->addWidget(CommandResetParam);
        actions->addWidget(CheckManOperation);
        actions->addWidget(CommandExit);
        box->addLayout(actions);

        // The parameter list and the manual panel share one area; the panel covers the
        // list while it is shown.
        auto* area = new QWidget;
        auto* shared = new QStackedLayout(area);
        shared->setStackingMode(QStackedLayout::StackAll);
        auto* params = new QWidget;
        auto* paramList = new QVBoxLayout(params);
        const char* paramNames[5] = {"LabelParam0", "LabelParam1", "LabelParam2", "LabelParam3",
                                     "LabelParam4"};
        const QString paramDesign[5] = {
            QStringLiteral("CONF:FRES DEF,DEF"), QStringLiteral("TRIG:SOUR EXT"),
            QStringLiteral("TRIG:COUNT INF"), QStringLiteral("FRES:NPLC 1"), QString()};
        for (int k = 0; k < 5; ++k) {
            LabelParam[k] = named(new QLabel(paramDesign[k]), paramNames[k]);
            LabelParam[k]->setAccessibleName(QStringLiteral("Parameter %1").arg(k));
            LabelParam[k]->setFrameShape(QFrame::StyledPanel);
            paramList->addWidget(LabelParam[k]);
        }
        paramList->addStretch();

        FrameManualOperation = frame(QStringLiteral("Manual Operations"), "FrameManualOperation");
        FrameManualOperation->setAutoFillBackground(true);
        auto* manual = new QGridLayout(FrameManualOperation);
        const char* commandNames[6] = {"TextCommand0", "TextCommand1", "TextCommand2",
                                       "TextCommand3", "TextCommand4", "TextCommand5"};
        const char* cmdNames[6] = {"CommandMultimeter0", "CommandMultimeter1",
                                   "CommandMultimeter2", "CommandMultimeter3",
                                   "CommandMultimeter4", "CommandMultimeter5"};
        for (int k = 0; k < 6; ++k) {
            TextCommand[k] = textBox(QString(), commandNames[k]);
            TextCommand[k]->setAccessibleName(QStringLiteral("Command Line %1").arg(k));
            CommandMultimeter[k] = button(QStringLiteral("CMD"), cmdNames[k]);
            CommandMultimeter[k]->setAccessibleName(QStringLiteral("CMD %1").arg(k));
            manual->addWidget(TextCommand[k], k, 0);
            manual->addWidget(CommandMultimeter[k], k, 1);
        }
        CommandSavParam = button(QStringLiteral("<- Save"), "CommandSavParam");
        Command1 = button(QStringLiteral("Load ->"), "Command1");
        manual->addWidget(CommandSavParam, 6, 0);
        manual->addWidget(Command1, 6, 1);
        TextMultOut = named(new QPlainTextEdit, "TextMultOut");
        TextMultOut->setReadOnly(true);
        TextMultOut->setAccessibleName(QStringLiteral("Multimeter Output"));
        TextMultOut->setMaximumHeight(80);
        manual->addWidget(TextMultOut, 7, 0, 1, 2);
        auto* meterButtons = new QHBoxLayout;
        CommandClear = button(QStringLiteral("Clear"), "CommandClear");
        CommandErr = button(QStringLiteral("Error?"), "CommandErr");
        CommandRemote = button(QStringLiteral("Remot"), "CommandRemote");
        TextAscii = textBox(QString(), "TextAscii");
        TextAscii->setMaximumWidth(50);
        // It shows the code of each key pressed in it; nothing typed or pasted goes in.
        TextAscii->setReadOnly(true);
        meterButtons->addWidget(CommandClear);
        meterButtons->addWidget(CommandErr);
        meterButtons->addWidget(CommandRemote);
        manual->addLayout(meterButtons, 8, 0, 1, 2);
        // On a row of its own: beside the buttons it would widen the whole column.
        auto* keyCode = new QHBoxLayout;
        keyCode->addWidget(captionFor(QStringLiteral("Key Code"), TextAscii));
        keyCode->addWidget(TextAscii);
        keyCode->addStretch();
        manual->addLayout(keyCode, 9, 0, 1, 2);

        shared->addWidget(params);
        shared->addWidget(FrameManualOperation);
        // The panel, when shown, lies over the parameter lines.
        shared->setCurrentWidget(FrameManualOperation);
        FrameManualOperation->hide();
        box->addWidget(area);
        FrameAgilent->hide();
    }
    column->addWidget(FrameAgilent);

    // Actuator
    FrameActuator = frame(QStringLiteral("Actuator"), "FrameActuator");
    {
        auto* grid = new QGridLayout(FrameActuator);
        CWButtonSin = named(new TwoStateButton(QStringLiteral("Sin")), "CWButtonSin");
        CWButtonSquare = named(new TwoStateButton(QStringLiteral("Square")), "CWButtonSquare");
        CWButtonTriangle =
            named(new TwoStateButton(QStringLiteral("Triangle")), "CWButtonTriangle");
        CWButtonSawtoot = named(new TwoStateButton(QStringLiteral("Sawtooth")), "CWButtonSawtoot");
        CWButtonPWM = named(new TwoStateButton(QStringLiteral("Manual")), "CWButtonPWM");
        grid->addWidget(CWButtonSin, 0, 0);
        grid->addWidget(CWButtonSquare, 0, 1);
        grid->addWidget(CWButtonTriangle, 0, 2);
        grid->addWidget(CWButtonSawtoot, 1, 0);
        grid->addWidget(CWButtonPWM, 1, 1);
        CWNumEditPWM = numEdit(0, 0, 255, 1, "CWNumEditPWM");
        CWNumEditMulPeriod = numEdit(1, 1, 255, 1, "CWNumEditMulPeriod");
        CWNumEditMulFreq = numEdit(0, 0, 7, 1, "CWNumEditMulFreq");
        TextDiv = textBox(QString(), "TextDiv");
        TextMul = textBox(QString(), "TextMul");
        TextDiv->setReadOnly(true);
        TextMul->setReadOnly(true);
        TextDiv->setAccessibleName(QStringLiteral("Prescaler"));
        TextMul->setAccessibleName(QStringLiteral("Multiplier"));
        LabelFreqAct = valueLabel<QLabel>("LabelFreqAct", QStringLiteral("Frequenza (Hz)"));
        grid->addWidget(captionFor(QStringLiteral("Max Value"), CWNumEditPWM), 2, 0);
        grid->addWidget(CWNumEditPWM, 2, 1, 1, 2);
        grid->addWidget(captionFor(QStringLiteral("Freq / n"), CWNumEditMulPeriod), 3, 0);
        grid->addWidget(CWNumEditMulPeriod, 3, 1);
        grid->addWidget(TextDiv, 3, 2);
        grid->addWidget(captionFor(QStringLiteral("Freq X n"), CWNumEditMulFreq), 4, 0);
        grid->addWidget(CWNumEditMulFreq, 4, 1);
        grid->addWidget(TextMul, 4, 2);
        grid->addWidget(new QLabel(QStringLiteral("Frequenza (Hz)")), 5, 0);
        grid->addWidget(LabelFreqAct, 5, 1, 1, 2);
        FrameActuator->hide();
    }
    column->addWidget(FrameActuator);

    // Channels
    FrameCoeff = frame(QStringLiteral("Channels Config."), "FrameCoeff");
    {
        auto* grid = new QGridLayout(FrameCoeff);
        CheckCoeff =
            named(new QCheckBox(QStringLiteral("Calibration Coefficient Setting")), "CheckCoeff");
        CheckCoeff->hide();
        CheckCoeff->setEnabled(false);
        CheckEnCH0 = named(new QCheckBox(QStringLiteral("Enable CH0")), "CheckEnCH0");
        CheckEnCH1 = named(new QCheckBox(QStringLiteral("Enable CH1")), "CheckEnCH1");
        CheckEnCH2 = named(new QCheckBox(QStringLiteral("Enable CH2")), "CheckEnCH2");
        CheckEnCH0->setChecked(true);
        TextCoeff = textBox(QStringLiteral("1"), "TextCoeff");
        TextCoeffCH1 = textBox(QStringLiteral("1"), "TextCoeffCH1");
        TextCoeffCH2 = textBox(QStringLiteral("1"), "TextCoeffCH2");
        TextLabel = textBox(QStringLiteral("Force (g)"), "TextLabel");
        TextLabelCH1 = textBox(QStringLiteral("CH1 (a.u.)"), "TextLabelCH1");
        TextLabelCH2 = textBox(QStringLiteral("CH2 (a.u.)"), "TextLabelCH2");
        QCheckBox* enables[3] = {CheckEnCH0, CheckEnCH1, CheckEnCH2};
        QLineEdit* coeffs[3] = {TextCoeff, TextCoeffCH1, TextCoeffCH2};
        QLineEdit* labels[3] = {TextLabel, TextLabelCH1, TextLabelCH2};
        for (int ch = 0; ch < 3; ++ch) {
            const int row = ch * 2;
            grid->addWidget(enables[ch], row, 0, 1, 4);
            grid->addWidget(captionFor(QStringLiteral("Coeff.CH%1").arg(ch), coeffs[ch]), row + 1,
                            0);
            grid->addWidget(coeffs[ch], row + 1, 1);
            grid->addWidget(captionFor(QStringLiteral("Label CH%1").arg(ch), labels[ch]), row + 1,
                            2);
            grid->addWidget(labels[ch], row + 1, 3);
        }
        auto* hint = new QLabel(tr("Enter commits a field. \"Advanced Setup \u2192 Select "
                                   "Channels\" again applies every field and closes the panel."));
        hint->setWordWrap(true);
        grid->addWidget(hint, 8, 0, 1, 4);
        grid->addWidget(CheckCoeff, 6, 0, 1, 4);
        LabelTest = named(new QLabel, "LabelTest");
        LabelTest->hide();
        grid->addWidget(LabelTest, 7, 0, 1, 4);
        FrameCoeff->hide();
    }
    column->addWidget(FrameCoeff);
    column->addStretch();

    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    return scroll;
}

void Form1::buildMenus() {
    File = named(menuBar()->addMenu(QStringLiteral("File")), "File");
    LoadConf = menuItem(File, QStringLiteral("Reload Configuration"), "LoadConf", false);
    SaveConf = menuItem(File, QStringLiteral("Save Configuration"), "SaveConf", false);
    ExportChart = menuItem(File, QStringLiteral("Export Chart…"), "ExportChart", false);
    // "Save As" everywhere; the platform's own binding for it is not set on every desktop.
    ExportChart->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    ExitProgr = menuItem(File, QStringLiteral("Exit"), "ExitProgr", false);

    Measurement = named(menuBar()->addMenu(QStringLiteral("Measurement")), "Measurement");
    EnbleAll = menuItem(Measurement, QStringLiteral("Enable All Channels"), "EnbleAll", true);
    GraphToggle = menuItem(Measurement, QStringLiteral("Enable Graph"), "GraphToggle", true);
    GraphToggle->setChecked(true);
    AgilChann =
        menuItem(Measurement, QStringLiteral("Enable Agilent External Channel"), "AgilChann", true);
    EnableActuator =
        menuItem(Measurement, QStringLiteral("Enable Actuator"), "EnableActuator", true);

    SetupMenu = named(menuBar()->addMenu(QStringLiteral("Advanced Setup")), "SetupMenu");
    TimeSetup = menuItem(SetupMenu, QStringLiteral("System Acquisition Time"), "TimeSetup", true);
    TimeSetup->setChecked(true);
    SelectChannel = menuItem(SetupMenu, QStringLiteral("Select Channels"), "SelectChannel", true);
    SelectChannel->setEnabled(false);
    MultimSetup =
        menuItem(SetupMenu, QStringLiteral("Agilent 3441A Advanced Setup"), "MultimSetup", true);
    MultimSetup->setEnabled(false);
    DisplacementSys =
        menuItem(SetupMenu, QStringLiteral("Displacement System Setup"), "DisplacementSys", true);
    DisplacementSys->setEnabled(false);
    GraphControl =
        menuItem(SetupMenu, QStringLiteral("Advanced Graph Control"), "GraphControl", true);
}

} // namespace vemra
