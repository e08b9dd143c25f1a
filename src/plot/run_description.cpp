#include "plot/run_description.h"

TRunDescription describeRun(const TJournalRun &run) {
    TRunDescription d;
    d.Sample = run.Summary.Sample;
    const TTempStorage &table = run.Table.TempStorage;
    d.TempInit = table.TempInit;
    d.TempFinal = table.TempFinal;
    d.TempStep = table.TempStep;
    d.Tolerance = table.TempDiff;
    for (const TJournalSegment &segment : run.Segments)
        d.Starts.append(
            {segment.Start.Time, segment.Start.Frequencies, segment.Start.SkipPacketCount});
    d.Outages = run.Outages;
    return d;
}
