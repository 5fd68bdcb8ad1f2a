#include "tables/DBViewClass2.h"

#include "model/RunTimeState.h"
#include "model/BlockTableData.h"
#include "projectfiles/ProjectIdb.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/TablesResource.h"

DBViewClass2* g_pDBView2 = nullptr;

namespace {

constexpr int kVariableLengthChars = 4;

struct CanColumn {
    const char* title;
    int width;  // 0: present but hidden
};
// A little wider than the widths of old where a heading would be cut in today's fonts.
constexpr CanColumn kCanColumns[IdbPane::kColumns] = {
    {"IDB FOR COM2", 100},
    {"Ext.Device-ID", 80},
    {"PGN Number", 90},
    {"DataType", 90},
    {"#Words/Bits", 0},
    {"PGN Length", 80},
    {"Priority", 100},
    {"Source(QVX)ID", 0},
    {"Fail Value", 0},
};

bool Plc2Is118() { return g_PlcRegisterTables.g_strPLC2Id == "118"; }

}  // namespace

DBViewClass2::DBViewClass2() : IdbPane(2), m_editCell(*this), m_comboCell(*this) {
    SetEditors(&m_comboCell, &m_editCell);
    g_pDBView2 = this;
}

DBViewClass2::~DBViewClass2() {
    if (g_pDBView2 == this) g_pDBView2 = nullptr;
}

void DBViewClass2::OnInitialUpdate() {
    DecideCom2Layout();
    IdbPane::OnInitialUpdate();
    m_bCanLayout = g_bCom2IsCAN == 1;
    ResetColumns();
    if (m_bCanLayout) {
        ui::ListView& list = List();
        for (int c = 0; c < kColumns; ++c)
            list.InsertColumn(c, kCanColumns[c].title, ui::LVCFMT_LEFT, kCanColumns[c].width);
    } else {
        InsertNormalColumns("IDB FOR COM2");
    }
    while (List().GetColumnCount() > kColumns) List().DeleteColumn(kColumns);
}

void DBViewClass2::ResetColumns() {
    if (!GetDlgItem(IDC_IDB_LIST)) return;  // not set up yet
    while (List().GetColumnCount() > 0) List().DeleteColumn(0);
}

int DBViewClass2::LookupPGNLength(const std::string& pgn) {
    bool variable = false;
    const int length = LookupPgnLength(pgn, variable);
    m_bPgnLengthVariable = variable ? 1 : 0;
    return length;
}

int DBViewClass2::FillRow(int row, const std::string& address) {
    if (Com2ShowsParameterGroups()) {
        FillCanRow(row, address);
        return 0;
    }
    FillNormalRow(row, address);
    if (Plc2Is118()) List().SetItemText(row, kColWords, "0");
    return 0;
}

void DBViewClass2::FillCanRow(int row, const std::string& pgn) {
    IdbPaneRow cells = RowAt(row);
    cells[kColStart] = pgn;
    FillCanIdbRow(row, cells);
    PutRow(row, cells);
    NoteVariableLength(row);
}

void DBViewClass2::NoteVariableLength(int row) {
    if (row < 0 || row >= kRows) return;
    LookupPGNLength(List().GetItemText(row, kColStart));
    m_abVariableLengthRow[row] = m_bPgnLengthVariable;
}

void DBViewClass2::ShowModelRows() {
    IdbPane::ShowModelRows();
    if (!GetDlgItem(IDC_IDB_LIST) || !m_bCanLayout) return;
    // Which groups' lengths are the user's to give follows the rows shown.
    for (int row = 0; row < List().GetItemCount() && row < kRows; ++row) NoteVariableLength(row);
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
    if (g_bCom2IsCAN == 1 && !Plc2Is118()) return value == 0 || value == 1 ? "0" : std::string();
    return IdbPane::BoolToYesText(value);
}

std::string DBViewClass2::DirectionCodeToText(int code) {
    if (code == 1) return "Input";
    if (code == 2) return "Output";
    return std::string();
}
