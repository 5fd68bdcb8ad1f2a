#include "app/OlderScreens.h"

#include "app/DownloadDlg.h"
#include "app/MainFrame.h"
#include "app/OlderProjectOpen.h"
#include "projectfiles/OlderProjectFile.h"
#include "editor/BlockExView.h"
#include "compiler/ProjectImage.h"
#include "editor/NewBlockExView.h"
#include "ui/Backend.h"
#include "settings/PLCSheet.h"

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
    // Upload Project of the older products: the older transfer dialog in its upload layout;
    // a project taken from the unit becomes the open, untitled project.
    auto newerUpload = frame.uploadProject;
    frame.uploadProject = [newerUpload](bool isNewer) {
        if (isNewer) {
            if (newerUpload) newerUpload(true);
            return;
        }
        CDownloadDlg dialog;
        dialog.m_bUpload = 1;
        dialog.m_nOpenedFrom = 2;
        WireDownloadDialog(dialog);
        if (CMainFrame* main = CMainFrame::Get())
            main->RunProjectUpload([&dialog] { return dialog.DoModal(); });
        else
            dialog.DoModal();
    };
    // The Communication button of the three-port product's sheet: the dialog in its
    // download layout; its project is the setup record of the sheet's settings.
    g_PlcSheetServices.communication = [] {
        g_nDownloadDlgMode = 1;  // its help is the download's
        CDownloadDlg dialog;
        WireDownloadDialog(dialog);
        dialog.DoModal();
    };
}

void WireDownloadDialog(CDownloadDlg& dialog) {
    // The block list the dialog compiles: the older list of the project level, or for the
    // three-port product (which has none) a list without rows.
    auto view = [] {
        CMainFrame* main = CMainFrame::Get();
        return main ? dynamic_cast<CBlockExView*>(main->GetSplitter().GetPane(0, 1)) : nullptr;
    };
    dialog.m_findFailingBlock = [view] {
        CBlockExView* list = view();
        return list ? list->FindFailingBlock() : -1;
    };
    dialog.m_compileProject = [view](std::string& image) {
        if (CBlockExView* list = view()) return list->CompileProject(&image);
        if (WriteOlderProjectImage({}, &image)) return 0;
        ui::MessageBox("Unable to create intermediate file.", "Quorvex", ui::MB_OK);
        return -1;
    };
    dialog.m_restoreMenu = [] {
        if (CMainFrame* main = CMainFrame::Get()) main->RestoreMenuAfterTransfer();
    };
    dialog.m_onOlderUploaded = [view](const OlderUploadedProject&) {
        CBlockExView* list = view();
        if (!list) return;
        // The rows as the model took them over, numbered as an opened file's are.
        const OlderBlockRows rows = g_OlderBlockListRows;
        list->SetBlockRows(rows);
    };
    dialog.m_setMainTitle = [](const std::string& title) {
        if (CMainFrame* main = CMainFrame::Get()) main->SetWindowText(title);
    };
    dialog.m_runCommunicationSheet = [] {
        CMainFrame* main = CMainFrame::Get();
        if (main && main->Services().communicationSettingSheet) main->Services().communicationSettingSheet();
    };
}
