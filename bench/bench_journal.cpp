// The run journal on the real disk:
//  1. the cost of recording one cell, a transaction committed with
//     synchronous=FULL (mean, 99th percentile and worst, in milliseconds),
//     and the bytes each writes to the log;
//  2. how long opening waits when another program holds the file's lock;
//  3. what the window's thread spends on a recorded cell: handing it to the
//     journal's own thread, where the commit waits for the disk (mean and
//     worst, in microseconds), and how long until every handed cell is committed;
//  4. loading and replaying a run of 10 000 set points by 20 frequencies,
//     every cell recorded once: as the program before did it (a file of 4 KB
//     pages, each reading found through the index, each time parsed in full)
//     and as it does now, on such an older file and on a file of its own.
//
//   bench_journal [cells [folder]]    (defaults: 2000 cells, the current folder)
//
// The large run is written in one transaction on a memory disk (/dev/shm)
// with the journal's own statements and then copied into the folder, so that
// its 200 000 readings take seconds rather than the minutes 200 000 commits take.
#include "base/event_rec.h"
#include "control/journal_thread.h"
#include "journal/journal_replay.h"
#include "journal/run_journal.h"
#include "run/set_points.h"
#include "serial/platform.h"

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
#include <ctime>
#include <numeric>
#include <vector>

namespace {

constexpr int kFrequencies = 20;

double ms(qint64 nanoseconds) {
    return nanoseconds / 1e6;
}

bool check(const TJournalOutcome &outcome, const char *what) {
    if (!outcome.ok)
        std::fprintf(stderr, "%s: fault %d %s\n", what, int(outcome.fault),
                     qPrintable(outcome.detail));
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
// of the table and frequency index `col`. Its values differ from cell to
// cell, as a real run's do; the names and units stay.
TJournalReading reading(const TJournalTable &t, int row, int col) {
    const int n = row * kFrequencies + col;
    const QString main = QStringLiteral("1,%1").arg(n % 10000, 4, 10, QLatin1Char('0'));
    const QString loss = QStringLiteral("0,0%1").arg(n % 1000, 3, 10, QLatin1Char('0'));
    TEventRec E;
    E.Time = QDateTime::currentDateTime();
    E.RawData[0] = 0xAA;
    E.RawData[1] = static_cast<uint8_t>(n);
    E.RawData[2] = static_cast<uint8_t>(n >> 8);
    E.Temperature = t.TempStorage.Items.at(row).SetPoint;
    E.Frequency = 1000 * (col + 1);
    E.IM.MainName = QStringLiteral("Cp");
    E.IM.MainValue = main;
    E.IM.MainUnit = QStringLiteral("nF");
    E.IM.MainBase = main + QStringLiteral("E-9");
    E.IM.SecName = QStringLiteral("D");
    E.IM.SecValue = loss;
    E.IM.SecUnit = QStringLiteral(" ");
    E.IM.SecBase = loss;
    const TFreqItem fi{E.Frequency, 2 + col, col};
    const QString text = QStringLiteral("Cp %1 nF;---------; D %2  ").arg(main, loss);
    return journalReadingOf(E, t.TempStorage.Items.at(row), fi, text);
}

// Another program holds the write lock when the journal opens: the opening
// gives up after its busy timeout.
bool benchLockedOpen(const QString &path) {
    const QString name = QStringLiteral("bench_lock_holder");
    qint64 waited = 0;
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        holder.setDatabaseName(path);
        QSqlQuery lock(holder);
        if (!holder.open() || !lock.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            std::fprintf(stderr, "cannot take the lock: %s\n", qPrintable(lock.lastError().text()));
            return false;
        }
        QElapsedTimer timer;
        timer.start();
        TRunJournal journal;
        const TJournalOutcome outcome = journal.open(path);
        waited = timer.nsecsElapsed();
        if (outcome.fault != TJournalFault::Locked) {
            std::fprintf(stderr, "opening under the lock did not report it\n");
            return false;
        }
        lock.exec(QStringLiteral("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase(name);
    std::printf("opening against a held lock gives up after %.1f ms\n", ms(waited));
    return true;
}

// The log's growth over the first readings after a checkpoint (before the
// automatic checkpoint starts it over): what one reading's commit writes.
bool benchCellCost(const QString &folder, int cells) {
    QTemporaryDir dir(QDir(folder).filePath(QStringLiteral("bench_journal-XXXXXX")));
    const QString path = dir.filePath(QStringLiteral("runs.sqlite"));
    std::vector<qint64> costs;
    constexpr int kLogSample = 100;
    qint64 logBytes = 0;
    {
        TRunJournal journal;
        if (!check(journal.open(path), "open"))
            return false;
        const TJournalTable t = table(100);
        qint64 runId = 0;
        if (!check(journal.beginRun(t, start(), &runId), "begin run") ||
            !check(journal.checkpoint(), "checkpoint"))
            return false;
        QElapsedTimer timer;
        for (int n = 0; n < cells; ++n) {
            const TJournalReading r = reading(t, n / kFrequencies % 100, n % kFrequencies);
            timer.start();
            if (!check(journal.recordReading(runId, r), "record"))
                return false;
            costs.push_back(timer.nsecsElapsed());
            if (n + 1 == kLogSample)
                logBytes = QFileInfo(path + QStringLiteral("-wal")).size();
        }
        journal.markCleanShutdown();
    }
    std::sort(costs.begin(), costs.end());
    const double mean = ms(std::accumulate(costs.begin(), costs.end(), qint64(0))) / cells;
    const qint64 p99 = costs.at(std::min<size_t>(costs.size() - 1, costs.size() * 99 / 100));
    std::printf("recorded cell, synchronous=FULL, %d cells in %s:\n"
                "  mean %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
                cells, qPrintable(QDir(folder).absolutePath()), mean, ms(p99), ms(costs.back()));
    if (cells >= kLogSample)
        std::printf("  %.0f bytes written to the log per cell (over the first %d)\n",
                    double(logBytes) / kLogSample, kLogSample);
    return benchLockedOpen(path);
}

bool exec(QSqlQuery &query, const QString &sql) {
    if (query.exec(sql))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(query.lastError().text()));
    return false;
}

// Runs `work` on a connection of its own to `path`, closed afterwards.
template <typename Work> bool withConnection(const QString &path, Work work) {
    const QString name = QStringLiteral("bench_journal_raw");
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        done = db.open() && work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return done;
}

// A run of `rows` set points by kFrequencies, every cell read once, in a new
// file of `pageSize` pages (the program before made 4 KB ones). The journal
// begins it; its readings go in with the journal's statements in one transaction.
bool makeBigRun(const QString &path, int pageSize, int rows, qint64 *runId) {
    if (!withConnection(path, [pageSize](QSqlDatabase &db) {
            QSqlQuery query(db);
            return exec(query, QStringLiteral("PRAGMA page_size = %1").arg(pageSize)) &&
                   exec(query, QStringLiteral("PRAGMA journal_mode = WAL"));
        }))
        return false;
    const TJournalTable t = table(rows);
    {
        TRunJournal journal;
        if (!check(journal.open(path), "open") ||
            !check(journal.beginRun(t, start(), runId), "begin run") ||
            !check(journal.markCleanShutdown(), "clean end"))
            return false;
    }
    return withConnection(path, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (!exec(query, QStringLiteral("BEGIN")))
            return false;
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO readings (run_id, start_no, grid_row, grid_col, csv_row, csv_col, "
            "recorded_at, set_point, temperature, freq_hz, frame, main_name, main_value, "
            "main_unit, main_base, sec_name, sec_value, sec_unit, sec_base, cell_text) "
            "VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QSqlQuery cell(db);
        cell.prepare(QStringLiteral("INSERT OR REPLACE INTO cells (run_id, grid_row, grid_col, "
                                    "seq) VALUES (?, ?, ?, last_insert_rowid())"));
        QDateTime time = QDateTime::currentDateTime();
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < kFrequencies; ++col) {
                const TJournalReading r = reading(t, row, col);
                time = time.addMSecs(400);
                for (const QVariant &value :
                     {QVariant(*runId), QVariant(r.Row), QVariant(r.Col), QVariant(r.TempIndex),
                      QVariant(r.FreqIndex), QVariant(time.toString(Qt::ISODateWithMs)),
                      QVariant(r.SetPoint), QVariant(r.Temperature), QVariant(r.FrequencyHz),
                      QVariant(r.Frame), QVariant(r.MainName), QVariant(r.MainValue),
                      QVariant(r.MainUnit), QVariant(r.MainBase), QVariant(r.SecName),
                      QVariant(r.SecValue), QVariant(r.SecUnit), QVariant(r.SecBase),
                      QVariant(r.CellText)})
                    insert.addBindValue(value);
                cell.addBindValue(*runId);
                cell.addBindValue(r.Row);
                cell.addBindValue(r.Col);
                if (!insert.exec() || !cell.exec()) {
                    std::fprintf(stderr, "insert: %s\n", qPrintable(insert.lastError().text()));
                    return false;
                }
            }
        }
        return exec(query, QStringLiteral("COMMIT")) &&
               exec(query, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    });
}

// How the program before read a run's readings: through the index on the
// run, every value and time converted on its own.
bool loadAsBefore(const QString &path, qint64 runId, qint64 *count) {
    return withConnection(path, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(
            QStringLiteral("SELECT start_no, grid_row, grid_col, csv_row, csv_col, recorded_at, "
                           "set_point, temperature, freq_hz, frame, main_name, main_value, "
                           "main_unit, main_base, sec_name, sec_value, sec_unit, sec_base, "
                           "cell_text, seq FROM readings WHERE run_id = ? ORDER BY seq"));
        query.addBindValue(runId);
        if (!query.exec())
            return false;
        QVector<TJournalReading> readings;
        while (query.next()) {
            TJournalReading r;
            r.Row = query.value(1).toInt();
            r.Col = query.value(2).toInt();
            r.TempIndex = query.value(3).toInt();
            r.FreqIndex = query.value(4).toInt();
            r.Time = QDateTime::fromString(query.value(5).toString(), Qt::ISODateWithMs);
            r.SetPoint = query.value(6).toDouble();
            r.Temperature = query.value(7).toDouble();
            r.FrequencyHz = query.value(8).toInt();
            r.Frame = query.value(9).toByteArray();
            r.MainName = query.value(10).toString();
            r.MainValue = query.value(11).toString();
            r.MainUnit = query.value(12).toString();
            r.MainBase = query.value(13).toString();
            r.SecName = query.value(14).toString();
            r.SecValue = query.value(15).toString();
            r.SecUnit = query.value(16).toString();
            r.SecBase = query.value(17).toString();
            r.CellText = query.value(18).toString();
            r.Seq = query.value(19).toLongLong();
            readings.append(r);
        }
        *count = readings.size();
        return true;
    });
}

// CPU time of this process so far, in nanoseconds (both threads of the
// journal's work run here).
qint64 cpuNanoseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct Spent {
    double wall = -1; // milliseconds
    double cpu = -1;
};

// The middle of three tries by wall time, with the CPU time of that try.
// `prepare` runs before each, untimed (it frees what the last try loaded).
template <typename Prepare, typename Try> Spent median3(Prepare prepare, Try attempt) {
    std::vector<Spent> tries;
    QElapsedTimer timer;
    for (int i = 0; i < 3; ++i) {
        prepare();
        const qint64 cpu = cpuNanoseconds();
        timer.start();
        if (!attempt())
            return {};
        tries.push_back({ms(timer.nsecsElapsed()), ms(cpuNanoseconds() - cpu)});
    }
    std::sort(tries.begin(), tries.end(),
              [](const Spent &a, const Spent &b) { return a.wall < b.wall; });
    return tries[1];
}

bool benchLoadAndReplay(const QString &folder, int rows) {
    const QString memory = QStringLiteral("/dev/shm");
    QTemporaryDir fillDir((QFileInfo(memory).isDir() ? QDir(memory) : QDir(folder))
                              .filePath(QStringLiteral("bench_journal-XXXXXX")));
    QTemporaryDir diskDir(QDir(folder).filePath(QStringLiteral("bench_journal-XXXXXX")));
    struct File {
        int pageSize;
        QString path;
        qint64 runId = 0;
    };
    File files[] = {{4096, diskDir.filePath(QStringLiteral("older.sqlite"))},
                    {TRunJournal::kPageSize, diskDir.filePath(QStringLiteral("runs.sqlite"))}};
    QElapsedTimer timer;
    for (File &file : files) {
        timer.start();
        const QString filled = fillDir.filePath(QFileInfo(file.path).fileName());
        if (!makeBigRun(filled, file.pageSize, rows, &file.runId))
            return false;
        if (!QFile::copy(filled, file.path)) {
            std::fprintf(stderr, "cannot copy %s to %s\n", qPrintable(filled),
                         qPrintable(file.path));
            return false;
        }
        std::printf("run of %d x %d readings written in %.1f s, file of %d-byte pages %.1f MB\n",
                    rows, kFrequencies, timer.elapsed() / 1000.0, file.pageSize,
                    QFileInfo(file.path).size() / 1e6);
    }

    qint64 count = 0;
    const Spent before = median3(
        [] {}, [&] { return loadAsBefore(files[0].path, files[0].runId, &count); });
    std::printf("load of the run (median of 3, wall and CPU time):\n"
                "  before: %.0f ms, CPU %.0f ms (%lld readings, the older file)\n",
                before.wall, before.cpu, static_cast<long long>(count));
    for (const File &file : files) {
        TRunJournal journal;
        if (!check(journal.open(file.path), "open"))
            return false;
        std::optional<TJournalRun> run;
        const Spent loaded = median3([&] { run.reset(); },
                                     [&] {
                                         return check(journal.loadRun(file.runId, &run), "load") &&
                                                run.has_value();
                                     });
        if (loaded.wall < 0)
            return false;
        timer.start();
        const TJournalReplay replay = replayRun(*run);
        std::printf("  now:    %.0f ms, CPU %.0f ms (%s file), then replay %.0f ms (%lld grid "
                    "cells)\n",
                    loaded.wall, loaded.cpu,
                    file.pageSize == TRunJournal::kPageSize ? "its own" : "the older",
                    ms(timer.nsecsElapsed()), static_cast<long long>(replay.Cells.size()));
    }
    std::printf("  goal: at most 300 ms\n");
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
    // As the program starts.
    platform::readTheTimeZoneOnce();
    platform::keepLargeBlocksOutOfTheHeap();
    QCoreApplication app(argc, argv);
    const int cells = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::currentPath();
    if (!benchCellCost(folder, cells) || !benchHandOff(folder, cells) ||
        !benchLoadAndReplay(folder, 10000))
        return 1;
    return 0;
}
