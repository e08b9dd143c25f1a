#pragma once

#include "journal/journal_records.h"

#include <QDialog>
#include <QVector>

class QLabel;
class JournalUpkeepBar;
class QPushButton;
class QTableWidget;

// The runs the journal keeps, newest first: start, end, set points by
// frequencies, cells filled, the sample and the file each went to. The buttons ask for a
// run to be opened into the grid, saved again or deleted; what happens is up
// to whoever shows the dialog.
class PastRunsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PastRunsDialog(QWidget *parent = nullptr);

    // The separator the samples' numbers are shown with.
    void setDecimalSeparator(QChar separator) { m_separator = separator; }
    // currentRunId: the run on the screen, which cannot be deleted.
    void setRuns(const QVector<TJournalRunSummary> &runs, qint64 currentRunId);
    // The run of the selected line, 0 when none is selected.
    qint64 selectedRunId() const;
    QTableWidget *list() const { return m_list; }
    // What is known of the selected run beyond its line (its outages).
    void setDetails(const QString &text);
    QLabel *details() const { return m_details; }
    // The journal's size, its compaction and the deletion of old runs.
    JournalUpkeepBar *upkeep() const { return m_upkeep; }

signals:
    void openRequested(qint64 runId);
    void saveRequested(qint64 runId);
    void exportRequested(qint64 runId);
    void deleteRequested(qint64 runId);
    // Another run was selected (0: none).
    void selectedRunChanged(qint64 runId);

private:
    void updateButtons();

    QTableWidget *m_list;
    QLabel *m_details;
    QPushButton *m_open;
    QPushButton *m_save;
    QPushButton *m_export;
    QPushButton *m_delete;
    JournalUpkeepBar *m_upkeep;
    QVector<qint64> m_ids;
    qint64 m_currentRunId = 0;
    QChar m_separator = QLatin1Char(',');
};
