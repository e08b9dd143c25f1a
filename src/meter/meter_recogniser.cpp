#include "meter/meter_recogniser.h"

#include "meter/frame_scan.h"

void MeterStreamRecogniser::feed(const QByteArray &bytes) {
    m_pending.append(bytes);
    const auto *data = reinterpret_cast<const uint8_t *>(m_pending.constData());
    int p = 0;
    while (p + kFrameSize <= m_pending.size()) {
        if (data[p] == kFrameStart && frameChecksum(data + p) == data[p + kFrameSize - 1]) {
            ++m_frames;
            p += kFrameSize;
        } else {
            ++p;
        }
    }
    m_pending.remove(0, p);
}
