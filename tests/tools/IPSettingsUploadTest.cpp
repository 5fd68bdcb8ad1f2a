// The upload of an Ethernet unit's IP settings against the simulated unit: the values
// shown, the status line, and the ways an upload fails.
#include "ToolsTestSupport.h"
#include "app/IPSettingsUploadDlg.h"
#include "res/ToolsResource.h"

namespace {

class IPSettingsUploadTest : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        g_IPUploadPort.SetClock(&clock);
    }
    void TearDown() override {
        g_IPUploadPort.Close();
        g_IPUploadPort.SetClock(nullptr);
        ToolsFixture::TearDown();
    }
    // The six MAC fields and the three addresses as shown.
    static std::vector<std::string> Shown(ui::Dialog& d) {
        std::vector<std::string> out;
        for (int id : {IDC_UNIT_IP_ADDRESS, IDC_ROUTER_ADDRESS, IDC_SUBNET_MASK})
            out.push_back(d.GetDlgItemText(id));
        for (int i = 0; i < 6; ++i) out.push_back(d.GetDlgItemText(IDC_MAC_BYTE1 + i));
        return out;
    }
    void UnitAnswers(std::vector<uint8_t> reply, std::vector<uint8_t> closing) {
        unitsim::CommandSpec handling;
        handling.echo = false;
        handling.after = unitsim::AfterCommand::Steps;
        handling.replyBytes = std::move(reply);
        sim.SetCommand(0x25, handling, {{1, std::move(closing)}});
    }
    const std::vector<std::string> kSampleShown = {"192.168.0.10", "192.168.0.1", "255.255.255.0",
                                                   " 0", "1a", "2b", "3c", "4d", "5e"};
};

}  // namespace

TEST_F(IPSettingsUploadTest, AnUploadShowsTheUnitsAddressesAndMacTwiceInARow) {
    CIPSettingsUploadDlg dlg;
    ui.ExpectModal(IDD_IP_SETTINGS_UPLOAD, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Upload");
        auto& ports = d.Item<ui::ListControl>(IDC_IP_COM_PORT);
        EXPECT_EQ(ports.GetCount(), 15);
        EXPECT_EQ(ports.GetCurSel(), 0);
        EXPECT_EQ(d.GetDlgItemText(IDC_UNIT_IP_ADDRESS), "0.0.0.0");
        ports.UserSelect(6);
        for (int run = 0; run < 2; ++run) {
            d.UserClickButton(IDC_IP_UPLOAD);
            EXPECT_EQ(d.GetDlgItemText(IDC_IP_STATUS), kIpStatusDone);
            EXPECT_EQ(Shown(d), kSampleShown);
            EXPECT_EQ(d.Item(IDC_IP_PROGRESS).GetPos(), 100);  // done: the bar stays full
            EXPECT_TRUE(d.Item(IDC_IP_UPLOAD).IsWindowEnabled());
            EXPECT_FALSE(g_IPUploadPort.IsOpen());
        }
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    Settle();
    EXPECT_EQ(dlg.PortName(), "COM7");
    // No pause for the handshake's alternate command, no stored port.
    EXPECT_EQ(sim.Commands(), (std::vector<uint16_t>{0x10AA, 0x2525, 0x10AA, 0x2525}));
    ASSERT_EQ(sim.Records().size(), 2u);
    EXPECT_EQ(sim.Records()[0].bytes, std::vector<uint8_t>{0x00});
    EXPECT_EQ(StoredPort(), platform::GetPrivateProfileString("Com", "Port", "<none>", 20,
                                                              std::string(QUORVEX_DIST_DIR) + "/QVX-S7/Data/data.inf"));

    // Opened again, the dialog starts from 0.0.0.0.
    CIPSettingsUploadDlg again;
    ui.ExpectModal(IDD_IP_SETTINGS_UPLOAD, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_SUBNET_MASK), "0.0.0.0");
        d.UserClickButton(ui::IDCANCEL);
    });
    again.DoModal();
}

TEST_F(IPSettingsUploadTest, AWrongClosingByteFailsWithTheValuesOnScreen) {
    UnitAnswers(sim.GetBehaviour().ipSettings, {0x07});
    CIPSettingsUploadDlg dlg;
    ui.ExpectModal(IDD_IP_SETTINGS_UPLOAD, [&](ui::Dialog& d) {
        d.Item<ui::ListControl>(IDC_IP_COM_PORT).UserSelect(6);
        d.UserClickButton(IDC_IP_UPLOAD);
        EXPECT_EQ(d.GetDlgItemText(IDC_IP_STATUS), kIpStatusFailed);
        EXPECT_EQ(Shown(d), kSampleShown);
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(IPSettingsUploadTest, AShortAnswerOrAnIgnoredCommandKeepsWhatWasShown) {
    CIPSettingsUploadDlg dlg;
    ui.ExpectModal(IDD_IP_SETTINGS_UPLOAD, [&](ui::Dialog& d) {
        d.Item<ui::ListControl>(IDC_IP_COM_PORT).UserSelect(6);
        d.UserClickButton(IDC_IP_UPLOAD);
        ASSERT_EQ(Shown(d), kSampleShown);
        // Twelve bytes only.
        std::vector<uint8_t> shortReply = {0, 10, 0, 0, 1, 10, 0, 0, 254, 255, 0, 0};
        UnitAnswers(shortReply, {0x03});
        d.UserClickButton(IDC_IP_UPLOAD);
        EXPECT_EQ(d.GetDlgItemText(IDC_IP_STATUS), kIpStatusFailed);
        EXPECT_EQ(Shown(d), kSampleShown);
        EXPECT_FALSE(g_IPUploadPort.IsOpen());
        Unit([](unitsim::Behaviour& b) { b.ignoreCommands = true; });
        d.UserClickButton(IDC_IP_UPLOAD);
        EXPECT_EQ(d.GetDlgItemText(IDC_IP_STATUS), kIpStatusFailed);
        EXPECT_EQ(Shown(d), kSampleShown);
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
}

TEST_F(IPSettingsUploadTest, AnotherProductOrAPortThatDoesNotOpenFails) {
    Unit([](unitsim::Behaviour& b) { b.productCode = 94; });
    CIPSettingsUploadDlg dlg;
    ui.ExpectModal(IDD_IP_SETTINGS_UPLOAD, [&](ui::Dialog& d) {
        auto& ports = d.Item<ui::ListControl>(IDC_IP_COM_PORT);
        ports.UserSelect(6);
        ui.AnswerMessageBox(ui::IDOK, kMsgProductIdMismatch);
        d.UserClickButton(IDC_IP_UPLOAD);
        EXPECT_EQ(d.GetDlgItemText(IDC_IP_STATUS), kIpStatusFailed);
        EXPECT_EQ(d.GetDlgItemText(IDC_UNIT_IP_ADDRESS), "0.0.0.0");
        // COM9 leads nowhere: 60013 when chosen and again at Upload.
        ui.AnswerMessageBox(ui::IDOK, kMsgOpenPortError);
        ports.UserSelect(8);
        ui.AnswerMessageBox(ui::IDOK, kMsgOpenPortError);
        d.UserClickButton(IDC_IP_UPLOAD);
        EXPECT_EQ(d.GetDlgItemText(IDC_IP_STATUS), kIpStatusFailed);
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    Settle();
    EXPECT_EQ(g_bLinkFailed, 1);
    EXPECT_EQ(sim.MismatchNotices(), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kMsgProductIdMismatch, kMsgOpenPortError, kMsgOpenPortError}));
}
