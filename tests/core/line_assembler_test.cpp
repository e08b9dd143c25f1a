#include "thermo/line_assembler.h"

#include <gtest/gtest.h>

namespace {

TEST(LineAssembler, TrimLineDropsBytesUpToBlankAtBothEnds) {
    struct Case {
        QByteArray in, out;
    };
    const Case cases[] = {
        {"\n$DS1820,1 2\r", "$DS1820,1 2"},
        {QByteArray("\0\t a \x7F\x01", 7), "a \x7F"},
        // Code page 1251 letters are above 0x20 although a signed char is negative.
        {"\xC0\xFF", "\xC0\xFF"},
        {" \r\n ", ""},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(trimLine(c.in), c.out) << c.in.toHex().toStdString();
}

TEST(LineAssembler, LineSplitAcrossFeedsCompletesOnCarriageReturn) {
    TempLineAssembler a;
    const QByteArray line("$DS1820,1,OK,2,23.50,5,6,7,8*3D");
    EXPECT_TRUE(a.feed(line.left(11)).isEmpty());
    EXPECT_EQ(a.pending(), line.left(11));
    EXPECT_EQ(a.feed(line.mid(11) + "\r"), QList<QByteArray>{line});
    EXPECT_TRUE(a.pending().isEmpty());
}

TEST(LineAssembler, LineFeedIsCarriedIntoTheNextLineAndTrimmed) {
    TempLineAssembler a;
    EXPECT_EQ(a.feed(QByteArray("A\r\nB\r\n")), (QList<QByteArray>{"A", "B"}));
    EXPECT_EQ(a.pending(), "\n");
    // An empty line is still a line.
    EXPECT_EQ(a.feed('\r'), std::optional<QByteArray>(QByteArray()));
    EXPECT_EQ(a.feed('x'), std::nullopt);
}

TEST(LineAssembler, UnfinishedLineKeepsOnlyItsNewestBytes) {
    TempLineAssembler a;
    QByteArray noise;
    for (int i = 0; i < 3 * TempLineAssembler::kMaxPending + 7; ++i)
        noise.append(char('A' + i % 26));
    EXPECT_TRUE(a.feed(noise).isEmpty());
    EXPECT_EQ(a.pending(), noise.right(TempLineAssembler::kMaxPending));
    EXPECT_EQ(a.feed('\r'), std::optional<QByteArray>(noise.right(TempLineAssembler::kMaxPending)));
}

} // namespace
