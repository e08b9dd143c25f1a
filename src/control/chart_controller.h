#pragma once

#include "material/sample.h"
#include "plot/chart_series.h"
#include "plot/run_readings.h"
#include "ui/chart_window.h"

#include <QObject>

#include <functional>
#include <vector>

class QWidget;
class UserPrompts;

// The live chart: keeps every reading of the current run (the recorded
// ones as they come, or those of a run loaded from the journal) and shows
// them in the chart window, which it opens on request. While the window is
// closed only the series are kept up to date; opening it draws them.
class TChartController : public QObject {
    Q_OBJECT
public:
    static constexpr int kCharts = ChartWindow::kCharts;

    // `window`: the main window, which the chart window stays with; `prompts`
    // asks where to save an image and tells why it could not be.
    TChartController(QChar decimalSeparator, QWidget *window, UserPrompts &prompts,
                     QObject *parent = nullptr);
    ~TChartController() override;

    const TRunReadings &readings() const { return m_readings; }
    // What the upper (0) and the lower (1) chart show.
    const TChartSeriesSet &series(int chart) const { return m_sets[chart]; }
    // nullptr until the window is first opened.
    ChartWindow *chartWindow() const { return m_view; }

    // Where the chart's choices (value scale, horizontal axis, whether the
    // window was open) are kept between starts; read at once.
    void setChoicesFile(const QString &path);
    // Opens the window when it was open as the program last closed or died.
    void reopenIfWasOpen();
    // The sample of the current run: its name for the title and the
    // analysis, and its cell for the quantities that need one.
    void setSample(const std::optional<TSample> &sample);
    const std::optional<TSample> &sample() const { return m_sample; }
    TChartQuantity quantity(int chart) const { return m_quantity[chart]; }
    void setQuantity(int chart, TChartQuantity quantity);
    QString titleText() const;

public slots:
    // A new table was prepared: nothing is recorded yet.
    void clear();
    // A run restored or opened from the journal replaces the current readings.
    void loadRun(const TJournalRun &run);
    void addReading(const TJournalReading &reading);
    // The cell selected in the results grid; its point is ringed.
    void selectCell(int row, int column);

    // Opens the chart window, or brings it to the front.
    void actShowChartExecute();
    // "Сохранить изображение...": both charts as PNG or SVG.
    void saveImage();

    void setLogValues(bool on);
    void setAgainstFrequency(bool on);

signals:
    // clear() and loadRun() were called; the run's progress follows them.
    void cleared();
    void runLoaded(const TJournalRun &run);
    // "Анализ пиков..." was pressed.
    void analysisRequested();

private:
    void rebuildSeries();
    void saveChoices() const;
    void placeView();
    void showTitle();
    void showNote();
    // Whether the reading is a kind that a chart's quantity has no value for
    // and the note does not name yet.
    bool isNewGap(const TPlotReading &reading) const;
    void showSeries();
    void showHighlight();
    bool viewShown() const;

    QChar m_separator;
    QWidget *m_window;
    TRunReadings m_readings;
    TChartArgument m_argument = TChartArgument::Temperature;
    bool m_logValues = false;
    std::vector<TChartSeriesSet> m_sets; // one per chart
    ChartWindow *m_view = nullptr;
    // The window missed changes while it was closed.
    bool m_viewStale = true;
    std::optional<TCellKey> m_selected;
    UserPrompts &m_prompts;
    QString m_lastImageFile;
    QString m_choicesFile;
    bool m_wasOpen = false;
    std::optional<TSample> m_sample;
    std::optional<TSampleCell> m_cell;
    // Each chart starts with the quantity of its place in the list.
    TChartQuantity m_quantity[kCharts] = {chartQuantities()[0], chartQuantities()[1]};
    // The kinds of reading the note names, for each chart.
    QVector<TQuantityGap> m_gaps[kCharts];
};
