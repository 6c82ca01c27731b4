#pragma once
// Message boxes. Shown window-modal without blocking, so that no serial event ever runs
// inside another handler; tests put a recorder in their place.

#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace vemra {

enum class MessageIcon { None, Critical, Warning, Information };

struct ChartExportChoice {
    QString path;
    QSize size;
};

class Dialogs {
public:
    using ExportChosen = std::function<void(const ChartExportChoice&)>;

    virtual ~Dialogs() = default;
    virtual void message(const QString& title, const QString& text,
                         MessageIcon icon = MessageIcon::None, const QString& detail = {}) = 0;
    // Asks where and how large to export a chart; `chosen` runs only if the operator confirms.
    virtual void chooseChartExport(const ChartExportChoice& suggested, ExportChosen chosen) = 0;
};

class WindowDialogs : public Dialogs {
public:
    explicit WindowDialogs(QWidget* window)
        : window_(window) {}
    void message(const QString& title, const QString& text, MessageIcon icon,
                 const QString& detail) override;
    void chooseChartExport(const ChartExportChoice& suggested, ExportChosen chosen) override;

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
    void chooseChartExport(const ChartExportChoice& suggested, ExportChosen chosen) override {
        exportSuggested.append(suggested);
        if (exportAnswer)
            chosen(*exportAnswer);
    }
    QList<Shown> shown;
    QList<ChartExportChoice> exportSuggested;
    std::optional<ChartExportChoice> exportAnswer; // none: the operator cancels
};

} // namespace vemra
