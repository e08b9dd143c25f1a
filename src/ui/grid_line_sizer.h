#pragma once

#include <QObject>
#include <QPoint>

#include <initializer_list>
#include <vector>

class QTableView;

// Lets the user resize rows and columns of a table without header bars by
// dragging the grid lines between cells. Sizes go to the target view; views
// that show parts of the same table (a frozen overlay) accept drags too.
// It filters the views' viewports, so its owner destroys it while the views
// are still whole: a child of the target would outlive the target's own
// destructor and hear the viewports of a half-destroyed table.
class GridLineSizer : public QObject {
    Q_OBJECT
public:
    GridLineSizer(QTableView *target, std::initializer_list<QTableView *> views);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Hit {
        Qt::Orientation orientation = Qt::Horizontal;
        int section = -1;
    };
    Hit hitTest(const QTableView *view, QPoint pos) const;
    QTableView *viewOf(QObject *viewport) const;
    int sizeOf(const Hit &hit) const;
    void resize(const Hit &hit, int size);

    QTableView *m_target;
    std::vector<QTableView *> m_views;
    Hit m_drag;
    int m_dragStart = 0;
    int m_dragStartSize = 0;
};
