#include "control/relaxation_controller.h"

#include "base/number_format.h"
#include "plot/unit_scale.h"
#include "ui/relaxation_texts.h"
#include "ui/relaxation_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QTimerEvent>

#include <cmath>
#include <map>

namespace {

// A reading arriving every 200 ms would otherwise analyse the run as often.
constexpr int kRefreshDelayMs = 500;
constexpr int kCurvePoints = 60;

QString decimals(double value, int places, QChar separator) {
    return std::isfinite(value) ? numfmt::fixed(value, 0, places, separator) : QString();
}

} // namespace

TRelaxationController::TRelaxationController(const TRunReadings &readings, QChar decimalSeparator,
                                             QWidget *window, QObject *parent)
    : QObject(parent), m_readings(readings), m_separator(decimalSeparator), m_window(window) {}

TRelaxationController::~TRelaxationController() = default;

std::optional<TSampleCell> TRelaxationController::sampleCell() const {
    const std::optional<TSample> sample = m_sample ? m_sample() : std::nullopt;
    TSampleCell cell;
    if (!sample || !checkSample(*sample, &cell).ok())
        return std::nullopt;
    return cell;
}

TRelaxationQuantity TRelaxationController::quantity() const {
    const int index = m_view ? m_view->cmbQuantity()->currentIndex() : -1;
    return index >= 0 && index < m_quantities.size() ? m_quantities[index]
                                                     : TRelaxationQuantity::Secondary;
}

void TRelaxationController::show() {
    if (!m_view) {
        m_view = new RelaxationWindow(m_window);
        connect(m_view->cmbQuantity(), qOverload<int>(&QComboBox::activated), this,
                &TRelaxationController::refresh);
        connect(m_view->cmbSetPoint(), qOverload<int>(&QComboBox::activated), this,
                &TRelaxationController::showColeCole);
        connect(m_view->chbModulus(), &QCheckBox::toggled, this,
                &TRelaxationController::showColeCole);
        connect(m_view->btnCopyPeaks(), &QPushButton::clicked, this,
                &TRelaxationController::copyPeaks);
    }
    m_view->show();
    m_view->raise();
    m_view->activateWindow();
    refresh();
}

void TRelaxationController::readingsChanged() {
    if (m_view && m_view->isVisible() && !m_refreshTimer.isActive())
        m_refreshTimer.start(kRefreshDelayMs, this);
}

void TRelaxationController::timerEvent(QTimerEvent *event) {
    if (event->timerId() == m_refreshTimer.timerId())
        refresh();
    else
        QObject::timerEvent(event);
}

// The quantities the run offers, by the names of its parameters; eps and M
// when the run has a sample. The choice stays when it is still offered.
void TRelaxationController::fillQuantities() {
    const TRelaxationQuantity chosen = quantity();
    const TPlotReading *first =
        m_readings.readings().isEmpty() ? nullptr : &m_readings.readings().first();
    QVector<TRelaxationQuantity> offered = {
        TRelaxationQuantity::Secondary, TRelaxationQuantity::Main, TRelaxationQuantity::TanDelta};
    QStringList names = {first ? first->SecName.trimmed() : relaxationtext::secondaryName(),
                         first ? first->MainName.trimmed() : relaxationtext::mainName(),
                         QStringLiteral("tg δ")};
    if (sampleCell()) {
        offered << TRelaxationQuantity::EpsImag << TRelaxationQuantity::EpsReal
                << TRelaxationQuantity::ModulusImag;
        names << QStringLiteral("ε″") << QStringLiteral("ε′") << QStringLiteral("M″");
    }
    QComboBox *box = m_view->cmbQuantity();
    if (offered != m_quantities || box->count() != names.size()) {
        m_quantities = offered;
        box->clear();
        box->addItems(names);
    } else {
        for (int i = 0; i < names.size(); ++i)
            box->setItemText(i, names[i]);
    }
    const int index = int(m_quantities.indexOf(chosen));
    box->setCurrentIndex(index >= 0 ? index : 0);
}

void TRelaxationController::fillSetPoints() {
    std::map<int32_t, double> rows; // row -> set point
    for (const TPlotReading &r : m_readings.readings())
        rows.emplace(r.Row, r.SetPoint);
    QComboBox *box = m_view->cmbSetPoint();
    const QVariant chosen = box->currentData();
    box->clear();
    for (const auto &[row, setPoint] : rows)
        box->addItem(numfmt::fourDigits(setPoint, m_separator) + QStringLiteral(" °C"), row);
    const int index = box->findData(chosen);
    box->setCurrentIndex(index >= 0 ? index : box->count() / 2);
}

void TRelaxationController::refresh() {
    m_refreshTimer.stop();
    if (!m_view)
        return;
    fillQuantities();
    fillSetPoints();
    const std::optional<TSampleCell> cell = sampleCell();
    m_analysis = analyseRun(m_readings, quantity(), cell);

    QVector<QStringList> rows;
    for (const TRelaxationPeak &peak : m_analysis.Peaks)
        rows.append({numfmt::general(peak.FrequencyHz, m_separator),
                     decimals(peak.TemperatureC, 2, m_separator),
                     decimals(peak.TemperatureC + kZeroCelsiusK, 2, m_separator),
                     relaxationtext::significant(peak.Value, 5, m_separator),
                     relaxationtext::kindNotes().value(int(peak.kind))});
    m_view->setPeakRows(rows);

    QVector<QPointF> peaks;
    double tLo = 0, tHi = 0;
    for (const TPeakPoint &p : m_analysis.Usable) {
        peaks.append({1000.0 / p.TemperatureK, std::log(p.FrequencyHz)});
        tLo = peaks.size() == 1 ? p.TemperatureK : std::min(tLo, p.TemperatureK);
        tHi = peaks.size() == 1 ? p.TemperatureK : std::max(tHi, p.TemperatureK);
    }
    QVector<QPointF> line, curve;
    if (m_analysis.Arrhenius.ok())
        for (double t : {tLo, tHi})
            line.append({1000.0 / t, m_analysis.Arrhenius.lnFrequencyAt(1000.0 / t)});
    if (m_analysis.VogelFulcher.ok())
        for (int i = 0; i <= kCurvePoints; ++i) {
            const double t = tLo + (tHi - tLo) * i / kCurvePoints;
            curve.append({1000.0 / t, m_analysis.VogelFulcher.lnFrequencyAt(t)});
        }
    m_view->setArrhenius(peaks, line, curve,
                         relaxationtext::arrhenius(m_analysis.Arrhenius, m_separator),
                         relaxationtext::vogelFulcher(m_analysis.VogelFulcher, m_separator));
    showColeCole();
}

void TRelaxationController::showColeCole() {
    if (!m_view)
        return;
    const std::optional<TSampleCell> cell = sampleCell();
    const bool modulus = m_view->chbModulus()->isChecked();
    const int row = m_view->cmbSetPoint()->currentData().toInt();
    const QVector<TColeColePoint> points = coleColeOfRow(m_readings, row, modulus, cell);
    QString re = modulus ? QStringLiteral("M′") : QStringLiteral("ε′");
    QString im = modulus ? QStringLiteral("M″") : QStringLiteral("ε″");
    double factor = 1.0;
    // Without a sample: the complex capacitance (or its inverse), with a prefix.
    if (!cell) {
        double largest = 0;
        for (const TColeColePoint &p : points)
            largest = std::max({largest, std::fabs(p.Real), std::fabs(p.Imaginary)});
        const plotunits::TUnitScale scale = plotunits::scaleForRange(0, largest);
        factor = scale.factor();
        const QString unit = scale.Prefix + (modulus ? QStringLiteral("1/F") : QStringLiteral("F"));
        re = (modulus ? QStringLiteral("1/C′, ") : QStringLiteral("C′, ")) + unit;
        im = (modulus ? QStringLiteral("1/C″, ") : QStringLiteral("C″, ")) + unit;
    }
    QVector<QPointF> shown;
    for (const TColeColePoint &p : points)
        shown.append({p.Real / factor, p.Imaginary / factor});
    m_view->setColeCole(shown, re, im);
}

QString TRelaxationController::peakTableText() const {
    TPeakTableFormat format;
    format.FieldSeparator = QLatin1Char('\t');
    format.DecimalSeparator = m_separator;
    format.Titles = relaxationtext::peakTableTitles();
    format.KindNotes = relaxationtext::kindNotes();
    return peakTable(m_analysis.Peaks, format);
}

void TRelaxationController::copyPeaks() {
    QApplication::clipboard()->setText(peakTableText());
}
