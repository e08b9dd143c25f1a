#pragma once

#include "base/event_rec.h"
#include "files/csv_table.h"
#include "journal/journal_outcome.h"
#include "journal/journal_records.h"
#include "journal/run_journal.h"
#include "run/freq_storage.h"
#include "run/temp_storage.h"

#include <QMap>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

#include <cstdint>

// The journal file's usual name in a test folder.
QString journalFile(const QTemporaryDir &dir);

// Meter parameter codes of the display.
namespace param {
constexpr uint8_t Cp = 0;
constexpr uint8_t Q = 6;
constexpr uint8_t Rs = 9;
constexpr uint8_t D = 13;
} // namespace param

// A meter record as the event store hands it to the capture: a real frame
// made by the simulator's encoder and decoded by the program's decoder, with
// its temperature and frequency stamps.
TEventRec meterRecord(uint8_t mainCode, double mainValue, uint8_t secondaryCode,
                      double secondaryValue, int frequencyHz, double temperature);

// The text the results grid shows for a reading.
QString cellTextOf(const TIMPacket &im);

// What the program holds while a run fills its table, built with the same
// calls the table preparation, the run start and the capture make, every step
// also recorded in a journal.
class RecordedRun {
public:
    RecordedRun(TRunJournal &journal, double tempInit, double tempFinal, double tempStep,
                double tempDiff);

    // The first start begins the run in the journal; later ones restart it.
    void start(const QVector<int32_t> &frequencies, uint8_t skipPacketCount = 6);
    // A settled reading during the run; false when it matched no cell.
    bool capture(const TEventRec &E);
    void actualTemperature(double t);

    qint64 id() const { return m_id; }
    TRunJournal &journal() { return m_journal; }

    QChar separator = QLatin1Char(',');
    QStringList setPointTexts;
    TTempStorage temps;
    TFreqStorage freqs;
    TCSVTable csv;
    QMap<QPair<int, int>, QString> grid; // (row, col) -> text
    int colCount = 0;
    TIMPacket lastPacket;

private:
    TRunJournal &m_journal;
    qint64 m_id = 0;
    int m_startCount = 0;
};

// A connection of the test's own to a database file, removed with this object.
class SideConnection {
public:
    explicit SideConnection(const QString &path, const QString &options = QString());
    ~SideConnection();
    SideConnection(const SideConnection &) = delete;
    SideConnection &operator=(const SideConnection &) = delete;

    bool exec(const QString &sql);
    // exec() that may fail (a lock another connection holds).
    bool tryExec(const QString &sql);
    // The first column of the first row.
    QVariant value(const QString &sql);
    QSqlDatabase &db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

// The child mode of the test program: opens the journal at the path and
// prints the fault number, whether it is told and the path, one per line. Runs when the
// program is started with kOpenJournalArg and a path.
inline constexpr char kOpenJournalArg[] = "--open-journal";
int reportJournalOpen(const QString &path);
