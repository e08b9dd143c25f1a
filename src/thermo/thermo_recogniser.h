#pragma once

#include "thermo/line_assembler.h"

#include <QByteArray>

// Tells from the bytes of a line that nobody has named whether the thermometer is on it: one
// whole line with the "$DS1820" header and a good checksum is enough, noise never makes one.
// A line whose sensor reports a fault still names the thermometer.
class ThermoStreamRecogniser {
public:
    // Bytes as they arrive; the first line is usually cut, as listening starts mid-line.
    void feed(const QByteArray &bytes);

    int lines() const { return m_lines; }
    bool recognised() const { return m_lines > 0; }

private:
    TempLineAssembler m_assembler;
    int m_lines = 0;
};
