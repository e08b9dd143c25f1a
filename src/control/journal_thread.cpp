#include "control/journal_thread.h"

#include "journal/journal_backlog.h"
#include "journal/run_journal.h"
#include "ui/journal_texts.h"

#include <QTimer>

#include <type_traits>

namespace {

// Runs `work` on the thread of `context` and waits for it; returns what it returns.
template <class Work> auto waitOn(QObject *context, Work work) {
    using Result = decltype(work());
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(context, work, Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            context, [&] { result = work(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

} // namespace

// The journal (its database connection), the backlog and the retry timer are
// made, used and destroyed on the journal's thread only, as Qt's SQL
// connections and timers require.
TJournalThread::TJournalThread(QObject *parent)
    : QObject(parent), m_context(new QObject), m_retryDelay(&TJournalBacklog::retryDelayMs) {
    m_thread.setObjectName(QStringLiteral("journal"));
    m_context->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();
    waitOn(m_context, [this] {
        m_journal = new TRunJournal;
        m_backlog = new TJournalBacklog(*m_journal);
        m_retryTimer = new QTimer(m_context);
        m_retryTimer->setSingleShot(true);
        connect(m_retryTimer, &QTimer::timeout, m_context, [this] { retryFromTimer(); });
    });
}

TJournalThread::~TJournalThread() {
    waitOn(m_context, [this] {
        delete m_retryTimer;
        m_retryTimer = nullptr;
        delete m_backlog;
        m_backlog = nullptr;
        delete m_journal;
        m_journal = nullptr;
    });
    m_thread.quit();
    m_thread.wait();
}

void TJournalThread::setRetryDelay(RetryDelay delay) {
    waitOn(m_context, [this, &delay] { m_retryDelay = std::move(delay); });
}

void TJournalThread::post(Work work) {
    QMetaObject::invokeMethod(
        m_context,
        [this, work = std::move(work)] { step([&] { return m_backlog->write(work); }, true); },
        Qt::QueuedConnection);
}

TJournalOutcome TJournalThread::call(const Work &work) {
    return waitOn(m_context, [&] { return step([&] { return m_backlog->write(work); }, false); });
}

TJournalOutcome TJournalThread::read(const Work &work) {
    return waitOn(m_context, [&] { return step([&] { return m_backlog->read(work); }, false); });
}

void TJournalThread::request(Work work, std::function<void(const TJournalOutcome &)> done) {
    QMetaObject::invokeMethod(
        m_context,
        [this, work = std::move(work), done = std::move(done)] {
            const TJournalOutcome outcome = step([&] { return m_backlog->read(work); }, false);
            QMetaObject::invokeMethod(
                this, [done, outcome] { done(outcome); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

TJournalOutcome TJournalThread::retryNow() {
    return waitOn(m_context, [this] {
        return step(
            [this] { return m_backlog->needsRetry() ? m_backlog->retry() : TJournalOutcome{}; },
            false);
    });
}

int TJournalThread::waiting() {
    return waitOn(m_context, [this] { return m_backlog->waiting(); });
}

void TJournalThread::retryFromTimer() {
    if (m_backlog->needsRetry())
        step([this] { return m_backlog->retry(); }, true);
}

TJournalOutcome TJournalThread::step(const std::function<TJournalOutcome()> &work,
                                     bool sayFailure) {
    const bool wasWaiting = m_backlog->needsRetry();
    const TJournalOutcome outcome = work();
    settle(outcome, wasWaiting, sayFailure);
    return outcome;
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
