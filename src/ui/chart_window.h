#pragma once

#include "plot/chart_quantity.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class ReadingChartView;

// frmChart: the live chart, a window of its own beside the main window. Two
// charts, one above the other under the run's title, each of a quantity
// chosen from the list (the main and the secondary parameter at first), and
// over them the switches of the value scale and of the horizontal axis, and
// the image save.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartWindow(QChar decimalSeparator, QWidget *parent = nullptr);

    // The size it opens with where the screen has room, and the least it needs.
    static QSize preferredSize();
    static QSize smallestSize();

    static constexpr int kCharts = 2;
    // The upper (0) and the lower (1) chart, and what each shows, chosen from the list.
    ReadingChartView *chart(int at) const { return m_charts[at]; }
    QComboBox *cmbQuantity(int chart) const { return m_quantity[chart]; }
    void setQuantity(int chart, TChartQuantity quantity);
    // Without a sample the quantities that need one are not offered.
    void setSampleKnown(bool known);
    // Why a chart shows no value for some cells; empty hides it.
    void setNote(const QString &text);
    QLabel *lblNote() const { return m_note; }
    QCheckBox *chbLogScale() const { return m_logScale; }
    QCheckBox *chbAgainstFrequency() const { return m_againstFrequency; }
    QPushButton *btnSaveImage() const { return m_saveImage; }
    QPushButton *btnAnalysis() const { return m_analysis; }
    // The title over the charts and both charts, as a saved image shows them.
    QWidget *chartsArea() const { return m_chartsArea; }
    QLabel *lblTitle() const { return m_title; }
    // What the run is: the sample and the run's date; empty hides the title.
    void setTitleText(const QString &text);

signals:
    // The user closed the window (not the program closing it with the main window).
    void closed();
    void quantityChosen(int chart, TChartQuantity quantity);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    ReadingChartView *m_charts[kCharts];
    QComboBox *m_quantity[kCharts];
    QLabel *m_note;
    QCheckBox *m_logScale;
    QCheckBox *m_againstFrequency;
    QPushButton *m_saveImage;
    QPushButton *m_analysis;
    QWidget *m_chartsArea;
    QLabel *m_title;
};

// Writes the widget as it is drawn now to an SVG file when the name ends in
// ".svg", otherwise to a PNG file. Returns an empty string, or what went
// wrong as a Russian sentence.
QString writeWidgetImage(QWidget *widget, const QString &fileName);
