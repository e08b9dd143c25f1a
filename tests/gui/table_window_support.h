// A main window for the tests of the results table: settings in a temporary
// folder, a comma as decimal separator, and questions answered by the test.
#pragma once

#include "test_window.h"
#include "common/scripted_prompts.h"
#include "control/table_preparation.h"
#include "engine/run_engine.h"
#include "ui/results_grid_view.h"

#include <QFile>
#include <QLineEdit>
#include <QTableWidgetItem>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class TableWindowTest : public ::testing::Test {
protected:
    void TearDown() override { closeWindow(); }

    void closeWindow() {
        if (!window)
            return;
        for (QTimer *timer : window->findChildren<QTimer *>())
            timer->stop();
        // The grid's model resets while the grid is being destroyed and the
        // grid still reacts to it with its views half gone; cut that link
        // before the window goes.
        QObject::disconnect(grid()->model(), nullptr, grid(), nullptr);
        window.reset();
    }

    // `settings`: the content of options.ini, none when empty.
    void openWindow(const QByteArray &settings = {}) {
        const QString path = dir.filePath(QStringLiteral("options.ini"));
        if (!settings.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(settings);
        }
        TMainOptions options;
        options.settingsPath = path;
        options.decimalSeparator = QLatin1Char(',');
        options.prompts = &prompts;
        prompts.onQuestion = [this](const ScriptedPrompts::Ask &ask) {
            for (int i = 0; i < ask.choices.size(); ++i)
                if (ask.choices[i].role == answer)
                    return i;
            return -1;
        };
        window = std::make_unique<TestWindow>(options);
    }

    const MainWindowUi &ui() const { return window->ui(); }
    ResultsGridView *grid() const { return window->ui().grdTable; }
    TAppState &state() { return window->state(); }
    RunEngine &engine() { return window->engine(); }

    void setParameters(const char *init, const char *final, const char *step, const char *diff,
                       const char *count = "5") {
        ui().leTempInit->setText(QString::fromUtf8(init));
        ui().leTempFinal->setText(QString::fromUtf8(final));
        ui().leTempStep->setText(QString::fromUtf8(step));
        ui().leTempDiff->setText(QString::fromUtf8(diff));
        ui().leFreqColCount->setText(QString::fromUtf8(count));
    }

    void prepare() { window->actions().actApplySettiingsTempAndGrid->trigger(); }

    QString cell(int row, int column) const {
        const QTableWidgetItem *item = grid()->item(row, column);
        return item ? item->text() : QString();
    }

    void setCell(int row, int column, const QString &text) {
        grid()->setItem(row, column, new QTableWidgetItem(text));
    }

    // Texts of rows 1 .. RowCount-1 of a column.
    QStringList column(int column) const {
        QStringList texts;
        for (int r = 1; r < grid()->rowCount(); ++r)
            texts << cell(r, column);
        return texts;
    }

    QStringList frequencyRow() const {
        QStringList texts;
        for (int c = 2; c < grid()->columnCount(); ++c)
            texts << cell(0, c);
        return texts;
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    TPromptChoice::Role answer = TPromptChoice::Role::Yes;
    std::unique_ptr<TestWindow> window;
};
