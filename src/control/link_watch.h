#pragma once

#include "engine/run_notice.h"
#include "journal/journal_records.h"
#include "run/link_outage_tracker.h"

#include <QBasicTimer>
#include <QObject>
#include <QVector>

class RunClock;
class RunStatusView;

// Watches the data of both instruments. The status bar says which one has
// sent nothing and for how long ("Измеритель: нет данных 15 с"), run or not;
// during a run each silence is an outage, kept for the journal and the run's
// description, and one longer than a minute is told on the desktop once.
// The panels' colours stay the links' own business.
class TLinkWatch : public QObject {
    Q_OBJECT
public:
    // Times come from `clock`, which outlives this.
    TLinkWatch(const RunClock &clock, RunStatusView *view, QChar decimalSeparator,
               QObject *parent = nullptr);

    void setNoticeSink(TRunNoticeSink sink) { m_notify = std::move(sink); }

    // The outages of the run on the screen, by start; the last may go on.
    const QVector<TLinkOutage> &outages() const { return m_outages; }

signals:
    // An outage began (End invalid) or ended, in the current run.
    void outageChanged(const TLinkOutage &outage);

public slots:
    void meterData();
    void thermometerData();
    void runStarted();
    void runStopped();
    // A new table: no run, no outages.
    void tablePrepared();
    // A run from the journal is on the screen, with the outages it had.
    void loadRun(const TJournalRun &run);
    // Looks at the silences now and brings the status bar up to date; a
    // timer of its own does this every second.
    void refresh();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void take(const TLinkOutageTracker::Events &events);

    const RunClock &m_clock;
    RunStatusView *m_view;
    QChar m_separator;
    TLinkOutageTracker m_tracker;
    QVector<TLinkOutage> m_outages;
    TRunNoticeSink m_notify;
    QBasicTimer m_refreshTimer;
};
