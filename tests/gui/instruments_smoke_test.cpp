#include "instruments_support.h"

#include "sim_meter.h"
#include "sim_thermometer.h"

#include <QFileInfo>

#include <gtest/gtest.h>

// The bench itself: both instruments are reachable under their COM links.
TEST(SimulatedBench, InstrumentsStartUnderTheirPortLinks) {
    SimulatedBench bench;
    EXPECT_TRUE(bench.meter().isRunning());
    EXPECT_TRUE(bench.thermometer().isRunning());
    EXPECT_TRUE(QFileInfo(bench.folder() + QStringLiteral("/ports/COM3")).isSymLink());
    EXPECT_TRUE(waitUntil([&] { return bench.meter().framesSent() >= 2; }));
}
