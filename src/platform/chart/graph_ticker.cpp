#include "platform/chart/graph_ticker.h"

namespace vemra {

QString exponentLabel(double value) {
    // Qt's 'e' form already rounds the mantissa into [1, 10), carrying into the exponent
    // (9999 gives 1.00e+04), so only the separators and the exponent's padding change.
    const QString text = QString::number(value, 'e', 2);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    QString mantissa = text.left(e);
    mantissa.replace(QLatin1Char('.'), QLatin1Char(','));
    return mantissa + QLatin1Char('e') + QString::number(text.mid(e + 1).toInt());
}

QString ExponentTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    return exponentLabel(tick);
}

} // namespace vemra
