// "Actuator": the waveform the board drives, its largest value and its frequency as the
// board's prescaler and multiplier make it.

#include "app/form1.h"

#include "platform/widgets/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace vemra {

QGroupBox* Form1::buildActuatorPanel() {
    FrameActuator = frame(QStringLiteral("Actuator"), "FrameActuator");
    auto* grid = new QGridLayout(FrameActuator);
    CWButtonSin = named(new TwoStateButton(QStringLiteral("Sin")), "CWButtonSin");
    CWButtonSquare = named(new TwoStateButton(QStringLiteral("Square")), "CWButtonSquare");
    CWButtonTriangle = named(new TwoStateButton(QStringLiteral("Triangle")), "CWButtonTriangle");
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
    return FrameActuator;
}

} // namespace vemra
