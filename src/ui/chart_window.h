#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class ReadingChartView;

// frmChart: the live chart, a window of its own beside the main window. The
// main parameter's chart above the secondary parameter's under the run's
// title, and over them the switches of the value scale and of the horizontal
// axis, and the image save.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartWindow(QChar decimalSeparator, QWidget *parent = nullptr);

    // The size it opens with where the screen has room, and the least it needs.
    static QSize preferredSize();
    static QSize smallestSize();

    ReadingChartView *mainChart() const { return m_mainChart; }
    ReadingChartView *secondaryChart() const { return m_secondaryChart; }
    QCheckBox *chbLogScale() const { return m_logScale; }
    QCheckBox *chbAgainstFrequency() const { return m_againstFrequency; }
    QPushButton *btnSaveImage() const { return m_saveImage; }
    QPushButton *btnAnalysis() const { return m_analysis; }
    // The title over the charts and both charts, as a saved image shows them.
    QWidget *chartsArea() const { return m_charts; }
    QLabel *lblTitle() const { return m_title; }
    // What the run is: the sample and the run's date; empty hides the title.
    void setTitleText(const QString &text);

signals:
    // The user closed the window (not the program closing it with the main window).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    ReadingChartView *m_mainChart;
    ReadingChartView *m_secondaryChart;
    QCheckBox *m_logScale;
    QCheckBox *m_againstFrequency;
    QPushButton *m_saveImage;
    QPushButton *m_analysis;
    QWidget *m_charts;
    QLabel *m_title;
};

// Writes the widget as it is drawn now to an SVG file when the name ends in
// ".svg", otherwise to a PNG file. Returns an empty string, or what went
// wrong as a Russian sentence.
QString writeWidgetImage(QWidget *widget, const QString &fileName);
