#include "ui/results_cell_painter.h"

#include "run/frequency_row.h"
#include "run/results_layout.h"

#include <QPainter>

namespace {
constexpr int kMaxDrawnLength = 255;
} // namespace

TCellLook cellLook(int column, int row, const QString &text, const QColor &buttonFace) {
    TCellLook look;
    look.background = text.isEmpty() ? kEmptyCellColor : kFilledCellColor;
    if (column == 0 || row == 0)
        look.background = buttonFace;
    if (row == 0 && column >= resultslayout::kFirstFrequencyColumn) {
        look.background = IsValidFrequencyText(text) ? kFilledCellColor : kInvalidFrequencyColor;
        look.bold = true;
    }
    look.wordWrap = column != 0;
    return look;
}

QString cellDisplayText(const QString &text) {
    QString shown = text.left(kMaxDrawnLength);
    shown.replace(QLatin1Char(';'), QLatin1Char('\n'));
    return shown;
}

void TResultsCellPainter::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const TCellLook look =
        cellLook(index.column(), index.row(), text, option.palette.color(QPalette::Button));

    painter->save();
    painter->fillRect(option.rect, look.background);
    QFont font = option.font;
    font.setBold(look.bold);
    painter->setFont(font);
    painter->setPen(option.palette.color(QPalette::Text));
    int flags = Qt::AlignHCenter | Qt::AlignTop;
    if (look.wordWrap)
        flags |= Qt::TextWordWrap;
    painter->drawText(option.rect, flags, cellDisplayText(text));
    painter->restore();
}
