#include "control/settings_binding.h"

#include "ui/message_box.h"
#include "settings/settings_file.h"

#include <QComboBox>
#include <QLineEdit>

#include <array>
#include <utility>

namespace {

// The fifteen widgets in the order of the settings keys.
struct Binding {
    QString TSettings::*field;
    QComboBox *combo;
    QLineEdit *edit;
};

std::array<Binding, 15> bindingsOf(const MainWindowUi &ui) {
    return {{
        {&TSettings::PortIMNumber, ui.cmbPortIMNumber, nullptr},
        {&TSettings::PortIMBaud, ui.cmbPortIMBaud, nullptr},
        {&TSettings::PortIMDataBits, ui.cmbPortIMDataBits, nullptr},
        {&TSettings::PortIMParity, ui.cmbPortIMParity, nullptr},
        {&TSettings::PortIMStopBits, ui.cmbPortIMStopBits, nullptr},
        {&TSettings::PortTempNumber, ui.cmbPortTempNumber, nullptr},
        {&TSettings::PortTempBaud, ui.cmbPortTempBaud, nullptr},
        {&TSettings::PortTempDataBits, ui.cmbPortTempDataBits, nullptr},
        {&TSettings::PortTempParity, ui.cmbPortTempParity, nullptr},
        {&TSettings::PortTempStopBits, ui.cmbPortTempStopBits, nullptr},
        {&TSettings::TempInit, nullptr, ui.leTempInit},
        {&TSettings::TempFinal, nullptr, ui.leTempFinal},
        {&TSettings::TempStep, nullptr, ui.leTempStep},
        {&TSettings::TempDiff, nullptr, ui.leTempDiff},
        {&TSettings::FreqColCount, nullptr, ui.leFreqColCount},
    }};
}

} // namespace

TSettingsBinding::TSettingsBinding(const MainWindowUi &ui, QString settingsPath,
                                   QChar decimalSeparator, QObject *parent)
    : QObject(parent), m_ui(ui),
      m_path(settingsPath.isEmpty() ? SettingsFilePath() : std::move(settingsPath)),
      m_separator(decimalSeparator) {}

void TSettingsBinding::LoadSettings() {
    bool ok = false;
    const TSettings settings = ::LoadSettings(m_path, m_separator, &ok);
    if (!ok) {
        ShowNotice(m_ui.pnlSettings->window(), QStringLiteral("не удалось загрузить настройки"));
        return;
    }
    putIntoWidgets(settings);
}

void TSettingsBinding::SaveSettings() {
    ::SaveSettings(m_path, takeFromWidgets(), m_separator);
}

void TSettingsBinding::putIntoWidgets(const TSettings &settings) {
    for (const Binding &b : bindingsOf(m_ui)) {
        if (b.combo)
            b.combo->setEditText(settings.*b.field);
        else
            b.edit->setText(settings.*b.field);
    }
}

TSettings TSettingsBinding::takeFromWidgets() const {
    TSettings settings;
    for (const Binding &b : bindingsOf(m_ui))
        settings.*b.field = b.combo ? b.combo->currentText() : b.edit->text();
    return settings;
}
