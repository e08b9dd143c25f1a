#include "control/journal_thread.h"

#include "journal/journal_backlog.h"
#include "journal/run_journal.h"
#include "ui/journal_texts.h"

#include <QTimer>

// The journal (its database connection), the backlog and the retry timer are
// made, used and destroyed on the journal's thread only, as Qt's SQL
// connections and timers require.
TJournalThread::TJournalThread(QObject *parent)
    : QObject(parent), m_context(new QObject), m_retryDelay(&TJournalBacklog::retryDelayMs) {
    m_thread.setObjectName(QStringLiteral("journal"));
    m_context->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            m_journal = new TRunJournal;
            m_backlog = new TJournalBacklog(*m_journal);
            m_retryTimer = new QTimer(m_context);
            m_retryTimer->setSingleShot(true);
            connect(m_retryTimer, &QTimer::timeout, m_context, [this] { retryFromTimer(); });
        },
        Qt::BlockingQueuedConnection);
}

TJournalThread::~TJournalThread() {
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            delete m_retryTimer;
            m_retryTimer = nullptr;
            delete m_backlog;
            m_backlog = nullptr;
            delete m_journal;
            m_journal = nullptr;
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void TJournalThread::setRetryDelay(RetryDelay delay) {
    QMetaObject::invokeMethod(
        m_context, [this, delay = std::move(delay)] { m_retryDelay = delay; },
        Qt::BlockingQueuedConnection);
}

void TJournalThread::post(Work work) {
    QMetaObject::invokeMethod(
        m_context,
        [this, work = std::move(work)] {
            const bool wasWaiting = m_backlog->needsRetry();
            settle(m_backlog->write(work), wasWaiting, true);
        },
        Qt::QueuedConnection);
}

TJournalOutcome TJournalThread::call(const Work &work) {
    TJournalOutcome outcome;
    QMetaObject::invokeMethod(
        m_context,
        [&] {
            const bool wasWaiting = m_backlog->needsRetry();
            outcome = m_backlog->write(work);
            settle(outcome, wasWaiting, false);
        },
        Qt::BlockingQueuedConnection);
    return outcome;
}

TJournalOutcome TJournalThread::read(const Work &work) {
    TJournalOutcome outcome;
    QMetaObject::invokeMethod(
        m_context,
        [&] {
            const bool wasWaiting = m_backlog->needsRetry();
            outcome = m_backlog->read(work);
            settle(outcome, wasWaiting, false);
        },
        Qt::BlockingQueuedConnection);
    return outcome;
}

void TJournalThread::request(Work work, std::function<void(const TJournalOutcome &)> done) {
    QMetaObject::invokeMethod(
        m_context,
        [this, work = std::move(work), done = std::move(done)] {
            const bool wasWaiting = m_backlog->needsRetry();
            const TJournalOutcome outcome = m_backlog->read(work);
            settle(outcome, wasWaiting, false);
            QMetaObject::invokeMethod(
                this, [done, outcome] { done(outcome); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

TJournalOutcome TJournalThread::retryNow() {
    TJournalOutcome outcome;
    QMetaObject::invokeMethod(
        m_context,
        [&] {
            const bool wasWaiting = m_backlog->needsRetry();
            outcome = wasWaiting ? m_backlog->retry() : TJournalOutcome{};
            settle(outcome, wasWaiting, false);
        },
        Qt::BlockingQueuedConnection);
    return outcome;
}

int TJournalThread::waiting() {
    int count = 0;
    QMetaObject::invokeMethod(
        m_context, [&] { count = m_backlog->waiting(); }, Qt::BlockingQueuedConnection);
    return count;
}

void TJournalThread::retryFromTimer() {
    if (!m_backlog->needsRetry())
        return;
    settle(m_backlog->retry(), true, true);
}

// Signals are emitted on the journal's thread; the window receives them on its own.
void TJournalThread::settle(const TJournalOutcome &outcome, bool wasWaiting, bool sayFailure) {
    if (sayFailure && !outcome.ok && outcome.tell)
        emit failed(journaltext::outcome(outcome));
    if (!m_backlog->needsRetry()) {
        m_retryTimer->stop();
        if (wasWaiting && outcome.ok)
            emit resumed();
        return;
    }
    if (m_retryTimer->isActive())
        return;
    const int delay = m_retryDelay(m_backlog->attempts() + 1);
    if (delay >= 0)
        m_retryTimer->start(delay);
}
