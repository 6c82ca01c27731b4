#include "platform/widgets/twostatebutton.h"

namespace vemra {

TwoStateButton::TwoStateButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setCheckable(true);
    connect(this, &QAbstractButton::toggled, this, &TwoStateButton::valueChanged);
}

} // namespace vemra
