#pragma once

#include "files/csv_table.h"
#include "run/set_points.h"

#include <QString>

// The user's words for the reasons the window-free layers give.

// Why a table was refused; empty for None.
QString SetPointErrorText(SetPointError error);

// Why a file could not be saved, naming the file; empty when it was.
QString FileResultText(const TFileResult &result);
