#include "platform/widgets/dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

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

void WindowDialogs::ask(const QString& title, const QString& text, const QStringList& choices,
                        Answered answered) {
    // A window of its own: a message box the window shows meanwhile blocks the window's own
    // children, and the question must stay answerable; it goes with the window all the same.
    auto* box = new QMessageBox(QMessageBox::Question, title, text, QMessageBox::NoButton);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_QuitOnClose, false);
    if (window_)
        QObject::connect(window_.data(), &QObject::destroyed, box, &QObject::deleteLater);
    for (int i = 0; i < choices.size(); ++i) {
        QPushButton* button = box->addButton(choices[i], QMessageBox::AcceptRole);
        QObject::connect(button, &QPushButton::clicked, box, [answered, i] { answered(i); });
    }
    box->show();
    // Below the window's centre, where the window's own messages do not cover it.
    if (window_) {
        const QRect frame = window_->frameGeometry();
        box->move(frame.center().x() - box->width() / 2, frame.center().y() + box->height());
    }
}

void WindowDialogs::chooseChartExport(const ChartExportChoice& suggested, ExportChosen chosen) {
    auto* dialog = new QDialog(window_.data());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Export Chart"));
    auto* form = new QFormLayout(dialog);

    auto* path = new QLineEdit(suggested.path);
    path->setMinimumWidth(360);
    auto* browse = new QPushButton(QStringLiteral("Browse…"));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path);
    pathRow->addWidget(browse);
    form->addRow(QStringLiteral("File (.png, .pdf or .svg)"), pathRow);
    const auto pixels = [](int value) {
        auto* box = new QSpinBox;
        box->setRange(100, 10000);
        box->setValue(value);
        box->setSuffix(QStringLiteral(" px"));
        return box;
    };
    auto* width = pixels(suggested.size.width());
    auto* height = pixels(suggested.size.height());
    form->addRow(QStringLiteral("Width"), width);
    form->addRow(QStringLiteral("Height"), height);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    form->addRow(buttons);

    QObject::connect(browse, &QPushButton::clicked, dialog, [dialog, path] {
        auto* files = new QFileDialog(dialog, QStringLiteral("Export Chart"), path->text(),
                                      QStringLiteral("PNG image (*.png);;PDF document (*.pdf);;"
                                                     "SVG drawing (*.svg)"));
        files->setAttribute(Qt::WA_DeleteOnClose);
        files->setAcceptMode(QFileDialog::AcceptSave);
        QObject::connect(files, &QFileDialog::fileSelected, path, &QLineEdit::setText);
        files->open();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [=] {
        dialog->accept();
        chosen({path->text(), QSize(width->value(), height->value())});
    });
    dialog->open();
}

} // namespace vemra
