// The board's panels: "Serial RS 232 Communication Setup", where the operator chooses both
// ports, and "System Acquisition Timing", usable only while the board port is open.

#include "app/form1.h"

#include "platform/widgets/controls.h"
#include "platform/widgets/wheelguard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

namespace vemra {

QGroupBox* Form1::buildPortsPanel() {
    FrameDebug = frame(QStringLiteral("Serial RS 232 Communication Setup"), "FrameDebug");
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
    return FrameDebug;
}

QGroupBox* Form1::buildTimingPanel() {
    FrameContols = frame(QStringLiteral("System Acquisition Timing"), "FrameContols");
    auto* form = new QFormLayout(FrameContols);
    CheckInf = named(new QCheckBox(QStringLiteral("  Infinite Points (no Logger)")), "CheckInf");
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
    return FrameContols;
}

} // namespace vemra
