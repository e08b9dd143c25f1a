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

// The measurement run without a window. It takes the meter's frames and the
// thermometer's lines as they arrive and does, at the times its clock says,
// what the window's timers do: the display refreshes (which capture readings
// and actual temperatures), the watchdogs (which mark a silent link lost and
// store the empty records that count towards the settling) and the steps of a
// frequency change (one key each). Call advance() whenever the clock may have
// passed nextDueMs(); the inputs advance it first themselves.
class RunEngine : public QObject {
    Q_OBJECT
public:
    static constexpr int kDisplayPeriodMs = runperiods::kDisplayRefreshMs;
    static constexpr int kWatchdogPeriodMs = runperiods::kWatchdogMs;
    static constexpr int kStepPeriodMs = runperiods::kStepMs;

    // Writes one key code to the meter; false when it did not go out.
    using KeySender = std::function<bool(uint8_t code)>;

    RunEngine(const RunClock &clock, QChar decimalSeparator, QObject *parent = nullptr);

    void setKeySender(KeySender sender) { m_sendKey = std::move(sender); }
    // Both instruments' ports were opened (the watchdogs start) or closed
    // (nothing falls due until they open again).
    void setPortsOpen(bool open);
    bool portsOpen() const { return m_portsOpen; }

    // Lays out a fresh table from the set points and frequencies of `p`. A
    // table that cannot be laid out changes nothing.
    SetPointError prepareTable(const RunParameters &p);
    StartRefusal start(int skipCount);
    void stop();

    // The meter sent a display frame (a checked frame's first 21 bytes).
    void meterFrame(const std::array<uint8_t, 60> &rawData);
    // The thermometer sent a line (without its carriage return).
    void thermometerLine(const QByteArray &line);
    // Does, in their order, what fell due up to the clock's present time.
    void advance();
    // When something falls due next; nothing while the ports are closed.
    std::optional<qint64> nextDueMs() const;

    RunPhase phase() const { return m_phase; }
    ResultsTable &table() { return m_table; }
    const ResultsTable &table() const { return m_table; }
    const TCSVTable &csvTable() const { return m_csv; }
    TCSVTable &csvTable() { return m_csv; }
    const TMyStorage &store() const { return m_store; }
    const TTempStorage &temperatures() const { return m_temps; }
    const TFreqStorage &frequencies() const { return m_freqs; }
    uint8_t skipCount() const { return m_skipCount; }

    // The frequency of the meter's newest frame (0 while unknown).
    int32_t currentFrequency() const { return m_store.LastFrequency(); }
    // Whether the meter's newest frame shows its F3 mark.
    bool f3MarkOn() const { return m_f3Mark; }
    // A frequency key the meter has not taken: its frames still report the
    // frequency at which the key was pressed.
    bool keyPending() const;
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
    void beginFreqChange(int32_t target);
    void sendKey(uint8_t code);
    void sizeCsvTable();
    void setLink(LinkKind kind, LinkHealth health);

    const RunClock &m_clock;
    QChar m_decimalSeparator;
    KeySender m_sendKey;
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
