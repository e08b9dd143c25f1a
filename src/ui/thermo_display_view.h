#pragma once

#include <QColor>
#include <QFrame>

class QLabel;

// The small temperature display of the replica (pnlDeviceTempDisplay).
class ThermoDisplayView : public QFrame {
    Q_OBJECT
public:
    explicit ThermoDisplayView(QWidget *parent = nullptr);

    void setTemperatureText(const QString &text);
    QString temperatureText() const;

    void setPanelColor(const QColor &colour);
    QColor panelColor() const;

private:
    QLabel *m_value = nullptr;
};
