// The COM2 pane of a product whose COM2 side is a CAN bus: the layout decision, the
// parameter-group rows and the one editable cell.
#include <gtest/gtest.h>

#include "../tables/IdbPaneFixture.h"

namespace {

class CanLayout : public IdbPaneTest {
protected:
    void SetUp() override {
        IdbPaneTest::SetUp();
        dir.Write("Products/products.inf",
                  "[ProductList]\r\nProductCount=2\r\nProduct1=QVX-S\r\nDeviceID1=82\r\nProduct2=QVX-T\r\nDeviceID2=83\r\n");
        dir.Write("QVX-T/Plc/PGNLength.inf",
                  "[PGN Info]\r\n0xFEF1=8,6\r\n0xFECA=variable,7\r\n0xFF10=4\r\n");
        g_arrCanDrivers = {"172"};
        t.g_strPlc2DriverId = "172";
        t.g_strPLC2Id = "172";
    }
    void TearDown() override {
        g_arrCanDrivers.clear();
        t.g_strPlc2DriverId.clear();
        IdbPaneTest::TearDown();
    }
    void Rebuild() {
        p2->ResetColumns();
        p2->OnInitialUpdate();
    }
    int AddPgn(const std::string& device, const std::string& pgn) {
        ui::ListView& list = p2->List();
        const int row = list.InsertItem(list.GetItemCount(), "");
        list.SetItemText(row, 1, device);
        list.SetItemText(row, 2, pgn);
        p2->FillRow(row, pgn);
        return row;
    }
};

TEST_F(CanLayout, DeviceIdAndDriverListDecideTheColumns) {
    Rebuild();
    EXPECT_EQ(g_bCom2IsCAN, 1);
    ASSERT_TRUE(p2->IsCanLayout());
    ui::ListView& list = p2->List();
    ASSERT_EQ(list.GetColumnCount(), 9);
    const char* titles[] = {"IDB FOR COM2", "Ext.Device-ID", "PGN Number", "DataType", "#Words/Bits",
                            "PGN Length",   "Priority",      "Source(QVX)ID", "Fail Value"};
    const int widths[] = {100, 80, 90, 90, 0, 80, 100, 0, 0};
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(list.GetColumnHeading(c), titles[c]);
        EXPECT_EQ(list.GetColumnWidth(c), widths[c]);
    }
    // An empty driver id keeps the CAN layout.
    t.g_strPlc2DriverId.clear();
    Rebuild();
    EXPECT_EQ(g_bCom2IsCAN, 1);
    // A driver that is not one of the CAN drivers gives the register columns.
    t.g_strPlc2DriverId = "102";
    Rebuild();
    EXPECT_EQ(g_bCom2IsCAN, 0);
    EXPECT_FALSE(p2->IsCanLayout());
    EXPECT_EQ(p2->List().GetColumnHeading(2), "Starting Address");
    // Another product: not CAN, and the driver id follows the COM2 PLC.
    g_szProductName = "QVX-S";
    t.g_strPLC2Id = "135";
    g_bCom2IsCAN = 1;
    Rebuild();
    EXPECT_EQ(g_bCom2IsCAN, 0);
    EXPECT_EQ(t.g_strPlc2DriverId, "135");
    EXPECT_EQ(p2->List().GetColumnCount(), 9);
}

TEST_F(CanLayout, RowsTakeLengthAndPriorityAndOnlyAVariableLengthIsEditable) {
    Rebuild();
    const int fixed = AddPgn("3", "00000FEF1");     // 9 characters: the last 4 are the group
    const int variable = AddPgn("4", "010000FECA");  // 10 characters: the last 4 too
    const int noComma = AddPgn("5", "01000FF10");
    EXPECT_EQ(Row(p2, fixed), (std::vector<std::string>{"3", "00000FEF1", "Input", "0", "8", "6", "0", "0"}));
    EXPECT_EQ(Row(p2, variable), (std::vector<std::string>{"4", "010000FECA", "Output", "0", " ", "7", "0", "0"}));
    // A value without a comma: no length, the whole value as priority.
    EXPECT_EQ(Cell(p2, noComma, 5), "0");
    EXPECT_EQ(Cell(p2, noComma, 6), "4");
    EXPECT_EQ(p2->m_abVariableLengthRow[variable], 1);
    EXPECT_EQ(p2->m_abVariableLengthRow[fixed], 0);
    EXPECT_EQ(p2->LookupPGNLength("00000FFFF"), 0);  // missing key: "Corrupt file "
    EXPECT_EQ(p2->m_bPgnLengthVariable, 0);

    // A fixed row opens nothing on any cell; the variable row only its length.
    for (int col : {0, 3, 5, 6, 7, 8}) {
        p2->List().UserClickCell(fixed, col);
        EXPECT_FALSE(p2->m_editCell.IsOpen()) << col;
        EXPECT_FALSE(p2->m_comboCell.IsOpen()) << col;
    }
    p2->List().UserClickCell(variable, 6);
    EXPECT_FALSE(p2->m_editCell.IsOpen());
    p2->List().UserClickCell(variable, 5);
    ASSERT_TRUE(p2->m_editCell.IsOpen());
    EXPECT_EQ(p2->m_editCell.Control()->GetLimitText(), 4);
    p2->m_editCell.Control()->UserType("12");
    p2->List().UserClickCell(fixed, 0);
    EXPECT_EQ(Cell(p2, variable, 5), "12");
    EXPECT_EQ(g_bIdb2Edited, 1);

    // The image write keeps the length and the group: a later fill shows the user's length
    // for the same group, nothing for another one.
    g_bIdbViewsFilled = 1;
    p2->FillRow(variable, "010000FECA");
    EXPECT_EQ(Cell(p2, variable, 5), "12");
    p2->List().SetItemText(fixed, 2, "01000FECA");
    p2->FillRow(fixed, "01000FECA");
    EXPECT_EQ(Cell(p2, fixed, 5), "");
    EXPECT_EQ(p2->BoolToYesText(1), "0");
    EXPECT_EQ(p2->BoolToYesText(3), "");
}

TEST_F(CanLayout, PlcOneEighteenFillsTheRowAsRegisters) {
    t.g_strPLC2Id = "118";
    Rebuild();
    const int row = AddPgn("3", "L3");
    EXPECT_EQ(Cell(p2, row, 3), "Word");
    EXPECT_EQ(Cell(p2, row, 4), "0");
    EXPECT_EQ(Cell(p2, row, 8), "65535");
    EXPECT_EQ(p2->BoolToYesText(1), "Yes");
}

}  // namespace
