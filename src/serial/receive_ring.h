#pragma once

#include <QtGlobal>

#include <array>

// Received bytes waiting for the notification handlers. While a notification is delivered the
// handlers read ahead of the tail; the tail moves past what they took only when they are done,
// so a handler sees a stable count and the bytes it took are released in one step.
class TSerReceiveRing {
public:
    static constexpr int Size = 8192;

    int unread() const { return m_count; }
    // Unread bytes less those already taken in the current read-ahead.
    int available() const { return m_count - m_taken; }
    int freeSpace() const { return Size - m_count; }
    // Bytes ever stored: tells newly arrived data from leftovers even after a full lap.
    quint64 totalIn() const { return m_totalIn; }

    // Stores up to freeSpace() bytes of data and returns how many it took.
    int push(const char *data, int len);
    // Copies exactly len bytes to dst; takes nothing and returns false if fewer are available.
    bool take(char *dst, int len);
    // Drops every byte not yet taken.
    void discardUnread();

    void beginReadAhead();
    void commitReadAhead();
    bool readingAhead() const { return m_readAhead; }

    void reset();

private:
    std::array<char, Size> m_data{};
    int m_tail = 0;
    int m_count = 0;
    int m_taken = 0;
    bool m_readAhead = false;
    quint64 m_totalIn = 0;
};
