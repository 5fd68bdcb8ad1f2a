#include "tables/IdbPane.h"

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "model/BlockTableData.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/TablesResource.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "projectfiles/ProjectIdb.h"
#include "model/IdbText.h"
#include "ui/Backend.h"

#include <algorithm>
#include <cctype>

int g_nIDBClickRow1 = 0, g_nIDBClickCol1 = 0;
int g_nIDBClickRow2 = 0, g_nIDBClickCol2 = 0;
int g_bIDBClicked = 0;
int g_nLastAddressKind = 0;

namespace {

constexpr ui::Color kListBackground = ui::RGB(220, 220, 220);
constexpr ui::Color kTextBackground = ui::RGB(255, 170, 170);
constexpr ui::Color kWindowColor = ui::RGB(255, 255, 255);
constexpr ui::Color kEmptyTextColor = ui::RGB(100, 200, 0);
constexpr int kEmptyTextGap = 10;

struct ColumnSpec {
    const char* title;
    int width;
};
// Column 0's title names the port.
constexpr ColumnSpec kNormalColumns[IdbPane::kColumns] = {
    {"", 100},
    {"Node Address", 80},
    {"Starting Address", 90},
    {"DataType", 90},
    {"#Words/Bits", 80},
    {"Scaling Factor", 80},
    {"Skip For # Cycle", 100},
    {"Skip on Comm.Fail", 100},
    {"Fail Value", 60},
};

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Breaks a text into lines no wider than `width` at blanks.
std::vector<std::string> WrapWords(ui::Painter& painter, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(pos, end - pos);
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && painter.TextWidth(candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        pos = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

IdbPane* PaneOf(int port) {
    return port == 1 ? static_cast<IdbPane*>(g_pDBView1) : static_cast<IdbPane*>(g_pDBView2);
}

// The model's rows of a port were made anew: its pane shows them.
void ShowNewRows(int port) {
    for (int p = 1; p <= 2; ++p) {
        IdbPane* pane = PaneOf(p);
        if (pane && (port == 0 || port == p)) pane->ShowModelRows();
    }
}

}  // namespace

std::string FilterCellEditText(const std::string& text) {
    std::string kept;
    for (char c : text)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ':' || c == '/') kept += c;
    return kept;
}

// ---------------------------------------------------------------------------------------
// The choice list

void CIDBCellCombo::Open(int row, int col, const std::vector<std::string>& choices) {
    ui::ListView& list = m_pane.List();
    // A pane has one choice list: the one still open closes (and stores) first.
    m_pane.RemoveControl(IDC_IDB_CELL_COMBO);
    ui::Rect r = m_pane.ControlToWindow(list, list.GetSubItemRect(row, col));
    r.bottom += IdbPane::kComboExtraHeight;
    auto& combo = static_cast<ui::ListControl&>(m_pane.AddControl(
        ui::ControlKind::DropList, IDC_IDB_CELL_COMBO, "", r, ui::style::kVScroll | ui::style::kTabStop));
    for (const std::string& choice : choices) combo.AddString(choice);
    const int current = [&] {
        const std::string text = list.GetItemText(row, col);
        for (size_t i = 0; i < choices.size(); ++i)
            if (choices[i] == text) return static_cast<int>(i);
        return 0;
    }();
    combo.SetCurSel(choices.empty() ? -1 : current);
    combo.SetFocus();
}

ui::ListControl* CIDBCellCombo::Control() const {
    return dynamic_cast<ui::ListControl*>(m_pane.GetDlgItem(IDC_IDB_CELL_COMBO));
}

bool CIDBCellCombo::IsOpen() const { return Control() != nullptr; }

void CIDBCellCombo::OnKeyDown(int vk) {
    ui::ListControl* combo = Control();
    if (!combo) return;
    switch (vk) {
        case ui::VK_RETURN:
        case ui::VK_TAB:
        case ui::VK_RIGHT:
        case ui::VK_LEFT:
            if (!m_keysClose) return;
            // Going away takes the focus from it, which stores the choice.
            m_pane.RemoveControl(IDC_IDB_CELL_COMBO);
            if (!m_pane.GetFocus()) m_pane.List().SetFocus();
            return;
        case ui::VK_UP:
            if (combo->GetCurSel() > 0) combo->SetCurSel(combo->GetCurSel() - 1);
            return;
        case ui::VK_DOWN:
            if (combo->GetCurSel() + 1 < combo->GetCount()) combo->SetCurSel(combo->GetCurSel() + 1);
            return;
        case ui::VK_HOME:
            if (combo->GetCount() > 0) combo->SetCurSel(0);
            return;
        case ui::VK_END:
            if (combo->GetCount() > 0) combo->SetCurSel(combo->GetCount() - 1);
            return;
        default:
            return;
    }
}

void CIDBCellCombo::OnKillFocus() {
    ui::ListControl* combo = Control();
    if (!combo) return;
    const std::string text = combo->GetLBText(combo->GetCurSel());
    m_pane.RemoveControl(IDC_IDB_CELL_COMBO);
    m_pane.CommitCell(text);
}

// ---------------------------------------------------------------------------------------
// The edit

void CIDBCellEdit::Open(int row, int col, int rightInset, int limit) {
    ui::ListView& list = m_pane.List();
    m_pane.RemoveControl(IDC_IDB_CELL_EDIT);
    ui::Rect r = m_pane.ControlToWindow(list, list.GetSubItemRect(row, col));
    r.right -= rightInset;
    ui::Control& edit = m_pane.AddControl(
        ui::ControlKind::Edit, IDC_IDB_CELL_EDIT, "", r,
        ui::style::kBorder | ui::style::kTabStop | ui::style::kAutoHScroll | ui::style::kUpperCase);
    edit.SetWindowText(list.GetItemText(row, col));
    edit.LimitText(limit);
    edit.SetSel(0, -1);
    edit.SetFocus();
}

ui::Control* CIDBCellEdit::Control() const { return m_pane.GetDlgItem(IDC_IDB_CELL_EDIT); }

bool CIDBCellEdit::IsOpen() const { return Control() != nullptr; }

void CIDBCellEdit::OnChange() {
    ui::Control* edit = Control();
    if (!edit) return;
    const std::string text = edit->GetWindowText().substr(0, 8);
    const std::string kept = FilterCellEditText(text);
    if (kept == edit->GetWindowText()) return;
    edit->SetWindowText(kept);
    edit->SetSel(static_cast<int>(kept.size()), static_cast<int>(kept.size()));
}

void CIDBCellEdit::OnChar(int vk) {
    // Enter and Escape both store: the list takes the focus and the edit goes.
    if (vk == ui::VK_RETURN || vk == ui::VK_ESCAPE) m_pane.List().SetFocus();
}

void CIDBCellEdit::OnKillFocus() {
    ui::Control* edit = Control();
    if (!edit) return;
    const std::string text = edit->GetWindowText();
    m_pane.RemoveControl(IDC_IDB_CELL_EDIT);
    m_pane.CommitCell(text);
}

// ---------------------------------------------------------------------------------------
// The pane

IdbPane::IdbPane(int port)
    : m_port(port),
      m_emptyText(port == 1 ? "No Internal Database For COM1 PLC." : "No Internal Database For COM2 PLC.") {
    SetIdbRowsObserver(ShowNewRows);
}

void IdbPane::ShowModelRows() {
    if (!GetDlgItem(IDC_IDB_LIST)) return;  // not set up yet
    // An editor still open belongs to a row that is gone: it goes without storing.
    RemoveControl(IDC_IDB_CELL_COMBO);
    RemoveControl(IDC_IDB_CELL_EDIT);
    ui::ListView& list = List();
    list.BindTexts(list.GetTextStore());
    UpdateEmptyLayout();
}

IdbPane::~IdbPane() = default;

const ui::HandlerTable* IdbPane::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::View::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_IDB_LIST, &IdbPane::OnClick),
        ui::On(ui::Notify::KillFocus, IDC_IDB_CELL_COMBO, &IdbPane::OnComboKillFocus),
        ui::On(ui::Notify::KillFocus, IDC_IDB_CELL_EDIT, &IdbPane::OnEditKillFocus),
        ui::On(ui::Notify::Change, IDC_IDB_CELL_EDIT, &IdbPane::OnEditChange),
    });
    return &table;
}

void IdbPane::OnComboKillFocus() { m_combo->OnKillFocus(); }
void IdbPane::OnComboKeyDown(const ui::Event& event) { m_combo->OnKeyDown(event.key); }
void IdbPane::OnEditChange() { m_edit->OnChange(); }
void IdbPane::OnEditKillFocus() { m_edit->OnKillFocus(); }

ui::ListView& IdbPane::List() const { return Item<ui::ListView>(IDC_IDB_LIST); }

void IdbPane::OnInitialUpdate() {
    if (!GetDlgItem(IDC_IDB_LIST)) {
        auto& list = static_cast<ui::ListView&>(
            AddControl(ui::ControlKind::ListView, IDC_IDB_LIST, "", ui::Rect{0, 0, m_cx, m_cy},
                       ui::style::kBorder | ui::style::kGridLines | ui::style::kTabStop));
        list.SetColors(ui::kDefaultColor, kListBackground, false);
        list.SetTextBkColor(kTextBackground);
        // The rows are the project's internal database of this port.
        static ui::ArrayTextStore<kColumns> com1(g_IdbPaneRows[0]), com2(g_IdbPaneRows[1]);
        list.BindTexts(m_port == 1 ? &com1 : &com2);
    }
    UpdateEmptyLayout();
}

void IdbPane::InsertNormalColumns(const std::string& firstTitle) {
    ui::ListView& list = List();
    for (int c = 0; c < kColumns; ++c)
        list.InsertColumn(c, c == 0 ? firstTitle : kNormalColumns[c].title, ui::LVCFMT_LEFT, kNormalColumns[c].width);
}

void IdbPane::OnSize(int cx, int cy) {
    m_cx = cx;
    m_cy = cy;
    UpdateEmptyLayout();
}

void IdbPane::UpdateEmptyLayout() {
    ui::Control* control = GetDlgItem(IDC_IDB_LIST);
    if (!control) return;
    auto& list = static_cast<ui::ListView&>(*control);
    const int height = list.GetItemCount() > 0 ? m_cy : std::min(m_cy, list.GetHeaderHeight() + 2);
    const ui::Rect r{0, 0, m_cx, height};
    if (!(list.GetRect() == r)) list.MoveWindow(r);
    Invalidate();
}

void IdbPane::OnDraw(ui::Painter& painter) {
    ui::Control* control = GetDlgItem(IDC_IDB_LIST);
    if (control && static_cast<ui::ListView*>(control)->GetItemCount() > 0) return;
    ui::Rect r = GetClientRect();
    if (control) r.top = static_cast<ui::ListView*>(control)->GetHeaderHeight();
    r.top += kEmptyTextGap;
    if (r.bottom <= r.top) return;
    painter.FillRect(r, kWindowColor);
    int y = r.top;
    for (const std::string& line : WrapWords(painter, m_emptyText, std::max(1, r.Width()))) {
        const int x = r.left + std::max(0, (r.Width() - painter.TextWidth(line)) / 2);
        painter.DrawText(x, y, line, kEmptyTextColor);
        y += painter.TextHeight();
    }
}

void IdbPane::OnHelpInfo() {
    if (g_bIDBClicked == 1) {
        g_szHelpTopic = "Internal Database Setup.htm";
        g_bIDBClicked = 0;
    }
    ui::ShowHelp();
}

void IdbPane::OnLButtonDown(int, int) {
    ui::Control* control = GetDlgItem(IDC_IDB_LIST);
    if (!control) return;
    // The keys go to the list (the pane may still count it as focused from before).
    if (control->HasFocus() && Peer()) Peer()->ControlChanged(*control, ui::Aspect::Focus, -1);
    else control->SetFocus();
    static_cast<ui::ListView*>(control)->UserClickCell(-1, -1);
}

bool IdbPane::UserKey(ui::Control* control, int vk) {
    if (vk == ui::VK_F1) {
        OnHelpInfo();
        return true;
    }
    if (control && control->GetDlgCtrlID() == IDC_IDB_CELL_EDIT && control->Kind() == ui::ControlKind::Edit &&
        (vk == ui::VK_RETURN || vk == ui::VK_ESCAPE)) {
        m_edit->OnChar(vk);
        return true;
    }
    return ui::View::UserKey(control, vk);
}

int IdbPane::ClearList() {
    if (!GetDlgItem(IDC_IDB_LIST)) return 0;
    // An open editor stores into its row before the rows go.
    RemoveControl(IDC_IDB_CELL_COMBO);
    RemoveControl(IDC_IDB_CELL_EDIT);
    List().DeleteAllItems();
    UpdateEmptyLayout();
    return 0;
}

int IdbPane::AddRow(const std::string& station, const std::string& start, int count) {
    if (!GetDlgItem(IDC_IDB_LIST)) return -1;  // not set up yet
    ui::ListView& list = List();
    const int row = list.InsertItem(list.GetItemCount(), "");
    list.SetItemText(row, kColNode, station);
    list.SetItemText(row, kColStart, start);
    list.SetItemText(row, kColWords, platform::Format("%d", count));
    FillRow(row, start);
    if (row == 0) UpdateEmptyLayout();
    return row;
}

int IdbPane::FillRow(int row, const std::string& address) {
    FillNormalRow(row, address);
    return 0;
}

IdbPaneRow IdbPane::RowAt(int row) const {
    IdbPaneRow cells;
    for (int c = 0; c < kColumns; ++c) cells[size_t(c)] = List().GetItemText(row, c);
    return cells;
}

void IdbPane::PutRow(int row, const IdbPaneRow& cells) {
    for (int c = 1; c < kColumns; ++c) List().SetItemText(row, c, cells[size_t(c)]);
}

void IdbPane::FillNormalRow(int row, const std::string& address) {
    IdbPaneRow cells = RowAt(row);
    cells[kColStart] = address;
    g_nLastAddressKind = g_PlcRegisterTables.IsCoilAddress(address, m_port);
    FillNormalIdbRow(m_port, cells);
    PutRow(row, cells);
}

std::vector<IdbPaneRow> IdbPane::GetRows() const {
    std::vector<IdbPaneRow> rows;
    ui::Control* control = GetDlgItem(IDC_IDB_LIST);
    if (!control) return rows;
    auto& list = static_cast<ui::ListView&>(*control);
    for (int r = 0; r < list.GetItemCount(); ++r) {
        IdbPaneRow row;
        for (int c = 0; c < kColumns; ++c) row[static_cast<size_t>(c)] = list.GetItemText(r, c);
        rows.push_back(row);
    }
    return rows;
}

void IdbPane::SetRows(const std::vector<IdbPaneRow>& rows) {
    if (!GetDlgItem(IDC_IDB_LIST)) return;  // not set up yet
    ClearList();
    ui::ListView& list = List();
    for (const IdbPaneRow& row : rows) {
        const int r = list.InsertItem(list.GetItemCount(), "");
        for (int c = 1; c < kColumns; ++c) list.SetItemText(r, c, row[static_cast<size_t>(c)]);
    }
    UpdateEmptyLayout();
}

int IdbPane::DataTypeTextToCode(const std::string& text) const {
    return m_port == 1 ? DataTypeTextToCodeCom1(text) : DataTypeTextToCodeCom2(text);
}

int IdbPane::YesTextToBool(const std::string& text) const {
    return m_port == 1 ? YesTextToBoolCom1(text) : YesTextToBoolCom2(text);
}

std::string IdbPane::DataTypeCodeToText(int code) const { return ::DataTypeCodeToText(code); }

std::string IdbPane::BoolToYesText(int value) const {
    if (value == 0) return "No";
    if (value == 1) return "Yes";
    return std::string();
}

int& IdbPane::ClickRow() const { return m_port == 1 ? g_nIDBClickRow1 : g_nIDBClickRow2; }
int& IdbPane::ClickCol() const { return m_port == 1 ? g_nIDBClickCol1 : g_nIDBClickCol2; }
int& IdbPane::EditedFlag() const { return m_port == 1 ? g_bIdb1Edited : g_bIdb2Edited; }

void IdbPane::CloseEditors() {
    if (!GetDlgItem(IDC_IDB_LIST)) return;
    // The list takes the focus: the editor's kill-focus handling stores its text.
    if (m_combo->IsOpen() || m_edit->IsOpen()) List().SetFocus();
    RemoveControl(IDC_IDB_CELL_COMBO);
    RemoveControl(IDC_IDB_CELL_EDIT);
}

void IdbPane::OnClick(const ui::Event& event) {
    // The focus is kept per pane: a click here is what takes it from the other pane's editor.
    IdbPane* other = m_port == 1 ? static_cast<IdbPane*>(g_pDBView2) : static_cast<IdbPane*>(g_pDBView1);
    if (other && other != this) other->CloseEditors();
    g_bIDBClicked = 1;
    ClickRow() = event.row;
    ClickCol() = event.col;
    if (event.row < 0 || event.col < 0) return;
    if (event.col == kColNode || event.col == kColStart || event.col == kColWords) return;
    EditCell(event.row, event.col);
}

std::vector<std::string> IdbPane::DataTypeChoices(int row) {
    const std::string address = List().GetItemText(row, kColStart);
    // An empty address is not classified: the kind classified last decides.
    if (!address.empty()) g_nLastAddressKind = g_PlcRegisterTables.IsCoilAddress(address, m_port);
    if (g_nLastAddressKind == 1) return {"DiscritBit"};
    return {"Word", "DoubleWord", "Float", "SwapFloat"};
}

void IdbPane::EditCell(int row, int col) {
    switch (col) {
        case kColDataType:
            ShowCellCombo(row, col, DataTypeChoices(row));
            break;
        case kColSkipOnFail:
            ShowCellCombo(row, col, {"Yes", "No"});
            break;
        case kColFailValue:
            ShowCellEdit(row, col, 0, kFailValueChars);
            break;
        default:
            break;
    }
}

void IdbPane::ShowCellEdit(int row, int col, int rightInset, int limit) {
    RemoveControl(IDC_IDB_CELL_COMBO);
    m_edit->Open(row, col, rightInset, limit);
}

void IdbPane::ShowCellCombo(int row, int col, const std::vector<std::string>& choices) {
    RemoveControl(IDC_IDB_CELL_EDIT);
    m_combo->Open(row, col, choices);
}

void IdbPane::CommitCell(const std::string& typed) {
    std::string text = typed;
    const int row = ClickRow(), col = ClickCol();
    ui::ListView& list = List();
    if (col == kColFailValue && (!AllDigits(text) || text.size() > 5 || platform::Atoi(text) > 65535)) {
        ui::MessageBox("The Fail Value must be a number from 0 to 65535.", "Invalid Value",
                       ui::MB_OK | ui::MB_ICONINFORMATION);
        text = "65535";
    }
    if (row >= 0 && row < list.GetItemCount()) list.SetItemText(row, col, text);
    WriteIdbImages();
    EditedFlag() = 1;
}
