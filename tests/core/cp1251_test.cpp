#include "base/cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, RussianTextRoundTripsThroughSingleBytes) {
    const QString text = QStringLiteral("Измеритель иммитанса Tamrel; °C ё Ё №");
    const QByteArray bytes = cp1251::encode(text);
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
