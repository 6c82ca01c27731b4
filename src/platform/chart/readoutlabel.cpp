#include "platform/chart/readoutlabel.h"

#include <QPainter>
#include <numeric>

namespace vemra {

namespace {

constexpr int kPadding = 4;
constexpr int kGap = 12;
const QColor kText(200, 200, 200);
const QColor kFrame(90, 90, 90);

} // namespace

ReadoutLabel::ReadoutLabel(QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // Opaque, so that a new text paints the label alone and nothing of the chart beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ReadoutLabel::setTable(const ReadoutTable& table) {
    const QString said = readoutSpeech(table);
    if (said == text())
        return;
    table_ = table;
    const QFontMetrics metrics(font());
    widths_.fill(0, table.columns.size() + 1);
    for (qsizetype column = 0; column < table.columns.size(); ++column)
        widths_[column + 1] = metrics.horizontalAdvance(table.columns[column]);
    for (const ReadoutTable::Row& row : table.rows) {
        widths_[0] = std::max(widths_[0], metrics.horizontalAdvance(row.caption));
        for (qsizetype column = 0; column < row.cells.size(); ++column)
            widths_[column + 1] =
                std::max(widths_[column + 1], metrics.horizontalAdvance(row.cells[column]));
    }
    setText(said);
    resize(sizeHint());
}

QSize ReadoutLabel::sizeHint() const {
    const auto gaps = static_cast<int>(std::max<qsizetype>(0, widths_.size() - 1));
    return {std::accumulate(widths_.begin(), widths_.end(), 0) + gaps * kGap + 2 * kPadding,
            static_cast<int>(table_.rows.size() + 1) * fontMetrics().height() + 2 * kPadding};
}

// The captions to the left, the numbers to the right of their columns; the header names the
// places, each marker in its colour, and each trace's row is in the trace's colour.
void ReadoutLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(kFrame);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int line = fontMetrics().height();
    const auto cell = [&](qsizetype column, qsizetype row, const QString& text, QColor colour) {
        int x = kPadding;
        for (qsizetype before = 0; before < column; ++before)
            x += widths_[before] + kGap;
        painter.setPen(colour.isValid() ? colour : kText);
        painter.drawText(QRect(x, kPadding + static_cast<int>(row) * line, widths_[column], line),
                         (column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, text);
    };
    for (qsizetype column = 0; column < table_.columns.size(); ++column)
        cell(column + 1, 0, table_.columns[column], table_.columnColours[column]);
    for (qsizetype row = 0; row < table_.rows.size(); ++row) {
        const ReadoutTable::Row& r = table_.rows[row];
        cell(0, row + 1, r.caption, r.colour);
        for (qsizetype column = 0; column < r.cells.size(); ++column)
            cell(column + 1, row + 1, r.cells[column], r.colour);
    }
}

} // namespace vemra
