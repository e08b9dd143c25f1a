#pragma once

#include "journal/journal_records.h"
#include "material/sample.h"

#include <QDateTime>
#include <QVector>

#include <cstdint>
#include <limits>
#include <optional>

// What a file of a run's readings says about the run besides the readings:
// the sample, the table, each start and the instruments' outages.
struct TRunDescription {
    struct Start {
        QDateTime Time; // invalid when not known
        QVector<int32_t> Frequencies;
        int SkipCount = 0;
    };

    std::optional<TSample> Sample;
    double TempInit = std::numeric_limits<double>::quiet_NaN();
    double TempFinal = std::numeric_limits<double>::quiet_NaN();
    double TempStep = std::numeric_limits<double>::quiet_NaN();
    double Tolerance = std::numeric_limits<double>::quiet_NaN();
    QVector<Start> Starts;
    QVector<TLinkOutage> Outages;
};

TRunDescription describeRun(const TJournalRun &run);
