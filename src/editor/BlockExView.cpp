#include "editor/BlockExView.h"

#include <algorithm>

#include "model/RunTimeState.h"
#include "editor/AddressDlg.h"
#include "editor/BlockViewShared.h"
#include "plc/BlockEditorHost.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/EditorBitmaps.h"
#include "res/FrameResource.h"
#include "res/OlderEditorResource.h"
#include "ui/Backend.h"

int g_nCopyRow = -1;
std::string g_BlockClipboard[8];
int g_nOlderPasteRow = 0;

namespace {

constexpr blockview::ColumnSpec kColumns[kOlderBlockColumns] = {
    {"Block No.", 60},      {"# Words/Bits", 75},     {"Source PLC", 100},     {"Source ID", 60},
    {"Source Address", 90}, {"Destination PLC", 100}, {"Destination ID", 80}, {"Destination Address", 110},
    {"Repeat Cycle", 60},   {"Comment", 300},
};


}  // namespace

CBlockExView::CBlockExView() : CBlockListView(IDC_OLDER_BLOCK_LIST, m_CellEdit, m_CellCombo) {
    m_CellEdit.Attach(this);
    m_CellCombo.Attach(this);
    m_SourceAddrButton.Attach(this);
    m_DestAddrButton.Attach(this);
    m_nBlockCount = 0;
    g_nBlockEditRow = 0;
    g_nBlockEditCol = 0;
    g_bProjectOpen = 1;
    g_bNoBlockView = 0;
    g_nCopyRow = -1;
    // The list is the view's content from the start; its columns come with the update.
    // Several rows may be selected (Remove Block takes them all).
    AddControl(ui::ControlKind::ListView, IDC_OLDER_BLOCK_LIST, "", ui::Rect{0, 0, 0, 0},
               ui::style::kGridLines | ui::style::kBorder | ui::style::kTabStop | ui::style::kExtendedSel);
    // It shows the project's rows: its edits are the project's.
    static ui::ArrayTextStore<kOlderBlockColumns> projectRows(g_OlderBlockListRows);
    GetListCtrl().BindTexts(&projectRows);
}

CBlockExView::~CBlockExView() = default;

const ui::HandlerTable* CBlockExView::GetHandlerTable() const {
    using ui::Notify;
    using V = CBlockExView;
    static const ui::HandlerTable table(ui::View::GetHandlerTable(), {
        ui::On(Notify::Clicked, IDC_OLDER_BLOCK_LIST, &V::OnClickCell),
        ui::On(Notify::Scroll, IDC_OLDER_BLOCK_LIST, &V::OnVScroll),
        ui::On(Notify::Change, IDC_BLOCK_CELL_EDIT, &V::OnCellEditChange),
        ui::On(Notify::KeyDown, IDC_BLOCK_CELL_EDIT, &V::OnCellEditKey),
        ui::On(Notify::KillFocus, IDC_BLOCK_CELL_EDIT, &V::OnCellEditKillFocus),
        ui::On(Notify::KeyDown, IDC_BLOCK_CELL_COMBO, &V::OnCellComboKey),
        ui::On(Notify::KillFocus, IDC_BLOCK_CELL_COMBO, &V::OnCellComboKillFocus),
        ui::On(Notify::Clicked, IDC_SOURCE_ADDR_BUTTON, &V::OnSourceButton),
        ui::On(Notify::Clicked, IDC_DEST_ADDR_BUTTON, &V::OnDestButton),
        ui::On(Notify::RClick, IDC_OLDER_BLOCK_LIST, &V::OnContextMenu),
        ui::On(Notify::Command, ID_FILE_SAVE_PROJECT_AS, &V::OnFileSaveAs),
        ui::On(Notify::Command, ID_DOWNLOAD, &V::OnDownload),
        ui::On(Notify::Command, ID_INSERT_BLOCK, &V::OnInsertBlock),
        ui::On(Notify::Command, ID_REMOVE_BLOCK, &V::OnRemoveBlock),
        ui::On(Notify::Command, ID_ADD_NEW_BLOCK, &V::OnAddNewBlock),
        ui::On(Notify::Command, ID_PLC2_SETTING, &V::OnPlc2Setting),
        ui::On(Notify::Command, ID_PROJECT_INFORMATION, &V::OnProjectInformation),
        ui::On(Notify::Command, ID_COPY_BLOCK, &V::OnCopyBlock),
        ui::On(Notify::Command, ID_PASTE_BLOCK, &V::OnPasteBlock),
        ui::On(Notify::Command, ID_FILE_SAVE_PROJECT, &V::OnFileSave),
        ui::On(Notify::Command, ID_FILE_CLOSE_PROJECT, &V::OnFileClose),
        ui::On(Notify::Command, ID_PLC1_SETTING, &V::OnPlc1Setting),
        ui::On(Notify::UpdateUI, ID_DOWNLOAD, &V::OnUpdateCommand),
        ui::On(Notify::UpdateUI, ID_PLC1_SETTING, &V::OnUpdateCommand),
        ui::On(Notify::UpdateUI, ID_PLC2_SETTING, &V::OnUpdateCommand),
    });
    return &table;
}

void CBlockExView::OnSize(int cx, int cy) { GetListCtrl().MoveWindow(ui::Rect{0, 0, cx, cy}); }

int CBlockExView::ReadSlaveMode() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    return deffiles::OlderPairSlaveKey(t.g_strPlc1Inf, t.g_strPlc2Inf);
}

void CBlockExView::InsertColumns() { blockview::SetColumns(GetListCtrl(), kColumns, kOlderBlockColumns); }

void CBlockExView::OnInitialUpdate() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    g_nDownloadDlgMode = 0;
    m_SourceTip.Create(this);
    m_DestTip.Create(this);
    InsertColumns();
    InfoWindow();  // made hidden, shown with the first message

    if (g_bBlockExUntitled != 1) {
        // An opened project: the list shows the rows the reader put in the model.
        g_bBlockExSlaveMode = ReadSlaveMode();
        m_nBlockCount = GetListCtrl().GetItemCount();
        g_nBlockEditRow = std::max(0, m_nBlockCount - 1);
        return;
    }
    int side = 0;
    if (deffiles::ReadSlaveKey(t.g_strPlc2Inf) == 1) side = 1;
    if (deffiles::ReadSlaveKey(t.g_strPlc1Inf) == 1) side = 2;
    ui::ListView& list = GetListCtrl();
    list.DeleteAllItems();
    m_nBlockCount = 0;
    if (side == 0) {
        g_bBlockExSlaveMode = 0;
        AddDefaultRow();
        return;
    }
    g_bBlockExSlaveMode = 1;
    PutNewRow(0, 1);
    m_nBlockCount = 1;
}

void CBlockExView::PutNewRow(int row, int number) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    ui::ListView& list = GetListCtrl();
    list.InsertItem(row, std::to_string(number));
    list.SetItemSelected(row, false);
    const char* texts[] = {nullptr, "1", " ", "1", " ", " ", "1", " ", "1", ""};
    for (int c = 1; c < kOlderBlockColumns; ++c) list.SetItemText(row, c, texts[c]);
    if (g_bBlockExSlaveMode == 1) {
        // The slave PLC is the source; PLC1 wins when both files say slave.
        std::string source, dest;
        if (deffiles::ReadSlaveKey(t.g_strPlc2Inf) == 1) {
            source = t.g_strPLC2Name;
            dest = t.g_strPLC1Name;
        }
        if (deffiles::ReadSlaveKey(t.g_strPlc1Inf) == 1) {
            source = t.g_strPLC1Name;
            dest = t.g_strPLC2Name;
        }
        if (!source.empty() || !dest.empty()) {
            list.SetItemText(row, kOlderColSourcePlc, source);
            list.SetItemText(row, kOlderColDestPlc, dest);
        }
    }
}

void CBlockExView::AddDefaultRow() {
    if (m_nBlockCount >= kMaxBlocks) return;
    const int slave = g_bBlockExSlaveMode;
    g_bBlockExSlaveMode = 0;  // the default row has blank PLC cells
    PutNewRow(m_nBlockCount, m_nBlockCount + 1);
    g_bBlockExSlaveMode = slave;
    ++m_nBlockCount;
}

void CBlockExView::ShowInfoText(const std::string& text) {
    CErrorMessagesDlg& info = InfoWindow();
    info.SetText(text);
    if (info.IsWindowVisible()) return;
    if (text.find_first_not_of(' ') != std::string::npos) info.ShowWindow(true);
    PlaceInfoWindow();
}

void CBlockExView::ReportInfo(const std::string& text) {
    if (GetBlockEditorHost()) ::ShowInfoText(text);
    else ShowInfoText(text);
}

OlderBlockRows CBlockExView::GetBlockRows() const { return g_OlderBlockListRows; }

void CBlockExView::SetBlockRows(const OlderBlockRows& rows) {
    ui::ListView& list = GetListCtrl();
    list.DeleteAllItems();
    for (size_t i = 0; i < rows.size() && int(i) < kMaxBlocks; ++i) {
        const int r = list.InsertItem(int(i), std::to_string(i + 1));
        for (int c = 1; c < kOlderBlockColumns; ++c) list.SetItemText(r, c, rows[i][size_t(c)]);
    }
    m_nBlockCount = list.GetItemCount();
    g_nBlockEditRow = std::max(0, m_nBlockCount - 1);
}

// ---------------------------------------------------------------------------------------
// Cell editing

void CBlockExView::OnClickCell(const ui::Event& event) {
    // A click in the list makes it the pane the commands go to.
    if (ui::Frame* frame = GetParentFrame()) frame->SetActiveView(this);
    g_bBlockListEdited = 1;
    if (event.row >= 0) BeginCellEdit(event.row, event.col);
}

void CBlockExView::PlaceAddressButtons(int row) {
    DestroyAddressButtons();
    if (row < 0 || row >= GetListCtrl().GetItemCount()) return;
    CBlockListView::PlaceAddressButtons(row, kOlderColSourceAddr, kOlderColDestAddr, kAddressButtonWidth, m_SourceTip,
                                        m_DestTip);
}

void CBlockExView::BeginCellEdit(int row, int col) {
    // One editor at a time: one still open stores its entry on its own cell first.
    if (!EnterCell(row, col, g_nBlockEditRow, g_nBlockEditCol)) return;
    PlaceAddressButtons(row);
    switch (col) {
        case kOlderColWords: ShowCellEdit(row, col, 0, g_bBlockExSlaveMode == 1 ? 3 : 2); break;
        case kOlderColSourcePlc:
        case kOlderColDestPlc:
            if (g_bBlockExSlaveMode == 0) ShowCellCombo(row, col);
            break;
        case kOlderColSourceId:
        case kOlderColDestId: ShowCellEdit(row, col, 0, 3); break;
        case kOlderColRepeat: ShowCellEdit(row, col, 0, 2); break;
        case kOlderColSourceAddr:
        case kOlderColDestAddr: ShowCellEdit(row, col, kAddressButtonWidth, 11); break;
        case kOlderColComment: ShowCellEdit(row, col, 0, 100); break;
        default: break;
    }
}

void CBlockExView::ShowCellEdit(int row, int col, int rightInset, int longest) {
    g_bBlockListEdited = 1;
    OpenCellEdit(row, col, rightInset, longest);
}

void CBlockExView::ShowCellCombo(int row, int col) {
    g_bBlockListEdited = 1;
    OpenPlcNameList(row, col);
}

void CBlockExView::PickAddress(int plcCol, int addressCol) {
    const int row = g_nBlockEditRow;
    int port = 0;
    if (!PortForAddressPick(row, plcCol, port)) return;
    g_nBlockEditCol = addressCol;
    blockview::RunAddressDialog(*this, row, addressCol, port, &CAddressDlg::m_strResult);
}

void CBlockExView::OnHelpInfo() {
    if (g_nDownloadDlgMode == 0) g_szHelpTopic = "blockoverview.htm";
    ui::ShowHelp();
}
