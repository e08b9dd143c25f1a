// The run journal on the real disk:
//  1. the cost of recording one cell, a transaction committed with
//     synchronous=FULL (mean, 99th percentile and worst, in milliseconds);
//  2. how long a write waits when another program holds the file's lock;
//  3. what the window's thread spends on a recorded cell: handing it to the
//     journal's own thread, where the commit waits for the disk (mean and
//     worst, in microseconds), and how long until every handed cell is committed;
//  4. opening the journal (which checks every page), loading and replaying a
//     run of 10 000 set points by 20 frequencies, every cell recorded once.
//
//   bench_journal [cells [folder]]    (defaults: 2000 cells, the current folder)
//
// The large run is recorded through the journal itself on a memory disk
// (/dev/shm, where a commit costs no disk flush) and then copied into the
// folder, so that its 200 000 commits take seconds rather than minutes.
#include "base/event_rec.h"
#include "control/journal_thread.h"
#include "journal/journal_replay.h"
#include "journal/run_journal.h"
#include "run/set_points.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

constexpr int kFrequencies = 20;

double ms(qint64 nanoseconds) {
    return nanoseconds / 1e6;
}

bool check(const TJournalOutcome &outcome, const char *what) {
    if (!outcome.ok)
        std::fprintf(stderr, "%s: %s\n", what, qPrintable(outcome.message));
    return outcome.ok;
}

// A table of `rows` set points 0,01 apart and the first start over it.
TJournalTable table(int rows) {
    TJournalTable t;
    const SetPointTable points = generateSetPoints(-50.0, -50.0 + 0.01 * (rows - 1), 0.01, 0.003,
                                                   t.DecimalSeparator, t.TempStorage);
    for (const SetPointRow &row : points.rows)
        t.SetPointTexts << row.text;
    return t;
}

TJournalStart start() {
    TJournalStart s;
    s.Time = QDateTime::currentDateTime();
    for (int i = 0; i < kFrequencies; ++i)
        s.Frequencies << 1000 * (i + 1);
    s.SkipPacketCount = 6;
    return s;
}

// A Cp/D reading as the capture hands it over, for the cell of item `row`
// of the table and frequency index `col`.
TJournalReading reading(const TJournalTable &t, int row, int col) {
    TEventRec E;
    E.Time = QDateTime::currentDateTime();
    E.RawData[0] = 0xAA;
    E.Temperature = t.TempStorage.Items.at(row).SetPoint;
    E.Frequency = 1000 * (col + 1);
    E.IM.MainName = QStringLiteral("Cp");
    E.IM.MainValue = QStringLiteral("1,5234");
    E.IM.MainUnit = QStringLiteral("nF");
    E.IM.MainBase = QStringLiteral("1,5234E-9");
    E.IM.SecName = QStringLiteral("D");
    E.IM.SecValue = QStringLiteral("0,0123");
    E.IM.SecUnit = QStringLiteral(" ");
    E.IM.SecBase = QStringLiteral("0,0123");
    const TFreqItem fi{E.Frequency, 2 + col, col};
    const QString text = QStringLiteral("Cp 1,5234 nF;---------; D 0,0123  ");
    return journalReadingOf(E, t.TempStorage.Items.at(row), fi, text);
}

// Another connection takes the write lock; the journal's next write gives up
// after its busy timeout and stops the journal.
bool benchLockedWrite(TRunJournal &journal, qint64 runId, const TJournalTable &t) {
    const QString name = QStringLiteral("bench_lock_holder");
    qint64 waited = 0;
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        holder.setDatabaseName(journal.path());
        QSqlQuery lock(holder);
        if (!holder.open() || !lock.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            std::fprintf(stderr, "cannot take the lock: %s\n", qPrintable(lock.lastError().text()));
            return false;
        }
        QElapsedTimer timer;
        timer.start();
        const TJournalOutcome outcome = journal.recordReading(runId, reading(t, 0, 0));
        waited = timer.nsecsElapsed();
        if (outcome.fault != TJournalFault::Locked) {
            std::fprintf(stderr, "a write under the lock did not report it\n");
            return false;
        }
        lock.exec(QStringLiteral("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase(name);
    std::printf("write against a held lock gives up after %.1f ms\n", ms(waited));
    return true;
}

bool benchCellCost(const QString &folder, int cells) {
    QTemporaryDir dir(QDir(folder).filePath(QStringLiteral("bench_journal-XXXXXX")));
    TRunJournal journal;
    if (!check(journal.open(dir.filePath(QStringLiteral("runs.sqlite"))), "open"))
        return false;
    const TJournalTable t = table(100);
    qint64 runId = 0;
    if (!check(journal.beginRun(t, start(), &runId), "begin run"))
        return false;
    std::vector<qint64> costs;
    QElapsedTimer timer;
    for (int n = 0; n < cells; ++n) {
        const TJournalReading r = reading(t, n / kFrequencies % 100, n % kFrequencies);
        timer.start();
        if (!check(journal.recordReading(runId, r), "record"))
            return false;
        costs.push_back(timer.nsecsElapsed());
    }
    std::sort(costs.begin(), costs.end());
    const double mean = ms(std::accumulate(costs.begin(), costs.end(), qint64(0))) / cells;
    const qint64 p99 = costs.at(std::min<size_t>(costs.size() - 1, costs.size() * 99 / 100));
    std::printf("recorded cell, synchronous=FULL, %d cells in %s:\n"
                "  mean %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
                cells, qPrintable(QDir(folder).absolutePath()), mean, ms(p99), ms(costs.back()));
    return benchLockedWrite(journal, runId, t);
}

bool benchLoadAndReplay(const QString &folder, int rows) {
    const QString memory = QStringLiteral("/dev/shm");
    QTemporaryDir fillDir((QFileInfo(memory).isDir() ? QDir(memory) : QDir(folder))
                              .filePath(QStringLiteral("bench_journal-XXXXXX")));
    QTemporaryDir diskDir(QDir(folder).filePath(QStringLiteral("bench_journal-XXXXXX")));
    const QString filled = fillDir.filePath(QStringLiteral("runs.sqlite"));
    const QString path = diskDir.filePath(QStringLiteral("runs.sqlite"));
    const TJournalTable t = table(rows);
    qint64 runId = 0;
    QElapsedTimer timer;
    timer.start();
    {
        TRunJournal journal;
        if (!check(journal.open(filled), "open") ||
            !check(journal.beginRun(t, start(), &runId), "begin run"))
            return false;
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < kFrequencies; ++col) {
                if (!check(journal.recordReading(runId, reading(t, row, col)), "record"))
                    return false;
            }
        }
    }
    if (!QFile::copy(filled, path)) {
        std::fprintf(stderr, "cannot copy %s to %s\n", qPrintable(filled), qPrintable(path));
        return false;
    }
    std::printf("run of %d x %d readings recorded in %.1f s, file %.1f MB\n", rows, kFrequencies,
                timer.elapsed() / 1000.0, QFileInfo(path).size() / 1e6);

    TRunJournal journal;
    timer.start();
    if (!check(journal.open(path), "open"))
        return false;
    const qint64 opened = timer.nsecsElapsed();
    std::optional<TJournalRun> run;
    timer.start();
    if (!check(journal.loadRun(runId, &run), "load") || !run)
        return false;
    const qint64 loaded = timer.nsecsElapsed();
    timer.start();
    const TJournalReplay replay = replayRun(*run);
    const qint64 replayed = timer.nsecsElapsed();
    std::printf("open with page check %.0f ms, load %.0f ms, replay %.0f ms (%lld grid cells, "
                "%lld CSV blocks)\n",
                ms(opened), ms(loaded), ms(replayed), static_cast<long long>(replay.Cells.size()),
                static_cast<long long>(replay.CSVTable.ParamNames().size()));
    return true;
}

} // namespace

bool benchHandOff(const QString &folder, int cells) {
    QTemporaryDir dir(QDir(folder).filePath(QStringLiteral("bench_journal-XXXXXX")));
    TJournalThread thread;
    const QString path = dir.filePath(QStringLiteral("runs.sqlite"));
    if (!check(thread.call([&](TRunJournal &journal) { return journal.open(path); }), "open"))
        return false;
    const TJournalTable t = table(100);
    qint64 runId = 0;
    if (!check(thread.call([&](TRunJournal &j) { return j.beginRun(t, start(), &runId); }),
               "begin run"))
        return false;
    std::vector<qint64> costs;
    QElapsedTimer timer;
    QElapsedTimer all;
    all.start();
    for (int n = 0; n < cells; ++n) {
        const TJournalReading r = reading(t, n / kFrequencies % 100, n % kFrequencies);
        timer.start();
        thread.post([runId, r](TRunJournal &journal) { return journal.recordReading(runId, r); });
        costs.push_back(timer.nsecsElapsed());
    }
    const qint64 handed = all.nsecsElapsed();
    thread.call([](TRunJournal &) { return TJournalOutcome{}; });
    const qint64 committed = all.nsecsElapsed();
    const double mean = std::accumulate(costs.begin(), costs.end(), 0.0) / costs.size();
    std::printf("handing a cell to the journal's thread (window thread): mean %.1f us, worst %.1f "
                "us over %d cells (all handed in %.1f ms, all committed after %.1f ms)\n",
                mean / 1e3, *std::max_element(costs.begin(), costs.end()) / 1e3, cells, ms(handed),
                ms(committed));
    return true;
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int cells = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::currentPath();
    if (!benchCellCost(folder, cells) || !benchHandOff(folder, cells) ||
        !benchLoadAndReplay(folder, 10000))
        return 1;
    return 0;
}
