// "Advanced Setup": which panels share the right-hand column. The timing and graph panels
// exclude each other; the multimeter panel excludes every other; the actuator panel stands
// beside the timing or graph panel.

#include "app/form1.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>

namespace vemra {

void Form1::TimeSetup_Click() {
    if (!TimeSetup->isChecked()) {
        TimeSetup->setChecked(true);
        FrameContols->show();
        MultimSetup->setChecked(false);
        FrameAgilent->hide();
        GraphControl->setChecked(false);
        FrameGraph->hide();
        CommandExit_Click();
        if (MSComm1->portOpen())
            CheckCoeff->setEnabled(true);
    } else {
        TimeSetup->setChecked(false);
        FrameContols->hide();
    }
}

void Form1::GraphControl_Click() {
    if (!GraphControl->isChecked()) {
        GraphControl->setChecked(true);
        FrameGraph->show();
        MultimSetup->setChecked(false);
        FrameAgilent->hide();
        CheckCoeff->setEnabled(false);
        TimeSetup->setChecked(false);
        FrameContols->hide();
    } else {
        GraphControl->setChecked(false);
        FrameGraph->hide();
    }
}

void Form1::MultimSetup_Click() {
    if (!MultimSetup->isChecked()) {
        MultimSetup->setChecked(true);
        FrameAgilent->show();
        CheckCoeff->setEnabled(false);
        TimeSetup->setChecked(false);
        FrameContols->hide();
        DisplacementSys->setChecked(false);
        FrameActuator->hide();
        GraphControl->setChecked(false);
        FrameGraph->hide();
    } else {
        CommandExit_Click();
        MultimSetup->setChecked(false);
    }
}

void Form1::DisplacementSys_Click() {
    if (!DisplacementSys->isChecked()) {
        DisplacementSys->setChecked(true);
        FrameActuator->show();
        MultimSetup->setChecked(false);
        FrameAgilent->hide();
        CommandExit_Click();
    } else {
        DisplacementSys->setChecked(false);
        FrameActuator->hide();
    }
}

void Form1::CommandExit_Click() {
    FrameAgilent->hide();
    if (MSComm1->portOpen())
        CheckCoeff->setEnabled(true);
}

} // namespace vemra
