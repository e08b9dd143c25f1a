// Wiring of the settings file binding and the automatic connection of both links.
#include "app/main_window.h"

void TfrmMain::createPortControllers() {}
