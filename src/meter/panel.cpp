// "Agilent 34401A Advanced Setup": the meter's label and parameter lines, and the manual
// panel that sends any line and shows the meter's replies.

#include "app/form1.h"

#include "platform/widgets/controls.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace vemra {

QGroupBox* Form1::buildMeterPanel() {
    FrameAgilent = frame(QStringLiteral("Agilent 34401A Advanced Setup"), "FrameAgilent");
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

    // The parameter list and the manual panel share one area; the panel covers the list
    // while it is shown.
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

    QGroupBox* manual = buildManualOperationPanel();
    shared->addWidget(params);
    shared->addWidget(manual);
    // The panel, when shown, lies over the parameter lines.
    shared->setCurrentWidget(FrameManualOperation);
    FrameManualOperation->hide();
    box->addWidget(area);
    FrameAgilent->hide();
    return FrameAgilent;
}

QGroupBox* Form1::buildManualOperationPanel() {
    FrameManualOperation = frame(QStringLiteral("Manual Operations"), "FrameManualOperation");
    FrameManualOperation->setAutoFillBackground(true);
    auto* manual = new QGridLayout(FrameManualOperation);
    const char* commandNames[6] = {"TextCommand0", "TextCommand1", "TextCommand2",
                                   "TextCommand3", "TextCommand4", "TextCommand5"};
    const char* cmdNames[6] = {"CommandMultimeter0", "CommandMultimeter1", "CommandMultimeter2",
                               "CommandMultimeter3", "CommandMultimeter4", "CommandMultimeter5"};
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
    return FrameManualOperation;
}

} // namespace vemra
