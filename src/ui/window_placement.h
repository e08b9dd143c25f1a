#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window that works beside the main window opens: on the side of the
// main window with room for it, as large as that room allows up to its
// preferred size. When neither side has room for its minimum width the main
// window moves to the screen's left edge to make room, so that the two sit
// side by side rather than one over the other (a 1366 x 768 laptop).
struct TSideBySide {
    QPoint mainTopLeft; // where the main window's frame goes (unchanged when it had room)
    QRect window;       // the new window's frame
};

TSideBySide placeBeside(const QRect &available, const QRect &mainFrame, QSize preferred,
                        QSize minimum);
