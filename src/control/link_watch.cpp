#include "control/link_watch.h"

#include "engine/run_clock.h"
#include "ui/outage_text.h"
#include "ui/run_status_view.h"

#include <QTimerEvent>

namespace {

constexpr int kRefreshMs = 1000;

QString silenceText(const TLinkOutageTracker &tracker, TInstrument instrument, const QDateTime &now,
                    QChar separator) {
    const std::optional<qint64> silent = tracker.silentMs(instrument, now);
    return silent ? outagetext::silence(instrument, *silent / 1000, separator) : QString();
}

} // namespace

TLinkWatch::TLinkWatch(const RunClock &clock, RunStatusView *view, QChar decimalSeparator,
                       QObject *parent)
    : QObject(parent), m_clock(clock), m_view(view), m_separator(decimalSeparator),
      m_tracker(clock.now()) {
    m_refreshTimer.start(kRefreshMs, this);
}

void TLinkWatch::meterData() {
    take(m_tracker.dataReceived(TInstrument::Meter, m_clock.now()));
}

void TLinkWatch::thermometerData() {
    take(m_tracker.dataReceived(TInstrument::Thermometer, m_clock.now()));
}

void TLinkWatch::runStarted() {
    take(m_tracker.runStarted(m_clock.now()));
    refresh();
}

void TLinkWatch::runStopped() {
    take(m_tracker.runStopped(m_clock.now()));
}

void TLinkWatch::tablePrepared() {
    if (!m_tracker.isRunning())
        m_outages.clear();
}

void TLinkWatch::loadRun(const TJournalRun &run) {
    m_outages = run.Outages;
}

void TLinkWatch::refresh() {
    const QDateTime now = m_clock.now();
    take(m_tracker.poll(now));
    m_view->setMeterLink(silenceText(m_tracker, TInstrument::Meter, now, m_separator));
    m_view->setThermometerLink(silenceText(m_tracker, TInstrument::Thermometer, now, m_separator));
}

void TLinkWatch::timerEvent(QTimerEvent *event) {
    if (event->timerId() == m_refreshTimer.timerId())
        refresh();
    else
        QObject::timerEvent(event);
}

// The outage list follows the journal's rows: one per instrument and start,
// completed in place when it ends.
void TLinkWatch::take(const TLinkOutageTracker::Events &events) {
    for (const TLinkOutage &began : events.Began) {
        m_outages << began;
        emit outageChanged(began);
    }
    for (const TLinkOutage &ended : events.Ended) {
        for (TLinkOutage &kept : m_outages)
            if (kept.Instrument == ended.Instrument && kept.Start == ended.Start)
                kept.End = ended.End;
        emit outageChanged(ended);
    }
    for (const TLinkOutage &silent : events.LongSilences) {
        if (!m_notify)
            continue;
        TRunNotice notice{TRunNotice::Kind::InstrumentSilent};
        notice.instrument = silent.Instrument;
        notice.since = silent.Start;
        m_notify(notice);
    }
}
