#include "run/temp_storage.h"

#include <cmath>

void TTempStorage::Clear() {
    Items.clear();
}

void TTempStorage::Add(const TTempItem &item) {
    TTempItem copy = item;
    copy.Index = Items.size();
    Items.append(copy);
}

int TTempStorage::Count() const {
    return Items.size();
}

bool TTempStorage::InRange(double t) const {
    if (std::isnan(t))
        return false;
    // Written so that a NaN parameter puts nothing in range.
    const bool descending = TempFinal < TempInit;
    const double low = descending ? TempFinal : TempInit;
    const double high = descending ? TempInit : TempFinal;
    return low - TempDiff <= t && t <= high + TempDiff;
}

TTempItem TTempStorage::FindTemp(double t) const {
    if (!std::isnan(t)) {
        for (const TTempItem &item : Items) {
            if (std::fabs(item.SetPoint - t) < TempDiff)
                return item;
        }
    }
    TTempItem none;
    none.Index = -1;
    return none;
}
