#pragma once

#include "journal/journal_outcome.h"

#include <QObject>
#include <QThread>

#include <functional>

class TRunJournal;

// The run journal on a thread of its own, so that a commit waiting for the disk
// (synchronous=FULL) never holds up the receivers and timers of the window.
// Work is posted in order and runs in that order; what the window must wait for
// (opening, the list of runs, a run to restore) is called and waited for.
class TJournalThread : public QObject {
    Q_OBJECT
public:
    using Work = std::function<TJournalOutcome(TRunJournal &journal)>;

    explicit TJournalThread(QObject *parent = nullptr);
    // Runs what was posted, closes the journal and ends the thread.
    ~TJournalThread() override;

    // Runs `work` later, after everything posted before it.
    void post(Work work);
    // Runs `work` after everything posted before it and waits for its outcome.
    TJournalOutcome call(const Work &work);

signals:
    // A failure the user must be told of (its message is filled once per failure).
    void failed(const QString &message);

private:
    void reportIfNeeded(const TJournalOutcome &outcome);

    QThread m_thread;
    QObject *m_context;
    TRunJournal *m_journal = nullptr;
};
