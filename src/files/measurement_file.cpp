#include "files/measurement_file.h"

void FillHeaderFromPacket(TCSVTable &table, const TIMPacket &im) {
    table.SetHeaderInfo(im.LimitText, im.LevelText, im.OffsetText);
}

bool StoreReading(TCSVTable &table, const TIMPacket &im, int freqIndex, int tempIndex) {
    // The main block is looked up first so that it comes before the combined one.
    if (!table.SetCell(im.MainName, im.MainBase, freqIndex, tempIndex))
        return false;
    return table.SetCell(im.MainName + QLatin1Char('/') + im.SecName, im.SecBase, freqIndex,
                         tempIndex);
}
