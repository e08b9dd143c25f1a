#include "control/chart_controller.h"

#include "engine/user_prompts.h"
#include "ui/chart_quantity_text.h"
#include "ui/chart_window.h"
#include "ui/file_requests.h"
#include "ui/reading_chart_view.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStringList>

#include <algorithm>

namespace {

const QString kLogValuesKey = QStringLiteral("chart/log_values");
const QString kAgainstFrequencyKey = QStringLiteral("chart/against_frequency");
const QString kOpenKey = QStringLiteral("chart/open");
const QString kQuantityKeys[TChartController::kCharts] = {QStringLiteral("chart/upper_quantity"),
                                                          QStringLiteral("chart/lower_quantity")};

std::optional<TSampleCell> cellOf(const std::optional<TSample> &sample) {
    TSampleCell cell;
    if (sample && checkSample(*sample, &cell).ok())
        return cell;
    return std::nullopt;
}

} // namespace

TChartController::TChartController(QChar decimalSeparator, QWidget *window, UserPrompts &prompts,
                                   QObject *parent)
    : QObject(parent), m_separator(decimalSeparator), m_window(window),
      m_readings(decimalSeparator), m_prompts(prompts) {
    for (int chart = 0; chart < kCharts; ++chart)
        m_sets.emplace_back(m_quantity[chart], m_argument, m_logValues, decimalSeparator);
}

TChartController::~TChartController() = default;

bool TChartController::viewShown() const {
    return m_view && m_view->isVisible();
}

void TChartController::setChoicesFile(const QString &path) {
    m_choicesFile = path;
    const QSettings choices(path, QSettings::IniFormat);
    m_logValues = choices.value(kLogValuesKey, false).toBool();
    m_argument = choices.value(kAgainstFrequencyKey, false).toBool() ? TChartArgument::Frequency
                                                                     : TChartArgument::Temperature;
    m_wasOpen = choices.value(kOpenKey, false).toBool();
    for (int chart = 0; chart < kCharts; ++chart)
        if (const auto chosen =
                TChartQuantity::ofKey(choices.value(kQuantityKeys[chart]).toString()))
            m_quantity[chart] = *chosen;
    rebuildSeries();
}

void TChartController::saveChoices() const {
    if (m_choicesFile.isEmpty())
        return;
    QSettings choices(m_choicesFile, QSettings::IniFormat);
    choices.setValue(kLogValuesKey, m_logValues);
    choices.setValue(kAgainstFrequencyKey, m_argument == TChartArgument::Frequency);
    choices.setValue(kOpenKey, m_wasOpen);
    for (int chart = 0; chart < kCharts; ++chart)
        choices.setValue(kQuantityKeys[chart], m_quantity[chart].key());
}

void TChartController::reopenIfWasOpen() {
    if (m_wasOpen)
        actShowChartExecute();
}

void TChartController::setSample(const std::optional<TSample> &sample) {
    m_sample = sample;
    const std::optional<TSampleCell> cell = cellOf(sample);
    const bool sameCell = cell.has_value() == m_cell.has_value() &&
                          (!cell || (cell->EmptyCellF == m_cell->EmptyCellF &&
                                     cell->ThicknessPerArea == m_cell->ThicknessPerArea));
    showTitle();
    if (sameCell)
        return;
    m_cell = cell;
    rebuildSeries();
}

void TChartController::setQuantity(int chart, TChartQuantity quantity) {
    if (m_quantity[chart] == quantity)
        return;
    m_quantity[chart] = quantity;
    if (m_view)
        m_view->setQuantity(chart, quantity);
    saveChoices();
    rebuildSeries();
}

// The sample and the day the run's first reading was recorded.
QString TChartController::titleText() const {
    return quantitytext::chartTitle(m_sample ? m_sample->Name : QString(),
                                    m_readings.readings().isEmpty()
                                        ? std::nullopt
                                        : std::optional(m_readings.readings().first().Time));
}

void TChartController::showTitle() {
    if (m_view)
        m_view->setTitleText(titleText());
}

void TChartController::clear() {
    m_readings.clear();
    rebuildSeries();
    emit cleared();
}

void TChartController::loadRun(const TJournalRun &run) {
    m_readings.loadRun(run);
    m_sample = run.Summary.Sample;
    m_cell = cellOf(run.Summary.Sample);
    rebuildSeries();
    emit runLoaded(run);
}

void TChartController::addReading(const TJournalReading &reading) {
    const TReadingUpdate update = m_readings.add(reading);
    const bool follow = viewShown() && !m_viewStale;
    for (int chart = 0; chart < kCharts; ++chart) {
        const QVector<TSeriesEdit> edits = m_sets[chart].apply(m_readings, update);
        if (follow)
            m_view->chart(chart)->applyEdits(m_sets[chart], edits);
    }
    if (follow && m_selected == update.Cell)
        showHighlight();
    if (!follow)
        m_viewStale = true;
    if (m_readings.readings().size() == 1 && m_view)
        showTitle();
    if (isNewGap(m_readings.readings()[update.Current])) {
        for (int chart = 0; chart < kCharts; ++chart)
            m_gaps[chart] = quantityGaps(m_readings, m_quantity[chart], m_cell);
        showNote();
    }
}

bool TChartController::isNewGap(const TPlotReading &reading) const {
    for (int chart = 0; chart < kCharts; ++chart) {
        TPairProblem problem = TPairProblem::None;
        if (m_quantity[chart].needsSample() && !m_cell)
            continue;
        m_quantity[chart].value(reading, m_cell, &problem);
        if (problem == TPairProblem::None)
            continue;
        const bool named =
            std::any_of(m_gaps[chart].cbegin(), m_gaps[chart].cend(), [&](const TQuantityGap &gap) {
                return gap.Problem == problem && gap.MainName == reading.MainName &&
                       gap.SecName == reading.SecName;
            });
        if (!named)
            return true;
    }
    return false;
}

void TChartController::showNote() {
    if (!m_view)
        return;
    QStringList notes;
    for (int chart = 0; chart < kCharts; ++chart) {
        const QString note =
            quantitytext::gapsNote(m_quantity[chart], m_cell.has_value(), m_gaps[chart]);
        if (!note.isEmpty() && !notes.contains(note))
            notes << note;
    }
    m_view->setNote(notes.join(QLatin1Char(' ')));
    m_view->setSampleKnown(m_cell.has_value());
}

void TChartController::selectCell(int row, int column) {
    m_selected = cellKey(row, column);
    if (viewShown())
        showHighlight();
}

void TChartController::showHighlight() {
    for (int chart = 0; chart < kCharts; ++chart)
        m_view->chart(chart)->setHighlight(
            m_selected ? m_sets[chart].pointOf(m_readings, *m_selected) : std::nullopt);
}

void TChartController::rebuildSeries() {
    for (int chart = 0; chart < kCharts; ++chart) {
        const TChartQuantity quantity = m_quantity[chart];
        TChartSeriesSet &set = m_sets[chart];
        set = TChartSeriesSet(quantity, m_argument, m_logValues && quantity.offersLogScale(),
                              m_separator);
        set.setSampleCell(m_cell);
        set.rebuild(m_readings);
        m_gaps[chart] = quantityGaps(m_readings, quantity, m_cell);
    }
    m_viewStale = true;
    if (viewShown())
        showSeries();
}

void TChartController::showSeries() {
    for (int chart = 0; chart < kCharts; ++chart)
        m_view->chart(chart)->showSet(m_sets[chart]);
    showHighlight();
    showTitle();
    showNote();
    m_viewStale = false;
}

void TChartController::actShowChartExecute() {
    if (!m_view) {
        m_view = new ChartWindow(m_separator, m_window);
        m_view->chbLogScale()->setChecked(m_logValues);
        m_view->chbAgainstFrequency()->setChecked(m_argument == TChartArgument::Frequency);
        for (int chart = 0; chart < kCharts; ++chart)
            m_view->setQuantity(chart, m_quantity[chart]);
        connect(m_view, &ChartWindow::quantityChosen, this, &TChartController::setQuantity);
        connect(m_view, &ChartWindow::closed, this, [this] {
            m_wasOpen = false;
            saveChoices();
        });
        connect(m_view->chbLogScale(), &QCheckBox::toggled, this, &TChartController::setLogValues);
        connect(m_view->chbAgainstFrequency(), &QCheckBox::toggled, this,
                &TChartController::setAgainstFrequency);
        connect(m_view->btnSaveImage(), &QPushButton::clicked, this, &TChartController::saveImage);
        connect(m_view->btnAnalysis(), &QPushButton::clicked, this,
                &TChartController::analysisRequested);
        placeView();
    }
    if (!m_wasOpen) {
        m_wasOpen = true;
        saveChoices();
    }
    m_view->show();
    m_view->raise();
    m_view->activateWindow();
    if (m_viewStale)
        showSeries();
}

// The first opening puts the window beside the main window, within the screen.
void TChartController::placeView() {
    QScreen *screen = m_window->screen();
    if (!screen)
        return;
    // Decorations are known once a window is shown; the main window's stand for both.
    const QRect frame = m_window->frameGeometry();
    const QRect client = m_window->geometry();
    const QMargins decoration(client.left() - frame.left(), client.top() - frame.top(),
                              frame.right() - client.right(), frame.bottom() - client.bottom());
    const QSize extra(decoration.left() + decoration.right(),
                      decoration.top() + decoration.bottom());
    const TSideBySide placed =
        placeBeside(screen->availableGeometry(), frame, ChartWindow::preferredSize() + extra,
                    ChartWindow::smallestSize() + extra);
    if (placed.mainTopLeft != frame.topLeft())
        m_window->move(placed.mainTopLeft);
    m_view->setGeometry(placed.window.marginsRemoved(decoration));
}

void TChartController::setLogValues(bool on) {
    if (on == m_logValues)
        return;
    m_logValues = on;
    saveChoices();
    rebuildSeries();
}

void TChartController::setAgainstFrequency(bool on) {
    const TChartArgument argument = on ? TChartArgument::Frequency : TChartArgument::Temperature;
    if (argument == m_argument)
        return;
    m_argument = argument;
    saveChoices();
    rebuildSeries();
}

void TChartController::saveImage() {
    if (!m_view)
        return;
    const QString chosen = m_prompts.saveFile(filerequest::chartImage(m_lastImageFile));
    if (chosen.isEmpty())
        return;
    m_lastImageFile = chosen;
    const QString problem = writeWidgetImage(m_view->chartsArea(), chosen);
    if (!problem.isEmpty())
        m_prompts.notice(TPromptIcon::Warning, problem);
}
