#include "control/port_access_notice.h"

#include "engine/user_prompts.h"
#include "serial/platform.h"
#include "ui/port_access_text.h"

#include <QComboBox>

QString NoPermissionAdvice(const QString &portName, const QString &devicePath) {
    return PortAccessAdviceText(portName, devicePath, platform::noPermissionReason(devicePath));
}

QList<PortListEntry> PortListEntries(const QList<PortProbe> &probes) {
    QList<PortListEntry> entries;
    for (const PortProbe &probe : probes) {
        PortListEntry entry{ComPortName(probe.number), probe.devicePath, QString()};
        if (probe.state == PortState::NoPermission)
            entry.noPermissionAdvice = NoPermissionAdvice(entry.name, probe.devicePath);
        entries.append(entry);
    }
    return entries;
}

TPortAccessNotice::TPortAccessNotice(const PortSettingsWidgets &ports, UserPrompts &prompts,
                                     QObject *parent)
    : QObject(parent), m_prompts(prompts) {
    for (QComboBox *box : {ports.cmbPortIMNumber, ports.cmbPortTempNumber})
        connect(box, &QComboBox::activated, this,
                [this, box](int index) { portChosen(box, index); });
}

// Marked before it is shown: the message box lets the autoconnection's ticks run, and one of
// them failing on the same device must not open a second box.
void TPortAccessNotice::tell(const QString &devicePath, const QString &advice) {
    if (m_told.contains(devicePath))
        return;
    m_told.insert(devicePath);
    m_prompts.notice(TPromptIcon::None, advice);
}

void TPortAccessNotice::portChosen(const QComboBox *box, int index) {
    const QString advice = PortItemAdvice(box, index);
    if (!advice.isEmpty())
        tell(PortItemDevice(box, index), advice);
}
