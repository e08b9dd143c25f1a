#pragma once

#include "files/csv_table.h"

#include <QString>

// Whether a name chosen for saving a measurement can be used (ok), or why not. A NUL
// character would cut the name short in the file system, and a name ending in a
// separator names a folder, where the default extension would make a hidden ".tamrel"
// file; either would be reported saved under a name the user never chose.
TFileResult checkSaveFileName(const QString &fileName);
