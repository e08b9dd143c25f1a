#pragma once

#include "serial/receive_ring.h"
#include "serial/ser_exceptions.h"

#include <QObject>
#include <QSerialPort>

#include <exception>
#include <functional>

// One serial line: opens the port numbered ComNumber at Baud, 8 data bits, no parity, 1 stop
// bit, DTR and RTS raised, no flow control. Received bytes wait in an 8192-byte ring; bytes
// beyond it stay queued in order and move in as the handlers take bytes. Everything runs on
// the thread that owns the object: notifications are delivered from its event loop and the
// handlers run synchronously, OnTrigger first, then OnTriggerAvail.
//
// A handler may let events run. The same port then gets no nested notification (it follows
// when the handler returns), and a close requested meanwhile completes only after the handler
// returns; until then isOpen() stays true and a request to open is ignored. Delete a port from
// inside its own handler with deleteLater().
class TSerComPort : public QObject {
    Q_OBJECT
    Q_PROPERTY(quint16 ComNumber READ comNumber WRITE setComNumber)
    Q_PROPERTY(int Baud READ baud WRITE setBaud)
    Q_PROPERTY(bool Open READ isOpen WRITE setOpen)

public:
    static constexpr quint16 TriggerAvailMsg = 0x7E01;
    static constexpr int OutSize = 4096;

    using TriggerEvent =
        std::function<void(TSerComPort *cp, quint16 msg, quint16 triggerHandle, quint16 data)>;
    using TriggerAvailEvent = std::function<void(TSerComPort *cp, quint16 count)>;
    using ExceptionHandler = std::function<void(std::exception_ptr)>;

    // onHandlerError receives the exceptions that escape the notification handlers; without
    // one they are logged as warnings. Delivery goes on either way.
    explicit TSerComPort(ExceptionHandler onHandlerError = nullptr, QObject *parent = nullptr);
    ~TSerComPort() override;

    quint16 comNumber() const { return m_comNumber; }
    // Line settings take effect at the next opening.
    void setComNumber(quint16 number) { m_comNumber = number; }
    // Where the "COMn" links are looked up (port_names.h); empty: the default folder.
    const QString &portsFolder() const { return m_portsFolder; }
    void setPortsFolder(const QString &folder) { m_portsFolder = folder; }
    int baud() const { return m_baud; }
    void setBaud(int baud) { m_baud = baud; }

    bool isOpen() const { return m_state != State::Closed; }
    // true opens the port (throws EOpenComm and stays closed on failure), false closes it;
    // setting the current value changes nothing.
    void setOpen(bool open);

    void setOnTrigger(TriggerEvent handler) { m_onTrigger = std::move(handler); }
    void setOnTriggerAvail(TriggerAvailEvent handler) { m_onTriggerAvail = std::move(handler); }

    // Unread bytes less those already taken in the notification being delivered; 0 when closed.
    quint16 InCount() const;
    quint8 ReadChar();
    // Takes exactly len bytes, or throws EBufferIsEmpty and takes nothing.
    void ReadBlock(void *buffer, quint16 len);
    void WriteChar(quint8 c);
    // Drops every byte received and not taken. Inside a notification that is every byte received
    // up to the wake-up that delivers it; bytes still arriving make the next notification.
    void ClearInput();

private:
    enum class State { Closed, Open, Closing };

    void openPort();
    bool applyLineSettings();
    void finishClose();
    void checkNotClosed() const;
    void afterTake();
    void pump();
    void fillRing();
    void deliver();
    void onSerialError(QSerialPort::SerialPortError error);
    template <typename Call> void runHandler(Call &&call);

    QSerialPort m_serial;
    TSerReceiveRing m_ring;
    State m_state = State::Closed;
    quint16 m_comNumber = 0;
    QString m_portsFolder;
    int m_baud = 19200;
    quint64 m_notifiedUpTo = 0;
    bool m_pumpQueued = false;
    TriggerEvent m_onTrigger;
    TriggerAvailEvent m_onTriggerAvail;
    ExceptionHandler m_onHandlerError;
};
