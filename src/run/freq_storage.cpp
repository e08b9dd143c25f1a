#include "run/freq_storage.h"

void TFreqStorage::Clear() {
    Items.clear();
}

void TFreqStorage::Add(const TFreqItem &item) {
    TFreqItem copy = item;
    copy.Index = Items.size();
    Items.append(copy);
}

int TFreqStorage::Count() const {
    return Items.size();
}

bool TFreqStorage::Contains(int32_t f) const {
    for (const TFreqItem &item : Items) {
        if (item.Freq == f)
            return true;
    }
    return false;
}

TFreqItem TFreqStorage::FindFreq(int32_t f) const {
    TFreqItem found;
    found.Index = -1;
    for (const TFreqItem &item : Items) {
        if (item.Freq == f)
            found = item;
    }
    return found;
}

int32_t TFreqStorage::NextFreq(int32_t f) const {
    if (Items.isEmpty())
        return 0;
    for (const TFreqItem &item : Items) {
        if (item.Freq > f)
            return item.Freq;
    }
    return Items.first().Freq;
}
