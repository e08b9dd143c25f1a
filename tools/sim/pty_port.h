#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The instrument's end of a pseudo-terminal pair. The program under test opens the
// other end (the slave device, or the link that names it) as its serial port.
//
// The port keeps the slave open itself, so the pair does not hang up when the program
// closes its end, and sets it to raw mode so every byte passes untouched. Bytes that
// nobody reads are dropped once a backlog builds up, as on a serial line with no
// listener: a program that opens the port late sees current data, not old frames,
// and may open it even when the one before died holding it in exclusive mode.
class PtyPort : public QObject {
    Q_OBJECT
public:
    explicit PtyPort(QObject *parent = nullptr);
    ~PtyPort() override;

    // A symbolic link that names the slave device (made on open, moved on reopen,
    // removed on close). An existing link there is replaced; any other file is not.
    void setLinkPath(const QString &path) { m_linkPath = path; }
    QString linkPath() const { return m_linkPath; }

    bool open();
    void close();
    // A new pair in place of the old one, as when a device is unplugged and plugged in
    // again: whoever held the old slave sees it hang up; the link names the new one.
    bool reopen();

    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    QString errorString() const { return m_error; }

    // Writes all of bytes unless the line is jammed; false when anything was lost.
    bool write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);

private:
    void readMaster();
    bool fail(const QString &what);
    bool makeLink();
    void removeLink();
    void dropBacklog();

    int m_master = -1;
    int m_slave = -1;
    QSocketNotifier *m_notifier = nullptr;
    QString m_slavePath;
    QString m_linkPath;
    QString m_error;
};
