#include "editor/NewBlockExView.h"

#include <algorithm>
#include <cstdint>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "compiler/CompileBlock.h"
#include "model/BlockTableData.h"
#include "plc/FeatureKeys.h"
#include "editor/BlockViewShared.h"
#include "editor/RegisterAddressDlg.h"
#include "plc/BlockEditorHost.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/EditorBitmaps.h"
#include "res/EditorResource.h"
#include "res/FrameResource.h"
#include "tables/DBViewClass1.h"
#include "projectfiles/ProjectIdb.h"
#include "tables/DBViewClass2.h"

CNewBlockExView* g_pNewBlockExView = nullptr;

const std::string CNewBlockExView::kClearInfoText(67, ' ');

namespace {

constexpr blockview::ColumnSpec kMasterColumns[kBlockListColumns] = {
    {"Block No.", 70},      {"# Words/Bits", 75},        {"Source PLC", 80},     {"Source ID", 60},
    {"Source Address", 90}, {"Destination PLC", 90},     {"Destination ID", 80}, {"Destination Address", 90},
    {"Repeat Cycle", 60},   {"Control Bit", 60},         {"Comment", 60},
};
constexpr blockview::ColumnSpec kSlaveColumns[kBlockListColumns] = {
    {"Block No.", 70},     {"# Words/Bits", 95}, {"Slave Port", 80}, {"Source ID", 0},
    {"Slave Address", 100}, {"Target PLC", 100},  {"Target ID", 80},  {"Target Address", 120},
    {"Repeat Cycle", 0},   {"Control Bit", 0},   {"Comment", 130},
};

constexpr int kSetAddressButtonWidth = 20;

std::string BlockNumberText(int number) { return platform::Format("%d               ", number); }


bool HasIdb(const std::string& plcFile) {
    const std::string idb = deffiles::ReadText(plcFile, "Plc Info", "IDB", "NA", 10);
    return platform::ToUpper(idb) == "TRUE";
}

}  // namespace

int ScaleExtSetupValue(int value, int mode, int factor) {
    const std::int64_t v = value, f = factor;
    std::int64_t result = v;
    switch (mode) {
        case 1: result = v + f; break;
        case 2: result = v - f; break;
        case 3: result = v * f; break;
        case 4: result = f != 0 ? v / f : v; break;  // no factor: nothing to divide by
        default: break;
    }
    return int(std::clamp<std::int64_t>(result, INT32_MIN, INT32_MAX));
}

void BuildExtSetupDefaults(int port) {
    CGeneralEntityTables& g = g_GeneralEntity;
    std::uint8_t* buffer = port == 1 ? g.g_abExtSetup1 : g.g_abExtSetup2;
    const StringArray* items = port == 1 ? g.g_arrGeneralEntityCom1 : g.g_arrGeneralEntityCom2;
    const int count = port == 1 ? g.g_nGeneralEntityCount1 : g.g_nGeneralEntityCount2;
    constexpr size_t kSize = sizeof(g.g_abExtSetup1);
    std::fill(buffer, buffer + kSize, std::uint8_t(0));
    size_t at = 0;
    // Every byte stops at the buffer's end.
    auto put = [&](int value) {
        if (at < kSize) buffer[at++] = std::uint8_t(value & 0xFF);
    };
    for (int i = 0; i < count; ++i) {
        auto field = [&](int f) {  // item fields 1 to 9
            const StringArray& table = items[f - 1];
            return size_t(i) < table.size() ? platform::Atoi(table[size_t(i)]) : 0;
        };
        switch (field(3)) {
            case 1: {
                const int value = ScaleExtSetupValue(field(4), field(8), field(9));
                if (field(2) == 1) {
                    put(value);
                } else if (field(2) == 2) {
                    put(value);
                    put(value >> 8);
                }
                break;
            }
            case 2: put(field(6)); break;
            case 3:
                for (int f = 4; f <= 7; ++f) put(field(f));
                break;
            case 4:
            case 5: put(field(5)); break;
            default: break;
        }
    }
}

CNewBlockExView::CNewBlockExView() : CBlockListView(IDC_NEW_BLOCK_LIST, m_CellEdit, m_CellCombo) {
    m_CellEdit.Attach(this);
    m_CellCombo.Attach(this);
    m_SourceButton.Attach(this);
    m_DestButton.Attach(this);
    m_nBlockCount = 0;
    m_nCurrentRow = 0;
    g_nNewBlockEditRow = 0;
    g_nNewBlockEditCol = 0;
    g_bProjectOpen = 1;
    g_bNoBlockView = 0;
    g_arrCanDrivers.clear();
    g_nCopyBlockRow = -1;
    // The list is the view's content from the start and shows the project's rows, so that
    // rows can be handed to it at any time; its columns come with the initial update.
    // Several rows may be selected (Remove Block takes them all).
    AddControl(ui::ControlKind::ListView, IDC_NEW_BLOCK_LIST, "", ui::Rect{0, 0, 0, 0},
               ui::style::kGridLines | ui::style::kFullRowSelect | ui::style::kBorder | ui::style::kTabStop |
                   ui::style::kExtendedSel);
    static ui::ArrayTextStore<kBlockListColumns> projectRows(g_BlockListRows);
    GetListCtrl().BindTexts(&projectRows);
    g_pNewBlockExView = this;
}

CNewBlockExView::~CNewBlockExView() {
    if (g_pNewBlockExView == this) g_pNewBlockExView = nullptr;
}

const ui::HandlerTable* CNewBlockExView::GetHandlerTable() const {
    using ui::Notify;
    using V = CNewBlockExView;
    static const ui::HandlerTable table(ui::View::GetHandlerTable(), {
        ui::On(Notify::Clicked, IDC_NEW_BLOCK_LIST, &V::OnClick),
        ui::On(Notify::Change, IDC_NEW_CELL_EDIT, &V::OnCellEditChange),
        ui::On(Notify::KeyDown, IDC_NEW_CELL_EDIT, &V::OnCellEditKey),
        ui::On(Notify::KillFocus, IDC_NEW_CELL_EDIT, &V::OnCellEditKillFocus),
        ui::On(Notify::KeyDown, IDC_NEW_CELL_COMBO, &V::OnCellComboKey),
        ui::On(Notify::KillFocus, IDC_NEW_CELL_COMBO, &V::OnCellComboKillFocus),
        ui::On(Notify::Clicked, IDC_SOURCE_ADDR_BUTTON, &V::OnSourceButton),
        ui::On(Notify::Clicked, IDC_DEST_ADDR_BUTTON, &V::OnDestButton),
        ui::On(Notify::RClick, IDC_NEW_BLOCK_LIST, &V::OnContextMenu),
        ui::On(Notify::KeyDown, IDC_NEW_BLOCK_LIST, &V::OnKeyDown),
        ui::On(Notify::Scroll, IDC_NEW_BLOCK_LIST, &V::OnVScroll),
        ui::On(Notify::Command, ID_ADD_NEW_BLOCK, &V::OnAddNewBlock),
        ui::On(Notify::Command, ID_INSERT_BLOCK, &V::OnInsertBlock),
        ui::On(Notify::Command, ID_REMOVE_BLOCK, &V::OnRemoveBlock),
        ui::On(Notify::Command, ID_COPY_BLOCK, &V::OnCopyBlock),
        ui::On(Notify::Command, ID_PASTE_BLOCK, &V::OnPasteBlock),
        ui::On(Notify::Command, ID_PLC1_SETTING, &V::OnPlc1Setting),
        ui::On(Notify::Command, ID_PLC2_SETTING, &V::OnPlc2Setting),
        ui::On(Notify::Command, ID_DOWNLOAD, &V::OnDownload),
        ui::On(Notify::Command, ID_FILE_CLOSE_PROJECT, &V::OnCloseProject),
        ui::On(Notify::Command, ID_FILE_SAVE_PROJECT, &V::OnFileSave),
        ui::On(Notify::Command, ID_FILE_SAVE_PROJECT_AS, &V::OnFileSaveAs),
        ui::On(Notify::Command, ID_PROJECT_INFORMATION, &V::OnProjectInformation),
        ui::On(Notify::Command, ID_RECIPES, &V::OnRecipes),
        ui::On(Notify::Command, ID_ATTACH_REGISTERS, &V::OnAttachRegisters),
        ui::On(Notify::Command, ID_ETHERNET_NODE_TABLE, &V::OnEthernetNodeTable),
        ui::On(Notify::Command, ID_MAC_ADDRESS, &V::OnMacAddress),
        ui::On(Notify::Command, ID_HTML_DOWNLOAD, &V::OnHtmlDownload),
        ui::On(Notify::Command, ID_RUN_KORVO, &V::OnRunKorvo),
        ui::On(Notify::UpdateUI, ID_PLC1_SETTING, &V::OnUpdateDialogCommand),
        ui::On(Notify::UpdateUI, ID_PLC2_SETTING, &V::OnUpdateDialogCommand),
        ui::On(Notify::UpdateUI, ID_RECIPES, &V::OnUpdateDialogCommand),
        ui::On(Notify::UpdateUI, ID_ATTACH_REGISTERS, &V::OnUpdateDialogCommand),
        ui::On(Notify::UpdateUI, ID_ETHERNET_NODE_TABLE, &V::OnUpdateDialogCommand),
        ui::On(Notify::UpdateUI, ID_MAC_ADDRESS, &V::OnUpdateDialogCommand),
        ui::On(Notify::UpdateUI, ID_HTML_DOWNLOAD, &V::OnUpdateDialogCommand),
        ui::On(Notify::UpdateUI, ID_RUN_KORVO, &V::OnUpdateDialogCommand),
        ui::On(Notify::UpdateUI, ID_ETHERNET_DOWNLOAD, &V::OnUpdateDialogCommand),
    });
    return &table;
}

void CNewBlockExView::OnSize(int cx, int cy) { GetListCtrl().MoveWindow(ui::Rect{0, 0, cx, cy}); }

void CNewBlockExView::InsertColumns(bool slave) {
    blockview::SetColumns(GetListCtrl(), slave ? kSlaveColumns : kMasterColumns, kBlockListColumns);
}

void CNewBlockExView::InsertFirstSlaveRow(const std::string& slavePlc, const std::string& otherPlc) {
    ui::ListView& list = GetListCtrl();
    const int row = list.InsertItem(0, BlockNumberText(1));
    const char* texts[] = {nullptr, "1", nullptr, "1", " ", nullptr, "1", " ", "1", "0"};
    for (int c = 1; c <= 9; ++c)
        list.SetItemText(row, c, c == 2 ? slavePlc : c == 5 ? otherPlc : texts[c]);
    m_nBlockCount = 1;
}

void CNewBlockExView::OnInitialUpdate() {
    LoadNewerPlcPairState();
    ShowProject();
}

void CNewBlockExView::ShowProject() {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    m_ToolTip1.Create(this);
    m_ToolTip2.Create(this);

    // Columns: the slave layout when either PLC definition says it is a slave.
    const int slave2 = deffiles::ReadSlaveKey(t.g_strPlc2Inf);
    const int slave1 = deffiles::ReadSlaveKey(t.g_strPlc1Inf);
    InsertColumns(slave1 == 1 || slave2 == 1);

    InfoWindow();  // made hidden, shown with the first message

    // A new project starts with one row: the slave's first row when a PLC is a slave (the
    // COM1 PLC when its file says so, else the COM2 PLC), else the default row.
    if (g_bUntitled == 1) {
        ui::ListView& list = GetListCtrl();
        while (list.GetItemCount() > 0) list.DeleteItem(0);
        m_nBlockCount = 0;
        if (slave1 == 1)
            InsertFirstSlaveRow(t.g_strPLC1Name, t.g_strPLC2Name);
        else if (slave2 == 1)
            InsertFirstSlaveRow(t.g_strPLC2Name, t.g_strPLC1Name);
        else
            AddDefaultRow();
    } else {
        ShowProjectRows();
    }

    // Block data size: the product's entry in products.inf (the last one of that name);
    // the key's own default when no entry matches.
    m_nBlockDataSize = 1;
    if (const int entry = deffiles::FindProductEntry(g_szProductName); entry > 0)
        m_nBlockDataSize = platform::Atoi(deffiles::ReadProductDSize(entry));

    m_bCom1HasIdb = HasIdb(t.g_strPlc1Inf) ? 1 : 0;
    m_bCom2HasIdb = HasIdb(t.g_strPlc2Inf) ? 1 : 0;
    m_nCom1Limit = deffiles::ReadInt(t.g_strPlc1Inf, "Plc Info", "limit", 10);
    m_nCom2Limit = deffiles::ReadInt(t.g_strPlc2Inf, "Plc Info", "limit", 10);

    // The COM2 internal-database pane takes the columns of the current COM2 layout.
    if (ui::Frame* frame = GetParentFrame()) {
        if (auto* pane = dynamic_cast<DBViewClass2*>(frame->GetSplitter().GetPane(2, 1))) {
            frame->SetActiveView(pane);
            pane->ResetColumns();
            pane->OnInitialUpdate();
            DeleteIdbPaneColumns(*pane);
        }
        frame->SetActiveView(this);
    }

    m_bShowMacAddress = deffiles::ReadMacAddressShow(g_szProductNameCopy);

    if (g_bUntitled == 1) {
        BuildExtSetupDefaults(1);
        BuildExtSetupDefaults(2);
    }
}

void CNewBlockExView::DeleteIdbPaneColumns(ui::View& pane) {
    for (const auto& control : pane.Controls()) {
        if (auto* list = dynamic_cast<ui::ListView*>(control.get())) {
            for (int c : {9, 10, 11, 12, 13}) list->DeleteColumn(c);  // absent ones are skipped
            return;
        }
    }
}

int CNewBlockExView::AddDefaultRow() {
    ui::ListView& list = GetListCtrl();
    const int r = m_nBlockCount;
    if (r >= kMaxBlocks) return 0;
    list.InsertItem(r, BlockNumberText(r + 1));
    list.SetRowCheck(r, true);
    const char* texts[] = {nullptr, "1", " ", "1", " ", " ", "1", " ", "1", "0"};
    for (int c = 1; c <= 9; ++c) list.SetItemText(r, c, texts[c]);
    m_nCurrentRow = r;
    m_nBlockCount = r + 1;
    g_nRecipeState = 1;
    g_bExtSetupError1 = 1;
    g_bExtSetupError2 = 1;
    return 0;
}

void CNewBlockExView::SetInfoText(const std::string& text) {
    CErrorMessagesDlg& info = InfoWindow();
    info.SetText(text);
    if (info.IsWindowVisible()) return;
    if (text.find_first_not_of(' ') == std::string::npos) return;  // blank: stays hidden
    info.ShowWindow(true);
    PlaceInfoWindow();
    info.Invalidate();
}

void CNewBlockExView::ReportInfo(const std::string& text) {
    if (GetBlockEditorHost()) ShowNewInfoText(text);
    else SetInfoText(text);
}

int CNewBlockExView::GetPlcPort(const std::string& plcName) const {
    return plcName == g_PlcRegisterTables.g_strPLC1Name ? 1 : 2;
}

int CNewBlockExView::RefreshIdbView1() {
    if (ui::Frame* frame = GetParentFrame()) {
        if (auto* pane = dynamic_cast<DBViewClass1*>(frame->GetSplitter().GetPane(1, 1))) {
            frame->SetActiveView(pane);
            pane->ClearList();
        }
    }
    g_BlockTables.ClearTables();
    return 0;
}

int CNewBlockExView::RefreshIdbView2() {
    if (ui::Frame* frame = GetParentFrame()) {
        if (auto* pane = dynamic_cast<DBViewClass2*>(frame->GetSplitter().GetPane(2, 1))) {
            frame->SetActiveView(pane);
            pane->ClearList();
        }
    }
    g_BlockTables.ClearTables();
    return 0;
}

BlockRows CNewBlockExView::GetBlockRows() const { return g_BlockListRows; }

void CNewBlockExView::ShowProjectRows() {
    ui::ListView& list = GetListCtrl();
    list.BindTexts(list.GetTextStore());
    for (int r = 0; r < list.GetItemCount(); ++r) list.SetRowCheck(r, true);
    m_nBlockCount = list.GetItemCount();
    m_nCurrentRow = std::max(0, m_nBlockCount - 1);
}

void CNewBlockExView::AppendBlockRows(const BlockRows& rows) {
    ui::ListView& list = GetListCtrl();
    for (const BlockRow& row : rows) {
        if (list.GetItemCount() >= kMaxBlocks) break;
        const int r = list.InsertItem(list.GetItemCount(), row[kColBlockNo]);
        list.SetRowCheck(r, true);
        for (int c = 1; c < kBlockListColumns; ++c) list.SetItemText(r, c, row[size_t(c)]);
    }
    m_nBlockCount = list.GetItemCount();
    m_nCurrentRow = std::max(0, m_nBlockCount - 1);
}

int CNewBlockExView::CompileBlock(int row) const {
    const ui::ListView& list = GetListCtrl();
    if (row < 0 || row >= list.GetItemCount()) return 1;
    BlockRow cells;
    for (int c = 0; c < kBlockListColumns; ++c) cells[size_t(c)] = list.GetItemText(row, c);
    return ::CompileBlock(cells, row, g_bSlaveMode == 1);
}

// ---------------------------------------------------------------------------------------
// Cell editing

void CNewBlockExView::OnClick(const ui::Event& event) {
    // A click in the list makes it the pane the commands go to.
    if (ui::Frame* frame = GetParentFrame()) frame->SetActiveView(this);
    ReportInfo(kClearInfoText);
    if (event.row >= 0) CreateSetAddressButton(event.row, event.col);
}

void CNewBlockExView::PlaceSetAddressButtons(int row) {
    DestroyAddressButtons();
    PlaceAddressButtons(row, kColSourceAddr, kColDestAddr, kSetAddressButtonWidth, m_ToolTip1, m_ToolTip2);
}

void CNewBlockExView::CreateSetAddressButton(int row, int col) {
    // One editor at a time: one still open stores its text on its own cell first.
    if (!EnterCell(row, col, g_nNewBlockEditRow, g_nNewBlockEditCol)) return;
    PlaceSetAddressButtons(row);

    const bool slave = g_bSlaveMode == 1;
    switch (col) {
        case kColWords: EditSubItem(row, col, 0, slave && g_bCom2Driver135 == 1 ? 5 : 3); break;
        case kColSourcePlc:
        case kColDestPlc:
            if (!slave) ShowPlcList(row, col);
            break;
        case kColSourceId:
            if (!slave) EditSubItem(row, col, 0, 3);
            break;
        case kColSourceAddr:
        case kColDestAddr: EditSubItem(row, col, kSetAddressButtonWidth, 11); break;
        case kColDestId: EditSubItem(row, col, 0, 3); break;
        case kColRepeatCycle:
            if (!slave) EditSubItem(row, col, 0, 2);
            break;
        case kColControlBit:
            if (!slave) EditSubItem(row, col, 0, 3);
            break;
        case kColComment: EditSubItem(row, col, 0, 100); break;
        default: break;
    }
}

void CNewBlockExView::EditSubItem(int row, int col, int rightInset, int limit) {
    g_bProjectModified = 1;
    OpenCellEdit(row, col, rightInset, limit);
}

void CNewBlockExView::ShowPlcList(int row, int col) {
    g_bProjectModified = 1;
    OpenPlcNameList(row, col);
}

void CNewBlockExView::PickAddress(int plcCol, int addressCol) {
    const int row = g_nNewBlockEditRow;
    int port = 0;
    if (!PortForAddressPick(row, plcCol, port)) return;
    g_nNewBlockEditCol = addressCol;
    if (!blockview::RunAddressDialog(*this, row, addressCol, port, &CRegisterAddressDlg::m_strNewAddress)) return;
    // An address set from the table is an edit like a typed one.
    g_bNewBlockListEdited = 1;
    g_bProjectModified = 1;
}
