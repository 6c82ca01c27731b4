#include "platform/chart/traceseries.h"

#include <algorithm>
#include <cmath>

namespace vemra {

void TraceSeries::setCapacity(std::size_t capacity) {
    capacity_ = capacity ? capacity : 1;
    if (size_ > capacity_) {
        const std::size_t dropped = size_ - capacity_;
        head_ = (head_ + dropped) % ring_.size();
        size_ = capacity_;
        first_ += static_cast<double>(dropped);
    }
    if (ring_.size() > capacity_) {
        std::vector<double> kept(capacity_);
        for (std::size_t i = 0; i < size_; ++i)
            kept[i] = at(i);
        ring_.swap(kept);
        head_ = 0;
    }
}

void TraceSeries::clear() {
    std::vector<double>().swap(ring_);
    head_ = 0;
    size_ = 0;
    first_ = 0;
}

// The ring grows by doubling up to the capacity, so a short trace stays small.
void TraceSeries::reserveFor(std::size_t count) {
    if (count <= ring_.size() || ring_.size() == capacity_)
        return;
    const std::size_t grown =
        std::min(capacity_, std::max({count, ring_.size() * 2, std::size_t{4096}}));
    std::vector<double> larger(grown);
    for (std::size_t i = 0; i < size_; ++i)
        larger[i] = at(i);
    ring_.swap(larger);
    head_ = 0;
}

void TraceSeries::append(double value) {
    if (size_ == 0)
        first_ = 0;
    reserveFor(size_ + 1);
    const double v = value;
    if (size_ < ring_.size()) {
        ring_[(head_ + size_) % ring_.size()] = v;
        ++size_;
        return;
    }
    // Full at capacity: the newest point takes the oldest one's place.
    ring_[head_] = v;
    head_ = (head_ + 1) % ring_.size();
    first_ += 1.0;
}

void TraceSeries::assign(const QVector<double>& values) {
    clear();
    const std::size_t count = static_cast<std::size_t>(values.size());
    const std::size_t kept = std::min(count, capacity_);
    ring_.resize(kept);
    for (std::size_t i = 0; i < kept; ++i)
        ring_[i] = (values[static_cast<qsizetype>(count - kept + i)]);
    size_ = kept;
    first_ = static_cast<double>(count - kept);
}

ColumnExtent TraceSeries::extent(std::size_t from, std::size_t to) const {
    ColumnExtent e;
    to = std::min(to, size_);
    const auto take = [&e](double v) {
        if (std::isnan(v))
            return;
        if (std::abs(v) >= kOffScale) {
            (v > 0 ? e.overHigh : e.overLow) = true;
            return;
        }
        e.min = e.any ? std::min(e.min, v) : v;
        e.max = e.any ? std::max(e.max, v) : v;
        e.any = true;
    };
    if (from >= to)
        return e;
    // The ring is at most two contiguous runs: no division per point.
    const std::size_t n = ring_.size();
    const std::size_t start = (head_ + from) % n;
    const std::size_t count = to - from;
    const std::size_t firstRun = std::min(count, n - start);
    for (std::size_t i = 0; i < firstRun; ++i)
        take(ring_[start + i]);
    for (std::size_t i = 0; i < count - firstRun; ++i)
        take(ring_[i]);
    if (e.any && from > 0)
        take(at(from - 1));
    return e;
}

bool TraceSeries::valueRange(double& low, double& high) const {
    const ColumnExtent e = extent(0, size_);
    low = e.min;
    high = e.max;
    return e.any;
}

} // namespace vemra
