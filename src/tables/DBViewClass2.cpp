#include "tables/DBViewClass2.h"

#include "app/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "res/TablesResource.h"

DBViewClass2* g_pDBView2 = nullptr;

namespace {
constexpr int kVariableLengthChars = 4;
}

DBViewClass2::DBViewClass2() : IdbPane(2), m_editCell(*this), m_comboCell(*this) {
    SetEditors(&m_comboCell, &m_editCell);
    g_pDBView2 = this;
}

DBViewClass2::~DBViewClass2() {
    if (g_pDBView2 == this) g_pDBView2 = nullptr;
}

void DBViewClass2::OnInitialUpdate() {
    IdbPane::OnInitialUpdate();
    // The parameter-group columns of a CAN side are still to come: until then every COM2
    // side is shown with the register columns.
    m_bCanLayout = false;
    ResetColumns();
    InsertNormalColumns("IDB FOR COM2");
    while (List().GetColumnCount() > kColumns) List().DeleteColumn(kColumns);
}

void DBViewClass2::ResetColumns() {
    if (!GetDlgItem(IDC_IDB_LIST)) return;  // not set up yet
    while (List().GetColumnCount() > 0) List().DeleteColumn(0);
}

int DBViewClass2::FillRow(int row, const std::string& address) {
    FillNormalRow(row, address);
    if (g_PlcRegisterTables.g_strPLC2Id == "118") List().SetItemText(row, kColWords, "0");
    return 0;
}

void DBViewClass2::EditCell(int row, int col) {
    if (!m_bCanLayout) {
        IdbPane::EditCell(row, col);
        return;
    }
    // Only the length of a group whose length is variable is the user's.
    if (row >= 0 && row < kRows && m_abVariableLengthRow[row] == 1) {
        if (col == kColScaling) ShowCellEdit(row, col, 0, kVariableLengthChars);
        return;
    }
    m_bPgnLengthVariable = 0;
}

std::string DBViewClass2::BoolToYesText(int value) const {
    if (m_bCanLayout && g_PlcRegisterTables.g_strPLC2Id != "118")
        return value == 0 || value == 1 ? "0" : std::string();
    return IdbPane::BoolToYesText(value);
}

std::string DBViewClass2::DirectionCodeToText(int code) {
    if (code == 1) return "Input";
    if (code == 2) return "Output";
    return std::string();
}
