// The display replica's frequency text stays in its box, clear of the F3 mark,
// whatever face stands in for the meter's font.
#include "instruments_support.h"
#include "ui/meter_display_view.h"

#include <QCoreApplication>
#include <QLabel>
#include <QThread>

#include <gtest/gtest.h>

namespace {

TEST(MeterDisplayView, FrequencyTextFitsBeforeTheF3Mark) {
    MeterDisplayView display;
    display.resize(420, 167);
    const QLabel *frequency = display.findChild<QLabel *>(QStringLiteral("lblDisplayFrequency"));
    const QLabel *f3 = display.findChild<QLabel *>(QStringLiteral("lblDisplayF3Mode"));
    ASSERT_TRUE(frequency && f3);
    const int left = frequency->x();
    for (const char *text : {"100kHz", "50kHz", "100Hz", "1kHz", "1MHz", "25Hz"}) {
        SCOPED_TRACE(text);
        display.setCaption(MeterDisplayView::Field::Frequency, QString::fromLatin1(text));
        EXPECT_EQ(display.caption(MeterDisplayView::Field::Frequency), QString::fromLatin1(text));
        EXPECT_EQ(frequency->x(), left);
        EXPECT_LE(frequency->geometry().right(), f3->x());
        EXPECT_LE(frequency->sizeHint().width(), frequency->width()) << "the text is cut";
    }
    // A short text gets the design font back.
    display.setCaption(MeterDisplayView::Field::Frequency, QStringLiteral("1kHz"));
    const QFont shortFont = frequency->font();
    display.setCaption(MeterDisplayView::Field::Frequency, QStringLiteral("100kHz"));
    display.setCaption(MeterDisplayView::Field::Frequency, QStringLiteral("1kHz"));
    EXPECT_EQ(frequency->font(), shortFont);
}

// Frames faster than the eye: the mark follows every frame, the screen the
// first change after a quiet spell at once, the later ones together.
TEST(MeterDisplayView, TheReceptionMarkShowsAQuickRunOfFramesByItsLastState) {
    MeterDisplayView display;
    display.show();
    ASSERT_TRUE(waitUntil([&] { return display.isFlashShown() == display.isFlashVisible(); }));
    const bool before = display.isFlashVisible();

    display.toggleFlash();
    EXPECT_EQ(display.isFlashVisible(), !before);
    EXPECT_EQ(display.isFlashShown(), !before) << "the first change is shown at once";
    for (int frame = 0; frame < 3; ++frame)
        display.toggleFlash();
    EXPECT_EQ(display.isFlashVisible(), before);
    EXPECT_EQ(display.isFlashShown(), !before) << "changes that quick wait for the pace";
    ASSERT_TRUE(waitUntil([&] { return display.isFlashShown() == before; }))
        << "the last change is always shown";
}

// The refresh paints new captions at the mark's pace: a change of the mark that
// is due by then goes with them, not in a painting of its own.
TEST(MeterDisplayView, ANewCaptionBringsTheMarksChangeThatIsDue) {
    MeterDisplayView display;
    display.show();
    ASSERT_TRUE(waitUntil([&] { return display.isFlashShown() == display.isFlashVisible(); }));
    display.toggleFlash();
    display.toggleFlash();
    ASSERT_NE(display.isFlashShown(), display.isFlashVisible());

    // The pace is over, and the change waits a moment for a caption.
    QThread::msleep(250);
    QCoreApplication::processEvents();
    EXPECT_NE(display.isFlashShown(), display.isFlashVisible());
    display.setCaption(MeterDisplayView::Field::RLCValue, QStringLiteral("123.45"));
    EXPECT_EQ(display.isFlashShown(), display.isFlashVisible());
}

} // namespace
