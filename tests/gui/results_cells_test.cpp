// The results grid's cells: colours and fonts by place and text, the painted
// pixels, and the click and double-click editing rules during and outside a run.
#include "table_window_support.h"

#include "control/results_grid_controller.h"
#include "ui/results_cell_painter.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QTableView>

namespace {

const QColor kFace(212, 208, 200);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

TEST(CellLookTest, ColourAndFontFollowPlaceAndText) {
    struct Case {
        int column, row;
        const char *text;
        QColor background;
        bool bold;
    };
    const Case cases[] = {
        // Frequency cells.
        {2, 0, "100", kGreen, true},
        {3, 0, "1000", kGreen, true},
        {4, 0, "5000", kGreen, true},
        {5, 0, "10000", kGreen, true},
        {6, 0, "100000", kGreen, true},
        {7, 0, "2000", kGreen, true},
        {2, 0, "1500", kRed, true},
        {2, 0, "20", kRed, true},
        {2, 0, "abc", kRed, true},
        {2, 0, "", kRed, true},
        // Headers and set points, whatever they hold.
        {0, 0, "Расчетная;------------;Температура", kFace, false},
        {1, 0, "", kFace, false},
        {0, 5, "-45", kFace, false},
        {0, 5, "", kFace, false},
        // Actual temperatures and results.
        {1, 3, "", kBlue, false},
        {1, 3, "-47,9", kGreen, false},
        {2, 1, "", kBlue, false},
        {9, 80, "1,5E-9;------------;0,01", kGreen, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row << " " << c.text);
        const TCellLook look = cellLook(c.column, c.row, QString::fromUtf8(c.text), kFace);
        EXPECT_EQ(look.background, c.background);
        EXPECT_EQ(look.bold, c.bold);
        EXPECT_EQ(look.wordWrap, c.column != 0);
    }
}

TEST(CellLookTest, SemicolonsBreakLinesAndLongTextsAreCut) {
    EXPECT_EQ(cellDisplayText(QStringLiteral("1,5E-9;------------;0,01")),
              QStringLiteral("1,5E-9\n------------\n0,01"));
    const QString longText = QString(300, QLatin1Char('7'));
    EXPECT_EQ(cellDisplayText(longText), longText.left(255));
}

class ResultsCellsTest : public TableWindowTest {
protected:
    void SetUp() override {
        openWindow();
        setParameters("-50,0", "30,0", "1,0", "0,3", "5");
        prepare();
        window->tablePreparation()->placeDefaultFrequencies();
    }

    QRect cellRect(int row, int column) const {
        QTableView *view = column < 2 ? static_cast<QTableView *>(grid()->frozenView()) : grid();
        const QRect inView = view->visualRect(grid()->model()->index(row, column));
        return inView.translated(view->viewport()->mapTo(grid(), QPoint()));
    }

    // A pixel near the bottom left corner, where no text is drawn.
    QColor background(const QImage &image, int row, int column) const {
        const QRect r = cellRect(row, column);
        return image.pixelColor(r.left() + 3, r.bottom() - 3);
    }

    void click(int row, int column) { emit grid()->cellClicked(row, column); }

    // Types a digit into the cell and tells whether an editor opened; the
    // editor is then closed without changing the cell.
    bool editorOpensOnTyping(int row, int column) {
        grid()->setCurrentCell(row, column);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
        QApplication::sendEvent(grid(), &key);
        QWidget *editor = grid()->indexWidget(grid()->model()->index(row, column));
        if (editor) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(editor, &escape);
        }
        const bool editing = editor != nullptr;
        return editing;
    }
};

TEST_F(ResultsCellsTest, PainterDrawsEveryCellOfBothViews) {
    ASSERT_NE(window->gridController()->cellPainter(), nullptr);
    EXPECT_EQ(grid()->itemDelegate(), window->gridController()->cellPainter());
    EXPECT_NE(qobject_cast<TResultsCellPainter *>(grid()->frozenView()->itemDelegate()), nullptr);

    setCell(0, 3, QStringLiteral("1500"));
    setCell(1, 2, QStringLiteral("1,5E-9;------------;0,01"));
    window->resize(900, 700);
    window->show();
    QApplication::processEvents();
    const QImage image = grid()->grab().toImage();
    const QColor face = grid()->palette().color(QPalette::Button);

    EXPECT_EQ(background(image, 0, 2), kGreen) << "valid frequency";
    EXPECT_EQ(background(image, 0, 3), kRed) << "1500 is not a multiple of 1000";
    EXPECT_EQ(background(image, 1, 2), kGreen) << "reading";
    EXPECT_EQ(background(image, 2, 2), kBlue) << "empty result";
    EXPECT_EQ(background(image, 1, 1), kBlue) << "no actual temperature yet";
    EXPECT_EQ(background(image, 1, 0), face) << "set point";
    EXPECT_EQ(background(image, 0, 0), face) << "header";

    // The three lines of a reading are drawn from the top, centred.
    const QRect r = cellRect(1, 2);
    int inkTop = -1;
    for (int y = r.top(); y <= r.bottom() && inkTop < 0; ++y)
        for (int x = r.left() + 2; x < r.right() - 2; ++x)
            if (image.pixelColor(x, y) != kGreen && y > r.top() + 1) {
                inkTop = y;
                break;
            }
    EXPECT_GE(inkTop, 0);
    EXPECT_LT(inkTop - r.top(), 8) << "text starts at the top of the cell";
}

TEST_F(ResultsCellsTest, DuringARunOnlyResultCellsAreEditable) {
    // Outside a run a click changes nothing: every cell stays editable.
    click(0, 2);
    EXPECT_TRUE(isGridEditing(*grid()));
    EXPECT_TRUE(editorOpensOnTyping(0, 3));

    engine().beginRun();
    struct Case {
        int row, column;
        bool editable;
    };
    const Case cases[] = {{0, 2, false}, {1, 2, true},  {1, 0, false},
                          {1, 1, false}, {0, 0, false}, {81, 6, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        click(c.row, c.column);
        EXPECT_EQ(isGridEditing(*grid()), c.editable);
        EXPECT_EQ(grid()->frozenView()->editTriggers() != QAbstractItemView::NoEditTriggers,
                  c.editable);
        EXPECT_EQ(editorOpensOnTyping(c.row, c.column), c.editable);
    }

    // After the run the last click's choice stays until a preparation.
    click(0, 2);
    engine().stop();
    click(1, 2);
    EXPECT_FALSE(isGridEditing(*grid()));
    prepare();
    EXPECT_TRUE(isGridEditing(*grid()));
}

// The view may open an editor when the button is released on the selected
// cell, so the decision must already stand when the button goes down.
TEST_F(ResultsCellsTest, MouseDecidesEditingAsTheButtonGoesDown) {
    window->show();
    QApplication::processEvents();
    engine().beginRun();
    struct Case {
        int row, column;
        bool editable;
    };
    const Case cases[] = {{1, 2, true}, {0, 3, false}, {2, 3, true}, {2, 1, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        QWidget *viewport = c.column < 2 ? grid()->frozenView()->viewport() : grid()->viewport();
        const QRect r = cellRect(c.row, c.column);
        const QPointF at(viewport->mapFrom(grid(), r.center()));
        setGridEditing(*grid(), !c.editable);
        QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        EXPECT_EQ(isGridEditing(*grid()), c.editable) << "on press";
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &release);
        EXPECT_EQ(isGridEditing(*grid()), c.editable) << "after the click";
    }
}

// An arrow key that moves from a result cell onto the frequency row must not
// carry editing along.
TEST_F(ResultsCellsTest, KeyboardMovesFollowTheClickRuleDuringARun) {
    window->show();
    QApplication::processEvents();
    engine().beginRun();
    click(1, 3);
    ASSERT_TRUE(isGridEditing(*grid()));
    grid()->setFocus();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(grid(), &up);
    EXPECT_EQ(grid()->currentRow(), 0);
    EXPECT_FALSE(isGridEditing(*grid()));
    EXPECT_FALSE(editorOpensOnTyping(0, 3));
}

TEST_F(ResultsCellsTest, DoubleClickEmptiesOnlyResultCells) {
    engine().csvTable().SetTableSize(81, 5);
    engine().csvTable().SetCell(QStringLiteral("Cp"), QStringLiteral("1,5E-9"), 0, 0);
    const QString csvText = engine().csvTable().TableToText();
    setCell(1, 1, QStringLiteral("-49,9"));

    for (int runActive : {0, 1}) {
        if (runActive)
            engine().beginRun();
        else
            engine().stop();
        setCell(1, 2, QStringLiteral("1,5E-9;------------;0,01"));
        const std::pair<int, int> others[] = {{0, 2}, {1, 0}, {1, 1}, {0, 0}};
        for (const auto &[row, column] : others)
            emit grid()->cellDoubleClicked(row, column);
        EXPECT_EQ(cell(0, 2), QStringLiteral("100"));
        EXPECT_EQ(cell(1, 0), QStringLiteral("-50"));
        EXPECT_EQ(cell(1, 1), QStringLiteral("-49,9"));
        EXPECT_EQ(cell(1, 2), QStringLiteral("1,5E-9;------------;0,01"));

        emit grid()->cellDoubleClicked(1, 2);
        EXPECT_EQ(cell(1, 2), QString());
    }
    EXPECT_EQ(engine().csvTable().TableToText(), csvText) << "the CSV table keeps the reading";
}

} // namespace
