#pragma once

#include <QChar>
#include <QObject>

#include <functional>

class QWidget;
class SampleDialog;
class TJournalController;

// "Образец...": shows the sample of the run on the screen (or the one
// proposed for the next run) and makes the one the user confirms the run's,
// in the journal too. Cancelled, nothing changes.
class TSampleCommand : public QObject {
    Q_OBJECT
public:
    using DialogShown = std::function<void(SampleDialog &dialog)>;

    TSampleCommand(TJournalController &journal, QChar decimalSeparator, QWidget *dialogParent,
                   QObject *parent = nullptr);

    // Called with the filled dialog instead of showing it modally; tests
    // press its buttons.
    void setDialogShown(DialogShown shown) { m_shown = std::move(shown); }

public slots:
    void actSampleExecute();

private:
    TJournalController &m_journal;
    QChar m_separator;
    QWidget *m_dialogParent;
    DialogShown m_shown;
};
