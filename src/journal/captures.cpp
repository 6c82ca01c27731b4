// Where the run's journals go, and "File → Keep Raw Captures": whether a saved run's journal
// stays beside its data file. The choice is kept as a small file in the journals' folder, so
// that "Vemra.ini" keeps its lines and the choice stays with the journals it is about.

#include "app/form1.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace vemra {

namespace {

const QString kFolder = QStringLiteral("VemraJournal");
const QString kKeepFile = QStringLiteral("keep-raw-captures");

} // namespace

QString Form1::journalFolder() const {
    return QDir::current().filePath(kFolder);
}

void Form1::readKeepRawCaptures() {
    const bool keep = QFile::exists(QDir(journalFolder()).filePath(kKeepFile));
    KeepRawCaptures->setChecked(keep);
    journal_->setKeepRawCaptures(keep);
}

void Form1::KeepRawCaptures_Click() {
    const bool keep = !KeepRawCaptures->isChecked();
    const QString path = QDir(journalFolder()).filePath(kKeepFile);
    QString error;
    if (keep) {
        WholeFile file(fileSink_, path);
        if (!QDir().mkpath(journalFolder()))
            error = tr("the folder cannot be made");
        else if (!file.open() ||
                 !file.write(
                     "Journals of saved runs are kept here (File → Keep Raw Captures).\n") ||
                 !file.commit())
            error = file.error();
    } else {
        QFile file(path);
        if (file.exists() && !file.remove())
            error = file.errorString();
    }
    if (!error.isEmpty()) {
        dialogs().message(QStringLiteral("Warning"),
                          tr("Cannot %1 raw captures in \"%2\": %3")
                              .arg(keep ? tr("keep") : tr("stop keeping"),
                                   QDir::toNativeSeparators(journalFolder()), error),
                          MessageIcon::Warning);
        return;
    }
    KeepRawCaptures->setChecked(keep);
    journal_->setKeepRawCaptures(keep);
}

} // namespace vemra
