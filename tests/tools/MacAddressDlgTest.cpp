// The MAC address setting against the simulated unit: the record the unit takes, the
// answers that end it well or badly, and the fields that name no byte.
#include "ToolsTestSupport.h"
#include "app/IPSettingsUploadDlg.h"
#include "app/MacAddressDlg.h"
#include "res/ToolsResource.h"

namespace {

class MacAddressDlgTest : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        dlg.Port().SetClock(&clock);
    }
    // Types the port and the six fields as a person would, then presses Set.
    void TypeAndSet(ui::Dialog& d, const std::string& port, const std::vector<std::string>& fields) {
        d.Item(IDC_MAC_COM_PORT).UserFocus();
        d.Item(IDC_MAC_COM_PORT).UserType(port);
        for (int i = 0; i < 6; ++i) {
            d.Item(IDC_MAC_BYTE1 + i).UserFocus();
            d.Item(IDC_MAC_BYTE1 + i).UserType(fields[size_t(i)]);
        }
        d.UserClickButton(ui::IDOK);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_FALSE(dlg.Port().IsOpen());
    }
    void UnitAnswersMac(std::vector<uint8_t> toRecord, std::vector<uint8_t> toEnd) {
        unitsim::CommandSpec handling;
        handling.after = unitsim::AfterCommand::Steps;
        sim.SetCommand(0x30, handling, {{7, std::move(toRecord)}, {2, std::move(toEnd)}});
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (const auto& b : ui.MessageBoxes()) out.push_back(b.caption);
        return out;
    }

    CMacAddressDlg dlg;
};

}  // namespace

TEST(MacByteText, ParsesAsTheUnitToolsAlwaysDidAndTellsWhichTextsNameAByte) {
    EXPECT_EQ(ParseMacByte("1A"), 0x1A);
    EXPECT_EQ(ParseMacByte("1a"), 0x1A);
    EXPECT_EQ(ParseMacByte("0x1A"), 0x1A);
    EXPECT_EQ(ParseMacByte(""), 0);
    EXPECT_EQ(ParseMacByte("100") & 0xFF, 0);
    EXPECT_EQ(ParseMacByte("G7"), 0);
    for (const char* good : {"00", "1a", "0x2B", "3C", "f", " 5e "}) EXPECT_TRUE(IsMacByteText(good)) << good;
    for (const char* bad : {"", "G7", "100", "0x", "1 2", "-1"}) EXPECT_FALSE(IsMacByteText(bad)) << bad;
}

TEST_F(MacAddressDlgTest, SetSendsTheRecordAndReportsTheUnitsAnswer) {
    ui.ExpectModal(IDD_MAC_ADDRESS, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "MAC Address Settings");
        auto& ports = d.Item<ui::ListControl>(IDC_MAC_COM_PORT);
        EXPECT_EQ(ports.GetCount(), 10);
        EXPECT_EQ(d.GetDlgItemText(IDC_MAC_COM_PORT), "COM1");
        ui.AnswerMessageBox(ui::IDOK, kMsgMacSet);
        TypeAndSet(d, "COM7", {"00", "1a", "0x2B", "3C", "4d", "5E"});
        EXPECT_EQ(dlg.PortName(), "COM7");
        // The fields stay for the next unit; a unit that is silent after the record and
        // ends with 0x03 took it.
        UnitAnswersMac({}, {0x03});
        ui.AnswerMessageBox(ui::IDOK, kMsgMacSet);
        d.UserClickButton(ui::IDOK);
        // Silent after the record and after the end: not set.
        UnitAnswersMac({}, {});
        ui.AnswerMessageBox(ui::IDOK, kMsgMacNotSet);
        d.UserClickButton(ui::IDOK);
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    Settle();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Done", "Done", "Error"}));
    EXPECT_EQ(ui.MessageBoxes()[0].flags, unsigned(ui::MB_OK | ui::MB_ICONINFORMATION));
    const auto records = sim.Records();
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[0].bytes, (std::vector<uint8_t>{0x06, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(records[1].bytes, (std::vector<uint8_t>{0x00, 0x00}));
    EXPECT_EQ(sim.Commands(), (std::vector<uint16_t>{0x10AA, 0x3030, 0x10AA, 0x3030, 0x10AA, 0x3030}));
    EXPECT_EQ(StoredPort(), platform::GetPrivateProfileString("Com", "Port", "<none>", 20,
                                                              std::string(QUORVEX_DIST_DIR) + "/QVX-S7/Data/data.inf"));
}

TEST_F(MacAddressDlgTest, ARefusedRecordOrAWrongAnswerToTheCommandIsACommunicationError) {
    ui.ExpectModal(IDD_MAC_ADDRESS, [&](ui::Dialog& d) {
        // The unit refuses the record and waits for a command again.
        unitsim::CommandSpec refuse;
        refuse.after = unitsim::AfterCommand::Steps;
        sim.SetCommand(0x30, refuse, {{7, {0x01}}});
        ui.AnswerMessageBox(ui::IDOK, kMsgCommError);
        TypeAndSet(d, "COM7", {"01", "02", "03", "04", "05", "06"});
        unitsim::CommandSpec other;
        other.echo = false;
        other.after = unitsim::AfterCommand::Reply;
        other.replyBytes = {'1'};
        sim.SetCommand(0x30, other);
        ui.AnswerMessageBox(ui::IDOK, kMsgCommError);
        d.UserClickButton(ui::IDOK);
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    Settle();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Error", "Error"}));
    // The second time no record follows the wrong answer.
    EXPECT_EQ(sim.Records().size(), 1u);
}

TEST_F(MacAddressDlgTest, AFieldThatNamesNoByteStopsSetBeforeTheUnitIsTouched) {
    ui.ExpectModal(IDD_MAC_ADDRESS, [&](ui::Dialog& d) {
        ui.AnswerMessageBox(ui::IDOK, kMsgMacByteInvalid);
        TypeAndSet(d, "COM7", {"00", "1a", "0x2B", "3C", "", "G7"});
        EXPECT_EQ(d.GetFocus(), &d.Item(IDC_MAC_BYTE1 + 4));
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    Settle();
    EXPECT_TRUE(sim.Received().empty());
}

TEST_F(MacAddressDlgTest, TheShownPortIsUsedEvenBeforeTheBoxLostTheFocus) {
    ui.ExpectModal(IDD_MAC_ADDRESS, [&](ui::Dialog& d) {
        for (int i = 0; i < 6; ++i) d.Item(IDC_MAC_BYTE1 + i).UserType("0" + std::to_string(i));
        d.Item(IDC_MAC_COM_PORT).UserFocus();
        d.Item(IDC_MAC_COM_PORT).UserType("COM7");
        ui.AnswerMessageBox(ui::IDOK, kMsgMacSet);
        d.UserPressEnter();
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.PortName(), "COM7");
}

TEST_F(MacAddressDlgTest, AnotherProductIsReportedAndTheUnitIsTold) {
    Unit([](unitsim::Behaviour& b) { b.productCode = 94; });
    ui.ExpectModal(IDD_MAC_ADDRESS, [&](ui::Dialog& d) {
        ui.AnswerMessageBox(ui::IDOK, kMsgProductIdMismatch);
        ui.AnswerMessageBox(ui::IDOK, kMsgCommError);
        TypeAndSet(d, "COM7", {"01", "02", "03", "04", "05", "06"});
        // A port that does not open: the communication error once.
        ui.AnswerMessageBox(ui::IDOK, kMsgCommError);
        TypeAndSet(d, "COM9", {"01", "02", "03", "04", "05", "06"});
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    Settle();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Error", "Error", "Error"}));
    EXPECT_EQ(sim.MismatchNotices(), 1);
    EXPECT_EQ(sim.Commands(), (std::vector<uint16_t>{0x10AA, 0x0808}));
    EXPECT_EQ(g_bLinkFailed, 0);
}

// The simulated unit keeps the MAC address it took, so an upload of its IP settings
// afterwards shows the one set, not its first one.
TEST_F(MacAddressDlgTest, TheUnitsIpSettingsShowTheMacAddressSetLast) {
    ui.ExpectModal(IDD_MAC_ADDRESS, [&](ui::Dialog& d) {
        ui.AnswerMessageBox(ui::IDOK, kMsgMacSet);
        TypeAndSet(d, "COM7", {"a0", "b1", "c2", "d3", "e4", "f5"});
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    Settle();
    g_IPUploadPort.SetClock(&clock);
    CIPSettingsUploadDlg upload;
    std::vector<std::string> shown;
    ui.ExpectModal(IDD_IP_SETTINGS_UPLOAD, [&](ui::Dialog& d) {
        d.Item<ui::ListControl>(IDC_IP_COM_PORT).UserSelect(6);
        d.UserClickButton(IDC_IP_UPLOAD);
        EXPECT_EQ(d.GetDlgItemText(IDC_IP_STATUS), kIpStatusDone);
        for (int i = 0; i < 6; ++i) shown.push_back(d.GetDlgItemText(IDC_MAC_BYTE1 + i));
        d.UserClickButton(ui::IDCANCEL);
    });
    upload.DoModal();
    g_IPUploadPort.Close();
    g_IPUploadPort.SetClock(nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{"a0", "b1", "c2", "d3", "e4", "f5"}));
    EXPECT_NE(sim.Report().find("MAC address A0-B1-C2-D3-E4-F5\n"), std::string::npos) << sim.Report();
}
