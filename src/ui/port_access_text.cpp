#include "ui/port_access_text.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("PortAccess", text);
}

} // namespace

QString PortAccessRemedyText(const PortAccessReason &reason) {
    switch (reason.kind) {
    case PortAccessReason::JoinGroup:
        return tr("Порт открывают члены группы «%1». Добавьте себя в неё командой\n\n"
                  "sudo usermod -aG %1 %2\n\n"
                  "и войдите в систему заново (выйдите из сеанса и войдите снова).")
            .arg(reason.group, reason.user);
    case PortAccessReason::AskToJoinGroup:
        return tr("Порт открывают члены группы «%1». Попросите администратора добавить вас в "
                  "неё и войдите в систему заново.")
            .arg(reason.group);
    case PortAccessReason::LogInAgain:
        return tr("Вы уже в группе «%1», но вошли в систему раньше, чем вас в неё добавили: "
                  "выйдите из системы и войдите снова.")
            .arg(reason.group);
    case PortAccessReason::HeldByAnotherProgram:
        return tr("Порт занят другой программой: закройте её (или другую копию этой программы), "
                  "и порт откроется при следующей попытке подключения.");
    case PortAccessReason::AskAdministrator:
        break;
    }
    return tr("У вашей учётной записи нет права открывать это устройство; попросите "
              "администратора дать вам доступ к нему.");
}

QString PortAccessAdviceText(const QString &portName, const QString &devicePath,
                             const PortAccessReason &reason) {
    return tr("Нет доступа к порту %1 (%2). ").arg(portName, QDir::toNativeSeparators(devicePath)) +
           PortAccessRemedyText(reason);
}
