#include "files/datafile.h"

#include "common/numbertext.h"

#include <QDir>
#include <QFileInfo>
#include <QStringView>
#include <algorithm>
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

QString dataFileName(const QString& stem, int number) {
    QString name = stem;
    if (number > 1)
        name += QStringLiteral(" (%1)").arg(number);
    return name + QStringLiteral(".txt");
}

} // namespace

QString runMoment(const QDateTime& moment) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    return QStringLiteral("%1-%2 %3-%4-%5")
        .arg(date.day())
        .arg(date.month())
        .arg(time.hour())
        .arg(time.minute())
        .arg(time.second());
}

QString runFileStem(const QDateTime& now) {
    return QStringLiteral("VemraData ") + runMoment(now);
}

namespace {

// Which rows the selected channels take, after checking that the stores hold them.
struct Layout {
    qsizetype count = 0;
    int rowCount = 0;
    std::array<const double*, channelCount> rows{};
    std::array<bool, channelCount> selected{};
};

std::optional<Layout> layoutOf(const DataFileContent& content, QString* error) {
    Layout layout;
    layout.count = content.count > 0 ? content.count : 0;
    for (int channel = 0; channel < channelCount; ++channel) {
        layout.selected[channel] = (content.channelMask >> channel & 1) != 0;
        if (!layout.selected[channel])
            continue;
        const int row = layout.rowCount++;
        if (layout.count > 0 &&
            !content.samples.contains(row, static_cast<int>(layout.count - 1))) {
            *error = formatRefusal();
            return std::nullopt;
        }
        layout.rows[row] = layout.count > 0 ? content.samples.row(row) : nullptr;
    }
    return layout;
}

// Lines are formatted into a buffer of about this size and handed on whenever it fills, so
// a run of a million samples never stands in memory a second time as text.
constexpr qsizetype kPieceBytes = 1 << 20;

} // namespace

bool checkDataFile(const DataFileContent& content, QString* error) {
    return layoutOf(content, error).has_value();
}

bool streamDataFile(const DataFileContent& content, const DataFilePieces& write, QString* error) {
    const std::optional<Layout> layout = layoutOf(content, error);
    if (!layout)
        return false;

    QByteArray header(qsizetype(timeTitle.size()) + 3 + content.meterTitle.size(), '\0');
    for (int channel = 0; channel < channelCount; ++channel)
        header.append(content.channelTitles[channel].size() + 1, '\0');
    char* out = std::copy(timeTitle.begin(), timeTitle.end(), header.data());
    *out++ = '\t';
    for (int channel = 0; channel < channelCount; ++channel) {
        if (!layout->selected[channel])
            continue;
        out = appendLatin1(out, content.channelTitles[channel]);
        *out++ = '\t';
    }
    if (content.meterColumn)
        out = appendLatin1(out, content.meterTitle);
    out = appendLineEnd(out);
    if (!write(QByteArrayView(header.constData(), out - header.constData())))
        return false;

    // Room for the longest text of every field, so a line is written without a check.
    const qsizetype longestLine = (layout->rowCount + 1) * (generalTextMaxLength + 1) + 2 +
                                  (content.meterColumn ? ReadingStore::kMaxText : 0);
    const qsizetype pieceBytes = std::min(kPieceBytes, layout->count * longestLine);
    QByteArray piece(pieceBytes + longestLine, '\0');
    char* const begin = piece.data();
    out = begin;
    for (qsizetype i = 0; i < layout->count; ++i) {
        out += appendGeneral(out, static_cast<double>(i) * content.timeStep);
        *out++ = '\t';
        for (int row = 0; row < layout->rowCount; ++row) {
            out += appendGeneral(out, layout->rows[row][i]);
            *out++ = '\t';
        }
        // Blocks that arrive after a finite run's stop can take the count past the last
        // reading slot; those lines get an empty meter field, as a slot no reading filled.
        if (content.meterColumn) {
            const QLatin1StringView reading = content.readings.text(static_cast<int>(i));
            out = std::copy(reading.begin(), reading.end(), out);
        }
        out = appendLineEnd(out);
        if (out - begin >= pieceBytes) {
            if (!write(QByteArrayView(begin, out - begin)))
                return false;
            out = begin;
        }
    }
    return out == begin || write(QByteArrayView(begin, out - begin));
}

std::optional<QByteArray> formatDataFile(const DataFileContent& content, QString* error) {
    QByteArray bytes;
    if (!streamDataFile(
            content, [&bytes](QByteArrayView piece) { return bytes.append(piece), true; }, error))
        return std::nullopt;
    return bytes;
}

bool writeDataFile(const QString& dir, const QString& stem, const DataFileContent& content,
                   QString* writtenName, QString* error, const FileSink& sink) {
    if (!checkDataFile(content, error))
        return false;
    const QDir folder(dir);
    QString name;
    for (int number = 1;; ++number) {
        name = dataFileName(stem, number);
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
    QString unused;
    if (!streamDataFile(
            content, [&file](QByteArrayView piece) { return file.write(piece); }, &unused) ||
        !file.commit())
        return fail(QStringLiteral("Cannot write"), file.error());
    *writtenName = name;
    return true;
}

} // namespace vemra
