// A whole measurement on the simulated bench: the thermometer ramps through
// two set points while the run steps the meter through three frequencies;
// the run is stopped and saved, and every cell of the file is traced back to
// a reading the meter sent at that frequency while the temperature lay in the
// band of that row. It runs with one settling frame (the first frame after a
// key already counts, so its own frequency must choose the column), three and
// the default seven.
#include "instruments_support.h"

#include "test_window.h"
#include "base/cp1251.h"
#include "base/number_format.h"
#include "control/save_command.h"
#include "engine/run_engine.h"
#include "meter/frame_scan.h"
#include "meter/meter_decode.h"
#include "sim_meter.h"
#include "sim_thermometer.h"
#include "ui/meter_display_view.h"
#include "ui/results_grid_view.h"
#include "ui/thermo_display_view.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTableWidgetItem>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace {

const QChar kComma = QLatin1Char(',');
const QList<int> kFrequencies = {100, 1000, 5000};
const QStringList kSetPoints = {"20", "21", "22"};
constexpr double kTolerance = 0.4;
// The row is chosen from the thermometer's latest line, which lags the true
// temperature by up to one line period of the ramp (100 ms at 0.25 degrees per
// second) and is rounded to two decimals.
constexpr double kLineLag = 0.04;

struct SentReading {
    double trueTemperature;
    QString mainBase;
    QString secBase;
};

class RunEndToEndTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        bench.writeSettings();
        window = std::make_unique<TestWindow>(bench.windowOptions());
        QObject::connect(&bench.meter(), &SimMeter::frameSent, window.get(),
                         [this](const QByteArray &frame) { recordFrame(frame); });
    }
    void TearDown() override {
        for (QTimer *timer : window->findChildren<QTimer *>())
            timer->stop();
    }

    TAppState &state() { return window->state(); }
    RunEngine &engine() { return window->engine(); }
    const MainWindowUi &ui() const { return window->ui(); }
    const MainActions &actions() const { return window->actions(); }

    void recordFrame(const QByteArray &frame) {
        std::array<uint8_t, 60> raw{};
        std::copy(frame.begin(), frame.begin() + kFrameSize - 1, raw.begin());
        const TIMPacket im = DecodeMeterPacket(raw, kComma);
        sent[im.FreqHz].push_back({bench.thermometer().trueTemperature(), im.MainBase, im.SecBase});
    }

    void prepareTable() {
        ui().leTempInit->setText(QStringLiteral("20"));
        ui().leTempFinal->setText(QStringLiteral("22"));
        ui().leTempStep->setText(QStringLiteral("1"));
        ui().leTempDiff->setText(QStringLiteral("0,4"));
        ui().leFreqColCount->setText(QString::number(kFrequencies.size()));
        actions().actApplySettiingsTempAndGrid->trigger();
        for (int i = 0; i < kFrequencies.size(); ++i)
            ui().grdTable->setItem(0, i + 2,
                                   new QTableWidgetItem(QString::number(kFrequencies[i])));
    }

    QString cell(int row, int column) const {
        const QTableWidgetItem *item = ui().grdTable->item(row, column);
        return item ? item->text() : QString();
    }
    int completeRows() const {
        int rows = 0;
        for (int r = 1; r < ui().grdTable->rowCount(); ++r) {
            bool complete = true;
            for (int c = 2; c < 2 + kFrequencies.size(); ++c)
                complete = complete && !cell(r, c).isEmpty();
            rows += complete;
        }
        return rows;
    }

    // Whether the meter sent `value` (MainBase or SecBase) at hz while the
    // true temperature lay in the band of setPoint.
    bool wasSent(int hz, double setPoint, const QString &value, bool secondary) const {
        const auto readings = sent.find(hz);
        if (readings == sent.end())
            return false;
        for (const SentReading &r : readings->second)
            if (std::abs(r.trueTemperature - setPoint) < kTolerance + kLineLag &&
                (secondary ? r.secBase : r.mainBase) == value)
                return true;
        return false;
    }

    SimulatedBench bench;
    std::unique_ptr<TestWindow> window;
    std::map<int, std::vector<SentReading>> sent;
};

TEST_P(RunEndToEndTest, RampThroughTwoSetPointsAtThreeFrequenciesIsSavedAsMeasured) {
    prepareTable();
    ui().lblSkipIM->setText(QString::number(GetParam()));
    const QColor linkOk(77, 213, 11);
    ASSERT_TRUE(waitUntil([&] {
        return engine().portsOpen() && ui().meterDisplay->panelColor() == linkOk &&
               ui().thermoDisplay->panelColor() == linkOk && actions().actStart->isEnabled();
    }));

    // Seven settling frames per frequency need a slower ramp to fill a row
    // while the temperature crosses its band.
    const double degreesPerMinute = GetParam() > 3 ? 7.5 : 15.0;
    bench.thermometer().setProgramme(TemperatureProgramme::ramp(19.7, 23.0, degreesPerMinute));
    actions().actStart->trigger();
    ASSERT_TRUE(engine().isRunning());
    ASSERT_TRUE(waitUntil([&] { return completeRows() >= 2; }, 40000));
    actions().actStop->trigger();

    // Actual temperatures: the thermometer's reading, in the band of its row.
    for (int r = 1; r <= kSetPoints.size(); ++r) {
        if (cell(r, 2).isEmpty() && cell(r, 3).isEmpty() && cell(r, 4).isEmpty())
            continue;
        SCOPED_TRACE(r);
        double actual = 0;
        ASSERT_TRUE(numfmt::parseFloat(cell(r, 1), kComma, &actual)) << cell(r, 1).toStdString();
        EXPECT_LT(std::abs(actual - kSetPoints[r - 1].toDouble()), kTolerance);
    }

    const QString path = bench.folder() + QStringLiteral("/run.csv");
    bench.prompts().saveAs = path;
    actions().actFileSaveTo->trigger();
    const QStringList errors = bench.prompts().notices();
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.endsWith(";\r\n"));
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the last line end
    for (const QByteArray &line : lines)
        ASSERT_TRUE(line.endsWith(";\r")) << line.toStdString();

    TEventRec latest;
    engine().store().GetLast(kMeterRecord, latest);
    const QByteArray header =
        cp1251::encode(QStringLiteral("Limit = %1;Offset = %2;Level = %3;\r")
                           .arg(latest.IM.LimitText, latest.IM.OffsetText, latest.IM.LevelText));
    const int blockLines = 3 + kSetPoints.size();
    ASSERT_EQ(lines.size(), 2 * blockLines);
    const QStringList blocks = {QStringLiteral("Cp"), QStringLiteral("Cp/D")};
    int filled = 0;
    for (int b = 0; b < blocks.size(); ++b) {
        SCOPED_TRACE(blocks[b].toStdString());
        const QList<QByteArray> block = lines.mid(b * blockLines, blockLines);
        EXPECT_EQ(block[0], cp1251::encode(blocks[b] + QStringLiteral(";\r")));
        EXPECT_EQ(block[1], header);
        EXPECT_EQ(block[2], QByteArray("t;100;1000;5000;\r"));
        for (int r = 0; r < kSetPoints.size(); ++r) {
            const QStringList fields = cp1251::decode(block[3 + r]).split(QLatin1Char(';'));
            ASSERT_EQ(fields.size(), 2 + kFrequencies.size()); // title, cells, line end
            EXPECT_EQ(fields[0], kSetPoints[r]);
            for (int c = 0; c < kFrequencies.size(); ++c) {
                const QString &value = fields[1 + c];
                if (value.isEmpty())
                    continue;
                ++filled;
                EXPECT_TRUE(wasSent(kFrequencies[c], kSetPoints[r].toDouble(), value, b == 1))
                    << "row " << kSetPoints[r].toStdString() << ", " << kFrequencies[c]
                    << " Hz: " << value.toStdString();
            }
        }
    }
    EXPECT_GE(filled, 2 * 2 * kFrequencies.size());
}

INSTANTIATE_TEST_SUITE_P(SettlingFrames, RunEndToEndTest, ::testing::Values(1, 3, 7));

} // namespace
