#include "editor/NewBlockCellEditors.h"

#include <algorithm>

#include "model/ProjectFileFormat.h"
#include "model/RunTimeState.h"
#include "editor/CellEditKeys.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "res/EditorResource.h"
#include "ui/Controls.h"

namespace {

bool AllowedInCell(char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || ch == ':' || ch == '/' || ch == '_';
}

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char ch : text)
        if (ch < '0' || ch > '9') return false;
    return true;
}

std::string RemoveTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The edit

int CNewBlockCellEdit::MaxCommentLength() { return int(prjfile::kBlockColumnWidths[kColComment]); }

ui::Control* CNewBlockCellEdit::GetControl() const {
    return m_pView ? m_pView->GetDlgItem(IDC_NEW_CELL_EDIT) : nullptr;
}

void CNewBlockCellEdit::Create(const ui::Rect& rect, const std::string& text, int limit) {
    DestroyWindow();
    unsigned styles = ui::style::kBorder | ui::style::kAutoHScroll;
    if (limit != 100) styles |= ui::style::kUpperCase;  // all but the comment
    ui::Control& edit = m_pView->AddControl(ui::ControlKind::Edit, IDC_NEW_CELL_EDIT, text, rect, styles);
    edit.LimitText(limit);
    edit.SetSel(0, -1);
    edit.SetFocus();
}

void CNewBlockCellEdit::DestroyWindow() {
    if (m_pView && GetControl()) m_pView->RemoveControl(IDC_NEW_CELL_EDIT);
}

void CNewBlockCellEdit::OnChange() {
    ui::Control* edit = GetControl();
    if (!edit || g_nNewBlockEditCol == kColComment) return;
    // Only digits, capitals, ':', '/' and '_' stay, wherever they were typed.
    const std::string typed = edit->GetWindowText();
    std::string kept;
    for (char ch : typed)
        if (AllowedInCell(ch)) kept += ch;
    if (kept == typed) return;
    edit->SetWindowText(kept);
    edit->SetSel(int(kept.size()), int(kept.size()));
}

void CNewBlockCellEdit::OnKeyDown(int vk) {
    ui::Control* edit = GetControl();
    if (!edit) return;
    switch (vk) {
        case ui::VK_RETURN:
        case ui::VK_TAB: {
            const int row = g_nNewBlockEditRow, col = g_nNewBlockEditCol;
            DestroyWindow();  // stores the text
            m_pView->CreateSetAddressButton(row, col + 1);
            break;
        }
        case ui::VK_ESCAPE:
            edit->SetWindowText(m_pView->GetCellText(g_nNewBlockEditRow, g_nNewBlockEditCol));
            DestroyWindow();
            break;
        default:
            celledit::DefaultEditKey(*edit, vk);
            break;
    }
}

void CNewBlockCellEdit::OnKillFocus() {
    ui::Control* edit = GetControl();
    if (!edit || m_bStoring) return;
    m_bStoring = true;
    const std::string text = edit->GetWindowText();
    Store(text);
    m_bStoring = false;
    DestroyWindow();
}

std::string CNewBlockCellEdit::FullAddress(const std::string& text, int port) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const size_t underscore = text.find('_');
    const std::string base = text.substr(0, underscore);
    const std::string bit = underscore == std::string::npos ? std::string() : text.substr(underscore);
    const int r = t.FindRegisterByPrefix(base, port);
    if (r < 0) return text;
    const bool one = port == 1;
    const std::string& minNumber = (one ? t.g_arrPlc1RegMin : t.g_arrPlc2RegMin)[size_t(r)];
    const std::string& minColon = (one ? t.g_arrPlc1RegColonMin : t.g_arrPlc2RegColonMin)[size_t(r)];
    const std::string& minSlash = (one ? t.g_arrPlc1RegSlashMin : t.g_arrPlc2RegSlashMin)[size_t(r)];
    const std::string& prefix = (one ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix)[size_t(r)];

    std::string number = one ? t.GetAddressNumberPartCom1(base, r) : t.GetAddressNumberPartCom2(base, r);
    number = CPlcRegisterTables::FitStringToWidth(number, unsigned(minNumber.size()));
    auto fill = [](std::string part, const std::string& lowest) {
        if (lowest == "**" || lowest.size() == part.size()) return part;
        if (lowest == "A*" || lowest == "P*") return lowest.substr(0, 1) + part;
        return CPlcRegisterTables::FitStringToWidth(part, unsigned(lowest.size()));
    };
    const std::string colon =
        fill(one ? t.GetAddressColonPartCom1(base, r) : t.GetAddressColonPartCom2(base, r), minColon);
    const std::string slash =
        fill(one ? t.GetAddressSlashPartCom1(base, r) : t.GetAddressSlashPartCom2(base, r), minSlash);
    return prefix + (one ? t.FormatAddressCom1(number, colon, slash, r) : t.FormatAddressCom2(number, colon, slash, r)) +
           bit;
}

void CNewBlockCellEdit::Store(std::string text) {
    g_bNewBlockListEdited = 1;
    UpdateCom2IsCan();
    const int row = g_nNewBlockEditRow, col = g_nNewBlockEditCol;

    if (col == kColComment) {
        // The project file keeps this many characters of a comment: a longer one is
        // refused here rather than cut when the project is saved.
        if (int(text.size()) > MaxCommentLength()) {
            m_pView->ReportInfo("The comment is too long. A comment may hold at most " +
                                std::to_string(MaxCommentLength()) + " characters. Please enter valid data.");
            return;
        }
        m_pView->SetCellText(row, col, text);
        return;
    }
    text = RemoveTrailingBlanks(text);
    if (text.empty()) return;
    const bool address = col == kColSourceAddr || col == kColDestAddr;
    if (address) {
        text.erase(0, text.find_first_not_of(' '));
        // A bit after '_' is a decimal number.
        if (const size_t underscore = text.find('_'); underscore != std::string::npos &&
                                                      !AllDigits(text.substr(underscore + 1))) {
            m_pView->ReportInfo("Invalid Bit Value. Please enter valid data.");
            return;
        }
    }
    if (g_PlcRegisterTables.ValidateNewBlockEntry(text) != 0) return;
    if (!address) {
        m_pView->SetCellText(row, col, text);
        return;
    }
    const std::string plc = RemoveTrailingBlanks(m_pView->GetCellText(row, col == kColSourceAddr ? kColSourcePlc : kColDestPlc));
    std::string full = text;
    if (plc == g_PlcRegisterTables.g_strPLC1Name) full = FullAddress(text, 1);
    if (plc == g_PlcRegisterTables.g_strPLC2Name) full = FullAddress(text, 2);
    m_pView->SetCellText(row, col, full);
}

// ---------------------------------------------------------------------------------------
// The drop-down list of the PLC names

ui::Control* CNewBlockCellCombo::GetControl() const {
    return m_pView ? m_pView->GetDlgItem(IDC_NEW_CELL_COMBO) : nullptr;
}

void CNewBlockCellCombo::Create(const ui::Rect& rect, const std::string& cellText) {
    DestroyWindow();
    auto& list = static_cast<ui::ListControl&>(m_pView->AddControl(
        ui::ControlKind::DropList, IDC_NEW_CELL_COMBO, "", rect, ui::style::kVScroll));
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    list.AddString(t.g_strPLC1Name);
    list.AddString(t.g_strPLC2Name);
    list.SetCurSel(0);
    if (cellText == t.g_strPLC1Name) list.SetCurSel(0);
    else if (cellText == t.g_strPLC2Name) list.SetCurSel(1);
    list.SetFocus();
}

void CNewBlockCellCombo::DestroyWindow() {
    if (m_pView && GetControl()) m_pView->RemoveControl(IDC_NEW_CELL_COMBO);
}

void CNewBlockCellCombo::OnKeyDown(int vk) {
    auto* list = static_cast<ui::ListControl*>(GetControl());
    if (!list) return;
    const int row = g_nNewBlockEditRow, col = g_nNewBlockEditCol;
    switch (vk) {
        case ui::VK_RETURN:
        case ui::VK_TAB:
        case ui::VK_RIGHT:
            DestroyWindow();  // stores the choice
            m_pView->CreateSetAddressButton(row, col + 1);
            break;
        case ui::VK_LEFT:
            DestroyWindow();
            m_pView->CreateSetAddressButton(row, col - 1);
            break;
        default:
            celledit::DefaultListKey(*list, vk);
            break;
    }
}

void CNewBlockCellCombo::OnKillFocus() {
    auto* list = static_cast<ui::ListControl*>(GetControl());
    if (!list) return;
    g_bNewBlockListEdited = 1;
    if (list->GetCurSel() >= 0)
        m_pView->SetCellText(g_nNewBlockEditRow, g_nNewBlockEditCol, list->GetLBText(list->GetCurSel()));
    DestroyWindow();
}

// ---------------------------------------------------------------------------------------
// The Set Address buttons

void CSourceAddrButtonNew::OnClicked() {
    if (m_pView) m_pView->PickAddress(kColSourcePlc, kColSourceAddr);
}

void CDestAddrButtonNew::OnClicked() {
    if (m_pView) m_pView->PickAddress(kColDestPlc, kColDestAddr);
}
