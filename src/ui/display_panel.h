#pragma once

#include <QWidget>

class QLabel;
class MeterDisplayView;
class ThermoDisplayView;

// pnlDisplay: the meter display widening with the window, the thermometer
// display below it and the model caption kept at the lower right corner.
class DisplayPanel : public QWidget {
    Q_OBJECT
public:
    explicit DisplayPanel(QWidget *parent = nullptr);

    MeterDisplayView *meterDisplay() const { return m_meter; }
    ThermoDisplayView *thermoDisplay() const { return m_thermo; }
    QLabel *modelCaption() const { return m_caption; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    MeterDisplayView *m_meter = nullptr;
    ThermoDisplayView *m_thermo = nullptr;
    QLabel *m_caption = nullptr;
};
