#pragma once
// Message boxes. Shown window-modal without blocking, so that no serial event ever runs
// inside another handler; tests put a recorder in their place.

#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
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
    using Answered = std::function<void(int choice)>;

    virtual ~Dialogs() = default;
    virtual void message(const QString& title, const QString& text,
                         MessageIcon icon = MessageIcon::None, const QString& detail = {}) = 0;
    // Asks where and how large to export a chart; `chosen` runs only if the operator confirms.
    virtual void chooseChartExport(const ChartExportChoice& suggested, ExportChosen chosen) = 0;
    // A question beside the window, which stays usable meanwhile; `answered` gets the index of
    // the choice taken, and runs only once one is taken.
    virtual void ask(const QString& title, const QString& text, const QStringList& choices,
                     Answered answered) = 0;
};

class WindowDialogs : public Dialogs {
public:
    explicit WindowDialogs(QWidget* window)
        : window_(window) {}
    void message(const QString& title, const QString& text, MessageIcon icon,
                 const QString& detail) override;
    void chooseChartExport(const ChartExportChoice& suggested, ExportChosen chosen) override;
    void ask(const QString& title, const QString& text, const QStringList& choices,
             Answered answered) override;

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
    struct Asked {
        QString title;
        QString text;
        QStringList choices;
        Answered answered;
    };
    void ask(const QString& title, const QString& text, const QStringList& choices,
             Answered answered) override {
        asked.append({title, text, choices, std::move(answered)});
    }
    // Takes the choice of that caption in the question asked first and not yet answered.
    bool answer(const QString& choice) {
        if (asked.isEmpty())
            return false;
        const Asked question = asked.takeFirst();
        const qsizetype index = question.choices.indexOf(choice);
        if (index < 0)
            return false;
        question.answered(int(index));
        return true;
    }
    QList<Shown> shown;
    QList<ChartExportChoice> exportSuggested;
    std::optional<ChartExportChoice> exportAnswer; // none: the operator cancels
    QList<Asked> asked;
};

} // namespace vemra
