#include "app/OlderProjectOpen.h"
#include "plc/OpenProjectReset.h"

#include <algorithm>
#include <memory>

#include "app/MainFrame.h"
#include "app/QuorvexView.h"
#include "app/VersionMismatchDlg.h"
#include "editor/BlockExView.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "projectfiles/OlderProjectFile.h"
#include "projectfiles/OlderProjectReader.h"
#include "projectfiles/ProjectFileWriter.h"

namespace {

ProjectOpenHooks OpenHooks(CMainFrame& frame) {
    ProjectOpenHooks hooks;
    hooks.askProduct = [&frame](std::string& product) {
        CVersionMismatchDlg dialog(&frame);
        if (dialog.DoModal() != ui::IDOK || g_szVersionProduct.empty()) return false;
        product = g_szVersionProduct;
        return true;
    };
    return hooks;
}

}  // namespace

void OpenOlderProjectFile(CMainFrame& frame, const std::string& path) {
    const ProjectHoldSettler settle;
    frame.m_bNewProduct = 0;
    switch (OpenOlderProject(path, OpenHooks(frame))) {
        case ProjectOpenResult::Opened:
            break;
        case ProjectOpenResult::ThreePort:
            CheckZavaProjectProduct(frame, path);
            return;
        case ProjectOpenResult::NewerEditor:
            frame.LoadProjectFile(path);
            return;
        default:
            return;
    }

    // The project level's panes, with the older block list showing the opened rows.
    ui::Splitter& sp = frame.GetSplitter();
    auto* view = static_cast<CBlockExView*>(sp.CreateView(0, 1, std::make_unique<CBlockExView>()));
    frame.SetActiveView(view);
    view->OnInitialUpdate();
    sp.CreateView(0, 0, std::make_unique<CQuorvexView>());
    sp.SetColumnInfo(0, 0, 0);
    const int width = frame.GetClientRect().Width() > 0 ? frame.GetClientRect().Width() : 1024;
    sp.SetColumnInfo(1, std::max(width / 6, 10), 10);
    sp.RecalcLayout();

    frame.SetFrameMenu(frame.ProjectMenu());
    if (frame.LevelToolBar()) frame.LevelToolBar()->ShowWindow(false);
    if (frame.ProjectToolBar()) frame.ProjectToolBar()->ShowWindow(true);
    frame.SetWindowText(ProjectFileTitle(path) + " - Quorvex - " + g_szProductNameCopy);
    frame.RecalcLayout();
}

void CheckZavaProjectProduct(CMainFrame& frame, const std::string& path) {
    const ProjectHoldSettler settle;
    bool showSheet = true;
    const bool opened = OpenThreePortProject(path, OpenHooks(frame), showSheet) == ProjectOpenResult::Opened;
    if (opened) frame.SetWindowText(ProjectFileTitle(path) + " - Quorvex - " + g_szProductNameCopy);
    if (!showSheet) return;
    // A refused file is not the project the sheet shows: its Save asks for a name.
    if (!opened) {
        g_ProjectSettings.g_strProjPath.clear();
        g_bBlockExUntitled = g_bUntitled = 1;
    }
    // Whatever happened to the file, the sheet then shows the model and closes the project.
    g_bBlockListEdited = 0;
    g_bProductSelected = g_bProductSelected2 = 1;
    g_szHelpTopic = "portmultiplexer.htm";
    if (frame.Services().communicationSettingSheet) frame.Services().communicationSettingSheet();
    frame.UpdateRecentProjects();
    frame.LoadComPortSetting();
    ResetOpenProject();
    g_bProjectOpen = 0;
    g_bNoBlockView = 1;
}
