#pragma once

#include "journal/journal_records.h"
#include "plot/temperature_trend.h"

#include <QDateTime>
#include <QObject>

class QTableWidget;
class RunStatusView;
class TRunReadings;
class RunEngine;

// The progress of the run in the main window's status bar, brought up to
// date by the display refresh: cells filled of the table, time since the run
// first started, the temperature drift over the thermometer's last minutes,
// and when the temperature reaches the nearest set point still to be
// measured in the direction it moves.
class TRunProgress : public QObject {
    Q_OBJECT
public:
    // `readings`: the current run's, kept by the chart controller; the grid
    // tells how many frequency columns the table has.
    TRunProgress(const RunEngine &engine, const TRunReadings &readings, const QTableWidget *grid,
                 RunStatusView *view, QObject *parent = nullptr);

public slots:
    // A new table was prepared: no run yet.
    void clear();
    // A run restored or opened from the journal: its first start, and its end
    // unless it is continued.
    void loadRun(const TJournalRun &run);
    void runStarted(const QDateTime &at);
    void runStopped(const QDateTime &at);
    // A valid thermometer line shown by the display refresh.
    void takeTemperature(const QDateTime &lineTime, double temperature);
    void refresh(const QDateTime &now);

private:
    const RunEngine &m_engine;
    const TRunReadings &m_readings;
    const QTableWidget *m_grid;
    RunStatusView *m_view;
    TTemperatureTrend m_trend;
    QDateTime m_firstStart;
    QDateTime m_stoppedAt; // invalid while the run goes on
};
