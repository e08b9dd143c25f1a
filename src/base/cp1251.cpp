#include "base/cp1251.h"

#include <array>

namespace cp1251 {
namespace {

// Code points of the bytes 0x80 .. 0xFF. The byte 0x98 has no character in
// the code page; it maps to U+0098 so that every byte survives a round trip.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

char encodeHigh(char16_t u) {
    if (u >= 0x0410 && u <= 0x044F) // А..я lie in the same order at 0xC0..0xFF
        return static_cast<char>(0xC0 + (u - 0x0410));
    for (int i = 0; i < 128; ++i) {
        if (kHighHalf[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

// Both directions first copy every character as if the text were ASCII, in a
// loop without branches, and then redo the few that are not: the texts that
// go through here (files, logs) are nearly all ASCII.

QString decode(const QByteArray &bytes) {
    const qsizetype n = bytes.size();
    QString text(n, Qt::Uninitialized);
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    auto *out = reinterpret_cast<char16_t *>(text.data());
    unsigned char any = 0;
    for (qsizetype i = 0; i < n; ++i) {
        out[i] = in[i];
        any |= in[i];
    }
    if (any >= 0x80) {
        for (qsizetype i = 0; i < n; ++i) {
            if (in[i] >= 0x80)
                out[i] = kHighHalf[in[i] - 0x80];
        }
    }
    return text;
}

QByteArray encode(const QString &text, bool *lossless) {
    const qsizetype n = text.size();
    QByteArray bytes(n, Qt::Uninitialized);
    const auto *in = reinterpret_cast<const char16_t *>(text.constData());
    char *out = bytes.data();
    char16_t any = 0;
    for (qsizetype i = 0; i < n; ++i) {
        out[i] = static_cast<char>(in[i]);
        any |= in[i];
    }
    bool all = true;
    if (any >= 0x80) {
        for (qsizetype i = 0; i < n; ++i) {
            if (in[i] >= 0x80) {
                out[i] = encodeHigh(in[i]);
                all = all && out[i] != '?';
            }
        }
    }
    if (lossless)
        *lossless = all;
    return bytes;
}

} // namespace cp1251
