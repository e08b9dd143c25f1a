#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QSpinBox;

// Under the list of past runs: how much room the journal takes, a button to
// compact it, and the deletion of runs older than a number of days. It only
// asks; whoever shows it does the work and gives the new size.
class JournalUpkeepBar : public QWidget {
    Q_OBJECT
public:
    explicit JournalUpkeepBar(QWidget *parent = nullptr);

    // The file and its log together, in bytes.
    void setJournalBytes(qint64 bytes);
    QString sizeText() const;
    // "812 КБ", "34,5 МБ", "1,25 ГБ", with the system's decimal separator.
    static QString bytesText(qint64 bytes);
    QSpinBox *daysBox() const { return m_days; }
    QPushButton *compactButton() const { return m_compact; }
    QPushButton *deleteOlderButton() const { return m_deleteOlder; }

signals:
    void compactRequested();
    void deleteOlderRequested(int days);

private:
    QLabel *m_size;
    QPushButton *m_compact;
    QSpinBox *m_days;
    QPushButton *m_deleteOlder;
};
