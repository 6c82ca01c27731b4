#include "platform/chart/chartcursor.h"

#include "platform/chart/chartplot.h"
#include "platform/chart/readoutlabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <cmath>
#include <limits>

namespace vemra {

namespace {

// QCustomPlot's own line between a click and a drag, so that a click never zooms or pans and
// a zoom or a pan never places a marker.
constexpr int kClickSlop = 3;
constexpr int kReadoutMargin = 6;
const QColor kCursorColour(200, 200, 200);

} // namespace

// On the top layer: the cursor's and the markers' lines with the markers' tags, and in a
// picture for a file (painted with pmNoCaching) the readout too, which on screen paints itself.
class CursorOverlay : public QCPLayerable {
public:
    CursorOverlay(ChartCursor& cursor, ChartPlot* plot)
        : QCPLayerable(plot, QStringLiteral("overlay"))
        , cursor_(cursor) {
        setVisible(false);
    }

    // A marker's tag, beside its line at the bottom of the plot area, clear of the readout.
    QRect tag(int x, const QRect& area) const {
        const QFontMetrics metrics(mParentPlot->font());
        const QSize size(metrics.horizontalAdvance(u'M') + 4, metrics.height());
        return QRect(QPoint(x + 2, area.bottom() - size.height() - 1), size);
    }

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override {
        painter->setAntialiasing(false);
    }

    void draw(QCPPainter* painter) override {
        const ChartPlot& plot = *cursor_.plot_;
        const QRect area = plot.axisRect()->rect();
        painter->setFont(mParentPlot->font());
        for (const ReadoutPlace place : {kCursor, kMarkerA, kMarkerB}) {
            const std::optional<int> x = cursor_.pixelOf(place);
            if (!x)
                continue;
            if (place == kCursor) {
                for (int y = area.top(); y <= area.bottom(); y += 6)
                    painter->fillRect(QRect(*x, y, 1, std::min(3, area.bottom() - y + 1)),
                                      kCursorColour);
                continue;
            }
            painter->fillRect(QRect(*x, area.top(), 1, area.height()), markerColour(place));
            painter->setPen(markerColour(place));
            painter->drawText(tag(*x, area), Qt::AlignCenter, place == kMarkerA ? "A" : "B");
        }
        if (plot.paintingOnScreen()) {
            QRegion painted;
            for (const QRect& r : plot.paintRects())
                painted += r;
            cursor_.drawn_ = cursor_.drawn_.subtracted(painted) + (cursor_.marks() & painted);
        } else if (painter->modes().testFlag(QCPPainter::pmNoCaching)) {
            cursor_.readout_->render(painter, cursor_.readoutCorner(area));
        }
    }

private:
    ChartCursor& cursor_;
};

ChartCursor::ChartCursor(ChartPlot* plot, std::function<bool()> framePending)
    : plot_(plot)
    , framePending_(std::move(framePending))
    , overlay_(new CursorOverlay(*this, plot))
    , readout_(new ReadoutLabel(plot)) {
    readout_->setObjectName(QStringLiteral("readout"));
    readout_->setAccessibleDescription(tr("Cursor and markers"));
    readout_->hide();
    plot->setMouseTracking(true);
    plot->setFocusPolicy(Qt::StrongFocus);
    plot->installEventFilter(this);
}

ChartCursor::~ChartCursor() {
    delete overlay_;
    delete readout_;
}

const QLabel* ChartCursor::readout() const {
    return readout_;
}

void ChartCursor::setMsPerSample(double ms) {
    msPerSample_ = ms;
    if (active())
        changed();
}

bool ChartCursor::active() const {
    return followsMouse_ || waiting_ || places_[kCursor] || places_[kMarkerA] || places_[kMarkerB];
}

void ChartCursor::frame() {
    waiting_ = false;
    readoutWas_ = readout_->isVisible() ? readout_->geometry() : QRect();
    if (followsMouse_)
        places_[kCursor] = sampleAt(mouseX_);
    const bool shown = places_[kCursor] || places_[kMarkerA] || places_[kMarkerB];
    overlay_->setVisible(shown);
    if (shown)
        showReadout();
    else
        readout_->hide();
}

// Whatever the overlay left on screen moved with the data: where it went and where the
// overlay is now are painted again.
QRegion ChartCursor::repaintAfterScroll(int dx) {
    drawn_.translate(-dx, 0);
    const QRegion moved = drawn_ + readoutWas_.translated(-dx, 0);
    if (!overlay_->visible())
        drawn_ = QRegion();
    return moved + marks() + (readout_->isVisible() ? readout_->geometry() : QRect());
}

std::optional<qint64> ChartCursor::nearest(double x) const {
    double first = std::numeric_limits<double>::infinity();
    double last = -first;
    for (int i = 0; i < plot_->plottableCount(); ++i) {
        const TraceSeries& series = static_cast<ColumnTrace*>(plot_->plottable(i))->series();
        if (series.size() == 0)
            continue;
        first = std::min(first, series.firstKey());
        last = std::max(last, series.nextKey() - 1.0);
    }
    return nearestSample(x, first, last);
}

std::optional<qint64> ChartCursor::sampleAt(int x) const {
    return nearest(plot_->keyAtPixel(x));
}

std::optional<int> ChartCursor::pixelOf(ReadoutPlace place) const {
    if (!places_[place])
        return std::nullopt;
    const QRect area = plot_->axisRect()->rect();
    const int x = plot_->pixelOfKey(static_cast<double>(*places_[place]));
    return x > area.left() && x <= area.right() ? std::optional(x) : std::nullopt;
}

QRegion ChartCursor::marks() const {
    const QRect area = plot_->axisRect()->rect();
    QRegion region;
    for (const ReadoutPlace place : {kCursor, kMarkerA, kMarkerB}) {
        if (const std::optional<int> x = pixelOf(place)) {
            region += QRect(*x, area.top(), 1, area.height());
            if (place != kCursor)
                region += overlay_->tag(*x, area);
        }
    }
    return region;
}

// The top left corner, unless the cursor is beneath it: then the top right one.
QPoint ChartCursor::readoutCorner(const QRect& area) const {
    const QSize size = readout_->size();
    const int left = area.left() + kReadoutMargin;
    const std::optional<int> x = pixelOf(kCursor);
    if (x && *x <= left + size.width() + kReadoutMargin)
        return {area.right() + 1 - kReadoutMargin - size.width(), area.top() + kReadoutMargin};
    return {left, area.top() + kReadoutMargin};
}

void ChartCursor::showReadout() {
    ReadoutData data;
    data.samples = places_;
    data.msPerSample = msPerSample_;
    for (int i = 0; i < plot_->plottableCount(); ++i) {
        const auto* trace = static_cast<ColumnTrace*>(plot_->plottable(i));
        if (!trace->visible())
            continue;
        ReadoutTrace shown{trace->valueAxis()->label(), trace->pen().color(), {}};
        const TraceSeries& series = trace->series();
        for (const ReadoutPlace place : {kCursor, kMarkerA, kMarkerB}) {
            const double index = places_[place] ? double(*places_[place]) - series.firstKey() : -1;
            shown.values[place] = index >= 0 && index < double(series.size())
                                      ? series.at(static_cast<std::size_t>(index))
                                      : std::nan("");
        }
        data.traces << shown;
    }
    readout_->setTable(readoutTable(data));
    readout_->move(readoutCorner(plot_->axisRect()->rect()));
    readout_->show();
}

void ChartCursor::changed() {
    if (framePending_()) {
        waiting_ = true;
        return;
    }
    frame();
    plot_->repaint(drawn_ + marks());
    if (!overlay_->visible())
        drawn_ = QRegion();
}

void ChartCursor::follow(QPoint at) {
    if (!plot_->axisRect()->rect().contains(at)) {
        hideCursor();
        return;
    }
    followsMouse_ = true;
    mouseX_ = at.x();
    changed();
}

void ChartCursor::hideCursor() {
    if (!followsMouse_)
        return;
    followsMouse_ = false;
    places_[kCursor].reset();
    changed();
}

// A first click places A, a second B, and any further one moves the nearer of the two.
void ChartCursor::click(QPoint at) {
    if (!plot_->axisRect()->rect().contains(at))
        return;
    const std::optional<qint64> sample = sampleAt(at.x());
    if (!sample)
        return;
    auto& a = places_[kMarkerA];
    auto& b = places_[kMarkerB];
    (!a ? a : !b ? b : std::abs(*sample - *a) <= std::abs(*sample - *b) ? a : b) = sample;
    changed();
}

// From where the cursor is, or else from the middle of the view; the cursor then stays on its
// sample until the mouse moves over the plot again.
void ChartCursor::step(qint64 samples) {
    const QRect area = plot_->axisRect()->rect();
    const double from = places_[kCursor] ? static_cast<double>(*places_[kCursor])
                                         : plot_->keyAtPixel(area.center().x());
    const std::optional<qint64> sample = nearest(from + static_cast<double>(samples));
    if (!sample)
        return;
    followsMouse_ = false;
    places_[kCursor] = sample;
    changed();
}

void ChartCursor::place(ReadoutPlace marker) {
    if (!places_[kCursor])
        return;
    places_[marker] = places_[kCursor];
    changed();
}

bool ChartCursor::key(const QKeyEvent& event) {
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    const int left = plot_->axisRect()->rect().left();
    const qint64 column =
        std::max<qint64>(1, std::llround(plot_->keyAtPixel(left + 1) - plot_->keyAtPixel(left)));
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        step((event.key() == Qt::Key_Left ? -1 : 1) * (shift ? column : 1));
        return true;
    case Qt::Key_A:
    case Qt::Key_B:
        place(event.key() == Qt::Key_A ? kMarkerA : kMarkerB);
        return true;
    case Qt::Key_Escape:
        clearMarkers();
        emit viewRestoreAsked();
        return true;
    default:
        return false;
    }
}

void ChartCursor::clearMarkers() {
    places_[kMarkerA].reset();
    places_[kMarkerB].reset();
    if (overlay_->visible())
        changed();
}

bool ChartCursor::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return key(*static_cast<QKeyEvent*>(event));
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (mouse->buttons() == Qt::NoButton) {
            follow(at);
            break;
        }
        // A drag zooms or pans: the cursor waits for its end.
        pressMoved_ = pressMoved_ || (at - pressAt_).manhattanLength() > kClickSlop;
        hideCursor();
        break;
    }
    case QEvent::Leave:
        hideCursor();
        break;
    case QEvent::MouseButtonPress:
        pressAt_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        pressMoved_ = false;
        afterDoubleClick_ = false;
        break;
    case QEvent::MouseButtonDblClick:
        afterDoubleClick_ = true;
        clearMarkers();
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && !pressMoved_ && !afterDoubleClick_)
            click(at);
        // The plot zooms or pans as it takes this release: the cursor reads the view after it.
        QMetaObject::invokeMethod(
            this, [this, at] { follow(at); }, Qt::QueuedConnection);
        break;
    }
    case QEvent::Resize:
        if (active())
            QMetaObject::invokeMethod(this, &ChartCursor::changed, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return false;
}

} // namespace vemra
