#include "files/datafile.h"

#include "common/numbertext.h"

#include <QDir>
#include <QFileInfo>
#include <QStringView>
#include <algorithm>
#include <new>
#include <string_view>

namespace vemra {

namespace {

constexpr int channelCount = 3;
constexpr std::string_view timeTitle = "Time (mS)";

// One byte per character: Latin-1 as it is, '?' for anything else (a pair of surrogates is
// one character). Never writes more bytes than text has UTF-16 units.
char* appendLatin1(char* out, QStringView text) {
    const char16_t* unit = text.utf16();
    const char16_t* const end = unit + text.size();
    for (; unit < end; ++unit) {
        if (*unit < 0x100) {
            *out++ = static_cast<char>(*unit);
            continue;
        }
        *out++ = '?';
        if (QChar::isHighSurrogate(*unit) && unit + 1 < end && QChar::isLowSurrogate(unit[1]))
            ++unit;
    }
    return out;
}

char* appendLineEnd(char* out) {
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

QString formatRefusal() {
    return QStringLiteral("The stopped run is no longer in memory (the store was re-dimensioned "
                          "after the stop); nothing was saved.");
}

QString dataFileName(const QDateTime& now, int number) {
    QString name = runFileStem(now);
    if (number > 1)
        name += QStringLiteral(" (%1)").arg(number);
    return name + QStringLiteral(".txt");
}

} // namespace

QString runFileStem(const QDateTime& now) {
    const QDate date = now.date();
    const QTime time = now.time();
    return QStringLiteral("VemraData %1-%2 %3-%4-%5")
        .arg(date.day())
        .arg(date.month())
        .arg(time.hour())
        .arg(time.minute())
        .arg(time.second());
}

std::optional<QByteArray> formatDataFile(const DataFileContent& content, QString* error) {
    const qsizetype count = content.count > 0 ? content.count : 0;
    int rowCount = 0;
    std::array<const double*, channelCount> rows{};
    std::array<bool, channelCount> selected{};
    for (int channel = 0; channel < channelCount; ++channel)
        selected[channel] = (content.channelMask >> channel & 1) != 0;
    for (int channel = 0; channel < channelCount; ++channel) {
        if (!selected[channel])
            continue;
        if (count > 0 && !content.samples.contains(rowCount, static_cast<int>(count - 1))) {
            *error = formatRefusal();
            return std::nullopt;
        }
        rows[rowCount] = count > 0 ? content.samples.row(rowCount) : nullptr;
        ++rowCount;
    }
    // Room for the longest text of every field, so the lines are written without a check.
    qsizetype capacity = qsizetype(timeTitle.size()) + 3 + content.meterTitle.size();
    for (int channel = 0; channel < channelCount; ++channel)
        capacity += content.channelTitles[channel].size() + 1;
    capacity += count * ((rowCount + 1) * (generalTextMaxLength + 1) + 2);
    if (content.meterColumn)
        capacity += count * ReadingStore::kMaxText;

    QByteArray bytes;
    try {
        bytes.resize(capacity);
    } catch (const std::bad_alloc&) {
        *error = QStringLiteral("There is not enough memory to prepare the data file of %1 "
                                "samples; nothing was saved.")
                     .arg(count);
        return std::nullopt;
    }
    char* const begin = bytes.data();
    char* out = begin;

    out = std::copy(timeTitle.begin(), timeTitle.end(), out);
    *out++ = '\t';
    for (int channel = 0; channel < channelCount; ++channel) {
        if (!selected[channel])
            continue;
        out = appendLatin1(out, content.channelTitles[channel]);
        *out++ = '\t';
    }
    if (content.meterColumn)
        out = appendLatin1(out, content.meterTitle);
    out = appendLineEnd(out);

    for (qsizetype i = 0; i < count; ++i) {
        out += appendGeneral(out, static_cast<double>(i) * content.timeStep);
        *out++ = '\t';
        for (int row = 0; row < rowCount; ++row) {
            out += appendGeneral(out, rows[row][i]);
            *out++ = '\t';
        }
        // Blocks that arrive after a finite run's stop can take the count past the last
        // reading slot; those lines get an empty meter field, as a slot no reading filled.
        if (content.meterColumn) {
            const QLatin1StringView reading = content.readings.text(static_cast<int>(i));
            out = std::copy(reading.begin(), reading.end(), out);
        }
        out = appendLineEnd(out);
    }

    bytes.truncate(out - begin);
    return bytes;
}

bool writeDataFile(const QString& dir, const QDateTime& now, const QByteArray& bytes,
                   QString* writtenName, QString* error, const FileSink& sink) {
    const QDir folder(dir);
    QString name;
    for (int number = 1;; ++number) {
        name = dataFileName(now, number);
        // A dangling link is an entry too: saving over it would replace it.
        const QFileInfo entry(folder.filePath(name));
        if (!entry.exists() && !entry.isSymLink())
            break;
    }

    const QString where = QDir::toNativeSeparators(folder.absolutePath());
    const auto fail = [&](const QString& what, const QString& reason) {
        *error =
            QStringLiteral("%1 the data file \"%2\" in \"%3\": %4").arg(what, name, where, reason);
        return false;
    };

    WholeFile file(sink, folder.filePath(name));
    if (!file.open())
        return fail(QStringLiteral("Cannot create"), file.error());
    if (!file.write(bytes) || !file.commit())
        return fail(QStringLiteral("Cannot write"), file.error());
    *writtenName = name;
    return true;
}

} // namespace vemra
