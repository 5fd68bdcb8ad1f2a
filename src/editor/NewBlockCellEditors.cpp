#include "editor/NewBlockCellEditors.h"

#include "model/ProjectFileFormat.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "res/EditorResource.h"
#include "ui/Controls.h"

namespace {

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char ch : text)
        if (ch < '0' || ch > '9') return false;
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The edit

CNewBlockCellEdit::CNewBlockCellEdit()
    : CBlockCellEditBase(IDC_NEW_CELL_EDIT, ui::style::kBorder | ui::style::kAutoHScroll, g_nNewBlockEditRow,
                         g_nNewBlockEditCol, kColComment) {}

void CNewBlockCellEdit::Attach(CNewBlockExView* view) {
    m_pView = view;
    SetView(view);
}

int CNewBlockCellEdit::MaxCommentLength() { return int(prjfile::kBlockColumnWidths[kColComment]); }

bool CNewBlockCellEdit::KeepsCharacter(char ch) const {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || ch == ':' || ch == '/' || ch == '_';
}

void CNewBlockCellEdit::EditCell(int row, int col) { m_pView->CreateSetAddressButton(row, col); }

std::string CNewBlockCellEdit::FullAddress(const std::string& text, int port) {
    const size_t underscore = text.find('_');
    const std::string base = text.substr(0, underscore);
    const std::string bit = underscore == std::string::npos ? std::string() : text.substr(underscore);
    return CompleteAddress(base, port) + bit;
}

void CNewBlockCellEdit::Store(std::string text) {
    g_bNewBlockListEdited = 1;
    UpdateCom2IsCan();
    const int row = g_nNewBlockEditRow, col = g_nNewBlockEditCol;

    if (col == kColComment) {
        StoreComment(row, col, text, size_t(MaxCommentLength()));
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

CNewBlockCellCombo::CNewBlockCellCombo()
    : CBlockCellComboBase(IDC_NEW_CELL_COMBO, g_nNewBlockEditRow, g_nNewBlockEditCol) {}

void CNewBlockCellCombo::Attach(CNewBlockExView* view) {
    m_pView = view;
    SetView(view);
}

void CNewBlockCellCombo::EditCell(int row, int col) { m_pView->CreateSetAddressButton(row, col); }

void CNewBlockCellCombo::StoreChoice(int row, int col, const std::string* name) {
    g_bNewBlockListEdited = 1;
    if (name) m_pView->SetCellText(row, col, *name);
}
