#pragma once

#include <QWidget>

class QLabel;

// The progress of the run in the main window's status bar: cells filled,
// elapsed time, temperature drift, the arrival at the next set point, the
// sample when the run has one, and which instrument sends no data (shown
// only then).
class RunStatusView : public QWidget {
    Q_OBJECT
public:
    explicit RunStatusView(QWidget *parent = nullptr);

    void setCells(const QString &text);
    void setElapsed(const QString &text);
    void setDrift(const QString &text);
    void setArrival(const QString &text);
    // The run's sample; an empty text hides it.
    void setSample(const QString &text);
    // Empty: the instrument's data arrive, and its label is hidden.
    void setMeterLink(const QString &text);
    void setThermometerLink(const QString &text);

private:
    QLabel *m_cells;
    QLabel *m_elapsed;
    QLabel *m_drift;
    QLabel *m_arrival;
    QLabel *m_sample;
    QLabel *m_meterLink;
    QLabel *m_thermoLink;
};
