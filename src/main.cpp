// Quorvex Setup Software: the program.
//
// With Qt it starts the application: the command-line switches, the settings, the
// current product, then the splash screen; until the main window is built it shows
// the About box through the application's command and ends. QUORVEX_SCREENSHOT_DIR
// makes it save a PNG of every window into that folder and close each by itself.
// Without Qt it checks the program tree it was given.
#ifdef QUORVEX_HAVE_QT
#include <QApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/QuorvexApp.h"
#include "app/SplashDlg.h"
#include "qt/QtBackend.h"
#include "res/ShellResource.h"
#include "ui/Backend.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // The switches that end the program at once need no display.
    const CQuorvexApp::CommandLine cl = CQuorvexApp::ParseCommandLine(args);
    if (cl.embedded || cl.automated || cl.regServer || cl.unregServer) {
        theApp.InitInstance(args);
        return theApp.ExitInstance();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvex"));
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    if (const char* shots = std::getenv("QUORVEX_SCREENSHOT_DIR"); shots && *shots) {
        backend.SetScreenshotFolder(shots);
        backend.SetAutoClose(true);
    }

    if (!theApp.InitInstance(args)) {
        ui::SetBackend(nullptr);
        return theApp.ExitInstance();
    }
    {
        CSplashDlg splash;
        splash.DoModal();
    }
    theApp.OnCommand(ID_APP_ABOUT);
    const int code = theApp.ExitInstance();
    ui::SetBackend(nullptr);
    return code;
}
#else
#include "app/TreeCheck.h"

int main(int argc, char** argv) {
    return RunTreeCheck(argc, argv);
}
#endif
