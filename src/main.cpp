// Quorvex Setup Software: the program.
//
// With Qt it starts the application: the command-line switches, the settings, the
// current product, then the main window, which shows the splash screen and the product
// level. QUORVEX_SCREENSHOT_DIR makes it save a PNG of every window into that folder
// and close each by itself; the main window is saved at the product level and closed.
// Without Qt it checks the program tree it was given.
#ifdef QUORVEX_HAVE_QT
#include <QApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include <QEventLoop>
#include <QTimer>

#include "app/MainFrame.h"
#include "app/QuorvexApp.h"
#include "model/RunTimeState.h"
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
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    std::string shots;
    if (const char* dir = std::getenv("QUORVEX_SCREENSHOT_DIR"); dir && *dir) {
        shots = dir;
        backend.SetScreenshotFolder(shots);
        backend.SetAutoClose(true);
    }

    if (!theApp.InitInstance(args)) {
        ui::SetBackend(nullptr);
        return theApp.ExitInstance();
    }
    {
        CMainFrame frame;
        frame.SetApplication(&theApp);
        if (frame.LoadFrame()) {
            if (!shots.empty()) {
                // Once the product level stands, save the window and close it.
                auto* poll = new QTimer(&app);
                QObject::connect(poll, &QTimer::timeout, [&] {
                    if (g_nStartScreen == 1 && frame.IsLive()) {
                        backend.GrabFrame(frame, shots + "/frame-product-level.png");
                        frame.DestroyWindow();
                    }
                });
                poll->start(200);
                QTimer::singleShot(20000, [&] { frame.DestroyWindow(); });
            }
            while (frame.IsLive()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
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
