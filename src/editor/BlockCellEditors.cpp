#include "editor/BlockCellEditors.h"

#include <algorithm>

#include "model/RunTimeState.h"
#include "editor/BlockExView.h"
#include "editor/CellEditKeys.h"
#include "plc/PlcRegisterTables.h"
#include "res/OlderEditorResource.h"
#include "ui/Controls.h"

namespace {

constexpr size_t kCommentWidth = 50;  // the comment field of the project file

bool AllowedInCell(char ch) { return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || ch == ':' || ch == '/'; }

std::string RemoveTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The edit

ui::Control* CBlockCellEdit::GetControl() const { return m_pView ? m_pView->GetDlgItem(IDC_BLOCK_CELL_EDIT) : nullptr; }

void CBlockCellEdit::Create(const ui::Rect& rect, const std::string& text, int longest) {
    DestroyWindow();
    unsigned styles = ui::style::kBorder | ui::style::kTabStop | ui::style::kAutoHScroll;
    if (longest != 100) styles |= ui::style::kUpperCase;  // all but the comment
    ui::Control& edit = m_pView->AddControl(ui::ControlKind::Edit, IDC_BLOCK_CELL_EDIT, text, rect, styles);
    edit.LimitText(longest);
    edit.SetSel(0, -1);
    edit.SetFocus();
}

void CBlockCellEdit::DestroyWindow() {
    if (m_pView && GetControl()) m_pView->RemoveControl(IDC_BLOCK_CELL_EDIT);
}

void CBlockCellEdit::OnChange() {
    ui::Control* edit = GetControl();
    if (!edit || g_nBlockEditCol == kOlderColComment) return;
    // Only digits, capitals, ':' and '/' stay, wherever in the text they were typed.
    const std::string typed = edit->GetWindowText();
    std::string kept;
    for (char ch : typed)
        if (AllowedInCell(ch)) kept += ch;
    if (kept == typed) return;
    edit->SetWindowText(kept);
    edit->SetSel(int(kept.size()), int(kept.size()));
}

void CBlockCellEdit::OnKeyDown(int vk) {
    ui::Control* edit = GetControl();
    if (!edit) return;
    switch (vk) {
        case ui::VK_RETURN:
        case ui::VK_TAB: {
            const int row = g_nBlockEditRow, col = g_nBlockEditCol;
            DestroyWindow();  // stores the entry
            m_pView->BeginCellEdit(row, col + 1);
            break;
        }
        case ui::VK_ESCAPE:
            edit->SetWindowText(m_pView->GetCellText(g_nBlockEditRow, g_nBlockEditCol));
            DestroyWindow();
            break;
        default: celledit::DefaultEditKey(*edit, vk); break;
    }
}

void CBlockCellEdit::OnKillFocus() {
    ui::Control* edit = GetControl();
    if (!edit || m_bStoring) return;
    m_bStoring = true;
    Store(edit->GetWindowText());
    m_bStoring = false;
    DestroyWindow();
}

std::string CBlockCellEdit::CanonicalAddress(const std::string& text, int port) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const int r = t.FindRegisterByPrefix(text, port);
    if (r < 0) return text;
    const bool one = port == 1;
    const size_t i = size_t(r);
    const std::string& minNumber = (one ? t.g_arrPlc1RegMin : t.g_arrPlc2RegMin)[i];
    const std::string& minColon = (one ? t.g_arrPlc1RegColonMin : t.g_arrPlc2RegColonMin)[i];
    const std::string& minSlash = (one ? t.g_arrPlc1RegSlashMin : t.g_arrPlc2RegSlashMin)[i];
    const std::string& prefix = (one ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix)[i];

    std::string number = one ? t.GetAddressNumberPartCom1(text, r) : t.GetAddressNumberPartCom2(text, r);
    if (number.size() < minNumber.size()) number.insert(0, minNumber.size() - number.size(), '0');
    // A part is filled to the width of its lowest text; a marker "A*" or "P*" puts its
    // letter in front once; nothing is cut from a longer part.
    auto fill = [](std::string part, const std::string& lowest) {
        if (lowest == "**" || lowest.size() == part.size()) return part;
        if (lowest == "A*" || lowest == "P*") return lowest.substr(0, 1) + part;
        if (part.size() < lowest.size()) part.insert(0, lowest.size() - part.size(), '0');
        return part;
    };
    const std::string colon = fill(one ? t.GetAddressColonPartCom1(text, r) : t.GetAddressColonPartCom2(text, r), minColon);
    const std::string slash = fill(one ? t.GetAddressSlashPartCom1(text, r) : t.GetAddressSlashPartCom2(text, r), minSlash);
    return prefix + (one ? t.FormatAddressCom1(number, colon, slash, r) : t.FormatAddressCom2(number, colon, slash, r));
}

void CBlockCellEdit::Store(std::string text) {
    const int row = g_nBlockEditRow, col = g_nBlockEditCol;
    if (col == kOlderColComment) {
        // The project file keeps this many characters: a longer comment is refused here
        // rather than cut when the project is saved.
        if (text.size() > kCommentWidth) {
            m_pView->ReportInfo("The comment is too long. A comment may hold at most " + std::to_string(kCommentWidth) +
                                " characters. Please enter valid data.");
            return;
        }
        m_pView->SetCellText(row, col, text);  // an empty comment clears the cell
        return;
    }
    text = RemoveTrailingBlanks(text);
    if (text.empty()) return;  // the cell keeps its text
    if (g_PlcRegisterTables.ValidateBlockEntry(text) != 0) return;  // the reason is in the info window
    if (col == kOlderColSourceAddr || col == kOlderColDestAddr) {
        const std::string plc = m_pView->GetCellText(row, col == kOlderColSourceAddr ? kOlderColSourcePlc : kOlderColDestPlc);
        const CPlcRegisterTables& t = g_PlcRegisterTables;
        if (plc == t.g_strPLC1Name) text = CanonicalAddress(text, 1);
        if (plc == t.g_strPLC2Name) text = CanonicalAddress(text, 2);
    }
    m_pView->SetCellText(row, col, text);
}

// ---------------------------------------------------------------------------------------
// The drop-down list of the PLC names

ui::Control* CBlockCellCombo::GetControl() const { return m_pView ? m_pView->GetDlgItem(IDC_BLOCK_CELL_COMBO) : nullptr; }

void CBlockCellCombo::Create(const ui::Rect& rect, const std::string& cellText) {
    DestroyWindow();
    auto& list = static_cast<ui::ListControl&>(
        m_pView->AddControl(ui::ControlKind::DropList, IDC_BLOCK_CELL_COMBO, "", rect, ui::style::kVScroll));
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    list.AddString(t.g_strPLC1Name);
    list.AddString(t.g_strPLC2Name);
    list.SetCurSel(0);
    if (cellText == t.g_strPLC1Name) list.SetCurSel(0);
    else if (cellText == t.g_strPLC2Name) list.SetCurSel(1);
    list.SetFocus();
}

void CBlockCellCombo::DestroyWindow() {
    if (m_pView && GetControl()) m_pView->RemoveControl(IDC_BLOCK_CELL_COMBO);
}

void CBlockCellCombo::OnKeyDown(int vk) {
    auto* list = static_cast<ui::ListControl*>(GetControl());
    if (!list) return;
    const int row = g_nBlockEditRow, col = g_nBlockEditCol;
    switch (vk) {
        case ui::VK_RETURN:
        case ui::VK_TAB:
        case ui::VK_RIGHT:
            DestroyWindow();  // stores the choice
            m_pView->BeginCellEdit(row, col + 1);
            break;
        case ui::VK_LEFT:
            DestroyWindow();
            m_pView->BeginCellEdit(row, col - 1);
            break;
        default: celledit::DefaultListKey(*list, vk); break;
    }
}

void CBlockCellCombo::OnKillFocus() {
    auto* list = static_cast<ui::ListControl*>(GetControl());
    if (!list) return;
    if (list->GetCurSel() >= 0) m_pView->SetCellText(g_nBlockEditRow, g_nBlockEditCol, list->GetLBText(list->GetCurSel()));
    DestroyWindow();
}

// ---------------------------------------------------------------------------------------
// The address buttons

void CSourceAddrButton::OnClicked() {
    if (m_pView) m_pView->PickAddress(kOlderColSourcePlc, kOlderColSourceAddr);
}

void CDestAddrButton::OnClicked() {
    if (m_pView) m_pView->PickAddress(kOlderColDestPlc, kOlderColDestAddr);
}
