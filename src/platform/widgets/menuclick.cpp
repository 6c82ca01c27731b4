#include "platform/widgets/menuclick.h"

#include <QAction>

namespace vemra {

void onMenuClick(QAction* item, QObject* context, std::function<void()> handler) {
    QObject::connect(item, &QAction::triggered, context, [item, handler = std::move(handler)] {
        if (item->isCheckable())
            item->setChecked(!item->isChecked());
        handler();
    });
}

} // namespace vemra
