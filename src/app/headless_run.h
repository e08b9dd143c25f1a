#pragma once

#include "engine/run_clock.h"
#include "engine/run_file.h"

#include <QObject>
#include <QTimer>

#include <cstdio>
#include <memory>

class EngineJournal;
struct TJournalReading;
class RunEngine;
class TJournalThread;
class TSerComPort;
class TempLineAssembler;

// Exit codes of a run without a window.
namespace headlessexit {
constexpr int TableFull = 0;  // the table is full and saved
constexpr int Failed = 1;     // the ports could not be opened or the file written
constexpr int BadRunFile = 2; // nothing was done
constexpr int Stopped = 3;    // SIGINT or SIGTERM: what the table held is saved
constexpr int OtherCopy = 4;  // another copy of the program is running
} // namespace headlessexit

// A run of the engine with the instruments' ports and the journal, and no
// window: progress lines go to standard output, problems to standard error.
// The run ends when the table is full or a termination signal arrives; either
// way the measurement file is written, and finished() gives the exit code.
class HeadlessRun : public QObject {
    Q_OBJECT
public:
    // `portsFolder` and `journalPath` serve when the run file names none.
    HeadlessRun(const RunFile &run, const QString &portsFolder, const QString &journalPath,
                QObject *parent = nullptr);
    ~HeadlessRun() override;

    // Opens the journal and the ports and starts the run; false (with the
    // reason said) when it cannot.
    bool start();

    // Why a run file was refused, as the user reads it.
    static QString problemText(const RunFileOutcome &outcome);

signals:
    void finished(int exitCode);

private:
    void say(const QString &line);
    void complain(const QString &line);
    void meterTrigger(quint16 reported);
    void thermometerAvail(quint16 count);
    void schedule();
    void onReading(const TJournalReading &reading);
    void finish(int exitCode, const QString &why);
    void checkSignals();

    RunFile m_run;
    QString m_portsFolder;
    QString m_journalPath;
    SteadyRunClock m_clock;
    RunEngine *m_engine;
    TJournalThread *m_journal;
    EngineJournal *m_engineJournal;
    TSerComPort *m_meterPort;
    TSerComPort *m_thermometerPort;
    std::unique_ptr<TempLineAssembler> m_lines;
    QTimer m_due;
    QTimer m_signalWatch;
    QByteArray m_headerFrame; // the frame of the newest reading, which heads the file
    bool m_finished = false;
};

// Makes SIGINT and SIGTERM end a run without a window gracefully.
void catchTerminationSignals();
