#pragma once
// The data file that "Save" writes: one stopped acquisition as 8-bit text, a header line of
// titles and one line per sample, fields separated by TAB, lines ended by CR LF.

#include "common/matrix.h"
#include "platform/system/wholefile.h"
#include "run/readingstore.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace vemra {

// What one save writes: the snapshot taken at the stop, the stores it refers to and the
// column titles.
struct DataFileContent {
    int channelMask = 0; // bit 0 CH0, bit 1 CH1, bit 2 CH2
    int count = 0;       // samples of the run
    bool meterColumn = false;
    double timeStep = 0;   // ms between samples
    const Matrix& samples; // one row per selected channel, in channel order
    const ReadingStore& readings;
    std::array<QString, 3> channelTitles;
    QString meterTitle;
};

// Refused (false, reason in *error) when the stores no longer hold the run the snapshot
// describes: a file must not hold values that were not measured.
bool checkDataFile(const DataFileContent& content, QString* error);

// Receives the file's bytes in order, a piece at a time; false stops the writing.
using DataFilePieces = std::function<bool(QByteArrayView piece)>;

// The file's bytes handed to `write` in pieces of about a mebibyte. False when refused (as
// checkDataFile, reason in *error) or when `write` refused a piece.
bool streamDataFile(const DataFileContent& content, const DataFilePieces& write, QString* error);

// The whole file's bytes at once; nullopt when refused.
std::optional<QByteArray> formatDataFile(const DataFileContent& content, QString* error);

// "VemraData D-M h-m-s" for the moment now: the name of a run's files before the extension.
QString runFileStem(const QDateTime& now);
// "D-M h-m-s": a moment as the station's file names give it.
QString runMoment(const QDateTime& moment);

// Writes the file in dir as "<stem>.txt" (the stem a runFileStem, for the moment of saving),
// or with " (2)", " (3)", ... before ".txt", the first name that is free: an existing file is
// never replaced. The file appears whole under its name or not at all. On failure returns
// false with a reason (naming the file once it was named).
bool writeDataFile(const QString& dir, const QString& stem, const DataFileContent& content,
                   QString* writtenName, QString* error, const FileSink& sink = {});

} // namespace vemra
