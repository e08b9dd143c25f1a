// What the journal keeps of a run on the screen: readings that waited for a
// locked journal, the clean end after them, a save from the list while the
// run goes on, actual temperatures only while measuring, emptied cells.
#include "instruments_support.h"
#include "run_window_support.h"

#include "base/cp1251.h"
#include "control/journal_controller.h"
#include "control/past_runs_command.h"
#include "control/save_command.h"
#include "journal/journal_replay.h"
#include "journal/run_journal.h"
#include "ui/past_runs_dialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>

#include <optional>

namespace {

// Another program holding the journal's write lock.
class LockHolder {
public:
    explicit LockHolder(const QString &path) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        m_db.setDatabaseName(path);
        EXPECT_TRUE(m_db.open()) << m_db.lastError().text().toStdString();
        exec("BEGIN IMMEDIATE");
    }
    ~LockHolder() {
        release();
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(kName);
    }
    // The other program ends: while it has the file open at all, the journal cannot take it.
    void release() {
        if (m_held)
            exec("ROLLBACK");
        m_db.close();
    }

private:
    void exec(const char *sql) {
        QSqlQuery query(m_db);
        EXPECT_TRUE(query.exec(QLatin1String(sql))) << query.lastError().text().toStdString();
        m_held = !m_held;
    }
    static inline const QString kName = QStringLiteral("lock_holder");
    QSqlDatabase m_db;
    bool m_held = false;
};

QByteArray readBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class JournalKeepingTest : public RunWindowTest {
protected:
    void SetUp() override {
        RunWindowTest::SetUp();
        journal().setRetryDelay([](int) { return -1; });
        engine().setInstrumentsReady(true);
        window->ui().lblSkipIM->setText(QStringLiteral("1"));
        window->actions().actStart->trigger();
        ASSERT_TRUE(engine().isRunning());
    }
    TJournalController &journal() { return *window->journal(); }
    QString journalPath() const { return dir.filePath(QStringLiteral("runs.sqlite")); }
    void recordReading(int hz) {
        storeTemperature(20.0);
        storeMeterFrame(hz, 2);
        refreshMeter();
        ASSERT_FALSE(cell(rowOf(20), columnOf(hz)).isEmpty());
    }
    TJournalRun currentRun() {
        const std::optional<TJournalRun> run = journal().load(journal().currentRunId());
        EXPECT_TRUE(run.has_value());
        return run.value_or(TJournalRun());
    }
    static QString replayedCell(const TJournalRun &run, int row, int column) {
        for (const TJournalGridCell &c : replayRun(run).Cells)
            if (c.Row == row && c.Col == column)
                return c.Text;
        return QString();
    }
};

// Started, stopped, saved and closed while another program held the journal
// (taken before the program started: once open, the journal keeps the file to
// itself): the readings and the save go in when the window closes, and the
// next start asks nothing.
TEST_F(JournalKeepingTest, ALockedJournalGetsTheReadingsTheSaveAndTheCleanEndAtClose) {
    const QString file = dir.filePath(QStringLiteral("locked.tamrel"));
    window.reset();
    prompts.asks.clear();
    {
        LockHolder lock(journalPath());
        openWindow();
        journal().setRetryDelay([](int) { return -1; });
        engine().setInstrumentsReady(true);
        window->ui().lblSkipIM->setText(QStringLiteral("1"));
        window->actions().actStart->trigger();
        ASSERT_TRUE(engine().isRunning());
        recordReading(100);
        recordReading(1000);
        recordReading(5000);
        window->actions().actStop->trigger();
        prompts.saveAs = file;
        window->actions().actFileSaveTo->trigger();
        EXPECT_GT(journal().waitingWrites(), 0);
        QCoreApplication::processEvents();
        lock.release();
        EXPECT_TRUE(window->close());
    }
    const QStringList notices = prompts.notices();
    ASSERT_EQ(notices.size(), 1) << notices.join('|').toStdString();
    EXPECT_EQ(notices[0], QStringLiteral("Журнал измерений не ведётся: файл журнала занят "
                                         "другой программой."));

    // The program ends (its journal lets the file go) before the next one starts.
    window.reset();
    prompts.asks.clear();
    window = std::make_unique<TestWindow>(windowOptions());
    stopTimers();
    QCoreApplication::processEvents();
    const QStringList questions = prompts.questions();
    const QVector<TJournalRunSummary> runs = journal().pastRuns();
    EXPECT_TRUE(questions.isEmpty()) << questions.join('|').toStdString();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].CellCount, 3);
    EXPECT_EQ(runs[0].SavedFile, file);
    EXPECT_FALSE(runs[0].UnsavedReadings);
    EXPECT_FALSE(runs[0].Incomplete);
}

// The journal opens on its own thread once the window's events run: the window
// does not wait for it (the opening may wait seconds for another program's lock,
// or read every page after a crash), and its events run meanwhile.
TEST_F(JournalKeepingTest, TheWindowsEventsRunWhileTheJournalWaitsForALock) {
    window.reset();
    prompts.asks.clear();
    LockHolder lock(journalPath());
    window = std::make_unique<TestWindow>(windowOptions());
    stopTimers();
    bool opened = false;
    QObject::connect(window->journal(), &TJournalController::ready, window.get(),
                     [&] { opened = true; });
    std::optional<bool> openedWhenEventsRan;
    QMetaObject::invokeMethod(
        window.get(), [&] { openedWhenEventsRan = opened; }, Qt::QueuedConnection);
    ASSERT_TRUE(waitUntil([&] { return opened; }, 30000));
    ASSERT_TRUE(openedWhenEventsRan.has_value());
    EXPECT_FALSE(*openedWhenEventsRan);
    EXPECT_EQ(prompts.notices(), QStringList{QStringLiteral(
                                     "Журнал измерений не ведётся: файл журнала занят "
                                     "другой программой.")});
}

// The file is made from the journal at the click; a reading taken while the
// file dialog is open is in no file and stays unsaved.
TEST_F(JournalKeepingTest, SavingTheRunningRunFromTheListLeavesLaterReadingsUnsaved) {
    recordReading(100);
    const qint64 run = journal().currentRunId();
    const QString file = dir.filePath(QStringLiteral("from-list.tamrel"));
    window->pastRunsCommand()->setDialogShown([&](PastRunsDialog &dialog) {
        prompts.onSaveFile = [&](const TFileRequest &) {
            recordReading(1000);
            return file;
        };
        emit dialog.saveRequested(run);
        EXPECT_EQ(dialog.list()->item(0, 5)->text(),
                  QStringLiteral("%1 (есть отсчёты после сохранения)")
                      .arg(QDir::toNativeSeparators(file)));
    });
    window->actions().actPastRuns->trigger();
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(journal().hasUnsavedReadings());
    const QVector<TJournalRunSummary> runs = journal().pastRuns();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_TRUE(runs[0].UnsavedReadings);
    EXPECT_EQ(runs[0].SavedFile, file);
}

// Row 71 is 20 degrees. The thermometer goes on writing into column 1; the
// journal keeps the temperature the row was measured at.
TEST_F(JournalKeepingTest, ActualTemperaturesAreJournaledOnlyWhileMeasuring) {
    recordReading(100);
    storeTemperature(20.0);
    refreshMeter();
    window->actions().actStop->trigger();
    const qint64 run = journal().currentRunId();
    storeTemperature(20.2);
    refreshMeter();
    EXPECT_EQ(cell(rowOf(20), 1), QStringLiteral("20,2"));
    ASSERT_TRUE(journal().openRun(run));
    storeTemperature(20.1);
    refreshMeter();
    const TJournalRun kept = currentRun();
    ASSERT_EQ(kept.ActualTemperatures.size(), 1);
    EXPECT_EQ(kept.ActualTemperatures[0].Text, QStringLiteral("20"));
}

// A double click empties a cell: the journal counts it no more and gives it
// back empty, until a new reading fills it.
TEST_F(JournalKeepingTest, AnEmptiedCellStaysEmptyInTheJournalUntilMeasuredAgain) {
    recordReading(100);
    recordReading(1000);
    emit grid()->cellDoubleClicked(rowOf(20), columnOf(100));
    ASSERT_TRUE(cell(rowOf(20), columnOf(100)).isEmpty());
    TJournalRun run = currentRun();
    EXPECT_EQ(run.Summary.CellCount, 1);
    EXPECT_TRUE(replayedCell(run, rowOf(20), columnOf(100)).isEmpty());
    EXPECT_FALSE(replayedCell(run, rowOf(20), columnOf(1000)).isEmpty());

    recordReading(100);
    run = currentRun();
    EXPECT_EQ(run.Summary.CellCount, 2);
    EXPECT_EQ(replayedCell(run, rowOf(20), columnOf(100)), cell(rowOf(20), columnOf(100)));
}

// The meter now stands on another range than at the run's newest reading:
// the main window's save and the list's save head the file alike, with the
// reading's range.
TEST_F(JournalKeepingTest, BothSavesTakeTheHeaderFromTheNewestReading) {
    recordReading(1000);
    window->actions().actStop->trigger();
    MeterDisplayState other = MeterModel(1000).display(20.0);
    other.autoRange = false;
    other.rangeCode = 1;
    storeFrame(EncodeMeterFrame(other));

    const QString fromWindow = dir.filePath(QStringLiteral("window.tamrel"));
    const QString fromList = dir.filePath(QStringLiteral("list.tamrel"));
    prompts.saveAs = fromWindow;
    window->actions().actFileSaveTo->trigger();
    const qint64 run = journal().currentRunId();
    window->pastRunsCommand()->setDialogShown([&](PastRunsDialog &dialog) {
        prompts.saveAs = fromList;
        emit dialog.saveRequested(run);
        EXPECT_EQ(dialog.list()->item(0, 5)->text(), QDir::toNativeSeparators(fromList));
    });
    window->actions().actPastRuns->trigger();
    const QByteArray windowBytes = readBytes(fromWindow);
    EXPECT_FALSE(windowBytes.isEmpty());
    EXPECT_EQ(windowBytes, readBytes(fromList));
    EXPECT_FALSE(windowBytes.contains(cp1251::encode(newestMeterRecord().IM.LimitText)))
        << "the live range is not the reading's";
}

// A copy of runs.sqlite alone, taken after a stop or a save, holds the run
// as it stands.
TEST_F(JournalKeepingTest, AfterAStopAndAfterASaveTheFileAloneHoldsTheRun) {
    QTemporaryDir copies;
    auto runInFileAlone = [&](const QString &name) {
        journal().waitingWrites();
        const QString copy = copies.filePath(name);
        EXPECT_TRUE(QFile::copy(journalPath(), copy));
        TRunJournal alone;
        EXPECT_TRUE(alone.open(copy).ok);
        std::optional<TJournalRun> run;
        EXPECT_TRUE(alone.loadRun(journal().currentRunId(), &run).ok);
        return run.value_or(TJournalRun());
    };
    recordReading(100);
    recordReading(1000);
    window->actions().actStop->trigger();
    const TJournalRun stopped = runInFileAlone(QStringLiteral("stopped.sqlite"));
    ASSERT_EQ(stopped.Segments.size(), 1);
    EXPECT_EQ(stopped.Segments[0].Readings.size(), 2);

    const QString file = dir.filePath(QStringLiteral("saved.tamrel"));
    prompts.saveAs = file;
    window->actions().actFileSaveTo->trigger();
    EXPECT_EQ(runInFileAlone(QStringLiteral("saved.sqlite")).Summary.SavedFile, file);
}

// A start stopped before its first reading leaves no run behind; the next
// start begins the one the readings go to.
TEST_F(JournalKeepingTest, AStopBeforeTheFirstReadingKeepsNoRun) {
    window->actions().actStop->trigger();
    window->actions().actStart->trigger();
    ASSERT_TRUE(engine().isRunning());
    recordReading(100);
    const QVector<TJournalRunSummary> runs = journal().pastRuns();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].Id, journal().currentRunId());
    EXPECT_EQ(runs[0].CellCount, 1);
}

} // namespace
