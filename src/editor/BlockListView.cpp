#include "editor/BlockListView.h"

#include <algorithm>

#include "editor/NewBlockExView.h"
#include "editor/ToolTipCtrlEx.h"
#include "model/RunTimeState.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/EditorBitmaps.h"
#include "res/EditorResource.h"
#include "res/StringTable.h"
#include "ui/Backend.h"
#include "ui/Controls.h"
#include "ui/Menu.h"

CBlockListView::CBlockListView(int listId, CBlockCellEditBase& edit, CBlockCellComboBase& combo)
    : m_nListId(listId), m_CellEditor(edit), m_CellList(combo) {}

CBlockListView::~CBlockListView() {
    if (m_pInfoWnd && m_pInfoWnd->IsCreated()) m_pInfoWnd->DestroyWindow();
}

bool CBlockListView::BlocksPass(const char* format) const {
    const int failing = FindFailingBlock();
    if (failing < 0) return true;
    CommandBox(platform::Format(format, failing + 1), ui::MB_OK);
    return false;
}

std::vector<int> CBlockListView::SelectionForCommand() {
    std::vector<int> selected = SelectedRows();
    if (selected.empty()) ReportInfo(kSelectionText);
    return selected;
}

bool CBlockListView::CanAddBlock() const {
    // The check runs first; a full list is said before a failing block.
    const int failing = m_nBlockCount > 0 ? FindFailingBlock() : -1;
    if (m_nBlockCount >= kMaxBlocks) {
        CommandBox(kRangeText, ui::MB_OK);
        return false;
    }
    if (failing < 0) return true;
    CommandBox(platform::Format(kCompileErrorText, failing + 1), ui::MB_OK);
    return false;
}

bool CBlockListView::HasCopiedBlock(int copyRow) const {
    if (copyRow != -1) return true;
    CommandBox(LoadString(IDS_COPY_BEFORE_PASTE), ui::MB_OK);
    return false;
}

std::vector<int> CBlockListView::RowsForInsert() {
    if (!BlocksPass(kInsertCompileErrorText)) return {};
    std::vector<int> selected = SelectionForCommand();
    if (selected.empty()) return {};
    // The table holds at most 255 blocks, as Add New Block and Paste Block keep it.
    if (m_nBlockCount >= kMaxBlocks) {
        CommandBox(kRangeText, ui::MB_OK);
        return {};
    }
    return selected;
}

ui::ListView& CBlockListView::GetListCtrl() const { return Item<ui::ListView>(m_nListId); }

std::string CBlockListView::GetCellText(int row, int col) const { return GetListCtrl().GetItemText(row, col); }

bool CBlockListView::SetCellText(int row, int col, const std::string& text) {
    return GetListCtrl().SetItemText(row, col, text);
}

const std::string& CBlockListView::GetInfoText() const {
    static const std::string none;
    return m_pInfoWnd ? m_pInfoWnd->m_strText : none;
}

std::vector<int> CBlockListView::SelectedRows() const {
    std::vector<int> rows;
    const ui::ListView& list = GetListCtrl();
    for (int r = 0; r < list.GetItemCount(); ++r)
        if (list.IsItemSelected(r)) rows.push_back(r);
    return rows;
}

ui::Rect CBlockListView::CellRect(int row, int col) const {
    const ui::ListView& list = GetListCtrl();
    return ControlToWindow(list, list.GetSubItemRect(row, col));
}

void CBlockListView::CloseCellEditors() {
    m_CellEditor.DestroyWindow();
    m_CellList.DestroyWindow();
}

void CBlockListView::DestroyAddressButtons() {
    RemoveControl(IDC_SOURCE_ADDR_BUTTON);
    RemoveControl(IDC_DEST_ADDR_BUTTON);
}

void CBlockListView::DestroyCellControls() {
    CloseCellEditors();
    DestroyAddressButtons();
}

bool CBlockListView::StoreCellControls() {
    const int boxes = ui::MessageBoxesShown();
    DestroyCellControls();
    return ui::MessageBoxesShown() == boxes;
}

void CBlockListView::OpenCellEdit(int row, int col, int rightInset, int limit) {
    ui::Rect rect = CellRect(row, col);
    rect.right -= rightInset;
    m_CellEditor.Create(rect, GetCellText(row, col), limit);
}

void CBlockListView::OpenPlcNameList(int row, int col) {
    ui::Rect rect = CellRect(row, col);
    rect.bottom += 80;  // room for the drop-down list
    m_CellList.Create(rect, GetCellText(row, col));
}

void CBlockListView::PlaceAddressButtons(int row, int sourceCol, int destCol, int width, CToolTipCtrlEx& sourceTip,
                                         CToolTipCtrlEx& destTip) {
    struct Place {
        int id, col;
        CToolTipCtrlEx* tip;
    };
    for (const Place& p : {Place{IDC_SOURCE_ADDR_BUTTON, sourceCol, &sourceTip}, Place{IDC_DEST_ADDR_BUTTON, destCol, &destTip}}) {
        ui::Rect cell = CellRect(row, p.col);
        cell.left = cell.right - width;
        // A bitmap button: its image, no caption.
        ui::Control& button = AddControl(ui::ControlKind::Button, p.id, "", cell);
        button.SetBitmap(res::EditorBitmap(IDB_SET_ADDRESS));
        p.tip->AddTool(&button, "Set Address from Table");
    }
}

bool CBlockListView::PortForAddressPick(int row, int plcCol, int& port) {
    if (ui::Frame* frame = GetParentFrame()) frame->SetActiveView(this);
    const std::string plc = GetCellText(row, plcCol);
    if (plc.find_first_not_of(' ') == std::string::npos) {
        ReportInfo("PLC not defined. Please select PLC.");
        return false;
    }
    port = plc == g_PlcRegisterTables.g_strPLC1Name ? 1 : 2;
    return true;
}

CErrorMessagesDlg& CBlockListView::InfoWindow() {
    if (!m_pInfoWnd) {
        m_pInfoWnd = std::make_unique<CErrorMessagesDlg>(this);
        m_pInfoWnd->Create();
    }
    return *m_pInfoWnd;
}

void CBlockListView::PlaceInfoWindow() {
    // At the foot of the view, as wide as the view, in the main window's coordinates.
    const ui::Rect client = GetClientRect();
    int left = client.left, top = client.top;
    if (ui::Frame* frame = GetParentFrame()) {
        const ui::Rect pane = frame->GetSplitter().GetPaneRect(PaneRow(), PaneCol());
        left += pane.left;
        top += pane.top;
    }
    const int y = top + client.Height() - 40;
    InfoWindow().MoveWindow(ui::Rect{left + 10, y, left + 10 + client.Width(), y + 80});
}

void CBlockListView::OnContextMenu(const ui::Event& event) {
    const std::shared_ptr<ui::Menu> menu = LoadBlockContextMenu();
    if (!g_NewBlockExServices.trackPopupMenu) return;
    const ui::Rect cell = CellRect(std::max(0, event.row), std::max(0, event.col));
    const int command = g_NewBlockExServices.trackPopupMenu(*menu->GetSubMenu(0), cell.left, cell.bottom);
    if (command == 0) return;
    if (ui::Frame* frame = GetParentFrame()) {
        frame->SetActiveView(this);
        frame->UserCommand(command);
    } else {
        OnCommand(command);
    }
}

std::string CBlockListView::AskProjectSavePath(const std::string& fileName) {
    static const char kSaveFilter[] =
        "Project Files (*.prj)|*.prj|Data Files (*.dat;*.txt)|*.dat; *.txt|All Files (*.*)|*.*||";
    ui::FileDialog dialog(false, "prj", fileName, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT, kSaveFilter);
    dialog.SetInitialDir(deffiles::ProjectsFolder(g_szProductName));
    if (dialog.DoModal() != ui::IDOK) return std::string();
    return dialog.GetPathName();
}
