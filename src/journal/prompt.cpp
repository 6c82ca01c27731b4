// At start-up, the runs that were not saved are offered one after the other, beside the
// window: recovered into the data file "Save" would have written, discarded (asked twice),
// or left for later.

#include "app/form1.h"

#include "files/datafile.h"

#include <QDir>

namespace vemra {

void Form1::offerRecovery() {
    askAboutUnsaved(findUnsavedRuns(journalFolder()));
}

void Form1::askAboutUnsaved(QList<UnsavedRun> runs) {
    if (runs.isEmpty())
        return;
    const UnsavedRun unsaved = runs.takeFirst();
    const auto next = [this, runs] { askAboutUnsaved(runs); };
    const auto discard = [this, unsaved, next](const QString& what) {
        dialogs().ask(
            QStringLiteral("Discard"),
            tr("Remove the journal of %1 for good? It cannot be recovered afterwards.").arg(what),
            {tr("Remove"), tr("Keep")}, [unsaved, next](int choice) {
                if (choice == 0)
                    discardRun(unsaved);
                next();
            });
    };
    if (!unsaved.refused.isEmpty()) {
        const QString name = QFileInfo(unsaved.files.value(0)).fileName();
        dialogs().ask(QStringLiteral("Unsaved Run"),
                      tr("The journal %1 cannot be read: %2.").arg(name, unsaved.refused),
                      {tr("Discard"), tr("Later")}, [name, discard, next](int choice) {
                          if (choice == 0)
                              discard(tr("the journal %1").arg(name));
                          else
                              next();
                      });
        return;
    }
    const QString moment = runMoment(unsaved.start);
    QString text = tr("A run of %1 was not saved: %2 samples, %3 readings.")
                       .arg(moment)
                       .arg(unsaved.samples)
                       .arg(unsaved.readings);
    if (!unsaved.damage.isEmpty())
        text += u' ' + tr("It can be recovered up to its last good piece: %1.").arg(unsaved.damage);
    dialogs().ask(
        QStringLiteral("Unsaved Run"), text, {tr("Recover"), tr("Discard"), tr("Later")},
        [this, unsaved, moment, discard, next](int choice) {
            if (choice == 1)
                return discard(tr("the run of %1").arg(moment));
            if (choice == 0) {
                QString name, error;
                if (recoverRun(unsaved, QDir::currentPath(), fileSink_, &name, &error))
                    dialogs().message(QStringLiteral("DOWNLOAD"), tr("Data Saved: %1").arg(name));
                else
                    dialogs().message(QStringLiteral("Warning"), error, MessageIcon::Warning);
            }
            next();
        });
}

} // namespace vemra
