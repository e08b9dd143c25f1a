#pragma once

#include <QPointF>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QCheckBox;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// frmRelaxation: what the run's peaks say. The peak of each frequency in a
// table that can be copied, ln f against 1000/T_m with the Arrhenius line and
// the Vogel-Fulcher curve and their results, and the Cole-Cole plot of one
// set point. It only shows what it is given.
class RelaxationWindow : public QWidget {
    Q_OBJECT
public:
    explicit RelaxationWindow(QWidget *parent = nullptr);

    QComboBox *cmbQuantity() const { return m_quantity; }
    QComboBox *cmbSetPoint() const { return m_setPoint; }
    QCheckBox *chbModulus() const { return m_modulus; }
    QPushButton *btnCopyPeaks() const { return m_copy; }
    QTableWidget *tblPeaks() const { return m_peaks; }
    QLabel *lblArrhenius() const { return m_arrheniusText; }
    QLabel *lblVogelFulcher() const { return m_vogelFulcherText; }
    QChart *arrheniusChart() const;
    QChart *coleColeChart() const;

    // Rows of texts: frequency, T_m in °C and in K, value, note.
    void setPeakRows(const QVector<QStringList> &rows);
    // Peaks as (1000 / T_m, ln f); a line or curve with no points is not drawn.
    void setArrhenius(const QVector<QPointF> &peaks, const QVector<QPointF> &arrheniusLine,
                      const QVector<QPointF> &vogelFulcherCurve, const QString &arrheniusText,
                      const QString &vogelFulcherText);
    void setColeCole(const QVector<QPointF> &points, const QString &realTitle,
                     const QString &imaginaryTitle);

private:
    QComboBox *m_quantity;
    QComboBox *m_setPoint;
    QCheckBox *m_modulus;
    QPushButton *m_copy;
    QTableWidget *m_peaks;
    QLabel *m_arrheniusText;
    QLabel *m_vogelFulcherText;
    QChartView *m_arrhenius;
    QChartView *m_coleCole;
};
