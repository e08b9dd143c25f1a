#pragma once

#include "ui/main_window_ui.h"

#include <QObject>

#include <functional>

struct TAppState;
class RunEngine;
struct RunParameterWidgets;
class QAction;
class QKeyEvent;
class QLineEdit;
class ResultsGridView;
class UserPrompts;

// Lays out the results grid from the run parameters of the settings panel:
// one row per temperature set point, one column per test frequency. It also
// fills the engine's temperature storage, empties its CSV table, and filters the keys
// typed into the numeric edits.
//
// The table's Tag (1 while the table holds data of a run, 0 after a
// preparation) is kept here, not in the grid widget: the run, the journal's
// restore and the care of a full table set and read it through this class.
class TTablePreparation : public QObject {
    Q_OBJECT
public:
    // actStop is disabled by every preparation; `prompts` asks before the
    // table's data go and says why a table could not be laid out.
    TTablePreparation(TAppState &state, RunEngine &engine, const RunParameterWidgets &ui,
                      ResultsGridView *grdTable, QAction *actStop, UserPrompts &prompts,
                      QObject *parent = nullptr);

    int tableTag() const { return m_tag; }
    void setTableTag(int tag) { m_tag = tag; }

    // The key filter of leTempInit, leTempFinal, leTempStep, leTempDiff and
    // leFreqColCount: replaces `key` with the character to insert, or with
    // QChar(0) to drop it. `edit` tells the count edit from the others.
    void NumericKeyPress(const QObject *edit, QChar &key) const;

    // Writes the five default frequencies into cells (2,0) .. (6,0) of a grid
    // that has those cells.
    void placeDefaultFrequencies();

    // The same table for a new run: its readings and actual temperatures go,
    // its set points and frequencies stay.
    void emptyReadings();

signals:
    // The grid was laid out anew (after the user confirmed, when asked), or
    // emptied of its readings.
    void tablePrepared();

public slots:
    void actApplySettiingsTempAndGridExecute();
    void leFreqColCountDblClick();

protected:
    // Installed on the five numeric edits: typed characters go through
    // NumericKeyPress; a double click on leFreqColCount runs its handler.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void notifyColumnCountUnknown();
    void emptyGrid(bool keepFrequencies);
    void readColumnCount();
    QString layOutSetPoints();
    bool readTemperature(const QLineEdit *edit, double &target);
    bool filterTypedKey(QLineEdit *edit, QKeyEvent *event) const;

    TAppState &m_state;
    RunEngine &m_engine;
    RunParameterWidgets m_ui;
    QAction *m_actStop;
    ResultsGridView *m_grid;
    UserPrompts &m_prompts;
    int m_tag = 0;
};
