#pragma once
// Reading values off a chart: a data cursor that follows the mouse over the plot area on the
// nearest sample, two markers that clicks put on samples, and a readout in the plot's corner
// (readout.h). The lines and the markers' tags are drawn over the traces, in the picture an export
// makes too; the readout is a label of its own, which assistive technology reads. With the mouse
// away and no marker placed it does nothing, neither per block nor per frame.
//
// A streaming chart scrolls what is drawn, and the overlay with it. The markers belong where
// their samples go, but the cursor under a still mouse and the readout stand where they are:
// after a scroll, where their pixels went is painted again with the new columns. Between two
// frames of a stream the x window has already moved on from what the screen shows, so a
// change painted then would not match its surroundings once scrolled: changes wait for the
// frame then, and are painted at once otherwise.
//
// With the chart focused the keys do what the mouse does: Left and Right move the cursor a
// sample (with Shift a pixel column), `a` and `b` put a marker on it, Esc does what a double-click
// does.

#include "platform/chart/readout.h"

#include <QObject>
#include <QPoint>
#include <QRegion>
#include <functional>

class QKeyEvent;
class QLabel;

namespace vemra {

class ChartPlot;
class CursorOverlay;
class ReadoutLabel;

class ChartCursor : public QObject {
    Q_OBJECT
public:
    // framePending: a frame is on its way that will paint the plot anyway (points came or
    // something changed since the last one).
    ChartCursor(ChartPlot* plot, std::function<bool()> framePending);
    ~ChartCursor() override;

    void setMsPerSample(double ms);
    // The mouse is over the plot area, something is shown or waits to be: frames have work.
    bool active() const;
    // Before a frame is painted: the cursor under a still mouse takes the sample that moved
    // under it, and the readout the values.
    void frame();
    // After frame(), when the frame only scrolls what is drawn dx columns left.
    QRegion repaintAfterScroll(int dx);
    // The data were replaced: the markers' samples are gone with them.
    void clearMarkers();
    const QLabel* readout() const;

signals:
    // Esc: the markers are gone, and the view goes back as a double-click takes it back.
    void viewRestoreAsked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CursorOverlay;

    std::optional<qint64> sampleAt(int x) const;
    std::optional<qint64> nearest(double x) const;
    std::optional<int> pixelOf(ReadoutPlace place) const;
    QRegion marks() const;
    QPoint readoutCorner(const QRect& area) const;
    void follow(QPoint at);
    void hideCursor();
    void click(QPoint at);
    bool key(const QKeyEvent& event);
    void step(qint64 samples);
    void place(ReadoutPlace marker);
    void showReadout();
    void changed();

    ChartPlot* plot_;
    std::function<bool()> framePending_;
    CursorOverlay* overlay_;
    ReadoutLabel* readout_;
    double msPerSample_ = 0;
    std::array<std::optional<qint64>, 3> places_; // by ReadoutPlace
    bool followsMouse_ = false;
    int mouseX_ = 0;
    QPoint pressAt_;
    bool pressMoved_ = false;
    bool afterDoubleClick_ = false;
    bool waiting_ = false; // a change waits for the next frame
    QRegion drawn_;        // where the lines and tags are on screen
    QRect readoutWas_;     // where the readout stood before the frame
};

} // namespace vemra
