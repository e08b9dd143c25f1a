#include "ui/results_grid_view.h"

#include "ui/grid_line_sizer.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>

namespace {
constexpr int kColumnWidth = 90;
constexpr int kRowHeight = 40;

void setupSections(QTableView *view) {
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->horizontalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    view->verticalHeader()->setDefaultSectionSize(kRowHeight);
    view->setShowGrid(true);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
}
} // namespace

ResultsGridView::ResultsGridView(QWidget *parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("grdTable"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setToolTip(tr("Укажите частоты в оранжевых клетках. Для редактирования нажмите 1 "
                              "раз левой кнопкой мыши. Для очистки ячейки - 2 раза."));
    setAccessibleName(tr("Таблица результатов"));
    setupSections(this);

    m_frozen = new QTableView(this);
    m_frozen->setObjectName(QStringLiteral("grdTableFrozen"));
    m_frozen->setAccessibleName(tr("Таблица результатов, закреплённые столбцы"));
    m_frozen->setModel(model());
    m_frozen->setSelectionModel(selectionModel());
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setupSections(m_frozen);
    m_frozen->viewport()->installEventFilter(this);
    viewport()->stackUnder(m_frozen);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (column < FrozenColumnCount) {
                    m_frozen->setColumnWidth(column, size);
                    updateFrozenGeometry();
                }
            });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { m_frozen->setRowHeight(row, size); });
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(m_frozen, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &i) { emit cellClicked(i.row(), i.column()); });
    connect(m_frozen, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &i) { emit cellDoubleClicked(i.row(), i.column()); });
    for (auto signal : {&QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved})
        connect(model(), signal, this, &ResultsGridView::updateFrozenColumns);
    connect(model(), &QAbstractItemModel::modelReset, this, &ResultsGridView::updateFrozenColumns);

    m_sizer =
        std::make_unique<GridLineSizer>(this, std::initializer_list<QTableView *>{this, m_frozen});
    setRowCount(InitialRowCount);
    setColumnCount(InitialColumnCount);
    updateFrozenColumns();
}

// The base destructors delete the children (the frozen view, the viewports)
// once this object is only a QWidget, and the model announces its reset on the
// way. Nothing of the grid may hear that: the model is cut off here, and the
// grid line sizer goes with the members, before the bases are torn down.
ResultsGridView::~ResultsGridView() {
    disconnect(model(), nullptr, this, nullptr);
}

void ResultsGridView::setCellDelegates(QAbstractItemDelegate *scrolling,
                                       QAbstractItemDelegate *frozen) {
    setItemDelegate(scrolling);
    m_frozen->setItemDelegate(frozen);
}

int ResultsGridView::frozenWidth() const {
    int width = 0;
    for (int c = 0; c < qMin(FrozenColumnCount, columnCount()); ++c)
        width += columnWidth(c);
    return width;
}

void ResultsGridView::updateFrozenColumns() {
    for (int c = 0; c < columnCount(); ++c) {
        m_frozen->setColumnHidden(c, c >= FrozenColumnCount);
        if (c < FrozenColumnCount)
            m_frozen->setColumnWidth(c, columnWidth(c));
    }
    for (int r = 0; r < rowCount(); ++r)
        m_frozen->setRowHeight(r, rowHeight(r));
    updateFrozenGeometry();
}

void ResultsGridView::updateFrozenGeometry() {
    const int width = frozenWidth();
    m_frozen->setVisible(width > 0);
    m_frozen->setGeometry(frameWidth(), frameWidth(), width, viewport()->height());
}

void ResultsGridView::resizeEvent(QResizeEvent *event) {
    QTableWidget::resizeEvent(event);
    updateFrozenGeometry();
}

// A column scrolled in from the left must not stop under the frozen columns.
QModelIndex ResultsGridView::moveCursor(CursorAction cursorAction,
                                        Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableWidget::moveCursor(cursorAction, modifiers);
    if (cursorAction == MoveLeft && current.column() >= FrozenColumnCount) {
        const int hiddenBy = frozenWidth() - visualRect(current).left();
        if (hiddenBy > 0)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hiddenBy);
    }
    return current;
}

void ResultsGridView::scrollTo(const QModelIndex &index, ScrollHint hint) {
    if (index.column() >= FrozenColumnCount)
        QTableWidget::scrollTo(index, hint);
}

// Cells carry no hints of their own; the grid's hint shows over every cell.
bool ResultsGridView::showGridHint(QEvent *event) {
    if (event->type() != QEvent::ToolTip)
        return false;
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), toolTip(), this);
    return true;
}

bool ResultsGridView::viewportEvent(QEvent *event) {
    return showGridHint(event) || QTableWidget::viewportEvent(event);
}

bool ResultsGridView::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_frozen->viewport() && showGridHint(event))
        return true;
    return QTableWidget::eventFilter(watched, event);
}

void setCellText(QTableWidget *grid, int row, int column, const QString &text) {
    if (row < 0 || column < 0 || row >= grid->rowCount() || column >= grid->columnCount())
        return;
    if (QTableWidgetItem *item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}
