#pragma once
// A text display for values that may change a thousand times a second: the newest text is
// what text() returns at once, while the screen takes it at the next frame tick, at most 20
// times a second, together with the chart. Repainting and flushing a widget per value would
// otherwise cost a third of a core.

#include "platform/chart/frametick.h"

#include <QString>

namespace vemra {

template <typename Base> class LiveText : public Base {
public:
    template <typename... Args>
    explicit LiveText(Args&&... args)
        : Base(std::forward<Args>(args)...) {
        QObject::connect(&FrameTick::instance(), &FrameTick::showValues, this, [this] {
            if (pending_) {
                pending_ = false;
                Base::setText(latest_);
            }
        });
    }

    // Hides the base's setText/text: the window addresses these controls by this type.
    void setText(const QString& text) {
        latest_ = text;
        hasLatest_ = true;
        if (!pending_) {
            pending_ = true;
            FrameTick::instance().want();
        }
    }
    QString text() const { return hasLatest_ ? latest_ : Base::text(); }

private:
    QString latest_;
    bool hasLatest_ = false;
    bool pending_ = false;
};

} // namespace vemra
