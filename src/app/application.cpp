#include "app/application.h"

#include <QLibraryInfo>
#include <QLocale>

// Message boxes shown before the window (a failed settings load) carry the
// program's title too. The name is the application's, not a display name:
// a display name would be appended to every window's caption.
Application::Application(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Utility for Tamrel"));
    // The standard dialogs and buttons in the user's language (Russian on the
    // lab PCs) where Qt's translations are installed.
    if (m_qtTranslator.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_qtTranslator);
}

bool Application::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        return false;
    }
}
