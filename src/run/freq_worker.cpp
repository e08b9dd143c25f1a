#include "run/freq_worker.h"

void FillRanges(TFreqWorker &worker) {
    worker.Ranges = {{
        {25, 50, 1},
        {50, 60, 1},
        {60, 100, 1},
        {100, 120, 1},
        {120, 200, 1},
        {200, 500, 1},
        {500, 1000, 1},
        {1000, 2000, 1000},
        {2000, 5000, 1000},
        {5000, 10000, 1000},
        {10000, 20000, 1000},
        {20000, 50000, 1000},
        {50000, 100000, 1000},
        {100000, 200000, 1000},
        {200000, 500000, 1000},
        {500000, 1000000, 1000},
    }};
    worker.RangeCount = static_cast<int32_t>(worker.Ranges.size());
    worker.HalfCount = worker.RangeCount / 2 + worker.RangeCount % 2;
    worker.Ready = 1;
}

int32_t NearestBound(TFreqWorker &worker, int32_t f) {
    if (worker.Ready != 1)
        FillRanges(worker);
    for (int i = 0; i < worker.RangeCount; ++i) {
        const TFreqRange &range = worker.Ranges[i];
        if (range.Lo <= f && f <= range.Hi)
            return range.Hi - f < f - range.Lo ? range.Hi : range.Lo;
    }
    return 0;
}

std::optional<uint8_t> CoarseKey(int32_t current, int32_t waypoint) {
    if (waypoint < current)
        return freqkeys::CoarseDown;
    if (current < waypoint)
        return freqkeys::CoarseUp;
    return std::nullopt;
}

uint8_t FineKey(int32_t current, int32_t target) {
    return target < current ? freqkeys::FineDown : freqkeys::FineUp;
}
