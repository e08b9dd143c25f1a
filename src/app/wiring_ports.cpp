// Wiring of the settings file binding and the automatic connection of both links.
#include "app/main_window.h"
#include "control/autoconnect.h"
#include "control/meter_link.h"
#include "control/settings_binding.h"

void TfrmMain::createPortControllers() {
    m_settingsBinding =
        new TSettingsBinding(m_ui.portSettings(), m_ui.runParameters(), m_options.settingsPath,
                             m_state.DecimalSeparator, *m_prompts, this);

    // The meter link exists already (createLinkControllers runs first) and outlives these
    // calls: both are children of the window.
    TMeterLink *meter = m_meterLink;
    TSettingsBinding *settings = m_settingsBinding;
    m_autoconnect = new TAutoconnect(
        *m_engine, *m_meterLink, *m_thermoLink, m_ui.portSettings(), m_ui.pnlSettings,
        m_actions.actStart, [meter](uint8_t code) { meter->SendKey(code); },
        [meter](bool enabled) { meter->SetKeypadEnabled(enabled); },
        [settings] { settings->SaveSettings(); }, m_options.timerDivisor, this);

    connect(this, &TfrmMain::saveSettingsRequested, m_settingsBinding,
            &TSettingsBinding::SaveSettings);
}
