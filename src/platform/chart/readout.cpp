#include "platform/chart/readout.h"

#include "common/numbertext.h"
#include "platform/chart/traceseries.h"

#include <algorithm>
#include <cmath>

namespace vemra {

namespace {

const QString kPlaceNames[] = {QStringLiteral("Cursor"), QStringLiteral("A"), QStringLiteral("B")};

QString valueText(double value) {
    return std::isnan(value) ? QStringLiteral("—") : generalText(value);
}

// The decimals of a value as the readout writes it: "24,95" has 2, "1,5E-05" 6.
int decimalsOf(double value) {
    const QString text = generalText(value);
    const qsizetype exponent = text.indexOf(u'E');
    const QString mantissa = exponent < 0 ? text : text.left(exponent);
    const qsizetype comma = mantissa.indexOf(u',');
    const int decimals = comma < 0 ? 0 : static_cast<int>(mantissa.size() - comma - 1);
    return exponent < 0 ? decimals : std::max(0, decimals - text.mid(exponent + 1).toInt());
}

// A difference has the decimals of its values and no more: 24,95 − 25 reads -0,05, not the
// -0,0500000000000007 of the binary subtraction. An overload or a gap has none.
double difference(double from, double to) {
    const auto onScale = [](double v) { return !std::isnan(v) && std::abs(v) < kOffScale; };
    if (!onScale(from) || !onScale(to))
        return std::nan("");
    const double scale = std::pow(10.0, std::max(decimalsOf(from), decimalsOf(to)));
    const double scaled = (to - from) * scale;
    return std::isfinite(scaled) ? std::round(scaled) / scale : to - from;
}

} // namespace

std::optional<qint64> nearestSample(double x, double first, double last) {
    if (!(first <= last) || std::isnan(x))
        return std::nullopt;
    return std::llround(std::clamp(x, first, last));
}

// Yellow and cyan: apart from the channels' green, red and blue and the meter's white.
QColor markerColour(ReadoutPlace marker) {
    return marker == kMarkerA ? QColor(255, 215, 0) : QColor(0, 215, 255);
}

ReadoutTable readoutTable(const ReadoutData& data) {
    ReadoutTable table;
    QVector<int> shown;
    for (int place : {kCursor, kMarkerA, kMarkerB}) {
        if (!data.samples[place])
            continue;
        shown << place;
        table.columns << kPlaceNames[place];
        table.columnColours << (place == kCursor ? QColor() : markerColour(ReadoutPlace(place)));
    }
    const auto& a = data.samples[kMarkerA];
    const auto& b = data.samples[kMarkerB];
    if (a && b) {
        table.columns << QStringLiteral("B − A");
        table.columnColours << QColor();
    }

    ReadoutTable::Row sample{QStringLiteral("Sample"), {}, {}};
    ReadoutTable::Row time{QStringLiteral("Time (ms)"), {}, {}};
    const auto addSample = [&](qint64 n) {
        sample.cells << QString::number(n);
        time.cells << generalText(static_cast<double>(n) * data.msPerSample);
    };
    for (int place : shown)
        addSample(*data.samples[place]);
    if (a && b)
        addSample(*b - *a);
    table.rows << sample << time;

    for (const ReadoutTrace& trace : data.traces) {
        ReadoutTable::Row row{trace.caption, trace.colour, {}};
        for (int place : shown)
            row.cells << valueText(trace.values[place]);
        if (a && b)
            row.cells << valueText(difference(trace.values[kMarkerA], trace.values[kMarkerB]));
        table.rows << row;
    }
    return table;
}

QString readoutSpeech(const ReadoutTable& table) {
    QStringList places;
    for (int column = 0; column < table.columns.size(); ++column) {
        QStringList said;
        for (const ReadoutTable::Row& row : table.rows)
            said << row.caption + u' ' + row.cells[column];
        places << table.columns[column] + QStringLiteral(": ") + said.join(QStringLiteral(", "));
    }
    return places.join(QStringLiteral("; "));
}

} // namespace vemra
