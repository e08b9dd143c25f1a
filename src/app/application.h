#pragma once

#include <QApplication>
#include <QTranslator>

// The program's application object. An exception that escapes an event handler
// is dropped here: no dialog, and the program goes on with its next event.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    QTranslator m_qtTranslator;
};
