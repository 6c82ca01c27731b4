#include "platform/chart/graph.h"

#include "platform/chart/chartcursor.h"
#include "platform/chart/chartplot.h"
#include "platform/chart/frametick.h"
#include "platform/chart/graph_ticker.h"

#include <QMouseEvent>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vemra {

namespace {

// The chart is dark, as bench instruments are: the channels' pure green, red and blue and
// the merged meter trace's white stand out on black.
const QColor kBackground(0, 0, 0);
const QColor kForeground(200, 200, 200);
const char* const kGivenColourProperty = "vemraGivenColour";

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

QColor towardWhite(const QColor& c, double t) {
    const auto mix = [t](double channel) { return channel + (1.0 - channel) * t; };
    return QColor::fromRgbF(float(mix(c.redF())), float(mix(c.greenF())), float(mix(c.blueF())));
}

void styleAxis(QCPAxis* axis) {
    const QPen pen(kForeground);
    axis->setBasePen(pen);
    axis->setTickPen(pen);
    axis->setSubTickPen(pen);
    axis->setLabelColor(kForeground);
    axis->setTickLabelColor(kForeground);
    axis->grid()->setPen(QPen(QColor(55, 55, 55), 0, Qt::SolidLine));
    axis->grid()->setZeroLinePen(Qt::NoPen);
    // Value axes' ticks point out of the plot area, so that scrolling the area moves nothing
    // that should stand still.
    if (axis->orientation() == Qt::Vertical) {
        axis->setTickLength(0, 5);
        axis->setSubTickLength(0, 3);
    }
}

// Kept on the axis itself so that it disappears with an added axis when that is removed.
const char* const kAutoScaleProperty = "vemraAutoScale";

// A QCPAxis cannot change side, and traces must stay bound to the axis the logic
// addresses. So the opposite side of positions 1 and 2 is drawn by the axis rect's twin
// (xAxis2 / yAxis2), which follows the addressed axis while that one is hidden: a hidden
// axis still maps its traces' coordinates.
QCPAxis* twinOf(const QCustomPlot* plot, const QCPAxis* axis) {
    if (axis == plot->xAxis)
        return plot->xAxis2;
    if (axis == plot->yAxis)
        return plot->yAxis2;
    return nullptr;
}

void syncTwins(const QCustomPlot* plot) {
    for (QCPAxis* axis : {plot->xAxis, plot->yAxis}) {
        QCPAxis* twin = twinOf(plot, axis);
        if (!twin->visible())
            continue;
        twin->setLabel(axis->label());
        twin->setTickLabelColor(axis->tickLabelColor());
        twin->setTicker(axis->ticker());
        twin->setNumberFormat(axis->numberFormat());
        twin->setRange(axis->range());
        twin->grid()->setVisible(axis->grid()->visible());
    }
}

int shiftBits(Qt::KeyboardModifiers modifiers) {
    int bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= 1;
    if (modifiers & Qt::ControlModifier)
        bits |= 2;
    if (modifiers & Qt::AltModifier)
        bits |= 4;
    return bits;
}

} // namespace

QColor readableOnChart(const QColor& colour) {
    constexpr double kContrast = 4.5;
    const auto readable = [&](const QColor& c) {
        return (luminance(c) + 0.05) / (luminance(kBackground) + 0.05) >= kContrast;
    };
    if (!colour.isValid() || readable(colour))
        return colour;
    double low = 0, high = 1; // the least lightening that reads
    for (int step = 0; step < 20; ++step) {
        const double middle = (low + high) / 2;
        (readable(towardWhite(colour, middle)) ? high : low) = middle;
    }
    return towardWhite(colour, high).toRgb();
}

Graph::Graph(QWidget* parent)
    : QWidget(parent) {
    plot_ = new ChartPlot(this);
    cursor_ = std::make_unique<ChartCursor>(plot_, [this] { return dirty_ || streamed_; });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(plot_);

    QLocale numbers(QLocale::Italian);
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    plot_->setLocale(numbers);
    plot_->setNotAntialiasedElements(QCP::aeAll);
    plot_->setPlottingHint(QCP::phFastPolylines, true);
    plot_->xAxis2->setVisible(false);
    plot_->yAxis2->setVisible(false);
    plot_->setBackground(kBackground);
    for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis, plot_->xAxis2, plot_->yAxis2})
        styleAxis(axis);
    const auto rangeChanged = qOverload<const QCPRange&>(&QCPAxis::rangeChanged);
    const auto setRange = qOverload<const QCPRange&>(&QCPAxis::setRange);
    connect(plot_->xAxis, rangeChanged, plot_->xAxis2, setRange);
    connect(plot_->yAxis, rangeChanged, plot_->yAxis2, setRange);
    // A zoom or a pan moved the x window: what is drawn can no longer be scrolled.
    connect(plot_->xAxis, rangeChanged, this, [this] {
        if (!scrolling_)
            drawn_.valid = false;
    });

    connect(&FrameTick::instance(), &FrameTick::showCharts, this, &Graph::onRefreshTick);

    // QCustomPlot emits mousePress before it starts a drag or a selection rectangle, so a
    // slot connected to mousePressed can still choose the drag mode for this press.
    connect(plot_, &QCustomPlot::mousePress, this, [this](QMouseEvent* event) {
        const QPointF at = event->position();
        emit mousePressed(static_cast<int>(event->button()), shiftBits(event->modifiers()),
                          plot_->xAxis->pixelToCoord(at.x()), plot_->yAxis->pixelToCoord(at.y()));
    });
    connect(plot_, &QCustomPlot::mouseDoubleClick, this, [this] { emit doubleClicked(); });
    connect(cursor_.get(), &ChartCursor::viewRestoreAsked, this, &Graph::doubleClicked);

    setDragMode(dragMode_);
}

Graph::~Graph() = default;

QCPAxis* Graph::axisAt(int position) const {
    if (position == 1)
        return plot_->xAxis;
    if (position == 2)
        return plot_->yAxis;
    const int added = position - 3;
    return added >= 0 && added < addedAxes_.size() ? addedAxes_[added] : nullptr;
}

QCustomPlot* Graph::plot() const {
    return plot_;
}

ColumnTrace* Graph::traceAt(int trace) const {
    return trace >= 0 && trace < plot_->plottableCount()
               ? static_cast<ColumnTrace*>(plot_->plottable(trace))
               : nullptr;
}

void Graph::markDirty() {
    dirty_ = true;
    FrameTick::instance().want();
}

void Graph::markStreamed() {
    streamed_ = true;
    FrameTick::instance().want();
}

// A hidden chart keeps asking for ticks while it has changes, so it catches up once shown.
void Graph::onRefreshTick() {
    if (!dirty_ && !streamed_)
        return;
    if (isVisible())
        refreshNow();
    else
        FrameTick::instance().want();
}

void Graph::refreshNow() {
    if (!dirty_ && !streamed_)
        return;
    for (int position = 1; position <= axisCount(); ++position) {
        if (axisAutoScale(position)) {
            autoScaleNow(position);
            dirty_ = true;
        }
    }
    if (dirty_ || !scrollFrame()) {
        plot_->repaintAll();
        // After the layout: the readout keeps to the corner of the plot area as it is now.
        if (cursor_->active())
            cursor_->frame();
        ++replots_;
    }
    dirty_ = false;
    streamed_ = false;
    drawn_.valid = true;
    drawn_.area = plot_->axisRect()->rect();
    drawn_.columnWidth = plot_->columnWidth();
    drawn_.firstColumn = plot_->firstColumn();
    double newest = -1.0;
    for (int i = 0; i < traceCount(); ++i)
        newest = std::max(newest, traceAt(i)->series().nextKey() - 1.0);
    drawn_.newestColumn = newest < 0 ? drawn_.firstColumn
                                     : static_cast<qint64>(std::floor(newest / drawn_.columnWidth));
}

// Only points were added (and the x window followed them) since the last repaint: what is
// drawn moves left by whole columns and only the columns from the last drawn newest one on
// are painted. Anything else (a resize, a zoom, an axis change) repaints everything.
bool Graph::scrollFrame() {
    if (!drawn_.valid || !plot_->canScroll() || drawn_.area != plot_->axisRect()->rect() ||
        drawn_.columnWidth != plot_->columnWidth())
        return false;
    const QRect area = drawn_.area;
    const qint64 dx = plot_->firstColumn() - drawn_.firstColumn;
    if (dx < 0 || dx > area.width() / 2)
        return false;
    double newest = -1.0;
    for (int i = 0; i < traceCount(); ++i)
        newest = std::max(newest, traceAt(i)->series().nextKey() - 1.0);
    const qint64 newestColumn = static_cast<qint64>(std::floor(newest / drawn_.columnWidth));
    const auto pixel = [&](qint64 column) {
        return static_cast<int>(std::clamp<qint64>(area.left() + column - plot_->firstColumn(),
                                                   area.left(), area.right()));
    };
    QRegion overlay;
    if (cursor_->active()) {
        cursor_->frame();
        overlay = cursor_->repaintAfterScroll(static_cast<int>(dx));
    }
    plot_->scrollColumns(static_cast<int>(dx), pixel(drawn_.newestColumn),
                         dx > 0 ? area.right() : pixel(newestColumn), overlay);
    ++replots_;
    ++scrolled_;
    return true;
}

// Traces

void Graph::clearTraces() {
    plot_->clearPlottables();
    markDirty();
    cursor_->clearMarkers();
}

int Graph::addTrace() {
    auto* trace = new ColumnTrace(plot_->xAxis, plot_->yAxis);
    trace->series().setCapacity(static_cast<std::size_t>(maxPoints_));
    markDirty();
    return plot_->plottableCount() - 1;
}

int Graph::traceCount() const {
    return plot_->plottableCount();
}

void Graph::setTraceColor(int trace, const QColor& colour) {
    if (ColumnTrace* graph = traceAt(trace)) {
        graph->setProperty(kGivenColourProperty, colour);
        graph->setPen(QPen(readableOnChart(colour)));
        markDirty();
    }
}

QColor Graph::traceColor(int trace) const {
    const ColumnTrace* graph = traceAt(trace);
    return graph ? graph->property(kGivenColourProperty).value<QColor>() : QColor();
}

void Graph::bindTrace(int trace, int axisPosition) {
    ColumnTrace* graph = traceAt(trace);
    QCPAxis* axis = axisPosition >= 2 ? axisAt(axisPosition) : nullptr;
    if (graph && axis) {
        graph->setValueAxis(axis);
        markDirty();
    }
}

int Graph::traceAxis(int trace) const {
    const ColumnTrace* graph = traceAt(trace);
    if (!graph)
        return 0;
    if (graph->valueAxis() == plot_->yAxis)
        return 2;
    const int added = static_cast<int>(addedAxes_.indexOf(graph->valueAxis()));
    return added >= 0 ? added + 3 : 0;
}

void Graph::chartAppend(const Matrix& block, int rows, int cols) {
    const int traces = std::min({rows, block.rows(), traceCount()});
    const int points = std::min(cols, block.cols());
    if (traces <= 0 || points <= 0)
        return;
    double newest = -std::numeric_limits<double>::infinity();
    for (int k = 0; k < traces; ++k) {
        TraceSeries& series = traceAt(k)->series();
        const double* values = block.row(k);
        for (int i = 0; i < points; ++i)
            series.append(values[i]);
        newest = std::max(newest, series.nextKey() - 1.0);
    }
    scrollToNewest(newest);
    markStreamed();
}

void Graph::appendPoint(int trace, double y) {
    ColumnTrace* graph = traceAt(trace);
    if (!graph)
        return;
    graph->series().append(y);
    scrollToNewest(graph->series().nextKey() - 1.0);
    markStreamed();
}

// Replacing the data is a new picture, not a stream: the x window stays where it is.
void Graph::plotY(int trace, const QVector<double>& values) {
    if (ColumnTrace* graph = traceAt(trace)) {
        graph->series().assign(values);
        markDirty();
    }
}

void Graph::clearData() {
    for (int i = 0; i < traceCount(); ++i)
        traceAt(i)->series().clear();
    markDirty();
    cursor_->clearMarkers();
}

int Graph::pointCount(int trace) const {
    const ColumnTrace* graph = traceAt(trace);
    return graph ? static_cast<int>(graph->series().size()) : 0;
}

double Graph::pointX(int trace, int index) const {
    const ColumnTrace* graph = traceAt(trace);
    if (!graph || index < 0 || index >= pointCount(trace))
        return 0.0;
    return graph->series().firstKey() + index;
}

double Graph::pointY(int trace, int index) const {
    const ColumnTrace* graph = traceAt(trace);
    if (!graph || index < 0 || index >= pointCount(trace))
        return 0.0;
    return graph->series().at(static_cast<std::size_t>(index));
}

void Graph::setMaxPointsPerTrace(int points) {
    maxPoints_ = std::max(1, points);
    for (int i = 0; i < traceCount(); ++i)
        traceAt(i)->series().setCapacity(static_cast<std::size_t>(maxPoints_));
    markDirty();
}

// The x window keeps its width and moves by whole pixel columns, so that a repaint can move
// what is drawn instead of drawing it again; the newest point stays in the last column.
void Graph::scrollToNewest(double newestX) {
    const QCPRange range = plot_->xAxis->range();
    if (newestX <= range.upper)
        return;
    const int pixels = plot_->axisRect()->width();
    if (pixels <= 0) {
        plot_->xAxis->setRange(newestX - range.size(), newestX);
        return;
    }
    double width = plot_->columnWidth();
    if (std::abs(width * pixels - range.size()) > 1e-9 * range.size())
        width = range.size() / pixels;
    const qint64 first = static_cast<qint64>(std::floor(newestX / width)) - (pixels - 1);
    // Round tick values would otherwise often fall exactly between two pixels, where a line
    // drawn in one frame and the same line drawn in the next may round to different sides.
    constexpr double kOffPixelCentre = 0.1234567;
    const double lower = (static_cast<double>(first) - kOffPixelCentre) * width;
    scrolling_ = true;
    plot_->xAxis->setRange(lower, lower + width * pixels);
    scrolling_ = false;
    plot_->fixColumns(width, first);
}

// Axes

int Graph::axisCount() const {
    return 2 + static_cast<int>(addedAxes_.size());
}

int Graph::addValueAxis() {
    QCPAxis* axis = plot_->axisRect()->addAxis(QCPAxis::atRight);
    styleAxis(axis);
    axis->grid()->setVisible(false);
    addedAxes_.append(axis);
    setDragMode(dragMode_);
    markDirty();
    return axisCount();
}

// Traces still bound to an added axis move to the primary one: a trace left on a deleted
// axis would silently stop drawing.
void Graph::removeAddedValueAxes() {
    if (addedAxes_.isEmpty())
        return;
    for (int i = 0; i < traceCount(); ++i) {
        ColumnTrace* graph = traceAt(i);
        if (addedAxes_.contains(graph->valueAxis()))
            graph->setValueAxis(plot_->yAxis);
    }
    for (QCPAxis* axis : std::as_const(addedAxes_))
        plot_->axisRect()->removeAxis(axis);
    addedAxes_.clear();
    setDragMode(dragMode_);
    markDirty();
}

void Graph::setAxisRange(int position, double minimum, double maximum) {
    if (QCPAxis* axis = axisAt(position)) {
        axis->setRange(minimum, maximum);
        markDirty();
    }
}

void Graph::setAxisMinimum(int position, double minimum) {
    if (QCPAxis* axis = axisAt(position)) {
        axis->setRangeLower(minimum);
        markDirty();
    }
}

void Graph::setAxisMaximum(int position, double maximum) {
    if (QCPAxis* axis = axisAt(position)) {
        axis->setRangeUpper(maximum);
        markDirty();
    }
}

double Graph::axisMinimum(int position) const {
    const QCPAxis* axis = axisAt(position);
    return axis ? axis->range().lower : 0.0;
}

double Graph::axisMaximum(int position) const {
    const QCPAxis* axis = axisAt(position);
    return axis ? axis->range().upper : 0.0;
}

void Graph::setAxisCaption(int position, const QString& caption) {
    if (QCPAxis* axis = axisAt(position)) {
        axis->setLabel(caption);
        syncTwins(plot_);
        markDirty();
    }
}

QString Graph::axisCaption(int position) const {
    const QCPAxis* axis = axisAt(position);
    return axis ? axis->label() : QString();
}

void Graph::setAxisTickColor(int position, const QColor& colour) {
    if (QCPAxis* axis = axisAt(position)) {
        axis->setProperty(kGivenColourProperty, colour);
        axis->setTickLabelColor(readableOnChart(colour));
        syncTwins(plot_);
        markDirty();
    }
}

QColor Graph::axisTickColor(int position) const {
    const QCPAxis* axis = axisAt(position);
    if (!axis)
        return {};
    const QVariant given = axis->property(kGivenColourProperty);
    return given.isValid() ? given.value<QColor>() : axis->tickLabelColor();
}

void Graph::setAxisOpposite(int position) {
    QCPAxis* axis = axisAt(position);
    QCPAxis* twin = axis ? twinOf(plot_, axis) : nullptr;
    if (!twin)
        return;
    axis->setVisible(false);
    twin->setVisible(true);
    syncTwins(plot_);
    markDirty();
}

bool Graph::axisOpposite(int position) const {
    const QCPAxis* axis = axisAt(position);
    if (!axis)
        return false;
    const QCPAxis* twin = twinOf(plot_, axis);
    return twin ? twin->visible() : true;
}

void Graph::setAxisAutoScale(int position, bool on) {
    if (QCPAxis* axis = axisAt(position)) {
        axis->setProperty(kAutoScaleProperty, on);
        markDirty();
    }
}

bool Graph::axisAutoScale(int position) const {
    const QCPAxis* axis = axisAt(position);
    return axis && axis->property(kAutoScaleProperty).toBool();
}

void Graph::autoScaleNow(int position) {
    if (QCPAxis* axis = axisAt(position)) {
        axis->rescale();
        markDirty();
    }
}

void Graph::setAxisExponentLabels(int position) {
    if (QCPAxis* axis = axisAt(position)) {
        axis->setTicker(QSharedPointer<ExponentTicker>::create());
        // Without 'b' (beautiful powers): that draws any label with an 'e' as a power of ten.
        axis->setNumberFormat(QStringLiteral("g"));
        syncTwins(plot_);
        markDirty();
    }
}

void Graph::setMsPerSample(double ms) {
    cursor_->setMsPerSample(ms);
}

const QLabel* Graph::readout() const {
    return cursor_->readout();
}

void Graph::setDragMode(DragMode mode) {
    dragMode_ = mode;
    const QList<QCPAxis*> keys{plot_->xAxis};
    QList<QCPAxis*> values{plot_->yAxis};
    values += addedAxes_;
    QCPAxisRect* rect = plot_->axisRect();
    const bool pan = mode == DragMode::Pan;
    plot_->setInteraction(QCP::iRangeDrag, pan);
    plot_->setSelectionRectMode(pan ? QCP::srmNone : QCP::srmZoom);
    rect->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    rect->setRangeDragAxes(keys, values);
    rect->setRangeZoomAxes(keys, mode == DragMode::ZoomRect ? values : QList<QCPAxis*>());
}

} // namespace vemra
