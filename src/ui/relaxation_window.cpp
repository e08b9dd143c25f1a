#include "ui/relaxation_window.h"

#include "plot/axis_range.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr QSize kInitialSize(900, 640);
const QColor kPeakColor(40, 80, 200);
const QColor kArrheniusColor(200, 30, 30);
const QColor kVogelFulcherColor(20, 140, 60);

QChartView *makeChartView(const QString &xTitle, const QString &yTitle) {
    auto *chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto *x = new QValueAxis;
    auto *y = new QValueAxis;
    x->setTitleText(xTitle);
    y->setTitleText(yTitle);
    x->setLabelFormat(QStringLiteral("%.4g"));
    y->setLabelFormat(QStringLiteral("%.4g"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto *view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(300, 220);
    return view;
}

void clearSeries(QChart *chart) {
    const QList<QAbstractSeries *> all = chart->series();
    for (QAbstractSeries *series : all) {
        chart->removeSeries(series);
        delete series;
    }
}

template <typename Series>
Series *addSeries(QChart *chart, const QVector<QPointF> &points, const QString &name,
                  const QColor &color) {
    auto *series = new Series;
    series->setName(name);
    series->setColor(color);
    series->append(QList<QPointF>(points.cbegin(), points.cend()));
    chart->addSeries(series);
    for (QAbstractAxis *axis : chart->axes())
        series->attachAxis(axis);
    return series;
}

// Both axes round the points of every series, with a little room.
void fitAxes(QChart *chart) {
    double xLo = 0, xHi = 0, yLo = 0, yHi = 0;
    bool any = false;
    for (QAbstractSeries *s : chart->series())
        for (const QPointF &p : static_cast<QXYSeries *>(s)->points()) {
            xLo = any ? std::min(xLo, p.x()) : p.x();
            xHi = any ? std::max(xHi, p.x()) : p.x();
            yLo = any ? std::min(yLo, p.y()) : p.y();
            yHi = any ? std::max(yHi, p.y()) : p.y();
            any = true;
        }
    const auto fit = [](QAbstractAxis *axis, double lo, double hi) {
        const double margin = (hi - lo) * 0.03;
        const axisrange::TRange r = axisrange::linear(lo - margin, hi + margin, 8);
        auto *value = static_cast<QValueAxis *>(axis);
        value->setRange(r.lo, r.hi);
        value->setTickCount(r.ticks);
        value->setLabelFormat(axisrange::labelFormat(r));
    };
    if (!any)
        return;
    fit(chart->axes(Qt::Horizontal).first(), xLo, xHi);
    fit(chart->axes(Qt::Vertical).first(), yLo, yHi);
}

} // namespace

RelaxationWindow::RelaxationWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_quantity(new QComboBox), m_setPoint(new QComboBox),
      m_modulus(new QCheckBox(tr("M″ от M′"))),
      m_copy(new QPushButton(tr("Копировать таблицу"))), m_peaks(new QTableWidget),
      m_arrheniusText(new QLabel), m_vogelFulcherText(new QLabel),
      m_arrhenius(makeChartView(QStringLiteral("1000/Tm, 1/K"), tr("ln f (f в Hz)"))),
      m_coleCole(makeChartView(QString(), QString())) {
    setObjectName(QStringLiteral("frmRelaxation"));
    setWindowTitle(tr("Анализ релаксации"));
    m_quantity->setObjectName(QStringLiteral("cmbQuantity"));
    m_setPoint->setObjectName(QStringLiteral("cmbSetPoint"));
    m_modulus->setObjectName(QStringLiteral("chbModulus"));
    m_copy->setObjectName(QStringLiteral("btnCopyPeaks"));
    m_peaks->setObjectName(QStringLiteral("tblPeaks"));
    m_arrheniusText->setObjectName(QStringLiteral("lblArrhenius"));
    m_vogelFulcherText->setObjectName(QStringLiteral("lblVogelFulcher"));
    m_arrhenius->setObjectName(QStringLiteral("chtArrhenius"));
    m_coleCole->setObjectName(QStringLiteral("chtColeCole"));
    m_coleCole->chart()->legend()->hide();

    m_peaks->setColumnCount(5);
    m_peaks->setHorizontalHeaderLabels({QStringLiteral("f, Hz"), QStringLiteral("Tm, °C"),
                                        QStringLiteral("Tm, K"), tr("Значение"),
                                        tr("Примечание")});
    m_peaks->verticalHeader()->hide();
    m_peaks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_peaks->horizontalHeader()->setStretchLastSection(true);
    for (QLabel *label : {m_arrheniusText, m_vogelFulcherText}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(tr("Величина:")));
    bar->addWidget(m_quantity);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(tr("Коул–Коул при:")));
    bar->addWidget(m_setPoint);
    bar->addWidget(m_modulus);
    bar->addStretch(1);

    auto *peaks = new QWidget;
    auto *peaksLayout = new QVBoxLayout(peaks);
    peaksLayout->setContentsMargins(0, 0, 0, 0);
    auto *peaksTitle = new QHBoxLayout;
    peaksTitle->addWidget(new QLabel(tr("Пики по частотам")));
    peaksTitle->addStretch(1);
    peaksTitle->addWidget(m_copy);
    peaksLayout->addLayout(peaksTitle);
    peaksLayout->addWidget(m_peaks, 1);
    peaksLayout->addWidget(m_arrheniusText);
    peaksLayout->addWidget(m_vogelFulcherText);

    auto *charts = new QSplitter(Qt::Vertical);
    charts->setChildrenCollapsible(false);
    charts->addWidget(m_arrhenius);
    charts->addWidget(m_coleCole);

    auto *split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(peaks);
    split->addWidget(charts);
    split->setStretchFactor(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    resize(kInitialSize);
}

QChart *RelaxationWindow::arrheniusChart() const {
    return m_arrhenius->chart();
}

QChart *RelaxationWindow::coleColeChart() const {
    return m_coleCole->chart();
}

void RelaxationWindow::setPeakRows(const QVector<QStringList> &rows) {
    m_peaks->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < m_peaks->columnCount(); ++c)
            m_peaks->setItem(r, c, new QTableWidgetItem(rows[r].value(c)));
    m_peaks->resizeColumnsToContents();
}

void RelaxationWindow::setArrhenius(const QVector<QPointF> &peaks,
                                    const QVector<QPointF> &arrheniusLine,
                                    const QVector<QPointF> &vogelFulcherCurve,
                                    const QString &arrheniusText, const QString &vogelFulcherText) {
    QChart *chart = m_arrhenius->chart();
    clearSeries(chart);
    auto *scatter = addSeries<QScatterSeries>(chart, peaks, tr("пики"), kPeakColor);
    scatter->setMarkerSize(9);
    if (!arrheniusLine.isEmpty())
        addSeries<QLineSeries>(chart, arrheniusLine, tr("Аррениус"), kArrheniusColor);
    if (!vogelFulcherCurve.isEmpty())
        addSeries<QLineSeries>(chart, vogelFulcherCurve, tr("Фогель–Фулчер"),
                               kVogelFulcherColor);
    fitAxes(chart);
    m_arrheniusText->setText(arrheniusText);
    m_vogelFulcherText->setText(vogelFulcherText);
}

void RelaxationWindow::setColeCole(const QVector<QPointF> &points, const QString &realTitle,
                                   const QString &imaginaryTitle) {
    QChart *chart = m_coleCole->chart();
    clearSeries(chart);
    auto *line = addSeries<QLineSeries>(chart, points, QString(), kPeakColor);
    line->setPointsVisible(true);
    line->setMarkerSize(7);
    chart->axes(Qt::Horizontal).first()->setTitleText(realTitle);
    chart->axes(Qt::Vertical).first()->setTitleText(imaginaryTitle);
    fitAxes(chart);
}
