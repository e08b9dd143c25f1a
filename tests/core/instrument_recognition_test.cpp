// Telling the meter and the thermometer by what they send on a line nobody has named.
#include "meter/frame_scan.h"
#include "meter/meter_recogniser.h"
#include "thermo/thermo_recogniser.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray frame(uint8_t fill) {
    QByteArray f(kFrameSize, char(fill));
    f[0] = char(kFrameStart);
    f[kFrameSize - 1] = char(frameChecksum(reinterpret_cast<const uint8_t *>(f.constData())));
    return f;
}

QByteArray noise(int count, unsigned seed) {
    std::mt19937 rng(seed);
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(rng() & 0xFF));
    return bytes;
}

// `body` (everything between "$" and "*") with the checksum the device sends, and a CR.
QByteArray line(const QByteArray &body) {
    uint8_t sum = 0;
    for (const char c : body)
        sum ^= uint8_t(c);
    return "$" + body + "*" + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper() + "\r";
}

// Feeds the stream in pieces of `piece` bytes.
template <typename Recogniser>
void feedInPieces(Recogniser &r, const QByteArray &bytes, int piece) {
    for (int i = 0; i < bytes.size(); i += piece)
        r.feed(bytes.mid(i, piece));
}

TEST(MeterRecognition, TwoCheckedFramesInAnyPiecesAreTheMeter) {
    QByteArray badSum = frame(0x11);
    badSum[kFrameSize - 1] = char(badSum[kFrameSize - 1] + 1);
    const struct {
        const char *name;
        QByteArray bytes;
        int frames;
    } cases[] = {
        {"two frames", frame(1) + frame(2), 2},
        {"one frame is not enough", noise(5, 7) + frame(1), 1},
        {"noise and stray start bytes around the frames",
         noise(13, 1) + "\xAA\xAA" + frame(3) + noise(40, 2) + "\xAA" + frame(4) + "\xAA", 2},
        {"a checksum off by one", badSum + frame(5), 1},
        {"a frame cut off at the end", frame(6) + frame(7).left(21), 1},
    };
    for (const auto &c : cases) {
        for (const int piece : {1, 5, 22, 1000}) {
            MeterStreamRecogniser r;
            feedInPieces(r, c.bytes, piece);
            EXPECT_EQ(r.frames(), c.frames) << c.name << ", pieces of " << piece;
            EXPECT_EQ(r.recognised(), c.frames >= 2) << c.name << ", pieces of " << piece;
        }
    }
}

TEST(MeterRecognition, ThermometerLinesAndNoiseAreNotTheMeter) {
    MeterStreamRecogniser r;
    for (int i = 0; i < 50; ++i)
        r.feed(line("DS1820,1,OK,2,23.50,5,6,7,8"));
    r.feed(noise(4000, 11));
    EXPECT_FALSE(r.recognised());
}

TEST(ThermoRecognition, OneWholeSignedDs1820LineIsTheThermometer) {
    const struct {
        const char *name;
        QByteArray bytes;
        bool recognised;
    } cases[] = {
        {"a whole line after a cut one", "0,5,6,7,8*3D\r" + line("DS1820,1,OK,2,23.50,5,6,7,8"),
         true},
        {"CR LF endings", line("DS1820,1,OK,2,23.50,5,6,7,8") + "\n", true},
        {"a sensor fault still names the thermometer", line("DS1820,1,ERR,2,,5,6,7,8"), true},
        {"only the cut line", "0,5,6,7,8*3D\r", false},
        {"a line not yet ended", line("DS1820,1,OK,2,23.50,5,6,7,8").chopped(1), false},
        {"another header", line("GPGGA,1,OK,2,23.50,5,6,7,8"), false},
        {"a wrong checksum", "$DS1820,1,OK,2,23.50,5,6,7,8*3E\r", false},
        {"meter frames and noise", frame(1) + frame(2) + noise(3000, 5), false},
    };
    for (const auto &c : cases) {
        for (const int piece : {1, 7, 1000}) {
            ThermoStreamRecogniser r;
            feedInPieces(r, c.bytes, piece);
            EXPECT_EQ(r.recognised(), c.recognised) << c.name << ", pieces of " << piece;
        }
    }
}

} // namespace
