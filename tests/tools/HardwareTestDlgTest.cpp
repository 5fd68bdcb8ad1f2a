// The hardware loop-back test against the simulated unit: the instructions the radios
// give, the lines each outcome writes, and the exchanges the unit sees.
#include "ToolsTestSupport.h"
#include "app/HardwareTestDlg.h"
#include "res/ToolsResource.h"

namespace {

const std::string kRs232Passed = "RS232 loop back test passed.";

class HardwareTestDlgTest : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        g_HwTestPort.SetClock(&clock);
        Unit([](unitsim::Behaviour& b) { b.productCode = 0x51; });
    }
    void TearDown() override {
        g_HwTestPort.Close();
        g_HwTestPort.SetClock(nullptr);
        ToolsFixture::TearDown();
    }
    static std::vector<std::string> Lines(ui::Dialog& d) {
        std::vector<std::string> out;
        auto& list = d.Item<ui::ListControl>(IDC_HW_RESULTS);
        for (int i = 0; i < list.GetCount(); ++i)
            if (list.GetLBText(i) != " ") out.push_back(list.GetLBText(i));
        return out;
    }
    // Runs the dialog: port and level radios, then `step`.
    void Run(int portRadio, int levelRadio, const std::function<void(ui::Dialog&)>& step) {
        CHardwareTestDlg dlg;
        ui.ExpectModal(IDD_HARDWARE_TEST, [&](ui::Dialog& d) {
            d.UserClickButton(portRadio);
            d.UserClickButton(levelRadio);
            step(d);
            d.UserClickButton(ui::IDCANCEL);
        });
        dlg.DoModal();
        Settle();
    }
};

}  // namespace

TEST_F(HardwareTestDlgTest, TheRadiosLeadToTheTestAndAPassedLoopBack) {
    CHardwareTestDlg dlg;
    ui.ExpectModal(IDD_HARDWARE_TEST, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Hardware Test");
        EXPECT_EQ(g_szHelpTopic, "hardwaretest.htm");
        EXPECT_EQ(d.GetDlgItemText(IDC_HW_CABLE_TEXT), " ");
        EXPECT_FALSE(d.Item(IDC_HW_START_TEST).IsWindowEnabled());
        EXPECT_FALSE(d.Item(IDC_HW_RS232).IsWindowEnabled());
        EXPECT_EQ(d.Item<ui::ListControl>(IDC_HW_RESULTS).GetCount(), 9);
        EXPECT_EQ(d.Item<ui::ListControl>(IDC_HW_RESULTS).GetHorizontalExtent(), 1000);
        d.UserClickButton(IDC_HW_PORT1);
        EXPECT_EQ(d.GetDlgItemText(IDC_HW_CABLE_TEXT), "Please attach IBM cable to Quorvex communication port 2");
        EXPECT_TRUE(d.Item(IDC_HW_CMOS).IsWindowEnabled());
        EXPECT_FALSE(d.Item(IDC_HW_START_TEST).IsWindowEnabled());
        d.UserClickButton(IDC_HW_RS232);
        EXPECT_EQ(d.GetDlgItemText(IDC_HW_PIN_TEXT), "Please short pins 2 and 3 on Quorvex communication port 1");
        d.UserClickButton(IDC_HW_START_TEST);
        EXPECT_EQ(Lines(d), std::vector<std::string>{kRs232Passed});
        EXPECT_EQ(d.GetDlgItemText(IDC_HW_SENT), "HELLO");
        EXPECT_EQ(d.GetDlgItemText(IDC_HW_RECEIVED), "HELLO");
        EXPECT_EQ(d.Item<ui::ListControl>(IDC_HW_RESULTS).GetCurSel(), 0);
        for (int id : {IDC_HW_START_TEST, IDC_HW_HELP, int(ui::IDCANCEL)}) EXPECT_TRUE(d.Item(id).IsWindowEnabled());
        EXPECT_FALSE(g_HwTestPort.IsOpen());
        // The other port clears the level and stops the test until one is chosen again.
        d.UserClickButton(IDC_HW_PORT2);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_HW_RS232), 0);
        EXPECT_FALSE(d.Item(IDC_HW_START_TEST).IsWindowEnabled());
        d.UserClickButton(IDC_HW_CMOS);
        EXPECT_EQ(d.GetDlgItemText(IDC_HW_PIN_TEXT), "Please short pins 3 and 7 on Quorvex communication port 2");
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    Settle();
    EXPECT_EQ(g_szHelpTopic, "products.htm");
    EXPECT_EQ(sim.Commands(), (std::vector<uint16_t>{0x10AA, 0x1717, 0x10AA, 0x2323}));
    const auto records = sim.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].bytes, (std::vector<uint8_t>{'H', 'E', 'L', 'L', 'O'}));
}

TEST_F(HardwareTestDlgTest, AnOldBootBlockCannotRunTheTest) {
    for (const char* version : {"02.00A", "02.00B", "02.00C", "03.00A"}) {
        sim.ClearLog();
        Unit([&](unitsim::Behaviour& b) { b.bootBlockVersion = version; });
        std::vector<std::string> lines;
        Run(IDC_HW_PORT1, IDC_HW_RS232, [&](ui::Dialog& d) {
            d.UserClickButton(IDC_HW_START_TEST);
            lines = Lines(d);
        });
        const bool old = std::string(version) < "02.00C";
        EXPECT_EQ(lines, std::vector<std::string>{old ? kHwLineNotSupported : kRs232Passed}) << version;
        const auto commands = sim.Commands();
        EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x2323), old ? 0 : 1) << version;
    }
}

TEST_F(HardwareTestDlgTest, AShortOrWrongEchoFailsAndShowsWhatCameBack) {
    Unit([](unitsim::Behaviour& b) { b.loopBackCount = 3; });
    Run(IDC_HW_PORT2, IDC_HW_RS422, [&](ui::Dialog& d) {
        d.UserClickButton(IDC_HW_START_TEST);
        EXPECT_EQ(d.GetDlgItemText(IDC_HW_RECEIVED), "HEL");
        Unit([](unitsim::Behaviour& b) { b.loopBackReply = {'h', 'e', 'l', 'l', 'o'}; });
        d.UserClickButton(IDC_HW_START_TEST);
        EXPECT_EQ(d.GetDlgItemText(IDC_HW_RECEIVED), "hello");
        EXPECT_EQ(Lines(d), (std::vector<std::string>{"RS422/RS485 loop back test failed.",
                                                      "RS422/RS485 loop back test failed."}));
        EXPECT_TRUE(d.Item(IDC_HW_START_TEST).IsWindowEnabled());
    });
}

TEST_F(HardwareTestDlgTest, AnotherProductCodeOrAMissingPortIsALineInTheResults) {
    Unit([](unitsim::Behaviour& b) { b.productCode = 82; });
    Run(IDC_HW_PORT1, IDC_HW_CMOS, [&](ui::Dialog& d) {
        d.UserClickButton(IDC_HW_START_TEST);
        g_PlcRegisterTables.g_strPcComPort = "COM9";
        // Ten outcomes: the lines stay in the order of the tests.
        for (int i = 0; i < 9; ++i) d.UserClickButton(IDC_HW_START_TEST);
        const auto lines = Lines(d);
        ASSERT_EQ(lines.size(), 10u);
        EXPECT_EQ(lines[0], kHwLineCommError);
        for (size_t i = 1; i < 10; ++i) EXPECT_EQ(lines[i], kMsgOpenPortError);
        auto& list = d.Item<ui::ListControl>(IDC_HW_RESULTS);
        EXPECT_EQ(list.GetLBText(9), kMsgOpenPortError);
        EXPECT_EQ(list.GetCurSel(), 9);
    });
    EXPECT_EQ(sim.Commands(), (std::vector<uint16_t>{0x10AA, 0x0808}));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(g_bLinkFailed, 0);
}
