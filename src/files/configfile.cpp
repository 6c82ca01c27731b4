#include "files/configfile.h"

#include "common/numbertext.h"
#include "common/quote.h"

#include <QList>
#include <vector>

namespace vemra {

const std::array<QString, configLineCount>& configKeys() {
    static const std::array<QString, configLineCount> keys{
        QStringLiteral("Comm1:"),
        QStringLiteral("Comm2:"),
        QStringLiteral("TotalNumOfPoints:"),
        QStringLiteral("AcquisitionPeriod:"),
        QStringLiteral("NumAveragPoints:"),
        QStringLiteral("InfiniteLogger:"),
        QStringLiteral("DisplayedPoints:"),
        QStringLiteral("EnableCH0:"),
        QStringLiteral("EnableCH1:"),
        QStringLiteral("EnableCH2:"),
        QStringLiteral("CalibrationCoeffCH0:"),
        QStringLiteral("CalibrationCoeffCH1:"),
        QStringLiteral("CalibrationCoeffCH2:"),
        QStringLiteral("LabelCH0:"),
        QStringLiteral("LabelCH1:"),
        QStringLiteral("LabelCH2:"),
        QStringLiteral("ForceActuatorValue:"),
        QStringLiteral("FreqActuatorPrescaler:"),
        QStringLiteral("FreqActuatorPostmultExp:"),
        QStringLiteral("LabelMultimeterOut:"),
        QStringLiteral("MultimeterCommand0:"),
        QStringLiteral("MultimeterCommand1:"),
        QStringLiteral("MultimeterCommand2:"),
        QStringLiteral("MultimeterCommand3:"),
        QStringLiteral("MultimeterCommand4:"),
        QStringLiteral("MultimeterEnabled:"),
    };
    return keys;
}

QString loadErrorMessage(LoadError error) {
    return error == LoadError::InitFileError ? QStringLiteral("Init File Error!")
                                             : QStringLiteral("Corrupted Init File!");
}

namespace {

// The limits of the edits the values go to: a value the edit would clamp is a damaged file,
// not a setting.
struct Limits {
    double minimum;
    double maximum;
};
constexpr Limits totalPointsLimits{1, 1000000};
constexpr Limits periodLimits{10, 64000};
constexpr Limits pointsPerBlockLimits{1, 1000};
constexpr Limits displayedPointsLimits{100, 60000};
constexpr Limits actuatorValueLimits{0, 255};
constexpr Limits prescalerLimits{1, 255};
constexpr Limits exponentLimits{0, 7};
constexpr int highestPort = 8;

// Up to the first `count` lines; a line ends at CR, CR LF or LF. Text after the last
// terminator is a line of its own when it is not empty.
std::vector<QString> firstLines(const QByteArray& bytes, int count) {
    std::vector<QString> lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size && static_cast<int>(lines.size()) < count) {
        qsizetype end = start;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.push_back(QString::fromLatin1(bytes.constData() + start, end - start));
        if (end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

// Hands out the values in file order, each converted for its setting. The first value that
// cannot be applied is remembered and stops the load once every line has been looked at.
class ValueReader {
public:
    explicit ValueReader(std::vector<QString> values)
        : values_(std::move(values)) {}

    std::int16_t port() {
        const auto number = next();
        if (!number)
            return 0;
        const std::int16_t port = toInt16(*number);
        // 0 or less: no port.
        if (port > highestPort)
            refuse(QStringLiteral("port number %1 above %2").arg(port).arg(highestPort));
        return port;
    }

    double number(Limits limits) {
        const auto number = next();
        if (number && (*number < limits.minimum || *number > limits.maximum))
            refuse(QStringLiteral("%1 outside %2..%3")
                       .arg(quotedPrefix(current()), generalText(limits.minimum),
                            generalText(limits.maximum)));
        return number.value_or(0);
    }

    // A grey box (2) cannot be loaded: only the program sets that state.
    int checkState() {
        const auto number = next();
        if (!number)
            return 0;
        const int state = toInt16(*number);
        if (state != 0 && state != 1)
            refuse(QStringLiteral("check-box state %1 is neither 0 nor 1").arg(state));
        return state;
    }

    double coefficient() { return next().value_or(0); }

    QString text() { return values_[++line_]; }

    bool boolean() {
        const QString value = values_[++line_].trimmed();
        if (value.compare(u"True", Qt::CaseInsensitive) == 0)
            return true;
        if (value.compare(u"False", Qt::CaseInsensitive) == 0)
            return false;
        const auto number = parseNumber(value);
        if (!number)
            refuse(QStringLiteral("%1 is neither True, False nor a number")
                       .arg(quotedPrefix(current())));
        return number.value_or(0) != 0;
    }

    const std::optional<QString>& problem() const { return problem_; }

private:
    std::optional<double> next() {
        const auto number = parseNumber(values_[++line_]);
        if (!number)
            refuse(QStringLiteral("%1 is not a number").arg(quotedPrefix(current())));
        return number;
    }

    const QString& current() const { return values_[line_]; }

    void refuse(const QString& reason) {
        if (!problem_)
            problem_ = QStringLiteral("line %1, key \"%2\": %3")
                           .arg(QString::number(line_ + 1), configKeys()[line_], reason);
    }

    std::vector<QString> values_;
    int line_ = -1;
    std::optional<QString> problem_;
};

ConfigLoad failure(LoadError error, const QString& detail) {
    return ConfigLoad{std::nullopt, error, detail};
}

// Every character that has no 8-bit code, a character beyond U+FFFF included, becomes one '?'.
// A line break inside a text (pasted into a label) becomes a blank: written as it is, it would
// split its line and make the whole file unloadable.
QByteArray latin1(const QString& text) {
    QByteArray bytes;
    const QList<uint> codes = text.toUcs4();
    bytes.reserve(codes.size());
    for (const uint code : codes) {
        if (code == '\r' || code == '\n')
            bytes += ' ';
        else
            bytes += code <= 0xFF ? static_cast<char>(code) : '?';
    }
    return bytes;
}

} // namespace

ConfigLoad parseConfig(const QByteArray& bytes) {
    // Line by line, as the file is read: a key out of place is reported even in a file that
    // also ends too early.
    const std::vector<QString> lines = firstLines(bytes, configLineCount);
    std::vector<QString> values;
    values.reserve(configLineCount);
    for (int n = 0; n < static_cast<int>(lines.size()); ++n) {
        const QString& line = lines[n];
        const qsizetype tab = line.indexOf(u'\t');
        const QString key = tab < 0 ? line : line.left(tab);
        if (key != configKeys()[n])
            return failure(LoadError::Corrupted,
                           QStringLiteral("line %1: expected key \"%2\", found %3")
                               .arg(QString::number(n + 1), configKeys()[n], quotedPrefix(key)));
        if (tab < 0) {
            values.emplace_back();
        } else {
            const qsizetype secondTab = line.indexOf(u'\t', tab + 1);
            values.push_back(line.mid(tab + 1, secondTab < 0 ? -1 : secondTab - tab - 1));
        }
    }
    if (static_cast<int>(lines.size()) < configLineCount)
        return failure(
            LoadError::InitFileError,
            QStringLiteral("%1 lines, %2 needed").arg(lines.size()).arg(configLineCount));

    ValueReader read(std::move(values));
    Config config;
    config.comm1 = read.port();
    config.comm2 = read.port();
    config.totalPoints = read.number(totalPointsLimits);
    config.period = read.number(periodLimits);
    config.pointsPerBlock = read.number(pointsPerBlockLimits);
    config.infinite = read.checkState();
    config.displayedPoints = read.number(displayedPointsLimits);
    for (int& state : config.enable)
        state = read.checkState();
    for (double& coefficient : config.coefficients)
        coefficient = read.coefficient();
    for (QString& label : config.labels)
        label = read.text();
    config.actuatorValue = read.number(actuatorValueLimits);
    config.prescaler = read.number(prescalerLimits);
    config.exponent = read.number(exponentLimits);
    config.meterLabel = read.text();
    for (QString& command : config.meterCommands)
        command = read.text();
    config.meterEnabled = read.boolean();

    if (read.problem())
        return failure(LoadError::Corrupted, *read.problem());
    return ConfigLoad{std::move(config), LoadError::InitFileError, QString()};
}

QByteArray serializeConfig(const Config& config) {
    std::vector<QString> values;
    values.reserve(configLineCount);
    values.push_back(QString::number(config.comm1));
    values.push_back(QString::number(config.comm2));
    values.push_back(generalText(config.totalPoints));
    values.push_back(generalText(config.period));
    values.push_back(generalText(config.pointsPerBlock));
    values.push_back(QString::number(config.infinite));
    values.push_back(generalText(config.displayedPoints));
    for (const int state : config.enable)
        values.push_back(QString::number(state));
    for (const double coefficient : config.coefficients)
        values.push_back(generalText(coefficient));
    for (const QString& label : config.labels)
        values.push_back(label);
    values.push_back(generalText(config.actuatorValue));
    values.push_back(generalText(config.prescaler));
    values.push_back(generalText(config.exponent));
    values.push_back(config.meterLabel);
    for (const QString& command : config.meterCommands)
        values.push_back(command);
    values.push_back(config.meterEnabled ? QStringLiteral("True") : QStringLiteral("False"));

    QByteArray bytes;
    for (int n = 0; n < configLineCount; ++n)
        bytes += latin1(configKeys()[n] + u'\t' + values[n]) + "\r\n";
    return bytes;
}

} // namespace vemra
