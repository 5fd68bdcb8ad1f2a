#include "tables/RecipeDlg.h"

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/DialogImages.h"
#include "res/TablesDialogs.h"
#include "res/TablesResource.h"
#include "model/TableResets.h"
#include "tables/TableTips.h"
#include "ui/Backend.h"

std::function<int(ui::Dialog& dialog, const ui::Menu& menu, int x, int y)> g_TablesPopupMenu;

namespace {

constexpr int kColumns = 5;
constexpr int kColumnWidth = 100;
constexpr int kColSide = 0, kColField1 = 1, kColField2 = 2, kColAddress = 3, kColValue = 4;

}  // namespace

std::shared_ptr<ui::Menu> LoadRecipePopupMenu() {
    auto popup = std::make_shared<ui::Menu>();
    popup->AppendMenu(ui::MF_STRING, ID_RECIPE_INSERT_ROW, "&Insert Row");
    popup->AppendMenu(ui::MF_STRING, ID_RECIPE_DELETE_ROW, "&Delete Row");
    auto menu = std::make_shared<ui::Menu>();
    menu->AppendPopup("_Popup_", popup);
    return menu;
}

CRecipeDlg::CRecipeDlg(ui::Window* parent)
    : ui::Dialog(res::TablesDialogTemplate(IDD_RECIPE), parent), m_Grid(*this, IDC_RECIPE_GRID, *this) {}

CRecipeDlg::~CRecipeDlg() = default;

const ui::HandlerTable* CRecipeDlg::GetHandlerTable() const {
    using D = CRecipeDlg;
    using ui::Notify;
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(Notify::Clicked, IDC_RECIPE_GRID, &D::OnGridClick),
        ui::On(Notify::RClick, IDC_RECIPE_GRID, &D::OnRClickList),
        ui::On(Notify::Scroll, IDC_RECIPE_GRID, &D::OnGridScroll),
        ui::On(Notify::Command, ID_RECIPE_INSERT_ROW, &D::OnInsertRow),
        ui::On(Notify::Command, ID_RECIPE_DELETE_ROW, &D::OnDeleteRow),
        ui::On(Notify::KillFocus, IDC_GRID_COMBO, &D::OnComboKillFocus),
        ui::On(Notify::KeyDown, IDC_GRID_COMBO, &D::OnComboKey),
        ui::On(Notify::CloseUp, IDC_GRID_COMBO, &D::OnComboCloseUp),
        ui::On(Notify::KillFocus, IDC_GRID_EDIT, &D::OnEditKillFocus),
        ui::On(Notify::KeyDown, IDC_GRID_EDIT, &D::OnEditKey),
        ui::On(Notify::Change, IDC_GRID_EDIT, &D::OnEditChange),
        ui::On(Notify::Clicked, IDC_GRID_BUTTON, &D::OnGridButton),
    });
    return &table;
}

void CRecipeDlg::OnGridClick(const ui::Event& event) {
    m_Grid.OnLButtonDown(event.row, event.col, unsigned(event.key));
}
void CRecipeDlg::OnComboCloseUp() { GetInPlaceCombo()->OnCloseUp(); }
void CRecipeDlg::OnGridScroll() { m_Grid.List().SetFocus(); }
void CRecipeDlg::OnComboKillFocus() { GetInPlaceCombo()->OnKillFocus(); }
void CRecipeDlg::OnComboKey(const ui::Event& event) { GetInPlaceCombo()->OnKeyDown(event.key); }
void CRecipeDlg::OnEditKillFocus() { GetInPlaceEdit()->OnKillFocus(); }
void CRecipeDlg::OnEditKey(const ui::Event& event) { GetInPlaceEdit()->OnKeyDown(event.key); }
void CRecipeDlg::OnEditChange() { GetInPlaceEdit()->OnChange(); }
void CRecipeDlg::OnGridButton() { g_GridButton.OnClicked(); }

bool CRecipeDlg::OnInitDialog() {
    SetOkCancelTips(*this);
    Item(IDC_RECIPE_PICTURE).SetBitmap(res::TablesBitmap(IDB_RECIPES));
    const CRecipeTables& r = g_RecipeTables;
    ui::ListView& list = m_Grid.List();
    // One column per title of the PLC file; the five the rows need are always there.
    size_t titles = std::max<size_t>(r.g_arrRecipeColumns.size(), kColumns);
    for (size_t c = 0; c < titles; ++c) {
        const std::string title = c < r.g_arrRecipeColumns.size() ? r.g_arrRecipeColumns[c] : std::string();
        list.InsertColumn(static_cast<int>(c), title, ui::LVCFMT_LEFT, kColumnWidth);
    }
    m_Grid.SetComboColumn(kColSide, true);
    m_Grid.SetComboVScroll(true);
    list.ModifyStyle(0, ui::style::kBorder | ui::style::kGridLines | ui::style::kFullRowSelect | ui::style::kExtendedSel);

    const size_t rows = std::min<size_t>(r.g_arrRecipeAddr.size(), kMaxRecipeRows);
    if (g_nRecipeState == 1 || rows == 0) {
        InsertDefaultRow(0, g_bRecipesCom1 == 1 ? "Com1" : "Com2");
    } else {
        for (size_t i = 0; i < rows; ++i) {
            const int row = list.InsertItem(static_cast<int>(i), r.g_abRecipePort[i] == 1 ? "Com1" : "Com2");
            list.SetItemText(row, kColField1, platform::Format("%u", unsigned(r.g_abRecipeCol1[i])));
            list.SetItemText(row, kColField2, platform::Format("%u", unsigned(r.g_abRecipeCol2[i])));
            list.SetItemText(row, kColAddress, r.g_arrRecipeAddr[i]);
            list.SetItemText(row, kColValue, platform::Format("%u", unsigned(r.g_awRecipeValue[i])));
        }
    }
    g_bRecipeDlgOpen = 1;
    return true;
}

void CRecipeDlg::InsertDefaultRow(int index, const std::string& side) {
    ui::ListView& list = m_Grid.List();
    const int row = list.InsertItem(index, side);
    list.SetItemText(row, kColField1, "1");
    list.SetItemText(row, kColField2, "1");
    list.SetItemText(row, kColAddress, "");
    list.SetItemText(row, kColValue, "65535");
    list.SetItemData(row, kRecipeValueUntouched);
}

void CRecipeDlg::OnGridComboItems(int column, std::vector<std::string>& items) {
    items.clear();
    if (column != kColSide) return;
    if (g_bRecipesCom1 == 1) items.push_back("Com1");
    if (g_bRecipesCom2 == 1) items.push_back("Com2");
}

void CRecipeDlg::OnGridCellEdited(int gridId, int row, int column) {
    (void)gridId;
    (void)row;
    (void)column;
}

std::vector<int> CRecipeDlg::SelectedRows() const {
    std::vector<int> rows;
    const ui::ListView& list = m_Grid.List();
    for (int r = 0; r < list.GetItemCount(); ++r)
        if (list.IsItemSelected(r)) rows.push_back(r);
    return rows;
}

void CRecipeDlg::OnRClickList(const ui::Event& event) {
    std::shared_ptr<ui::Menu> menu = LoadRecipePopupMenu();
    ui::Menu* popup = menu->GetSubMenu(0);
    popup->EnableMenuItem(ID_RECIPE_DELETE_ROW, ui::MF_BYCOMMAND | (SelectedRows().empty() ? ui::MF_GRAYED : 0));
    // The holder keeps at most 150 rows: no row beyond them.
    if (m_Grid.List().GetItemCount() >= kMaxRecipeRows)
        popup->EnableMenuItem(ID_RECIPE_INSERT_ROW, ui::MF_BYCOMMAND | ui::MF_GRAYED);
    if (!g_TablesPopupMenu) return;
    ui::ListView& list = m_Grid.List();
    ui::Rect at = GetControlPixelRect(list);
    int x = at.left, y = at.top;
    if (event.row >= 0 && event.col >= 0) {
        const ui::Rect cell = ControlToWindow(list, list.GetSubItemRect(event.row, event.col));
        x = cell.left;
        y = cell.bottom;
    }
    const int command = g_TablesPopupMenu(*this, *popup, x, y);
    if (command == 0) return;
    const unsigned state = popup->GetMenuState(command, ui::MF_BYCOMMAND);
    if (state == ui::kMenuError || (state & ui::MF_GRAYED)) return;
    OnCommand(command);
}

void CRecipeDlg::OnInsertRow() {
    ui::ListView& list = m_Grid.List();
    m_Grid.CloseEditors();
    const int n = list.GetItemCount();
    if (n >= kMaxRecipeRows) {
        ui::MessageBox("The recipe table holds at most 150 rows.", "Recipes", ui::MB_OK | ui::MB_ICONINFORMATION);
        return;
    }
    if (n >= 1 && list.GetItemText(n - 1, kColAddress).empty()) {
        ui::MessageBox("Please complete the previous row.", "Incomplete row", ui::MB_OK | ui::MB_ICONINFORMATION);
        return;
    }
    int position = -1;
    for (int r : SelectedRows()) {
        if (position < 0) position = r;
        list.SetItemSelected(r, false);
    }
    // A new row starts on a side that takes recipes, as the first row does.
    InsertDefaultRow(position < 0 ? n : position, g_bRecipesCom1 == 1 ? "Com1" : "Com2");
}

void CRecipeDlg::OnDeleteRow() {
    m_Grid.CloseEditors();
    ui::ListView& list = m_Grid.List();
    const std::vector<int> rows = SelectedRows();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) list.DeleteItem(*it);
    if (g_GridButton.IsOpen()) g_GridButton.DestroyWindow();
}

bool CRecipeDlg::CheckRows() {
    ui::ListView& list = m_Grid.List();
    const int n = std::min(list.GetItemCount(), kMaxRecipeRows);
    int incomplete = -1;
    bool complete = false;
    for (int i = 0; i < n; ++i) {
        if (!list.GetItemText(i, kColAddress).empty()) complete = true;
        else if (incomplete < 0) incomplete = i;
    }
    // A table with no address at all is stored empty; one row without an address among
    // rows that have one is named, and nothing is stored until it is completed or deleted.
    auto refuse = [&](int row, const std::string& text, const std::string& caption) {
        for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemSelected(i, i == row);
        list.EnsureVisible(row);
        ui::MessageBox(text, caption, ui::MB_OK | ui::MB_ICONINFORMATION);
        return false;
    };
    if (!complete) return true;
    if (incomplete >= 0)
        return refuse(incomplete, platform::Format("Please complete row %d.", incomplete + 1), "Incomplete row");
    // Each row again as its cells are checked: a side changed after the address, or a
    // cell given its text some other way, is caught here before anything is stored.
    for (int i = 0; i < n; ++i) {
        const int port = static_cast<int>(GridPortOf(list.GetItemText(i, kColSide)));
        const std::string address = list.GetItemText(i, kColAddress);
        for (const RecipeCheck& check : {CheckRecipeParameter(kColField1, list.GetItemText(i, kColField1)),
                                         CheckRecipeParameter(kColField2, list.GetItemText(i, kColField2)),
                                         CheckRecipeAddress(address, port),
                                         CheckRecipeValue(list.GetItemText(i, kColValue), address, port)})
            if (!check.messages.empty()) return refuse(i, check.messages.front(), "Error");
    }
    return true;
}

void CRecipeDlg::OnOK() {
    // An editor still open stores its text first.
    m_Grid.List().SetFocus();
    m_Grid.CloseEditors();
    if (!CheckRows()) return;
    CRecipeTables& r = g_RecipeTables;
    const bool hadRows = !r.g_arrRecipeAddr.empty();
    const int wasModified = g_bProjectModified;
    ClearRecipeTables();
    g_nRecipeState = 0;
    g_bProjectModified = 1;
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    ui::ListView& list = m_Grid.List();
    const int n = std::min(list.GetItemCount(), kMaxRecipeRows);
    for (int i = 0; i < n; ++i) {
        const int side = list.GetItemText(i, kColSide) == "Com1" ? 1 : 2;
        r.g_abRecipePort[i] = static_cast<uint8_t>(side);
        r.g_abRecipeCol1[i] = static_cast<uint8_t>(platform::Atoi(list.GetItemText(i, kColField1)));
        r.g_abRecipeCol2[i] = static_cast<uint8_t>(platform::Atoi(list.GetItemText(i, kColField2)));
        const std::string address = list.GetItemText(i, kColAddress);
        if (address.empty()) {
            // No row has an address (the rows were checked): the table is stored empty. The
            // project counts as changed when it had recipes before.
            ClearRecipeTables();
            g_nRecipeState = 1;
            g_bProjectModified = wasModified == 1 || hadRows ? 1 : 0;
            break;
        }
        r.g_arrRecipeAddr.push_back(address);
        const std::string parsed = side == 1 ? t.ParseAddressCom1(address) : t.ParseAddressCom2(address);
        r.g_arrRecipeRegCode.push_back(parsed.substr(0, 9));
        r.g_abRecipeIsCoil[i] = static_cast<uint8_t>(t.IsCoilAddress(address, side));
        const std::string value = list.GetItemText(i, kColValue);
        r.g_arrRecipeValueText.push_back(value);
        r.g_awRecipeValue[i] = static_cast<uint16_t>(platform::Atoi(value));
    }
    g_bRecipeDlgOpen = 0;
    EndDialog(ui::IDOK);
}

void CRecipeDlg::OnCancel() {
    g_bRecipeDlgOpen = 0;
    EndDialog(ui::IDCANCEL);
}
