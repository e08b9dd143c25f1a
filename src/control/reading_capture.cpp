#include "control/reading_capture.h"

#include "engine/run_engine.h"
#include "run/results_layout.h"
#include "ui/results_grid_view.h"

#include <QTableWidget>

TReadingCapture::TReadingCapture(RunEngine &engine, QTableWidget *grdTable, QObject *parent)
    : QObject(parent), m_grid(grdTable) {
    connect(&engine, &RunEngine::readingRecorded, this, &TReadingCapture::showReading);
    connect(&engine, &RunEngine::actualTemperatureRecorded, this,
            &TReadingCapture::showActualTemperature);
}

void TReadingCapture::showReading(const TJournalReading &reading) {
    setCellText(m_grid, reading.Row, reading.Col, reading.CellText);
    emit readingRecorded(reading);
}

void TReadingCapture::showActualTemperature(const TJournalActualTemperature &actual) {
    setCellText(m_grid, actual.Row, resultslayout::kActualTemperatureColumn, actual.Text);
    emit actualTemperatureRecorded(actual);
}
