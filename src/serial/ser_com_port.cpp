#include "serial/ser_com_port.h"

#include "serial/platform.h"
#include "serial/port_names.h"

#include <algorithm>

namespace {

bool isDeviceFailure(QSerialPort::SerialPortError error) {
    return error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
           error == QSerialPort::ResourceError;
}

QString describe(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("an exception of unknown type");
    }
}

} // namespace

// Exceptions must not unwind through Qt's event dispatch.
template <typename Call> void TSerComPort::runHandler(Call &&call) {
    try {
        call();
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (!m_onHandlerError) {
            qWarning("COM%u (%s): notification handler failed: %s", unsigned(m_comNumber),
                     qPrintable(objectName()), qPrintable(describe(error)));
            return;
        }
        try {
            m_onHandlerError(error);
        } catch (...) {
            qWarning("COM%u (%s): the handler of a failed notification failed too: %s",
                     unsigned(m_comNumber), qPrintable(objectName()),
                     qPrintable(describe(std::current_exception())));
        }
    }
}

TSerComPort::TSerComPort(ExceptionHandler onHandlerError, QObject *parent)
    : QObject(parent), m_onHandlerError(std::move(onHandlerError)) {
    connect(&m_serial, &QSerialPort::readyRead, this, &TSerComPort::pump);
    connect(&m_serial, &QSerialPort::errorOccurred, this, &TSerComPort::onSerialError);
}

TSerComPort::~TSerComPort() {
    m_serial.disconnect(this);
}

void TSerComPort::setOpen(bool open) {
    if (open) {
        if (m_state == State::Closed)
            openPort();
        return;
    }
    if (m_state != State::Open)
        return;
    m_state = State::Closing;
    if (m_serial.isOpen())
        m_serial.clear(QSerialPort::AllDirections);
    m_ring.discardUnread();
    // Inside a notification the handler still runs on this port's data; deliver() finishes.
    if (!m_ring.readingAhead())
        finishClose();
}

void TSerComPort::openPort() {
    if (m_comNumber == 0)
        throw ENoPortSelected();
    const QString path = ComDevicePath(m_comNumber, m_portsFolder);
    if (path.isEmpty())
        throw EBadId(QStringLiteral("No device for COM%1").arg(m_comNumber));

    m_serial.setPortName(path);
    if (!m_serial.open(QIODevice::ReadWrite)) {
        const int systemError = platform::lastSystemError();
        const QSerialPort::SerialPortError error = m_serial.error();
        const QString text = path + QStringLiteral(": ") + m_serial.errorString();
        m_serial.clearError();
        if (error == QSerialPort::DeviceNotFoundError)
            throw EBadId(text);
        switch (RefusedPortState(error, path)) {
        case PortState::Held:
            throw EAlreadyOpen(text);
        case PortState::NoPermission:
            throw ENoPermission(path, text);
        case PortState::Missing:
        case PortState::Free:
            break;
        }
        throw EOpenComm(systemError, text);
    }
    if (!applyLineSettings()) {
        const int systemError = platform::lastSystemError();
        const QString text = QStringLiteral("%1: cannot set %2 bit/s: %3")
                                 .arg(path)
                                 .arg(m_baud)
                                 .arg(m_serial.errorString());
        m_serial.close();
        m_serial.clearError();
        throw EOpenComm(systemError, text);
    }
    m_ring.reset();
    m_notifiedUpTo = 0;
    m_state = State::Open;
}

bool TSerComPort::applyLineSettings() {
    const bool applied = m_serial.setBaudRate(m_baud) && m_serial.setDataBits(QSerialPort::Data8) &&
                         m_serial.setParity(QSerialPort::NoParity) &&
                         m_serial.setStopBits(QSerialPort::OneStop) &&
                         m_serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!applied)
        return false;
    // Pseudo-terminals and some adapters have no modem lines; the data still flows.
    m_serial.setDataTerminalReady(true);
    m_serial.setRequestToSend(true);
    m_serial.clearError();
    return true;
}

void TSerComPort::finishClose() {
    if (m_serial.isOpen())
        m_serial.close();
    m_serial.clearError();
    m_ring.reset();
    m_state = State::Closed;
}

void TSerComPort::checkNotClosed() const {
    if (m_state == State::Closed)
        throw ECommNotOpen();
}

quint16 TSerComPort::InCount() const {
    return m_state == State::Open ? quint16(m_ring.available()) : 0;
}

quint8 TSerComPort::ReadChar() {
    checkNotClosed();
    if (m_state == State::Closing)
        return 0;
    char c = 0;
    if (!m_ring.take(&c, 1))
        throw EBufferIsEmpty();
    afterTake();
    return quint8(c);
}

void TSerComPort::ReadBlock(void *buffer, quint16 len) {
    checkNotClosed();
    if (m_state == State::Closing)
        return;
    if (!m_ring.take(static_cast<char *>(buffer), len))
        throw EBufferIsEmpty();
    afterTake();
}

void TSerComPort::WriteChar(quint8 c) {
    checkNotClosed();
    if (m_state == State::Closing)
        return;
    if (!m_serial.isOpen())
        throw ESerialIO(EIO, QStringLiteral("COM%1 is no longer available").arg(m_comNumber));
    if (m_serial.bytesToWrite() >= OutSize)
        throw EOutputBufferTooSmall();
    const char byte = char(c);
    m_serial.write(&byte, 1);
}

// Inside a notification the device was read when the event loop woke for it: what the driver
// holds now came in since, the head of the next frame at most, and flushing it would cut that
// frame and cost a system call per frame. Bytes that wait beyond the ring are dropped either way.
void TSerComPort::ClearInput() {
    checkNotClosed();
    if (m_state == State::Closing)
        return;
    const bool inNotification = m_ring.readingAhead();
    m_ring.discardUnread();
    if (!m_serial.isOpen())
        return;
    if (inNotification)
        m_serial.skip(m_serial.bytesAvailable());
    else
        m_serial.clear(QSerialPort::Input);
}

// Room made outside a notification lets bytes queued beyond the ring move in without
// waiting for new ones to arrive.
void TSerComPort::afterTake() {
    if (m_ring.readingAhead() || m_pumpQueued || !m_serial.isOpen() ||
        m_serial.bytesAvailable() == 0)
        return;
    m_pumpQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pumpQueued = false;
            pump();
        },
        Qt::QueuedConnection);
}

void TSerComPort::pump() {
    // While a notification is delivered this returns at once: the loop of the outer call
    // picks up whatever arrived when the handler returns.
    while (m_state == State::Open && !m_ring.readingAhead()) {
        fillRing();
        if (m_ring.totalIn() == m_notifiedUpTo || m_ring.unread() == 0)
            return;
        deliver();
    }
}

void TSerComPort::fillRing() {
    char chunk[4096];
    while (m_serial.isOpen() && m_ring.freeSpace() > 0) {
        const qint64 wanted = std::min<qint64>(sizeof chunk, m_ring.freeSpace());
        const qint64 got = m_serial.read(chunk, wanted);
        if (got <= 0)
            return;
        m_ring.push(chunk, int(got));
    }
}

void TSerComPort::deliver() {
    const quint16 count = quint16(m_ring.unread());
    m_notifiedUpTo = m_ring.totalIn();
    m_ring.beginReadAhead();
    // Copies, so a handler may replace the handlers while it runs.
    if (const TriggerEvent onTrigger = m_onTrigger)
        runHandler([&] { onTrigger(this, TriggerAvailMsg, count, count); });
    if (m_state == State::Open) {
        if (const TriggerAvailEvent onTriggerAvail = m_onTriggerAvail)
            runHandler([&] { onTriggerAvail(this, count); });
    }
    m_ring.commitReadAhead();
    if (m_state == State::Closing)
        finishClose();
}

// Qt retries a vanished device endlessly; closing the device stops that. The port stays open
// for its owner, who notices the silence and reopens it.
void TSerComPort::onSerialError(QSerialPort::SerialPortError error) {
    if (isDeviceFailure(error) && m_serial.isOpen())
        m_serial.close();
}
