// Wiring of the meter and thermometer links: receivers, display refresh, watchdogs, keypad.
#include "app/main_window.h"

void TfrmMain::createLinkControllers() {}
