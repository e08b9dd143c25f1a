#include "engine/run_file.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kGood = "# a run\n"
                         "from = -5,5\n"
                         "to = 30   # degrees\n"
                         "step = 2.5\n"
                         "tolerance = 0.3\n"
                         "frequencies = 100  1000 5000\n"
                         "skip = 7\n"
                         "meter = COM3\n"
                         "thermometer = 12\n"
                         "thermometer_baud = 19200\n"
                         "output = out/run.tamrel\n";

} // namespace

TEST(RunFile, ReadsTheTableThePortsAndPathsFromTheRunFilesFolder) {
    const QString folder = QDir::tempPath();
    QDir(folder).mkpath(QStringLiteral("out"));
    const RunFileOutcome outcome = parseRunFile(kGood, folder);
    ASSERT_EQ(outcome.Problem, RunFileProblem::None) << outcome.Line;
    const RunFile &run = outcome.Run;
    EXPECT_DOUBLE_EQ(run.Parameters.TempInit, -5.5);
    EXPECT_DOUBLE_EQ(run.Parameters.TempFinal, 30);
    EXPECT_DOUBLE_EQ(run.Parameters.TempStep, 2.5);
    EXPECT_DOUBLE_EQ(run.Parameters.TempDiff, 0.3);
    EXPECT_EQ(run.Parameters.Frequencies, (QVector<int32_t>{100, 1000, 5000}));
    EXPECT_EQ(run.Parameters.SkipCount, 7);
    EXPECT_EQ(run.MeterPort, 3);
    EXPECT_EQ(run.ThermometerPort, 12);
    EXPECT_EQ(run.MeterBaud, 9600);
    EXPECT_EQ(run.ThermometerBaud, 19200);
    EXPECT_EQ(run.Output, QDir(folder).filePath(QStringLiteral("out/run.tamrel")));
    EXPECT_TRUE(run.PortsFolder.isEmpty());
    EXPECT_TRUE(run.Journal.isEmpty());
}

TEST(RunFile, RefusesWithTheProblemItsLineAndKey) {
    const struct {
        QByteArray from; // a line of the good file
        QByteArray to;   // and what replaces it
        RunFileProblem problem;
        int line;
        const char *key;
    } cases[] = {
        {"skip = 7", "skip 7", RunFileProblem::NotKeyValue, 7, ""},
        {"skip = 7", "skips = 7", RunFileProblem::UnknownKey, 7, "skips"},
        {"skip = 7", "meter = COM5", RunFileProblem::RepeatedKey, 8, "meter"},
        {"skip = 7\n", "", RunFileProblem::MissingKey, 0, "skip"},
        {"skip = 7", "skip = 256", RunFileProblem::BadSkipCount, 7, "skip"},
        {"skip = 7", "skip = seven", RunFileProblem::BadSkipCount, 7, "skip"},
        {"step = 2.5", "step = 2,5,0", RunFileProblem::BadNumber, 4, "step"},
        {"step = 2.5", "step = inf", RunFileProblem::BadNumber, 4, "step"},
        {"step = 2.5", "step = 0", RunFileProblem::BadTable, 4, "step"},
        {"100  1000", "1000  100", RunFileProblem::BadFrequencies, 6, "frequencies"},
        {"frequencies = 100  1000 5000", "frequencies =", RunFileProblem::BadFrequencies, 6,
         "frequencies"},
        {"meter = COM3", "meter = LPT1", RunFileProblem::BadPort, 8, "meter"},
        {"meter = COM3", "meter = COM", RunFileProblem::BadPort, 8, "meter"},
        {"thermometer_baud = 19200", "thermometer_baud = fast", RunFileProblem::BadBaud, 10,
         "thermometer_baud"},
        {"out/run.tamrel", "no/such/folder/run.tamrel", RunFileProblem::BadOutput, 11, "output"},
        {"out/run.tamrel", "out/", RunFileProblem::BadOutput, 11, "output"},
    };
    const QString folder = QDir::tempPath();
    QDir(folder).mkpath(QStringLiteral("out"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.to.toStdString());
        QByteArray text = kGood;
        ASSERT_TRUE(text.contains(c.from));
        text.replace(c.from, c.to);
        const RunFileOutcome outcome = parseRunFile(text, folder);
        EXPECT_EQ(outcome.Problem, c.problem);
        EXPECT_EQ(outcome.Line, c.line);
        EXPECT_EQ(outcome.Key, QString::fromLatin1(c.key));
    }
}
