// The older block list's commands: Save, Save As and Close with the project file, the
// port settings and project information hand-overs, and the block operations Add New
// Block, Insert Block, Remove Block, Copy Block and Paste Block with the context menu.
#include <algorithm>

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/BlockViewShared.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "plc/DefinitionFiles.h"
#include "compiler/ProjectImage.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "res/FrameResource.h"
#include "projectfiles/ProjectFileWriter.h"
#include "projectfiles/OlderProjectFile.h"
#include "res/StringTable.h"
#include "ui/Backend.h"
#include "ui/FrameHost.h"

namespace {

int Box(const std::string& text, unsigned flags = ui::MB_OK) { return ui::MessageBox(text, "Quorvex", flags); }

// The save dialog of Save, Save As and Close, which also names the product's folder again.
std::string AskSavePath(const std::string& fileName) {
    g_szProductPath = g_szProductName;
    g_szProductNameCopy = g_szProductName;
    return CBlockListView::AskProjectSavePath(fileName);
}

// The project state a save changes before it writes, put back when the write fails so
// that nothing claims a file that was never written.
struct SaveFlags {
    int untitled = g_bBlockExUntitled, saved = g_bBlockExSaved;
    std::string path = g_ProjectSettings.g_strProjPath;
    std::string created = g_ProjectSettings.g_strProjCreated, modified = g_ProjectSettings.g_strProjModified;
    int edited = g_bBlockListEdited;
    // A Save As that wrote nothing leaves the mark as it was; a failed save over the
    // project's own file, or its first, leaves the project marked.
    bool keepMark = false;
    void Restore() const {
        g_bBlockExUntitled = untitled;
        g_bBlockExSaved = saved;
        g_ProjectSettings.g_strProjPath = path;
        g_ProjectSettings.g_strProjCreated = created;
        g_ProjectSettings.g_strProjModified = modified;
        g_bBlockListEdited = keepMark ? edited : 1;
        SettleProjectHold();  // a file held for this save only is let go
    }
};

}  // namespace

int CBlockExView::CommandBox(const std::string& text, unsigned flags) const { return Box(text, flags); }

BlockExServices g_BlockExServices;

// ---------------------------------------------------------------------------------------
// Helpers

int CBlockExView::FindFailingBlock() const {
    for (int row = 0; row < m_nBlockCount; ++row)
        if (g_PlcRegisterTables.CompileCheckBlock(row) > 0) return row;
    return -1;
}

int CBlockExView::SaveProjectFile(const std::string& path) { return WriteOlderProjectFile(path, GetBlockRows()); }

bool CBlockExView::WriteChecked(const std::string& path) { return SaveProjectFile(path) == 0; }

void CBlockExView::CloseProject(bool updateRecent) {
    ui::FrameHost* frame = ui::GetFrameHost();
    if (updateRecent && frame) frame->RefreshRecentProjects();
    if (m_pInfoWnd && m_pInfoWnd->IsCreated()) m_pInfoWnd->DestroyWindow();
    // This replaces the view: nothing of it is used after.
    if (frame) frame->CloseToProductLevel();
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
    if (!StoreCellControls()) return;  // a pending entry is checked and written first
    if (g_bProjectOpen != 1) return;
    ui::WaitCursor wait;
    if (g_nDeviceIdAlt != 84 && g_nDeviceId != 84) {
        if (!BlocksPass(kCompileErrorText)) return;
    }
    CProjectSettings& s = g_ProjectSettings;
    const SaveFlags before;
    // A project without a file of its own is named first: no save goes to an empty path.
    if (g_bBlockExUntitled == 1 || s.g_strProjPath.empty()) {
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
    blockview::SaveProjectAs(*this, AskSavePath, [this](const std::string& path) {
        CProjectSettings& s = g_ProjectSettings;
        SaveFlags before;
        before.keepMark = true;
        s.g_strProjPath = path;
        g_bBlockExUntitled = 0;
        g_bBlockExSaved = 1;
        s.g_strProjModified = s.g_strProjCreated = ProjectTimeStamp();
        if (!WriteChecked(path)) before.Restore();
    });
}

void CBlockExView::OnFileClose() {
    auto setTitle = [] { ui::SetMainTitle("Quorvex - QVX-00"); };
    if (g_bProjectOpen != 1) {
        setTitle();
        return;
    }
    if (!StoreCellControls()) return;  // an open editor stores its entry first
    if (g_bBlockListEdited != 1) {
        CloseProject(true);
        setTitle();
        return;
    }
    auto discard = [this] {
        g_bBlockListEdited = 0;
        CloseProject(false);
    };
    // An edited project without a file of its own is saved like a new one, so that the
    // question always leads somewhere.
    if (g_bBlockExUntitled == 1 || g_bBlockExSaved != 1) {
        auto saveNew = [this] {
            const std::string path = AskSavePath("project");
            if (path.empty()) return;
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
        };
        blockview::AskSaveOnClose(*this, saveNew, discard);
        if (g_bProjectOpen != 1) setTitle();  // Cancel, or a refused save: the project stays
        return;
    }
    blockview::AskSaveOnClose(
        *this, [this] { if (WriteChecked(g_ProjectSettings.g_strProjPath)) CloseProject(true); }, discard);
    if (g_bProjectOpen != 1) setTitle();
}

// ---------------------------------------------------------------------------------------
// Hand-overs

void CBlockExView::OnDownload() {
    if (!blockview::BeginDownload(*this, g_nDownloadDlgMode)) return;
    // In download mode the dialog's Upload Project stays disabled, so no upload can
    // replace this view while the dialog runs from it.
    if (g_BlockExServices.download)
        g_BlockExServices.download([this] { return FindFailingBlock(); }, [this](std::string& image) { return CompileProject(&image); });
}

int CBlockExView::CompileProject(std::string* image) {
    return blockview::ImageWriteResult(*this, WriteOlderProjectImage(g_OlderBlockListRows, image));
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
    if (g_NewBlockExServices.projectInformation) g_NewBlockExServices.projectInformation(nullptr);
}

// ---------------------------------------------------------------------------------------
// Block operations

void CBlockExView::OnAddNewBlock() {
    ui::WaitCursor wait;
    if (!CanAddBlock()) return;
    if (!StoreCellControls()) return;
    const int row = m_nBlockCount;
    PutNewRow(row, row + 1);
    g_nBlockEditRow = row;
    GetListCtrl().EnsureVisible(row);
    ++m_nBlockCount;
    PlaceAddressButtons(row);
}

void CBlockExView::OnInsertBlock() {
    ui::WaitCursor wait;
    const std::vector<int> selected = RowsForInsert();
    if (selected.empty()) return;
    // An open editor stores its entry on its own row first; the buttons stay where they are.
    CloseCellEditors();
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
    const std::vector<int> selected = SelectionForCommand();
    if (selected.empty()) return;
    if (!StoreCellControls()) return;
    int last = 0;
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) list.DeleteItem(*it);
    last = selected.back() - int(selected.size()) + 1;  // where the last one removed stood
    for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemText(i, kOlderColBlockNo, std::to_string(i + 1));
    m_nBlockCount = list.GetItemCount();
    g_bBlockListEdited = 1;
    if (const int row = blockview::RowAfterRemove(*this, last); row >= 0) {
        PlaceAddressButtons(row);
        g_nBlockEditRow = row;
    }
}

void CBlockExView::OnCopyBlock() {
    ui::WaitCursor wait;
    const std::vector<int> selected = RowsForCopy(g_nCopyRow);
    if (selected.empty()) return;
    CloseCellEditors();
    const int row = selected.back();
    for (int c = 1; c <= 8; ++c) g_BlockClipboard[c - 1] = GetCellText(row, c);
    g_nCopyRow = row;
    g_bBlockListEdited = 1;
}

void CBlockExView::OnPasteBlock() {
    if (!HasCopiedBlock(g_nCopyRow)) return;
    ui::WaitCursor wait;
    if (!StoreCellControls()) return;
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

