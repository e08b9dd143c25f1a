#pragma once

#include "journal/journal_outcome.h"

#include <deque>
#include <functional>

class TRunJournal;

// Writes to the run journal that survive the journal's faults. A write that
// fails because the file is locked, the disk full or the folder briefly not
// writable is kept in memory, with every write after it, in order; retry()
// reopens the journal and writes them all back. Only a damaged file or one
// from a newer program ends the journal for the session.
//
// Nothing here waits or keeps time: whoever owns the backlog calls retry()
// after retryDelayMs(attempts() + 1).
class TJournalBacklog {
public:
    using Work = std::function<TJournalOutcome(TRunJournal &journal)>;

    explicit TJournalBacklog(TRunJournal &journal) : m_journal(journal) {}

    // Runs `work`, or keeps it behind the writes that wait. The outcome of a
    // fault is to be told the first time only, until the journal works again.
    TJournalOutcome write(Work work);
    // Runs `work` (a read) once the writes that wait are in; fails quietly
    // while they cannot be written.
    TJournalOutcome read(const Work &work);
    // Reopens the journal and writes what waits, oldest first, stopping at
    // the first fault. Its outcome is ok once nothing waits.
    TJournalOutcome retry();

    // Writes wait, or the journal failed and may come back.
    bool needsRetry() const;
    int waiting() const { return int(m_waiting.size()); }
    // Failed retries since the fault began.
    int attempts() const { return m_attempts; }
    // How long to wait before the n-th retry (1, 2, 4 ... up to 30 s).
    static int retryDelayMs(int attempt);

private:
    TJournalOutcome keep(Work work, const TJournalOutcome &outcome);
    TJournalOutcome drain();
    TJournalOutcome reported(TJournalOutcome outcome);

    TRunJournal &m_journal;
    std::deque<Work> m_waiting;
    bool m_faultSaid = false;
    int m_attempts = 0;
};

// Whether the journal can come back from this fault in the same session.
bool isPassingFault(TJournalFault fault);
