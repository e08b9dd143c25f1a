#include "app/application.h"
#include "app/headless_run.h"
#include "app/main_window.h"
#include "app/program_icon.h"
#include "serial/platform.h"
#include "settings/data_folder.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace {

// The only arguments the program answers, before the single-instance lock and without a
// display, so that a shell, a package check or a desktop's launcher can ask.
bool answerCommandLine(int argc, char **argv) {
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s %s\n", qPrintable(ProgramName()), TAMREL_VERSION);
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: UtilityForTamrel [--version | --help | --headless RUNFILE]\n"
                    "%s %s: a Tamrel immittance meter and a DS1820 thermometer\n"
                    "on two serial ports, measurement tables over temperature and frequency.\n"
                    "options.ini, the run journal and the ports folder are kept beside the\n"
                    "program when its folder is writable, otherwise in %s.\n"
                    "--headless runs the table of RUNFILE with no window (see README).\n",
                    qPrintable(ProgramName()), TAMREL_VERSION,
                    qPrintable(QDir::toNativeSeparators(ProgramUserConfigFolder())));
        return true;
    }
    return false;
}

// options.ini, the journal and the "ports" folder: beside the program when its folder may be
// written (a portable copy), otherwise in the user's configuration folder (an installed one).
TMainOptions dataFolderOptions() {
    const QString folder =
        ChooseDataFolder(QCoreApplication::applicationDirPath(), ProgramUserConfigFolder());
    if (!QDir().mkpath(folder))
        qWarning("cannot make the folder for the settings: %s", qPrintable(folder));
    const QDir dir(folder);
    TMainOptions options;
    options.settingsPath = dir.filePath(QStringLiteral("options.ini"));
    options.portsFolder = dir.filePath(QStringLiteral("ports"));
    options.journalPath = dir.filePath(QStringLiteral("runs.sqlite"));
    options.findInstrumentsAtFirstStart = true;
    return options;
}

} // namespace

// A run without a window: no display is needed. The run file is checked
// before anything else is done, so a bad one leaves no trace.
int runHeadless(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const RunFileOutcome outcome = readRunFile(QString::fromLocal8Bit(argv[2]));
    if (outcome.Problem != RunFileProblem::None) {
        std::fprintf(stderr, "%s\n", qPrintable(HeadlessRun::problemText(outcome)));
        return headlessexit::BadRunFile;
    }
    const platform::SingleInstance instance(QStringLiteral("tamrel"));
    if (instance.alreadyRunning()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate(
                         "HeadlessRun", "Программа уже запущена; второй запуск не начат.")));
        return headlessexit::OtherCopy;
    }
    catchTerminationSignals();
    const TMainOptions options = dataFolderOptions();
    HeadlessRun run(outcome.Run, options.portsFolder, options.journalPath);
    QObject::connect(&run, &HeadlessRun::finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    if (!run.start())
        return headlessexit::Failed;
    return app.exec();
}

// Exit code 0 for the window in every case, a refused second copy included.
int main(int argc, char **argv) {
    platform::readTheTimeZoneOnce();
    if (answerCommandLine(argc, argv))
        return 0;
    if (argc == 3 && std::strcmp(argv[1], "--headless") == 0)
        return runHeadless(argc, argv);

    const platform::SingleInstance instance(QStringLiteral("tamrel"));
    if (instance.alreadyRunning())
        return 0;

    platform::keepLargeBlocksOutOfTheHeap();
    Application app(argc, argv);
    TfrmMain frmMain(dataFolderOptions());
    frmMain.show();
    // Given once the window is up, which the first paint does not wait for: the window system
    // gets every size of the icon, and the windows shown later have it from the start.
    Application::setWindowIcon(programIcon());
    app.exec();
    return 0;
}
