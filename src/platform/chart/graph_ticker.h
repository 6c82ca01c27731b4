#pragma once
// Tick labels written as a literal mantissa-e-exponent ("1,00e3", "-2,50e-1"): QCustomPlot's
// own exponent format draws a power of ten (1,00·10³), which the station's charts do not use.

#include <QString>
#include <qcustomplot.h>

namespace vemra {

// Two-decimal mantissa with a decimal comma, exponent without sign padding or zeros.
// Meant for finite values (tick positions).
QString exponentLabel(double value);

class ExponentTicker : public QCPAxisTicker {
protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;
};

} // namespace vemra
