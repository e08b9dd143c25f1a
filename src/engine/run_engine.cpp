#include "engine/run_engine.h"

#include "base/number_format.h"
#include "files/measurement_file.h"
#include "meter/key_codes.h"
#include "meter/mode_marks.h"
#include "run/frequency_row.h"
#include "thermo/temp_parse.h"

namespace {

constexpr int kF3Mark = 3;

} // namespace

RunEngine::RunEngine(const RunClock &clock, QChar decimalSeparator, QObject *parent)
    : QObject(parent), m_clock(clock), m_decimalSeparator(decimalSeparator),
      m_store(decimalSeparator) {}

void RunEngine::setPeriods(const RunPeriods &periods) {
    m_periods = periods;
    m_pace.setPeriodMs(periods.StepMs);
}

void RunEngine::startIfOff(Deadline which, int periodMs) {
    if (!m_due[which])
        m_due[which] = m_clock.elapsedMs() + periodMs;
}

// A link opened refreshes at once at the refresh's pace, frames or not: a
// meter that sends nothing turns red at the first refresh.
void RunEngine::setLinkOpen(LinkKind kind, bool open) {
    const bool meter = kind == LinkKind::Meter;
    const Deadline refresh = meter ? MeterRefresh : ThermoRefresh;
    const Deadline watchdog = meter ? MeterWatchdog : ThermoWatchdog;
    m_linkOpen[int(kind)] = open;
    if (open) {
        startIfOff(refresh, m_periods.DisplayRefreshMs);
        startIfOff(watchdog, m_periods.WatchdogMs);
    } else {
        m_due[refresh].reset();
        m_due[watchdog].reset();
    }
    emit dueChanged();
}

void RunEngine::armWatchdog(LinkKind kind) {
    startIfOff(kind == LinkKind::Meter ? MeterWatchdog : ThermoWatchdog, m_periods.WatchdogMs);
    emit dueChanged();
}

void RunEngine::setPortsOpen(bool open) {
    setLinkOpen(LinkKind::Meter, open);
    setLinkOpen(LinkKind::Thermometer, open);
    m_portsOpen = open;
}

SetPointError RunEngine::prepareTable(const RunParameters &p) {
    TTempStorage temps;
    const SetPointTable points = generateSetPoints(p.TempInit, p.TempFinal, p.TempStep, p.TempDiff,
                                                   m_decimalSeparator, temps);
    if (points.error != SetPointError::None)
        return points.error;
    QStringList frequencyTexts;
    for (int32_t f : p.Frequencies)
        frequencyTexts << QString::number(f);
    m_temps = temps;
    m_table.layOut(points.rows, frequencyTexts);
    m_csv.SetTableSize(0, 0);
    m_capture = CaptureRule{};
    m_phase = RunPhase::Prepared;
    emit tablePrepared();
    return SetPointError::None;
}

void RunEngine::sizeCsvTable() {
    m_csv.SetTableSize(m_temps.Count(), m_freqs.Count());
    for (const TFreqItem &item : m_freqs.Items)
        m_csv.SetColHeader(item.Freq, item.Index);
    for (const TTempItem &item : m_temps.Items)
        m_csv.SetRowHeader(item.Index, item.SetPoint, m_decimalSeparator);
}

bool RunEngine::takeFrequencies(const QStringList &frequencyTexts) {
    if (!ValidateFrequencies(frequencyTexts, m_freqs))
        return false;
    sizeCsvTable();
    return true;
}

StartRefusal RunEngine::start(int skipCount) {
    if (m_phase == RunPhase::NoTable)
        return StartRefusal::NoTable;
    if (m_phase == RunPhase::Running)
        return StartRefusal::None;
    if (!takeFrequencies(m_table.frequencyTexts()))
        return StartRefusal::BadFrequencies;
    if (skipCount < 0 || skipCount > kMaxSkipCount)
        return StartRefusal::BadSkipCount;
    setSkipCount(uint8_t(skipCount));
    if (!m_portsOpen)
        return StartRefusal::DevicesMissing;
    beginRun();
    return StartRefusal::None;
}

// The meter's frequency as last read at a step stays: the next step reads it anew.
void RunEngine::beginRun() {
    m_phase = RunPhase::Running;
    m_table.setHoldsRunData(true);
    m_pace.clear();
    m_step.StepTarget = 0;
    m_step.StepWaypoint = 0;
    m_step.StepFinePhase = 1;

    TJournalStart started;
    started.Time = m_clock.now();
    for (const TFreqItem &item : m_freqs.Items)
        started.Frequencies << item.Freq;
    started.SkipPacketCount = m_skipCount;
    emit runStarted(started);
    emit dueChanged();
}

void RunEngine::restore(const TTempStorage &temps, const TFreqStorage &freqs,
                        const TCSVTable &csv) {
    m_temps = temps;
    m_freqs = freqs;
    m_csv = csv;
}

void RunEngine::stop() {
    if (m_phase != RunPhase::Running)
        return;
    m_phase = RunPhase::Stopped;
    emit runStopped();
}

void RunEngine::meterNotified() {
    if (!m_frameNotShown)
        m_due[MeterRefresh].reset();
}

// The refresh shows each frame once, a refresh's period after it arrives;
// frames that follow faster do not postpone it, so a fast meter is still
// shown and read.
void RunEngine::meterFrame(const std::array<uint8_t, 60> &rawData) {
    const qint64 now = m_clock.elapsedMs();
    TEventRec E;
    E.Kind = kMeterRecord;
    E.Time = m_clock.now();
    E.RawData = rawData;
    m_store.AddEvent(E);
    m_freqAfterKeyPress = m_store.LastFrequency();
    m_f3Mark = modemarks::isOn(rawData, kF3Mark);
    m_meterLink.LastData = E.Time;
    setLink(LinkKind::Meter, LinkHealth::Receiving);
    if (!m_linkOpen[int(LinkKind::Meter)])
        return;
    if (!(m_frameNotShown && m_due[MeterRefresh]))
        m_due[MeterRefresh] = now + m_periods.DisplayRefreshMs;
    m_frameNotShown = true;
    m_due[MeterWatchdog] = now + m_periods.WatchdogMs;
    m_pace.frameAccepted(now);
    emit dueChanged();
}

void RunEngine::thermometerNotified() {
    m_due[ThermoRefresh].reset();
}

void RunEngine::thermometerLine(const QByteArray &line) {
    const qint64 now = m_clock.elapsedMs();
    const TEventRec record = TempRecordFromLine(line, m_clock.now());
    m_store.AddEvent(record);
    m_thermoLink.LastData = record.Time;
    if (!m_linkOpen[int(LinkKind::Thermometer)])
        return;
    m_due[ThermoRefresh] = now + m_periods.DisplayRefreshMs;
    m_due[ThermoWatchdog] = now + m_periods.WatchdogMs;
    emit dueChanged();
}

std::optional<qint64> RunEngine::nextDueMs() const {
    std::optional<qint64> next;
    for (int i = 0; i < DeadlineCount; ++i) {
        const std::optional<qint64> due = dueOf(Deadline(i));
        if (due && (!next || *due < *next))
            next = due;
    }
    return next;
}

std::optional<qint64> RunEngine::refreshDueMs(LinkKind kind) const {
    return m_due[kind == LinkKind::Meter ? MeterRefresh : ThermoRefresh];
}

std::optional<qint64> RunEngine::watchdogDueMs(LinkKind kind) const {
    return m_due[kind == LinkKind::Meter ? MeterWatchdog : ThermoWatchdog];
}

std::optional<qint64> RunEngine::dueOf(Deadline which) const {
    return which == Step ? m_pace.dueAt() : m_due[which];
}

void RunEngine::advance() {
    const qint64 now = m_clock.elapsedMs();
    for (;;) {
        int which = -1;
        std::optional<qint64> earliest;
        for (int i = 0; i < DeadlineCount; ++i) {
            const std::optional<qint64> due = dueOf(Deadline(i));
            if (due && *due <= now && (!earliest || *due < *earliest)) {
                which = i;
                earliest = due;
            }
        }
        if (which < 0)
            return;
        fire(Deadline(which), *earliest);
    }
}

void RunEngine::fire(Deadline which, qint64 at) {
    switch (which) {
    case MeterRefresh:
        m_due[MeterRefresh] = at + m_periods.DisplayRefreshMs;
        meterRefresh();
        break;
    case MeterWatchdog:
        m_due[MeterWatchdog] = at + m_periods.WatchdogMs;
        meterWatchdog();
        break;
    case ThermoRefresh:
        m_due[ThermoRefresh] = at + m_periods.DisplayRefreshMs;
        thermoRefresh();
        break;
    case ThermoWatchdog:
        m_due[ThermoWatchdog] = at + m_periods.WatchdogMs;
        thermoWatchdog();
        break;
    case Step:
        m_pace.clear();
        stepDue();
        break;
    case DeadlineCount:
        break;
    }
}

void RunEngine::meterRefresh() {
    m_frameNotShown = false;
    TEventRec E;
    if (m_store.LastFrequency() <= 0) {
        setLink(LinkKind::Meter, LinkHealth::Lost);
    } else if (m_store.GetLast(kMeterRecord, E)) {
        emit meterShown(E);
        captureReading(E);
    }
    emit meterRefreshed();
}

// The empty record decodes to frequency 0 and counts towards the settling.
void RunEngine::meterWatchdog() {
    setLink(LinkKind::Meter, LinkHealth::Lost);
    TEventRec E;
    E.Kind = kMeterRecord;
    E.Time = m_clock.now();
    m_store.AddEvent(E);
    m_freqAfterKeyPress = m_store.LastFrequency();
    m_f3Mark = false;
}

void RunEngine::thermoRefresh() {
    TEventRec R;
    m_store.GetLast(kTempRecord, R);
    emit thermometerShown(R);
    if (!R.Temp.Valid)
        return;
    setLink(LinkKind::Thermometer, LinkHealth::Receiving);
    captureActualTemperature(m_store.LastTemperature());
}

// The empty record makes the temperature unknown.
void RunEngine::thermoWatchdog() {
    setLink(LinkKind::Thermometer, LinkHealth::Lost);
    TEventRec record;
    record.Kind = kTempRecord;
    record.Time = m_clock.now();
    m_store.AddEvent(record);
}

void RunEngine::captureReading(const TEventRec &E) {
    const CaptureDecision decision = m_capture.take(E, {m_temps, m_freqs, m_store.LastTemperature(),
                                                        m_skipCount, m_phase == RunPhase::Running});
    if (!decision.Taken)
        return;
    if (decision.Place) {
        const TTempItem &ti = decision.Place->Temp;
        const TFreqItem &fi = decision.Place->Freq;
        const QString text = resultsCellText(E.IM);
        m_table.record(ti.Row - 1, fi.Index, text);
        StoreReading(m_csv, E.IM, fi.Index, ti.Index);
        emit readingRecorded(journalReadingOf(E, ti, fi, text));
        if (m_table.isFull())
            emit tableFull();
    }
    if (decision.NextFrequency > 1 && m_step.StepTarget == 0)
        beginFreqChange(decision.NextFrequency);
}

void RunEngine::captureActualTemperature(double t) {
    if (!m_temps.InRange(t))
        return;
    const TTempItem S = m_temps.FindTemp(t);
    if (S.Index == -1)
        return;
    TJournalActualTemperature actual;
    actual.Row = S.Row;
    actual.Time = m_clock.now();
    actual.SetPoint = S.SetPoint;
    actual.Temperature = t;
    actual.Text = numfmt::general(t, m_decimalSeparator);
    m_table.setActualTemperature(S.Row - 1, actual.Text);
    emit actualTemperatureRecorded(actual);
}

// During a run the meter's frequency keys act only with its F3 mark on.
void RunEngine::beginFreqChange(int32_t target) {
    m_step = ::BeginFreqChange(m_step, target);
    m_pace.clear();
    if (needsF3(m_f3Mark, m_phase == RunPhase::Running))
        pressKey(freqkeys::F3);
    m_pace.changeBegun(m_clock.elapsedMs());
}

void RunEngine::stepDue() {
    const StepContext context{m_phase == RunPhase::Running, m_portsOpen,
                              m_store.LastFrequency(),      m_freqAtKeyPress,
                              m_store.MeterSinceKey(),      m_skipCount};
    if (!freqStepMayGo(m_step, context))
        return;
    const TStepDecision decision = decideFreqStep(m_step, m_store.LastFrequency(), m_worker);
    m_step = decision.State;
    if (!decision.Completed && decision.Key)
        pressKey(*decision.Key);
}

void RunEngine::pressKey(uint8_t code) {
    if (!m_linkOpen[int(LinkKind::Meter)])
        return;
    m_freqAtKeyPress = meterkey::isFrequencyKey(code) ? m_store.LastFrequency() : 0;
    m_freqAfterKeyPress = 0;
    if (!m_sendKey || !m_sendKey(code)) {
        emit keyFailed(code);
        return;
    }
    m_store.ResetKeyCounter();
    emit keySent(code);
}

bool RunEngine::keyPending() const {
    return m_freqAtKeyPress != 0 && m_freqAfterKeyPress != 0 &&
           m_freqAtKeyPress == m_freqAfterKeyPress;
}

LinkState RunEngine::link(LinkKind kind) const {
    return kind == LinkKind::Meter ? m_meterLink : m_thermoLink;
}

void RunEngine::setLink(LinkKind kind, LinkHealth health) {
    LinkState &state = kind == LinkKind::Meter ? m_meterLink : m_thermoLink;
    if (state.Health == health)
        return;
    state.Health = health;
    emit linkChanged(kind, state);
}
