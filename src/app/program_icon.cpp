#include "app/program_icon.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

class PictureFilesEngine : public QIconEngine {
public:
    PictureFilesEngine(const QString &pattern, const QList<int> &sizes)
        : m_pattern(pattern), m_sizes(sizes) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override {
        if (m_sizes.isEmpty() || size.isEmpty())
            return {};
        const int wanted = std::max(size.width(), size.height());
        const auto larger = std::find_if(m_sizes.cbegin(), m_sizes.cend(),
                                         [wanted](int picture) { return picture >= wanted; });
        // Read as PNG and nothing else: an image whose format Qt may guess is first shown to
        // every image plugin it has.
        QImageReader reader(m_pattern.arg(larger == m_sizes.cend() ? m_sizes.last() : *larger),
                            "png");
        reader.setAutoDetectImageFormat(false);
        QImage picture = reader.read();
        if (picture.isNull())
            return {};
        // As Qt's icons do: smaller than asked when no picture is as large, never larger.
        if (picture.width() > size.width() || picture.height() > size.height())
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return QPixmap::fromImage(std::move(picture));
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int size : m_sizes)
            sizes << QSize(size, size);
        return sizes;
    }

    bool isNull() override { return m_sizes.isEmpty(); }
    QString key() const override { return QStringLiteral("PictureFilesEngine"); }
    QIconEngine *clone() const override { return new PictureFilesEngine(m_pattern, m_sizes); }

private:
    QString m_pattern;
    QList<int> m_sizes;
};

} // namespace

QIcon iconOfPictures(const QString &pattern, const QList<int> &sizes) {
    return QIcon(new PictureFilesEngine(pattern, sizes));
}

QIcon programIcon() {
    return iconOfPictures(QStringLiteral(":/icons/%1x%1/apps/utility-for-tamrel.png"),
                          {16, 22, 24, 32, 48, 64, 128, 256});
}
