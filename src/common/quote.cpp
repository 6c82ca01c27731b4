#include "common/quote.h"

namespace vemra {

QString quotedPrefix(QStringView text, int most) {
    const bool cut = text.size() > most;
    QString shown = text.left(most).toString();
    for (QChar& c : shown) {
        if (!c.isPrint())
            c = u'?';
    }
    return u'"' + shown + (cut ? QStringLiteral("…\"") : QStringLiteral("\""));
}

} // namespace vemra
