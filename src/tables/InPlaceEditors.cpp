#include "tables/InPlaceEditors.h"

#include <algorithm>
#include <memory>

#include "model/ExtendedTables.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/EditorBitmaps.h"
#include "res/EditorResource.h"
#include "res/TablesResource.h"
#include "ui/Backend.h"

unsigned g_nGridClickColumn = 0;
unsigned g_nGridClickRow = 0;
unsigned g_nGridClickPort = 0;
CGridButton g_GridButton;
std::function<bool(ui::Dialog& parent, int port, const std::string& address, std::string& picked)>
    g_GridAddressPicker;

namespace {

std::unique_ptr<CInPlaceCombo> g_pInPlaceCombo;
std::unique_ptr<CInPlaceEdit> g_pInPlaceEdit;

constexpr int kValueColumn = 4;
constexpr int kComboRows = 11;

const char* const kReadOnlyCoil = "Can not write to Read only Coil.\n Please select Read/Write Coil.";
const char* const kReadOnlyRegister = "Can not write to Read only Register.\n Please select Read/Write Register.";

void ShowError(const std::string& text) {
    ui::MessageBox(text, "Error", ui::MB_OK | ui::MB_ICONINFORMATION);
}

int EditLimit(int column) {
    switch (column) {
        case 1:
        case 2: return 3;
        case 3: return 15;
        case 4: return 5;
        default: return 0;
    }
}

std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void ShowErrors(const std::vector<std::string>& messages) {
    for (const std::string& m : messages) ShowError(m);
}

// The number a numeric cell holds; -1 when it is empty or holds anything but digits (the
// unit would get some other number than the one shown).
long CellNumber(const std::string& text) {
    if (text.empty()) return -1;
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = std::min(value * 10 + (c - '0'), 1000000L);
    }
    return value;
}

}  // namespace

RecipeCheck CheckRecipeParameter(int column, const std::string& text) {
    RecipeCheck check{{}, text};
    const long value = CellNumber(text);
    if (column == 1 && (value < 0 || value > 255)) {
        check.messages.push_back("Invalid Value.Please Enter Valid Data Between 0-255.");
        check.text = "1";
    } else if (column == 2 && (value < 1 || value > 255)) {
        check.messages.push_back("Invalid Value.Please Enter Valid Data Between 1-255.");
        check.text = "1";
    }
    return check;
}

RecipeCheck CheckRecipeAddress(const std::string& address, int port) {
    RecipeCheck check{{}, TrimBlanks(address)};
    const std::string& text = check.text;
    if (text.empty()) return check;
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const int p = port == 1 ? 1 : 2;
    const int r = t.FindRegisterByPrefix(text, p);
    std::string fault;
    if (r < 0) {
        fault = "Invalid Address.Please Enter Valid Address.";
    } else if (const int kind = t.GetRegisterKind(text, p); kind == 2) {
        fault = kReadOnlyCoil;
    } else if (kind == 3) {
        fault = kReadOnlyRegister;
    } else if (text.find('_') != std::string::npos ||
               (p == 1 ? t.ValidateAddressCom1(text, r) : t.ValidateAddressCom2(text, r)) != 0 ||
               t.HasPartsBeyondRegister(text, p, r) ||
               (p == 1 ? t.ParseAddressCom1(text) : t.ParseAddressCom2(text)).size() > 9) {
        // A recipe names a whole register inside its type's ranges, in the nine characters
        // of the unit's key: anything else would reach the unit as another register.
        fault = "Invalid Address.Please Enter Valid Address.";
    }
    if (!fault.empty()) {
        check.messages.push_back(fault);
        check.text.clear();
    }
    return check;
}

RecipeCheck CheckRecipeValue(const std::string& value, const std::string& address, int port) {
    RecipeCheck check{{}, value};
    if (address.empty()) return check;
    const bool coil = g_PlcRegisterTables.IsCoilAddress(address, port == 1 ? 1 : 2) == 1;
    const long number = CellNumber(value);
    if (coil && (number < 0 || number > 1)) {
        check.messages.push_back("Invalid Value.Please Enter Valid Data between 0-1.");
        check.text = "1";
    }
    if (number < 0 || number > 65535) {
        check.messages.push_back("Invalid Value.Please Enter Valid Data between 0-65535.");
        // A coil keeps the one value it can hold.
        check.text = coil ? "1" : "65535";
    }
    return check;
}

unsigned GridPortOf(const std::string& sideText) { return sideText == "Com1" ? 1u : 2u; }

CInPlaceCombo* GetInPlaceCombo() {
    if (!g_pInPlaceCombo) g_pInPlaceCombo = std::make_unique<CInPlaceCombo>();
    return g_pInPlaceCombo.get();
}

CInPlaceEdit* GetInPlaceEdit() {
    if (!g_pInPlaceEdit) g_pInPlaceEdit = std::make_unique<CInPlaceEdit>();
    return g_pInPlaceEdit.get();
}

void DestroyInPlaceCombo() { g_pInPlaceCombo.reset(); }
void DestroyInPlaceEdit() { g_pInPlaceEdit.reset(); }

// ---------------------------------------------------------------------------------------
// The combo

void CInPlaceCombo::ShowInPlaceCombo(const ui::Rect& rect, CEditGridCtrl& grid, int row, int column,
                                     const std::vector<std::string>& items, const std::string& text, int index) {
    m_pGrid = &grid;
    m_nRow = row;
    m_nColumn = column;
    m_bCancel = false;
    m_lstItems = items;
    if (index == -1) {
        if (!text.empty()) m_strInitialText = text;
    } else if (index >= 0 && static_cast<size_t>(index) < items.size()) {
        m_strInitialText = items[static_cast<size_t>(index)];
    }
    ui::ListControl* combo = Control();
    if (!combo) {
        combo = static_cast<ui::ListControl*>(&grid.Dialog().AddControl(
            ui::ControlKind::DropList, IDC_GRID_COMBO, "", rect, grid.m_nComboStyle));
        combo->SetFocus();
    }
    combo->ResetContent();
    for (const std::string& item : m_lstItems) combo->AddString(item);
    combo->SetCurSel(m_lstItems.empty() ? -1 : 0);
}

ui::ListControl* CInPlaceCombo::Control() const {
    if (!m_pGrid) return nullptr;
    return dynamic_cast<ui::ListControl*>(m_pGrid->Dialog().GetDlgItem(IDC_GRID_COMBO));
}

bool CInPlaceCombo::IsOpen() const { return Control() != nullptr; }

void CInPlaceCombo::DestroyWindow() {
    if (m_pGrid) m_pGrid->Dialog().RemoveControl(IDC_GRID_COMBO);
}

void CInPlaceCombo::OnKeyDown(int vk) {
    ui::ListControl* combo = Control();
    if (!combo || !m_pGrid) return;
    switch (vk) {
        case ui::VK_ESCAPE:
            m_bCancel = true;
            [[fallthrough]];
        case ui::VK_RETURN:
            m_pGrid->List().SetFocus();  // which ends the edit
            return;
        case ui::VK_UP:
            if (combo->GetCurSel() > 0) combo->SetCurSel(combo->GetCurSel() - 1);
            return;
        case ui::VK_DOWN:
            if (combo->GetCurSel() + 1 < combo->GetCount()) combo->SetCurSel(combo->GetCurSel() + 1);
            return;
        default:
            return;
    }
}

void CInPlaceCombo::OnCloseUp() {
    // Closing the open list ends the edit, as Enter does.
    if (Control() && m_pGrid) m_pGrid->List().SetFocus();
}

void CInPlaceCombo::OnKillFocus() {
    ui::ListControl* combo = Control();
    if (!combo || !m_pGrid) return;
    const std::string current = combo->GetLBText(combo->GetCurSel());
    const std::string text = m_bCancel ? m_strInitialText : current;
    // The port follows the side the cell ends with.
    g_nGridClickPort = GridPortOf(text);
    CEditGridCtrl* grid = m_pGrid;
    DestroyWindow();
    grid->OnEndLabelEdit(m_nRow, m_nColumn, text);
}

// ---------------------------------------------------------------------------------------
// The edit

void CInPlaceEdit::ShowInPlaceEdit(unsigned styles, const ui::Rect& rect, CEditGridCtrl& grid, int row, int column,
                                   const std::string& allowed, const std::string& text) {
    m_pGrid = &grid;
    m_nRow = row;
    m_nColumn = column;
    m_strAllowed = allowed;
    m_strInitialText = text;
    m_bCancel = false;
    if (column == 0) return;
    if (IsOpen()) return;
    // With no set of allowed characters a paste is ignored.
    if (allowed.empty()) styles |= ui::style::kNoPaste;
    ui::Control& edit = grid.Dialog().AddControl(ui::ControlKind::Edit, IDC_GRID_EDIT, "", rect, styles);
    m_strLastGood = text;
    edit.SetWindowText(text);
    edit.LimitText(EditLimit(column));
    edit.SetSel(0, -1);
    edit.SetFocus();
}

ui::Control* CInPlaceEdit::Control() const {
    if (!m_pGrid) return nullptr;
    return m_pGrid->Dialog().GetDlgItem(IDC_GRID_EDIT);
}

bool CInPlaceEdit::IsOpen() const { return Control() != nullptr; }

void CInPlaceEdit::DestroyWindow() {
    if (m_pGrid) m_pGrid->Dialog().RemoveControl(IDC_GRID_EDIT);
}

void CInPlaceEdit::OnKeyDown(int vk) {
    if (!m_pGrid || (vk != ui::VK_RETURN && vk != ui::VK_ESCAPE)) return;
    if (vk == ui::VK_ESCAPE) m_bCancel = true;
    m_pGrid->List().SetFocus();  // which ends the edit
}

void CInPlaceEdit::OnChange() {
    ui::Control* edit = Control();
    if (!edit) return;
    const std::string& text = edit->GetWindowText();
    if (m_strAllowed.empty()) {
        m_strLastGood = text;
        return;
    }
    // Only the allowed characters may come in.
    const bool ok = std::all_of(text.begin(), text.end(),
                                [&](char c) { return m_strAllowed.find(c) != std::string::npos; });
    if (ok) {
        m_strLastGood = text;
        return;
    }
    // Refused: the text goes back to what it was.
    const std::string back = m_strLastGood;
    edit->SetWindowText(back);
    edit->SetSel(static_cast<int>(back.size()), static_cast<int>(back.size()));
}

std::string CInPlaceEdit::CheckText(int column, int row, const CEditGridCtrl& grid, std::string text,
                                    const std::string& before) {
    ui::ListView& list = grid.List();
    const bool hasRow = row >= 0 && row < list.GetItemCount();
    switch (column) {
        case 1:
        case 2: {
            RecipeCheck check = CheckRecipeParameter(column, text);
            ShowErrors(check.messages);
            return check.text;
        }
        case CEditGridCtrl::kAddressColumn: {
            const int port = g_nGridClickPort == 1 ? 1 : 2;
            RecipeCheck check = CheckRecipeAddress(text, port);
            ShowErrors(check.messages);
            // A refused address leaves the cell as it was: a row never loses the address it
            // had (OK would store a table whose only row has none as empty).
            if (!check.messages.empty()) return before;
            // The row's value is held to the address it now has, whichever was typed first.
            if (!check.text.empty() && hasRow) {
                const std::string value = list.GetItemText(row, kValueColumn);
                RecipeCheck held = CheckRecipeValue(value, check.text, port);
                if (list.GetItemData(row) != kRecipeValueUntouched) ShowErrors(held.messages);
                if (held.text != value) list.SetItemText(row, kValueColumn, held.text);
            }
            return check.text;
        }
        case kValueColumn: {
            if (!hasRow) return text;
            list.SetItemData(row, 0);  // the value is the person's from now on
            g_nGridClickPort = GridPortOf(list.GetItemText(row, 0));
            RecipeCheck check = CheckRecipeValue(text, list.GetItemText(row, CEditGridCtrl::kAddressColumn),
                                                 g_nGridClickPort == 1 ? 1 : 2);
            ShowErrors(check.messages);
            return check.text;
        }
        default:
            return text;
    }
}

void CInPlaceEdit::OnKillFocus() {
    ui::Control* edit = Control();
    if (!edit || !m_pGrid) return;
    CEditGridCtrl* grid = m_pGrid;
    std::string text;
    if (m_bCancel) {
        text = m_strInitialText;
    } else {
        text = CheckText(m_nColumn, m_nRow, *grid, edit->GetWindowText(), m_strInitialText);
        if (text != edit->GetWindowText()) edit->SetWindowText(text);
    }
    DestroyWindow();
    grid->OnEndLabelEdit(m_nRow, m_nColumn, text);
}

// ---------------------------------------------------------------------------------------
// The address button

void CGridButton::Create(const ui::Rect& rect, CEditGridCtrl& grid, int row) {
    DestroyWindow();
    m_pGrid = &grid;
    m_nRow = row;
    ui::Control& button = grid.Dialog().AddControl(ui::ControlKind::Button, IDC_GRID_BUTTON, "", rect);
    button.SetBitmap(res::EditorBitmap(IDB_SET_ADDRESS));
}

bool CGridButton::IsOpen() const { return m_pGrid && m_pGrid->Dialog().GetDlgItem(IDC_GRID_BUTTON) != nullptr; }

void CGridButton::DestroyWindow() {
    if (m_pGrid) m_pGrid->Dialog().RemoveControl(IDC_GRID_BUTTON);
    m_pGrid = nullptr;
}

void CGridButton::OnClicked() {
    if (!m_pGrid) return;
    ui::ListView& list = m_pGrid->List();
    // The button works on the row it sits on, which may have moved or gone since.
    const int row = m_nRow;
    if (row < 0 || row >= list.GetItemCount()) return;
    const int port = GridPortOf(list.GetItemText(row, 0)) == 1 ? 1 : 2;
    g_nGridClickPort = static_cast<unsigned>(port);
    std::string picked;
    if (!g_GridAddressPicker ||
        !g_GridAddressPicker(m_pGrid->Dialog(), port, list.GetItemText(row, CEditGridCtrl::kAddressColumn), picked))
        return;
    RecipeCheck address = CheckRecipeAddress(picked, port);
    if (!address.messages.empty() || address.text.empty()) {
        ShowErrors(address.messages);  // the cell is not changed
        return;
    }
    // The value the row has is kept when the picked address takes it; otherwise it is
    // refused with its message, as when the address is typed.
    RecipeCheck value = CheckRecipeValue(list.GetItemText(row, kValueColumn), address.text, port);
    if (list.GetItemData(row) != kRecipeValueUntouched) ShowErrors(value.messages);
    list.SetItemText(row, CEditGridCtrl::kAddressColumn, address.text);
    list.SetItemText(row, kValueColumn, value.text);
}

// ---------------------------------------------------------------------------------------
// The grid

CEditGridCtrl::CEditGridCtrl(ui::Dialog& dialog, int id, IEditGridOwner& owner)
    // One line: Enter and Escape reach the dialog's key handling of the edit.
    : m_nEditStyle(ui::style::kBorder | ui::style::kTabStop | ui::style::kAutoHScroll | ui::style::kUpperCase),
      m_nComboStyle(ui::style::kBorder),
      m_dialog(dialog),
      m_id(id),
      m_owner(owner) {}

CEditGridCtrl::~CEditGridCtrl() {
    DestroyInPlaceCombo();
    DestroyInPlaceEdit();
    if (g_GridButton.IsOpen()) g_GridButton.DestroyWindow();
    g_GridButton = CGridButton();
}

ui::ListView& CEditGridCtrl::List() const { return m_dialog.Item<ui::ListView>(m_id); }

void CEditGridCtrl::SetComboColumn(int column, bool on) {
    auto it = std::find(m_comboColumns.begin(), m_comboColumns.end(), column);
    if (on && it == m_comboColumns.end()) m_comboColumns.push_back(column);
    if (!on && it != m_comboColumns.end()) m_comboColumns.erase(it);
}

bool CEditGridCtrl::IsComboColumn(int column) const {
    return std::find(m_comboColumns.begin(), m_comboColumns.end(), column) != m_comboColumns.end();
}

void CEditGridCtrl::SetReadOnlyColumn(int column, bool on) {
    auto it = std::find(m_readOnlyColumns.begin(), m_readOnlyColumns.end(), column);
    if (on && it == m_readOnlyColumns.end()) m_readOnlyColumns.push_back(column);
    if (!on && it != m_readOnlyColumns.end()) m_readOnlyColumns.erase(it);
}

bool CEditGridCtrl::IsReadOnlyColumn(int column) const {
    return std::find(m_readOnlyColumns.begin(), m_readOnlyColumns.end(), column) != m_readOnlyColumns.end();
}

void CEditGridCtrl::SetComboVScroll(bool on) {
    if (on) m_nComboStyle |= ui::style::kVScroll;
    else m_nComboStyle &= ~ui::style::kVScroll;
}

ui::Rect CEditGridCtrl::CellRect(int row, int column) const {
    ui::ListView& list = List();
    return m_dialog.ControlToWindow(list, list.GetSubItemRect(row, column));
}

void CEditGridCtrl::CloseEditors() {
    if (CInPlaceCombo* c = g_pInPlaceCombo.get()) c->DestroyWindow();
    if (CInPlaceEdit* e = g_pInPlaceEdit.get()) e->DestroyWindow();
}

void CEditGridCtrl::OnLButtonDown(int row, int column, unsigned keys) {
    ui::ListView& list = List();
    if (row < 0 || row >= list.GetItemCount() || column < 0 || column >= list.GetColumnCount()) {
        CloseEditors();
        return;
    }
    // Shift and Ctrl clicks only choose rows.
    if (keys & (ui::MK_SHIFT | ui::MK_CONTROL)) return;
    g_nGridClickRow = static_cast<unsigned>(row);
    g_nGridClickColumn = static_cast<unsigned>(column);
    g_nGridClickPort = GridPortOf(list.GetItemText(row, 0));
    if (IsComboColumn(column)) {
        OpenCombo(row, column);
    } else if (!IsReadOnlyColumn(column)) {
        OpenEdit(row, column);
    }
    if (column == kAddressColumn) {
        ui::Rect r = CellRect(row, column);
        r.left = r.right - kButtonWidth;
        g_GridButton.Create(r, *this, row);
    }
}

void CEditGridCtrl::OpenCombo(int row, int column) {
    ui::ListView& list = List();
    list.EnsureVisible(row);
    if (list.GetColumnWidth(column) < kMinColumnWidth) return;
    std::vector<std::string> items;
    m_owner.OnGridComboItems(column, items);
    ui::Rect r = CellRect(row, column);
    // Room below the cell for the open list: every entry shows.
    const int entries = std::max<int>(kComboRows, static_cast<int>(items.size()) + 1);
    r.bottom = r.top + r.Height() * entries;
    const std::string text = list.GetItemText(row, column);
    CInPlaceCombo* combo = GetInPlaceCombo();
    combo->ShowInPlaceCombo(r, *this, row, column, items, text, -1);
    if (ui::ListControl* c = combo->Control()) {
        const int found = c->FindStringExact(-1, text);
        if (found >= 0) c->SetCurSel(found);
    }
}

void CEditGridCtrl::OpenEdit(int row, int column) {
    ui::ListView& list = List();
    list.EnsureVisible(row);
    ui::Rect r = CellRect(row, column);
    if (column == kAddressColumn) r.right -= kButtonWidth;
    unsigned styles = m_nEditStyle;
    if (column != 0 && column != kAddressColumn) styles |= ui::style::kNumber;
    GetInPlaceEdit()->ShowInPlaceEdit(styles, r, *this, row, column, m_strAllowed, list.GetItemText(row, column));
}

void CEditGridCtrl::OnEndLabelEdit(int row, int column, const std::string& text) {
    ui::ListView& list = List();
    if (row >= 0 && row < list.GetItemCount()) list.SetItemText(row, column, text);
    m_owner.OnGridCellEdited(m_id, row, column);
}
