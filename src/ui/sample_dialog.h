#pragma once

#include "material/sample.h"

#include <QChar>
#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// "Образец": the sample's name, its electrodes (a circle, a rectangle, an
// area, or only the empty-cell capacitance C0), the thickness, the operator
// and notes. Lengths in mm, C0 in pF, typed with either decimal separator.
// OK with a value that is not positive and finite says why and keeps the
// dialog open; "Без образца" closes it with no sample.
class SampleDialog : public QDialog {
    Q_OBJECT
public:
    using Notice = std::function<void(const QString &text)>;

    explicit SampleDialog(QChar decimalSeparator, QWidget *parent = nullptr);

    void setSample(const std::optional<TSample> &sample);
    // What the fields hold, or why it cannot be taken (empty when it can).
    QString problem() const;
    // Valid once accepted: the sample, or nothing after "Без образца".
    const std::optional<TSample> &chosen() const { return m_chosen; }
    // Tests replace the message box that says why OK was refused.
    void setNotice(Notice notice) { m_notice = std::move(notice); }

    QLineEdit *field(const char *objectName) const;
    QComboBox *shape() const { return m_shape; }

public slots:
    void accept() override;
    void acceptWithoutSample();

private:
    void showShape();
    void showEmptyCell();
    // The sample as typed; false and the reason when a text is no number.
    bool read(TSample *sample, QString *problem) const;

    QChar m_separator;
    QFormLayout *m_form;
    QLineEdit *m_name;
    QComboBox *m_shape;
    QLineEdit *m_diameter;
    QLineEdit *m_sideA;
    QLineEdit *m_sideB;
    QLineEdit *m_area;
    QLineEdit *m_thickness;
    QLineEdit *m_emptyCell;
    QLineEdit *m_operator;
    QPlainTextEdit *m_notes;
    QLabel *m_emptyCellShown;
    std::optional<TSample> m_chosen;
    Notice m_notice;
};
