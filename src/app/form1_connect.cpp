// Controls and ports to their handlers. Qt's direct connections run a handler at once,
// nested, when code changes a control's value: the handlers rely on that.

#include "app/form1.h"

#include "platform/widgets/keypress.h"
#include "platform/widgets/menuclick.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

namespace vemra {

void Form1::connectHandlers() {
    // What the run tells, shown where the operator looks.
    connect(&run_, &Run::lossesChanged, this, [this] { showStreamLosses(); });
    connect(&run_, &Run::recordsFailed, this,
            [this] { LabelBuff->setText(QStringLiteral("Error Comm")); });
    connect(&run_, &Run::meterOutOfStep, this,
            [this] { LabelBuff->setText(QStringLiteral("Err Mult!")); });
    connect(&run_, &Run::readingTaken, this, [this](const QString& text) { showReading(text); });
    connect(ComboPort, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            ComboPort_Click();
    });
    connect(CommandCommStart, &QPushButton::clicked, this, [this] { CommandCommStart_Click(); });
    connect(CommandSendData, &QPushButton::clicked, this, [this] { CommandSendData_Click(); });
    connect(CommandOff, &QPushButton::clicked, this, [this] { CommandOff_Click(); });
    connect(CommandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(LabelBuff, &ClickLabel::clicked, this, [this] { LabelBuff_Click(); });
    connect(LabelBuff2, &ClickLabel::clicked, this, [this] { LabelBuff2_Click(); });

    connect(CheckEnCH0, &QCheckBox::stateChanged, this, [this] { CheckEnCH0_Click(); });
    connect(CheckEnCH1, &QCheckBox::stateChanged, this, [this] { CheckEnCH1_Click(); });
    connect(CheckEnCH2, &QCheckBox::stateChanged, this, [this] { CheckEnCH2_Click(); });
    onMenuClick(EnbleAll, this, [this] { EnbleAll_Click(); });
    onKeyPress(TextLabel, [this](int& key) { TextLabel_KeyPress(key); });
    onKeyPress(TextLabelCH1, [this](int& key) { TextLabelCH1_KeyPress(key); });
    onKeyPress(TextLabelCH2, [this](int& key) { TextLabelCH2_KeyPress(key); });
    connect(LabelForce, &ClickLabel::clicked, this, [this] { LabelForce_Click(); });
    connect(LabelCH1, &ClickLabel::clicked, this, [this] { LabelCH1_Click(); });
    connect(LabelCH2, &ClickLabel::clicked, this, [this] { LabelCH2_Click(); });
    onKeyPress(TextCoeff, [this](int& key) { TextCoeff_KeyPress(key); });
    onKeyPress(TextCoeffCH1, [this](int& key) { TextCoeffCH1_KeyPress(key); });
    onKeyPress(TextCoeffCH2, [this](int& key) { TextCoeffCH2_KeyPress(key); });
    connect(CheckCoeff, &QCheckBox::stateChanged, this, [this] { CheckCoeff_Click(); });
    onMenuClick(SelectChannel, this, [this] { SelectChannel_Click(); });
    connect(CWNumEditSpan, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditSpan_ValueChanged(value); });
    connect(CWNumEditSpanCH1, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditSpanCH1_ValueChanged(value); });
    connect(CWNumEditSpanCH2, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEditSpanCH2_ValueChanged(value); });
    connect(CWNumEdit1, &NumEdit::valueChanged, this,
            [this](double value) { CWNumEdit1_ValueChanged(value); });
    connect(CommandResetSpan, &QPushButton::clicked, this, [this] { CommandResetSpan_Click(); });
    connect(CWGraph1, &Graph::doubleClicked, this, [this] { CWGraph1_DblClick(); });
    connect(CWGraph1, &Graph::mousePressed, this, &Form1::CWGraph1_MouseDown);
    onMenuClick(GraphToggle, this, [this] { GraphToggle_Click(); });
    connect(CWButtonChangeScrean, &TwoStateButton::valueChanged, this,
            [this](bool on) { CWButtonChangeScrean_ValueChanged(on); });
    connect(CWNumEditNumPoint, &NumEdit::valueChanged, this,
            [this] { CWNumEditNumPoint_ValueChanged(); });
    connect(CWNumEditFreq, &NumEdit::valueChanged, this, [this] { CWNumEditFreq_ValueChanged(); });
    connect(CWNumEditTotPoint, &NumEdit::valueChanged, this,
            [this] { CWNumEditTotPoint_ValueChanged(); });

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
    onMenuClick(TimeSetup, this, [this] { TimeSetup_Click(); });
    onMenuClick(GraphControl, this, [this] { GraphControl_Click(); });
    onMenuClick(MultimSetup, this, [this] { MultimSetup_Click(); });
    onMenuClick(DisplacementSys, this, [this] { DisplacementSys_Click(); });
    connect(CommandExit, &QPushButton::clicked, this, [this] { CommandExit_Click(); });
    onMenuClick(LoadConf, this, [this] { LoadConf_Click(); });
    onMenuClick(SaveConf, this, [this] { SaveConf_Click(); });
    onMenuClick(ExportChart, this, [this] { ExportChart_Click(); });
    onMenuClick(ExitProgr, this, [this] { ExitProgr_Click(); });
    onMenuClick(AgilChann, this, [this] { AgilChann_Click(); });

    connect(MSComm1, &SerialPort::onComm, this, [this] { MSComm1_OnComm(); });
    connect(TimerLinkHealth, &QTimer::timeout, this, [this] { TimerLinkHealth_Timer(); });
    TimerLinkHealth->start();
    connect(MSComm1, &SerialPort::portFailed, this, [this](const QString& message) {
        portFailed(message);
        boardPortLost();
    });
    connectMeterHandlers();
}

} // namespace vemra
