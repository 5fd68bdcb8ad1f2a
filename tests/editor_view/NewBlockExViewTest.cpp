// The newer block list: its two column layouts, the slave decision for new and reopened
// projects, the default row, the product and PLC settings of its initial update, the
// Extended Setup defaults and the info window.
#include "EditorViewFixture.h"

#include "model/BlockTableData.h"

namespace {

std::vector<std::string> Headings(const ui::ListView& list) {
    std::vector<std::string> h;
    for (int c = 0; c < list.GetColumnCount(); ++c) h.push_back(list.GetColumnHeading(c));
    return h;
}

std::vector<int> Widths(const ui::ListView& list) {
    std::vector<int> w;
    for (int c = 0; c < list.GetColumnCount(); ++c) w.push_back(list.GetColumnWidth(c));
    return w;
}

std::vector<std::string> RowTexts(const CNewBlockExView& v, int row) {
    std::vector<std::string> texts;
    for (int c = 0; c < kBlockListColumns; ++c) texts.push_back(v.GetCellText(row, c));
    return texts;
}

TEST_F(EditorViewTest, MasterProjectGetsTheMasterColumnsAndTheDefaultRow) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Open();
    EXPECT_EQ(Headings(List()),
              (std::vector<std::string>{"Block No.", "# Words/Bits", "Source PLC", "Source ID", "Source Address",
                                        "Destination PLC", "Destination ID", "Destination Address", "Repeat Cycle",
                                        "Control Bit", "Comment"}));
    EXPECT_EQ(Widths(List()), (std::vector<int>{70, 75, 80, 60, 90, 90, 80, 90, 60, 60, 60}));
    EXPECT_TRUE(List().HasStyle(ui::style::kGridLines));

    ASSERT_EQ(List().GetItemCount(), 1);
    EXPECT_EQ(RowTexts(*view, 0), (std::vector<std::string>{"1               ", "1", " ", "1", " ", " ", "1", " ",
                                                             "1", "0", ""}));
    EXPECT_TRUE(List().GetRowCheck(0));
    EXPECT_EQ(view->m_nBlockCount, 1);
    EXPECT_EQ(view->m_nCurrentRow, 0);
    EXPECT_EQ(g_bSlaveMode, 0);
    EXPECT_EQ(g_nRecipeState, 1);
    EXPECT_EQ(g_bExtSetupError1, 1);
    EXPECT_EQ(g_bExtSetupError2, 1);
    EXPECT_EQ(frame->GetActiveView(), view);

    // A second default row numbers on; the list stops at 255 rows.
    view->AddDefaultRow();
    EXPECT_EQ(Cell(1, 0), "2               ");
    while (view->m_nBlockCount < CNewBlockExView::kMaxBlocks) view->AddDefaultRow();
    view->AddDefaultRow();
    EXPECT_EQ(List().GetItemCount(), 255);
    EXPECT_EQ(Cell(254, 0), "255               ");
}

TEST_F(EditorViewTest, NewSlaveProjectsNameTheSlavePlcFirst) {
    // COM2 is the slave (Modbus RTU Slave on COM2).
    Configure("QVX-S7", 82, "101", 1, "104", 1);
    Open();
    EXPECT_EQ(Headings(List()),
              (std::vector<std::string>{"Block No.", "# Words/Bits", "Slave Port", "Source ID", "Slave Address",
                                        "Target PLC", "Target ID", "Target Address", "Repeat Cycle", "Control Bit",
                                        "Comment"}));
    EXPECT_EQ(Widths(List()), (std::vector<int>{70, 95, 80, 0, 100, 100, 80, 120, 0, 0, 130}));
    EXPECT_EQ(RowTexts(*view, 0),
              (std::vector<std::string>{"1               ", "1", "Modbus RTU Slave", "1", " ", "Modbus RTU Master", "1",
                                        " ", "1", "0", ""}));
    EXPECT_EQ(g_bSlaveMode, 1);
    EXPECT_EQ(g_nBlockLayout, 2);
    EXPECT_EQ(view->m_nBlockCount, 1);

    // Both sides slaves: the COM1 PLC is named first.
    frame.reset();
    ResetEditorGlobals();
    Configure("QVX-S8", 88, "104", 1, "135", 1);
    Open();
    EXPECT_EQ(Cell(0, 2), "Modbus RTU Slave");
    EXPECT_EQ(Cell(0, 5), "Profibus DP Slave");
    EXPECT_EQ(g_nBlockLayout, 1);
    EXPECT_EQ(g_bSlaveMode, 1);
    EXPECT_EQ(g_bCom2Driver135, 1);
}

TEST_F(EditorViewTest, ReopenedProjectsFollowTheSameSlaveRuleAndKeepTheirRows) {
    // The project file's rows reach the list before its columns exist.
    BlockRow row{"1               ", "4", "Modbus RTU Slave", "1", "H0001", "Modbus RTU Master", "1", "H0010", "1", "0", "x"};
    // COM1 says Slave=1, COM2 says Slave=0: slave mode, the COM1 side is the slave.
    Configure("QVX-S7", 82, "104", 1, "101", 1);
    g_bUntitled = 0;
    Open({row, row});
    EXPECT_EQ(g_bSlaveMode, 1);
    EXPECT_EQ(g_nBlockLayout, 1);
    EXPECT_EQ(List().GetColumnHeading(2), "Slave Port");
    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(view->m_nBlockCount, 2);
    EXPECT_EQ(Cell(1, 10), "x");
    EXPECT_EQ(view->GetBlockRows(), (BlockRows{row, row}));

    frame.reset();
    ResetEditorGlobals();
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    g_bUntitled = 0;
    g_bSlaveMode = 1;  // left from an earlier project
    Open();
    EXPECT_EQ(g_bSlaveMode, 0);
    EXPECT_EQ(List().GetItemCount(), 0);
}

TEST_F(EditorViewTest, BlockDataSizeComesFromTheProductsLastEntryOrTheKeysDefault) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Open();
    EXPECT_EQ(view->m_nBlockDataSize, 512);
    EXPECT_EQ(view->m_bCom1HasIdb, 1);
    EXPECT_EQ(view->m_bCom2HasIdb, 1);
    EXPECT_EQ(view->m_nCom1Limit, 64);
    EXPECT_EQ(view->m_nCom2Limit, 32);
    EXPECT_EQ(view->m_bShowMacAddress, -1);

    // Two entries of the same name: the later one counts.
    const std::string products = deffiles::ProductsInf();
    platform::WritePrivateProfileString("ProductList", "Product8", "QVX-S7", products);
    platform::WritePrivateProfileString("ProductList", "Product8DSize", "300", products);
    frame.reset();
    Open();
    EXPECT_EQ(view->m_nBlockDataSize, 300);

    // No entry of that name: the key's own default, never a stale value.
    g_szProductName = "Unlisted";
    frame.reset();
    Open();
    EXPECT_EQ(view->m_nBlockDataSize, 1);
}

TEST_F(EditorViewTest, InitialUpdateReadsThePlcAndProductSwitches) {
    // "IDB" in lower case counts; a missing key does not.
    tree.Write("QVX-S7/Plc/10100_004.inf",
               "[Plc Info]\r\nPlc Name=Modbus RTU Master\r\nPlc Code=101\r\nPlc Model count=1\r\nPlc1=Standard\r\n"
               "NoOfWord=125\r\nIDB=true\r\nlimit=7\r\n[Standard]\r\nRegisterCount=1\r\nRegisterWidth=4\r\n"
               "Register1=Holding Register,1,0,H,0001,9999,**,,**,\r\n");
    Configure("QVX-S7", 82, "101", 1, "104", 1);
    Open();
    EXPECT_EQ(view->m_bCom1HasIdb, 1);
    EXPECT_EQ(view->m_bCom2HasIdb, 0);
    EXPECT_EQ(view->m_nCom1Limit, 7);
    EXPECT_TRUE(g_arrCanDrivers.empty());
    EXPECT_EQ(g_bNewProject, 1);

    // The CAN product: its COM2 driver is listed.
    frame.reset();
    ResetEditorGlobals();
    Configure("QVX-300", 83, "101", 1, "172", 1);
    Open();
    EXPECT_EQ(g_arrCanDrivers, (std::vector<std::string>{"172"}));
    EXPECT_EQ(g_bCom2IsCAN, 1);

    // A product without CANDrivers.inf leaves the flag to the COM2 pane, which sees a
    // product whose DeviceID is not the CAN product's.
    frame.reset();
    ResetEditorGlobals();
    g_bCom2IsCAN = 1;
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Open();
    EXPECT_EQ(g_bCom2IsCAN, 0);
    EXPECT_EQ(g_bCanEthernetDownload, 0);

    // The Ethernet product: MAC address switch and its download commands.
    frame.reset();
    ResetEditorGlobals();
    Configure("QVX-ENET", 94, "101", 1, "132", 1);
    Open();
    EXPECT_EQ(view->m_bShowMacAddress, 1);
    EXPECT_EQ(g_bCanHtmlDownload, 1);
    EXPECT_EQ(g_bCanEthernetDownload, 1);
    EXPECT_EQ(g_bCanUploadMac, 1);
    EXPECT_EQ(g_bCanRunKorvo, 0);
}

const char* kItemsPlc =
    "[Plc Info]\r\nPlc Name=Items\r\nPlc Code=101\r\nPlc Model count=1\r\nPlc1=Standard\r\nNoOfWord=125\r\n"
    "[Standard]\r\nRegisterCount=1\r\nRegisterWidth=4\r\nRegister1=Holding Register,1,0,H,0001,9999,**,,**,\r\n"
    "[Extended Setup]\r\nExtendedSetup=1\r\nGeneralEntityCom1=1\r\n"
    "[GeneralEntityCom1]\r\nEntityCode=6\r\nSubEntity=8\r\n"
    // number, one byte, plus 5: 12 + 5
    "SubEntity1=Retries,1,1,12,0,99,0,1,5\r\n"
    // number, two bytes, times 10: 300 * 10 = 3000 = 0x0BB8, low byte first
    "SubEntity2=Timeout,2,1,300,0,2500,50,3,10\r\n"
    // number, two bytes, divided by 4; then a size that appends nothing
    "SubEntity3=Scan,2,1,-8,0,0,0,4,4\r\n"
    "SubEntity4=Odd size,3,1,7,0,0,0,0,0\r\n"
    // radio pair: field 6; IP address: fields 4 to 7; list and check box: field 5
    "SubEntity5=Parity,1,2,Odd,Even,1,0,0,0\r\n"
    "SubEntity6=Gateway,4,3,192,168,0,10,0,0\r\n"
    "SubEntity7=Mode,1,4,Auto,2,0,0,0,0\r\n"
    "SubEntity8=Enable,1,5,On,1,0,0,0,0\r\n";

TEST_F(EditorViewTest, ExtendedSetupDefaultsOfANewProjectByItemType) {
    tree.Write("QVX-S7/Plc/10100_004.inf", kItemsPlc);
    g_GeneralEntity.g_abExtSetup2[0] = 0x55;  // left from an earlier project
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Open();
    const std::uint8_t* b = g_GeneralEntity.g_abExtSetup1;
    const std::vector<int> expected = {17, 0xB8, 0x0B, 0xFE, 0xFF, 1, 192, 168, 0, 10, 2, 1, 0};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(b[i], expected[i]) << "byte " << i;
    // The COM2 file (DF1): 300 divided by 10 in two bytes, then a list entry of value 0.
    EXPECT_EQ(g_GeneralEntity.g_abExtSetup2[0], 30);
    EXPECT_EQ(g_GeneralEntity.g_abExtSetup2[1], 0);

    // A reopened project gets no defaults: its values come from its file afterwards.
    frame.reset();
    g_bUntitled = 0;
    Open();
    EXPECT_EQ(g_GeneralEntity.g_abExtSetup1[0], 0);
}

TEST_F(EditorViewTest, ExtendedSetupDefaultsStopAtTheEndOfTheBuffer) {
    std::string plc =
        "[Plc Info]\r\nPlc Name=Many\r\nPlc Code=101\r\nPlc Model count=1\r\nPlc1=Standard\r\nNoOfWord=125\r\n"
        "[Standard]\r\nRegisterCount=1\r\nRegisterWidth=4\r\nRegister1=Holding Register,1,0,H,0001,9999,**,,**,\r\n"
        "[Extended Setup]\r\nExtendedSetup=1\r\nGeneralEntityCom1=1\r\n[GeneralEntityCom1]\r\nEntityCode=6\r\n"
        "SubEntity=60\r\n";
    for (int i = 1; i <= 60; ++i) plc += "SubEntity" + std::to_string(i) + "=IP,4,3,10,20,30,40,0,0\r\n";
    tree.Write("QVX-S7/Plc/10100_004.inf", plc);
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Open();
    EXPECT_EQ(g_GeneralEntity.g_nGeneralEntityCount1, 60);
    EXPECT_EQ(g_GeneralEntity.g_abExtSetup1[196], 10);
    EXPECT_EQ(g_GeneralEntity.g_abExtSetup1[199], 40);
    EXPECT_EQ(ScaleExtSetupValue(7, 4, 0), 7);  // no factor to divide by
}

TEST_F(EditorViewTest, InfoWindowShowsAtTheFootOfTheViewWithTheFirstText) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Open();
    CErrorMessagesDlg* info = view->GetInfoWnd();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetWindowText(), "Error Messages");
    EXPECT_FALSE(info->IsWindowVisible());

    // Blank texts leave it hidden.
    view->SetInfoText("");
    view->SetInfoText(CNewBlockExView::kClearInfoText);
    EXPECT_FALSE(info->IsWindowVisible());

    view->SetInfoText("Valid range is 1 to 99. Please enter valid data.");
    EXPECT_TRUE(info->IsWindowVisible());
    EXPECT_EQ(view->GetInfoText(), "Valid range is 1 to 99. Please enter valid data.");
    const ui::Rect pane = frame->GetSplitter().GetPaneRect(0, 1);
    const ui::Rect client = view->GetClientRect();
    EXPECT_EQ(info->GetWindowRect(), (ui::Rect{pane.left + 10, pane.top + client.Height() - 40,
                                               pane.left + 10 + client.Width(), pane.top + client.Height() + 40}));

    // Visible: a blank text blanks it; it stays where it is.
    const ui::Rect placed = info->GetWindowRect();
    view->SetInfoText(CNewBlockExView::kClearInfoText);
    EXPECT_TRUE(info->IsWindowVisible());
    EXPECT_EQ(view->GetInfoText(), CNewBlockExView::kClearInfoText);
    EXPECT_EQ(info->GetWindowRect(), placed);

    // One info window for the life of the view: the initial update does not make another.
    view->OnInitialUpdate();
    EXPECT_EQ(view->GetInfoWnd(), info);
}

TEST_F(EditorViewTest, PortOfAPlcAndTheInternalDatabasePanes) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Open();
    EXPECT_EQ(view->GetPlcPort(kMasterPlc1), 1);
    EXPECT_EQ(view->GetPlcPort(kMasterPlc2), 2);
    EXPECT_EQ(view->GetPlcPort("Other"), 2);

    g_BlockTables.m_arrBlockNo = {"1"};
    g_BlockTables.m_arrCom1Address = {"H0001"};
    EXPECT_EQ(view->RefreshIdbView1(), 0);
    EXPECT_EQ(frame->GetActiveView(), frame->GetSplitter().GetPane(1, 1));
    EXPECT_TRUE(g_BlockTables.m_arrBlockNo.empty());
    EXPECT_TRUE(g_BlockTables.m_arrCom1Address.empty());
    EXPECT_EQ(view->RefreshIdbView2(), 0);
    EXPECT_EQ(frame->GetActiveView(), frame->GetSplitter().GetPane(2, 1));
    // A click in the list makes it the active pane again.
    List().UserClickCell(0, 0);
    EXPECT_EQ(frame->GetActiveView(), view);
}

TEST_F(EditorViewTest, CompileBlockChecksTheRowAsTheCompilerSeesIt) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Open();
    // The default row is incomplete.
    EXPECT_GT(view->CompileBlock(0), 0);
    EXPECT_NE(host.LastInfo().find("block 1"), std::string::npos) << host.LastInfo();
    for (auto [col, text] : {std::pair{2, kMasterPlc1}, {4, "H0001"}, {5, kMasterPlc2}, {7, "N007:000"}})
        view->SetCellText(0, col, text);
    EXPECT_EQ(view->CompileBlock(0), 0);
    EXPECT_GT(view->CompileBlock(5), 0);  // no such row
}

}  // namespace
