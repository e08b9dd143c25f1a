#include "serial/port_access.h"

#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifndef Q_OS_WIN
bool statDevice(const QString &devicePath, struct stat *info) {
    return ::stat(QFile::encodeName(devicePath).constData(), info) == 0;
}

QString userName() {
    if (const passwd *user = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(user->pw_name);
    return qEnvironmentVariable("USER");
}

// Listed as a member, though this process does not carry the group: added since the login.
bool listedIn(const group &g, const QString &user) {
    for (char **member = g.gr_mem; member && *member; ++member)
        if (QString::fromLocal8Bit(*member) == user)
            return true;
    return false;
}
#endif

QString askAdministrator() {
    return QStringLiteral("У вашей учётной записи нет права открывать это устройство; попросите "
                          "администратора дать вам доступ к нему.");
}

} // namespace

QString NoPermissionRemedy(const QString &devicePath) {
#ifdef Q_OS_WIN
    Q_UNUSED(devicePath);
    return askAdministrator();
#else
    struct stat info {};
    const bool groupMayOpen =
        statDevice(devicePath, &info) && (info.st_mode & S_IRGRP) && (info.st_mode & S_IWGRP);
    // Joining root's group is no advice to give.
    const group *g = groupMayOpen && info.st_gid != 0 ? ::getgrgid(info.st_gid) : nullptr;
    if (!g)
        return askAdministrator();

    const QString groupName = QString::fromLocal8Bit(g->gr_name);
    const QString user = userName();
    if (listedIn(*g, user))
        return QStringLiteral("Вы уже в группе «%1», но вошли в систему раньше, чем вас в неё "
                              "добавили: выйдите из системы и войдите снова.")
            .arg(groupName);
#ifdef Q_OS_LINUX
    return QStringLiteral("Порт открывают члены группы «%1». Добавьте себя в неё командой\n\n"
                          "sudo usermod -aG %1 %2\n\n"
                          "и войдите в систему заново (выйдите из сеанса и войдите снова).")
        .arg(groupName, user);
#else
    return QStringLiteral("Порт открывают члены группы «%1». Попросите администратора добавить "
                          "вас в неё и войдите в систему заново.")
        .arg(groupName);
#endif
#endif
}

QString NoPermissionAdvice(const QString &portName, const QString &devicePath) {
    return QStringLiteral("Нет доступа к порту %1 (%2). ")
               .arg(portName, QDir::toNativeSeparators(devicePath)) +
           NoPermissionRemedy(devicePath);
}
