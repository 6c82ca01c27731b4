#pragma once
// Message boxes. Shown window-modal without blocking, so that no serial event ever runs
// inside another handler; tests put a recorder in their place.

#include <QList>
#include <QPointer>
#include <QString>

class QWidget;

namespace vemra {

enum class MessageIcon { None, Critical, Warning, Information };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const QString& title, const QString& text,
                         MessageIcon icon = MessageIcon::None, const QString& detail = {}) = 0;
};

class WindowDialogs : public Dialogs {
public:
    explicit WindowDialogs(QWidget* window)
        : window_(window) {}
    void message(const QString& title, const QString& text, MessageIcon icon,
                 const QString& detail) override;

private:
    QPointer<QWidget> window_;
};

class RecordingDialogs : public Dialogs {
public:
    struct Shown {
        QString title;
        QString text;
        MessageIcon icon;
        QString detail;
    };
    void message(const QString& title, const QString& text, MessageIcon icon,
                 const QString& detail) override {
        shown.append({title, text, icon, detail});
    }
    QList<Shown> shown;
};

} // namespace vemra
