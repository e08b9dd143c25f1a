#include "app/program_icon.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Pictures of 16 and 32 pixels in two colours, so that which one a size was made from shows.
TEST(ProgramIcon, EachSizeIsMadeFromTheSmallestPictureThatCoversIt) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString pattern = QDir(folder.path()).filePath(QStringLiteral("icon-%1.png"));
    for (const auto &[size, colour] : {std::pair{16, Qt::red}, std::pair{32, Qt::blue}}) {
        QImage picture(size, size, QImage::Format_ARGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(pattern.arg(size), "PNG"));
    }
    const QIcon icon = iconOfPictures(pattern, {16, 32});
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));

    struct Case {
        int asked;
        int made;
        QColor colour;
    };
    for (const Case c : {Case{16, 16, Qt::red}, Case{12, 12, Qt::red}, Case{24, 24, Qt::blue},
                         Case{32, 32, Qt::blue}, Case{48, 32, Qt::blue}}) {
        const QImage made = icon.pixmap(c.asked, c.asked).toImage();
        EXPECT_EQ(made.size(), QSize(c.made, c.made)) << c.asked;
        EXPECT_EQ(made.pixelColor(c.made / 2, c.made / 2), c.colour) << c.asked;
    }

    QFile::remove(pattern.arg(32));
    EXPECT_TRUE(icon.pixmap(32, 32).isNull()) << "a picture gone gives nothing, not a crash";
}

} // namespace
