#include "run/table_completion.h"

void TTableCompletion::reset(int filled, int total) {
    m_full = isFull(filled, total);
}

TTableCompletion::Step TTableCompletion::update(int filled, int total, bool running,
                                                bool stopWhenFull) {
    const bool wasFull = m_full;
    m_full = isFull(filled, total);
    if (!m_full || wasFull || !running)
        return Step::None;
    return stopWhenFull ? Step::TellStopAndSave : Step::Tell;
}
