#include "platform/chart/chartplot.h"

#include <QPaintEvent>
#include <algorithm>
#include <cmath>

namespace vemra {

namespace {

// Columns at the right edge of the plot area that are painted rather than scrolled.
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
            // Off scale: a mark at the edge it is beyond.
            for (const auto& [over, edge] :
                 {std::pair(e.overHigh, area.top()), std::pair(e.overLow, area.bottom() - 2)})
                if (over)
                    painter->fillRect(QRect(x, edge, 1, 3), colour);
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
    const QCPRange shown = valueAxis()->range();
    for (std::size_t i = from; i < to; ++i) {
        double v = series_.at(i);
        if (std::isnan(v)) {
            flush();
            continue;
        }
        // Off scale: drawn at the edge it is beyond.
        if (std::abs(v) >= kOffScale)
            v = v > 0 ? shown.upper : shown.lower;
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
    return columnWidth_ > 0 && range.lower == fixedRange_.lower &&
           range.upper == fixedRange_.upper && axisRect()->width() == fixedPixels_;
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
    fixedPixels_ = axisRect()->width();
}

bool ChartPlot::canScroll() const {
    return isVisible() && axisRect()->width() > 4 * kEdge &&
           !(selectionRect() && selectionRect()->isActive());
}

int ChartPlot::pixelOfKey(double key) const {
    const double width = columnWidth();
    const double pixel = width < 1.0
                             ? std::round(xAxis->coordToPixel(key))
                             : axisRect()->left() + std::floor(key / width) - double(firstColumn());
    // Far outside the plot area it only matters that it is outside.
    return static_cast<int>(std::clamp(pixel, -1e6, 1e6));
}

double ChartPlot::keyAtPixel(int x) const {
    const double width = columnWidth();
    if (width < 1.0)
        return xAxis->pixelToCoord(x);
    return (static_cast<double>(firstColumn() + (x - axisRect()->left())) + 0.5) * width;
}

void ChartPlot::repaintAll() {
    updateLayout();
    update();
}

// The plot area scrolls but for its first column, where the value axis line stands (the
// value axes' ticks point outwards, so nothing else there stays put), and so does the band
// of the x axis's tick labels beneath it, margin included, as the labels travel with their
// ticks. What remains to paint is one rectangle: the newest columns, the area's right edge
// and the right margin, widened by half a tick label, since a label appears whole when its
// tick enters at the right.
void ChartPlot::scrollColumns(int dx, int fromX, int toX, const QRegion& alsoPaint) {
    const QRect area = axisRect()->rect();
    int bottom = area.bottom();
    QRegion paint;
    if (dx > 0) {
        const int keep = area.left() + 1;
        const int right = area.right() - kEdge;
        scroll(-dx, 0, QRect(QPoint(keep, area.top()), QPoint(right, area.bottom())));
        if (halfLabel_ == 0 || labelFont_ != xAxis->tickLabelFont()) {
            labelFont_ = xAxis->tickLabelFont();
            const QFontMetrics label(labelFont_);
            labelHeight_ = label.height();
            halfLabel_ = label.horizontalAdvance(QStringLiteral("-00000000")) / 2 + 1;
        }
        const int labels =
            xAxis->offset() + xAxis->tickLengthOut() + xAxis->tickLabelPadding() + labelHeight_ + 1;
        bottom = std::min(height() - 1, area.bottom() + labels);
        scroll(-dx, 0, QRect(QPoint(0, area.bottom() + 1), QPoint(right, bottom)));
        // Two columns more: a line exactly between two pixels may round either way.
        fromX = std::max(keep, std::min(fromX, right - dx + 1 - halfLabel_) - 2);
        toX = width() - 1;
        // Below the value axis the label of a tick that left the window must go.
        paint += QRect(QPoint(0, area.bottom() + 1), QPoint(keep + halfLabel_, bottom));
    }
    // Painted at once, in one go with whatever else of the window changed this frame: a
    // paint still pending at the next scroll would land where the pixels were, not where
    // they went.
    paint += QRect(QPoint(fromX, area.top()), QPoint(toX, bottom));
    repaint(paint + alsoPaint);
}

QVector<QRect> ChartPlot::paintRects() const {
    return onScreen_ ? paintRects_
                     : QVector<QRect>{QRect(QPoint(-100000, -100000), QPoint(100000, 100000))};
}

void ChartPlot::paintEvent(QPaintEvent* event) {
    paintRects_.clear();
    for (const QRect& r : event->region())
        paintRects_.append(r);
    QCPPainter painter(this);
    if (!painter.isActive())
        return;
    painter.fillRect(rect(), mBackgroundBrush);
    onScreen_ = true;
    draw(&painter);
    onScreen_ = false;
    ++paints_;
}

} // namespace vemra
