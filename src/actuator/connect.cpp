// The actuator's controls and menu item to their handlers.

#include "app/form1.h"

#include "platform/widgets/menuclick.h"

namespace vemra {

void Form1::connectActuatorHandlers() {
    connect(CWButtonSin, &TwoStateButton::valueChanged, this,
            [this](bool on) { CWButtonSin_ValueChanged(on); });
    connect(CWButtonSquare, &TwoStateButton::valueChanged, this,
            [this](bool on) { CWButtonSquare_ValueChanged(on); });
    connect(CWButtonTriangle, &TwoStateButton::valueChanged, this,
            [this](bool on) { CWButtonTriangle_ValueChanged(on); });
    connect(CWButtonSawtoot, &TwoStateButton::valueChanged, this,
            [this](bool on) { CWButtonSawtoot_ValueChanged(on); });
    connect(CWButtonPWM, &TwoStateButton::valueChanged, this,
            [this](bool on) { CWButtonPWM_ValueChanged(on); });
    connect(CWNumEditPWM, &NumEdit::valueChanged, this, [this] { CWNumEditPWM_ValueChanged(); });
    connect(CWNumEditMulPeriod, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditMulPeriod_ValueChanged(value); });
    connect(CWNumEditMulFreq, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditMulFreq_ValueChanged(value); });
    onMenuClick(EnableActuator, this, [this] { EnableActuator_Click(); });
}

} // namespace vemra
