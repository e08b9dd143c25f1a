#pragma once

#include "base/event_rec.h"
#include "files/csv_table.h"

// How a measurement lands in the results table that is saved to a file.

// The header values of every block come from the latest meter packet at the
// moment of saving; an empty packet (no meter record yet) gives empty values.
void FillHeaderFromPacket(TCSVTable &table, const TIMPacket &im);

// A captured reading: the main value in the block named after the main
// parameter, then the secondary value in the block "Main/Secondary", both at
// the column of the frequency and the row of the temperature set point.
// False when the position lies outside a block's grid: outside the main one
// nothing is stored, outside the combined one only the main value is.
bool StoreReading(TCSVTable &table, const TIMPacket &im, int freqIndex, int tempIndex);
