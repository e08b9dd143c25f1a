#pragma once

#include <QString>

// The warnings of preparing a table and starting a run.
namespace runtext {

// A table is prepared over the readings of the last one.
QString dataLossWarning();
// A temperature of the table is not a number.
QString columnCountUnknown();
// The start refuses the frequencies in the red cells, or links that are down.
QString badFrequencies();
QString devicesMissing();

} // namespace runtext
