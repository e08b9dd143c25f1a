// The simulator's command line and the commands it takes while running.
#include "sim_actions.h"
#include "sim_meter.h"
#include "sim_options.h"
#include "sim_thermometer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

SimArgumentsOutcome parse(QStringList args, SimProgramOptions *o, QString *message) {
    args.prepend("tamrel-sim");
    return ParseSimArguments(args, "/opt/tamrel/ports", o, message);
}

} // namespace

TEST(SimArguments, DefaultsAndExplicitValues) {
    SimProgramOptions o;
    QString message;
    ASSERT_EQ(parse({}, &o, &message), SimArgumentsOutcome::Run) << qPrintable(message);
    EXPECT_EQ(o.meter.linkPath, "/opt/tamrel/ports/COM3");
    EXPECT_EQ(o.thermometer.linkPath, "/opt/tamrel/ports/COM4");
    EXPECT_EQ(o.meter.frameMs, 400);
    EXPECT_EQ(o.thermometer.lineMs, 1000);
    EXPECT_DOUBLE_EQ(o.thermometer.programme.at(3600000), 20);

    ASSERT_EQ(parse({"--ports-dir", "/tmp/p", "--meter-port", "7", "--thermo-port", "8", "--ramp",
                     "20:80:2", "--ramp-back", "--freq", "5000", "--fault",
                     "meter:silent:60000:5000", "--fault", "thermo:badsum:7000"},
                    &o, &message),
              SimArgumentsOutcome::Run)
        << qPrintable(message);
    EXPECT_EQ(o.meter.linkPath, "/tmp/p/COM7");
    EXPECT_EQ(o.thermometer.linkPath, "/tmp/p/COM8");
    EXPECT_EQ(o.meter.frequencyHz, 5000);
    EXPECT_DOUBLE_EQ(o.thermometer.programme.at(45 * 60000), 50);
    ASSERT_EQ(o.faults.size(), 2);
    EXPECT_EQ(o.faults[0].everyMs, 60000);
    EXPECT_EQ(o.faults[0].action.kind, SimAction::Kind::Silent);
    EXPECT_EQ(o.faults[0].action.amount, 5000);
    EXPECT_EQ(o.faults[1].action.device, SimAction::Device::Thermometer);

    EXPECT_FALSE(o.meter.dielectric);
    ASSERT_EQ(parse({"--dielectric", "--eps-inf", "2.5", "--delta-eps", "0", "--tau0", "1e-14",
                     "--activation", "0.8", "--sigma-dc", "0", "--empty-cell", "4.7"},
                    &o, &message),
              SimArgumentsOutcome::Run)
        << qPrintable(message);
    ASSERT_TRUE(o.meter.dielectric);
    EXPECT_EQ(o.meter.dielectric->epsInfinity, 2.5);
    EXPECT_EQ(o.meter.dielectric->deltaEps, 0);
    EXPECT_EQ(o.meter.dielectric->tau0Seconds, 1e-14);
    EXPECT_EQ(o.meter.dielectric->activationEv, 0.8);
    EXPECT_EQ(o.meter.dielectric->sigmaDcSPerM, 0);
    EXPECT_EQ(o.meter.dielectric->emptyCellPf, 4.7);
    ASSERT_EQ(parse({"--dielectric"}, &o, &message), SimArgumentsOutcome::Run);
    EXPECT_EQ(o.meter.dielectric->tau0Seconds, RelaxingDielectric().tau0Seconds);

    EXPECT_EQ(parse({"--help"}, &o, &message), SimArgumentsOutcome::Help);
    EXPECT_TRUE(message.contains("--activation"));
    EXPECT_TRUE(message.contains("--ramp-back"));
    EXPECT_TRUE(message.contains("thermo lowercase"));
}

TEST(SimArguments, RejectsWhatCannotRun) {
    const QStringList bad[] = {
        {"--meter-port", "4"}, // same as the thermometer
        {"--freq", "1500"},    // not on the meter's grid
        {"--freq", "2000000"}, // above the range
        {"--frame-ms", "0"},   // no period
        {"--ramp-back"},       // nothing to go back along
        {"--hold", "20", "--ramp", "20:80:2"},
        {"--fault", "meter:freq:1000:5000"}, // a change, not a fault
        {"--fault", "meter:silent:0:100"},
        {"--sensor-id", "1,2"},
        {"--noise", "-1"},
        {"--tau0", "1e-14"}, // no sample to give it to
        {"--dielectric", "--tau0", "0"},
        {"--dielectric", "--empty-cell", "-10"},
        {"--dielectric", "--delta-eps", "inf"},
        {"--dielectric", "--activation", "nan"},
        {"--dielectric", "--sigma-dc", "x"},
        {"stray"},
    };
    for (const QStringList &args : bad) {
        SimProgramOptions o;
        QString message;
        EXPECT_EQ(parse(args, &o, &message), SimArgumentsOutcome::Error)
            << qPrintable(args.join(' '));
        EXPECT_FALSE(message.isEmpty()) << qPrintable(args.join(' '));
    }
}

TEST(SimCommands, ChangeTheRunningInstruments) {
    QTemporaryDir dir;
    SimMeterOptions mo;
    mo.linkPath = dir.filePath("COM3");
    SimMeter meter(mo);
    SimThermometerOptions to;
    to.linkPath = dir.filePath("COM4");
    SimThermometer thermo(to);

    EXPECT_TRUE(
        RunSimCommand("meter freq 5000", &meter, &thermo).startsWith("error")); // not started
    ASSERT_TRUE(meter.start());
    ASSERT_TRUE(thermo.start());

    EXPECT_EQ(RunSimCommand("meter freq 5000", &meter, &thermo), "ok");
    EXPECT_EQ(meter.frequency(), 5000);
    EXPECT_EQ(RunSimCommand("  meter   silent 60000 ", &meter, &thermo), "ok");
    EXPECT_TRUE(meter.isSilent());
    EXPECT_FALSE(thermo.isSilent());
    EXPECT_EQ(RunSimCommand("thermo hold -30.5", &meter, &thermo), "ok");
    EXPECT_DOUBLE_EQ(thermo.trueTemperature(), -30.5);
    EXPECT_TRUE(RunSimCommand("status", &meter, &thermo).contains("5000 Hz"));

    const QString reopened = RunSimCommand("thermo reopen", &meter, &thermo);
    EXPECT_TRUE(reopened.startsWith("ok")) << qPrintable(reopened);
    EXPECT_TRUE(reopened.contains(thermo.slavePath()));

    for (const char *bad : {"meter lowercase", "thermo freq 1000", "meter freq 1500",
                            "meter silent", "thermo ramp 1:2", "oven on"})
        EXPECT_TRUE(RunSimCommand(bad, &meter, &thermo).startsWith("error")) << bad;
}
