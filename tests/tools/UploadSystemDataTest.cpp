// The upload of the unit's system data against the simulated unit: the grid filled from
// the unit's answer, the restart question, and each way the upload fails.
#include "ToolsTestSupport.h"
#include "app/UploadSystemDataDlg.h"
#include "res/ToolsResource.h"

namespace {

// The 0x17 answer: echo, three groups of version and status, then the boot block.
std::vector<uint8_t> InfoAnswer(uint8_t echo, std::initializer_list<std::pair<std::string, uint8_t>> groups) {
    std::vector<uint8_t> out = {echo};
    for (const auto& [version, status] : groups) {
        for (size_t i = 0; i < 6; ++i) out.push_back(i < version.size() ? uint8_t(version[i]) : 0);
        out.push_back(status);
    }
    return out;
}

class UploadSystemDataTest : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        StorePort("7");
        g_bProductMismatch = 0;
    }
    void TearDown() override {
        g_bProductMismatch = 0;
        ToolsFixture::TearDown();
    }
    void UnitAnswersInfo(std::vector<uint8_t> answer) {
        unitsim::CommandSpec handling;
        handling.echo = false;
        handling.after = unitsim::AfterCommand::Reply;
        handling.replyBytes = std::move(answer);
        sim.SetCommand(0x17, handling);
    }
    // Runs the dialog: Upload once, with the script's message boxes, and returns the
    // eight texts of the grid and the status line as they stood.
    std::vector<std::string> Upload(const std::function<void()>& answers = {}) {
        CUploadSystemDataDlg dlg;
        dlg.Port().SetClock(&clock);
        std::vector<std::string> shown;
        ui.ExpectModal(IDD_UPLOAD_SYSTEM_DATA, [&](ui::Dialog& d) {
            if (answers) answers();
            d.UserClickButton(IDC_SYSDATA_UPLOAD);
            for (int id : {IDC_FIRMWARE_VERSION, IDC_FIRMWARE_STATUS, IDC_PLC1_DRIVER_VERSION,
                           IDC_PLC1_DRIVER_STATUS, IDC_PLC2_DRIVER_VERSION, IDC_PLC2_DRIVER_STATUS,
                           IDC_BOOT_BLOCK_VERSION, IDC_BOOT_BLOCK_STATUS, IDC_SYSDATA_STATUS})
                shown.push_back(d.GetDlgItemText(id));
            EXPECT_TRUE(d.Item(IDC_SYSDATA_UPLOAD).IsWindowEnabled());
            EXPECT_TRUE(d.Item(ui::IDOK).IsWindowEnabled());
            EXPECT_FALSE(dlg.Port().IsOpen());
            d.UserClickButton(ui::IDOK);
        });
        dlg.DoModal();
        Settle();
        return shown;
    }
};

}  // namespace

TEST_F(UploadSystemDataTest, AGoodReadingFillsTheGridAndYesRestartsTheUnit) {
    UnitAnswersInfo(InfoAnswer(0x17, {{"V03.40", 0}, {"D1.2", 0}, {"D2.07", 0}, {"B1.00", 0}}));
    const auto shown = Upload([&] {
        ui.AnswerMessageBox(ui::IDYES, kMsgSysDataRestart);
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"V03.40", "OK", "D1.2", "OK", "D2.07", "OK", "B1.00", "OK", ""}));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].flags, unsigned(ui::MB_YESNO | ui::MB_ICONQUESTION));
    // The handshake without the alternate command, the query, then the restart.
    EXPECT_EQ(sim.Commands(), (std::vector<uint16_t>{0x10AA, 0x1717, 0x10BB}));
    EXPECT_EQ(sim.Restarts(), 1);
    EXPECT_EQ(g_szHelpTopic, "products.htm");
}

TEST_F(UploadSystemDataTest, TheBootBlockAloneDecidesBetweenTheRestartQuestionAndFailure) {
    // A corrupt firmware with a sound boot block still ends with the question.
    UnitAnswersInfo(InfoAnswer(0x17, {{"V03.40", 1}, {"D1", 0}, {"D2", 0}, {"B1", 0}}));
    auto shown = Upload([&] { ui.AnswerMessageBox(ui::IDNO, kMsgSysDataRestart); });
    EXPECT_EQ(shown[1], "Corrupt");
    EXPECT_EQ(shown[8], "");
    EXPECT_EQ(sim.Restarts(), 0);

    // No boot-block bytes: "Not Applicable" and the failure line, with three sound rows.
    ui.ClearRecords();
    UnitAnswersInfo(InfoAnswer(0x17, {{"V03.40", 0}, {"D1", 0}, {"D2", 0}}));
    shown = Upload();
    EXPECT_EQ(shown, (std::vector<std::string>{"V03.40", "OK", "D1", "OK", "D2", "OK", "Not Applicable", "",
                                               kMsgSysDataFailed}));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(UploadSystemDataTest, AnotherEchoKeepsTheTopRowsAndStillReadsTheBootBlock) {
    UnitAnswersInfo({0x55, 'B', '2', 0, 0, 0, 0, 0});
    const auto shown = Upload([&] { ui.AnswerMessageBox(ui::IDNO, kMsgSysDataRestart); });
    EXPECT_EQ(shown, (std::vector<std::string>{"", "", "", "", "", "", "B2", "OK", ""}));
}

TEST_F(UploadSystemDataTest, ASilentUnitOrAnUnopenablePortShowsItsMessage) {
    Unit([](unitsim::Behaviour& b) { b.silent = true; });
    auto shown = Upload([&] { ui.AnswerMessageBox(ui::IDOK, kMsgCommError); });
    EXPECT_EQ(shown[8], kMsgSysDataHandshakeFailed);
    // Five tries of the handshake command, nothing else.
    const std::vector<uint8_t> fiveTries = {0x10, 0xAA, 0x10, 0xAA, 0x10, 0xAA, 0x10, 0xAA, 0x10, 0xAA};
    EXPECT_EQ(sim.Received(), fiveTries);

    ui.ClearRecords();
    StorePort("9");
    shown = Upload([&] { ui.AnswerMessageBox(ui::IDOK, kMsgOpenPortError); });
    EXPECT_EQ(shown[8], "");
    EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM9");
}

TEST_F(UploadSystemDataTest, AProductMismatchIsReportedOnceAndALaterFailureIsSaidAgain) {
    Unit([](unitsim::Behaviour& b) { b.productCode = 84; });
    auto shown = Upload([&] { ui.AnswerMessageBox(ui::IDOK, kMsgProductIdMismatch); });
    EXPECT_EQ(shown[8], kMsgSysDataHandshakeFailed);
    EXPECT_EQ(sim.MismatchNotices(), 1);
    EXPECT_EQ(g_bProductMismatch, 1);
    EXPECT_EQ(g_bLinkFailed, 1);

    // The next upload starts from a clear link state: a silent unit gets its message 60000.
    ui.ClearRecords();
    Unit([](unitsim::Behaviour& b) { b.silent = true; });
    shown = Upload([&] { ui.AnswerMessageBox(ui::IDOK, kMsgCommError); });
    EXPECT_EQ(shown[8], kMsgSysDataHandshakeFailed);
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(g_bLinkFailed, 0);
}

TEST_F(UploadSystemDataTest, NoAnswerToTheQueryIsACommunicationError) {
    Unit([](unitsim::Behaviour& b) { b.ignoreCommands = true; });
    const auto shown = Upload([&] { ui.AnswerMessageBox(ui::IDOK, kMsgCommError); });
    EXPECT_EQ(shown[8], "");
}

TEST_F(UploadSystemDataTest, TheThreePortProductNamesItsMastersAndThePortBoxStoresItsChoice) {
    g_nDeviceId = g_nDeviceIdAlt = 84;
    StorePort("40");
    CUploadSystemDataDlg dlg;
    ui.ExpectModal(IDD_UPLOAD_SYSTEM_DATA, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Upload  System Data ");
        EXPECT_EQ(d.GetDlgItemText(IDC_PLC1_DRIVER_NAME), "Master1 Driver");
        EXPECT_EQ(d.GetDlgItemText(IDC_PLC2_DRIVER_NAME), "Master2 Driver");
        EXPECT_EQ(g_szHelpTopic, "uploadsysdata.htm");
        auto& ports = d.Item<ui::ListControl>(IDC_SYSDATA_COM_PORT);
        EXPECT_EQ(ports.GetCurSel(), -1);
        EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM7");
        ui.AnswerMessageBox(ui::IDOK, kMsgOpenPortError);
        ports.UserSelect(8);
        EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM9");
        EXPECT_EQ(StoredPort(), "9");
        d.UserPressEscape();
    });
    dlg.DoModal();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kMsgOpenPortError});
}
