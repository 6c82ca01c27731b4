#include "platform/graph.h"

#include "platform/graph_ticker.h"

#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <limits>

namespace vemra {

namespace {

constexpr int kRefreshIntervalMs = 50; // at most 20 repaints a second: smooth to the eye

// The chart is dark, as bench instruments are: the channels' pure green, red and blue and
// the merged meter trace's white stand out on black.
const QColor kBackground(0, 0, 0);
const QColor kForeground(200, 200, 200);

void styleAxis(QCPAxis* axis) {
    const QPen pen(kForeground);
    axis->setBasePen(pen);
    axis->setTickPen(pen);
    axis->setSubTickPen(pen);
    axis->setLabelColor(kForeground);
    axis->setTickLabelColor(kForeground);
    axis->grid()->setPen(QPen(QColor(55, 55, 55), 0, Qt::SolidLine));
    axis->grid()->setZeroLinePen(Qt::NoPen);
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

double nextKey(const QCPGraph* trace) {
    const auto& data = *trace->data();
    return data.isEmpty() ? 0.0 : (data.constEnd() - 1)->key + 1.0;
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

Graph::Graph(QWidget* parent)
    : QWidget(parent) {
    plot_ = new QCustomPlot(this);
    refresh_ = new QTimer(this);

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

    refresh_->setInterval(kRefreshIntervalMs);
    connect(refresh_, &QTimer::timeout, this, &Graph::onRefreshTick);

    // QCustomPlot emits mousePress before it starts a drag or a selection rectangle, so a
    // slot connected to mousePressed can still choose the drag mode for this press.
    connect(plot_, &QCustomPlot::mousePress, this, [this](QMouseEvent* event) {
        const QPointF at = event->position();
        emit mousePressed(static_cast<int>(event->button()), shiftBits(event->modifiers()),
                          plot_->xAxis->pixelToCoord(at.x()), plot_->yAxis->pixelToCoord(at.y()));
    });
    connect(plot_, &QCustomPlot::mouseDoubleClick, this, [this] { emit doubleClicked(); });

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

QCPGraph* Graph::traceAt(int trace) const {
    return trace >= 0 && trace < plot_->graphCount() ? plot_->graph(trace) : nullptr;
}

void Graph::markDirty() {
    dirty_ = true;
    if (!refresh_->isActive())
        refresh_->start();
}

// A hidden chart keeps the timer running while dirty, so it catches up once shown.
void Graph::onRefreshTick() {
    if (!dirty_) {
        refresh_->stop();
        return;
    }
    if (isVisible())
        refreshNow();
}

void Graph::refreshNow() {
    if (!dirty_)
        return;
    for (int position = 1; position <= axisCount(); ++position) {
        if (axisAutoScale(position))
            autoScaleNow(position);
    }
    plot_->replot();
    ++replots_;
    dirty_ = false;
}

// Traces

void Graph::clearTraces() {
    plot_->clearGraphs();
    markDirty();
}

int Graph::addTrace() {
    plot_->addGraph(plot_->xAxis, plot_->yAxis);
    markDirty();
    return plot_->graphCount() - 1;
}

int Graph::traceCount() const {
    return plot_->graphCount();
}

void Graph::setTraceColor(int trace, const QColor& colour) {
    if (QCPGraph* graph = traceAt(trace)) {
        graph->setPen(QPen(colour));
        markDirty();
    }
}

QColor Graph::traceColor(int trace) const {
    const QCPGraph* graph = traceAt(trace);
    return graph ? graph->pen().color() : QColor();
}

void Graph::bindTrace(int trace, int axisPosition) {
    QCPGraph* graph = traceAt(trace);
    QCPAxis* axis = axisPosition >= 2 ? axisAt(axisPosition) : nullptr;
    if (graph && axis) {
        graph->setValueAxis(axis);
        markDirty();
    }
}

int Graph::traceAxis(int trace) const {
    const QCPGraph* graph = traceAt(trace);
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
    QVector<QCPGraphData> buffer(points);
    double newest = -std::numeric_limits<double>::infinity();
    for (int k = 0; k < traces; ++k) {
        QCPGraph* graph = plot_->graph(k);
        const double first = nextKey(graph);
        const double* values = block.row(k);
        for (int i = 0; i < points; ++i)
            buffer[i] = QCPGraphData(first + i, values[i]);
        graph->data()->add(buffer, true);
        trim(graph);
        newest = std::max(newest, first + points - 1);
    }
    scrollToNewest(newest);
    markDirty();
}

void Graph::appendPoint(int trace, double y) {
    QCPGraph* graph = traceAt(trace);
    if (!graph)
        return;
    const double x = nextKey(graph);
    graph->data()->add(QCPGraphData(x, y));
    trim(graph);
    scrollToNewest(x);
    markDirty();
}

// Replacing the data is a new picture, not a stream: the x window stays where it is.
void Graph::plotY(int trace, const QVector<double>& values) {
    QCPGraph* graph = traceAt(trace);
    if (!graph)
        return;
    QVector<QCPGraphData> points(values.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        points[i] = QCPGraphData(static_cast<double>(i), values[i]);
    graph->data()->set(points, true);
    trim(graph);
    markDirty();
}

void Graph::clearData() {
    for (int i = 0; i < plot_->graphCount(); ++i)
        plot_->graph(i)->data()->clear();
    markDirty();
}

int Graph::pointCount(int trace) const {
    const QCPGraph* graph = traceAt(trace);
    return graph ? graph->data()->size() : 0;
}

double Graph::pointX(int trace, int index) const {
    const QCPGraph* graph = traceAt(trace);
    if (!graph || index < 0 || index >= graph->data()->size())
        return 0.0;
    return graph->data()->at(index)->key;
}

double Graph::pointY(int trace, int index) const {
    const QCPGraph* graph = traceAt(trace);
    if (!graph || index < 0 || index >= graph->data()->size())
        return 0.0;
    return graph->data()->at(index)->value;
}

void Graph::setMaxPointsPerTrace(int points) {
    maxPoints_ = std::max(1, points);
    for (int i = 0; i < plot_->graphCount(); ++i)
        trim(plot_->graph(i));
    markDirty();
}

void Graph::trim(QCPGraph* trace) {
    auto& data = *trace->data();
    const int excess = data.size() - maxPoints_;
    if (excess > 0)
        data.removeBefore(data.at(excess)->key);
}

void Graph::scrollToNewest(double newestX) {
    const QCPRange range = plot_->xAxis->range();
    if (newestX > range.upper)
        plot_->xAxis->setRange(newestX - range.size(), newestX);
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
    for (int i = 0; i < plot_->graphCount(); ++i) {
        QCPGraph* graph = plot_->graph(i);
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
        axis->setTickLabelColor(colour);
        syncTwins(plot_);
        markDirty();
    }
}

QColor Graph::axisTickColor(int position) const {
    const QCPAxis* axis = axisAt(position);
    return axis ? axis->tickLabelColor() : QColor();
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
