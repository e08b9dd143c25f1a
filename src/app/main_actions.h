#pragma once

#include "control/run_commands.h"

#include <QAction>
#include <QList>

#include <initializer_list>
#include <utility>

class QObject;

// The action list amgrMain: every command of the main window, under its name.
struct MainActions {
    QAction *actApplySettiingsTempAndGrid = nullptr;
    QAction *actStart = nullptr;
    QAction *actStop = nullptr;
    QAction *actFileSaveTo = nullptr;
    QAction *actPastRuns = nullptr;
    QAction *actHelpAbout = nullptr;
    QAction *actComPortAndLogVisibility = nullptr;
    QAction *actLogFileVisibility = nullptr;
    QAction *actMainFormShow = nullptr;
    // The live chart window, and the export of every reading of the run.
    QAction *actShowChart = nullptr;
    QAction *actFileSaveReadings = nullptr;
    // The sample the run measures.
    QAction *actSample = nullptr;
    // Where a run that stops by itself saves its file.
    QAction *actAutosaveFolder = nullptr;

    QAction *actCMDF1 = nullptr;
    QAction *actCMDF2 = nullptr;
    QAction *actCMDF3 = nullptr;
    QAction *actCMDF4 = nullptr;
    QAction *actCMD1C = nullptr;
    QAction *actCMD2L = nullptr;
    QAction *actCMD3R = nullptr;
    QAction *actCMD4DQ = nullptr;
    QAction *actCMD5UP = nullptr;
    QAction *actCMD6Menu = nullptr;
    QAction *actCMD7LEFT = nullptr;
    QAction *actCMD8Enter = nullptr;
    QAction *actCMD9Right = nullptr;
    QAction *actCMD10XX = nullptr;
    QAction *actCMD11DOWN = nullptr;
    QAction *actCMD12X3 = nullptr;

    // Creates every action with its caption and start state under an action
    // list object named amgrMain, a child of owner.
    void create(QObject *owner);

    // The sixteen key actions, F1 to F4 first, then the twelve keys in order.
    QList<QAction *> keypadActions() const;
    // The four commands a run switches.
    TRunCommands runCommands() const;
};

// Connects each action's trigger to its handler on `receiver`.
template <class Receiver>
void connectTriggers(Receiver *receiver,
                     std::initializer_list<std::pair<QAction *, void (Receiver::*)()>> handlers) {
    for (const auto &[action, handler] : handlers)
        QObject::connect(action, &QAction::triggered, receiver, handler);
}
