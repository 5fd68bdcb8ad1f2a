// The dialogs of the extended tables shown by the Qt binding offscreen, with an editor
// open over a cell where they have one, saved as PNG images for a person to look at
// (build folder: tests/qt_tables_dlg/screenshots).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTableWidget>
#include <QTest>

#include "app/ExtendedTables.h"
#include "app/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/TablesResource.h"
#include "tables/DefCommRegDlg.h"
#include "tables/EthernetIPTagTableDlg.h"
#include "tables/EthernetNodeTableDlg.h"
#include "tables/RecipeDlg.h"
#include "tables/TableResets.h"
#include "TestSupport.h"

namespace {

std::string Shot(const std::string& name) {
    QDir().mkpath(QUORVEX_SHOT_DIR);
    return std::string(QUORVEX_SHOT_DIR) + "/" + name;
}

void Settle() {
    QApplication::processEvents();
    QTest::qWait(30);
}

class TablesShots : public testing::Test {
protected:
    TablesShots() { ui::SetBackend(&backend); }
    ~TablesShots() override { ui::SetBackend(nullptr); }
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    std::vector<std::string> messages;

    void SetUp() override {
        backend.SetMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
            messages.push_back(text);
            return ui::IDOK;
        });
    }
};

TEST_F(TablesShots, DefaultCommunicationRegistersWithAWordsEditor) {
    CDefCommRegTables& d = g_DefCommRegs;
    d = CDefCommRegTables();
    d.g_arrAttachRegStation1 = {"1", "2", "3"};
    d.g_arrAttachRegAddr1 = {"H0001", "H0101", "H0201"};
    d.g_arrAttachRegWords1 = StringArray(200, "1");
    d.g_arrAttachRegStation2 = {"5"};
    d.g_arrAttachRegAddr2 = {"N007:000"};
    g_bAttachRegCom1 = g_bAttachRegCom2 = 1;
    g_bDefCommRegFill = 0;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).UserClickCell(1, 2);
        Settle();
        if (ui::Control* edit = dlg.GetDlgItem(IDC_ATTACH_EDIT_COM1)) {
            edit->UserType("12");
            Settle();
            grabbed = backend.GrabDialog(dlg, Shot("def_comm_registers.png"));
            edit->UserKey(ui::VK_RETURN);
            Settle();
        }
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).GetItemText(1, 2), "12");
        dlg.UserClickButton(ui::IDOK);
    });
    CDefCommRegDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_TRUE(grabbed);
    EXPECT_EQ(d.g_arrAttachRegWords1[1], "12");
    d = CDefCommRegTables();
    g_bAttachRegCom1 = g_bAttachRegCom2 = 0;
}

TEST_F(TablesShots, RecipesWithTheAddressEditorAndButton) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = tree.Path() + "QVX-S7/Plc/10100_004.inf";
    t.g_strPlc1Section = "Standard";
    t.LoadPlcFileCom1();
    ClearRecipeTables();
    g_RecipeTables.g_arrRecipeColumns = {"Port", "Retries", "Delay", "PLC Address", "Value"};
    g_RecipeTables.g_arrRecipeAddr = {"H0001", "H0002"};
    g_RecipeTables.g_abRecipePort[0] = g_RecipeTables.g_abRecipePort[1] = 1;
    g_RecipeTables.g_abRecipeCol1[0] = 3;
    g_RecipeTables.g_abRecipeCol2[0] = g_RecipeTables.g_abRecipeCol2[1] = 1;
    g_RecipeTables.g_awRecipeValue[0] = 100;
    g_RecipeTables.g_awRecipeValue[1] = 65535;
    g_bRecipesCom1 = g_bRecipesCom2 = 1;
    g_nRecipeState = 0;
    bool grabbed = false, grabbedCombo = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        auto& grid = dlg.Item<ui::ListView>(IDC_RECIPE_GRID);
        grid.UserClickCell(1, 3);
        Settle();
        EXPECT_NE(dlg.GetDlgItem(IDC_GRID_BUTTON), nullptr);
        grabbed = backend.GrabDialog(dlg, Shot("recipes_address_cell.png"));
        grid.UserClickCell(0, 0);
        Settle();
        grabbedCombo = backend.GrabDialog(dlg, Shot("recipes_side_combo.png"));
        grid.UserClickCell(-1, -1);
        dlg.UserClickButton(ui::IDOK);
    });
    CRecipeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_TRUE(grabbed);
    EXPECT_TRUE(grabbedCombo);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"H0001", "H0002"}));
    ClearRecipeTables();
    g_RecipeTables.g_arrRecipeColumns.clear();
    g_bRecipesCom1 = g_bRecipesCom2 = 0;
    t.ResetProject();
}

TEST_F(TablesShots, EthernetNodeTable) {
    g_EthNodeTable = CEthNodeTable();
    g_EthNodeTable.g_arrNodeAddress = {"1", "2", "10"};
    g_EthNodeTable.g_arrNodeIp = {"192.168.0.10", "192.168.0.11"};
    g_EthNodeTable.g_arrNodePort = {"502", "502"};
    g_bNewProject = 0;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        dlg.Item<ui::ListView>(IDC_NODE_LIST).UserClickCell(1, 0);
        Settle();
        grabbed = backend.GrabDialog(dlg, Shot("ethernet_node_table.png"));
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetNodeTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(grabbed);
    g_EthNodeTable = CEthNodeTable();
}

TEST_F(TablesShots, EthernetIpTagTable) {
    g_szProductName = g_szProductNameCopy = "QVX-ENET";
    ClearTagTable();
    g_EipTagTable.g_arrTagName = {"MotorSpeed", "LineStatus", "RunCommand"};
    g_EipTagTable.g_arrTagCode = {"I00000001", "D00000002", "B00000003"};
    g_EipTagTable.g_abTagType[0] = 2;
    g_EipTagTable.g_abTagType[1] = 3;
    g_EipTagTable.g_abTagType[2] = 4;
    g_EipTagTable.g_awTagSize[0] = g_EipTagTable.g_awTagSize[1] = g_EipTagTable.g_awTagSize[2] = 1;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        Settle();
        grabbed = backend.GrabDialog(dlg, Shot("ethernet_ip_tag_table.png"));
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetIPTagTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(grabbed);
    ClearTagTable();
    g_szProductName.clear();
    g_szProductNameCopy.clear();
}

}  // namespace
