#pragma once
// One tick, 20 times a second, for everything that shows streaming values. The live values
// take their newest text and the charts paint within the same tick, so a frame reaches the
// screen in one flush instead of one per label: at a thousand blocks a second that is what
// the live display costs. The tick runs only while something is waiting to be shown.

#include <QObject>
#include <QTimer>

namespace vemra {

class FrameTick : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 50;

    static FrameTick& instance();

    // Something has a change to show at the next tick.
    void want();

signals:
    // In this order at each tick: first the values (they only mark what changed), then the
    // charts (whose painting puts the whole frame on screen).
    void showValues();
    void showCharts();

private:
    FrameTick();
    void tick();

    QTimer timer_;
    bool wanted_ = false;
};

} // namespace vemra
