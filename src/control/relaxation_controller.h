#pragma once

#include "material/sample.h"
#include "plot/relaxation_analysis.h"
#include "plot/run_readings.h"

#include <QBasicTimer>
#include <QObject>
#include <QVector>

#include <functional>
#include <optional>

class QWidget;
class RelaxationWindow;

// The analysis window of the run the chart holds: the peaks of the chosen
// quantity, the Arrhenius and Vogel-Fulcher fits and the Cole-Cole plot of a
// set point. It follows the readings while it is shown, at most a few times a
// second, and takes a past run as a whole.
class TRelaxationController : public QObject {
    Q_OBJECT
public:
    using SampleSource = std::function<std::optional<TSample>()>;

    TRelaxationController(const TRunReadings &readings, QChar decimalSeparator, QWidget *window,
                          QObject *parent = nullptr);
    ~TRelaxationController() override;

    // The sample of the run the readings belong to.
    void setSampleSource(SampleSource source) { m_sample = std::move(source); }
    // nullptr until first opened.
    RelaxationWindow *view() const { return m_view; }
    const TRelaxationAnalysis &analysis() const { return m_analysis; }
    TRelaxationQuantity quantity() const;
    // The peaks as tab-separated text with the locale's separator, as copied.
    QString peakTableText() const;

public slots:
    void show();
    // The readings changed: one more, or all of them.
    void readingsChanged();
    // Analyses the readings now and shows the result.
    void refresh();
    void copyPeaks();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void fillQuantities();
    void fillSetPoints();
    void showColeCole();
    std::optional<TSampleCell> sampleCell() const;

    const TRunReadings &m_readings;
    QChar m_separator;
    QWidget *m_window;
    RelaxationWindow *m_view = nullptr;
    // Not a QTimer child: the window's own timers are the ones it stops and
    // counts at close, and this one only coalesces redraws.
    QBasicTimer m_refreshTimer;
    SampleSource m_sample;
    TRelaxationAnalysis m_analysis;
    QVector<TRelaxationQuantity> m_quantities; // as the list offers them
};
