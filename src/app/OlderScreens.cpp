#include "app/OlderScreens.h"

#include "app/MainFrame.h"
#include "app/OlderProjectOpen.h"
#include "projectfiles/OlderProjectFile.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"

void WireOlderScreens(FrameServices& frame, NewBlockExServices& editor) {
    (void)editor;  // the older list uses the editor hand-overs the newer one has
    frame.loadOlderProject = [](const std::string& path) {
        if (CMainFrame* main = CMainFrame::Get()) OpenOlderProjectFile(*main, path);
    };
    frame.checkProjectProduct = [](const std::string& path) {
        if (CMainFrame* main = CMainFrame::Get()) CheckZavaProjectProduct(*main, path);
    };
    // The older case of the save on closing: the rows of the older list.
    auto newer = frame.saveProject;
    frame.saveProject = [newer](bool isNewer, const std::string& path) {
        if (isNewer) return newer ? newer(true, path) : false;
        CMainFrame* main = CMainFrame::Get();
        auto* view = main ? dynamic_cast<CBlockExView*>(main->GetSplitter().GetPane(0, 1)) : nullptr;
        if (!view) return false;
        return view->SaveProjectFile(path) == 0;
    };
}
