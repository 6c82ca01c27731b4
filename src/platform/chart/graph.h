#pragma once
// A chart of ordered traces and value axes addressed by position: 1 is the x axis, 2 the
// primary value axis (left), 3.. value axes added on the right. Appending points never
// repaints by itself: a refresh timer repaints at most 20 times a second, only when
// something changed.

#include "common/matrix.h"

#include <QColor>
#include <QVector>
#include <QWidget>
#include <memory>

class QCustomPlot;
class QCPAxis;
class QLabel;

namespace vemra {

class ChartCursor;
class ChartPlot;
class ColumnTrace;

enum class DragMode { Pan, ZoomRect, ZoomX };

// The drag that follows a mouse press on either graph, from the modifier bits held at the
// press (1 Shift, 2 Ctrl, 4 Alt): Shift alone pans, Ctrl alone zooms a rectangle, anything
// else zooms an x interval.
constexpr DragMode dragModeForShift(int shift) {
    return shift == 1 ? DragMode::Pan : shift == 2 ? DragMode::ZoomRect : DragMode::ZoomX;
}

// The colour a trace or tick label is drawn in on the chart's black background: the colour
// given, lightened toward white just enough to read (a contrast of 4.5:1), its hue kept. Pure
// blue becomes a light blue; red, green and white stay as they are.
QColor readableOnChart(const QColor& colour);

class Graph : public QWidget {
    Q_OBJECT
public:
    explicit Graph(QWidget* parent = nullptr);
    ~Graph() override;

    // Traces
    void clearTraces();
    int addTrace(); // index of the new trace, from 0
    int traceCount() const;
    // The colours given, as the logic knows them; they are drawn by readableOnChart.
    void setTraceColor(int trace, const QColor& colour);
    QColor traceColor(int trace) const;
    void bindTrace(int trace, int axisPosition);
    int traceAxis(int trace) const; // axis position, 0 when the trace does not exist
    // Row k of the first `rows` rows of `block` goes to trace k, one point per column of
    // the first `cols` columns, x advancing by 1 from the trace's last point.
    void chartAppend(const Matrix& block, int rows, int cols);
    void appendPoint(int trace, double y);
    // Element i at x = i; NaN elements are gaps.
    void plotY(int trace, const QVector<double>& values);
    void clearData();
    int pointCount(int trace) const;
    double pointX(int trace, int index) const;
    double pointY(int trace, int index) const;
    void setMaxPointsPerTrace(int points);

    // Axes
    int axisCount() const;
    int addValueAxis(); // position of the new axis
    void removeAddedValueAxes();
    void setAxisRange(int position, double minimum, double maximum);
    void setAxisMinimum(int position, double minimum);
    void setAxisMaximum(int position, double maximum);
    double axisMinimum(int position) const;
    double axisMaximum(int position) const;
    void setAxisCaption(int position, const QString& caption);
    QString axisCaption(int position) const;
    void setAxisTickColor(int position, const QColor& colour);
    QColor axisTickColor(int position) const;
    void setAxisOpposite(int position); // ticks and labels on the right side only
    bool axisOpposite(int position) const;
    void setAxisAutoScale(int position, bool on);
    bool axisAutoScale(int position) const;
    void autoScaleNow(int position);
    void setAxisExponentLabels(int position); // mantissa-e-exponent tick labels

    void setDragMode(DragMode mode);

    // Reading values off the chart (chartcursor.h): the time from one sample to the next, which
    // the readout tells the samples' time by, and the readout, whose accessible name is its text.
    void setMsPerSample(double ms);
    const QLabel* readout() const;

    // Number of repaints done so far (the refresh model's observable effect), and how many
    // of them only scrolled what was drawn and painted the new columns.
    int replotCount() const { return replots_; }
    int scrolledCount() const { return scrolled_; }
    // Repaints now when something changed since the last repaint.
    void refreshNow();
    QCustomPlot* plot() const;

signals:
    void doubleClicked();
    // shift: 1 Shift, 2 Ctrl, 4 Alt, added when held together.
    void mousePressed(int button, int shift, double x, double y);

private:
    QCPAxis* axisAt(int position) const;
    ColumnTrace* traceAt(int trace) const;
    void markDirty();
    void markStreamed();
    void scrollToNewest(double newestX);
    void onRefreshTick();
    bool scrollFrame();

    ChartPlot* plot_ = nullptr;
    std::unique_ptr<ChartCursor> cursor_; // gone before the plot it watches
    QVector<QCPAxis*> addedAxes_;
    DragMode dragMode_ = DragMode::ZoomX;
    bool dirty_ = false;    // something but new points and their scrolling changed
    bool streamed_ = false; // new points arrived since the last repaint
    bool scrolling_ = false;
    int replots_ = 0;
    int scrolled_ = 0;
    int maxPoints_ = 2'000'000;
    // What the last repaint drew, so the next can tell whether scrolling it is enough.
    struct Drawn {
        bool valid = false;
        QRect area;
        double columnWidth = 0;
        qint64 firstColumn = 0;
        qint64 newestColumn = 0;
    } drawn_;
};

} // namespace vemra
