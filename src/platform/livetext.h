#pragma once
// A text display for values that may change a thousand times a second: the newest text is
// what text() returns at once, while the screen shows it at most about 20 times a second.
// Repainting and flushing a widget per value would otherwise cost a third of a core.

#include <QString>
#include <QTimer>

namespace vemra {

template <typename Base> class LiveText : public Base {
public:
    using Base::Base;

    // Hides the base's setText/text: the window addresses these controls by this type.
    void setText(const QString& text) {
        latest_ = text;
        hasLatest_ = true;
        if (cooling_) {
            pending_ = true;
            return;
        }
        Base::setText(text);
        cooling_ = true;
        QTimer::singleShot(kShowIntervalMs, this, [this] {
            cooling_ = false;
            if (pending_) {
                pending_ = false;
                setText(latest_);
            }
        });
    }
    QString text() const { return hasLatest_ ? latest_ : Base::text(); }

private:
    static constexpr int kShowIntervalMs = 50;
    QString latest_;
    bool hasLatest_ = false;
    bool cooling_ = false;
    bool pending_ = false;
};

} // namespace vemra
