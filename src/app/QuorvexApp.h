#pragma once
// The application object: start-up (command line, settings, the current product) and
// shutdown. One instance, theApp.
#include <functional>
#include <string>
#include <vector>

#include "ui/AppProfile.h"
#include "ui/Window.h"

class CQuorvexApp : public ui::CmdTarget {
public:
    const ui::HandlerTable* GetHandlerTable() const override;

    // True: run the window loop; false: end the program with ExitInstance()'s code.
    bool InitInstance(const std::vector<std::string>& args);
    // True when the program goes on; false after a server switch or a failure.
    bool InitATL(const std::vector<std::string>& args);
    int ExitInstance();
    void OnAppAbout();

    int m_bATLInited = 0;   // 1 while the server part is up
    int m_nExitCode = 0;    // the program's exit code when it ends
    ui::AppProfile m_profile;

    // Makes the main window (document, frame, views); false when that fails.
    std::function<bool()> m_pfnCreateMainWindow;

    // What the command line asked for.
    struct CommandLine {
        bool embedded = false;     // "Embedding"
        bool automated = false;    // "Automation"
        bool regServer = false;    // "RegServer"
        bool unregServer = false;  // "UnregServer"
    };
    static CommandLine ParseCommandLine(const std::vector<std::string>& args);
};

extern CQuorvexApp theApp;

// The product folder of a project path: the folder in front of its "Projects" folder
// (separators '\' or '/', the last such folder, names compared without regard to
// case); empty when the path has none.
std::string ProductFromProjectPath(const std::string& path);

// The current product at start-up: the product of the most recent project when its
// folder exists, else the first listed product whose folder exists, else empty.
std::string FindStartProduct();
