// The keypad replica: painted faces, the wiring of each key to its command,
// the rounded outline and the names a screen reader gives the keys.
#include "test_window.h"
#include "ui/keypad_view.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Key = KeypadView::Key;

const QRgb kDark = qRgb(12, 12, 12);
const QRgb kLight = qRgb(251, 251, 251);

struct KeyCase {
    Key key;
    const char *button;
    bool dark;
    bool digit; // a digit is painted on the face
    const char *accessibleName;
    QAction *MainActions::*action;
};

const KeyCase kKeys[] = {
    {Key::F1, "btnF1", false, false, "F1", &MainActions::actCMDF1},
    {Key::F2, "btnF2", false, false, "F2", &MainActions::actCMDF2},
    {Key::F3, "btnF3", false, false, "F3", &MainActions::actCMDF3},
    {Key::F4, "btnF4", false, false, "F4", &MainActions::actCMDF4},
    {Key::K1, "btn1", false, true, "1 C", &MainActions::actCMD1C},
    {Key::K2, "btn2", false, true, "2 L", &MainActions::actCMD2L},
    {Key::K3, "btn3", false, true, "3 R", &MainActions::actCMD3R},
    {Key::K4, "btn4", false, true, "4 I", &MainActions::actCMD4DQ},
    {Key::K5, "btn5", true, true, "5 ^", &MainActions::actCMD5UP},
    {Key::K6, "btn6", false, true, "6 Z", &MainActions::actCMD6Menu},
    {Key::K7, "btn7", true, true, "7 <", &MainActions::actCMD7LEFT},
    {Key::K8, "btn8", true, true, "8 ВВОД", &MainActions::actCMD8Enter},
    {Key::K9, "btn9", true, true, "9 >", &MainActions::actCMD9Right},
    {Key::K10, "btn10", false, false, "XX", &MainActions::actCMD10XX},
    {Key::K11, "btn11", true, true, "0 v", &MainActions::actCMD11DOWN},
    {Key::K12, "btn12", false, false, "Меню", &MainActions::actCMD12X3},
};

class KeypadTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (QTimer *timer : window.findChildren<QTimer *>())
            timer->stop();
    }
    QPushButton *button(Key key) const { return window.ui().pnlButtons->button(key); }

    static TMainOptions isolatedOptions(const QTemporaryDir &dir) {
        TMainOptions options;
        options.settingsPath = dir.filePath(QStringLiteral("options.ini"));
        return options;
    }

    QTemporaryDir settingsDir;
    TestWindow window{isolatedOptions(settingsDir)};
};

TEST_F(KeypadTest, FacesAreDarkExactlyForFiveSevenEightNineAndZero) {
    for (const KeyCase &k : kKeys) {
        SCOPED_TRACE(k.button);
        QPushButton *b = button(k.key);
        EXPECT_EQ(b->objectName(), QLatin1String(k.button));
        EXPECT_TRUE(b->text().isEmpty()) << "the key shows no caption of its own";
        EXPECT_EQ(b->size(), QSize(40, 18));

        const QImage face = b->icon().pixmap(b->iconSize()).toImage();
        ASSERT_EQ(face.size(), QSize(40, 18));
        const QRgb faceColour = k.dark ? kDark : kLight;
        const QRgb textColour = k.dark ? kLight : kDark;
        EXPECT_EQ(face.pixel(0, 0), faceColour);
        EXPECT_EQ(face.pixel(38, 16), faceColour);
        EXPECT_EQ(qAlpha(face.pixel(39, 5)), 0) << "last column left transparent";
        EXPECT_EQ(qAlpha(face.pixel(5, 17)), 0) << "last row left transparent";

        // A digit is the only thing painted on a face, near the face's centre.
        int inked = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 39; ++x)
                if (face.pixel(x, y) != faceColour) {
                    ++inked;
                    EXPECT_TRUE(x > 10 && x < 30) << x << "," << y;
                }
        if (k.digit) {
            EXPECT_GT(inked, 5);
            bool hasTextColour = false;
            for (int y = 0; y < 17 && !hasTextColour; ++y)
                for (int x = 0; x < 39 && !hasTextColour; ++x)
                    hasTextColour = face.pixel(x, y) == textColour;
            EXPECT_TRUE(hasTextColour);
        } else {
            EXPECT_EQ(inked, 0);
        }
    }
}

TEST_F(KeypadTest, EachKeyRunsItsOwnCommandAndFollowsItsEnabledState) {
    for (const KeyCase &k : kKeys) {
        SCOPED_TRACE(k.button);
        QAction *action = window.actions().*k.action;
        int triggered = 0;
        const auto connection =
            QObject::connect(action, &QAction::triggered, [&triggered] { ++triggered; });
        button(k.key)->click();
        QObject::disconnect(connection);
        EXPECT_EQ(triggered, 1);

        action->setEnabled(false);
        EXPECT_FALSE(button(k.key)->isEnabled());
        EXPECT_FALSE(button(k.key)->icon().isNull()) << "a disabled key keeps its face";
        action->setEnabled(true);
        EXPECT_TRUE(button(k.key)->isEnabled());
        EXPECT_TRUE(button(k.key)->text().isEmpty());
    }
}

TEST_F(KeypadTest, KeysAreNamedAfterTheKeyTheyPress) {
    for (const KeyCase &k : kKeys) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(button(k.key));
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(k.accessibleName));
    }
}

TEST_F(KeypadTest, KeypadCornersAreCutOffWithA15PixelEllipse) {
    window.show();
    QApplication::processEvents();
    QWidget *panel = window.ui().pnlButtons->keypadPanel();
    EXPECT_EQ(panel->objectName(), QLatin1String("pnlButtons12"));
    EXPECT_EQ(panel->geometry(), QRect(57, 6, 168, 167));
    const QRegion outline = panel->mask();
    for (QPoint outside : {QPoint(0, 0), QPoint(1, 1), QPoint(166, 0), QPoint(0, 165),
                           QPoint(166, 165), QPoint(167, 80), QPoint(80, 166)})
        EXPECT_FALSE(outline.contains(outside)) << outside.x() << "," << outside.y();
    for (QPoint inside : {QPoint(84, 83), QPoint(8, 0), QPoint(0, 8), QPoint(158, 165),
                          QPoint(166, 80), QPoint(5, 5)})
        EXPECT_TRUE(outline.contains(inside)) << inside.x() << "," << inside.y();
}

} // namespace
