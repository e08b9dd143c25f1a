#include "ui/chart_window.h"

#include "ui/reading_chart_view.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QSvgGenerator>
#include <QVBoxLayout>

namespace {
constexpr QSize kInitialSize(860, 720);
} // namespace

ChartWindow::ChartWindow(QChar decimalSeparator, QWidget *parent)
    : QWidget(parent, Qt::Window), m_mainChart(new ReadingChartView(decimalSeparator)),
      m_secondaryChart(new ReadingChartView(decimalSeparator)),
      m_logScale(new QCheckBox(QStringLiteral("Логарифмическая шкала значений"))),
      m_againstFrequency(new QCheckBox(QStringLiteral("По частоте"))),
      m_saveImage(new QPushButton(QStringLiteral("Сохранить изображение..."))) {
    setObjectName(QStringLiteral("frmChart"));
    setWindowTitle(QStringLiteral("График измерений"));
    m_mainChart->setObjectName(QStringLiteral("chtMain"));
    m_secondaryChart->setObjectName(QStringLiteral("chtSecondary"));
    m_logScale->setObjectName(QStringLiteral("chbLogScale"));
    m_againstFrequency->setObjectName(QStringLiteral("chbAgainstFrequency"));
    m_againstFrequency->setToolTip(
        QStringLiteral("Ось X — частота (логарифмическая), по линии на каждую температуру"));
    m_saveImage->setObjectName(QStringLiteral("btnSaveImage"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_logScale);
    bar->addWidget(m_againstFrequency);
    bar->addStretch(1);
    bar->addWidget(m_saveImage);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_mainChart);
    splitter->addWidget(m_secondaryChart);
    m_charts = splitter;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    resize(kInitialSize);
}

QString writeWidgetImage(QWidget *widget, const QString &fileName) {
    const QString shownName = QDir::toNativeSeparators(fileName);
    if (QFileInfo(fileName).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setFileName(fileName);
        svg.setSize(widget->size());
        svg.setViewBox(QRect(QPoint(0, 0), widget->size()));
        svg.setTitle(widget->window()->windowTitle());
        QPainter painter;
        if (!painter.begin(&svg))
            return QStringLiteral("Не удалось сохранить изображение «%1».").arg(shownName);
        widget->render(&painter);
        painter.end();
        return QString();
    }
    QImageWriter writer(fileName, "png");
    if (!writer.write(widget->grab().toImage()))
        return QStringLiteral("Не удалось сохранить изображение «%1»: %2")
            .arg(shownName, writer.errorString());
    return QString();
}
