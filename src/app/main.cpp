#include "app/application.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "ui/about_box.h"

// Exit code 0 in every case, a refused second copy included.
int main(int argc, char **argv) {
    const SingleInstance instance(QStringLiteral("tamrel"));
    if (instance.alreadyRunning())
        return 0;

    Application app(argc, argv);
    TfrmMain frmMain;
    TAboutBox aboutBox(&frmMain);
    frmMain.setAboutBox(&aboutBox);
    frmMain.show();
    app.exec();
    return 0;
}
