// "Vemra.ini": loaded at start-up and on "Reload Configuration", saved on "Save
// Configuration".

#include "app/form1.h"

#include "board/protocol.h"
#include "files/configfile.h"
#include "platform/widgets/checkvalue.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <cerrno>
#include <sys/stat.h>

namespace vemra {

namespace {

const QString kFileName = QStringLiteral("Vemra.ini");
constexpr qint64 kMostBytes = 1 << 20;

} // namespace

void Form1::LoadConf_Click() {
    LoadingConf = true;
    const auto refuse = [this](LoadError error, const QString& detail) {
        dialogs().message(QStringLiteral("Warning"), loadErrorMessage(error), MessageIcon::Critical,
                          detail);
        LoadingConf = false;
    };

    const auto cannotRead = [&](const QString& reason) {
        refuse(LoadError::InitFileError,
               tr("%1 cannot be read in %2: %3. The settings stay as they are.")
                   .arg(kFileName, QDir::currentPath(), reason));
    };
    // The system's own reason: a missing file, a link that loops, a folder in the way.
    struct stat entry {};
    if (::stat(QFile::encodeName(kFileName).constData(), &entry) != 0) {
        cannotRead(qt_error_string(errno));
        return;
    }
    if (!S_ISREG(entry.st_mode)) {
        cannotRead(tr("it is not a plain file"));
        return;
    }
    QFile file(kFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        cannotRead(file.errorString());
        return;
    }
    // 26 short lines: a file much larger than that is not a configuration.
    const ConfigLoad load = parseConfig(file.read(kMostBytes));
    file.close();
    if (!load) {
        refuse(load.error, load.detail);
        return;
    }

    // Applied in file order; each control's own handler runs as it changes, with the
    // board port set-up held back until the whole file is applied.
    const Config& c = *load.config;
    CommPort1 = c.comm1;
    CommPort2 = c.comm2;
    CWNumEditTotPoint->setValue(c.totalPoints);
    CWNumEditFreq->setValue(c.period);
    CWNumEditNumPoint->setValue(c.pointsPerBlock);
    setCheckValue(CheckInf, c.infinite);
    CWNumEdit1->setValue(c.displayedPoints);
    setCheckValue(CheckEnCH0, c.enable[0]);
    setCheckValue(CheckEnCH1, c.enable[1]);
    setCheckValue(CheckEnCH2, c.enable[2]);
    CoeffCH0 = c.coefficients[0];
    CoeffCH1 = c.coefficients[1];
    CoeffCH2 = c.coefficients[2];
    TextLabel->setText(c.labels[0]);
    TextLabelCH1->setText(c.labels[1]);
    TextLabelCH2->setText(c.labels[2]);
    CWNumEditPWM->setValue(c.actuatorValue);
    CWNumEditMulPeriod->setValue(c.prescaler);
    CWNumEditMulFreq->setValue(c.exponent);
    TextLabelMult->setText(c.meterLabel);
    for (int k = 0; k < 5; ++k)
        LabelParam[k]->setText(c.meterCommands[k]);
    AgilChann->setChecked(c.meterEnabled);

    dialogs().message(QStringLiteral("Init"), QStringLiteral("Parameters Loaded"));
    LoadingConf = false;
    // The set-up held back while loading: an open board port takes a changed block length
    // now, or its blocks would no longer match the records they are decoded as. An unchanged
    // one is left alone, so a reload during a run does not cut into the stream.
    if (MSComm1->portOpen() &&
        MSComm1->rThreshold() != board::blockLength(NumChannels, NumAvgPoints))
        SetupComm1();
}

void Form1::SaveConf_Click() {
    Config c;
    c.comm1 = static_cast<std::int16_t>(MSComm1->commPort());
    c.comm2 = static_cast<std::int16_t>(MSComm2->commPort());
    c.totalPoints = CWNumEditTotPoint->value();
    c.period = CWNumEditFreq->value();
    c.pointsPerBlock = CWNumEditNumPoint->value();
    c.infinite = checkValue(CheckInf);
    c.displayedPoints = CWNumEdit1->value();
    c.enable = {checkValue(CheckEnCH0), checkValue(CheckEnCH1), checkValue(CheckEnCH2)};
    c.coefficients = {CoeffCH0, CoeffCH1, CoeffCH2};
    c.labels = {TextLabel->text(), TextLabelCH1->text(), TextLabelCH2->text()};
    c.actuatorValue = CWNumEditPWM->value();
    c.prescaler = CWNumEditMulPeriod->value();
    c.exponent = CWNumEditMulFreq->value();
    c.meterLabel = TextLabelMult->text();
    for (int k = 0; k < 5; ++k)
        c.meterCommands[k] = LabelParam[k]->text();
    c.meterEnabled = AgilChann->isChecked();

    // A failed save leaves the old file as it was.
    WholeFile file(fileSink_, kFileName);
    if (!file.open() || !file.write(serializeConfig(c)) || !file.commit()) {
        dialogs().message(QStringLiteral("Warning"),
                          tr("The configuration was not saved: %1 cannot be written in %2 (%3). "
                             "The file there is as it was.")
                              .arg(kFileName, QDir::currentPath(), file.error()),
                          MessageIcon::Warning);
        return;
    }
    dialogs().message(QStringLiteral("DOWNLOAD"), QStringLiteral("Parameters Saved"));
}

} // namespace vemra
