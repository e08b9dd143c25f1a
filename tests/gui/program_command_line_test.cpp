// The program's only arguments: --version and --help answer before the single-instance lock
// and without a display, so that a shell or a package check can ask while a copy runs.
#include "serial/platform.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

TEST(ProgramCommandLine, VersionAndHelpAnswerWithoutADisplayWhileACopyRuns) {
    const platform::SingleInstance runningCopy(QStringLiteral("tamrel"));
    const struct {
        const char *argument;
        const char *answer;
    } cases[] = {
        {"--version", R"(^Utility for Tamrel \d+(\.\d+)+\n$)"},
        {"--help",
         R"(^Usage: UtilityForTamrel \[--version \| --help \| --headless RUNFILE\]\n(.+\n)+$)"},
    };
    for (const auto &c : cases) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        // A window would need this platform, which does not exist.
        env.insert("QT_QPA_PLATFORM", "no-such-platform");
        program.setProcessEnvironment(env);
        program.start(TAMREL_PROGRAM_PATH, {c.argument});
        ASSERT_TRUE(program.waitForFinished(10000)) << c.argument;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.argument;
        EXPECT_EQ(program.exitCode(), 0) << c.argument;
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_TRUE(QRegularExpression(c.answer).match(out).hasMatch())
            << c.argument << ": " << out.toStdString();
        EXPECT_EQ(program.readAllStandardError(), "") << c.argument;
    }
}

} // namespace
