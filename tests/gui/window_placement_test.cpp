#include "ui/window_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, BesideTheMainWindowNeverOverIt) {
    const QSize preferred(860, 720);
    const QSize minimum(480, 420);
    struct Case {
        const char *what;
        QRect available, main;
        QPoint mainAfter;
        QRect window;
    };
    const Case cases[] = {
        {"laptop, main at the left: the rest of the width",
         {0, 0, 1366, 728},
         {0, 0, 780, 650},
         {0, 0},
         {780, 0, 586, 720}},
        {"laptop, main in the middle: main moves left",
         {0, 0, 1366, 728},
         {293, 40, 780, 650},
         {0, 40},
         {780, 8, 586, 720}},
        {"wide screen: the preferred size",
         {0, 0, 1920, 1040},
         {100, 100, 780, 650},
         {100, 100},
         {880, 100, 860, 720}},
        {"main at the right: on its left",
         {0, 0, 1920, 1040},
         {1100, 50, 780, 650},
         {1100, 50},
         {240, 50, 860, 720}},
        {"short screen: as high as it is",
         {0, 0, 1366, 600},
         {0, 0, 780, 560},
         {0, 0},
         {780, 0, 586, 600}},
        {"second screen to the right",
         {1920, 0, 1366, 728},
         {1920, 0, 780, 650},
         {1920, 0},
         {2700, 0, 586, 720}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const TSideBySide placed = placeBeside(c.available, c.main, preferred, minimum);
        EXPECT_EQ(placed.mainTopLeft, c.mainAfter);
        EXPECT_EQ(placed.window, c.window);
        const QRect mainAfter(placed.mainTopLeft, c.main.size());
        EXPECT_FALSE(mainAfter.intersects(placed.window));
        EXPECT_TRUE(c.available.contains(placed.window));
    }
}

} // namespace
