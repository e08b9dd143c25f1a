// Wiring of the table preparation, the results grid painting and editing, saving.
#include "app/main_window.h"

void TfrmMain::createTableControllers() {}
