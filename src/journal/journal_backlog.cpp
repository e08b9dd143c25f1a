#include "journal/journal_backlog.h"

#include "journal/run_journal.h"

#include <algorithm>

bool isPassingFault(TJournalFault fault) {
    switch (fault) {
    case TJournalFault::FolderNotWritable:
    case TJournalFault::DiskFull:
    case TJournalFault::Locked:
    case TJournalFault::IoError:
    case TJournalFault::Failed:
        return true;
    case TJournalFault::None:
    case TJournalFault::NotOpen:
    case TJournalFault::NoDriver:
    case TJournalFault::Corrupt:
    case TJournalFault::TooNew:
        break;
    }
    return false;
}

int TJournalBacklog::retryDelayMs(int attempt) {
    constexpr int kFirstMs = 1000;
    constexpr int kLongestMs = 30000;
    const int doublings = std::clamp(attempt - 1, 0, 5);
    return std::min(kFirstMs << doublings, kLongestMs);
}

bool TJournalBacklog::needsRetry() const {
    return !m_waiting.empty() || (!m_journal.isOpen() && isPassingFault(m_journal.fault()));
}

TJournalOutcome TJournalBacklog::write(Work work) {
    if (!m_waiting.empty()) {
        m_waiting.push_back(std::move(work));
        TJournalOutcome outcome;
        outcome.ok = false;
        outcome.fault = m_journal.fault();
        return outcome;
    }
    const TJournalOutcome outcome = work(m_journal);
    if (outcome.ok)
        return outcome;
    return keep(std::move(work), outcome);
}

TJournalOutcome TJournalBacklog::keep(Work work, const TJournalOutcome &outcome) {
    if (!isPassingFault(outcome.fault))
        return reported(outcome);
    if (m_waiting.empty())
        m_journal.markGap();
    m_waiting.push_back(std::move(work));
    return reported(outcome);
}

TJournalOutcome TJournalBacklog::read(const Work &work) {
    if (needsRetry()) {
        const TJournalOutcome retried = retry();
        if (!retried.ok)
            return retried;
    }
    return reported(work(m_journal));
}

TJournalOutcome TJournalBacklog::retry() {
    if (!m_journal.isOpen()) {
        const TJournalOutcome reopened = m_journal.reopen();
        if (!reopened.ok) {
            ++m_attempts;
            return reported(reopened);
        }
    }
    return drain();
}

TJournalOutcome TJournalBacklog::drain() {
    while (!m_waiting.empty()) {
        const TJournalOutcome outcome = m_waiting.front()(m_journal);
        if (!outcome.ok) {
            if (!isPassingFault(outcome.fault))
                m_waiting.clear();
            ++m_attempts;
            return reported(outcome);
        }
        m_waiting.pop_front();
    }
    m_journal.clearGap();
    m_attempts = 0;
    m_faultSaid = false;
    return {};
}

// A fault is told once, however many writes and retries meet it. A failure
// not to be told met a journal already stopped, whose fault was said where
// it stopped (an opening that failed).
TJournalOutcome TJournalBacklog::reported(TJournalOutcome outcome) {
    if (outcome.ok)
        return outcome;
    if (m_faultSaid)
        outcome.tell = false;
    m_faultSaid = true;
    return outcome;
}
