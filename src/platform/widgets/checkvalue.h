#pragma once
// Check boxes hold 0 (unchecked), 1 (checked) or 2 (grey); Qt numbers the grey state 1.

#include <QCheckBox>

namespace vemra {

inline int checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

inline void setCheckValue(QCheckBox* box, int value) {
    if (value == 2)
        box->setTristate(true);
    box->setCheckState(value == 1 ? Qt::Checked
                                  : (value == 2 ? Qt::PartiallyChecked : Qt::Unchecked));
}

} // namespace vemra
