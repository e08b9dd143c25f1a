#pragma once

// Tells when the results table becomes full: every cell of every set point
// and frequency holds a reading. A table that is full when it is taken up
// (a past run opened, a run continued) has not become full; one whose cell
// was emptied and filled again has, once more.
class TTableCompletion {
public:
    // What the run does about a table that has just become full.
    enum class Step { None, Tell, TellStopAndSave };

    // Takes the counts of a table without a new event: a table laid out,
    // loaded or started on.
    void reset(int filled, int total);
    // The counts after a reading or an emptied cell. `running`: a run fills
    // the table; `stopWhenFull`: the user asked for the run to stop and save.
    Step update(int filled, int total, bool running, bool stopWhenFull);

    bool isFull() const { return m_full; }

    static bool isFull(int filled, int total) { return total > 0 && filled >= total; }

private:
    bool m_full = false;
};
