#include "meter/scpi.h"

#include "common/numbertext.h"

#include <limits>

namespace vemra::meter {

QByteArray commandLine(QStringView text) {
    return text.toLatin1() + "\r\n";
}

std::optional<QString> initLine(int step, const std::array<QString, 4>& parameters) {
    if (step == 0)
        return QStringLiteral("SYST:REM");
    if (step >= 1 && step <= 4)
        return parameters[static_cast<std::size_t>(step - 1)];
    if (step == 5)
        return QStringLiteral("READ?");
    return std::nullopt;
}

std::optional<QString> readingText(QStringView unit) {
    if (unit.size() != kUnitLength || unit.back() != u',')
        return std::nullopt;
    QString text = unit.first(kUnitLength - 1).toString();
    text[2] = u',';
    // Line noise in step with the stream is kept as the reading it replaced, but never as a
    // tab or a line end, which would split the data file's row.
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u'?';
    return text;
}

double readingValue(QStringView text) {
    return parseNumber(text).value_or(std::numeric_limits<double>::quiet_NaN());
}

QString manualReply(QStringView raw) {
    QString shown;
    shown.reserve(raw.size());
    for (const QChar c : raw) {
        if (c == u',')
            shown += u'\n';
        else if (c != u'\r')
            shown += c;
    }
    return shown;
}

} // namespace vemra::meter
