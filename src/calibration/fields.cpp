// The three coefficient fields of "Channels Config.": the key filter, and Enter committing
// a field's value.

#include "app/form1.h"

#include "calibration/coefficients.h"
#include "common/numbertext.h"
#include "platform/widgets/checkvalue.h"

#include <QCheckBox>
#include <QLineEdit>

namespace vemra {

namespace {

constexpr int kEnter = 13;

} // namespace

void Form1::coefficientKeyPress(int channel, int& keyAscii) {
    if (checkValue(channelControls(channel).enable) == 0) {
        keyAscii = 0;
        return;
    }
    if (keyAscii == kEnter) {
        commitCoefficient(channel);
        return;
    }
    const CoefficientKey key = filterCoefficientKey(keyAscii);
    keyAscii = key.code;
    // The CH1 field alone rebuilds the plots at every ordinary key, before any commit.
    if (channel == 1 && key.ordinary)
        GraphSetup();
}

// An in-range value becomes the coefficient and the plots follow it.
void Form1::commitCoefficient(int channel) {
    const ChannelControls c = channelControls(channel);
    const CoefficientCheck check = checkCoefficientText(c.coefficientText->text());
    if (check.status != CoefficientCheck::InRange) {
        refuseCoefficient(channel, check);
        return;
    }
    c.coefficient = check.value;
    GraphSetup();
}

// A value beyond the range commits the bound it broke, with a warning and without a plot
// set-up. A text that is no number changes nothing: the field shows the coefficient again.
void Form1::refuseCoefficient(int channel, const CoefficientCheck& check) {
    const ChannelControls c = channelControls(channel);
    if (check.status == CoefficientCheck::NotANumber) {
        dialogs().message(
            QStringLiteral("Warning!"),
            notACoefficientMessage(channel, c.coefficientText->text(), c.coefficient));
    } else {
        c.coefficient = check.value;
        dialogs().message(QStringLiteral("Warning!"), coefficientRangeWarning());
    }
    c.coefficientText->setText(generalText(c.coefficient));
}

void Form1::TextCoeff_KeyPress(int& KeyAscii) {
    coefficientKeyPress(0, KeyAscii);
}

void Form1::TextCoeffCH1_KeyPress(int& KeyAscii) {
    coefficientKeyPress(1, KeyAscii);
}

void Form1::TextCoeffCH2_KeyPress(int& KeyAscii) {
    coefficientKeyPress(2, KeyAscii);
}

} // namespace vemra
