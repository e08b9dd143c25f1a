#include "base/cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, RussianTextRoundTripsThroughSingleBytes) {
    const QString text = QStringLiteral("Измеритель иммитанса Tamrel; °C ё Ё №");
    bool lossless = false;
    const QByteArray bytes = cp1251::encode(text, &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(0)), 0xC8); // И
    EXPECT_EQ(cp1251::decode(bytes), text);
}

TEST(Cp1251, EveryByteSurvivesARoundTripAndForeignCharactersBecomeQuestionMarks) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(cp1251::encode(cp1251::decode(all)), all);
    EXPECT_EQ(cp1251::encode(QStringLiteral("日")), QByteArray("?"));
}

TEST(Cp1251, EveryCharacterBecomesItsOwnByteOrAQuestionMark) {
    QString all;
    for (int u = 0; u <= 0xFFFF; ++u)
        all.append(QChar(char16_t(u)));
    bool lossless = true;
    const QByteArray bytes = cp1251::encode(all, &lossless);
    EXPECT_FALSE(lossless);
    ASSERT_EQ(bytes.size(), all.size());
    const QString back = cp1251::decode(bytes);
    int kept = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
        if (back.at(u) == all.at(u))
            ++kept;
        else
            ASSERT_EQ(bytes.at(u), '?') << std::hex << u;
    }
    EXPECT_EQ(kept, 256);
}
