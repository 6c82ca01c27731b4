#include "platform/chart/frametick.h"

namespace vemra {

FrameTick& FrameTick::instance() {
    static FrameTick tick;
    return tick;
}

FrameTick::FrameTick() {
    timer_.setInterval(kIntervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &FrameTick::tick);
}

void FrameTick::want() {
    wanted_ = true;
    if (!timer_.isActive())
        timer_.start();
}

void FrameTick::tick() {
    wanted_ = false;
    emit showValues();
    emit showCharts();
    // Nothing asked again while the frame was shown: rest until something does.
    if (!wanted_)
        timer_.stop();
}

} // namespace vemra
