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
    const CaptureDecision decision = m_rule.take(
        E, {m_state.TempStorage, m_state.FreqStorage, m_state.EventStore.LastTemperature(),
            m_state.SkipPacketCount, m_state.RunActive == 1});
    if (!decision.Taken)
        return;
    if (decision.Place) {
        const TTempItem &ti = decision.Place->Temp;
        const TFreqItem &fi = decision.Place->Freq;
        const QString text = resultsCellText(E.IM);
        setCellText(m_grid, ti.Row, fi.Col, text);
        // A position outside the CSV table only loses the file copy; the
        // grid cell is already written.
        StoreReading(m_state.CSVTable, E.IM, fi.Index, ti.Index);
        emit readingRecorded(journalReadingOf(E, ti, fi, text));
    }
    m_state.NextFrequency = decision.NextFrequency;
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
