// The calibration mode: "Advanced Setup → Select Channels" opens "Channels Config." and locks
// the acquisition; closing it commits the three coefficient fields, or keeps the panel open
// on the first field that cannot be committed.

#include "app/form1.h"

#include "calibration/coefficients.h"
#include "common/numbertext.h"
#include "platform/widgets/checkvalue.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vemra {

void Form1::SelectChannel_Click() {
    const bool open = !SelectChannel->isChecked();
    SelectChannel->setChecked(open);
    setCheckValue(CheckCoeff, open ? 1 : 0);
}

void Form1::CheckCoeff_Click() {
    const int value = checkValue(CheckCoeff);
    if (value == 1)
        enterCalibration();
    else if (value == 0 && !leaveCalibration())
        return;

    GraphSetup();
    LabelTest->setText(QStringLiteral("%1\t%2").arg(int(NumChannels)).arg(int(ChannelMask)));
    // A stopped run that was ready to save stays ready when the mode left it untouched.
    if (value == 0 && canSave(run_.phase()))
        CommandSave->setEnabled(true);
}

void Form1::enterCalibration() {
    run_.follow(RunEvent::CalibrationOn);
    MultimSetup->setEnabled(false);
    CommandSave->setEnabled(false);
    CommandSendData->setEnabled(false);
    FrameContols->setEnabled(false);
    FrameCoeff->show();
    for (int channel = 0; channel < 3; ++channel) {
        const ChannelControls c = channelControls(channel);
        c.coefficientText->setText(generalText(c.coefficient));
    }
}

// Refused on the first field, in channel order, that is out of range (it takes the bound it
// broke) or no number (its coefficient stays): the mode goes back on and every field shows
// its coefficient again.
bool Form1::leaveCalibration() {
    if (MSComm2->portOpen())
        MultimSetup->setEnabled(true);

    CoefficientCheck checks[3];
    for (int channel = 0; channel < 3; ++channel) {
        checks[channel] = checkCoefficientText(channelControls(channel).coefficientText->text());
        if (checks[channel].status == CoefficientCheck::InRange)
            continue;
        refuseCoefficient(channel, checks[channel]);
        // The menu's mark follows the mode, so the next "Select Channels" closes the panel.
        SelectChannel->setChecked(true);
        setCheckValue(CheckCoeff, 1);
        return false;
    }

    FrameCoeff->hide();
    run_.follow(RunEvent::CalibrationOff);
    for (int channel = 0; channel < 3; ++channel)
        channelControls(channel).coefficient = checks[channel].value;
    CommandSendData->setEnabled(true);
    FrameContols->setEnabled(true);
    SetupComm1();
    return true;
}

} // namespace vemra
