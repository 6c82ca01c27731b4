#include "platform/chartplot.h"

#include <QPaintEvent>
#include <algorithm>
#include <cmath>

namespace vemra {

namespace {

// Columns at both edges of the plot area that are painted rather than scrolled: the value
// axes' inward ticks stand there.
constexpr int kEdge = 8;

} // namespace

ColumnTrace::ColumnTrace(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPAbstractPlottable(keyAxis, valueAxis) {
    setSelectable(QCP::stNone);
}

double ColumnTrace::selectTest(const QPointF&, bool, QVariant*) const {
    return -1;
}

QCPRange ColumnTrace::getKeyRange(bool& foundRange, QCP::SignDomain) const {
    foundRange = series_.size() > 0;
    return foundRange ? QCPRange(series_.firstKey(), series_.nextKey() - 1.0) : QCPRange();
}

QCPRange ColumnTrace::getValueRange(bool& foundRange, QCP::SignDomain, const QCPRange&) const {
    double low = 0;
    double high = 0;
    foundRange = series_.valueRange(low, high);
    return QCPRange(low, high);
}

void ColumnTrace::draw(QCPPainter* painter) {
    const auto* plot = qobject_cast<const ChartPlot*>(mParentPlot);
    if (!keyAxis() || !valueAxis() || series_.size() == 0 || !plot)
        return;
    // Fewer points than pixel columns: a plain line through them.
    if (plot->columnWidth() < 1.0)
        drawPoints(painter);
    else
        drawColumns(painter, *plot);
}

void ColumnTrace::drawColumns(QCPPainter* painter, const ChartPlot& plot) {
    const QRect area = keyAxis()->axisRect()->rect();
    const double width = plot.columnWidth();
    const qint64 leftColumn = plot.firstColumn();
    const double first = series_.firstKey();
    const auto indexAt = [&](qint64 column) {
        // First point whose x lies at or beyond the column's start.
        const double offset = std::ceil(static_cast<double>(column) * width - first);
        return static_cast<std::size_t>(std::clamp(offset, 0.0, double(series_.size())));
    };
    const QColor colour = mPen.color();
    for (const QRect& painted : plot.paintRects()) {
        const QRect r = painted & area;
        for (int x = r.left(); x <= r.right(); ++x) {
            const qint64 column = leftColumn + (x - area.left());
            const ColumnExtent e = series_.extent(indexAt(column), indexAt(column + 1));
            if (!e.any)
                continue;
            const int top = qRound(valueAxis()->coordToPixel(e.max));
            const int bottom = qRound(valueAxis()->coordToPixel(e.min));
            painter->fillRect(QRect(x, std::min(top, bottom), 1, std::abs(bottom - top) + 1),
                              colour);
        }
    }
}

void ColumnTrace::drawPoints(QCPPainter* painter) {
    const QCPRange range = keyAxis()->range();
    const double first = series_.firstKey();
    const auto from = static_cast<std::size_t>(
        std::clamp(std::floor(range.lower - first) - 1.0, 0.0, double(series_.size())));
    const auto to = static_cast<std::size_t>(
        std::clamp(std::ceil(range.upper - first) + 2.0, 0.0, double(series_.size())));
    painter->setPen(mPen);
    QVector<QPointF> run;
    const auto flush = [&] {
        if (run.size() == 1)
            painter->drawPoint(run.first());
        else if (run.size() > 1)
            painter->drawPolyline(run.constData(), static_cast<int>(run.size()));
        run.clear();
    };
    for (std::size_t i = from; i < to; ++i) {
        const float v = series_.at(i);
        if (std::isnan(v)) {
            flush();
            continue;
        }
        run.append(coordsToPixels(first + static_cast<double>(i), v));
    }
    flush();
}

void ColumnTrace::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
    painter->setPen(mPen);
    painter->drawLine(QLineF(rect.left(), rect.center().y(), rect.right(), rect.center().y()));
}

ChartPlot::ChartPlot(QWidget* parent)
    : QCustomPlot(parent) {
    // Everything is painted here, so nothing beneath need be, and a scroll can move pixels.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool ChartPlot::fixed() const {
    const QCPRange range = xAxis->range();
    return columnWidth_ > 0 && range.lower == fixedRange_.lower && range.upper == fixedRange_.upper;
}

double ChartPlot::columnWidth() const {
    if (fixed())
        return columnWidth_;
    const int pixels = axisRect()->width();
    return pixels > 0 ? xAxis->range().size() / pixels : 1.0;
}

qint64 ChartPlot::firstColumn() const {
    if (fixed())
        return firstColumn_;
    return static_cast<qint64>(std::floor(xAxis->range().lower / columnWidth()));
}

void ChartPlot::fixColumns(double width, qint64 first) {
    columnWidth_ = width;
    firstColumn_ = first;
    fixedRange_ = xAxis->range();
}

bool ChartPlot::canScroll() const {
    return isVisible() && axisRect()->width() > 4 * kEdge &&
           !(selectionRect() && selectionRect()->isActive());
}

void ChartPlot::repaintAll() {
    updateLayout();
    update();
}

void ChartPlot::scrollColumns(int dx, int fromX, int toX) {
    const QRect area = axisRect()->rect();
    if (dx > 0) {
        const QRect moving(area.left() + kEdge, area.top(), area.width() - 2 * kEdge,
                           area.height());
        scroll(-dx, 0, moving);
        update(QRect(area.left(), area.top(), kEdge, area.height()));
        update(QRect(0, area.bottom() + 1, width(), height() - area.bottom() - 1));
        fromX = std::min(fromX, area.right() - kEdge - dx);
    }
    update(QRect(fromX, area.top(), toX - fromX + 1, area.height()));
}

void ChartPlot::paintEvent(QPaintEvent* event) {
    paintRects_.clear();
    for (const QRect& r : event->region())
        paintRects_.append(r);
    QCPPainter painter(this);
    if (!painter.isActive())
        return;
    painter.fillRect(rect(), mBackgroundBrush);
    draw(&painter);
    ++paints_;
}

} // namespace vemra
