#pragma once

#include "journal/journal_outcome.h"
#include "journal/journal_records.h"

#include <QString>

// The user's words for what happened to the run journal.
namespace journaltext {

// "Журнал измерений не ведётся: …" for a failure, or where a damaged file was
// put; empty for an outcome not to be told.
QString outcome(const TJournalOutcome &outcome);
// The journal works again after a failure and holds what came meanwhile.
QString resumed();
// The journal beside the program at `formerPath` lies in a read-only folder;
// it is kept at `path` instead.
QString movedTo(const QString &formerPath, const QString &path);

// Whether to open the unsaved run left in the journal at `formerPath`.
QString openLeftRunQuestion(const QString &formerPath, const TJournalRunSummary &run);
// Whether to restore the run of a program that did not close as usual.
QString restoreQuestion(const TJournalRunSummary &run);

// The list of past runs: why a run cannot be opened now, and the questions
// before runs are deleted.
QString openWhileRunning();
QString deleteRunQuestion(const TJournalRunSummary &run);
QString noRunsOlderThan(int days);
QString deleteOlderQuestion(int days, int runs, int unsaved);

} // namespace journaltext
