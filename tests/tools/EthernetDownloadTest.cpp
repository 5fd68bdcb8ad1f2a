// The Ethernet download against the simulated unit's TCP side on 127.0.0.1: the four
// files in order with their headers and padded blocks, and the ways the sequence stops.
#include "TcpUnit.h"
#include "ToolsTestSupport.h"
#include "app/EthernetDownloadDlg.h"
#include "res/ToolsResource.h"

namespace {

class EthernetDownloadTest : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        std::string error;
        ASSERT_TRUE(unit.Start(&error)) << error;
        g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-ENET";
        g_nDeviceId = g_nDeviceIdAlt = 94;
        g_PlcRegisterTables.g_strPlc1Inf = deffiles::PlcDefinitionFile("QVX-ENET", "101");
        g_PlcRegisterTables.g_strPlc2Inf = deffiles::PlcDefinitionFile("QVX-ENET", "102");
        project = std::string(1025, 'P');
        tree.Write("DefaultPrj.hex", project);
        g_abUnitIp[0] = 192, g_abUnitIp[1] = 168, g_abUnitIp[2] = 0, g_abUnitIp[3] = 0;
    }
    void TearDown() override {
        unit.Stop();
        g_PlcRegisterTables.g_strPlc1Inf.clear();
        g_PlcRegisterTables.g_strPlc2Inf.clear();
        ToolsFixture::TearDown();
    }
    // Opens the dialog, types the loopback address and the unit's port, presses Download
    // with the given script steps, and returns the status line it ended with.
    std::string Download(const std::function<void()>& answers = {}, int timeoutMs = 2000) {
        CEthernetDownloadDlg dlg;
        dlg.Download().SetTimeout(timeoutMs);
        std::string status;
        ui.ExpectModal(IDD_ETHERNET_DOWNLOAD, [&](ui::Dialog& d) {
            d.Item(IDC_ETH_IP_ADDRESS).UserType("127.0.0.1");
            d.Item(IDC_ETH_PORT).UserType(std::to_string(unit.Port()));
            if (answers) answers();
            d.UserClickButton(IDC_ETH_DOWNLOAD);
            status = d.GetDlgItemText(IDC_ETH_STATUS);
            EXPECT_TRUE(d.Item(IDC_ETH_DOWNLOAD).IsWindowEnabled());
            // Completed: the bar full; stopped: empty.
            EXPECT_EQ(d.Item(IDC_ETH_PROGRESS).GetPos(), status == kEthCompleted ? 200 : 0) << status;
            d.UserClickButton(IDC_ETH_CANCEL);
        });
        EXPECT_EQ(dlg.DoModal(), 0);
        EXPECT_EQ(g_bEthDownloading, 0);
        return status;
    }
    static std::vector<uint8_t> Padded(const std::string& bytes) {
        std::vector<uint8_t> out(bytes.begin(), bytes.end());
        out.resize((out.size() + 1023) / 1024 * 1024, 0xFF);
        return out;
    }
    std::string Dist(const std::string& relative) const { return tree.Read(relative); }

    unitsim::TcpUnit unit;
    std::string project;
};

}  // namespace

TEST(EthernetHeader, CarriesTheMarkTheBlockSizeTheRoundedCountAndTheKind) {
    EXPECT_EQ(CEthernetDownload::BuildHeader(1025, 3),
              (std::vector<uint8_t>{0x5E, 0, 0, 0, 0x00, 0x04, 0, 0, 2, 0, 0, 0, 3, 0}));
    EXPECT_EQ(CEthernetDownload::BuildHeader(0, 1)[8], 0);
    EXPECT_EQ(CEthernetDownload::BuildHeader(2048, 0)[8], 2);
}

TEST_F(EthernetDownloadTest, TheFourFilesGoInOrderAndTheAddressIsKept) {
    const std::string status = Download();
    EXPECT_EQ(status, kEthCompleted);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    const auto files = unit.Files();
    ASSERT_EQ(files.size(), 4u);
    const std::string sent[4] = {Dist("QVX-ENET/Firmware/FW0410.abs"), Dist("QVX-ENET/Drivers/MBRTUM1.ABS"),
                                 Dist("QVX-ENET/Drivers/DF1FD2.ABS"), project};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(files[i].header[12], i) << i;
        EXPECT_EQ(files[i].header, CEthernetDownload::BuildHeader(sent[i].size(), uint8_t(i))) << i;
        EXPECT_EQ(files[i].data, Padded(sent[i])) << i;
        EXPECT_TRUE(files[i].completed);
    }
    // The project's second block: one byte of the file, then 0xFF.
    EXPECT_EQ(files[3].data[1024], 'P');
    EXPECT_EQ(files[3].data[1025], 0xFF);

    // Opened again: the address last used, the port back at 5000.
    CEthernetDownloadDlg again;
    ui.ExpectModal(IDD_ETHERNET_DOWNLOAD, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Ethernet Download");
        EXPECT_EQ(d.GetDlgItemText(IDC_ETH_IP_ADDRESS), "127.0.0.1");
        EXPECT_EQ(d.GetDlgItemText(IDC_ETH_PORT), "5000");
        d.UserPressEscape();
    });
    again.DoModal();
}

TEST_F(EthernetDownloadTest, AWrongBlockAnswerOrARefusedHeaderStopsAtTheFirmware) {
    unitsim::TcpBehaviour b;
    b.wrongAnswerAtBlock = 2;
    unit.SetBehaviour(b);
    EXPECT_EQ(Download(), kEthFirmwareFailed);
    EXPECT_EQ(unit.Files().size(), 1u);

    b = unitsim::TcpBehaviour();
    b.headerAnswer = "OK!";
    unit.SetBehaviour(b);
    EXPECT_EQ(Download([&] { ui.AnswerMessageBox(ui::IDOK, kMsgHeaderRefused); }), kEthFirmwareFailed);
    EXPECT_EQ(unit.Files().size(), 2u);
}

TEST_F(EthernetDownloadTest, AMissingDriverStopsBeforeTheProject) {
    const std::string plc2 = tree.Write("QVX-ENET/Plc/10200_004.inf",
                                        "[Plc Info]\r\nPlc Name=Test\r\nCom2PlcFilename=MISSING2.ABS\r\n");
    g_PlcRegisterTables.g_strPlc2Inf = plc2;
    const std::string status = Download([&] {
        ui.AnswerMessageBox(ui::IDOK, "Driver file corrupt or not found. Please ensure that the correct Driver "
                                      "file for the selected PLC is in the Driver sub-directory.");
    });
    EXPECT_EQ(status, kEthCom2Failed);
    EXPECT_EQ(unit.Files().size(), 2u);
}

TEST_F(EthernetDownloadTest, TwoFirmwareFilesAskWhichAndACancelledChoiceSendsNothing) {
    tree.Write("QVX-ENET/Firmware/FW0411.abs", std::string(10, 'F'));
    EXPECT_EQ(Download([&] { ui.AnswerFileDialog(""); }), kEthFirmwareFailed);
    EXPECT_EQ(unit.Connections(), 0);
    EXPECT_EQ(ui.FileDialogsShown(), std::vector<std::string>{"firmware"});

    ui.ClearRecords();
    const std::string chosen = tree.Path() + "QVX-ENET/Firmware/FW0411.abs";
    EXPECT_EQ(Download([&] { ui.AnswerFileDialog(chosen); }), kEthCompleted);
    EXPECT_EQ(unit.Files()[0].data, Padded(std::string(10, 'F')));
}

TEST_F(EthernetDownloadTest, NoUnitAtTheAddressASilentEndOrABadPortIsReported) {
    // An empty project: a header with no blocks, then the final answer.
    tree.Write("DefaultPrj.hex", "");
    unitsim::TcpBehaviour b;
    b.silentAtEnd = true;
    unit.SetBehaviour(b);
    EXPECT_EQ(Download({}, 300), kEthFirmwareFailed);
    ASSERT_EQ(unit.Files().size(), 1u);
    EXPECT_TRUE(unit.Files()[0].completed);

    unit.SetBehaviour(unitsim::TcpBehaviour());
    const auto before = unit.Files().size();
    EXPECT_EQ(Download(), kEthCompleted);
    const auto files = unit.Files();
    ASSERT_EQ(files.size(), before + 4);
    EXPECT_EQ(files.back().header[8], 0);
    EXPECT_TRUE(files.back().data.empty());

    unit.Stop();
    ui.ClearRecords();
    EXPECT_EQ(Download([&] { ui.AnswerMessageBox(ui::IDOK, kMsgUnitNotFound); }), kEthFirmwareFailed);

    CEthernetDownloadDlg dlg;
    ui.ExpectModal(IDD_ETHERNET_DOWNLOAD, [&](ui::Dialog& d) {
        d.Item(IDC_ETH_PORT).UserType("70000");
        ui.AnswerMessageBox(ui::IDOK, kMsgEthPortInvalid);
        d.UserClickButton(IDC_ETH_DOWNLOAD);
        EXPECT_EQ(d.GetDlgItemText(IDC_ETH_STATUS), "");
        d.UserClickButton(IDC_ETH_CANCEL);
    });
    dlg.DoModal();
}

// An address the unit cannot have is refused before anything is sent, not taken for a
// failed firmware.
TEST_F(EthernetDownloadTest, AnAddressThatIsNotFourNumbersUpTo255IsRefused) {
    unit.Stop();
    CEthernetDownloadDlg dlg;
    ui.ExpectModal(IDD_ETHERNET_DOWNLOAD, [&](ui::Dialog& d) {
        d.Item(IDC_ETH_PORT).UserType(std::to_string(unit.Port()));
        for (const char* typed : {"300.1.2.3", "383.0.0.1", "127.0.0", "127.0.0.1.5", "127.0..1", "127.0.0.x", ""}) {
            d.Item(IDC_ETH_IP_ADDRESS).UserType(typed);
            ui.AnswerMessageBox(ui::IDOK, kMsgEthAddressInvalid);
            d.UserClickButton(IDC_ETH_DOWNLOAD);
            EXPECT_EQ(d.GetDlgItemText(IDC_ETH_STATUS), "") << typed;
            EXPECT_TRUE(d.Item(IDC_ETH_DOWNLOAD).IsWindowEnabled());
        }
        d.UserClickButton(IDC_ETH_CANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(ui.MessageBoxes().size(), 7u);
    EXPECT_TRUE(unit.Files().empty());
    // The last address used stays what it was.
    EXPECT_EQ(g_abUnitIp[0], 192);
}

// 0.0.0.0 names no machine (a connection to it reaches this one) and 255.255.255.255 every
// machine: each is refused with why, before anything is sent.
TEST_F(EthernetDownloadTest, TheAddressOfNoMachineOrOfAllIsRefusedWithWhyAndNothingIsSent) {
    CEthernetDownloadDlg dlg;
    ui.ExpectModal(IDD_ETHERNET_DOWNLOAD, [&](ui::Dialog& d) {
        d.Item(IDC_ETH_PORT).UserType(std::to_string(unit.Port()));
        for (const auto& [typed, why] : {std::pair{"0.0.0.0", kMsgEthAddressNone},
                                         std::pair{"255.255.255.255", kMsgEthAddressBroadcast}}) {
            d.Item(IDC_ETH_IP_ADDRESS).UserType(typed);
            ui.AnswerMessageBox(ui::IDOK, why);
            d.UserClickButton(IDC_ETH_DOWNLOAD);
            EXPECT_EQ(d.GetDlgItemText(IDC_ETH_STATUS), "") << typed;
        }
        d.UserPressEscape();
    });
    dlg.DoModal();
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(unit.Connections(), 0);
    EXPECT_EQ(g_abUnitIp[0], 192);
}

// The bar moves across the blocks of every file, not only before them.
TEST_F(EthernetDownloadTest, ProgressMovesAcrossTheBlocksOfEachFile) {
    struct Recorder : IEthernetDownloadReporter {
        int ShowMessage(const std::string&, const std::string&, unsigned) override { return linkmb::kIdOk; }
        void SetProgressPos(int position) override { positions.push_back(position); }
        std::vector<int> positions;
    } rec;
    CEthernetDownload download(rec);
    download.SetTimeout(2000);
    const uint8_t address[4] = {127, 0, 0, 1};
    ASSERT_EQ(download.Run("QVX-ENET", address, uint16_t(unit.Port())), 0);
    // The firmware (69 blocks of 1024 bytes): after its header, the bar climbs block by block.
    const auto header = std::find(rec.positions.begin(), rec.positions.end(), 100);
    ASSERT_NE(header, rec.positions.end());
    const std::vector<int> blocks(header + 1, header + 1 + 10);
    EXPECT_TRUE(std::is_sorted(blocks.begin(), blocks.end()));
    EXPECT_GT(blocks.front(), 100);
    EXPECT_LT(blocks.back(), 120);
}
