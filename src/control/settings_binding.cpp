#include "control/settings_binding.h"

#include "engine/user_prompts.h"
#include "settings/settings_file.h"
#include "ui/settings_texts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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

std::array<Binding, 15> bindingsOf(const PortSettingsWidgets &ports,
                                   const RunParameterWidgets &run) {
    return {{
        {&TSettings::PortIMNumber, ports.cmbPortIMNumber, nullptr},
        {&TSettings::PortIMBaud, ports.cmbPortIMBaud, nullptr},
        {&TSettings::PortIMDataBits, ports.cmbPortIMDataBits, nullptr},
        {&TSettings::PortIMParity, ports.cmbPortIMParity, nullptr},
        {&TSettings::PortIMStopBits, ports.cmbPortIMStopBits, nullptr},
        {&TSettings::PortTempNumber, ports.cmbPortTempNumber, nullptr},
        {&TSettings::PortTempBaud, ports.cmbPortTempBaud, nullptr},
        {&TSettings::PortTempDataBits, ports.cmbPortTempDataBits, nullptr},
        {&TSettings::PortTempParity, ports.cmbPortTempParity, nullptr},
        {&TSettings::PortTempStopBits, ports.cmbPortTempStopBits, nullptr},
        {&TSettings::TempInit, nullptr, run.leTempInit},
        {&TSettings::TempFinal, nullptr, run.leTempFinal},
        {&TSettings::TempStep, nullptr, run.leTempStep},
        {&TSettings::TempDiff, nullptr, run.leTempDiff},
        {&TSettings::FreqColCount, nullptr, run.leFreqColCount},
    }};
}

} // namespace

TSettingsBinding::TSettingsBinding(const PortSettingsWidgets &ports, const RunParameterWidgets &run,
                                   QString settingsPath, QChar decimalSeparator,
                                   UserPrompts &prompts, QObject *parent)
    : QObject(parent), m_ports(ports), m_run(run),
      m_path(settingsPath.isEmpty() ? SettingsFilePath() : std::move(settingsPath)),
      m_separator(decimalSeparator), m_prompts(prompts) {}

bool TSettingsBinding::isFirstStart() const {
    return !QFileInfo::exists(m_path);
}

void TSettingsBinding::LoadSettings() {
    if (IsSettingsFileOversized(m_path) && !setOversizedFileAside())
        return;
    bool ok = false;
    const TSettings settings = ::LoadSettings(m_path, m_separator, &ok);
    if (!ok) {
        m_prompts.notice(TPromptIcon::None, settingstext::notLoaded());
        return;
    }
    putIntoWidgets(settings);
}

// A file of many megabytes is none the program wrote: it is kept under a new name
// and the program starts from the defaults. One that cannot be moved is left alone;
// the saves refuse it too, so the settings are not kept until it is gone.
bool TSettingsBinding::setOversizedFileAside() {
    const QString name = QFileInfo(m_path).fileName();
    const QString aside = SetSettingsFileAside(m_path);
    if (aside.isEmpty()) {
        m_prompts.notice(TPromptIcon::None, settingstext::oversizedLeft(m_path));
        return false;
    }
    m_prompts.notice(TPromptIcon::None,
                     settingstext::oversizedSetAside(name, QFileInfo(aside).fileName()));
    return true;
}

void TSettingsBinding::SaveSettings() {
    ::SaveSettings(m_path, takeFromWidgets(), m_separator);
}

void TSettingsBinding::putIntoWidgets(const TSettings &settings) {
    for (const Binding &b : bindingsOf(m_ports, m_run)) {
        if (b.combo)
            b.combo->setEditText(settings.*b.field);
        else
            b.edit->setText(settings.*b.field);
    }
}

TSettings TSettingsBinding::takeFromWidgets() const {
    TSettings settings;
    for (const Binding &b : bindingsOf(m_ports, m_run))
        settings.*b.field = b.combo ? b.combo->currentText() : b.edit->text();
    return settings;
}
