#include "thermo/thermo_recogniser.h"

#include "thermo/temp_parse.h"

#include <QDateTime>

void ThermoStreamRecogniser::feed(const QByteArray &bytes) {
    for (const QByteArray &line : m_assembler.feed(bytes)) {
        const TTempPacket packet =
            ParseTempEvent(TempRecordFromLine(line, QDateTime()), QLatin1Char('.'));
        if (packet.HeaderOk && packet.ChecksumOk)
            ++m_lines;
    }
}
