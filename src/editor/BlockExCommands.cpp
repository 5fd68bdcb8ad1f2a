// The older block list's commands: Save, Save As and Close with the project file, the
// port settings and project information hand-overs, and the block operations Add New
// Block, Insert Block, Remove Block, Copy Block and Paste Block with the context menu.
#include <algorithm>

#include "app/DownloadDlg.h"
#include "app/MainFrame.h"
#include "app/OlderProjectFile.h"
#include "app/ProjectInfoDlg.h"
#include "app/ProjectSettings.h"
#include "app/RunTimeState.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "plc/DefinitionFiles.h"
#include "compiler/ProjectImage.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "res/FrameResource.h"
#include "res/StringTable.h"
#include "ui/Backend.h"

namespace {

const char kCompileErrorText[] =
    "Error found while compiling block number %d. Please correct the error. See the details on the error in the "
    "status message window.";
const char kInsertCompileErrorText[] =
    "Error found while compiling block number %d. Please correct the error. See the details on the error in the "
    "error message window.";
const char kRangeText[] = "Block out of range.\nValid Range : 0 to 255";
const char kSelectionText[] = "Please select row and then click in the first column before any block operation.";
const char kSaveFilter[] = "Project Files (*.prj)|*.prj|Data Files (*.dat;*.txt)|*.dat; *.txt|All Files (*.*)|*.*||";

int Box(const std::string& text, unsigned flags = ui::MB_OK) { return ui::MessageBox(text, "Quorvex", flags); }

// The save dialog of Save, Save As and Close: the product's Projects folder.
std::string AskSavePath(const std::string& fileName) {
    ui::FileDialog dialog(false, "prj", fileName, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT, kSaveFilter);
    g_szProductPath = g_szProductName;
    g_szProductNameCopy = g_szProductName;
    dialog.SetInitialDir(deffiles::ProjectsFolder(g_szProductName));
    if (dialog.DoModal() != ui::IDOK) return std::string();
    return dialog.GetPathName();
}

// The project state a save changes before it writes, put back when the write fails so
// that nothing claims a file that was never written.
struct SaveFlags {
    int untitled = g_bBlockExUntitled, saved = g_bBlockExSaved;
    std::string path = g_ProjectSettings.g_strProjPath;
    std::string created = g_ProjectSettings.g_strProjCreated, modified = g_ProjectSettings.g_strProjModified;
    void Restore() const {
        g_bBlockExUntitled = untitled;
        g_bBlockExSaved = saved;
        g_ProjectSettings.g_strProjPath = path;
        g_ProjectSettings.g_strProjCreated = created;
        g_ProjectSettings.g_strProjModified = modified;
        g_bBlockListEdited = 1;
    }
};

}  // namespace

BlockExServices g_BlockExServices;

// ---------------------------------------------------------------------------------------
// Helpers

int CBlockExView::FindFailingBlock() const {
    for (int row = 0; row < m_nBlockCount; ++row)
        if (g_PlcRegisterTables.CompileCheckBlock(row) > 0) return row;
    return -1;
}

std::vector<int> CBlockExView::SelectedRows() const {
    std::vector<int> rows;
    const ui::ListView& list = GetListCtrl();
    for (int r = 0; r < list.GetItemCount(); ++r)
        if (list.IsItemSelected(r)) rows.push_back(r);
    return rows;
}

int CBlockExView::SaveProjectFile(const std::string& path) { return WriteOlderProjectFile(path, GetBlockRows()); }

bool CBlockExView::WriteChecked(const std::string& path) { return SaveProjectFile(path) == 0; }

void CBlockExView::CloseProject(bool updateRecent) {
    CMainFrame* frame = CMainFrame::Get();
    if (updateRecent && frame) frame->UpdateRecentProjects();
    if (m_pInfoWnd && m_pInfoWnd->IsCreated()) m_pInfoWnd->DestroyWindow();
    if (!frame) return;
    // Both replace this view: nothing of it is used after them.
    frame->ResetToUntitled();
    frame->GoToProductLevel();
}

void CBlockExView::OnUpdateCommand(ui::CmdUI& cmd) {
    switch (cmd.GetID()) {
        case ID_DOWNLOAD: cmd.Enable(true); break;
        case ID_PLC1_SETTING:
        case ID_PLC2_SETTING: cmd.Enable(bool(g_NewBlockExServices.plcPortSetting)); break;
        default: break;
    }
}

// ---------------------------------------------------------------------------------------
// Save, Save As, Close

void CBlockExView::OnFileSave() {
    m_CellEdit.DestroyWindow();  // a pending entry is checked and written first
    if (g_bProjectOpen != 1) return;
    ui::WaitCursor wait;
    if (g_nDeviceIdAlt != 84 && g_nDeviceId != 84) {
        if (const int failing = FindFailingBlock(); failing >= 0) {
            Box(platform::Format(kCompileErrorText, failing + 1));
            return;
        }
    }
    CProjectSettings& s = g_ProjectSettings;
    const SaveFlags before;
    if (g_bBlockExUntitled == 1) {
        const std::string path = AskSavePath("Untitled");
        if (path.empty()) return;
        s.g_strProjPath = path;
        g_bBlockExUntitled = 0;
        g_bBlockExSaved = 1;
    } else {
        s.g_strProjModified = ProjectTimeStamp();
    }
    if (!WriteChecked(s.g_strProjPath)) before.Restore();
}

void CBlockExView::OnFileSaveAs() {
    if (g_bProjectOpen != 1) return;
    if (FindFailingBlock() >= 0) return;  // the reason is in the info window
    ui::WaitCursor wait;
    const std::string path = AskSavePath(g_ProjectSettings.g_strProjPath);
    if (path.empty()) return;
    CProjectSettings& s = g_ProjectSettings;
    const SaveFlags before;
    s.g_strProjPath = path;
    g_bBlockExUntitled = 0;
    g_bBlockExSaved = 1;
    s.g_strProjModified = s.g_strProjCreated = ProjectTimeStamp();
    if (!WriteChecked(path)) before.Restore();
}

void CBlockExView::OnFileClose() {
    CMainFrame* frame = CMainFrame::Get();
    auto setTitle = [frame] {
        if (frame) frame->SetWindowText("Quorvex - QVX-00");
    };
    if (g_bProjectOpen != 1) {
        setTitle();
        return;
    }
    DestroyCellControls();  // an open editor stores its entry first
    if (g_bBlockListEdited != 1) {
        CloseProject(true);
        setTitle();
        return;
    }
    // An edited project without a file of its own is saved like a new one, so that the
    // question always leads somewhere.
    if (g_bBlockExUntitled == 1 || g_bBlockExSaved != 1) {
        const int answer = Box(LoadString(IDS_SAVE_PROJECT_QUESTION), ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
        if (answer == ui::IDYES) {
            const std::string path = AskSavePath("project");
            if (!path.empty()) {
                const SaveFlags before;
                g_ProjectSettings.g_strProjPath = path;
                g_bBlockExUntitled = 0;
                g_bBlockExSaved = 1;
                if (WriteChecked(path)) {
                    CloseProject(true);
                    g_bBlockExUntitled = g_bBlockExSaved = 0;
                } else {
                    before.Restore();  // not written: the project stays open
                }
            }
        } else if (answer == ui::IDNO) {
            g_bBlockListEdited = 0;
            CloseProject(false);
        }
        setTitle();
        return;
    }
    const int answer = Box(LoadString(IDS_SAVE_PROJECT_QUESTION), ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
    if (answer == ui::IDYES) {
        if (WriteChecked(g_ProjectSettings.g_strProjPath)) CloseProject(true);
    } else if (answer == ui::IDNO) {
        g_bBlockListEdited = 0;
        CloseProject(false);
    }
    setTitle();
}

// ---------------------------------------------------------------------------------------
// Hand-overs

void CBlockExView::OnDownload() {
    g_nDownloadDlgMode = 1;
    if (g_bProjectOpen != 1) return;
    DestroyCellControls();
    CDownloadDlg dialog;
    dialog.m_bUpload = 0;
    dialog.m_findFailingBlock = [this] { return FindFailingBlock(); };
    dialog.m_compileProject = [this] { return CompileProject(); };
    // In download mode the dialog's Upload Project stays disabled, so no upload can
    // replace this view while the dialog runs from it.
    if (g_BlockExServices.runDownloadDialog)
        g_BlockExServices.runDownloadDialog(dialog);
    else
        dialog.DoModal();
}

int CBlockExView::CompileProject() {
    if (!platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), BuildOlderProjectImage(GetBlockRows()))) {
        Box("Unable to create intermediate file.");
        return -1;
    }
    return 0;
}

void CBlockExView::OnPlc1Setting() {
    if (g_bProjectOpen != 1) return;
    ui::WaitCursor wait;
    if (g_nDeviceIdAlt == 84 || g_nDeviceId == 84) return;
    if (g_NewBlockExServices.plcPortSetting) g_NewBlockExServices.plcPortSetting(1);
}

void CBlockExView::OnPlc2Setting() {
    if (g_bProjectOpen != 1) return;
    ui::WaitCursor wait;
    if (g_NewBlockExServices.plcPortSetting) g_NewBlockExServices.plcPortSetting(2);
}

void CBlockExView::OnProjectInformation() {
    CProjectInfoDlg dialog(nullptr);
    dialog.DoModal();
}

// ---------------------------------------------------------------------------------------
// Block operations

void CBlockExView::OnAddNewBlock() {
    ui::WaitCursor wait;
    const int failing = m_nBlockCount > 0 ? FindFailingBlock() : -1;
    if (m_nBlockCount >= kMaxBlocks) {
        Box(kRangeText);
        return;
    }
    if (failing >= 0) {
        Box(platform::Format(kCompileErrorText, failing + 1));
        return;
    }
    DestroyCellControls();
    const int row = m_nBlockCount;
    PutNewRow(row, row + 1);
    g_nBlockEditRow = row;
    GetListCtrl().EnsureVisible(row);
    ++m_nBlockCount;
    PlaceAddressButtons(row);
}

void CBlockExView::OnInsertBlock() {
    ui::WaitCursor wait;
    if (const int failing = FindFailingBlock(); failing >= 0) {
        Box(platform::Format(kInsertCompileErrorText, failing + 1));
        return;
    }
    const std::vector<int> selected = SelectedRows();
    if (selected.empty()) {
        ReportInfo(kSelectionText);
        return;
    }
    // The table holds at most 255 blocks, as Add New Block and Paste Block keep it.
    if (m_nBlockCount >= kMaxBlocks) {
        Box(kRangeText);
        return;
    }
    // An open editor stores its entry on its own row first; the buttons stay where they are.
    m_CellEdit.DestroyWindow();
    m_CellCombo.DestroyWindow();
    const int k = selected.back();
    PutNewRow(k, k + 1);
    ui::ListView& list = GetListCtrl();
    for (int i = k; i < list.GetItemCount(); ++i) list.SetItemText(i, kOlderColBlockNo, std::to_string(i + 1));
    ++m_nBlockCount;
    ReportInfo(CNewBlockExView::kClearInfoText);
}

void CBlockExView::OnRemoveBlock() {
    ui::WaitCursor wait;
    ui::ListView& list = GetListCtrl();
    const std::vector<int> selected = SelectedRows();
    if (selected.empty()) {
        ReportInfo(kSelectionText);
        return;
    }
    DestroyCellControls();
    int last = 0;
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) list.DeleteItem(*it);
    last = selected.back() - int(selected.size()) + 1;  // where the last one removed stood
    for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemText(i, kOlderColBlockNo, std::to_string(i + 1));
    m_nBlockCount = list.GetItemCount();
    g_bBlockListEdited = 1;
    if (m_nBlockCount > 0) {
        // On the row above the last one removed, or on the first row.
        const int row = std::clamp(last - 1, 0, m_nBlockCount - 1);
        PlaceAddressButtons(row);
        g_nBlockEditRow = row;
    }
}

void CBlockExView::OnCopyBlock() {
    ui::WaitCursor wait;
    if (const int failing = FindFailingBlock(); failing >= 0) {
        Box(platform::Format(kCompileErrorText, failing + 1));
        g_nCopyRow = -1;
        return;
    }
    const std::vector<int> selected = SelectedRows();
    if (selected.empty()) {
        ReportInfo(kSelectionText);
        return;
    }
    m_CellEdit.DestroyWindow();
    m_CellCombo.DestroyWindow();
    const int row = selected.back();
    for (int c = 1; c <= 8; ++c) g_BlockClipboard[c - 1] = GetCellText(row, c);
    g_nCopyRow = row;
    g_bBlockListEdited = 1;
}

void CBlockExView::OnPasteBlock() {
    if (g_nCopyRow == -1) {
        Box(LoadString(IDS_COPY_BEFORE_PASTE));
        return;
    }
    ui::WaitCursor wait;
    DestroyCellControls();
    ui::ListView& list = GetListCtrl();
    const std::vector<int> selected = SelectedRows();
    if (!selected.empty()) {
        const int row = selected.back();
        for (int c = 1; c <= 8; ++c) list.SetItemText(row, c, g_BlockClipboard[c - 1]);
        list.EnsureVisible(row);
        g_bBlockListEdited = 1;
        g_nOlderPasteRow = row;
    } else if (m_nBlockCount < kMaxBlocks) {
        const int row = m_nBlockCount;
        list.InsertItem(row, std::to_string(row + 1));
        list.SetItemSelected(row, false);
        g_nBlockEditRow = row;
        for (int c = 1; c <= 8; ++c) list.SetItemText(row, c, g_BlockClipboard[c - 1]);
        list.SetItemText(row, kOlderColComment, "");
        ++m_nBlockCount;
        list.EnsureVisible(row);
        g_nOlderPasteRow = row;
    }
    if (g_nOlderPasteRow >= 0 && g_nOlderPasteRow < list.GetItemCount()) PlaceAddressButtons(g_nOlderPasteRow);
}

void CBlockExView::OnContextMenu(const ui::Event& event) {
    const std::shared_ptr<ui::Menu> menu = LoadBlockContextMenu();
    if (!g_NewBlockExServices.trackPopupMenu) return;
    const ui::ListView& list = GetListCtrl();
    const ui::Rect cell = ControlToWindow(list, list.GetSubItemRect(std::max(0, event.row), std::max(0, event.col)));
    const int command = g_NewBlockExServices.trackPopupMenu(*menu->GetSubMenu(0), cell.left, cell.bottom);
    if (command == 0) return;
    if (ui::Frame* frame = GetParentFrame()) {
        frame->SetActiveView(this);
        frame->UserCommand(command);
    } else {
        OnCommand(command);
    }
}
