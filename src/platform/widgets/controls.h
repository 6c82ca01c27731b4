#pragma once
// Makers for a window's controls. Every control gets its object name, by which handlers,
// tests and the configuration find it; every caption reaches assistive technology, so a
// screen reader announces a control by the words the operator reads beside it.

#include <QFrame>
#include <QLabel>
#include <QLatin1String>
#include <QString>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace vemra {

class NumEdit;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(const QString& caption, const char* name);
QLineEdit* textBox(const QString& text, const char* name);
NumEdit* numEdit(double value, double minimum, double maximum, double step, const char* name);
// A framed panel, announced by its caption.
QGroupBox* frame(const QString& caption, const char* name);

// A caption beside an input: the caption is the input's buddy and accessible name.
QLabel* captionFor(const QString& caption, QWidget* input);

// A value display: assistive technology reads its current value as its name (a label's
// own text) and the caption beside it as its description.
template <typename L> L* valueLabel(const char* name, const QString& caption) {
    auto* label = named(new L, name);
    label->setAccessibleDescription(caption);
    // A fixed size: a new value repaints the label alone instead of laying out the panel
    // again, which matters when values change a thousand times a second.
    label->setFixedSize(120, label->sizeHint().height());
    label->setFrameShape(QFrame::StyledPanel);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace vemra
