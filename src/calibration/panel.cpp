// "Channels Config.": which channels are acquired, their calibration coefficients and their
// labels, opened from "Advanced Setup → Select Channels".

#include "app/form1.h"

#include "platform/widgets/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace vemra {

QGroupBox* Form1::buildChannelPanel() {
    FrameCoeff = frame(QStringLiteral("Channels Config."), "FrameCoeff");
    auto* grid = new QGridLayout(FrameCoeff);
    CheckCoeff =
        named(new QCheckBox(QStringLiteral("Calibration Coefficient Setting")), "CheckCoeff");
    CheckCoeff->hide();
    CheckCoeff->setEnabled(false);
    CheckEnCH0 = named(new QCheckBox(QStringLiteral("Enable CH0")), "CheckEnCH0");
    CheckEnCH1 = named(new QCheckBox(QStringLiteral("Enable CH1")), "CheckEnCH1");
    CheckEnCH2 = named(new QCheckBox(QStringLiteral("Enable CH2")), "CheckEnCH2");
    CheckEnCH0->setChecked(true);
    TextCoeff = textBox(QStringLiteral("1"), "TextCoeff");
    TextCoeffCH1 = textBox(QStringLiteral("1"), "TextCoeffCH1");
    TextCoeffCH2 = textBox(QStringLiteral("1"), "TextCoeffCH2");
    TextLabel = textBox(QStringLiteral("Force (g)"), "TextLabel");
    TextLabelCH1 = textBox(QStringLiteral("CH1 (a.u.)"), "TextLabelCH1");
    TextLabelCH2 = textBox(QStringLiteral("CH2 (a.u.)"), "TextLabelCH2");
    QCheckBox* enables[3] = {CheckEnCH0, CheckEnCH1, CheckEnCH2};
    QLineEdit* coeffs[3] = {TextCoeff, TextCoeffCH1, TextCoeffCH2};
    QLineEdit* labels[3] = {TextLabel, TextLabelCH1, TextLabelCH2};
    for (int ch = 0; ch < 3; ++ch) {
        const int row = ch * 2;
        grid->addWidget(enables[ch], row, 0, 1, 4);
        grid->addWidget(captionFor(QStringLiteral("Coeff.CH%1").arg(ch), coeffs[ch]), row + 1, 0);
        grid->addWidget(coeffs[ch], row + 1, 1);
        grid->addWidget(captionFor(QStringLiteral("Label CH%1").arg(ch), labels[ch]), row + 1, 2);
        grid->addWidget(labels[ch], row + 1, 3);
    }
    auto* hint = new QLabel(tr("Enter commits a field. \"Advanced Setup \u2192 Select "
                               "Channels\" again applies every field and closes the panel."));
    hint->setWordWrap(true);
    grid->addWidget(hint, 8, 0, 1, 4);
    grid->addWidget(CheckCoeff, 6, 0, 1, 4);
    LabelTest = named(new QLabel, "LabelTest");
    LabelTest->hide();
    grid->addWidget(LabelTest, 7, 0, 1, 4);
    FrameCoeff->hide();
    return FrameCoeff;
}

} // namespace vemra
