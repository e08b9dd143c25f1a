#pragma once

// The run's pace, the same with a window and without: a display refresh
// (which captures) shows data this long after it arrives, a link is lost after
// a watchdog's period without data, and a frequency key follows the first
// frame after the key before by a step's period.
namespace runperiods {
constexpr int kDisplayRefreshMs = 200;
constexpr int kWatchdogMs = 3000;
constexpr int kStepMs = 250;
} // namespace runperiods

// The periods a run keeps; tests run the same pace faster by a divisor.
struct RunPeriods {
    int DisplayRefreshMs = runperiods::kDisplayRefreshMs;
    int WatchdogMs = runperiods::kWatchdogMs;
    int StepMs = runperiods::kStepMs;

    RunPeriods dividedBy(int divisor) const {
        if (divisor <= 1)
            return *this;
        return {DisplayRefreshMs / divisor, WatchdogMs / divisor, StepMs / divisor};
    }
};
