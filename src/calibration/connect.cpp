// The calibration's fields and mode to their handlers.

#include "app/form1.h"

#include "platform/widgets/keypress.h"
#include "platform/widgets/menuclick.h"

#include <QCheckBox>

namespace vemra {

void Form1::connectCalibrationHandlers() {
    onKeyPress(TextCoeff, [this](int& key) { TextCoeff_KeyPress(key); });
    onKeyPress(TextCoeffCH1, [this](int& key) { TextCoeffCH1_KeyPress(key); });
    onKeyPress(TextCoeffCH2, [this](int& key) { TextCoeffCH2_KeyPress(key); });
    connect(CheckCoeff, &QCheckBox::stateChanged, this, [this] { CheckCoeff_Click(); });
    onMenuClick(SelectChannel, this, [this] { SelectChannel_Click(); });
}

} // namespace vemra
