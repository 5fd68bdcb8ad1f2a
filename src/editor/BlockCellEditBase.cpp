#include "editor/BlockCellEditBase.h"

#include "editor/BlockListView.h"
#include "editor/CellEditKeys.h"
#include "plc/PlcRegisterTables.h"
#include "ui/Controls.h"
#include "ui/Window.h"

// ---------------------------------------------------------------------------------------
// Both controls

ui::Window* CBlockCellControl::Window() const { return m_pView; }

ui::Control* CBlockCellControl::GetControl() const { return m_pView ? m_pView->GetDlgItem(m_nId) : nullptr; }

void CBlockCellControl::DestroyWindow() {
    if (m_pView && GetControl()) m_pView->RemoveControl(m_nId);
}

// ---------------------------------------------------------------------------------------
// The edit

void CBlockCellEditBase::Create(const ui::Rect& rect, const std::string& text, int limit) {
    DestroyWindow();
    unsigned styles = m_nStyles;
    if (limit != 100) styles |= ui::style::kUpperCase;  // all but the comment
    ui::Control& edit = Window()->AddControl(ui::ControlKind::Edit, Id(), text, rect, styles);
    edit.LimitText(limit);
    edit.SetSel(0, -1);
    edit.SetFocus();
}

bool CBlockCellEditBase::IsCommentCell() const {
    int row = 0, col = 0;
    GetCell(row, col);
    return col == m_nCommentCol;
}

void CBlockCellEditBase::StoreComment(int row, int col, const std::string& text, size_t longest) {
    if (text.size() > longest) {
        View()->ReportInfo("The comment is too long. A comment may hold at most " + std::to_string(longest) +
                           " characters. Please enter valid data.");
        return;
    }
    View()->SetCellText(row, col, text);
}

void CBlockCellEditBase::OnChange() {
    ui::Control* edit = GetControl();
    if (!edit || IsCommentCell()) return;
    // Only the characters a cell keeps stay, wherever in the text they were typed.
    const std::string typed = edit->GetWindowText();
    std::string kept;
    for (char ch : typed)
        if (KeepsCharacter(ch)) kept += ch;
    if (kept == typed) return;
    edit->SetWindowText(kept);
    edit->SetSel(int(kept.size()), int(kept.size()));
}

void CBlockCellEditBase::OnKeyDown(int vk) {
    ui::Control* edit = GetControl();
    if (!edit) return;
    int row = 0, col = 0;
    GetCell(row, col);
    switch (vk) {
        case ui::VK_RETURN:
        case ui::VK_TAB:
            DestroyWindow();  // stores the entry
            EditCell(row, col + 1);
            break;
        case ui::VK_ESCAPE:
            edit->SetWindowText(View()->GetCellText(row, col));
            DestroyWindow();
            break;
        default: celledit::DefaultEditKey(*edit, vk); break;
    }
}

void CBlockCellEditBase::OnKillFocus() {
    ui::Control* edit = GetControl();
    if (!edit || m_bStoring) return;
    m_bStoring = true;
    Store(edit->GetWindowText());
    m_bStoring = false;
    DestroyWindow();
}

std::string CBlockCellEditBase::CompleteAddress(const std::string& text, int port) {
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
    number = CPlcRegisterTables::FitStringToWidth(number, unsigned(minNumber.size()));
    auto fill = [](std::string part, const std::string& lowest) {
        if (lowest == "**" || lowest.size() == part.size()) return part;
        if (lowest == "A*" || lowest == "P*") return lowest.substr(0, 1) + part;
        return CPlcRegisterTables::FitStringToWidth(part, unsigned(lowest.size()));
    };
    const std::string colon = fill(one ? t.GetAddressColonPartCom1(text, r) : t.GetAddressColonPartCom2(text, r), minColon);
    const std::string slash = fill(one ? t.GetAddressSlashPartCom1(text, r) : t.GetAddressSlashPartCom2(text, r), minSlash);
    return prefix + (one ? t.FormatAddressCom1(number, colon, slash, r) : t.FormatAddressCom2(number, colon, slash, r));
}

std::string CBlockCellEditBase::RemoveTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// ---------------------------------------------------------------------------------------
// The drop-down list of the PLC names

void CBlockCellComboBase::Create(const ui::Rect& rect, const std::string& cellText) {
    DestroyWindow();
    auto& list = static_cast<ui::ListControl&>(
        Window()->AddControl(ui::ControlKind::DropList, Id(), "", rect, ui::style::kVScroll));
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    list.AddString(t.g_strPLC1Name);
    list.AddString(t.g_strPLC2Name);
    list.SetCurSel(0);
    if (cellText == t.g_strPLC1Name) list.SetCurSel(0);
    else if (cellText == t.g_strPLC2Name) list.SetCurSel(1);
    list.SetFocus();
}

void CBlockCellComboBase::OnKeyDown(int vk) {
    auto* list = static_cast<ui::ListControl*>(GetControl());
    if (!list) return;
    int row = 0, col = 0;
    GetCell(row, col);
    switch (vk) {
        case ui::VK_RETURN:
        case ui::VK_TAB:
        case ui::VK_RIGHT:
            DestroyWindow();  // stores the choice
            EditCell(row, col + 1);
            break;
        case ui::VK_LEFT:
            DestroyWindow();
            EditCell(row, col - 1);
            break;
        default: celledit::DefaultListKey(*list, vk); break;
    }
}

void CBlockCellComboBase::OnKillFocus() {
    auto* list = static_cast<ui::ListControl*>(GetControl());
    if (!list) return;
    int row = 0, col = 0;
    GetCell(row, col);
    const int chosen = list->GetCurSel();
    const std::string name = chosen >= 0 ? list->GetLBText(chosen) : std::string();
    StoreChoice(row, col, chosen >= 0 ? &name : nullptr);
    DestroyWindow();
}
