#include "ui/classic_group_box.h"

#include <QPainter>
#include <qdrawutil.h>

namespace {
constexpr int kTitleIndent = 8;
constexpr int kTitlePadding = 2;
} // namespace

ClassicGroupBox::ClassicGroupBox(const QString &title, QWidget *parent)
    : QGroupBox(title, parent) {}

void ClassicGroupBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int frameTop = metrics.height() / 2;
    qDrawShadeRect(&painter, QRect(0, frameTop, width(), height() - frameTop), palette(), true, 1);

    const QRect titleRect(kTitleIndent, 0, metrics.horizontalAdvance(title()) + 2 * kTitlePadding,
                          metrics.height());
    painter.fillRect(titleRect, palette().color(QPalette::Window));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(titleRect, Qt::AlignCenter, title());
}
