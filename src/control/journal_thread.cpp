#include "control/journal_thread.h"

#include "journal/run_journal.h"

// The journal (its database connection) is made, used and destroyed on the
// journal's thread only, as Qt's SQL connections require.
TJournalThread::TJournalThread(QObject *parent) : QObject(parent), m_context(new QObject) {
    m_thread.setObjectName(QStringLiteral("journal"));
    m_context->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_context, [this] { m_journal = new TRunJournal; }, Qt::BlockingQueuedConnection);
}

TJournalThread::~TJournalThread() {
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            delete m_journal;
            m_journal = nullptr;
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void TJournalThread::post(Work work) {
    QMetaObject::invokeMethod(
        m_context, [this, work = std::move(work)] { reportIfNeeded(work(*m_journal)); },
        Qt::QueuedConnection);
}

TJournalOutcome TJournalThread::call(const Work &work) {
    TJournalOutcome outcome;
    QMetaObject::invokeMethod(
        m_context, [&] { outcome = work(*m_journal); }, Qt::BlockingQueuedConnection);
    return outcome;
}

// Emitted on the journal's thread; the window receives it on its own.
void TJournalThread::reportIfNeeded(const TJournalOutcome &outcome) {
    if (!outcome.ok && !outcome.message.isEmpty())
        emit failed(outcome.message);
}
