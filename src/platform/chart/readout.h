#pragma once
// What the chart's readout says, without widgets: the samples under the data cursor and at
// the two markers, their time from the run's start, every trace's value there in its unit,
// and the markers' differences. The chart shows it as a coloured table (readoutlabel.h);
// assistive technology reads it as one text, a place at a time.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

namespace vemra {

// The sample nearest to x among first..last, nothing when there is none.
std::optional<qint64> nearestSample(double x, double first, double last);

// The places the readout tells: the data cursor and the markers A and B.
enum ReadoutPlace { kCursor, kMarkerA, kMarkerB };

QColor markerColour(ReadoutPlace marker);

struct ReadoutTrace {
    QString caption; // its axis caption: the channel's name and unit
    QColor colour;
    std::array<double, 3> values{}; // at each place; NaN where the trace has no value
};

struct ReadoutData {
    std::array<std::optional<qint64>, 3> samples; // each place's sample, when it is shown
    double msPerSample = 0;
    QVector<ReadoutTrace> traces;
};

// A column for each place shown and "B − A" when both markers are; a row for the sample, the
// time and each trace.
struct ReadoutTable {
    struct Row {
        QString caption;
        QColor colour; // invalid: the readout's own
        QStringList cells;
    };
    QStringList columns;
    QVector<QColor> columnColours;
    QVector<Row> rows;
};

ReadoutTable readoutTable(const ReadoutData& data);
// "Cursor: Sample 12, Time (ms) 4,8, Force (g) 3,5; A: …": a place at a time.
QString readoutSpeech(const ReadoutTable& table);

} // namespace vemra
