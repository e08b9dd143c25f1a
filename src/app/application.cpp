#include "app/application.h"

#include "settings/data_folder.h"

#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>

// Message boxes shown before the window (a failed settings load) carry the
// program's title too. The name is the application's, not a display name:
// a display name would be appended to every window's caption.
Application::Application(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(ProgramName());
    // The user's configuration folder (AppConfigLocation) is found under both names.
    setOrganizationName(ProgramOrganisationName());
    // Desktops match the window to the installed entry and its icon by this name.
    setDesktopFileName(QStringLiteral("utility-for-tamrel"));
    // The standard dialogs and buttons in the user's language (Russian on the
    // lab PCs) where Qt's translations are installed.
    if (m_qtTranslator.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_qtTranslator);
}

// Nothing a handler throws may end a run that is hours old: the error is
// logged with the object and the event it came with, and the program goes on.
bool Application::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        logEscaped(receiver, event, e.what());
    } catch (...) {
        logEscaped(receiver, event, "an exception of unknown type");
    }
    return false;
}

void Application::logEscaped(const QObject *receiver, const QEvent *event, const char *what) {
    qWarning("%s \"%s\", event %d: %s", receiver ? receiver->metaObject()->className() : "-",
             receiver ? qPrintable(receiver->objectName()) : "", event ? int(event->type()) : -1,
             what);
}
