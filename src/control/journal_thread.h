#pragma once

#include "journal/journal_outcome.h"

#include <QObject>
#include <QThread>

#include <functional>

class QTimer;
class TJournalBacklog;
class TRunJournal;

// The run journal on a thread of its own, so that a commit waiting for the disk
// (synchronous=FULL) or for another program's lock never holds up the
// receivers and timers of the window. Writes are posted in order and run in
// that order; what the window must wait for (opening, the list of runs, a run
// to restore) is called and waited for. Writes the journal cannot take now
// wait in memory and go in when a retry, after a growing pause, finds it
// working again.
class TJournalThread : public QObject {
    Q_OBJECT
public:
    using Work = std::function<TJournalOutcome(TRunJournal &journal)>;
    // The pause before the n-th retry in milliseconds; a negative one
    // schedules none (tests then call retryNow()).
    using RetryDelay = std::function<int(int attempt)>;

    explicit TJournalThread(QObject *parent = nullptr);
    // Runs what was posted, closes the journal and ends the thread.
    ~TJournalThread() override;

    void setRetryDelay(RetryDelay delay);

    // Writes later, after everything posted before.
    void post(Work work);
    // Writes after everything posted before and waits for the outcome.
    TJournalOutcome call(const Work &work);
    // Reads after everything posted before (first writing what waits) and
    // waits for the outcome.
    TJournalOutcome read(const Work &work);
    // Reads as read() does without waiting; `done` gets the outcome later on
    // this object's thread.
    void request(Work work, std::function<void(const TJournalOutcome &outcome)> done);
    // Tries at once to write what waits; ok when nothing waits.
    TJournalOutcome retryNow();
    // Writes that wait for the journal to come back.
    int waiting();

signals:
    // A failure of posted work or of a retry the user must be told of (its
    // message is filled once per fault); what is waited for returns its own.
    void failed(const QString &message);
    // The journal works again after a fault, and what waited is in it.
    void resumed();

private:
    // On the journal's thread: runs one write, read or retry and settles its outcome.
    TJournalOutcome step(const std::function<TJournalOutcome()> &work, bool sayFailure);
    // On the journal's thread: reports the outcome and plans the next retry.
    void settle(const TJournalOutcome &outcome, bool wasWaiting, bool sayFailure);
    void retryFromTimer();

    QThread m_thread;
    QObject *m_context;
    TRunJournal *m_journal = nullptr;
    TJournalBacklog *m_backlog = nullptr;
    QTimer *m_retryTimer = nullptr;
    RetryDelay m_retryDelay;
};
