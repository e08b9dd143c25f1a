#pragma once

#include "run/link_outage.h"

#include <QDateTime>
#include <QVector>

#include <optional>

// Follows when each instrument last sent data, and turns its silences during
// a run into outages. An instrument is silent once kLostAfterMs have passed
// without data (as the link watchdogs count); its outage starts at its last
// data, or at the run's start when that is later. A silence that lasts more
// than kLongSilenceMs in a run is reported once. Every time is given by the
// caller, so the tracker keeps no clock of its own.
class TLinkOutageTracker {
public:
    static constexpr qint64 kLostAfterMs = 3000;
    static constexpr qint64 kLongSilenceMs = 60000;

    // What a call changed, in the order it happened.
    struct Events {
        QVector<TLinkOutage> Began;        // End invalid
        QVector<TLinkOutage> Ended;        // End valid
        QVector<TLinkOutage> LongSilences; // the outage, still going on
        bool isEmpty() const {
            return Began.isEmpty() && Ended.isEmpty() && LongSilences.isEmpty();
        }
    };

    // Silence is counted from `since` for an instrument that never sent data.
    explicit TLinkOutageTracker(const QDateTime &since);

    Events dataReceived(TInstrument instrument, const QDateTime &at);
    Events runStarted(const QDateTime &at);
    // Outages still going on end at the stop.
    Events runStopped(const QDateTime &at);
    // Starts the outages of instruments that fell silent and reports long silences.
    Events poll(const QDateTime &now);

    bool isRunning() const { return m_running; }
    // How long the instrument has been silent, once it counts as silent
    // (run or not); nothing while its data arrive.
    std::optional<qint64> silentMs(TInstrument instrument, const QDateTime &now) const;

private:
    struct Link {
        QDateTime lastData;
        std::optional<TLinkOutage> outage;
        bool longSilenceSaid = false;
    };
    void beginIfSilent(TInstrument instrument, const QDateTime &now, Events &events);
    Link &link(TInstrument instrument);
    const Link &link(TInstrument instrument) const;

    Link m_links[2];
    bool m_running = false;
    QDateTime m_runStart;
};
