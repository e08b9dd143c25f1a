#pragma once

#include "control/steady_clock.h"
#include "journal/journal_records.h"

#include <QObject>

#include <optional>

class QTableWidget;

// Keeps the cell the run has just written in view, so that a long table
// follows the run; the grid stays where the user scrolled it for a while,
// so that the run does not take a row they are reading away from them.
class TGridFollow : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kUserScrollHoldMs = 30000;

    // Without a clock the system's steady clock; tests pass one they advance.
    explicit TGridFollow(QTableWidget *grid, SteadyClock clock = {}, QObject *parent = nullptr);

public slots:
    void readingRecorded(const TJournalReading &reading);

private:
    QTableWidget *m_grid;
    SteadyClock m_clock;
    std::optional<qint64> m_userScrolledAt;
};
