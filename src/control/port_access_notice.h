#pragma once

#include "serial/port_names.h"
#include "ui/main_window_ui.h"
#include "ui/port_list.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

class UserPrompts;

// What the user is told about a port that this account may not open: the port, its device,
// and what to do about it on this system.
QString NoPermissionAdvice(const QString &portName, const QString &devicePath);

// The entries of the port-number lists for what a probe found: every port whose device exists,
// those this user may not open with the advice on what to do.
QList<PortListEntry> PortListEntries(const QList<PortProbe> &probes);

// Tells the user once per device that this account may not open it, and what to do on this
// system. Choosing such a port in a list, the automatic connection failing on it (at every
// tick) and the instrument search all come here; only the first for a device is shown.
class TPortAccessNotice : public QObject {
    Q_OBJECT
public:
    // Listens to the two port-number lists of the panel: choosing a marked port tells,
    // through `prompts`.
    TPortAccessNotice(const PortSettingsWidgets &ports, UserPrompts &prompts,
                      QObject *parent = nullptr);

    // Shows the advice unless it was shown for that device already.
    void tell(const QString &devicePath, const QString &advice);
    // The user has been told about the device elsewhere (in the search's report).
    void markTold(const QString &devicePath) { m_told.insert(devicePath); }

private:
    void portChosen(const QComboBox *box, int index);

    QSet<QString> m_told;
    UserPrompts &m_prompts;
};
