#pragma once

#include "model/instrument_search_result.h"
#include "serial/port_names.h"
#include "ui/main_window_ui.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QSet>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class TSerComPort;
class UserPrompts;
class RunEngine;

// "Найти приборы": finds the ports the meter and the thermometer are on. Every port whose
// device exists is opened at the configured bit rate (8N1) and listened to, nothing sent, for
// up to 3 s; a port that carries the meter's frames becomes the meter's, one with the
// thermometer's lines the thermometer's. When the two bit rates differ, the ports that stayed
// silent are listened to again at the other one. All ports are listened to at once, through
// their notifications on the window's thread: the window goes on meanwhile, a progress bar
// runs, and the button, then "Отменить поиск", cancels. Ports another program holds and ports
// this user may not open are skipped and named. The result is shown to the user and the ports
// found are put into the panel; nothing is put there when nothing was found.
class TInstrumentSearch : public QObject {
    Q_OBJECT
public:
    // What the search needs from the rest of the window.
    struct Hooks {
        // Closes both links and holds the reconnection off, so that their ports are free to
        // listen to; resume reconnects with whatever the panel shows then.
        std::function<void()> suspendLinks;
        std::function<void()> resumeLinks;
        // The report told the user about these ports, which the user may not open.
        std::function<void(const QList<PortProbe> &)> deniedReported;
    };

    // `prompts` shows the report and the refusals. Tests listen `speedUp` times less long.
    TInstrumentSearch(RunEngine &engine, const PortSettingsWidgets &ports, QString portsFolder,
                      Hooks hooks, UserPrompts &prompts, int speedUp = 1,
                      QObject *parent = nullptr);
    ~TInstrumentSearch() override;

    bool isSearching() const { return m_round >= 0; }
    const TInstrumentSearchResult &lastResult() const { return m_result; }

    // The button: starts a search, or cancels the running one.
    void btnFindInstrumentsClick();
    void start();
    // A new user's first start: the port panel is opened and the search begins, once the
    // window's events run.
    void startAtFirstStart();
    // Closes the ports and lets the links reconnect; applies and says nothing.
    void cancel();

signals:
    // After the report was shown (not when cancelled) or after a cancel.
    void finished(bool cancelled);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    struct Listener;

    void startRound();
    void listen(int number, int baud);
    void bytesArrived(Listener &listener, TSerComPort *port, quint16 count);
    void queueEndRound();
    void endRound();
    void finish();
    void stopListening();
    void setSearchingLook(bool searching);
    void showProgress();
    void apply();
    bool bothFound() const;

    RunEngine &m_engine;
    PortSettingsWidgets m_ports;
    QString m_portsFolder;
    Hooks m_hooks;
    int m_listenMs;
    UserPrompts &m_prompts;
    // Plain timers: the window's timers are the six it always had.
    QBasicTimer m_roundTimer;
    QBasicTimer m_progressTimer;
    QElapsedTimer m_roundClock;

    // Bit rates to listen at, in turn; the index of the current one, -1 when not searching.
    QList<int> m_rates;
    int m_round = -1;
    bool m_endQueued = false;
    std::vector<std::unique_ptr<Listener>> m_listeners;
    QSet<int> m_listenedTo;
    QSet<int> m_recognised;
    QSet<int> m_skipped;
    TInstrumentSearchResult m_result;
    // The ports this user may not open, as the port lists show them.
    QList<PortProbe> m_denied;
};
