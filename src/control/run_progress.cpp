#include "control/run_progress.h"

#include "engine/run_engine.h"
#include "plot/run_readings.h"
#include "run/results_layout.h"
#include "ui/progress_text.h"
#include "ui/run_status_view.h"

#include <QTableWidget>

#include <cmath>

namespace {

double secondsOf(const QDateTime &time) {
    return time.toMSecsSinceEpoch() / 1000.0;
}

} // namespace

TRunProgress::TRunProgress(const RunEngine &engine, const TRunReadings &readings,
                           const QTableWidget *grid, RunStatusView *view, QObject *parent)
    : QObject(parent), m_engine(engine), m_readings(readings), m_grid(grid), m_view(view) {}

void TRunProgress::clear() {
    m_firstStart = QDateTime();
    m_stoppedAt = QDateTime();
}

void TRunProgress::loadRun(const TJournalRun &run) {
    clear();
    if (!run.Segments.isEmpty())
        m_firstStart = run.Segments.first().Start.Time;
    m_stoppedAt = run.Summary.EndedAt.isValid() ? run.Summary.EndedAt : m_firstStart;
}

void TRunProgress::runStarted(const QDateTime &at) {
    if (!m_firstStart.isValid())
        m_firstStart = at;
    m_stoppedAt = QDateTime();
}

void TRunProgress::runStopped(const QDateTime &at) {
    if (m_firstStart.isValid())
        m_stoppedAt = at;
}

void TRunProgress::takeTemperature(const QDateTime &lineTime, double temperature) {
    m_trend.addSample(secondsOf(lineTime), temperature);
}

void TRunProgress::refresh(const QDateTime &now) {
    const QChar separator = m_engine.store().decimalSeparator();
    const int frequencies =
        std::max(0, m_grid->columnCount() - resultslayout::kFirstFrequencyColumn);
    const TTempStorage &table = m_engine.temperatures();
    m_view->setCells(
        progresstext::cells(m_readings.filledCellCount(), table.Count() * frequencies, separator));

    std::optional<qint64> elapsed;
    if (m_firstStart.isValid())
        elapsed = m_firstStart.secsTo(m_stoppedAt.isValid() ? m_stoppedAt : now);
    m_view->setElapsed(progresstext::elapsed(elapsed, separator));

    const std::optional<TTemperatureTrend::Drift> drift = m_trend.drift(secondsOf(now));
    m_view->setDrift(progresstext::drift(drift, separator));

    QVector<double> open;
    for (const TTempItem &item : table.Items)
        if (m_readings.filledInRow(item.Row) < frequencies)
            open.append(item.SetPoint);
    const double t = m_engine.store().LastTemperature();
    const std::optional<double> temperature = std::isnan(t) ? std::nullopt : std::optional(t);
    m_view->setArrival(progresstext::arrival(
        estimateArrival(temperature, drift, open, table.TempDiff), now, separator));
}
