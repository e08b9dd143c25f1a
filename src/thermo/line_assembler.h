#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The bytes with no meaning at either end of a thermometer line (<= 0x20:
// blanks, CR, LF and other control characters) removed.
QByteArray trimLine(QByteArray line);

// Collects the thermometer's bytes into lines ending in a carriage return.
// What has arrived since the last carriage return is kept between feeds (and
// across a reopening of the port), but only its newest kMaxPending bytes, so a
// device that never ends its line cannot make it grow without end.
class TempLineAssembler {
public:
    static constexpr int kMaxPending = 4096;

    // Returns the completed line, trimmed, when `byte` is a carriage return.
    // An empty line (CR right after CR) is returned too: it is a line the
    // device sent, and it is recorded as not valid.
    std::optional<QByteArray> feed(char byte);
    // Every line that the block completes, in order.
    QList<QByteArray> feed(const QByteArray &block);

    // The unfinished line so far.
    const QByteArray &pending() const { return TempLineBuffer; }

private:
    QByteArray TempLineBuffer;
};
