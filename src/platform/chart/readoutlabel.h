#pragma once
// The readout on screen: a label whose text is the readout as assistive technology reads it, a
// place at a time, painted as a table in the traces' colours. It lays its cells out by the
// font's metrics: while a run streams under the mouse the readout changes at every frame, and
// laid out as a rich text document it then cost more than the whole live display.

#include "platform/chart/readout.h"

#include <QLabel>

namespace vemra {

class ReadoutLabel : public QLabel {
public:
    explicit ReadoutLabel(QWidget* parent);

    void setTable(const ReadoutTable& table);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ReadoutTable table_;
    QVector<int> widths_; // of the captions, then of each column
};

} // namespace vemra
