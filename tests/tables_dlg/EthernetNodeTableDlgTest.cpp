// The Ethernet node table: rows from the holder, Change, Reset, the field checks and OK.
#include <gtest/gtest.h>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "res/TablesResource.h"
#include "tables/EthernetNodeTableDlg.h"
#include "model/IpAddress.h"
#include "HeadlessUi.h"

namespace {

class NodeTableTest : public ::testing::Test {
protected:
    testsupport::HeadlessUi ui;
    CEthNodeTable& n = g_EthNodeTable;

    void SetUp() override {
        n = CEthNodeTable();
        n.g_arrNodeAddress = {"1", "7", "9"};
        n.g_arrNodeIp = {"10.0.0.5"};
        n.g_arrNodePort = {"502"};
        g_bNewProject = 0;
        g_bProjectModified = 0;
    }
    void TearDown() override {
        n = CEthNodeTable();
        g_bNewProject = 0;
        g_bProjectModified = 0;
    }
    static std::vector<std::string> RowOf(ui::Dialog& dlg, int row) {
        auto& list = dlg.Item<ui::ListView>(IDC_NODE_LIST);
        return {list.GetItemText(row, 0), list.GetItemText(row, 1), list.GetItemText(row, 2)};
    }
    static void TypeIp(ui::Dialog& dlg, const char* a, const char* b, const char* c, const char* d) {
        dlg.Item(IDC_NODE_IP).UserType(a);
        dlg.Item(IDC_NODE_IP2).UserType(b);
        dlg.Item(IDC_NODE_IP3).UserType(c);
        dlg.Item(IDC_NODE_IP4).UserType(d);
    }
};

TEST(IpAddressText, FormatAndParse) {
    EXPECT_EQ(FormatIpAddress(10, 1, 2, 30), "10.1.2.30");
    uint8_t a, b, c, d;
    ParseIpAddress("10.0.5", a, b, c, d);
    EXPECT_EQ((std::vector<int>{a, b, c, d}), (std::vector<int>{10, 0, 5, 0}));
    ParseIpAddress("1.2.3.4.5", a, b, c, d);
    EXPECT_EQ((std::vector<int>{a, b, c, d}), (std::vector<int>{1, 2, 3, 4}));
    ParseIpAddress("300.1.1.1", a, b, c, d);
    EXPECT_EQ(a, 44);
}

TEST_F(NodeTableTest, ShortHolderIsPaddedAndChangeWritesTheFirstRowWithoutAClick) {
    ui.ExpectModal(IDD_ETHERNET_NODE_TABLE, [](ui::Dialog& dlg) {
        auto& list = dlg.Item<ui::ListView>(IDC_NODE_LIST);
        ASSERT_EQ(list.GetItemCount(), 3);
        EXPECT_EQ(list.GetColumnHeading(1), "IP Address");
        EXPECT_EQ(list.GetColumnWidth(2), 80);
        EXPECT_EQ(RowOf(dlg, 0), (std::vector<std::string>{"1", "10.0.0.5", "502"}));
        EXPECT_EQ(RowOf(dlg, 2), (std::vector<std::string>{"9", "0.0.0.0", "502"}));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_NODE_ADDRESS), "00");
        EXPECT_FALSE(dlg.Item(IDC_NODE_ADDRESS).IsWindowEnabled());
        EXPECT_TRUE(dlg.Item(IDC_NODE_RESET).IsWindowEnabled());
        EXPECT_EQ(dlg.Item(IDC_NODE_CHANGE).GetToolTip(), "Change the Currently Selected Node Settings.");

        TypeIp(dlg, "192", "168", "1", "20");
        dlg.UserClickButton(IDC_NODE_CHANGE);
        EXPECT_EQ(RowOf(dlg, 0)[1], "192.168.1.20");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_NODE_IP), "0");

        // A click fills the fields from the row; an octet above 255 is refused.
        list.UserClickCell(1, 0);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_NODE_ADDRESS), "7");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_NODE_IP4), "0");
        TypeIp(dlg, "172", "16", "300", "4");
        dlg.UserClickButton(IDC_NODE_CHANGE);
        EXPECT_EQ(RowOf(dlg, 1)[1], "172.16.255.4");
        dlg.UserClickButton(ui::IDOK);
    });
    CEthernetNodeTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "300 is not a valid entry. Please specify a value between 0 and 255.");
    EXPECT_EQ(n.g_arrNodeIp, (StringArray{"192.168.1.20", "172.16.255.4", "0.0.0.0"}));
    EXPECT_EQ(n.g_arrNodePort, (StringArray{"502", "502", "502"}));
    EXPECT_EQ(n.g_arrNodeAddress, (StringArray{"1", "7", "9"}));
    EXPECT_EQ(g_bProjectModified, 1);
}

TEST_F(NodeTableTest, NewProjectShowsDefaultsAndCancelKeepsTheHolder) {
    g_bNewProject = 1;
    ui.ExpectModal(IDD_ETHERNET_NODE_TABLE, [](ui::Dialog& dlg) {
        EXPECT_EQ(RowOf(dlg, 0), (std::vector<std::string>{"1", "0.0.0.0", "502"}));
        EXPECT_FALSE(dlg.Item(IDC_NODE_RESET).IsWindowEnabled());
        // The node and port checks of the (disabled) fields.
        dlg.SetDlgItemText(IDC_NODE_PORT, "600");
        static_cast<CEthernetNodeTableDlg&>(dlg).OnKillFocusPort();
        EXPECT_EQ(dlg.GetDlgItemText(IDC_NODE_PORT), "502");
        dlg.SetDlgItemText(IDC_NODE_ADDRESS, "256");
        static_cast<CEthernetNodeTableDlg&>(dlg).OnKillFocusNode();
        EXPECT_EQ(dlg.GetDlgItemText(IDC_NODE_ADDRESS), "00");
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetNodeTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Node Address must be 1-255.");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Invalid Node Address");
    EXPECT_EQ(n.g_arrNodeIp, (StringArray{"10.0.0.5"}));
    EXPECT_EQ(g_bNewProject, 1);

    // OK ends the new-project state; with no nodes it changes nothing.
    ui.ExpectModal(IDD_ETHERNET_NODE_TABLE, [](ui::Dialog& dlg) { dlg.UserClickButton(ui::IDOK); });
    CEthernetNodeTableDlg again;
    again.DoModal();
    EXPECT_EQ(g_bNewProject, 0);
    EXPECT_EQ(n.g_arrNodeIp, (StringArray{"0.0.0.0", "0.0.0.0", "0.0.0.0"}));
    n = CEthNodeTable();
    g_bProjectModified = 0;
    ui.ExpectModal(IDD_ETHERNET_NODE_TABLE, [](ui::Dialog& dlg) { dlg.UserClickButton(ui::IDOK); });
    CEthernetNodeTableDlg empty;
    empty.DoModal();
    EXPECT_EQ(g_bProjectModified, 0);
}

}  // namespace
