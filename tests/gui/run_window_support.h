// A main window for the tests of the measurement run, its engine on a clock the
// test advances and the table laid out by the test: set points -50 .. 30 every
// degree with a tolerance of 0,3 (rows 1 .. 81) and the frequencies 100, 1000
// and 5000 Hz (columns 2 .. 4). Meter frames and thermometer lines go straight
// into the engine, encoded as the simulated instruments send them, on links
// the engine takes for open (again after a stop has closed them, as the
// automatic connection would).
#pragma once

#include "test_window.h"
#include "common/scripted_prompts.h"
#include "control/reading_capture.h"
#include "control/run_sequencer.h"
#include "engine/run_engine.h"
#include "meter/frame_scan.h"
#include "meter_model.h"
#include "thermo/temp_parse.h"
#include "thermo_line.h"
#include "ui/results_grid_view.h"

#include <QTableWidgetItem>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

class RunWindowTest : public ::testing::Test {
protected:
    static constexpr double kFirstSetPoint = -50;
    static constexpr int kSetPointCount = 81;
    static inline const std::vector<int> kFrequencies = {100, 1000, 5000};

    void SetUp() override { openWindow(); }
    // The test's settings file and prompts, with a comma for the decimals.
    TMainOptions windowOptions() {
        TMainOptions options;
        options.settingsPath = dir.filePath(QStringLiteral("options.ini"));
        options.decimalSeparator = QLatin1Char(',');
        options.prompts = &prompts;
        options.engineClock = &clock;
        return options;
    }
    // The window on those options, its table laid out.
    void openWindow() {
        window = std::make_unique<TestWindow>(windowOptions());
        stopTimers();
        openLinks();
        layOutTable();
    }
    void TearDown() override { stopTimers(); }

    void stopTimers() {
        for (QTimer *timer : window->findChildren<QTimer *>())
            timer->stop();
    }

    TAppState &state() { return window->state(); }
    RunEngine &engine() { return window->engine(); }
    ResultsGridView *grid() const { return window->ui().grdTable; }
    TReadingCapture &capture() { return *window->readingCapture(); }

    void layOutTable() {
        TTempStorage &temps = engine().temperatures();
        temps.Clear();
        temps.TempInit = kFirstSetPoint;
        temps.TempFinal = kFirstSetPoint + kSetPointCount - 1;
        temps.TempStep = 1;
        temps.TempDiff = 0.3;
        grid()->clearContents();
        grid()->setRowCount(kSetPointCount + 1);
        grid()->setColumnCount(int(kFrequencies.size()) + 2);
        for (int i = 0; i < kSetPointCount; ++i)
            temps.Add({kFirstSetPoint + i, i + 1, 0});

        QStringList frequencies;
        for (int i = 0; i < int(kFrequencies.size()); ++i) {
            setCell(0, i + 2, QString::number(kFrequencies[i]));
            frequencies << QString::number(kFrequencies[i]);
        }
        engine().takeFrequencies(frequencies);
    }

    static int rowOf(double setPoint) { return int(setPoint - kFirstSetPoint) + 1; }
    static int columnOf(int hz) {
        return int(std::find(kFrequencies.begin(), kFrequencies.end(), hz) - kFrequencies.begin()) +
               2;
    }

    QString cell(int row, int column) const {
        const QTableWidgetItem *item = grid()->item(row, column);
        return item ? item->text() : QString();
    }
    void setCell(int row, int column, const QString &text) {
        grid()->setItem(row, column, new QTableWidgetItem(text));
    }
    // (row, column) of every non-empty cell below the header row.
    std::vector<std::pair<int, int>> filledCells() const {
        std::vector<std::pair<int, int>> cells;
        for (int r = 1; r < grid()->rowCount(); ++r)
            for (int c = 1; c < grid()->columnCount(); ++c)
                if (!cell(r, c).isEmpty())
                    cells.emplace_back(r, c);
        return cells;
    }

    // The result cells among them (beyond the set point and actual temperature columns).
    std::vector<std::pair<int, int>> filledResultCells() const {
        std::vector<std::pair<int, int>> cells;
        for (const auto &cell : filledCells())
            if (cell.second >= 2)
                cells.push_back(cell);
        return cells;
    }

    // One display frame of the simulated meter standing at hz, measuring a
    // component at 20 degrees.
    void storeMeterFrame(int hz, int count = 1) {
        storeFrame(EncodeMeterFrame(MeterModel(hz).display(20.0)), count);
    }
    void openLinks() {
        engine().setLinkOpen(LinkKind::Meter, true);
        engine().setLinkOpen(LinkKind::Thermometer, true);
    }
    void storeFrame(const QByteArray &frame, int count = 1) {
        openLinks();
        // A record keeps the frame without its checksum byte.
        std::array<uint8_t, 60> raw{};
        std::copy(frame.begin(), frame.begin() + kFrameSize - 1, raw.begin());
        for (int i = 0; i < count; ++i)
            engine().meterFrame(raw);
    }
    void storeTemperature(double t) {
        openLinks();
        engine().thermometerLine(MakeThermometerLine(t).trimmed());
    }
    // A line whose temperature cannot be read: the temperature becomes unknown.
    void storeUnreadableLine() {
        openLinks();
        engine().thermometerLine(
            MakeThermometerLine(20, {}, ThermoLineFault::NonNumeric).trimmed());
    }
    TEventRec newestMeterRecord() const {
        TEventRec E;
        window->engine().store().GetLast(kMeterRecord, E);
        return E;
    }
    // The display refreshes show what came last: the meter's captures a
    // reading, the thermometer's an actual temperature.
    void refreshMeter() {
        clock.advance(engine().periods().DisplayRefreshMs);
        engine().advance();
    }

    ManualRunClock clock;
    QTemporaryDir dir;
    // Questions take their default answers unless a test scripts them.
    ScriptedPrompts prompts;
    std::unique_ptr<TestWindow> window;
};
