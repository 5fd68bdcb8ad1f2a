// The PC COM port setting: the stored port preselected, OK storing the choice and closing
// only when the port opens, Esc storing nothing.
#include "ToolsTestSupport.h"
#include "app/ComPortDlg.h"
#include "res/ToolsResource.h"

namespace {

class ComPortDlgTest : public ToolsFixture {};

ui::ListControl& Box(ui::Dialog& d) { return d.Item<ui::ListControl>(IDC_PC_COM_PORT); }

}  // namespace

TEST_F(ComPortDlgTest, WithoutAStoredPortComOneIsChosenAndOkStoresIt) {
    // A data.inf without a [Com] section.
    tree.Write("QVX-S7/Data/data.inf", "[MAC Address]\r\nShow=1\r\n");
    ::setenv("QUORVEX_COM1", sim.SlavePath().c_str(), 1);
    g_PlcRegisterTables.g_strPcComPort = "COM4";
    CComPortDlg dlg;
    ui.ExpectModal(IDD_COM_PORT_SETTING, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "IBM Com Port Setting");
        EXPECT_EQ(g_szHelpTopic, "comport.htm");
        ASSERT_EQ(Box(d).GetCount(), 31);
        EXPECT_EQ(Box(d).GetLBText(30), "COM31");
        EXPECT_EQ(Box(d).GetCurSel(), 0);
        EXPECT_NE(d.Item(IDC_COM_PORT_PICTURE).GetBitmap(), nullptr);
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ::unsetenv("QUORVEX_COM1");
    EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM1");
    EXPECT_EQ(StoredPort(), "1");
    EXPECT_EQ(g_szHelpTopic, "products.htm");
    EXPECT_TRUE(ui.MessageBoxes().empty());
    // The products' own [Com] section is not touched.
    EXPECT_EQ(platform::GetPrivateProfileString("Com", "Port", "<none>", 20, deffiles::ProductsInf()),
              platform::GetPrivateProfileString("Com", "Port", "<none>", 20,
                                                std::string(QUORVEX_DIST_DIR) + "/Products/products.inf"));
}

TEST_F(ComPortDlgTest, APortThatDoesNotOpenIsStoredReportedAndTheDialogStaysOpen) {
    StorePort("31");
    g_nStartScreen = g_nMainScreen = 2;
    g_szHelpTopic = "protocols.htm";
    CComPortDlg dlg;
    ui.ExpectModal(IDD_COM_PORT_SETTING, [&](ui::Dialog& d) {
        EXPECT_EQ(Box(d).GetCurSel(), 30);
        Box(d).UserSelect(8);  // COM9 leads nowhere
        ui.AnswerMessageBox(ui::IDOK, kMsgOpenPortError);
        d.UserClickButton(ui::IDOK);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM9");
        EXPECT_EQ(StoredPort(), "9");
        Box(d).UserSelect(6);
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kMsgOpenPortError});
    EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM7");
    EXPECT_EQ(StoredPort(), "7");
    EXPECT_EQ(g_szHelpTopic, "protocols.htm");
    EXPECT_FALSE(dlg.Port().IsOpen());
}

TEST_F(ComPortDlgTest, AStoredPortOutsideTheListSelectsNothingAndOkOnlyTestsTheCurrentPort) {
    for (const char* stored : {"0", "32"}) {
        StorePort(stored);
        CComPortDlg dlg;
        ui.ExpectModal(IDD_COM_PORT_SETTING, [&](ui::Dialog& d) {
            EXPECT_EQ(Box(d).GetCurSel(), -1);
            d.UserClickButton(ui::IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), ui::IDOK) << stored;
        EXPECT_EQ(StoredPort(), stored);
        EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM7");
    }
}

TEST_F(ComPortDlgTest, EscapeStoresNothing) {
    StorePort("7");
    CComPortDlg dlg;
    ui.ExpectModal(IDD_COM_PORT_SETTING, [&](ui::Dialog& d) {
        Box(d).UserSelect(2);
        d.UserPressEscape();
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(StoredPort(), "7");
    EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM7");
    EXPECT_EQ(g_szHelpTopic, "products.htm");  // the caller's topic back
}
