#include "thermo/line_assembler.h"

namespace {

bool meaningless(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

QByteArray trimLine(QByteArray line) {
    qsizetype end = line.size();
    while (end > 0 && meaningless(line.at(end - 1)))
        --end;
    qsizetype begin = 0;
    while (begin < end && meaningless(line.at(begin)))
        ++begin;
    return line.mid(begin, end - begin);
}

std::optional<QByteArray> TempLineAssembler::feed(char byte) {
    if (byte == '\r') {
        QByteArray line = trimLine(TempLineBuffer);
        TempLineBuffer.truncate(0);
        return line;
    }
    TempLineBuffer.append(byte);
    if (TempLineBuffer.size() > kMaxPending)
        TempLineBuffer.remove(0, TempLineBuffer.size() - kMaxPending);
    return std::nullopt;
}

QList<QByteArray> TempLineAssembler::feed(const QByteArray &block) {
    QList<QByteArray> lines;
    for (const char c : block) {
        if (std::optional<QByteArray> line = feed(c))
            lines.append(*line);
    }
    return lines;
}
