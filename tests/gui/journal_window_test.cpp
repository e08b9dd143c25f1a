// The run journal as the user meets it: a run killed mid-way is offered back at
// the next start and saves to the same bytes; closing with results in no file
// asks first; past runs open, save again and go away; a journal that cannot be
// kept is said once while the run goes on.
#include "instruments_support.h"
#include "run_window_support.h"

#include "control/chart_controller.h"
#include "control/journal_controller.h"
#include "control/past_runs_command.h"
#include "control/readings_export_command.h"
#include "control/run_sequencer.h"
#include "control/save_command.h"
#include "control/table_preparation.h"
#include "journal/run_journal.h"
#include "sim_thermometer.h"
#include "ui/journal_upkeep_bar.h"
#include "ui/past_runs_dialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTest>

#include <algorithm>

namespace {

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The run driver: the program's window in a process of its own.
class DrivenProgram {
public:
    explicit DrivenProgram(const SimulatedBench &bench) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(TAMREL_RUN_DRIVER_PATH),
                        {bench.settingsPath(), bench.folder() + QStringLiteral("/ports")});
    }
    ~DrivenProgram() { kill(); }

    bool started() { return m_process.waitForStarted(10000); }
    void send(const QByteArray &command) { m_process.write(command + '\n'); }
    // Waits (running the simulator's events) for a line of output that starts with `prefix`.
    bool waitFor(const QByteArray &prefix, int timeoutMs = 15000) {
        return waitUntil(
            [&] {
                while (m_process.canReadLine()) {
                    const QByteArray line = m_process.readLine().trimmed();
                    m_lines << line;
                    if (line.startsWith(prefix))
                        return true;
                }
                return false;
            },
            timeoutMs);
    }
    // The kill -9 of a power cut or a crash: nothing of the program runs after it.
    void kill() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }
    const QList<QByteArray> &lines() const { return m_lines; }

private:
    QProcess m_process;
    QList<QByteArray> m_lines;
};

// Killed after a save and one reading more (the meter's value at a held
// temperature does not change, so the reading after the save changes no
// byte), the next start offers the run back; restored, it saves to the bytes
// the killed program saved, and a new start goes on filling the same run.
TEST(JournalRecovery, AProgramKilledMidRunIsRestoredAndSavesTheSameBytes) {
    SimulatedBench bench;
    bench.thermometer().setProgramme(TemperatureProgramme::hold(20.0));
    bench.writeSettings(QStringLiteral("TempInit=20\r\nTempFinal=21\r\nTempStep=1\r\n"
                                       "TempDiff=0,4\r\nFreqColCount=5\r\n"));
    const QString before = bench.folder() + QStringLiteral("/before-kill.tamrel");
    {
        DrivenProgram program(bench);
        ASSERT_TRUE(program.started());
        ASSERT_TRUE(program.waitFor("ready"));
        program.send("start");
        ASSERT_TRUE(program.waitFor("started"));
        // Row 1 (20 degrees) at the five default frequencies, columns 2 .. 6.
        ASSERT_TRUE(waitUntil(
            [&] {
                program.waitFor("reading", 50);
                int filled = 0;
                for (int column = 2; column <= 6; ++column)
                    filled += program.lines().contains(QByteArray("reading 1 ") +
                                                       QByteArray::number(column));
                return filled == 5;
            },
            30000));
        program.send("stop");
        ASSERT_TRUE(program.waitFor("stopped"));
        program.send("save " + before.toLocal8Bit());
        ASSERT_TRUE(program.waitFor("saved"));
        program.send("start");
        ASSERT_TRUE(program.waitFor("started"));
        ASSERT_TRUE(program.waitFor("reading"));
        program.kill();
    }
    const QByteArray saved = readFile(before);
    ASSERT_FALSE(saved.isEmpty());

    ScriptedPrompts &prompts = bench.prompts();
    using Role = TPromptChoice::Role;
    prompts.answers = {{Role::Yes, {}}, {Role::Accept, QStringLiteral("Продолжить это измерение")}};
    TestWindow window(bench.windowOptions());
    // The journal is checked off the window's thread first: slow on a loaded machine.
    ASSERT_TRUE(waitUntil([&] { return !prompts.questions().isEmpty(); }, 30000));
    const QStringList questions = prompts.questions();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("Восстановить")))
        << questions[0].toStdString();
    EXPECT_TRUE(window.actions().actFileSaveTo->isEnabled());

    const QString after = bench.folder() + QStringLiteral("/after-restore.tamrel");
    prompts.saveAs = after;
    window.saveCommand()->actFileSaveToExecute();
    EXPECT_EQ(readFile(after), saved);
    EXPECT_TRUE(prompts.notices().isEmpty()) << prompts.notices().join('|').toStdString();

    // Going on, as the user answers the start's question: the next start fills
    // the row of 21 degrees in the same run.
    const qint64 run = window.journal()->currentRunId();
    ASSERT_TRUE(waitUntil(
        [&] { return window.engine().portsOpen() && window.actions().actStart->isEnabled(); }));
    bench.thermometer().setProgramme(TemperatureProgramme::hold(21.0));
    window.actions().actStart->trigger();
    ASSERT_TRUE(window.engine().isRunning());
    EXPECT_EQ(prompts.questions().size(), 2) << "the start asked what to do with the past run";
    const ResultsGridView *grid = window.ui().grdTable;
    EXPECT_TRUE(
        waitUntil([&] { return grid->item(2, 2) && !grid->item(2, 2)->text().isEmpty(); }, 20000));
    window.actions().actStop->trigger();
    EXPECT_EQ(window.journal()->currentRunId(), run);
    EXPECT_EQ(window.journal()->pastRuns().size(), 1);
    for (QTimer *timer : window.findChildren<QTimer *>())
        timer->stop();
}

class JournalWindowTest : public RunWindowTest {
protected:
    void SetUp() override {
        RunWindowTest::SetUp();
        engine().setInstrumentsReady(true);
        window->ui().lblSkipIM->setText(QStringLiteral("1"));
        window->actions().actStart->trigger();
        ASSERT_TRUE(engine().isRunning());
    }
    // A settled reading at 20 degrees and hz, written into its cell.
    void recordReading(int hz) {
        storeTemperature(20.0);
        storeMeterFrame(hz, 2);
        refreshMeter();
        ASSERT_FALSE(cell(rowOf(20), columnOf(hz)).isEmpty());
    }
};

TEST_F(JournalWindowTest, ClosingWithResultsInNoFileAsksAndFollowsTheAnswer) {
    using Role = TPromptChoice::Role;
    const auto asked = [&] { return prompts.questions().size(); };
    EXPECT_TRUE(window->close()) << "nothing recorded: closes without a word";
    EXPECT_EQ(asked(), 0);

    recordReading(1000);
    prompts.answers = {{Role::Reject, QStringLiteral("Отмена")}};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(asked(), 1);
    const ScriptedPrompts::Ask &question = prompts.asks.last();
    EXPECT_EQ(question.text, QStringLiteral("Результаты измерений не сохранены в файл. Сохранить "
                                            "их перед закрытием программы?"));
    EXPECT_EQ(question.icon, TPromptIcon::Warning);
    EXPECT_EQ(question.choices.value(question.defaultChoice).label, QStringLiteral("Сохранить..."))
        << "Enter saves";

    // Saving that is cancelled in the file dialog keeps the window open.
    const QString save = QStringLiteral("Сохранить...");
    prompts.answers = {{Role::Accept, save}, {Role::Accept, save}};
    EXPECT_FALSE(window->close());
    prompts.saveAs = dir.filePath(QStringLiteral("closing.tamrel"));
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(readFile(prompts.saveAs).isEmpty());
    EXPECT_EQ(asked(), 3);

    recordReading(5000);
    prompts.answers = {{Role::Destructive, QStringLiteral("Закрыть без сохранения")}};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(asked(), 4);
}

TEST_F(JournalWindowTest, PastRunsOpenIntoTheGridSaveAgainAndAreDeleted) {
    recordReading(100);
    recordReading(1000);
    window->actions().actStop->trigger();
    const qint64 first = window->journal()->currentRunId();
    ASSERT_NE(first, 0);
    QString &saveTo = prompts.saveAs;
    saveTo = dir.filePath(QStringLiteral("first.tamrel"));
    window->actions().actFileSaveTo->trigger();
    const QByteArray firstBytes = readFile(saveTo);
    ASSERT_FALSE(firstBytes.isEmpty());

    // A second table and run.
    prompts.answers = {{TPromptChoice::Role::Yes, {}}};
    window->actions().actApplySettiingsTempAndGrid->trigger();
    layOutTable();
    window->actions().actStart->trigger();
    recordReading(5000);
    window->actions().actStop->trigger();
    const qint64 second = window->journal()->currentRunId();
    ASSERT_NE(second, first);

    const QString exported = dir.filePath(QStringLiteral("first-readings.csv"));
    const QString again = dir.filePath(QStringLiteral("again.tamrel"));
    prompts.onSaveFile = [&](const TFileRequest &request) {
        return request.objectName == QStringLiteral("dlgSaveReadings") ? exported : again;
    };
    TPastRunsCommand &command = *window->pastRunsCommand();
    prompts.asks.clear();
    const auto questions = [&] { return prompts.questions(); };
    command.setDialogShown([&](PastRunsDialog &dialog) {
        ASSERT_EQ(dialog.list()->rowCount(), 2);
        EXPECT_TRUE(dialog.list()->item(0, 0)->text().contains(QStringLiteral("на экране")));
        EXPECT_EQ(dialog.list()->item(1, 3)->text(), QStringLiteral("2"));
        emit dialog.deleteRequested(second);
        EXPECT_TRUE(questions().isEmpty()) << "the run on the screen is not offered for deletion";
        emit dialog.saveRequested(first);
        emit dialog.exportRequested(first);
        emit dialog.openRequested(first);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    window->actions().actPastRuns->trigger();

    EXPECT_EQ(readFile(again), firstBytes) << "saved again in the same format";
    const QList<QByteArray> exportedLines = readFile(exported).split('\n');
    EXPECT_EQ(std::count_if(
                  exportedLines.begin(), exportedLines.end(),
                  [](const QByteArray &line) { return !line.isEmpty() && !line.startsWith('#'); }),
              3)
        << "a header and the run's two readings after the run's description";
    EXPECT_EQ(window->journal()->currentRunId(), first);
    EXPECT_EQ(window->chartController()->readings().readings().size(), 2)
        << "the opened run is the chart's";
    EXPECT_FALSE(cell(rowOf(20), columnOf(100)).isEmpty());
    EXPECT_TRUE(cell(rowOf(20), columnOf(5000)).isEmpty());

    // Now the second run is a past one and can go.
    prompts.answers = {{TPromptChoice::Role::Yes, {}}};
    command.setDialogShown([&](PastRunsDialog &dialog) {
        emit dialog.deleteRequested(second);
        ASSERT_EQ(questions().size(), 1);
        EXPECT_EQ(dialog.list()->rowCount(), 1);
    });
    window->actions().actPastRuns->trigger();
    EXPECT_EQ(window->journal()->pastRuns().size(), 1);
}

// A run opened from the journal changes only when the user says so. The start
// asks: "Отмена" starts nothing; "Начать новое" empties the same table and
// starts a run of its own, the past one staying as it was; "Продолжить это
// измерение" writes into the past run, and later starts of it ask no more.
TEST_F(JournalWindowTest, AStartOnAPastRunAsksAndNeverChangesItSilently) {
    recordReading(100);
    recordReading(1000);
    window->actions().actStop->trigger();
    const qint64 past = window->journal()->currentRunId();
    const QString file = dir.filePath(QStringLiteral("past.tamrel"));
    prompts.saveAs = file;
    window->actions().actFileSaveTo->trigger();
    const QByteArray saved = readFile(file);
    ASSERT_FALSE(saved.isEmpty());

    prompts.answers = {{TPromptChoice::Role::Yes, {}}};
    window->actions().actApplySettiingsTempAndGrid->trigger();
    layOutTable();
    const auto openPast = [&] {
        window->pastRunsCommand()->setDialogShown(
            [&](PastRunsDialog &dialog) { emit dialog.openRequested(past); });
        window->actions().actPastRuns->trigger();
        ASSERT_EQ(window->journal()->currentRunId(), past);
    };
    const auto readingsOf = [&](qint64 run) {
        int count = 0;
        if (const std::optional<TJournalRun> loaded = window->journal()->load(run))
            for (const TJournalSegment &segment : loaded->Segments)
                count += segment.Readings.size();
        return count;
    };
    prompts.asks.clear();
    const auto asked = [&] { return prompts.questions().size(); };
    const auto answer = [&](const char *label) {
        prompts.answers = {{TPromptChoice::Role::Accept, QString::fromUtf8(label)}};
    };

    openPast();
    answer("Отмена");
    window->actions().actStart->trigger();
    EXPECT_EQ(asked(), 1);
    EXPECT_FALSE(engine().isRunning());
    EXPECT_EQ(filledResultCells().size(), 2u);

    answer("Начать новое");
    window->actions().actStart->trigger();
    EXPECT_EQ(asked(), 2);
    ASSERT_TRUE(engine().isRunning());
    const qint64 fresh = window->journal()->currentRunId();
    EXPECT_NE(fresh, past);
    EXPECT_NE(fresh, 0);
    EXPECT_TRUE(filledCells().empty()) << "no reading of the past run is left in the table";
    EXPECT_EQ(cell(0, columnOf(5000)), QStringLiteral("5000"));
    EXPECT_EQ(engine().temperatures().Count(), kSetPointCount) << "the set points stay";
    recordReading(5000);
    window->actions().actStop->trigger();
    window->actions().actStart->trigger();
    EXPECT_EQ(asked(), 2) << "a run of this session goes on as before";
    window->actions().actStop->trigger();
    EXPECT_EQ(readingsOf(past), 2);
    EXPECT_EQ(readingsOf(fresh), 1);
    EXPECT_EQ(window->journal()->pastRuns().size(), 2);

    openPast();
    answer("Продолжить это измерение");
    window->actions().actStart->trigger();
    EXPECT_EQ(asked(), 3);
    ASSERT_TRUE(engine().isRunning());
    EXPECT_EQ(window->journal()->currentRunId(), past);
    recordReading(5000);
    window->actions().actStop->trigger();
    window->actions().actStart->trigger();
    EXPECT_EQ(asked(), 3);
    window->actions().actStop->trigger();
    EXPECT_EQ(readingsOf(past), 3);
    EXPECT_EQ(readFile(file), saved) << "the file itself is never touched";
}

// Deleting a past run takes a click and a "Да": Enter on its question keeps it.
TEST_F(JournalWindowTest, EnterOnTheDeleteQuestionKeepsTheRun) {
    recordReading(100);
    window->actions().actStop->trigger();
    prompts.answers = {{TPromptChoice::Role::Yes, {}}};
    window->actions().actApplySettiingsTempAndGrid->trigger();
    const qint64 past = window->journal()->pastRuns().value(0).Id;
    ASSERT_NE(past, 0);
    prompts.asks.clear();
    window->pastRunsCommand()->setDialogShown(
        [&](PastRunsDialog &dialog) { emit dialog.deleteRequested(past); });
    window->actions().actPastRuns->trigger();
    ASSERT_EQ(prompts.asks.size(), 1);
    const ScriptedPrompts::Ask &question = prompts.asks[0];
    EXPECT_TRUE(question.text.startsWith(QStringLiteral("Удалить"))) << question.text.toStdString();
    EXPECT_EQ(question.choices.value(question.defaultChoice).role, TPromptChoice::Role::No);
    EXPECT_EQ(window->journal()->pastRuns().size(), 1);
}

// The journal's folder is a file: the journal cannot be kept, the user is told
// once, and the run goes on in memory (and still asks before closing).
TEST(JournalFaults, AJournalThatCannotBeKeptIsSaidOnceAndTheRunGoesOn) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TMainOptions options;
    options.settingsPath = dir.filePath(QStringLiteral("options.ini"));
    options.journalPath = dir.filePath(QStringLiteral("blocker/runs.sqlite"));
    options.decimalSeparator = QLatin1Char(',');
    ScriptedPrompts prompts;
    options.prompts = &prompts;
    // The journal opens on its own thread; a read waits for that and the
    // events then carry its word to the window.
    auto window = std::make_unique<TestWindow>(options);
    window->journal()->pastRuns();
    QCoreApplication::processEvents();
    const QStringList notices = prompts.notices();
    ASSERT_EQ(notices.size(), 1) << notices.join('|').toStdString();
    EXPECT_TRUE(notices[0].startsWith(QStringLiteral("Журнал измерений не ведётся")))
        << notices[0].toStdString();
    for (QTimer *timer : window->findChildren<QTimer *>())
        timer->stop();

    QTableWidget *grid = window->ui().grdTable;
    for (int column = 2; column < grid->columnCount(); ++column)
        grid->setItem(0, column, new QTableWidgetItem(QString::number(column * 1000)));
    window->engine().setInstrumentsReady(true);
    window->actions().actStart->trigger();
    EXPECT_TRUE(window->engine().isRunning());
    EXPECT_TRUE(window->journal()->pastRuns().isEmpty());
    window->actions().actStop->trigger();
}

// A run of the table 20, 21 with one reading in cell (1, 2), begun `daysAgo`
// and left as a program that died leaves it, in the journal at `path`.
qint64 leaveRun(const QString &path, int daysAgo, bool ended) {
    const QDateTime then = QDateTime::currentDateTime().addDays(-daysAgo);
    TJournalTable table;
    table.SetPointTexts = {"20", "21"};
    table.TempStorage.Add({20, 1, 0});
    table.TempStorage.Add({21, 2, 0});
    TJournalStart start;
    start.Time = then;
    start.Frequencies = {1000};
    TJournalReading reading;
    reading.Row = 1;
    reading.Col = 2;
    reading.Time = then;
    reading.MainName = QStringLiteral("Cp");
    reading.MainBase = QStringLiteral("1E-9");
    reading.CellText = QStringLiteral("Cp 1 nF;---------; D 0,01 ");
    TRunJournal journal;
    qint64 id = 0;
    EXPECT_TRUE(journal.open(path).ok);
    EXPECT_TRUE(journal.beginRun(table, start, &id).ok);
    EXPECT_TRUE(journal.recordReading(id, reading).ok);
    if (ended) {
        EXPECT_TRUE(journal.endRun(id, then).ok);
        EXPECT_TRUE(journal.markCleanShutdown().ok);
    }
    return id;
}

TMainOptions optionsIn(const QTemporaryDir &dir, ScriptedPrompts &prompts) {
    TMainOptions options;
    options.settingsPath = dir.filePath(QStringLiteral("options.ini"));
    options.decimalSeparator = QLatin1Char(',');
    options.prompts = &prompts;
    return options;
}

// The program's folder became read-only and the program keeps its journal
// elsewhere now: it says so, and offers the run the old journal lost, to see
// and save; nothing is written to the old journal.
TEST(JournalFormerFolder, ALostRunOfTheJournalLeftBehindIsOfferedReadOnly) {
    QTemporaryDir dir;
    QTemporaryDir former;
    const QString formerPath = former.filePath(QStringLiteral("runs.sqlite"));
    leaveRun(formerPath, 0, false);
    const QByteArray formerBytes = readFile(formerPath);
    ScriptedPrompts prompts;
    prompts.onQuestion = [](const ScriptedPrompts::Ask &) { return 0; };
    {
        TestWindow window(optionsIn(dir, prompts));
        // The journal opened (its start's own offer found nothing); the program
        // finds the former journal beside itself, which a test cannot make read-only.
        window.journal()->pastRuns();
        QCoreApplication::processEvents();
        window.journal()->setFormerJournal(formerPath);
        window.journal()->offerRecovery();
        EXPECT_EQ(window.ui().grdTable->item(1, 2)->text(),
                  QStringLiteral("Cp 1 nF;---------; D 0,01 "));
        EXPECT_TRUE(window.journal()->hasUnsavedReadings());
        EXPECT_EQ(window.journal()->currentRunId(), 0) << "not a run of the new journal";
        for (QTimer *timer : window.findChildren<QTimer *>())
            timer->stop();
    }
    const QStringList notices = prompts.notices();
    const QStringList questions = prompts.questions();
    ASSERT_EQ(notices.size(), 1) << notices.join('|').toStdString();
    EXPECT_EQ(notices[0], QStringLiteral("Папка «%1» доступна только для чтения. Журнал измерений "
                                         "теперь ведётся в «%2».")
                              .arg(QDir::toNativeSeparators(former.path()),
                                   QDir::toNativeSeparators(dir.filePath("runs.sqlite"))));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("В журнале в папке «%1» остались измерения")
                                            .arg(QDir::toNativeSeparators(former.path()))))
        << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains(QStringLiteral("(заполнено ячеек: 1)")));
    EXPECT_EQ(readFile(formerPath), formerBytes);
}

// A program that died while its readings waited for the journal left a mark
// beside it: the restore question says the run is partial, and only then.
TEST(JournalRecovery, TheRestoreQuestionSaysWhenTheRunIsKnownToBePartial) {
    for (const bool marked : {false, true}) {
        SCOPED_TRACE(marked ? "readings were lost" : "nothing was lost");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("runs.sqlite"));
        const qint64 id = leaveRun(path, 0, false);
        if (marked) {
            QFile mark(path + QStringLiteral("-gap-") + QString::number(id));
            ASSERT_TRUE(mark.open(QIODevice::WriteOnly));
        }
        ScriptedPrompts prompts;
        TestWindow window(optionsIn(dir, prompts));
        for (QTimer *timer : window.findChildren<QTimer *>())
            timer->stop();
        ASSERT_TRUE(waitUntil([&] { return !prompts.questions().isEmpty(); }, 30000));
        const QStringList questions = prompts.questions();
        ASSERT_EQ(questions.size(), 1);
        EXPECT_TRUE(questions[0].contains(QStringLiteral("(заполнено ячеек: 1)")))
            << questions[0].toStdString();
        EXPECT_EQ(questions[0].contains(QStringLiteral(
                      "Журнал был недоступен во время измерений, и часть отсчётов в него "
                      "не попала.")),
                  marked)
            << questions[0].toStdString();
    }
}

// The past-runs dialog gives the journal's size, deletes the runs older than
// the days chosen (the run on the screen never) after a question, and compacts.
TEST(JournalUpkeepDialog, OldRunsGoAfterAQuestionAndCompactionShrinksTheJournal) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("runs.sqlite"));
    leaveRun(path, 400, true);
    leaveRun(path, 10, true);
    ScriptedPrompts prompts;
    TestWindow window(optionsIn(dir, prompts));
    for (QTimer *timer : window.findChildren<QTimer *>())
        timer->stop();
    TPastRunsCommand &command = *window.pastRunsCommand();
    prompts.asks.clear();
    prompts.onQuestion = [](const ScriptedPrompts::Ask &) { return 0; };
    const auto questions = [&] { return prompts.questions(); };
    command.setDialogShown([&](PastRunsDialog &dialog) {
        JournalUpkeepBar &upkeep = *dialog.upkeep();
        EXPECT_TRUE(upkeep.sizeText().startsWith(QStringLiteral("Размер журнала измерений: ")))
            << upkeep.sizeText().toStdString();
        ASSERT_EQ(dialog.list()->rowCount(), 2);
        emit upkeep.deleteOlderRequested(365);
        ASSERT_EQ(questions().size(), 1);
        EXPECT_EQ(questions()[0], QStringLiteral("Удалить из журнала измерения старше 365 дн. (1)? "
                                                 "Из них не сохранены в файл: 1. Вернуть их будет "
                                                 "нельзя."));
        EXPECT_EQ(dialog.list()->rowCount(), 1);
        const qint64 before = window.journal()->journalBytes();
        emit upkeep.compactRequested();
        EXPECT_LE(window.journal()->journalBytes(), before);
        EXPECT_EQ(dialog.list()->rowCount(), 1);
    });
    window.actions().actPastRuns->trigger();
    EXPECT_EQ(window.journal()->pastRuns().size(), 1);
}

} // namespace
