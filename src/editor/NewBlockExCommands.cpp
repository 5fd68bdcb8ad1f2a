// The newer block list's commands: add, insert, remove, copy and paste blocks, the
// context menu and the Delete key, the three save paths (Save, Save As, Close) with the
// internal-database images that follow the project file, the download and the
// hand-overs to the settings and feature dialogs.
#include <spawn.h>

#include <algorithm>

#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "compiler/ProjectImage.h"
#include "editor/BlockViewShared.h"
#include "editor/NewBlockExView.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "projectfiles/ProjectFileWriter.h"
#include "projectfiles/ProjectSaves.h"
#include "res/FrameResource.h"
#include "res/StringTable.h"
#include "projectfiles/ProjectIdb.h"
#include "ui/Backend.h"
#include "ui/FrameHost.h"

extern char** environ;

std::string g_strCopyWords, g_strCopySourcePlc, g_strCopySourceId, g_strCopySourceAddr, g_strCopyDestPlc,
    g_strCopyDestId, g_strCopyDestAddr, g_strCopyRepeat, g_strCopyControlBit, g_strCopyComment;
int g_nCopyBlockRow = -1;
int g_nPasteBlockRow = 0;
NewBlockExServices g_NewBlockExServices;

namespace {

const char kSaveChangesText[] = "Do you want to save changes.";
const char kNewRowNumber[] = "%d             ";       // a new row: the number and 13 blanks
const char kInsertedNumber[] = "%d               ";   // numbered after Insert: 15 blanks
const char kRemovedNumber[] = "%d             ";      // numbered after Remove: 13 blanks
const char kControlBitNumber[] = "%d       ";         // a row's index numbered anew: 7 blanks
const char kKorvoProgram[] = "Korvo32.exe";

// A message box of the view: no caption.
int Box(const std::string& text, unsigned flags = ui::MB_OK) { return ui::MessageBox(text, "", flags); }


// The save dialog of the three save paths.
std::string AskSavePath(const std::string& fileName) { return CBlockListView::AskProjectSavePath(fileName); }

bool StartProgram(const std::string& program, const std::string& folder) {
    const std::string path = platform::ResolvePath(folder + program);
    if (!platform::FileExists(path)) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, platform::ResolvePath(folder).c_str());
    const char* argv[] = {path.c_str(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0;
}

}  // namespace

int CNewBlockExView::CommandBox(const std::string& text, unsigned flags) const { return Box(text, flags); }

std::shared_ptr<ui::Menu> LoadBlockContextMenu() {
    auto popup = std::make_shared<ui::Menu>();
    popup->AppendMenu(ui::MF_STRING, ID_ADD_NEW_BLOCK, "Add New &Block");
    popup->AppendMenu(ui::MF_STRING, ID_REMOVE_BLOCK, "&Remove Block");
    popup->AppendMenu(ui::MF_STRING, ID_INSERT_BLOCK, "&Insert Block");
    popup->AppendMenu(ui::MF_STRING, ID_COPY_BLOCK, "&Copy Block");
    popup->AppendMenu(ui::MF_STRING, ID_PASTE_BLOCK, "&Paste Block");
    auto menu = std::make_shared<ui::Menu>();
    menu->AppendPopup("", popup);
    return menu;
}

// ---------------------------------------------------------------------------------------
// Helpers

int CNewBlockExView::FindFailingBlock() const {
    const int count = GetListCtrl().GetItemCount();
    for (int row = 0; row < count; ++row)
        if (CompileBlock(row) > 0) return row;
    return -1;
}

// A new row's cells; in slave mode the slave PLC is named in the source column.
void CNewBlockExView::PutNewRow(int row, const std::string& number) {
    ui::ListView& list = GetListCtrl();
    list.InsertItem(row, number);
    list.SetRowCheck(row, true);
    const char* texts[] = {nullptr, "1", " ", "1", " ", " ", "1", " ", "1"};
    for (int c = 1; c <= 8; ++c) list.SetItemText(row, c, texts[c]);
    if (g_bSlaveMode == 1) {
        const CPlcRegisterTables& t = g_PlcRegisterTables;
        if (deffiles::ReadSlaveKey(t.g_strPlc2Inf) == 1) {
            list.SetItemText(row, kColSourcePlc, t.g_strPLC2Name);
            list.SetItemText(row, kColDestPlc, t.g_strPLC1Name);
        }
        if (deffiles::ReadSlaveKey(t.g_strPlc1Inf) == 1) {
            list.SetItemText(row, kColSourcePlc, t.g_strPLC1Name);
            list.SetItemText(row, kColDestPlc, t.g_strPLC2Name);
        }
    }
}

void CNewBlockExView::RenumberRows(int from, const char* numberFormat) {
    ui::ListView& list = GetListCtrl();
    for (int j = std::max(0, from); j < list.GetItemCount(); ++j) {
        list.SetItemText(j, kColBlockNo, platform::Format(numberFormat, j + 1));
        list.SetItemText(j, kColControlBit, platform::Format(kControlBitNumber, j));
    }
}

// ---------------------------------------------------------------------------------------
// Block commands

void CNewBlockExView::OnAddNewBlock() {
    ui::WaitCursor wait;
    // An editor still open stores its text on its own row first.
    if (!StoreCellControls()) return;
    if (!CanAddBlock()) return;
    const int n = m_nBlockCount;
    ui::ListView& list = GetListCtrl();
    PutNewRow(n, platform::Format(kNewRowNumber, n + 1));
    list.SetItemText(n, kColControlBit, std::to_string(n));
    list.EnsureVisible(n);
    g_nNewBlockEditRow = n;
    m_nBlockCount = n + 1;
    m_nCurrentRow = n;
    PlaceSetAddressButtons(n);
    g_bNewBlockListEdited = 1;
    g_bProjectModified = 1;
    ReportInfo(kClearInfoText);
}

void CNewBlockExView::OnInsertBlock() {
    ui::WaitCursor wait;
    if (!StoreCellControls()) return;
    const std::vector<int> selected = RowsForInsert();
    if (selected.empty()) return;
    const int r = selected.front();
    PutNewRow(r, platform::Format(kNewRowNumber, r));
    m_nCurrentRow = r;
    RenumberRows(r, kInsertedNumber);
    m_nBlockCount = GetListCtrl().GetItemCount();
    g_nNewBlockEditRow = r;
    PlaceSetAddressButtons(r);
    g_bNewBlockListEdited = 1;
    g_bProjectModified = 1;
    ReportInfo(kClearInfoText);
    if (g_nCopyBlockRow != -1 && r < g_nCopyBlockRow) ++g_nCopyBlockRow;
}

void CNewBlockExView::OnRemoveBlock() {
    ui::WaitCursor wait;
    if (!StoreCellControls()) return;
    const std::vector<int> selected = SelectionForCommand();
    if (selected.empty()) return;
    ui::ListView& list = GetListCtrl();
    int lastDeleted = 0;
    for (size_t k = 0; k < selected.size(); ++k) {
        const std::vector<int> now = SelectedRows();
        if (now.empty()) break;
        lastDeleted = now.front();
        list.DeleteItem(lastDeleted);
    }
    RenumberRows(0, kRemovedNumber);
    m_nBlockCount = list.GetItemCount();
    m_nCurrentRow = std::max(0, m_nCurrentRow - int(selected.size()));
    g_bProjectModified = 1;
    if (const int row = blockview::RowAfterRemove(*this, lastDeleted); row >= 0) {
        PlaceSetAddressButtons(row);
        g_nNewBlockEditRow = row;
        g_bNewBlockListEdited = 1;
    }
}

void CNewBlockExView::OnCopyBlock() {
    ui::WaitCursor wait;
    if (!StoreCellControls()) return;
    const std::vector<int> selected = RowsForCopy(g_nCopyBlockRow);
    if (selected.empty()) return;
    const int r = selected.front();
    g_strCopyWords = GetCellText(r, kColWords);
    g_strCopySourcePlc = GetCellText(r, kColSourcePlc);
    g_strCopySourceId = GetCellText(r, kColSourceId);
    g_strCopySourceAddr = GetCellText(r, kColSourceAddr);
    g_strCopyDestPlc = GetCellText(r, kColDestPlc);
    g_strCopyDestId = GetCellText(r, kColDestId);
    g_strCopyDestAddr = GetCellText(r, kColDestAddr);
    g_strCopyRepeat = GetCellText(r, kColRepeatCycle);
    g_strCopyControlBit = GetCellText(r, kColControlBit);
    g_strCopyComment = GetCellText(r, kColComment);
    g_nCopyBlockRow = r;
    g_bProjectModified = 1;
}

void CNewBlockExView::OnPasteBlock() {
    if (!HasCopiedBlock(g_nCopyBlockRow)) return;
    ui::WaitCursor wait;
    if (!StoreCellControls()) return;
    ui::ListView& list = GetListCtrl();
    auto putClipboard = [&](int row) {
        const std::string* texts[] = {nullptr,           &g_strCopyWords,  &g_strCopySourcePlc, &g_strCopySourceId,
                                      &g_strCopySourceAddr, &g_strCopyDestPlc, &g_strCopyDestId,  &g_strCopyDestAddr,
                                      &g_strCopyRepeat};
        for (int c = 1; c <= 8; ++c) list.SetItemText(row, c, *texts[c]);
        list.SetItemText(row, kColComment, g_strCopyComment);
    };
    const std::vector<int> selected = SelectedRows();
    if (selected.empty()) {
        const int n = m_nBlockCount;
        if (n + 1 >= 256) {
            // A full list takes no more blocks: said, rather than nothing happening.
            Box(kRangeText);
            return;
        }
        list.InsertItem(n, platform::Format(kNewRowNumber, n + 1));
        list.SetRowCheck(n, true);
        putClipboard(n);
        list.SetItemText(n, kColControlBit, std::to_string(n));
        g_nNewBlockEditRow = n;
        g_nPasteBlockRow = n;
        m_nBlockCount = n + 1;
        list.EnsureVisible(n);
    } else {
        const int r = selected.front();
        putClipboard(r);
        list.SetItemText(r, kColControlBit, std::to_string(r));
        list.EnsureVisible(r);
        g_nPasteBlockRow = r;
    }
    // A pasted block is an edit of the list like any other.
    g_bNewBlockListEdited = 1;
    g_bProjectModified = 1;
    if (g_nPasteBlockRow >= 0 && g_nPasteBlockRow < list.GetItemCount()) PlaceSetAddressButtons(g_nPasteBlockRow);
}

void CNewBlockExView::OnKeyDown(const ui::Event& event) {
    if (event.key == ui::VK_DELETE) OnRemoveBlock();
}

void CNewBlockExView::OnHelpInfo() {
    if (g_nTransferMode == 0) g_szHelpTopic = "blockoverview.htm";
    ui::ShowHelp();
}

// ---------------------------------------------------------------------------------------
// Hand-overs to other screens

void CNewBlockExView::OnUpdateDialogCommand(ui::CmdUI& cmd) {
    const NewBlockExServices& s = g_NewBlockExServices;
    bool on = false;
    switch (cmd.GetID()) {
        case ID_PLC1_SETTING:
        case ID_PLC2_SETTING: on = bool(s.plcPortSetting) && g_nDeviceId != 84; break;
        case ID_RECIPES:
            on = bool(s.recipes) && g_bExtendedSetup == 1 && (g_bRecipesCom1 == 1 || g_bRecipesCom2 == 1);
            break;
        case ID_ATTACH_REGISTERS:
            on = bool(s.attachRegisters) && g_bExtendedSetup == 1 && (g_bAttachRegCom1 == 1 || g_bAttachRegCom2 == 1);
            break;
        case ID_ETHERNET_NODE_TABLE: on = bool(s.ethernetNodeTable) && g_bEthernetSetting == 1; break;
        case ID_MAC_ADDRESS: on = bool(s.macAddress) && m_bShowMacAddress == 1; break;
        case ID_HTML_DOWNLOAD: on = bool(s.htmlDownload) && g_bCanHtmlDownload == 1; break;
        case ID_RUN_KORVO: on = g_bCanRunKorvo == 1; break;
        // Run by the frame; this view only gates it.
        case ID_ETHERNET_DOWNLOAD: on = g_bCanEthernetDownload == 1; break;
        default: break;
    }
    cmd.Enable(on);
}

void CNewBlockExView::OnPlc1Setting() {
    if (g_bProjectOpen != 1 || g_nDeviceId == 84 || !g_NewBlockExServices.plcPortSetting) return;
    g_NewBlockExServices.plcPortSetting(1);
}

void CNewBlockExView::OnPlc2Setting() {
    ui::WaitCursor wait;
    if (g_bProjectOpen != 1 || g_nDeviceId == 84 || !g_NewBlockExServices.plcPortSetting) return;
    g_NewBlockExServices.plcPortSetting(2);
}

void CNewBlockExView::OnRecipes() {
    if (g_NewBlockExServices.recipes) g_NewBlockExServices.recipes();
}

void CNewBlockExView::OnAttachRegisters() {
    if (g_NewBlockExServices.attachRegisters) g_NewBlockExServices.attachRegisters();
}

void CNewBlockExView::OnEthernetNodeTable() {
    if (g_bEthernetSetting == 1 && g_NewBlockExServices.ethernetNodeTable) g_NewBlockExServices.ethernetNodeTable();
}

void CNewBlockExView::OnMacAddress() {
    if (m_bShowMacAddress == 1 && g_NewBlockExServices.macAddress) g_NewBlockExServices.macAddress();
}

void CNewBlockExView::OnHtmlDownload() {
    if (g_NewBlockExServices.htmlDownload) g_NewBlockExServices.htmlDownload();
}

void CNewBlockExView::OnProjectInformation() {
    if (g_NewBlockExServices.projectInformation) g_NewBlockExServices.projectInformation(this);
}

void CNewBlockExView::OnDownload() {
    if (!blockview::BeginDownload(*this, g_nTransferMode)) return;
    // In download mode the dialog's Upload Project stays disabled, so no upload can
    // replace this view while the dialog runs from it.
    if (g_NewBlockExServices.download)
        g_NewBlockExServices.download([this] { return GetBlockRows(); }, [this](std::array<std::string, 2>& images) {
            BuildIdbImage(&images);
            return true;
        });
    g_nTransferMode = 0;
}

// ---------------------------------------------------------------------------------------
// The project file and the internal databases

int CNewBlockExView::WriteProjectFile(std::string path) {
    m_strPrjPath = path;
    return WriteNewerProjectFile(path, GetBlockRows(), m_nPrjWritePos);
}

int CNewBlockExView::AppendFeatureSections() { return AppendNewerFeatureSections(m_strPrjPath, m_nPrjWritePos); }

void CNewBlockExView::FillBlockTables() {
    const BlockRows rows = GetBlockRows();
    ::FillBlockTables(rows);
    // Each row's register kinds, by the side its source is on.
    const IdbEntries& entries = CurrentIdbEntries();
    for (size_t r = 0; r < rows.size() && r < size_t(kMaxBlocks); ++r) {
        const int kind1 = r < entries.kindCom1.size() ? entries.kindCom1[r] : 0;
        const int kind2 = r < entries.kindCom2.size() ? entries.kindCom2[r] : 0;
        const bool fromCom1 = GetPlcPort(rows[r][kColSourcePlc]) == 1;
        m_anSourceKind[r] = fromCom1 ? kind1 : kind2;
        m_anDestKind[r] = fromCom1 ? kind2 : kind1;
    }
}

void CNewBlockExView::FillIdbViews() { ::FillIdbViews(); }

void CNewBlockExView::WriteIdbImages() { ::WriteIdbImages(); }

void CNewBlockExView::BuildIdbImage(std::array<std::string, 2>* written) { ::BuildIdbImage(GetBlockRows(), written); }

void CNewBlockExView::LoadIdbImages() { ::LoadIdbImages(); }

void CNewBlockExView::ScanBlocks(BlockLinks& links) const { ScanProjectBlocks(g_BlockListRows, links); }

int CNewBlockExView::WriteProjectImage() {
    return blockview::ImageWriteResult(*this, WriteNewerProjectImage(g_BlockListRows));
}

// ---------------------------------------------------------------------------------------
// Save, Save As, Close

// The first save of a project: a path asked for, then the save.
bool CNewBlockExView::SaveUntitled(const std::string& fileName) {
    const std::string path = AskSavePath(fileName);
    if (path.empty()) return false;  // cancelled: nothing changes
    return SaveNewerProjectFirst(path);
}

// A save over the project's own file.
bool CNewBlockExView::SaveTitled() { return SaveNewerProject(); }

void CNewBlockExView::OnFileSave() {
    if (!StoreCellControls()) return;  // stores what is typed
    if (g_bProjectOpen != 1) return;
    ui::WaitCursor wait;
    if (g_nDeviceId != 84 && !BlocksPass(kCompileErrorText)) return;
    // A project without a file of its own (untitled, or taken from a unit) gets one.
    // The word counts of its default registers (set by the engineer, or brought by an
    // upload) are saved as they stand.
    if (g_bUntitled == 1 || g_bProjectSaved != 1) {
        SaveUntitled("Untitled");
        return;
    }
    SaveTitled();
}

void CNewBlockExView::OnFileSaveAs() {
    if (!StoreCellControls()) return;
    blockview::SaveProjectAs(*this, AskSavePath, [](const std::string& path) { SaveNewerProjectAs(path); });
}

void CNewBlockExView::CloseView() {
    if (m_pInfoWnd && m_pInfoWnd->IsCreated()) m_pInfoWnd->DestroyWindow();
    RefreshIdbView1();
    RefreshIdbView2();
    // This replaces the view: nothing of it is used after.
    if (ui::FrameHost* frame = ui::GetFrameHost()) frame->CloseToProductLevel();
}

void CNewBlockExView::OnCloseProject() {
    g_bIdbDialogUsed = 0;
    if (g_bProjectOpen != 1) return;
    if (!StoreCellControls()) return;  // an open editor stores its text first
    if (g_bProjectModified == 0) {
        if (ui::FrameHost* frame = ui::GetFrameHost()) frame->RefreshRecentProjects();
        CloseView();
        return;
    }
    // A modified project without a file of its own (untitled, or taken from a unit) is
    // saved like an untitled one, so that the prompt always leads somewhere.
    if (g_bUntitled == 1 || g_bProjectSaved != 1) {
        auto saveNew = [this] {
            if (!SaveUntitled("project")) return;  // cancelled or not written: the project stays open
            CloseView();
        };
        blockview::AskSaveOnClose(*this, saveNew, [this] {
            g_bProjectModified = 0;
            g_bIdbModified = 0;
            CloseView();
        });
        return;
    }
    auto saveOwn = [this] {
        if (SaveNewerProjectOnClose()) CloseView();
    };
    blockview::AskSaveOnClose(*this, saveOwn, [this] {
        g_bProjectModified = 0;
        CloseView();
    });
}

// ---------------------------------------------------------------------------------------
// The sibling program

void CNewBlockExView::OnRunKorvo() {
    if (g_bProjectModified == 1) {
        // No starts nothing and saves nothing: the edit stays marked, to be saved or
        // dropped when the project is closed.
        if (Box(kSaveChangesText, ui::MB_YESNO) != ui::IDYES) return;
        if (g_bUntitled == 1 || g_bProjectSaved != 1) {
            SaveUntitled("Untitled");
        } else {
            SaveTitled();
        }
        return;  // the engineer starts the program again once the project is saved
    }
    const std::string folder = platform::GetProgramFolder();
    const auto start = g_NewBlockExServices.startProgram ? g_NewBlockExServices.startProgram : StartProgram;
    if (!start(kKorvoProgram, folder)) Box(std::string("Unable to start ") + kKorvoProgram + ".");
}
