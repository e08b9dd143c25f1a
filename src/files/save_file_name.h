#pragma once

#include <QString>

// Why a name chosen for saving a measurement cannot be used, as a Russian sentence
// that names what the user chose; empty when it can be used. A NUL character would
// cut the name short in the file system, and a name ending in a separator names a
// folder, where the default extension would make a hidden ".tamrel" file; either
// would be reported saved under a name the user never chose.
QString saveFileNameProblem(const QString &fileName);
