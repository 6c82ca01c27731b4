// Controls and ports to their handlers. Qt's direct connections run a handler at once,
// nested, when code changes a control's value: the handlers rely on that. Each subsystem
// connects its own controls; the window connects the run's reports, saving, the menu items
// that belong to no panel, which panels "Advanced Setup" shows, and the link health.

#include "app/form1.h"

#include "platform/widgets/menuclick.h"

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

    connectBoardHandlers();
    connectDisplayHandlers();
    connectCalibrationHandlers();
    connectActuatorHandlers();
    connectMeterHandlers();

    connect(CommandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    onMenuClick(LoadConf, this, [this] { LoadConf_Click(); });
    onMenuClick(SaveConf, this, [this] { SaveConf_Click(); });
    onMenuClick(ExportChart, this, [this] { ExportChart_Click(); });
    onMenuClick(KeepRawCaptures, this, [this] { KeepRawCaptures_Click(); });
    onMenuClick(ExitProgr, this, [this] { ExitProgr_Click(); });
    connect(journal_.get(), &JournalWriter::stopped, this, [this](const QString& reason) {
        journalFailure_ = reason;
        showStreamLosses();
    });
    onMenuClick(AgilChann, this, [this] { AgilChann_Click(); });

    onMenuClick(TimeSetup, this, [this] { TimeSetup_Click(); });
    onMenuClick(GraphControl, this, [this] { GraphControl_Click(); });
    onMenuClick(MultimSetup, this, [this] { MultimSetup_Click(); });
    onMenuClick(DisplacementSys, this, [this] { DisplacementSys_Click(); });
    connect(CommandExit, &QPushButton::clicked, this, [this] { CommandExit_Click(); });

    connect(TimerLinkHealth, &QTimer::timeout, this, [this] { TimerLinkHealth_Timer(); });
    TimerLinkHealth->start();
}

} // namespace vemra
