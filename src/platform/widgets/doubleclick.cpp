#include "platform/widgets/doubleclick.h"

#include <QAbstractScrollArea>
#include <QEvent>

namespace vemra {

namespace {

class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent)
        , handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonDblClick)
            return false;
        handler_();
        return true;
    }

private:
    std::function<void()> handler_;
};

} // namespace

void onDoubleClick(QWidget* widget, std::function<void()> handler) {
    auto* area = qobject_cast<QAbstractScrollArea*>(widget);
    QWidget* target = area ? area->viewport() : widget;
    target->installEventFilter(new DoubleClickFilter(target, std::move(handler)));
}

} // namespace vemra
