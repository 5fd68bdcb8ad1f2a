#include "editor/BlockCellEditors.h"

#include "model/RunTimeState.h"
#include "editor/BlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "res/OlderEditorResource.h"
#include "ui/Controls.h"

namespace {

constexpr size_t kCommentWidth = 50;  // the comment field of the project file

}  // namespace

// ---------------------------------------------------------------------------------------
// The edit

CBlockCellEdit::CBlockCellEdit()
    : CBlockCellEditBase(IDC_BLOCK_CELL_EDIT, ui::style::kBorder | ui::style::kTabStop | ui::style::kAutoHScroll,
                         g_nBlockEditRow, g_nBlockEditCol, kOlderColComment) {}

void CBlockCellEdit::Attach(CBlockExView* view) {
    m_pView = view;
    SetView(view);
}

bool CBlockCellEdit::KeepsCharacter(char ch) const {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || ch == ':' || ch == '/';
}

void CBlockCellEdit::EditCell(int row, int col) { m_pView->BeginCellEdit(row, col); }

void CBlockCellEdit::Store(std::string text) {
    const int row = g_nBlockEditRow, col = g_nBlockEditCol;
    if (col == kOlderColComment) {
        StoreComment(row, col, text, kCommentWidth);
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

CBlockCellCombo::CBlockCellCombo() : CBlockCellComboBase(IDC_BLOCK_CELL_COMBO, g_nBlockEditRow, g_nBlockEditCol) {}

void CBlockCellCombo::Attach(CBlockExView* view) {
    m_pView = view;
    SetView(view);
}

void CBlockCellCombo::EditCell(int row, int col) { m_pView->BeginCellEdit(row, col); }

void CBlockCellCombo::StoreChoice(int row, int col, const std::string* name) {
    if (name) m_pView->SetCellText(row, col, *name);
}
