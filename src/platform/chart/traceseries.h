#pragma once
// The points of one chart trace: values at x = first, first + 1, ... (a trace only ever
// grows by one x unit per point), held in a ring of bounded capacity, so that a
// trace of a million points costs 8 MB and an endless stream costs no more than its bound.
// NaN is a gap. A value at or beyond ±1E37 is off scale (a meter's overload reads 9.9E37): it
// is drawn at the axis's edge and never scaled to.

#include <QVector>
#include <cstddef>
#include <vector>

namespace vemra {

// The extent of the samples of one pixel column, and the sample before it, which the
// column's line joins.
struct ColumnExtent {
    bool any = false; // the column holds a value on scale
    double min = 0;
    double max = 0;
    bool overHigh = false; // and values off scale, above or below
    bool overLow = false;
};

constexpr double kOffScale = 1e37;

class TraceSeries {
public:
    explicit TraceSeries(std::size_t capacity = 2'000'000)
        : capacity_(capacity ? capacity : 1) {}

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    // x of the oldest point held.
    double firstKey() const { return first_; }
    // x the next point takes: one past the newest, 0 for an empty trace.
    double nextKey() const { return size_ ? first_ + static_cast<double>(size_) : 0.0; }
    double at(std::size_t i) const { return ring_[(head_ + i) % ring_.size()]; }

    // Drops the oldest points beyond the new capacity.
    void setCapacity(std::size_t capacity);
    void clear();
    void append(double value);
    // Replaces the points: values[i] at x = i (only the newest capacity ones are kept).
    void assign(const QVector<double>& values);

    // Extent of the points with index in [from, to), joined to the point at from - 1.
    ColumnExtent extent(std::size_t from, std::size_t to) const;
    // Smallest and largest value held; false when there is none but NaN.
    bool valueRange(double& low, double& high) const;

private:
    void reserveFor(std::size_t count);

    std::vector<double> ring_;
    std::size_t capacity_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
    double first_ = 0;
};

} // namespace vemra
