#pragma once

#include <QString>

#include <exception>
#include <string>

// Errors of the serial port component. Callers catch a family (EOpenComm for opening and
// state errors, ESerialIO for input/output errors) or a single class; code() tells them apart
// without RTTI when the exception travels as the base.
class ESerException : public std::exception {
public:
    ESerException(int code, const QString &message)
        : m_code(code), m_message(message), m_what(message.toStdString()) {}
    int code() const noexcept { return m_code; }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_code;
    QString m_message;
    std::string m_what;
};

class EOpenComm : public ESerException {
public:
    using ESerException::ESerException;
};

class ESerialIO : public ESerException {
public:
    using ESerException::ESerException;
};

class EBadId : public EOpenComm {
public:
    static constexpr int Code = -2001;
    explicit EBadId(const QString &message = QStringLiteral("Port does not exist"))
        : EOpenComm(Code, message) {}
};

class ECommNotOpen : public EOpenComm {
public:
    static constexpr int Code = -2007;
    ECommNotOpen() : EOpenComm(Code, QStringLiteral("Port is not open")) {}
};

class EAlreadyOpen : public EOpenComm {
public:
    static constexpr int Code = -2008;
    explicit EAlreadyOpen(const QString &message = QStringLiteral("Port is already in use"))
        : EOpenComm(Code, message) {}
};

// Access denied because this user may not open the device at all (on Linux: not in the
// group that owns it), not because another program holds it. An EAlreadyOpen still, for
// whoever only asks whether the port could be had.
class ENoPermission : public EAlreadyOpen {
public:
    ENoPermission(const QString &devicePath, const QString &message)
        : EAlreadyOpen(message), m_devicePath(devicePath) {}
    const QString &devicePath() const noexcept { return m_devicePath; }

private:
    QString m_devicePath;
};

class ENoPortSelected : public EOpenComm {
public:
    static constexpr int Code = -2011;
    ENoPortSelected() : EOpenComm(Code, QStringLiteral("No port selected")) {}
};

class EOutputBufferTooSmall : public ESerialIO {
public:
    static constexpr int Code = -3006;
    EOutputBufferTooSmall() : ESerialIO(Code, QStringLiteral("Output buffer is full")) {}
};

class EBufferIsEmpty : public ESerialIO {
public:
    static constexpr int Code = -3007;
    EBufferIsEmpty() : ESerialIO(Code, QStringLiteral("Not enough received bytes waiting")) {}
};
