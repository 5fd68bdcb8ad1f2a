#include "tables/DefCommRegDlg.h"

#include <algorithm>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "platform/Text.h"
#include "res/DialogImages.h"
#include "res/TablesDialogs.h"
#include "res/TablesResource.h"
#include "model/TableResets.h"
#include "tables/TableTips.h"
#include "ui/Backend.h"

int g_nSelectedRegisterRow = 0;

namespace {

constexpr int kColWords = 2;
constexpr int kRightMargin = 5;
constexpr int kWordChars = 3;

StringArray& Stations(int port) {
    return port == 1 ? g_DefCommRegs.g_arrAttachRegStation1 : g_DefCommRegs.g_arrAttachRegStation2;
}
StringArray& Addresses(int port) {
    return port == 1 ? g_DefCommRegs.g_arrAttachRegAddr1 : g_DefCommRegs.g_arrAttachRegAddr2;
}
StringArray& Words(int port) {
    return port == 1 ? g_DefCommRegs.g_arrAttachRegWords1 : g_DefCommRegs.g_arrAttachRegWords2;
}
int PortFlag(int port) { return port == 1 ? g_bAttachRegCom1 : g_bAttachRegCom2; }

std::string At(const StringArray& a, size_t i) { return i < a.size() ? a[i] : std::string(); }

}  // namespace

// ---------------------------------------------------------------------------------------
// The Words editor

void CListCellEdit::Create(const ui::Rect& rect, const std::string& text) {
    // One line: Enter and Escape reach the dialog's key handling of the edit, which stores.
    ui::Control& edit = m_dlg.AddControl(ui::ControlKind::Edit, CDefCommRegDlg::EditId(m_port), "", rect,
                                         ui::style::kBorder | ui::style::kTabStop | ui::style::kAutoHScroll);
    edit.SetFocus();
    edit.LimitText(kWordChars);
    edit.SetWindowText(text);
    edit.SetSel(0, -1);
    edit.SetFocus();
}

bool CListCellEdit::IsOpen() const { return m_dlg.GetDlgItem(CDefCommRegDlg::EditId(m_port)) != nullptr; }

void CListCellEdit::DestroyWindow() { m_dlg.RemoveControl(CDefCommRegDlg::EditId(m_port)); }

void CListCellEdit::OnKillFocus() {
    ui::Control* edit = m_dlg.GetDlgItem(CDefCommRegDlg::EditId(m_port));
    if (!edit) return;
    const std::string text = edit->GetWindowText();
    ui::ListView& list = m_dlg.List(m_port);
    const int row = g_nSelectedRegisterRow;
    const int v = platform::Atoi(text);
    std::string stored = text;
    // A count is digits only: "12a" would show as typed and be sent as 12.
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || v <= 0 || v >= 256) {
        ui::MessageBox("Invalid Value.Please Enter Valid Data Between 1-255.", "Error",
                       ui::MB_OK | ui::MB_ICONINFORMATION);
        stored = "1";
    }
    if (row >= 0 && row < list.GetItemCount()) list.SetItemText(row, kColWords, stored);
    DestroyWindow();
}

// ---------------------------------------------------------------------------------------
// The dialog

CDefCommRegDlg::CDefCommRegDlg(ui::Window* parent)
    : ui::Dialog(res::TablesDialogTemplate(IDD_DEF_COMM_REG), parent), m_editCom1(*this, 1), m_editCom2(*this, 2) {}

void CDefCommRegDlg::ResetRegisters() { ResetDefCommRegisters(); }

const ui::HandlerTable* CDefCommRegDlg::GetHandlerTable() const {
    using D = CDefCommRegDlg;
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_ATTACH_LIST_COM1, &D::OnClickListCom1),
        ui::On(ui::Notify::Clicked, IDC_ATTACH_LIST_COM2, &D::OnClickListCom2),
        ui::On(ui::Notify::KillFocus, IDC_ATTACH_EDIT_COM1, &D::OnEditKillFocus1),
        ui::On(ui::Notify::KillFocus, IDC_ATTACH_EDIT_COM2, &D::OnEditKillFocus2),
        ui::On(ui::Notify::KeyDown, IDC_ATTACH_EDIT_COM1, &D::OnEditKey),
        ui::On(ui::Notify::KeyDown, IDC_ATTACH_EDIT_COM2, &D::OnEditKey),
    });
    return &table;
}

int CDefCommRegDlg::EditId(int port) { return port == 1 ? IDC_ATTACH_EDIT_COM1 : IDC_ATTACH_EDIT_COM2; }

ui::ListView& CDefCommRegDlg::List(int port) const {
    return Item<ui::ListView>(port == 1 ? IDC_ATTACH_LIST_COM1 : IDC_ATTACH_LIST_COM2);
}

bool CDefCommRegDlg::OnInitDialog() {
    m_pOK = GetDlgItem(ui::IDOK);
    m_pCancel = GetDlgItem(ui::IDCANCEL);
    SetOkCancelTips(*this);
    Item(IDC_DEF_COMM_REG_ICON).SetBitmap(res::TablesBitmap(IDI_DEF_COMM_REG));
    m_pListCom1 = &List(1);
    m_pListCom2 = &List(2);
    for (ui::ListView* list : {m_pListCom1, m_pListCom2}) {
        list->ModifyStyle(0, ui::style::kGridLines);
        list->InsertColumn(0, "Station ID", ui::LVCFMT_LEFT, 80);
        list->InsertColumn(1, "Register Address", ui::LVCFMT_LEFT, 100);
        list->InsertColumn(2, "Words", ui::LVCFMT_LEFT, 60);
    }
    if (g_bDefCommRegFill == 1) return true;
    for (int port = 1; port <= 2; ++port)
        if (PortFlag(port) == 1) FillPort(port);
    return true;
}

void CDefCommRegDlg::FillPort(int port) {
    const StringArray& addresses = Addresses(port);
    const StringArray& stations = Stations(port);
    StringArray& words = Words(port);
    const size_t n = addresses.size();
    // Every row has its word entry; those past the rows start again at 1.
    if (words.size() < std::max<size_t>(kWordEntries, n)) words.resize(std::max<size_t>(kWordEntries, n), "1");
    for (size_t i = n; i < words.size(); ++i) words[i] = "1";
    ui::ListView& list = List(port);
    for (size_t i = 0; i < n; ++i) {
        const int row = list.InsertItem(static_cast<int>(i), At(stations, i));
        list.SetItemText(row, 1, addresses[i]);
        list.SetItemText(row, 2, words[i]);
    }
}

void CDefCommRegDlg::OnClickListCom1(const ui::Event& event) {
    g_nSelectedRegisterRow = event.row;
    if (event.row >= 0) EditCell(event.row, event.col, kRightMargin, kWordChars, 1);
}

void CDefCommRegDlg::OnClickListCom2(const ui::Event& event) {
    g_nSelectedRegisterRow = event.row;
    if (event.row >= 0) EditCell(event.row, event.col, kRightMargin, kWordChars, 2);
}

void CDefCommRegDlg::EditCell(int row, int col, int rightMargin, int limit, int port) {
    (void)limit;  // the editor always takes three digits
    ui::ListView& list = List(port);
    CListCellEdit& editor = port == 1 ? m_editCom1 : m_editCom2;
    editor.DestroyWindow();
    // Opening a cell counts as a change of the project, on any column.
    g_bProjectModified = 1;
    if (col != kColWords || row >= list.GetItemCount()) return;
    ui::Rect r = ControlToWindow(list, list.GetSubItemRect(row, col));
    r.right -= rightMargin;
    editor.Create(r, list.GetItemText(row, col));
}

void CDefCommRegDlg::OnEditKey(const ui::Event& event) {
    // Enter and Escape store the text: the list takes the focus and the edit goes.
    if (event.key != ui::VK_RETURN && event.key != ui::VK_ESCAPE) return;
    const int port = event.id == IDC_ATTACH_EDIT_COM1 ? 1 : 2;
    List(port).SetFocus();
}

void CDefCommRegDlg::StorePort(int port) {
    if (PortFlag(port) != 1) return;
    const StringArray& stations = Stations(port);
    StringArray& words = Words(port);
    ui::ListView& list = List(port);
    const size_t n = stations.size();
    const size_t m = static_cast<size_t>(list.GetItemCount());
    if (n >= 1 && m >= 1) {
        const size_t rows = std::min(n, m);  // only rows the list shows have a count
        if (words.size() < rows) words.resize(rows, "1");
        for (size_t i = 0; i < rows; ++i) {
            const std::string t = list.GetItemText(static_cast<int>(i), kColWords);
            words[i] = platform::Atoi(t) == 1 ? "1" : t;
        }
        g_bDefCommRegFill = 0;
    } else {
        g_bDefCommRegFill = 1;
    }
}

void CDefCommRegDlg::OnOK() {
    // An edit still open stores its text first.
    if (m_editCom1.IsOpen() || m_editCom2.IsOpen()) List(1).SetFocus();
    StorePort(1);
    StorePort(2);
    ui::Dialog::OnOK();
}
