#include "ui/chart_window.h"

#include "ui/chart_quantity_text.h"
#include "ui/reading_chart_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QSvgGenerator>
#include <QVBoxLayout>

namespace {
constexpr QSize kInitialSize(860, 720);
constexpr QSize kMinimumSize(480, 420);

QString tr(const char *text) {
    return QCoreApplication::translate("ChartWindow", text);
}

QString chartWindowTitle() {
    return tr("График измерений");
}
} // namespace

ChartWindow::ChartWindow(QChar decimalSeparator, QWidget *parent)
    : QWidget(parent, Qt::Window), m_logScale(new QCheckBox(tr("Логарифмическая шкала значений"))),
      m_againstFrequency(new QCheckBox(tr("По частоте"))),
      m_saveImage(new QPushButton(tr("Сохранить изображение..."))),
      m_analysis(new QPushButton(tr("Анализ пиков..."))), m_title(new QLabel) {
    setObjectName(QStringLiteral("frmChart"));
    setWindowTitle(chartWindowTitle());
    m_logScale->setObjectName(QStringLiteral("chbLogScale"));
    m_againstFrequency->setObjectName(QStringLiteral("chbAgainstFrequency"));
    m_againstFrequency->setToolTip(
        tr("Ось X — частота (логарифмическая), по линии на каждую температуру"));
    m_saveImage->setObjectName(QStringLiteral("btnSaveImage"));
    m_analysis->setObjectName(QStringLiteral("btnAnalysis"));
    m_analysis->setToolTip(
        tr("Пики по частотам, энергия активации (Аррениус, Фогель–Фулчер), диаграмма Коул–Коула"));

    // Rows, so that the window fits beside the main window on a small screen.
    auto *switches = new QHBoxLayout;
    const char *const chartNames[kCharts] = {"chtMain", "chtSecondary"};
    const char *const comboNames[kCharts] = {"cmbMainQuantity", "cmbSecondaryQuantity"};
    const QString captions[kCharts] = {tr("Вверху:"), tr("Внизу:")};
    for (int chart = 0; chart < kCharts; ++chart) {
        m_charts[chart] = new ReadingChartView(decimalSeparator);
        m_charts[chart]->setObjectName(QString::fromLatin1(chartNames[chart]));
        QComboBox *combo = m_quantity[chart] = new QComboBox;
        combo->setObjectName(QString::fromLatin1(comboNames[chart]));
        // Narrow enough for the small screen; the open list shows the whole titles.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(14);
        for (const TChartQuantity &quantity : chartQuantities())
            combo->addItem(quantitytext::title(quantity), quantity.key());
        connect(combo, qOverload<int>(&QComboBox::activated), this,
                [this, chart](int at) { emit quantityChosen(chart, chartQuantities()[at]); });
        // Each chart starts with the quantity of its place in the list.
        combo->setCurrentIndex(chart);
        switches->addWidget(new QLabel(captions[chart]));
        switches->addWidget(combo);
    }
    switches->addStretch(1);
    auto *scales = new QHBoxLayout;
    scales->addWidget(m_logScale);
    scales->addWidget(m_againstFrequency);
    scales->addStretch(1);
    auto *commands = new QHBoxLayout;
    commands->addStretch(1);
    commands->addWidget(m_analysis);
    commands->addWidget(m_saveImage);
    auto *bar = new QVBoxLayout;
    bar->addLayout(switches);
    bar->addLayout(scales);
    bar->addLayout(commands);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->setChildrenCollapsible(false);
    for (ReadingChartView *chart : m_charts)
        splitter->addWidget(chart);

    m_title->setObjectName(QStringLiteral("lblChartTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->hide();
    m_chartsArea = new QWidget;
    m_chartsArea->setAutoFillBackground(true);
    auto *charts = new QVBoxLayout(m_chartsArea);
    charts->setContentsMargins(0, 0, 0, 0);
    charts->addWidget(m_title);
    charts->addWidget(splitter, 1);

    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("lblQuantityNote"));
    m_note->setWordWrap(true);
    m_note->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(m_chartsArea, 1);
    layout->addWidget(m_note);
    resize(kInitialSize);
}

QSize ChartWindow::preferredSize() {
    return kInitialSize;
}

QSize ChartWindow::smallestSize() {
    return kMinimumSize;
}

void ChartWindow::setTitleText(const QString &text) {
    m_title->setText(text);
    m_title->setVisible(!text.isEmpty());
    setWindowTitle(text.isEmpty() ? chartWindowTitle()
                                  : chartWindowTitle() + QStringLiteral(" — ") + text);
}

void ChartWindow::setQuantity(int chart, TChartQuantity quantity) {
    QComboBox *combo = m_quantity[chart];
    combo->setCurrentIndex(combo->findData(quantity.key()));
}

void ChartWindow::setSampleKnown(bool known) {
    for (QComboBox *combo : m_quantity) {
        auto *items = qobject_cast<QStandardItemModel *>(combo->model());
        for (int at = 0; at < combo->count(); ++at)
            items->item(at)->setEnabled(known || !chartQuantities()[at].needsSample());
    }
}

void ChartWindow::setNote(const QString &text) {
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}

void ChartWindow::closeEvent(QCloseEvent *event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
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
            return tr("Не удалось сохранить изображение «%1».").arg(shownName);
        widget->render(&painter);
        painter.end();
        return QString();
    }
    QImageWriter writer(fileName, "png");
    if (!writer.write(widget->grab().toImage()))
        return tr("Не удалось сохранить изображение «%1»: %2").arg(shownName, writer.errorString());
    return QString();
}
