#include "ui/desktop_notifier.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QWidget>

#ifdef TAMREL_DBUS_NOTIFICATIONS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#endif

namespace {

constexpr int kShownMs = 15000;
const QString kService = QStringLiteral("org.freedesktop.Notifications");

} // namespace

DesktopNotifier::DesktopNotifier(QWidget *window) : QObject(window), m_window(window) {}

void DesktopNotifier::notify(const QString &title, const QString &text) {
    if (!notifyOverDBus(title, text))
        notifyInTray(title, text);
    QApplication::alert(m_window);
}

bool DesktopNotifier::notifyOverDBus(const QString &title, const QString &text) {
#ifdef TAMREL_DBUS_NOTIFICATIONS
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface *daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (!daemon)
        return false;
    // A notification server is often started by the bus on the first call.
    if (!daemon->isServiceRegistered(kService).value() &&
        !daemon->activatableServiceNames().value().contains(kService))
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, QStringLiteral("/org/freedesktop/Notifications"),
                                       kService, QStringLiteral("Notify"));
    call << QApplication::applicationName() << uint(0) << QStringLiteral("utility-for-tamrel")
         << title << text << QStringList() << QVariantMap() << int(kShownMs);
    return bus.send(call);
#else
    Q_UNUSED(title);
    Q_UNUSED(text);
    return false;
#endif
}

bool DesktopNotifier::notifyInTray(const QString &title, const QString &text) {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(m_window->windowIcon(), this);
        m_tray->setToolTip(QApplication::applicationName());
        // Clicking the message or the icon brings the window back.
        connect(m_tray, &QSystemTrayIcon::messageClicked, m_window, [w = m_window] {
            w->showNormal();
            w->activateWindow();
        });
        connect(m_tray, &QSystemTrayIcon::activated, m_window, [w = m_window] {
            w->showNormal();
            w->activateWindow();
        });
    }
    m_tray->show();
    m_tray->showMessage(title, text, QSystemTrayIcon::Information, kShownMs);
    return true;
}
