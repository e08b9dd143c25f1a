#pragma once

#include "engine/capture_rule.h"
#include "engine/link_state.h"
#include "engine/results_table.h"
#include "engine/run_clock.h"
#include "engine/run_parameters.h"
#include "engine/run_periods.h"
#include "engine/step_pace.h"
#include "files/csv_table.h"
#include "journal/journal_records.h"
#include "model/event_store.h"
#include "run/freq_stepping.h"
#include "run/freq_storage.h"
#include "run/freq_worker.h"
#include "run/temp_storage.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

// Where a run stands: no table yet, a table prepared, readings being taken,
// or taking none after a stop (the table keeps what it holds).
enum class RunPhase { NoTable, Prepared, Running, Stopped };

// Why a start was refused; the run's phase does not change.
enum class StartRefusal {
    None,
    NoTable,
    BadFrequencies, // a frequency is not one the meter can be stepped to, or the row does not
                    // ascend
    BadSkipCount,
    DevicesMissing, // the instruments' ports are not open
};

// The measurement run, with a window or without. It takes the meter's frames
// and the thermometer's lines as they arrive and does, at the times its clock
// says, the display refreshes (which capture readings and actual
// temperatures), the watchdogs (which mark a silent link lost and store the
// empty records that count towards the settling) and the steps of a frequency
// change (one key each). Call advance() whenever the clock may have passed
// nextDueMs(). An input counts before what fell due while it waited to be
// read: its data came in time to keep a watchdog quiet, and a step is decided
// from the newest frame.
class RunEngine : public QObject {
    Q_OBJECT
public:
    static constexpr int kStepPeriodMs = runperiods::kStepMs;

    // Writes one key code to the meter; false when it did not go out.
    using KeySender = std::function<bool(uint8_t code)>;

    RunEngine(const RunClock &clock, QChar decimalSeparator, QObject *parent = nullptr);

    void setKeySender(KeySender sender) { m_sendKey = std::move(sender); }
    // Deadlines already set keep their time; the new periods count from the next.
    void setPeriods(const RunPeriods &periods);
    const RunPeriods &periods() const { return m_periods; }
    const RunClock &clock() const { return m_clock; }

    // A link's port was opened (its refresh and watchdog run) or closed (both
    // stop). Keys go out only while the meter's is open.
    void setLinkOpen(LinkKind kind, bool open);
    // Keeps a link's watchdog counting, open or not: a panel turns red while
    // its instrument sends nothing, even before its port could be opened.
    void armWatchdog(LinkKind kind);
    // Both instruments are there to run with: a start and the steps need it.
    void setInstrumentsReady(bool ready) { m_portsOpen = ready; }
    // Both links opened or closed, and the instruments ready or not.
    void setPortsOpen(bool open);
    bool portsOpen() const { return m_portsOpen; }

    // Lays out a fresh table from the set points and frequencies of `p`. A
    // table that cannot be laid out changes nothing.
    SetPointError prepareTable(const RunParameters &p);
    StartRefusal start(int skipCount);
    void stop();

    // The pieces of a start, for a caller that asks the user in between:
    // checks the typed frequencies into the frequency storage and, when they
    // pass, sizes and titles the CSV table by the storages.
    bool takeFrequencies(const QStringList &frequencyTexts);
    void sizeCsvTable();
    // Frames that settle after a key before one counts; a start keeps it.
    void setSkipCount(uint8_t count) { m_skipCount = count; }
    // The run begins with the frequencies taken: no change in progress.
    void beginRun();
    // The storages and CSV table of a run brought back from the journal.
    void restore(const TTempStorage &temps, const TFreqStorage &freqs, const TCSVTable &csv);

    // A notification of the meter's port, with or without a whole frame: a
    // refresh that has shown the newest frame pauses until the next frame.
    void meterNotified();
    // The meter sent a display frame (a checked frame's first 21 bytes).
    void meterFrame(const std::array<uint8_t, 60> &rawData);
    // A notification of the thermometer's port: its refresh waits for a line.
    void thermometerNotified();
    // The thermometer sent a line (without its carriage return).
    void thermometerLine(const QByteArray &line);
    // Moves the meter to `target` by its keys, a step at a time (one is taken
    // during a run with the instruments ready). During a run the meter's
    // frequency keys act only with its F3 mark on, so F3 goes first while the
    // newest frame shows the mark off.
    void beginFreqChange(int32_t target);
    // Writes a key to the meter (the keypad's, the enter key of a new link):
    // lost on a closed port; a frequency key marks the frequency it was
    // pressed at, and a key that went out restarts the settling count.
    void pressKey(uint8_t code);
    // Does, in their order, what fell due up to the clock's present time.
    void advance();
    // When something falls due next; nothing while nothing runs.
    std::optional<qint64> nextDueMs() const;
    // When a link's display refresh and its watchdog fall due; nothing while off.
    std::optional<qint64> refreshDueMs(LinkKind kind) const;
    std::optional<qint64> watchdogDueMs(LinkKind kind) const;

    RunPhase phase() const { return m_phase; }
    bool isRunning() const { return m_phase == RunPhase::Running; }
    ResultsTable &table() { return m_table; }
    const ResultsTable &table() const { return m_table; }
    const TCSVTable &csvTable() const { return m_csv; }
    TCSVTable &csvTable() { return m_csv; }
    const TMyStorage &store() const { return m_store; }
    const TTempStorage &temperatures() const { return m_temps; }
    // The set points a window lays out from its own edits.
    TTempStorage &temperatures() { return m_temps; }
    const TFreqStorage &frequencies() const { return m_freqs; }
    uint8_t skipCount() const { return m_skipCount; }

    // The frequency of the meter's newest frame (0 while unknown).
    int32_t currentFrequency() const { return m_store.LastFrequency(); }
    // Whether the meter's newest frame shows its F3 mark.
    bool f3MarkOn() const { return m_f3Mark; }
    // A frequency key the meter has not taken: its frames still report the
    // frequency at which the key was pressed.
    bool keyPending() const;
    // The meter's frequency when the last key went out, if it was a frequency
    // key (0 otherwise), and that of its newest frame since (0 before one).
    int32_t freqAtKeyPress() const { return m_freqAtKeyPress; }
    int32_t freqAfterKeyPress() const { return m_freqAfterKeyPress; }
    // The unknown temperature is NaN.
    double temperature() const { return m_store.LastTemperature(); }
    LinkState link(LinkKind kind) const;
    const TStepState &stepState() const { return m_step; }

signals:
    void tablePrepared();
    void runStarted(const TJournalStart &start);
    void runStopped();
    void readingRecorded(const TJournalReading &reading);
    // Every cell the run can fill holds a reading.
    void tableFull();
    void actualTemperatureRecorded(const TJournalActualTemperature &actual);
    void linkChanged(LinkKind kind, const LinkState &state);
    // The meter display refresh shows this record.
    void meterShown(const TEventRec &record);
    // A meter display refresh is over (whatever it showed or captured).
    void meterRefreshed();
    // The thermometer display refresh shows this record (valid or not).
    void thermometerShown(const TEventRec &record);
    // A deadline moved: nextDueMs() may be earlier than before.
    void dueChanged();
    void keySent(uint8_t code);
    // A key was due and could not be written to the meter.
    void keyFailed(uint8_t code);

private:
    enum Deadline {
        MeterRefresh,
        MeterWatchdog,
        ThermoRefresh,
        ThermoWatchdog,
        Step, // kept by m_pace
        DeadlineCount
    };

    void fire(Deadline which, qint64 at);
    void meterRefresh();
    void meterWatchdog();
    void thermoRefresh();
    void thermoWatchdog();
    void stepDue();
    void captureReading(const TEventRec &E);
    void captureActualTemperature(double t);
    void startIfOff(Deadline which, int periodMs);
    void setLink(LinkKind kind, LinkHealth health);

    const RunClock &m_clock;
    QChar m_decimalSeparator;
    KeySender m_sendKey;
    RunPeriods m_periods;
    std::array<bool, 2> m_linkOpen{}; // by LinkKind
    bool m_portsOpen = false;
    RunPhase m_phase = RunPhase::NoTable;

    TMyStorage m_store;
    TTempStorage m_temps;
    TFreqStorage m_freqs;
    TCSVTable m_csv;
    ResultsTable m_table;
    TStepState m_step;
    TFreqWorker m_worker{};
    uint8_t m_skipCount = 6;

    std::optional<qint64> dueOf(Deadline which) const;

    std::array<std::optional<qint64>, DeadlineCount> m_due; // all but Step
    StepPace m_pace;
    CaptureRule m_capture;
    bool m_frameNotShown = false;
    bool m_f3Mark = false;
    int32_t m_freqAtKeyPress = 0;
    int32_t m_freqAfterKeyPress = 0;
    LinkState m_meterLink;
    LinkState m_thermoLink;
};
