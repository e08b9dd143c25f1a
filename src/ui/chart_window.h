#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;
class ReadingChartView;

// frmChart: the live chart, a window of its own beside the main window. The
// main parameter's chart above the secondary parameter's, and over them the
// switches of the value scale and of the horizontal axis, and the image save.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartWindow(QChar decimalSeparator, QWidget *parent = nullptr);

    ReadingChartView *mainChart() const { return m_mainChart; }
    ReadingChartView *secondaryChart() const { return m_secondaryChart; }
    QCheckBox *chbLogScale() const { return m_logScale; }
    QCheckBox *chbAgainstFrequency() const { return m_againstFrequency; }
    QPushButton *btnSaveImage() const { return m_saveImage; }
    // Both charts, as a saved image shows them.
    QWidget *chartsArea() const { return m_charts; }

private:
    ReadingChartView *m_mainChart;
    ReadingChartView *m_secondaryChart;
    QCheckBox *m_logScale;
    QCheckBox *m_againstFrequency;
    QPushButton *m_saveImage;
    QWidget *m_charts;
};

// Writes the widget as it is drawn now to an SVG file when the name ends in
// ".svg", otherwise to a PNG file. Returns an empty string, or what went
// wrong as a Russian sentence.
QString writeWidgetImage(QWidget *widget, const QString &fileName);
