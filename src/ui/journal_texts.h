#pragma once

#include "journal/journal_outcome.h"

#include <QString>

// The user's words for what happened to the run journal.
namespace journaltext {

// "Журнал измерений не ведётся: …" for a failure, or where a damaged file was
// put; empty for an outcome not to be told.
QString outcome(const TJournalOutcome &outcome);

} // namespace journaltext
