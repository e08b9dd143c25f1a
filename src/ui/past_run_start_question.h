#pragma once

class UserPrompts;

// What "Начать измерения" does with a run opened from the journal.
enum class PastRunStart { Continue, StartNew, Cancel };

// Asks it: "Продолжить это измерение", "Начать новое" (Enter) or "Отмена" (Escape).
PastRunStart AskPastRunStart(UserPrompts &prompts);
