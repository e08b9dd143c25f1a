// Wiring of the instrument search, the advice on ports this user may not open, and the
// folder the settings are kept in.
#include "app/main_window.h"
#include "control/autoconnect.h"
#include "control/instrument_search.h"
#include "control/port_access_notice.h"
#include "control/settings_binding.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

void TfrmMain::createInstrumentControllers() {
    const PortSettingsWidgets ports = m_ui.portSettings();
    m_portAccessNotice = new TPortAccessNotice(ports, *m_prompts, this);
    TPortAccessNotice *notice = m_portAccessNotice;
    // Told after the tick that failed has ended, not from inside it.
    connect(m_autoconnect, &TAutoconnect::portNotPermitted, notice, &TPortAccessNotice::tell,
            Qt::QueuedConnection);

    // The autoconnection exists already (createPortControllers runs first); both are
    // children of the window.
    TAutoconnect *autoconnect = m_autoconnect;
    TInstrumentSearch::Hooks hooks;
    hooks.suspendLinks = [autoconnect] { autoconnect->suspend(); };
    hooks.resumeLinks = [autoconnect] { autoconnect->resume(); };
    hooks.deniedReported = [notice](const QList<PortProbe> &denied) {
        for (const PortProbe &probe : denied)
            notice->markTold(probe.devicePath);
    };
    m_instrumentSearch =
        new TInstrumentSearch(*m_engine, ports, m_options.portsFolder, std::move(hooks), *m_prompts,
                              m_options.timerDivisor, this);

    const QString folder =
        QDir::toNativeSeparators(QFileInfo(m_settingsBinding->settingsPath()).absolutePath());
    m_ui.lblDataFolder->setText(tr("Папка настроек: %1").arg(folder));
    m_ui.lblDataFolder->setToolTip(
        tr("Здесь лежат options.ini, журнал измерений и папка ports со ссылками "
           "COMn на устройства:\n%1")
            .arg(folder));

    // A new user starts with the ports found for him, and sees them on the port panel.
    if (m_options.findInstrumentsAtFirstStart && m_settingsBinding->isFirstStart())
        m_instrumentSearch->startAtFirstStart();
}
