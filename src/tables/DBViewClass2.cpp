#include "tables/DBViewClass2.h"

#include "model/RunTimeState.h"
#include "model/BlockTableData.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/TablesResource.h"

DBViewClass2* g_pDBView2 = nullptr;

namespace {

constexpr int kVariableLengthChars = 4;
constexpr int kCanDeviceId = 83;

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

void DBViewClass2::DecideLayout() {
    // The selected product's entry decides whether its COM2 side can be a CAN bus.
    const int count = deffiles::ReadProductCount();
    for (int i = 1; i <= count; ++i) {
        if (deffiles::ReadProductName(i) != g_szProductName) continue;
        g_bCom2IsCAN = platform::Atoi(deffiles::ReadProductValue("DeviceID", i)) == kCanDeviceId ? 1 : 0;
        break;
    }
    CPlcRegisterTables& t = g_PlcRegisterTables;
    if (g_bCom2IsCAN == 0) t.g_strPlc2DriverId = t.g_strPLC2Id;
    if (g_bCom2IsCAN == 2) g_bCom2IsCAN = 1;
    // A CAN product uses the layout only with one of its CAN drivers on COM2.
    if (g_bCom2IsCAN == 1 && !t.g_strPlc2DriverId.empty()) {
        for (const std::string& id : g_arrCanDrivers) {
            if (id == t.g_strPlc2DriverId) {
                g_bCom2IsCAN = 1;
                break;
            }
            g_bCom2IsCAN = 0;
        }
    }
}

void DBViewClass2::OnInitialUpdate() {
    DecideLayout();
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
    const size_t n = pgn.size();
    const size_t head = n > 9 ? 6 : 5;
    const std::string key = "0x" + (n > head ? pgn.substr(head) : std::string());
    const std::string value = platform::GetPrivateProfileString(
        "PGN Info", key, deffiles::kCorruptFile, 80, deffiles::PgnLengthInf(g_szProductName));
    const size_t comma = value.find(',');
    const std::string length = comma == std::string::npos ? std::string() : value.substr(0, comma);
    m_bPgnLengthVariable = length == "variable" ? 1 : 0;
    return platform::Atoi(length);
}

int DBViewClass2::FillRow(int row, const std::string& address) {
    if (g_bCom2IsCAN == 1 && !Plc2Is118()) {
        FillCanRow(row, address);
        return 0;
    }
    FillNormalRow(row, address);
    if (Plc2Is118()) List().SetItemText(row, kColWords, "0");
    return 0;
}

void DBViewClass2::FillCanRow(int row, const std::string& pgn) {
    ui::ListView& list = List();
    const std::string direction = CPlcRegisterTables::PgnDirectionText(pgn);
    const std::string priority = CPlcRegisterTables::ReadPgnLength(pgn);
    const std::string length = platform::Format("%d", LookupPGNLength(pgn));
    const bool inRange = row >= 0 && row < kRows;
    if (m_bPgnLengthVariable == 1) {
        if (inRange) m_abVariableLengthRow[row] = 1;
        std::string shown = " ";
        if (g_bIdbViewsFilled == 1) {
            // The length the user gave this group, when the row still holds that group.
            const CBlockTableData& t = g_BlockTables;
            const bool same = inRange && static_cast<size_t>(row) < t.m_arrCom2RowText.size() &&
                              t.m_arrCom2RowText[static_cast<size_t>(row)] == pgn;
            shown = same ? platform::Format("%d", t.m_anCom2Column5[row]) : std::string();
        }
        list.SetItemText(row, kColScaling, shown);
    } else {
        if (inRange) m_abVariableLengthRow[row] = 0;
        list.SetItemText(row, kColScaling, length);
    }
    list.SetItemText(row, kColDataType, direction);
    list.SetItemText(row, kColWords, "0");
    list.SetItemText(row, kColSkipCycles, priority);
    list.SetItemText(row, kColSkipOnFail, "0");
    list.SetItemText(row, kColFailValue, "0");
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
