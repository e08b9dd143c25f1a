#include "ui/window_placement.h"

#include <algorithm>

TSideBySide placeBeside(const QRect &available, const QRect &mainFrame, QSize preferred,
                        QSize minimum) {
    TSideBySide placed;
    placed.mainTopLeft = mainFrame.topLeft();
    QRect main = mainFrame;
    const int height = std::clamp(available.height(), minimum.height(), preferred.height());
    const auto at = [&](int left, int room) {
        const int width = std::clamp(room, minimum.width(), preferred.width());
        const int top = std::clamp(main.top(), available.top(),
                                   std::max(available.top(), available.bottom() + 1 - height));
        return QRect(left, top, width, height);
    };
    const int right = available.right() - main.right();
    const int left = main.left() - available.left();
    if (right >= minimum.width() && right >= left) {
        placed.window = at(main.right() + 1, right);
    } else if (left >= minimum.width()) {
        const int width = std::min(left, preferred.width());
        placed.window = at(main.left() - width, width);
    } else {
        main.moveLeft(available.left());
        placed.mainTopLeft = main.topLeft();
        placed.window = at(main.right() + 1, available.right() - main.right());
    }
    return placed;
}
