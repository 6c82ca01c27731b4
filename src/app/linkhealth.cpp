#include "app/linkhealth.h"

#include "common/numbertext.h"

#include <QStringList>
#include <cmath>

namespace vemra {

namespace {

constexpr double kQuietAfterSeconds = 1.0;

QString rate(qint64 now, qint64 before, double seconds, bool tenths) {
    const double perSecond = seconds > 0 ? static_cast<double>(now - before) / seconds : 0.0;
    return generalText(tenths ? std::round(perSecond * 10) / 10 : std::round(perSecond));
}

} // namespace

QString linkHealthText(const LinkHealth& h) {
    QStringList parts;
    if (h.boardOpen) {
        QString board;
        if (h.running && h.quietSeconds > kQuietAfterSeconds)
            board = QStringLiteral("Board: no data for %1 s, ")
                        .arg(std::floor(h.quietSeconds), 0, 'f', 0);
        else
            board = QStringLiteral("Board: %1 records/s, %2 bytes/s, ")
                        .arg(rate(h.now.records, h.before.records, h.seconds, false),
                             rate(h.now.bytes, h.before.bytes, h.seconds, false));
        board += QStringLiteral("%1 checksum errors (%2 damaged), %3 dropped blocks")
                     .arg(h.now.checksumErrors)
                     .arg(h.now.damagedRecords)
                     .arg(h.now.droppedBlocks);
        parts << board;
    }
    if (h.meterOpen)
        parts << QStringLiteral("Meter: %1 readings/s, %2 out of step (%3 lost)")
                         .arg(rate(h.now.readings, h.before.readings, h.seconds, true))
                         .arg(h.now.outOfStep)
                         .arg(h.now.lostReadings) +
                     (h.now.overloads > 0 ? QStringLiteral(", %1 overloads").arg(h.now.overloads)
                                          : QString());
    return parts.join(QStringLiteral(" · "));
}

} // namespace vemra
