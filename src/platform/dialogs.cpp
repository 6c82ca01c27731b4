#include "platform/dialogs.h"

#include <QMessageBox>

namespace vemra {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void WindowDialogs::message(const QString& title, const QString& text, MessageIcon icon,
                            const QString& detail) {
    auto* box = new QMessageBox(boxIcon(icon), title, text, QMessageBox::Ok, window_.data());
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!detail.isEmpty())
        box->setDetailedText(detail);
    // open(), not exec(): the handler that reports returns at once and no serial event is
    // processed inside it.
    box->open();
}

} // namespace vemra
