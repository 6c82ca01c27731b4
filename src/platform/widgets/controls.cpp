#include "platform/widgets/controls.h"

#include "platform/widgets/numedit.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace vemra {

QPushButton* button(const QString& caption, const char* name) {
    return named(new QPushButton(caption), name);
}

QLineEdit* textBox(const QString& text, const char* name) {
    return named(new QLineEdit(text), name);
}

NumEdit* numEdit(double value, double minimum, double maximum, double step, const char* name) {
    auto* edit = named(new NumEdit, name);
    edit->setup(value, minimum, maximum, step);
    return edit;
}

QGroupBox* frame(const QString& caption, const char* name) {
    auto* box = named(new QGroupBox(caption), name);
    box->setAccessibleName(caption);
    return box;
}

QLabel* captionFor(const QString& caption, QWidget* input) {
    auto* label = new QLabel(caption);
    label->setBuddy(input);
    input->setAccessibleName(caption.trimmed());
    return label;
}

} // namespace vemra
