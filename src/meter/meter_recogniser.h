#pragma once

#include <QByteArray>

// Tells from the bytes of a line that nobody has named whether the meter is on it: the meter
// sends its display frames (start byte, checksum) several times a second. A checked frame
// turns up by chance in noise at about one position in 65 536, so a single one proves
// little; two are the meter.
class MeterStreamRecogniser {
public:
    static constexpr int kFramesNeeded = 2;

    // Bytes as they arrive; a frame may be split across any number of feeds.
    void feed(const QByteArray &bytes);

    int frames() const { return m_frames; }
    bool recognised() const { return m_frames >= kFramesNeeded; }

private:
    // The newest bytes that may still begin a frame.
    QByteArray m_pending;
    int m_frames = 0;
};
