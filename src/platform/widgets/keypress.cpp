#include "platform/widgets/keypress.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace vemra {

namespace {

constexpr int enterCode = 13;
constexpr int backspaceCode = 8;
constexpr int notHandled = -1;

// The code the handler sees for a key, or notHandled for keys that go straight to the box
// (cursor keys, Delete, shortcuts).
int keyCode(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return notHandled;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return enterCode;
    case Qt::Key_Backspace:
        return backspaceCode;
    default:
        break;
    }
    const QString text = event.text();
    if (text.size() != 1 || !text[0].isPrint())
        return notHandled;
    return text[0].unicode();
}

class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QLineEdit* box, KeyPressHandler handler)
        : QObject(box)
        , box_(box)
        , handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::KeyPress)
            return false;
        const int typed = keyCode(*static_cast<QKeyEvent*>(event));
        if (typed == notHandled)
            return false;
        int code = typed;
        handler_(code);
        if (code == typed)
            return false;
        // A replacement that is not a printable character only cancels the key.
        if (code > 0 && code <= 0xFFFF && QChar(code).isPrint())
            box_->insert(QString(QChar(code)));
        return true;
    }

private:
    QLineEdit* box_;
    KeyPressHandler handler_;
};

} // namespace

void onKeyPress(QLineEdit* box, KeyPressHandler handler) {
    box->installEventFilter(new KeyPressFilter(box, std::move(handler)));
}

} // namespace vemra
