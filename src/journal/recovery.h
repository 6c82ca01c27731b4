#pragma once
// Runs that were not saved, found again in their journals: what each holds, and the data file
// "Save" would have written for it, made by decoding the journal with the same run, decoders
// and rules as the live path.

#include "platform/system/wholefile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace vemra {

class Run;

struct UnsavedRun {
    QStringList files; // its journal's segments, oldest first
    QDateTime start;
    int samples = 0;  // rows "Recover" writes
    int readings = 0; // of them, with a meter reading
    QString damage;   // what a damaged journal lost, in words; empty when whole
    QString refused;  // why the journal cannot be read at all; empty when it can
};

// The journals in `folder` whose runs were not saved, oldest first.
QList<UnsavedRun> findUnsavedRuns(const QString& folder);

// Decodes the journal into `run` as the station decoded the run live, and stops it where it
// stopped (or where the journal ends). False when the journal cannot be read.
bool replayJournal(const QStringList& files, Run& run, QString* damage = nullptr,
                   QString* refused = nullptr);

// Writes the data file "Save" would have written, as "VemraData D-M h-m-s (recovered).txt"
// (the run's Start) in dataFolder, then removes the journal.
bool recoverRun(const UnsavedRun& unsaved, const QString& dataFolder, const FileSink& sink,
                QString* writtenName, QString* error);

// Removes the run's journal.
void discardRun(const UnsavedRun& unsaved);

} // namespace vemra
