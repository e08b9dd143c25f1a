// Wiring of the the measurement run: start and stop, frequency stepping, reading capture.
#include "app/main_window.h"

void TfrmMain::createRunControllers() {}
