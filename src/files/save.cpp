// "Save": the stopped acquisition to a new data file in the working directory.

#include "app/form1.h"

#include "files/datafile.h"

#include <QDir>
#include <QLineEdit>

namespace vemra {

void Form1::CommandSave_Click() {
    const auto warn = [this](const QString& text) {
        dialogs().message(QStringLiteral("Warning"), text, MessageIcon::Warning);
    };
    if (!run_.held()) {
        warn(tr("The stopped run is no longer in memory: a change of channels, points per "
                "block or total points re-dimensioned its store. Nothing was saved."));
        return;
    }

    // The rows were laid out by the channels of the run; should the enables have changed
    // while it ran, the file follows the rows so every column holds its own channel.
    const int runMask = AcqEnCH0 | (AcqEnCH1 << 1) | (AcqEnCH2 << 2);
    const DataFileContent content{SavedChannelMask == runMask ? SavedChannelMask : runMask,
                                  SavedSampleCount,
                                  SavedMultEnabled,
                                  SavedTimeStep,
                                  SampleData,
                                  MultData,
                                  {TextLabel->text(), TextLabelCH1->text(), TextLabelCH2->text()},
                                  TextLabelMult->text()};

    QString error;
    QString name;
    if (!writeDataFile(QDir::currentPath(), runFileStem(clock().now()), content, &name, &error,
                       fileSink_)) {
        warn(error);
        return;
    }
    run_.markSaved(name);
    dialogs().message(QStringLiteral("DOWNLOAD"), QStringLiteral("Data Saved"));
}

} // namespace vemra
