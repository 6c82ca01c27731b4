#include "journal/recovery.h"

#include "files/datafile.h"
#include "journal/format.h"
#include "run/run.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <map>

namespace vemra {

namespace {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The journal's file, whole; an empty text and *error when it cannot be read.
QByteArray readWhole(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    return file.readAll();
}

std::string_view viewOf(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

RunShape shapeOf(const std::map<std::string, std::string>& h) {
    const auto at = [&h](const char* key) {
        const auto found = h.find(key);
        return found == h.end() ? QString() : fromStd(found->second);
    };
    RunShape shape;
    const int mask = at("mask").toInt();
    for (int ch = 0; ch < 3; ++ch) {
        shape.enabled[ch] = (mask >> ch) & 1;
        shape.coefficients[ch] = at(qPrintable(QStringLiteral("coeff%1").arg(ch))).toDouble();
        shape.labels[ch] = at(qPrintable(QStringLiteral("label%1").arg(ch)));
    }
    shape.recordsPerBlock = std::max(1, at("perBlock").toInt());
    shape.totalPoints = at("totalPoints").toInt();
    shape.endless = at("endless") == u"1";
    shape.period = at("period").toDouble();
    shape.external = at("external") == u"1";
    shape.meterLabel = at("meterLabel");
    shape.start = QDateTime::fromString(at("start"), Qt::ISODateWithMs);
    return shape;
}

// The stop a run takes where its journal ends: as closing the window would have taken it.
RunSnapshot closingSnapshot(const RunShape& shape) {
    return {shape.mask(), 0, shape.external, shape.period / 10.0};
}

RunSnapshot stopSnapshot(const std::map<std::string, std::string>& fields) {
    const auto at = [&fields](const char* key) {
        const auto found = fields.find(key);
        return found == fields.end() ? QString() : fromStd(found->second);
    };
    return {at("mask").toInt(), 0, at("meter") == u"1", at("step").toDouble()};
}

int segmentOf(const QString& file) {
    static const QRegularExpression numbered(QStringLiteral("\\.(\\d+)\\.journal$"));
    const QRegularExpressionMatch match = numbered.match(file);
    return match.hasMatch() ? match.captured(1).toInt() : 1;
}

QString stemOf(const QString& file) {
    static const QRegularExpression suffix(QStringLiteral("(\\.\\d+)?\\.journal$"));
    return QString(file).remove(suffix);
}

} // namespace

bool replayJournal(const QStringList& files, Run& run, QString* damage, QString* refused) {
    bool described = false; // the header was read
    bool begun = false;
    bool stopped = false;
    bool keepNext = false; // the run ended by itself: the next block stays with the snapshot
    RunShape shape;
    qint64 lost = 0;
    for (const QString& path : files) {
        QString error;
        const QByteArray bytes = readWhole(path, &error);
        journal::ChunkCursor cursor(viewOf(bytes));
        if (!error.isEmpty() || !cursor.refused().empty()) {
            if (refused)
                *refused = error.isEmpty() ? fromStd(cursor.refused()) : error;
            if (!begun)
                return false;
            break;
        }
        while (const auto chunk = cursor.next()) {
            const std::string_view data = chunk->bytes;
            const bool ending = std::exchange(keepNext, false);
            if (chunk->type == journal::ChunkType::Header) {
                if (!described)
                    shape = shapeOf(journal::parseFields(data));
                described = true;
                continue;
            }
            if (!described)
                break;
            // The run begins with the meter's characters that waited at Start, when any.
            if (!begun) {
                const bool waiting = chunk->type == journal::ChunkType::MeterAtStart;
                run.begin(shape, waiting ? QString::fromLatin1(data.data(), qsizetype(data.size()))
                                         : QString());
                begun = true;
            }
            switch (chunk->type) {
            case journal::ChunkType::Resume:
                // The segments before were rolled away; a segment read on from the one
                // before it needs no resuming.
                if (files.indexOf(path) == 0)
                    run.restore(QByteArray(data.data(), qsizetype(data.size())));
                break;
            case journal::ChunkType::Board:
                run.takeBoardBytes(QByteArray(data.data(), qsizetype(data.size())));
                if (ending)
                    run.keepEndingBlock();
                break;
            case journal::ChunkType::Meter:
                run.takeMeterChars(QString::fromLatin1(data.data(), qsizetype(data.size())));
                break;
            case journal::ChunkType::Overrun:
                run.takeOverrun(fromStd(journal::parseFields(data)["bytes"]).toLongLong());
                break;
            case journal::ChunkType::Stop: {
                const auto fields = journal::parseFields(data);
                run.stop(stopSnapshot(fields));
                stopped = true;
                keepNext = fields.count("ending") && fields.at("ending") == "1";
                break;
            }
            default:
                break;
            }
        }
        lost += bytes.size() - qint64(cursor.goodBytes());
    }
    if (described && !begun)
        run.begin(shape, QString());
    if (!described)
        return false;
    if (!stopped)
        run.stop(closingSnapshot(shape));
    if (damage)
        *damage = lost > 0
                      ? QObject::tr("the last %1 bytes of its journal were damaged and are lost")
                            .arg(lost)
                      : QString();
    return true;
}

QList<UnsavedRun> findUnsavedRuns(const QString& folder) {
    // Segments by run, oldest first.
    std::map<QString, std::map<int, QString>> runs;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("*.journal")}, QDir::Files, QDir::Name))
        runs[stemOf(name)][segmentOf(name)] = dir.filePath(name);

    QList<UnsavedRun> found;
    for (const auto& [stem, segments] : runs) {
        UnsavedRun unsaved;
        for (const auto& [number, path] : segments)
            unsaved.files << path;
        // A saved run's journal says so in its last segment.
        QString error;
        const QByteArray last = readWhole(unsaved.files.last(), &error);
        journal::ChunkCursor cursor(viewOf(last));
        bool saved = false;
        while (const auto chunk = cursor.next())
            saved = saved || chunk->type == journal::ChunkType::Saved;
        if (saved)
            continue;
        Run run;
        if (replayJournal(unsaved.files, run, &unsaved.damage, &unsaved.refused)) {
            unsaved.start = run.shape().start;
            unsaved.samples = run.snapshot.sampleCount;
            for (int i = 0; i < unsaved.samples; ++i)
                unsaved.readings += run.snapshot.meterColumn && run.readings.filled(i);
        }
        found << unsaved;
    }
    std::sort(found.begin(), found.end(),
              [](const UnsavedRun& a, const UnsavedRun& b) { return a.start < b.start; });
    return found;
}

bool recoverRun(const UnsavedRun& unsaved, const QString& dataFolder, const FileSink& sink,
                QString* writtenName, QString* error) {
    Run run;
    QString refused;
    if (!replayJournal(unsaved.files, run, nullptr, &refused)) {
        *error =
            QObject::tr("The journal %1 cannot be read: %2").arg(unsaved.files.value(0), refused);
        return false;
    }
    const RunShape& shape = run.shape();
    const RunSnapshot& s = run.snapshot;
    const DataFileContent content{s.channelMask == shape.mask() ? s.channelMask : shape.mask(),
                                  s.sampleCount,
                                  s.meterColumn,
                                  s.timeStep,
                                  run.samples,
                                  run.readings,
                                  shape.labels,
                                  shape.meterLabel};
    if (!writeDataFile(dataFolder, runFileStem(shape.start) + QStringLiteral(" (recovered)"),
                       content, writtenName, error, sink))
        return false;
    discardRun(unsaved);
    return true;
}

void discardRun(const UnsavedRun& unsaved) {
    for (const QString& file : unsaved.files)
        QFile::remove(file);
}

} // namespace vemra
