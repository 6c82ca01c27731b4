#pragma once
// The drawing side of the chart. A trace draws one pixel column per column of x values, from
// the smallest to the largest value that falls in it (joined to the point before), so every
// sample shows in the picture however many share a column, and a column costs the same
// whether it holds one point or a thousand. The plot paints straight onto the window, and a
// chart that only scrolled moves what is already drawn and paints just the new columns, the
// edges and the x axis: a full-screen chart streaming at 20 frames a second costs a few per
// cent of a core instead of a fifth.

#include "platform/chart/traceseries.h"

#include <QVector>
#include <qcustomplot.h>

namespace vemra {

class ChartPlot;

class ColumnTrace : public QCPAbstractPlottable {
    Q_OBJECT
public:
    ColumnTrace(QCPAxis* keyAxis, QCPAxis* valueAxis);

    TraceSeries& series() { return series_; }
    const TraceSeries& series() const { return series_; }

    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

private:
    void drawColumns(QCPPainter* painter, const ChartPlot& plot);
    void drawPoints(QCPPainter* painter);

    TraceSeries series_;
};

class ChartPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit ChartPlot(QWidget* parent = nullptr);

    // x values per pixel column, and the column at the plot area's left edge (column c
    // holds x from c × width on). Derived from the x range, unless the one who set the
    // current range fixed them for the plot area's present width (a scroll by whole columns
    // must not move their boundaries; a resize, an added axis or an export at another size
    // must derive them anew).
    double columnWidth() const;
    qint64 firstColumn() const;
    void fixColumns(double width, qint64 first);
    // Whether the plot can take a scroll: shown, laid out, no drag rectangle on it.
    bool canScroll() const;
    // The pixel column x value `key` is drawn in, and the x value in the middle of pixel
    // column x: with many samples to a column, by the columns; with few, by the axis.
    int pixelOfKey(double key) const;
    double keyAtPixel(int x) const;

    // Paints everything again (layout included).
    void repaintAll();
    // What is drawn moves dx columns left, and only pixel columns fromX..toX are painted
    // (plus, when it moved, the area's edges and the x axis, and `alsoPaint`).
    void scrollColumns(int dx, int fromX, int toX, const QRegion& alsoPaint = {});

    // The rectangles being painted now: on the screen what the window asked for, anywhere
    // else (an export to a file) everything.
    QVector<QRect> paintRects() const;
    bool paintingOnScreen() const { return onScreen_; }
    int paintCount() const { return paints_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool fixed() const;

    double columnWidth_ = 0;
    qint64 firstColumn_ = 0;
    QCPRange fixedRange_;
    int fixedPixels_ = 0;
    QVector<QRect> paintRects_;
    bool onScreen_ = false; // in paintEvent
    QFont labelFont_;       // of the x axis's tick labels, with their height and half a width
    int labelHeight_ = 0;
    int halfLabel_ = 0;
    int paints_ = 0;
};

} // namespace vemra
