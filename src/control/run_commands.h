#pragma once

class QAction;

// The commands a run switches between running and idle.
struct TRunCommands {
    QAction *actApplySettiingsTempAndGrid = nullptr;
    QAction *actStart = nullptr;
    QAction *actStop = nullptr;
    QAction *actFileSaveTo = nullptr;
};
