#include "platform/widgets/wheelguard.h"

#include <QEvent>
#include <QWidget>

namespace vemra {

namespace {

class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
            event->ignore(); // the scroll area around it scrolls instead
            return true;
        }
        return false;
    }
};

} // namespace

void ignoreWheelUnlessFocused(QWidget* widget) {
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->installEventFilter(new WheelGuard(widget));
}

} // namespace vemra
