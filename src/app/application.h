#pragma once

#include <QApplication>
#include <QTranslator>

// The program's application object. An exception that escapes an event handler
// is logged here and goes no further: no dialog, and the program goes on with
// its next event.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    static void logEscaped(const QObject *receiver, const QEvent *event, const char *what);

    QTranslator m_qtTranslator;
};
