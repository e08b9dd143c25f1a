#include "control/reading_capture.h"

#include "base/event_rec.h"
#include "base/number_format.h"
#include "control/freq_stepper.h"
#include "engine/results_table.h"
#include "files/measurement_file.h"
#include "model/app_state.h"
#include "run/results_layout.h"
#include "ui/results_grid_view.h"

#include <QTableWidget>

#include <cmath>

TReadingCapture::TReadingCapture(TAppState &state, QTableWidget *grdTable, TFreqStepper &stepper,
                                 QObject *parent)
    : QObject(parent), m_state(state), m_grid(grdTable), m_stepper(stepper) {}

void TReadingCapture::CaptureReading(const TEventRec &E) {
    // A frame stored while the temperature was unknown cannot be placed in a
    // row; moving on would skip its frequency for this sweep, so the run
    // waits for a frame with a known temperature as it waits for one in range.
    const bool settled = E.SinceKey >= m_state.SkipPacketCount;
    if (!settled || !m_state.TempStorage.InRange(m_state.EventStore.LastTemperature()) ||
        std::isnan(E.Temperature))
        return;

    // The column is that of the frequency the frame itself reports. Its stamp
    // (E.Frequency, the frame before it) still names the frequency the meter
    // just left when the first frame after a key already counts.
    const int32_t measuredAt = E.IM.FreqHz;
    // The refresh may show a frame again before the next one arrives (a meter
    // slower than its period): the frame has been recorded already.
    const bool recorded = m_lastRecorded && *m_lastRecorded == E.Index;
    if (!recorded && m_state.RunActive == 1 && m_state.TempStorage.InRange(E.Temperature) &&
        m_state.FreqStorage.Contains(measuredAt)) {
        const TFreqItem fi = m_state.FreqStorage.FindFreq(measuredAt);
        const TTempItem ti = m_state.TempStorage.FindTemp(E.Temperature);
        if (ti.Index != -1) {
            const QString text = resultsCellText(E.IM);
            setCellText(m_grid, ti.Row, fi.Col, text);
            // A position outside the CSV table only loses the file copy; the
            // grid cell is already written.
            StoreReading(m_state.CSVTable, E.IM, fi.Index, ti.Index);
            m_lastRecorded = E.Index;
            emit readingRecorded(journalReadingOf(E, ti, fi, text));
        }
    }

    m_state.NextFrequency = m_state.FreqStorage.NextFreq(E.Frequency);
    if (m_state.NextFrequency > 1 && m_state.Step.StepTarget == 0)
        m_stepper.BeginFreqChange(m_state.NextFrequency);
}

void TReadingCapture::CaptureActualTemperature(double t) {
    if (!m_state.TempStorage.InRange(t))
        return;
    const TTempItem S = m_state.TempStorage.FindTemp(t);
    if (S.Index == -1)
        return;
    TJournalActualTemperature actual;
    actual.Row = S.Row;
    actual.Time = QDateTime::currentDateTime();
    actual.SetPoint = S.SetPoint;
    actual.Temperature = t;
    actual.Text = numfmt::general(t, m_state.DecimalSeparator);
    setCellText(m_grid, S.Row, resultslayout::kActualTemperatureColumn, actual.Text);
    emit actualTemperatureRecorded(actual);
}
