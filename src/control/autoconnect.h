#pragma once

#include "ui/main_window_ui.h"

#include <QObject>

#include <cstdint>
#include <exception>
#include <functional>

class QAction;
class QComboBox;
class QTimer;
class TDeviceLink;
class TMeterLink;
class TThermoLink;
class RunEngine;

// Keeps both device links open without the user: every tick of tmrAutoconnectToDevice saves
// the settings, enables the start and the keypad while neither link is lost, and reopens
// a link whose port is closed or which is lost, with the port number and bit rate
// of the port settings panel. It also fills the port-number lists from a probe of the ports,
// marking the ports this user may not open.
// Its timer is tmrAutoconnectToDevice; the links' own timers are switched through the links.
class TAutoconnect : public QObject {
    Q_OBJECT
public:
    // Link kinds of SetLinkOpen and ApplyPortSettings.
    static constexpr int BothLinks = 0;
    static constexpr int MeterLink = 1;
    static constexpr int ThermoLink = 2;

    // pnlSettings is repainted when the port panel beside it is shown or hidden; actStart is
    // enabled and disabled with the links; the three functions send a key to the meter, switch
    // the keypad and save the settings. Tests tick `speedUp` times as often.
    TAutoconnect(RunEngine &engine, TMeterLink &meter, TThermoLink &thermo,
                 const PortSettingsWidgets &ports, QWidget *pnlSettings, QAction *actStart,
                 std::function<void(uint8_t)> sendKey, std::function<void(bool)> setKeypadEnabled,
                 std::function<void()> saveSettings, int speedUp = 1, QObject *parent = nullptr);

    QTimer *tmrAutoconnectToDevice() const { return m_tick; }

    // Opens or closes the port(s) of kind together with their display refresh and watchdog
    // timers; opening the meter sends it the enter key. A port that fails to open throws its
    // error: its timers keep their state, and with kind 0 a failed meter port leaves the
    // thermometer link untouched.
    void SetLinkOpen(bool value, int kind);

    // Closes the port(s) of kind and takes their number (the digits of the number combo's
    // text; none gives 65535, which no opening accepts) and their bit rate. A bit-rate text
    // that is not a decimal integer throws std::invalid_argument, the port already closed.
    void ApplyPortSettings(int kind);

    void tmrAutoconnectToDeviceTimer();

    // Refills both item lists with "COMn" for every port the probe finds (ports our own links
    // hold included); the boxes keep their texts and select the item that equals them.
    void FillPortLists(QComboBox *im, QComboBox *temp);

    // Closes both links and holds the reconnection off, while the instrument search listens to
    // every port; resume() reconnects at once with the panel's ports, then every 3 s again.
    void suspend();
    void resume();

    // Shows or hides the port settings panel; the port lists are filled the first time it is
    // shown, and again at every switch for as long as no port was found.
    void actComPortAndLogVisibilityExecute();

signals:
    // A link failed to open because this user may not open its device (not because someone
    // holds it); every tick that fails so says it again.
    void portNotPermitted(const QString &devicePath, const QString &advice);

private:
    struct Link {
        TDeviceLink *link;
        QComboBox *number;
        QComboBox *baud;
    };

    static void setOneLinkOpen(const Link &link, bool value);
    static void applyOnePort(const Link &link);
    void reconnect(int kind);
    void logOnce(const std::exception &e);

    RunEngine &m_engine;
    PortSettingsWidgets m_ports;
    QWidget *m_pnlSettings;
    QAction *m_actStart;
    QTimer *m_tick;
    QString m_lastFailure;
    Link m_meter;
    Link m_thermo;
    std::function<void(uint8_t)> m_sendKey;
    std::function<void(bool)> m_setKeypadEnabled;
    std::function<void()> m_saveSettings;
};
