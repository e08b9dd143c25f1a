// Preparing the results table: set points and storage, confirmation before
// run data is dropped, kept or dropped frequencies, refused parameters, the
// default frequencies and the key filter of the numeric edits.
#include "table_window_support.h"

#include "app/main_actions.h"
#include "control/results_grid_controller.h"
#include "run/set_points.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

const QString kColumnCountUnknown = QStringLiteral("Не удалось определить количество столбцов");

QStringList expectedSetPoints(int from, int to) {
    QStringList texts;
    const int step = from <= to ? 1 : -1;
    for (int t = from; t != to + step; t += step)
        texts << QString::number(t);
    return texts;
}

class TablePreparationTest : public TableWindowTest {
protected:
    void SetUp() override { openWindow(); }

    void type(QLineEdit *edit, const QString &keys) {
        for (QChar c : keys) {
            QKeyEvent press(QEvent::KeyPress, c == QChar(8) ? Qt::Key_Backspace : 0, Qt::NoModifier,
                            QString(c));
            QApplication::sendEvent(edit, &press);
        }
    }

    void doubleClick(QWidget *widget) {
        const QPointF at(widget->width() / 2, widget->height() / 2);
        QMouseEvent event(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    // A prepared default table with frequencies, a reading in the grid, the
    // CSV table and run data marked.
    void prepareMeasuredTable() {
        setParameters("-50,0", "30,0", "1,0", "0,3", "5");
        prepare();
        window->tablePreparation()->placeDefaultFrequencies();
        setCell(1, 2, QStringLiteral("1,5E-9;------------;0,01"));
        engine().csvTable().SetTableSize(81, 5);
        engine().csvTable().SetCell(QStringLiteral("Cp"), QStringLiteral("1,5E-9"), 0, 0);
        window->tablePreparation()->setTableTag(1);
    }
};

TEST_F(TablePreparationTest, DefaultParametersGiveEightyOneSetPoints) {
    engine().csvTable().SetTableSize(2, 2);
    engine().csvTable().SetCell(QStringLiteral("Cp"), QStringLiteral("1"), 0, 0);
    window->actions().actStop->setEnabled(true);
    setGridEditing(*grid(), false);
    window->tablePreparation()->setTableTag(1);

    setParameters("-50,0", "30,0", "1,0", "0,3", "5");
    prepare();

    ASSERT_EQ(prompts.asks.size(), 1u);
    EXPECT_EQ(prompts.asks[0].text, QStringLiteral("Внимание, текущие данные будут удалены!"));
    const QVector<TPromptChoice> &choices = prompts.asks[0].choices;
    ASSERT_EQ(choices.size(), 2);
    EXPECT_EQ(choices[0].role, TPromptChoice::Role::Yes);
    EXPECT_EQ(choices[1].role, TPromptChoice::Role::Cancel);
    EXPECT_EQ(prompts.asks[0].defaultChoice, 1) << "Enter keeps the table";
    EXPECT_EQ(state().LastDialogResult, int(TPromptChoice::Role::Yes));
    EXPECT_EQ(window->tablePreparation()->tableTag(), 0);

    EXPECT_EQ(grid()->rowCount(), 82);
    EXPECT_EQ(grid()->columnCount(), 7);
    EXPECT_EQ(column(0), expectedSetPoints(-50, 30));
    EXPECT_EQ(cell(0, 0), QStringLiteral("Расчетная;------------;Температура"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("Частоты F;------------;Т. факт"));

    const TTempStorage &storage = engine().temperatures();
    ASSERT_EQ(storage.Count(), 81);
    for (int k = 0; k < storage.Count(); ++k) {
        EXPECT_EQ(storage.Items[k].Row, k + 1);
        EXPECT_EQ(storage.Items[k].SetPoint, -50.0 + k);
    }
    EXPECT_EQ(storage.TempDiff, 0.3);

    EXPECT_TRUE(engine().csvTable().ParamNames().isEmpty());
    EXPECT_TRUE(engine().csvTable().TableToText().isEmpty());
    EXPECT_FALSE(window->actions().actStop->isEnabled());
    EXPECT_TRUE(isGridEditing(*grid()));
}

TEST_F(TablePreparationTest, SetPointsRunFromInitialTowardsFinal) {
    struct Case {
        const char *init, *final, *step;
        QStringList rows;
        int stored;
    };
    QStringList threes;
    for (int t = -50; t <= 31; t += 3)
        threes << QString::number(t);
    const QStringList tenths = {"-1",   "-0,9", "-0,8", "-0,7", "-0,6", "-0,5", "-0,4",
                                "-0,3", "-0,2", "-0,1", "0",    "0,1",  "0,2",  "0,3",
                                "0,4",  "0,5",  "0,6",  "0,7",  "0,8",  "0,9",  "1"};
    const Case cases[] = {
        {"30,0", "-50,0", "1,0", expectedSetPoints(30, -50), 81},
        {"30,0", "-50,0", "-1,0", expectedSetPoints(30, -50), 81},
        // The last row passes the final temperature by more than the tolerance.
        {"-50", "30", "3", threes, 27},
        {"-1", "1", "0,1", tenths, 21},
        {"0", "1", "0,1",
         QStringList{"0", "0,1", "0,2", "0,3", "0,4", "0,5", "0,6", "0,7", "0,8", "0,9", "1"}, 11},
        // Equal bounds: the set point and one step beyond it.
        {"5", "5", "1", QStringList{"5", "6"}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.init) + " .. " + c.final + " step " + c.step);
        setParameters(c.init, c.final, c.step, "0,3");
        prepare();
        EXPECT_EQ(column(0), c.rows);
        EXPECT_EQ(grid()->rowCount(), c.rows.size() + 1);
        EXPECT_EQ(engine().temperatures().Count(), c.stored);
        EXPECT_EQ(engine().temperatures().Items.value(0).Row, 1);
        EXPECT_TRUE(prompts.asks.isEmpty());
    }
}

// A zero step never reaches the final temperature, a tiny one makes a table
// too large to use and bounds near the largest number overflow to an infinite
// set point: each is refused with its own reason, an unreadable temperature
// with the general message; the parameters read so far are kept and the header
// cells still written.
TEST_F(TablePreparationTest, RefusedParametersLeaveNoSetPoints) {
    struct Case {
        const char *init, *final, *step;
        double storedInit, storedFinal;
        QString message;
    };
    const QString zeroStep = QStringLiteral("Шаг температуры не может быть равен нулю");
    const Case cases[] = {
        {"-50", "30", "0", -50, 30, zeroStep},
        {"-50", "30", "0,0001", -50, 30,
         QStringLiteral("Слишком много строк таблицы: больше 100000")},
        {"-50", "30", "-0", -50, 30, zeroStep},
        {"-1E308", "1E308", "9E307", -1e308, 1e308,
         QStringLiteral("Расчетная температура не является конечным числом")},
        {"-50", "abc", "1", -50, 777, kColumnCountUnknown},
        {"", "30", "1", 777, 777, kColumnCountUnknown},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.init) + " .. " + c.final + " step " + c.step);
        setParameters("-50", "30", "1", "0,3");
        prepare();
        engine().temperatures().TempInit = 777;
        engine().temperatures().TempFinal = 777;
        window->actions().actStop->setEnabled(true);
        prompts.asks.clear();

        setParameters(c.init, c.final, c.step, "0,3");
        prepare();
        ASSERT_EQ(prompts.asks.size(), 1u);
        EXPECT_EQ(prompts.asks[0].text, c.message);
        EXPECT_EQ(prompts.asks[0].kind, ScriptedPrompts::Ask::Kind::Notice);
        EXPECT_EQ(prompts.asks[0].icon, TPromptIcon::Information);
        EXPECT_EQ(engine().temperatures().Count(), 0);
        EXPECT_EQ(engine().temperatures().TempInit, c.storedInit);
        EXPECT_EQ(engine().temperatures().TempFinal, c.storedFinal);
        EXPECT_EQ(grid()->rowCount(), 82);
        EXPECT_EQ(column(0), QStringList(81, QString())) << "no set points without a storage";
        EXPECT_EQ(cell(0, 0), QString::fromUtf8(kSetPointHeaderText));
        EXPECT_FALSE(window->actions().actStop->isEnabled());
    }
}

TEST_F(TablePreparationTest, UnreadableColumnCountKeepsColumnsAndStillLaysOutRows) {
    setParameters("-50", "30", "1", "0,3", "3");
    prepare();
    ASSERT_EQ(grid()->columnCount(), 5);

    setParameters("0", "10", "1", "0,3", "");
    prepare();
    ASSERT_EQ(prompts.asks.size(), 1u);
    EXPECT_EQ(prompts.asks[0].text, kColumnCountUnknown);
    EXPECT_EQ(grid()->columnCount(), 5);
    EXPECT_EQ(column(0), expectedSetPoints(0, 10));
    EXPECT_EQ(engine().temperatures().Count(), 11);

    setParameters("0", "10", "1", "0,3", "0");
    prepare();
    EXPECT_EQ(grid()->columnCount(), 2) << "no frequency columns";
}

TEST_F(TablePreparationTest, CancelledConfirmationChangesNothing) {
    prepareMeasuredTable();
    const QString csvText = engine().csvTable().TableToText();
    const TTempArr items = engine().temperatures().Items;
    window->actions().actStop->setEnabled(true);

    answer = TPromptChoice::Role::Cancel;
    setParameters("0", "10", "1", "0,3", "2");
    prepare();

    ASSERT_EQ(prompts.asks.size(), 1u);
    EXPECT_EQ(prompts.asks[0].icon, TPromptIcon::Warning);
    EXPECT_EQ(state().LastDialogResult, int(TPromptChoice::Role::Cancel));
    EXPECT_EQ(window->tablePreparation()->tableTag(), 1);
    EXPECT_EQ(grid()->rowCount(), 82);
    EXPECT_EQ(grid()->columnCount(), 7);
    EXPECT_EQ(cell(1, 2), QStringLiteral("1,5E-9;------------;0,01"));
    EXPECT_EQ(engine().csvTable().TableToText(), csvText);
    EXPECT_EQ(engine().temperatures().Items.size(), items.size());
    EXPECT_TRUE(window->actions().actStop->isEnabled());
}

TEST_F(TablePreparationTest, FrequenciesKeptOrDroppedByTheCheckBox) {
    const QStringList defaults = {"100", "1000", "5000", "10000", "100000"};

    // Kept, the last frequency column included; the readings go.
    prepareMeasuredTable();
    ui().chbKeepFreq->setChecked(true);
    prepare();
    EXPECT_EQ(frequencyRow(), defaults);
    EXPECT_EQ(cell(1, 2), QString());
    EXPECT_EQ(grid()->columnCount(), 7);

    // Fewer columns keep the frequencies that still have a column.
    setParameters("-50", "30", "1", "0,3", "3");
    prepare();
    EXPECT_EQ(frequencyRow(), defaults.mid(0, 3));

    // Dropped.
    setParameters("-50", "30", "1", "0,3", "5");
    window->tablePreparation()->placeDefaultFrequencies();
    ui().chbKeepFreq->setChecked(false);
    prepare();
    EXPECT_EQ(frequencyRow(), QStringList(5, QString()));
    EXPECT_EQ(cell(0, 1), QString::fromUtf8(kActualTempHeaderText));
    EXPECT_EQ(column(0), expectedSetPoints(-50, 30));
}

TEST_F(TablePreparationTest, DoubleClickOnColumnCountPlacesDefaultFrequencies) {
    const QStringList defaults = {"100", "1000", "5000", "10000", "100000"};
    ui().chbKeepFreq->setChecked(false);
    setParameters("-50", "30", "1", "0,3", "5");
    prepare();
    ASSERT_EQ(frequencyRow(), QStringList(5, QString()));

    ui().leFreqColCount->setText(QStringLiteral("4"));
    doubleClick(ui().leFreqColCount);
    EXPECT_EQ(frequencyRow(), QStringList(5, QString())) << "only with five columns";

    ui().leFreqColCount->setText(QStringLiteral("5"));
    doubleClick(ui().leFreqColCount);
    EXPECT_EQ(frequencyRow(), defaults);

    setCell(0, 2, QStringLiteral("25"));
    setCell(0, 3, QStringLiteral("50"));
    doubleClick(ui().leFreqColCount);
    EXPECT_EQ(frequencyRow(), (QStringList{"25", "50", "5000", "10000", "100000"}))
        << "a typed first frequency is never overwritten";
}

TEST_F(TablePreparationTest, StartUpWithFiveColumnsPreparesTheDefaultTable) {
    closeWindow();
    openWindow("[general]\r\nFreqColCount=5\r\n");
    EXPECT_EQ(ui().leFreqColCount->text(), QStringLiteral("5"));
    EXPECT_EQ(grid()->rowCount(), 82);
    EXPECT_EQ(frequencyRow(), (QStringList{"100", "1000", "5000", "10000", "100000"}));
    EXPECT_EQ(engine().temperatures().Count(), 81);
}

TEST_F(TablePreparationTest, NumericEditsTakeOnlyNumbers) {
    struct Case {
        QLineEdit *edit;
        QString typed;
        QString expected;
    };
    const Case cases[] = {
        // "/", "." and "," become the decimal separator; "+" and letters are dropped.
        {ui().leTempInit, QStringLiteral("-1.5a+"), QStringLiteral("-1,5")},
        {ui().leTempFinal, QStringLiteral("2/7"), QStringLiteral("2,7")},
        {ui().leTempStep, QStringLiteral("0,5\b\b2"), QStringLiteral("02")},
        {ui().leTempDiff, QStringLiteral("e0 ,3"), QStringLiteral("0,3")},
        {ui().leFreqColCount, QStringLiteral("1,-a2"), QStringLiteral("12")},
        // Not filtered.
        {ui().lblSkipIM, QStringLiteral("a."), QStringLiteral("a.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.edit->objectName().toStdString());
        c.edit->clear();
        type(c.edit, c.typed);
        EXPECT_EQ(c.edit->text(), c.expected);
    }

    // A replaced character takes the place of a selection like a typed one.
    ui().leTempInit->setText(QStringLiteral("12"));
    ui().leTempInit->setSelection(1, 1);
    type(ui().leTempInit, QStringLiteral("."));
    EXPECT_EQ(ui().leTempInit->text(), QStringLiteral("1,"));
}

} // namespace
