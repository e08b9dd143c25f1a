#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// How one cell of the results grid looks, decided from its place and text
// alone; the selection and focus of the cell play no part.
struct TCellLook {
    QColor background;
    bool bold = false;     // the frequency cells
    bool wordWrap = false; // every column but the set points
};

inline const QColor kFilledCellColor{0, 128, 0};
inline const QColor kEmptyCellColor{0, 0, 255};
inline const QColor kInvalidFrequencyColor{255, 0, 0};

// Filled cells green, empty ones blue; column 0 and row 0 in the button face
// colour, except the frequency cells (row 0, column >= 2), which are green
// when they hold a frequency the meter can be set to and red otherwise.
TCellLook cellLook(int column, int row, const QString &text, const QColor &buttonFace);

// The text as drawn: ";" starts a new line. Texts longer than 255 characters
// are drawn cut to their first 255, the width the grid was made for.
QString cellDisplayText(const QString &text);

// Paints every cell of grdTable, frozen columns included (grdTableDrawCell).
class TResultsCellPainter : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
