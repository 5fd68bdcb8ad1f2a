// The transfer dialog driven with no display against the simulated unit: the four tasks in
// order with the messages, lines and restart of a download; an upload handed to the
// block list; and the ways a download stops.
#include <chrono>
#include <thread>

#include "HeadlessUi.h"
#include "settings/ControlWordExDlg.h"
#include "TransferTestSupport.h"
#include "app/TransferTasksDlg.h"
#include "app/UploadSystemDataDlg.h"
#include "editor/NewBlockExView.h"
#include "platform/Text.h"
#include "res/DialogImages.h"
#include "res/ToolsResource.h"
#include "res/TransferResource.h"

namespace {

class TransferDialogTest : public ::testing::Test {
protected:
    TransferDialogTest() : clock(kSpeedup) {}

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.Start(&error)) << error;
        ::setenv("QUORVEX_COM7", sim.SlavePath().c_str(), 1);
        SelectProject("QVX-S7", 82, "102", 1, "101", 1);
        // The port the dialog opens is the product's.
        platform::WritePrivateProfileString("Com", "Port", "7", deffiles::DataInf("QVX-S7"));
        g_TransferPort.SetClock(&clock);
        unitsim::Behaviour b = sim.GetBehaviour();
        b.productCode = 82;
        b.driverReport = {102, 1, 101, 1, 0};
        b.firmwareVersion = "V03.40";
        b.handshakeDelayMs = 15;
        sim.SetBehaviour(b);
        g_nTransferMode = 1;
    }
    void TearDown() override {
        g_TransferPort.Close();
        g_TransferPort.SetClock(nullptr);
        sim.Stop();
        ::unsetenv("QUORVEX_COM7");
        ResetModel();
        g_nTransferMode = 0;
    }
    std::vector<std::string> LogLines(const ui::Dialog& d) const { return MessageListLines(d); }
    std::vector<uint8_t> CommandBytes() const {
        std::vector<uint8_t> out;
        for (uint16_t c : sim.Commands()) out.push_back(static_cast<uint8_t>(c >> 8));
        return out;
    }
    void Settle() { sim.WaitQuiet(50, 3000); }

    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    unitsim::UnitSimulator sim;
    platform::TestClock clock;
};

}  // namespace

TEST_F(TransferDialogTest, AllFourTasksRunInOrderAndEndWithTheRestart) {
    const SampleProject project = MakeSampleProject();
    CTransferTasksDlg dlg;
    dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 3); };
    std::vector<std::string> log;
    ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Download");
        EXPECT_EQ(d.GetDlgItemText(IDC_TASKS_GROUP), "Downloading Tasks");
        auto& tasks = d.Item<ui::ListView>(IDC_TASK_LIST);
        ASSERT_EQ(tasks.GetItemCount(), 4);
        EXPECT_EQ(tasks.GetItemText(1, 0), "PLC1 Driver");
        // Files into the unit show icon 147, the project 148; the messages scroll sideways.
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(tasks.GetImage(tasks.GetItemImage(row)), res::TaskIcon(row == 3 ? IDI_TASK_PROJECT : IDI_TASK_FILE));
        EXPECT_NE(res::TaskIcon(IDI_TASK_FILE), nullptr);
        EXPECT_EQ(d.Item<ui::ListControl>(IDC_MESSAGE_LIST).GetHorizontalExtent(), 1000);
        EXPECT_FALSE(d.Item(IDC_UPLOAD_PROJECT).IsWindowEnabled());
        EXPECT_EQ(d.Item<ui::ListControl>(IDC_COM_PORT).GetCurSel(), 6);
        d.UserClickButton(IDC_SELECT_ALL);
        d.UserClickButton(IDC_DOWNLOAD);
        log = LogLines(d);
        EXPECT_TRUE(d.Item(IDC_DOWNLOAD).IsWindowEnabled());
        EXPECT_EQ(d.Item(IDC_TRANSFER_PROGRESS).GetPos(), 0);
        d.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
    ui.AnswerFileDialog(tree.Path() + "QVX-S7/Firmware/FW0340.abs");
    ui.AnswerMessageBox(ui::IDYES, "Download completed.");
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);

    EXPECT_EQ(log, (std::vector<std::string>{"Firmware downloaded successfully.",
                                             "PLC1 driver downloaded successfully.",
                                             "PLC2 driver downloaded successfully.",
                                             "Project downloaded successfully."}));
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, kMsgDataOverwritten);
    EXPECT_EQ(ui.MessageBoxes()[1].text, kMsgRestartAfterDownload);
    Settle();
    // Firmware, both drivers, the unit's versions, the drivers it holds, the project, the restart.
    EXPECT_EQ(CommandBytes(), (std::vector<uint8_t>{0x10, 0x12, 0x10, 0x22, 0x10, 0x21, 0x10, 0x14, 0x10,
                                                    0x13, 0x10, 0x17, 0x10, 0x20, 0x10, 0x19, 0x10, 0x18, 0x10}));
    EXPECT_EQ(sim.Restarts(), 1);
    EXPECT_EQ(sim.Streams().size(), 4u);
    const auto sleeps = clock.Sleeps();
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 2000u), 3);
    EXPECT_FALSE(g_TransferPort.IsOpen());
    EXPECT_EQ(g_nDownloadResult, 0);
    EXPECT_EQ(g_nTransferMode, 0);  // Exit
}

TEST_F(TransferDialogTest, UploadHandsTheProjectToTheBlockListAndCloses) {
    const SampleProject sample = StoreSampleProjectInUnit(sim);
    OpenAnotherProject();
    CTransferTasksDlg dlg;
    dlg.m_bUploadMode = 1;
    dlg.m_nOpenMode = 2;
    g_nTransferMode = 2;
    BlockRows received;
    std::string title;
    dlg.m_onUploaded = [&](const UploadedProject& p) { received = p.rows; };
    dlg.m_setMainTitle = [&](const std::string& t) { title = t; };
    ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Upload");
        EXPECT_FALSE(d.Item(IDC_DOWNLOAD).IsWindowEnabled());
        EXPECT_FALSE(d.Item(IDC_TASK_LIST).IsWindowEnabled());
        d.UserClickButton(IDC_UPLOAD_PROJECT);
    });
    ui.AnswerMessageBox(ui::IDNO, "Uploading project completed.");
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_EQ(received.size(), sample.rows.size());
    EXPECT_EQ(received[0][kColSourceAddr], sample.rows[0][kColSourceAddr]);
    EXPECT_EQ(title, "Untitled - Quorvex - QVX-S7");
    EXPECT_EQ(g_bProjectModified, 1);
    EXPECT_EQ(g_bUntitled, 1);
    EXPECT_EQ(g_bProjectSaved, 0);
    EXPECT_EQ(g_ProjectSettings.g_nProjFileVersion, 2);
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC1Id, "102");
    EXPECT_FALSE(g_ProjectSettings.g_strProjCreated.empty());
    EXPECT_EQ(LogLines(dlg), std::vector<std::string>{"Project uploaded successfully."});
    EXPECT_EQ(sim.Restarts(), 1);  // the one of the exchange; the question was answered No
}

TEST_F(TransferDialogTest, FailedUploadKeepsTheDialogAndTheProject) {
    StoreSampleProjectInUnit(sim);
    unitsim::Behaviour b = sim.GetBehaviour();
    b.noProject = true;
    sim.SetBehaviour(b);
    OpenAnotherProject();
    const std::string before = ModelFingerprint();
    CTransferTasksDlg dlg;
    dlg.m_bUploadMode = 1;
    dlg.m_nOpenMode = 2;
    ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
        d.UserClickButton(IDC_UPLOAD_PROJECT);
        EXPECT_EQ(LogLines(d), std::vector<std::string>{"Upload Project failed."});
        EXPECT_TRUE(d.Item(IDC_UPLOAD_PROJECT).IsWindowEnabled());
        EXPECT_EQ(d.Item(IDC_LINE4_ICON).GetWindowText(), "196");
        d.UserClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, kMsgNoProject);
    EXPECT_EQ(ModelFingerprint(), before);
}

// The frame rebuilds the block list part-way through an upload: when the upload then fails,
// the list shows the open project's blocks, which a later save writes.
TEST_F(TransferDialogTest, AFailedUploadKeepsTheBlocksOfTheOpenProject) {
    StoreSampleProjectInUnit(sim);
    unitsim::Behaviour b = sim.GetBehaviour();
    b.noProject = true;
    sim.SetBehaviour(b);
    OpenAnotherProject();
    const std::string p1 = g_PlcRegisterTables.g_strPLC1Name, p2 = g_PlcRegisterTables.g_strPLC2Name;
    g_BlockListRows = {{"1              ", "00004", p1, "1", "N007:000", p2, "2", "H0001", "5", "0", "kept"}};
    const BlockRows rows = g_BlockListRows;
    g_bUntitled = 0;
    ui::Frame frame;
    frame.GetSplitter().CreateStatic(1, 2);
    frame.GetSplitter().CreateView(0, 0, std::make_unique<ui::View>());
    CNewBlockExView* view = nullptr;
    CTransferTasksDlg dlg;
    dlg.m_bUploadMode = 1;
    dlg.m_nOpenMode = 2;
    dlg.m_restoreMenu = [&] {
        view = static_cast<CNewBlockExView*>(frame.GetSplitter().CreateView(0, 1, std::make_unique<CNewBlockExView>()));
        view->OnInitialUpdate();
    };
    ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
        d.UserClickButton(IDC_UPLOAD_PROJECT);
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, kMsgNoProject);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetListCtrl().GetItemCount(), 1);
    EXPECT_EQ(view->GetCellText(0, kColComment), "kept");
    EXPECT_EQ(g_BlockListRows, rows);
}

TEST_F(TransferDialogTest, NothingTickedOrNoUsableBlockSizeIsRefusedBeforeTheUnitHearsAnything) {
    {
        CTransferTasksDlg dlg;
        ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
            d.UserClickButton(IDC_DOWNLOAD);
            EXPECT_FALSE(d.Item(IDC_UPLOAD_PROJECT).IsWindowEnabled());  // the download layout
            EXPECT_TRUE(d.Item(IDC_DOWNLOAD).IsWindowEnabled());
            d.UserClickButton(ui::IDCANCEL);
        });
        ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
        dlg.DoModal();
        ASSERT_EQ(ui.MessageBoxes().size(), 2u);
        EXPECT_EQ(ui.MessageBoxes()[1].text, kMsgInvalidSelection);
        EXPECT_EQ(ui.MessageBoxes()[1].flags, ui::MB_OK | ui::MB_ICONSTOP);
    }
    // A product whose block size is missing from the product list.
    platform::WritePrivateProfileString("ProductList", "Product2DSize", "0", deffiles::ProductsInf());
    ui.ClearRecords();
    CTransferTasksDlg dlg;
    ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
        d.UserClickButton(IDC_SELECT_ALL);
        d.UserClickButton(IDC_DOWNLOAD);
        d.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
    dlg.DoModal();
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[1].text, InvalidBlockSizeMessage(0, 600));
    Settle();
    EXPECT_TRUE(sim.Received().empty());
}

TEST_F(TransferDialogTest, ABlockInErrorSendsNothingAfterTheVersionQuery) {
    const SampleProject project = MakeSampleProject();
    BlockRows rows(project.rows.begin(), project.rows.begin() + 2);
    rows[1][kColDestAddr] = "";  // incomplete
    CTransferTasksDlg dlg;
    dlg.m_getBlockRows = [&] { return rows; };
    ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
        d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
        d.UserClickButton(IDC_DOWNLOAD);
        d.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
    dlg.DoModal();
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[1].text, platform::Format(kMsgBlockError.c_str(), 2));
    Settle();
    EXPECT_EQ(CommandBytes(), (std::vector<uint8_t>{0x10, 0x17}));
    EXPECT_EQ(g_nDownloadResult, -1);
}

TEST_F(TransferDialogTest, DatabaseImagesAreRebuiltWhenTheProjectOrTheControlWordChanged) {
    const SampleProject project = MakeSampleProject();
    unitsim::Behaviour b = sim.GetBehaviour();
    b.resyncGapMs = 100;
    sim.SetBehaviour(b);
    struct Case { int modified, confirmed, rebuilds; };
    for (const Case c : {Case{1, 0, 1}, Case{0, 0, 0}, Case{0, 1, 1}}) {
        g_bProjectModified = c.modified;
        g_bCtrlWordConfirmed = c.confirmed;
        int rebuilds = 0;
        CTransferTasksDlg dlg;
        dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 2); };
        dlg.m_rebuildIdbImages = [&](std::array<std::string, 2>&) {
            ++rebuilds;
            return false;  // the images on disk are the test's
        };
        ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
            d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
            d.UserClickButton(IDC_DOWNLOAD);
            d.UserClickButton(ui::IDCANCEL);
        });
        ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
        if (c.modified) ui.AnswerMessageBox(ui::IDNO, "Download completed.");
        dlg.DoModal();
        EXPECT_EQ(rebuilds, c.rebuilds) << "modified " << c.modified << ", control word " << c.confirmed;
        // A project that is not modified has no images beside an untitled file: the unit is left
        // waiting for a record until it gives up.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        Settle();
    }
    g_bCtrlWordConfirmed = 0;
}

TEST_F(TransferDialogTest, AFailedTaskStopsTheLaterOnesWithoutARestart) {
    MakeSampleProject();
    CTransferTasksDlg dlg;
    ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
        d.UserClickButton(IDC_SELECT_ALL);
        d.UserClickButton(IDC_DOWNLOAD);
        EXPECT_EQ(LogLines(d), std::vector<std::string>{"Nothing was sent: no firmware file was chosen."});
        d.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
    ui.AnswerFileDialog("");  // the firmware choice cancelled
    dlg.DoModal();
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);  // no restart question
    EXPECT_EQ(g_nDownloadResult, -1);
    Settle();
    EXPECT_TRUE(sim.Received().empty());
}

TEST_F(TransferDialogTest, OlderUnitFirmwareIsReplacedBeforeTheProject) {
    const SampleProject project = MakeSampleProject();
    unitsim::Behaviour b = sim.GetBehaviour();
    b.firmwareVersion = "V03.30";
    sim.SetBehaviour(b);
    CTransferTasksDlg dlg;
    dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 1); };
    ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
        d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
        d.UserClickButton(IDC_DOWNLOAD);
        d.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
    ui.AnswerFileDialog(tree.Path() + "QVX-S7/Firmware/FW0340.abs");
    ui.AnswerMessageBox(ui::IDNO, "Download completed.");
    dlg.DoModal();
    ASSERT_EQ(ui.MessageBoxes().size(), 3u);
    EXPECT_EQ(ui.MessageBoxes()[1].caption, "Old Firmware");
    EXPECT_EQ(ui.MessageBoxes()[1].text, kMsgOldFirmware);
    Settle();
    EXPECT_EQ(CommandBytes(), (std::vector<uint8_t>{0x10, 0x17, 0x10, 0x12, 0x10, 0x20, 0x10, 0x19, 0x10, 0x18}));
    EXPECT_EQ(sim.Restarts(), 0);
}

// The project needs the firmware first and no firmware file is chosen: nothing went, and the
// list says why rather than a failed firmware and a failed project.
TEST_F(TransferDialogTest, NoFirmwareChosenForTheProjectIsSaidAsNothingSent) {
    const SampleProject project = MakeSampleProject();
    unitsim::Behaviour b = sim.GetBehaviour();
    b.firmwareVersion = "V03.30";
    sim.SetBehaviour(b);
    CTransferTasksDlg dlg;
    dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 1); };
    ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
        d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
        d.UserClickButton(IDC_DOWNLOAD);
        EXPECT_EQ(LogLines(d), std::vector<std::string>{"Nothing was sent: no firmware file was chosen."});
        d.UserPressEscape();
    });
    ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
    ui.AnswerMessageBox(ui::IDOK, kMsgOldFirmware);
    ui.AnswerFileDialog("");
    dlg.DoModal();
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(g_nDownloadResult, -1);
    Settle();
    EXPECT_TRUE(sim.Streams().empty());
    EXPECT_TRUE(sim.Records().empty());
}

TEST_F(TransferDialogTest, NewerFirmwareOrOtherDriversDeclinedSendNoProjectAndReportNoSuccess) {
    const SampleProject project = MakeSampleProject();
    struct Case {
        const char* name;
        std::string firmware;
        std::vector<uint8_t> drivers;
        std::string question;
    };
    const std::vector<Case> cases = {
        {"advanced firmware", "V03.50", {102, 1, 101, 1, 0}, kMsgAdvancedFirmware},
        {"other drivers", "V03.40", {101, 1, 102, 1, 0}, "Quorvex is configured for drivers-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unitsim::Behaviour b = sim.GetBehaviour();
        b.firmwareVersion = c.firmware;
        b.driverReport = c.drivers;
        sim.SetBehaviour(b);
        sim.ClearLog();
        ui.ClearRecords();
        CTransferTasksDlg dlg;
        dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 1); };
        std::vector<std::string> log;
        ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
            d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
            d.UserClickButton(IDC_DOWNLOAD);
            log = LogLines(d);
            EXPECT_EQ(d.GetDlgItemText(IDC_SUMMARY), "");
            d.UserClickButton(ui::IDCANCEL);
        });
        ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
        ui.AnswerMessageBox(ui::IDNO, c.question);
        dlg.DoModal();
        EXPECT_TRUE(log.empty());  // no "Project downloaded successfully."
        EXPECT_EQ(ui.MessageBoxes().size(), 2u);  // and no restart question
        EXPECT_EQ(g_nDownloadResult, -1);
        Settle();
        for (const auto& s : sim.Streams()) EXPECT_NE(s.command, 0x18);
    }
}

TEST_F(TransferDialogTest, APortChosenIsStoredEvenWhenItCannotBeOpened) {
    ::setenv("QUORVEX_COM3", "/nonexistent/quorvex-port", 1);
    CTransferTasksDlg dlg;
    ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
        d.Item<ui::ListControl>(IDC_COM_PORT).UserSelect(2);
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    ::unsetenv("QUORVEX_COM3");
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, kMsgOpenPortError);
    EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM3");
    EXPECT_EQ(deffiles::ReadDataComPort("QVX-S7"), 3);
}

TEST_F(TransferDialogTest, AFailedProjectIsSaidAndKeptInTheListWithNoSuccessLine) {
    const SampleProject project = MakeSampleProject();
    const std::vector<std::pair<const char*, std::function<void(unitsim::Behaviour&)>>> cases = {
        {"refused block", [](auto& b) { b.refuseBlock = 1; }},
        {"wrong final byte", [](auto& b) { b.streamEndAnswer = 0x05; }},
        // A "Product ID mismatch." of Upload System Data earlier in the same run silences no
        // later failure: a unit that does not answer is still said.
        {"silent, after an earlier mismatch", [&](auto& b) {
             UploadSystemDataFromAnotherProduct(ui, sim, clock);
             Settle();
             b.silent = true;
         }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        unitsim::Behaviour b = sim.GetBehaviour();
        const unitsim::Behaviour normal = b;
        change(b);
        sim.SetBehaviour(b);
        ui.ClearRecords();
        CTransferTasksDlg dlg;
        dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 1); };
        std::vector<std::string> log;
        ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
            d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
            d.UserClickButton(IDC_DOWNLOAD);
            log = LogLines(d);
            d.UserClickButton(ui::IDCANCEL);
        });
        ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
        dlg.DoModal();
        EXPECT_EQ(log, std::vector<std::string>{"Project download failed."});
        ASSERT_EQ(ui.MessageBoxes().size(), 2u);  // the failure's message, no restart question
        EXPECT_NE(ui.MessageBoxes()[1].text, kMsgRestartAfterDownload);
        EXPECT_EQ(g_nDownloadResult, -1);
        Settle();
        sim.SetBehaviour(normal);
    }
}

TEST_F(TransferDialogTest, AUnitUnpluggedGivesOneMessagePerFailedTask) {
    const SampleProject project = MakeSampleProject();
    for (int task = 1; task < 4; ++task) {
        SCOPED_TRACE(task);
        std::string error;
        sim.Stop();
        ASSERT_TRUE(sim.Start(&error)) << error;
        ::setenv("QUORVEX_COM7", sim.SlavePath().c_str(), 1);
        ui.ClearRecords();
        CTransferTasksDlg dlg;
        dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 1); };
        // The line goes dead as soon as the port is open: every write and read fails.
        std::thread unplug([&] {
            while (!g_TransferPort.IsOpen()) std::this_thread::sleep_for(std::chrono::microseconds(100));
            sim.Stop();
        });
        ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
            d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(task, true);
            d.UserClickButton(IDC_DOWNLOAD);
            d.UserClickButton(ui::IDCANCEL);
        });
        ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
        dlg.DoModal();
        unplug.join();
        EXPECT_EQ(ui.MessageBoxes().size(), 2u);  // the question, then one failure
        EXPECT_EQ(g_nDownloadResult, -1);
    }
}

// QVX-S8, Select All, the unit gone during the PLC1 driver: the tasks after it are listed as
// not sent, as a stop lists them.
TEST_F(TransferDialogTest, AUnitGoneDuringADriverListsTheTasksAfterIt) {
    UseProductOnCom7(sim, "QVX-S8", 88, "101", "102", "V03.20");
    CTransferTasksDlg dlg;
    EXPECT_EQ(DownloadAllUnpluggedAt(ui, sim, dlg, IDD_TRANSFER_TASKS, 2), kLogUnitGoneDuringPlc1Driver);
    EXPECT_EQ(g_nDownloadResult, -1);
}

// A second program compiles a project of the same product into the shared image files while
// this download talks to the unit: the unit still gets the project this download compiled.
TEST_F(TransferDialogTest, TheUnitGetsTheImagesThisDownloadCompiledWhateverTheSharedFilesHoldLater) {
    const SampleProject project = MakeSampleProject();
    class Overwritten : public CTransferTasksDlg {
    public:
        void MarkLine(int line, LineState state, int icon) override {
            CTransferTasksDlg::MarkLine(line, state, icon);
            if (line == kLineCompile && state == LineState::Succeeded) {
                // Compiled: what this download holds, then another project's images on disk.
                platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), compiled);
                platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), other);
                platform::WriteFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 1)), otherIdb);
                platform::WriteFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 2)), otherIdb);
            }
        }
        std::string compiled, other, otherIdb;
    } dlg;
    dlg.other = project.writePrj;  // all five blocks; this download compiles two
    dlg.otherIdb = EncodeIdbImage({}, 1);
    dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 2); };
    dlg.m_rebuildIdbImages = [&](std::array<std::string, 2>& images) {
        images = {project.idb1, project.idb2};
        return true;
    };
    ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
        d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
        d.UserClickButton(IDC_DOWNLOAD);
        d.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
    ui.AnswerMessageBox(ui::IDNO, "Download completed.");
    dlg.DoModal();
    Settle();
    ASSERT_FALSE(dlg.compiled.empty());
    ASSERT_NE(dlg.compiled, dlg.other);
    const std::string dummy = ComposeDownloadImage(dlg.compiled, project.idb1, project.idb2);
    const auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].data, PaddedBytes("\x1E" + dummy.substr(kImageBlockCountOffset), 512));
    const auto records = sim.Records();
    ASSERT_EQ(records.size(), 1u);
    const std::vector<uint8_t> setup(dummy.begin() + kSetupRecordOffset, dummy.begin() + kSetupRecordOffset + 58);
    EXPECT_EQ(std::vector<uint8_t>(records[0].bytes.begin(), records[0].bytes.begin() + 58), setup);
    // The shared file stays where the unit's tools look for the compiled image.
    std::string onDisk;
    platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), onDisk);
    EXPECT_EQ(onDisk, dlg.other);
}

// The pauses before the first task show that task's lines with their texts, and a second run
// starts with an empty message list.
TEST_F(TransferDialogTest, TheFirstTaskIsLabelledDuringThePausesAndTheLastRunsMessagesGo) {
    const SampleProject project = MakeSampleProject();
    struct Watching : platform::TestClock {
        Watching() : platform::TestClock(kSpeedup) {}
        void Sleep(uint32_t ms) override {
            if (ms == 2000 && onPause) onPause();
            platform::TestClock::Sleep(ms);
        }
        std::function<void()> onPause;
    } watching;
    g_TransferPort.SetClock(&watching);
    CTransferTasksDlg dlg;
    dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 2); };
    std::vector<std::vector<std::string>> seen;  // line texts and messages at each pause
    watching.onPause = [&] {
        std::vector<std::string> now;
        for (int id : {IDC_LINE1_TEXT, IDC_LINE2_TEXT, IDC_LINE3_TEXT, IDC_LINE4_TEXT, IDC_LINE5_TEXT})
            now.push_back(dlg.GetDlgItemText(id));
        for (int id : {IDC_LINE1_ICON, IDC_LINE5_ICON}) now.push_back(dlg.Item(id).IsWindowVisible() ? "shown" : "hidden");
        // A key or click of the person is heard in the middle of a wait while the run lasts.
        now.push_back(ui::InputDuringWaits() ? "input heard" : "input held back");
        for (const std::string& line : LogLines(dlg)) now.push_back(line);
        seen.push_back(now);
    };
    ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
        d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
        d.UserClickButton(IDC_DOWNLOAD);  // a first run
        d.UserClickButton(IDC_DOWNLOAD);  // and another
        d.UserClickButton(ui::IDCANCEL);
    });
    for (int run = 0; run < 2; ++run) {
        ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
        ui.AnswerMessageBox(ui::IDNO, "Download completed.");
    }
    dlg.DoModal();
    g_TransferPort.SetClock(&clock);
    ASSERT_EQ(seen.size(), 6u);  // three pauses before the project, in each run
    const std::vector<std::string> labelled = {"Connecting to Quorvex.", "Checking existing drivers.",
                                               "Downloading Project setup.", "Downloading Project.",
                                               "Compiling Project.", "shown", "shown", "input heard"};
    for (const auto& now : seen) EXPECT_EQ(now, labelled);
    EXPECT_EQ(LogLines(dlg), std::vector<std::string>{"Project downloaded successfully."});
    EXPECT_FALSE(ui::InputDuringWaits());
}

// Escape during an upload: the exchange ends, nothing of it is taken over, the dialog says
// so and closes.
TEST_F(TransferDialogTest, AnUploadStoppedWithEscapeTakesNothingOver) {
    StoreSampleProjectInUnit(sim);
    OpenAnotherProject();
    const std::string before = ModelFingerprint();
    class Escaped : public CTransferTasksDlg {
    public:
        void MarkLine(int line, LineState state, int icon) override {
            CTransferTasksDlg::MarkLine(line, state, icon);
            if (line == kLineSetup && state == LineState::Succeeded) UserPressEscape();
        }
    } dlg;
    dlg.m_bUploadMode = 1;
    dlg.m_nOpenMode = 2;
    int taken = 0;
    dlg.m_onUploaded = [&](const UploadedProject&) { ++taken; };
    ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) { d.UserClickButton(IDC_UPLOAD_PROJECT); });
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(taken, 0);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);  // no restart question
    EXPECT_EQ(ui.MessageBoxes()[0].text,
              "Upload stopped. The project from the unit was not taken over; the open project is as it was.");
    EXPECT_EQ(LogLines(dlg), (std::vector<std::string>{"Stop asked: the project uploaded will not be taken over.",
                                                       "Upload stopped: the project was not taken over."}));
    EXPECT_EQ(ModelFingerprint(), before);
}
