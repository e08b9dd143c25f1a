#pragma once

#include "ui/main_window_ui.h"

#include <QChar>
#include <QObject>
#include <QString>

struct TSettings;
class UserPrompts;

// Carries the settings file into the port combo boxes and the five run-parameter edits at
// start, and their texts back into the file on every autoconnect tick and at shutdown.
class TSettingsBinding : public QObject {
    Q_OBJECT
public:
    // settingsPath empty: "options.ini" beside the program. `prompts` tells the user what
    // became of a file that could not be read.
    TSettingsBinding(const PortSettingsWidgets &ports, const RunParameterWidgets &run,
                     QString settingsPath, QChar decimalSeparator, UserPrompts &prompts,
                     QObject *parent = nullptr);

    const QString &settingsPath() const { return m_path; }
    // No settings file yet: the program's first start with this folder.
    bool isFirstStart() const;

    // Puts the stored texts into the widgets (the combo boxes get their text only, their
    // item lists stay). A file that cannot be read leaves the widgets alone and tells the
    // user "не удалось загрузить настройки". A file over 1 MiB is renamed aside (the user
    // is told where) and the defaults are shown.
    void LoadSettings();

    // Writes the widgets' texts. A run parameter that is not a number stops the writing at
    // that key; that and a file that cannot be written go unreported, the next tick retries.
    void SaveSettings();

private:
    bool setOversizedFileAside();
    void putIntoWidgets(const TSettings &settings);
    TSettings takeFromWidgets() const;

    PortSettingsWidgets m_ports;
    RunParameterWidgets m_run;
    QString m_path;
    QChar m_separator;
    UserPrompts &m_prompts;
};
