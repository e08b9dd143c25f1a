#pragma once

#include <QObject>
#include <QString>

class QSystemTrayIcon;
class QWidget;

// Tells the user something on the desktop, for when the window is not looked
// at: through the freedesktop notification service on the session's D-Bus
// where one answers, otherwise as a message of an icon in the system tray
// (Windows, and Linux desktops with a tray). The window's task bar entry is
// marked either way.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    // `window` lends its icon and its task bar entry.
    explicit DesktopNotifier(QWidget *window);

    void notify(const QString &title, const QString &text);

private:
    bool notifyOverDBus(const QString &title, const QString &text);
    bool notifyInTray(const QString &title, const QString &text);

    QWidget *m_window;
    QSystemTrayIcon *m_tray = nullptr;
};
