#include "run/link_outage_tracker.h"

#include <algorithm>

namespace {

constexpr TInstrument kInstruments[] = {TInstrument::Meter, TInstrument::Thermometer};

} // namespace

TLinkOutageTracker::TLinkOutageTracker(const QDateTime &since) {
    for (Link &l : m_links)
        l.lastData = since;
}

TLinkOutageTracker::Link &TLinkOutageTracker::link(TInstrument instrument) {
    return m_links[instrument == TInstrument::Meter ? 0 : 1];
}

const TLinkOutageTracker::Link &TLinkOutageTracker::link(TInstrument instrument) const {
    return m_links[instrument == TInstrument::Meter ? 0 : 1];
}

TLinkOutageTracker::Events TLinkOutageTracker::dataReceived(TInstrument instrument,
                                                            const QDateTime &at) {
    Events events;
    Link &l = link(instrument);
    // A silence no poll has seen is still an outage when it was long enough.
    if (m_running && !l.outage)
        beginIfSilent(instrument, at, events);
    l.lastData = at;
    if (l.outage) {
        l.outage->End = at;
        events.Ended << *l.outage;
        l.outage.reset();
    }
    l.longSilenceSaid = false;
    return events;
}

TLinkOutageTracker::Events TLinkOutageTracker::runStarted(const QDateTime &at) {
    m_running = true;
    m_runStart = at;
    for (Link &l : m_links) {
        l.outage.reset();
        l.longSilenceSaid = false;
    }
    return poll(at);
}

TLinkOutageTracker::Events TLinkOutageTracker::runStopped(const QDateTime &at) {
    Events events = poll(at);
    for (Link &l : m_links) {
        if (l.outage) {
            l.outage->End = at;
            events.Ended << *l.outage;
            l.outage.reset();
        }
        l.longSilenceSaid = false;
    }
    m_running = false;
    return events;
}

TLinkOutageTracker::Events TLinkOutageTracker::poll(const QDateTime &now) {
    Events events;
    if (!m_running)
        return events;
    for (TInstrument instrument : kInstruments) {
        Link &l = link(instrument);
        if (!l.outage)
            beginIfSilent(instrument, now, events);
        if (l.outage && !l.longSilenceSaid && l.outage->Start.msecsTo(now) > kLongSilenceMs) {
            l.longSilenceSaid = true;
            events.LongSilences << *l.outage;
        }
    }
    return events;
}

void TLinkOutageTracker::beginIfSilent(TInstrument instrument, const QDateTime &now,
                                       Events &events) {
    Link &l = link(instrument);
    if (l.lastData.msecsTo(now) < kLostAfterMs)
        return;
    l.outage = TLinkOutage{instrument, std::max(l.lastData, m_runStart), QDateTime()};
    events.Began << *l.outage;
}

std::optional<qint64> TLinkOutageTracker::silentMs(TInstrument instrument,
                                                   const QDateTime &now) const {
    const qint64 silent = link(instrument).lastData.msecsTo(now);
    if (silent < kLostAfterMs)
        return std::nullopt;
    return silent;
}
