#include "serial/receive_ring.h"

#include <algorithm>
#include <cstring>

int TSerReceiveRing::push(const char *data, int len) {
    const int accepted = std::min(len, freeSpace());
    int head = (m_tail + m_count) % Size;
    int done = 0;
    while (done < accepted) {
        const int chunk = std::min(accepted - done, Size - head);
        std::memcpy(m_data.data() + head, data + done, chunk);
        done += chunk;
        head = (head + chunk) % Size;
    }
    m_count += accepted;
    m_totalIn += accepted;
    return accepted;
}

bool TSerReceiveRing::take(char *dst, int len) {
    if (len < 0 || len > available())
        return false;
    int pos = (m_tail + m_taken) % Size;
    int done = 0;
    while (done < len) {
        const int chunk = std::min(len - done, Size - pos);
        std::memcpy(dst + done, m_data.data() + pos, chunk);
        done += chunk;
        pos = (pos + chunk) % Size;
    }
    if (m_readAhead) {
        m_taken += len;
    } else {
        m_tail = pos;
        m_count -= len;
    }
    return true;
}

void TSerReceiveRing::discardUnread() {
    if (m_readAhead) {
        m_taken = m_count;
    } else {
        m_tail = (m_tail + m_count) % Size;
        m_count = 0;
    }
}

void TSerReceiveRing::beginReadAhead() {
    m_readAhead = true;
    m_taken = 0;
}

void TSerReceiveRing::commitReadAhead() {
    m_tail = (m_tail + m_taken) % Size;
    m_count -= m_taken;
    m_taken = 0;
    m_readAhead = false;
}

void TSerReceiveRing::reset() {
    m_tail = 0;
    m_count = 0;
    m_taken = 0;
    m_readAhead = false;
    m_totalIn = 0;
}
