// The window's layout: the graphs take the left; the run buttons, live values and the panels
// share the right-hand column. Each panel is built in its subsystem's folder; the menus and
// the always visible controls are built here, with their captions, design values and
// initial states.

#include "app/form1.h"

#include "platform/widgets/controls.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
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
    // Beside the link health a long line is cut: the whole of it shows on hover.
    connect(statusBar(), &QStatusBar::messageChanged, statusBar(), &QWidget::setToolTip);
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
    column->addWidget(buildPortsPanel());
    column->addWidget(buildTimingPanel());
    column->addWidget(buildGraphPanel());
    column->addWidget(buildMeterPanel());
    column->addWidget(buildActuatorPanel());
    column->addWidget(buildChannelPanel());
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
    KeepRawCaptures = menuItem(File, QStringLiteral("Keep Raw Captures"), "KeepRawCaptures", true);
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
