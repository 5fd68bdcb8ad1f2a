// Firmware, driver and project downloads against the simulated unit: what the unit stored
// byte for byte, the commands and pauses on the line, the status lines, and how each
// failure ends.
#include "HeadlessUi.h"
#include "TransferTestSupport.h"
#include "editor/NewBlockExView.h"
#include "model/ProjectFileFormat.h"
#include "platform/Text.h"
#include "projectfiles/ProjectFileReader.h"
#include "projectfiles/ProjectFileSections.h"
#include "projectfiles/ProjectIdb.h"
#include "projectfiles/ProjectSaves.h"

namespace {

using Sleeps = std::vector<uint32_t>;
const Sleeps kHandshake = {100, 1000, 1000};

Sleeps Join(std::initializer_list<Sleeps> parts) {
    Sleeps out;
    for (const Sleeps& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

class DownloadTest : public TransferFixture {};

}  // namespace

TEST_F(DownloadTest, FirmwareAndBothDriversReachTheUnitByteForByte) {
    rec.choice = 1;  // QVX-S7 has two firmware files: the chooser picks the second
    ASSERT_EQ(tasks->DownloadFirmware(), 0);
    ASSERT_EQ(tasks->DownloadCom1Driver(), 0);
    ASSERT_EQ(tasks->DownloadCom2Driver(), 0);
    Settle();
    EXPECT_TRUE(rec.messages.empty()) << rec.Texts().front();

    ASSERT_EQ(rec.offered.size(), 2u);
    EXPECT_EQ(g_strFirmwareFile, rec.offered[1]);
    EXPECT_NE(g_strFirmwareFile.find("FW0340.abs"), std::string::npos);

    const size_t block = 512;  // "Product2DSize"
    const std::string firmware = Dist("QVX-S7/Firmware/FW0340.abs");
    const std::string driver1 = Dist("QVX-S7/Drivers/DF1FD1.ABS");
    const std::string driver2 = Dist("QVX-S7/Drivers/MBRTUM2.ABS");

    auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 3u);
    EXPECT_EQ(streams[0].command, 0x12);
    EXPECT_EQ(streams[0].data, Padded(firmware, block));
    EXPECT_EQ(streams[1].command, 0x21);
    EXPECT_EQ(streams[1].data, Padded(driver1, block));
    EXPECT_EQ(streams[2].command, 0x13);
    EXPECT_EQ(streams[2].data, Padded(driver2, block));
    for (const auto& s : streams) {
        EXPECT_TRUE(s.checksOk && s.completed);
        EXPECT_EQ(s.blockLengths, std::vector<unsigned>(s.data.size() / block, block));
    }

    // The setup records: 32 bytes from inside each driver file, the first three naming
    // the port's PLC (register width, PLC code, model number).
    auto records = sim.Records();
    ASSERT_EQ(records.size(), 2u);
    std::vector<uint8_t> expect1(driver1.begin() + 16384, driver1.begin() + 16384 + 32);
    expect1[0] = 4, expect1[1] = 102, expect1[2] = 1;
    std::vector<uint8_t> expect2(driver2.begin() + 32768, driver2.begin() + 32768 + 32);
    expect2[0] = 4, expect2[1] = 101, expect2[2] = 1;
    EXPECT_EQ(records[0].command, 0x22);
    EXPECT_EQ(records[0].bytes, expect1);
    EXPECT_EQ(records[1].command, 0x14);
    EXPECT_EQ(records[1].bytes, expect2);
    EXPECT_TRUE(records[0].completed && records[1].completed);

    // Each task opens its own connection; a driver connects again before its file.
    EXPECT_EQ(CommandBytes(), (std::vector<uint8_t>{0x10, 0x12, 0x10, 0x22, 0x10, 0x21, 0x10, 0x14, 0x10, 0x13}));
    // Pauses: the handshakes, 1 s after each command, 1 s before each record's and each
    // stream's final answer.
    const Sleeps firmwareSleeps = Join({kHandshake, {1000, 1000}});
    const Sleeps driverSleeps = Join({kHandshake, {1000, 1000, 1000}, kHandshake, {1000, 1000}});
    EXPECT_EQ(clock.Sleeps(), Join({firmwareSleeps, driverSleeps, driverSleeps}));

    EXPECT_EQ(rec.fileNames, (std::vector<std::string>{"FW0340.abs", "", "DF1FD1.ABS", "", "MBRTUM2.ABS", ""}));
    EXPECT_TRUE(rec.Marked(kLineStep, LineState::Succeeded));
    EXPECT_FALSE(rec.Marked(kLineStep, LineState::Failed));
    EXPECT_EQ(rec.progress.back(), 200);
}

TEST_F(DownloadTest, FirmwareChoiceCancelledOrMissingSendsNothing) {
    rec.choice = -1;
    EXPECT_EQ(tasks->DownloadFirmware(), kNoFirmwareChosen);
    EXPECT_TRUE(rec.messages.empty());  // the dialog says nothing was sent, and why

    // A product folder without firmware: 60023, the port is closed.
    platform::WriteFileBytes(platform::ResolvePath(tree.Path() + "QVX-S7/Firmware/FW0330.abs"), "");
    std::remove((tree.Path() + "QVX-S7/Firmware/FW0330.abs").c_str());
    std::remove((tree.Path() + "QVX-S7/Firmware/FW0340.abs").c_str());
    EXPECT_EQ(tasks->DownloadFirmware(), -1);
    EXPECT_EQ(rec.Texts(), std::vector<std::string>{kMsgFirmwareFile});
    EXPECT_FALSE(port.IsOpen());
    Settle();
    EXPECT_TRUE(sim.Received().empty());
}

TEST_F(DownloadTest, ThreePortProductTakesBothDriversFromItsFirstPlc) {
    SelectProject("Zava Dorazuduvoz", 84, "111", 1, "112", 2);
    Unit([](auto& b) { b.productCode = 84; });
    tasks->m_nBlockSize = CTransferTasks::ReadTransferBlockSize(g_szProductName);
    ASSERT_EQ(tasks->m_nBlockSize, 128);
    ASSERT_EQ(tasks->DownloadCom2Driver(), 0);
    Settle();
    const std::string driver = Dist("Zava Dorazuduvoz/Drivers/MBMUX2.ABS");
    auto records = sim.Records();
    ASSERT_EQ(records.size(), 1u);
    std::vector<uint8_t> expect(driver.begin() + 32768, driver.begin() + 32768 + 32);
    expect[0] = static_cast<uint8_t>(g_PlcRegisterTables.g_nPlc2RegWidth);  // always the COM2 PLC's width
    expect[1] = 111, expect[2] = 1;  // the COM1 PLC's code and model
    EXPECT_EQ(records[0].bytes, expect);
    EXPECT_EQ(sim.Streams().at(0).data, Padded(driver, 128));
}

TEST_F(DownloadTest, DriverFailuresEndTheTaskWithTheirMessages) {
    // No echo to the setup command: the 10 s watchdog, then 60000.
    sim.SetCommand(0x22, unitsim::CommandSpec{false, unitsim::AfterCommand::Nothing, {}, {}});
    EXPECT_EQ(tasks->DownloadCom1Driver(), -1);
    EXPECT_EQ(rec.Texts(), std::vector<std::string>{kMsgCommError});
    EXPECT_TRUE(rec.Marked(kLineStep, LineState::Failed));

    // A setup record the unit does not complete fails the task: the driver is not sent.
    rec.messages.clear();
    sim.SetCommand(0x22, unitsim::CommandSpec{true, unitsim::AfterCommand::Record, {}, {}});
    Unit([](auto& b) { b.endAnswer = 0x07; });
    EXPECT_EQ(tasks->DownloadCom1Driver(), -1);
    Settle();
    EXPECT_TRUE(sim.Streams().empty());
    EXPECT_EQ(rec.lines.back(), (LineMark{kLineStep, LineState::Failed, 0}));

    // The driver file named by the PLC file is missing: 60024, the port is closed.
    rec.messages.clear();
    Unit([](auto& b) { b.endAnswer = 0x03; });
    std::remove((tree.Path() + "QVX-S7/Drivers/DF1FD1.ABS").c_str());
    EXPECT_EQ(tasks->DownloadCom1Driver(), -1);
    EXPECT_EQ(rec.Texts(), std::vector<std::string>{kMsgDriverFile});
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(DownloadTest, InvalidBlockSizeIsRefusedBeforeAnythingIsSent) {
    for (int size : {0, 601}) {
        tasks->m_nBlockSize = size;
        rec.messages.clear();
        EXPECT_EQ(tasks->DownloadFirmware(), -1);
        EXPECT_EQ(tasks->DownloadCom2Driver(), -1);
        EXPECT_EQ(rec.Texts(), std::vector<std::string>(2, InvalidBlockSizeMessage(size, 600)));
    }
    tasks->m_nBlockSize = 5001;
    EXPECT_EQ(tasks->DownloadProject(), -1);
    EXPECT_EQ(tasks->UploadProject(), -1);
    Settle();
    EXPECT_TRUE(sim.Received().empty());
    EXPECT_EQ(CTransferTasks::ReadTransferBlockSize("No Such Product"), 0);
}

TEST_F(DownloadTest, ProjectGoesOutAsComposedWithItsDataLength) {
    UseBlockSize(64);
    SampleProject project = MakeSampleProject();
    ASSERT_EQ(tasks->DownloadProject(), 0);
    Settle();
    EXPECT_TRUE(rec.messages.empty()) << rec.Texts().front();

    std::string dummy;
    ASSERT_TRUE(platform::ReadFileBytes(platform::ResolvePath(DummyPrjPath()), dummy));
    EXPECT_EQ(dummy, ComposeDownloadImage(project.writePrj, project.idb1, project.idb2));
    const size_t d = dummy.size() - 298;

    // The setup record differs from the file's only in the data length at 58-59.
    auto records = sim.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].command, 0x19);
    std::vector<uint8_t> setup(dummy.begin() + 100, dummy.begin() + 164);
    EXPECT_EQ(setup[58], 0);
    EXPECT_EQ(setup[59], 0);
    setup[58] = static_cast<uint8_t>(d >> 8);
    setup[59] = static_cast<uint8_t>(d & 0xFF);
    EXPECT_EQ(records[0].bytes, setup);

    // The stream: 0x1E and the image from its block count on, in blocks of 512.
    auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].command, 0x18);
    EXPECT_EQ(streams[0].data, Padded("\x1E" + dummy.substr(298), 64));
    EXPECT_EQ(streams[0].blockLengths, std::vector<unsigned>((d + 64) / 64, 64));
    EXPECT_TRUE(streams[0].completed && streams[0].checksOk);

    // The unit's drivers matched (it reports the project's): no question.
    EXPECT_EQ(CommandBytes(), (std::vector<uint8_t>{0x10, 0x20, 0x10, 0x19, 0x10, 0x18}));
    EXPECT_TRUE(rec.Marked(kLineStep, LineState::Succeeded));
    EXPECT_TRUE(rec.Marked(kLineSetup, LineState::Succeeded));
    EXPECT_EQ(clock.Sleeps(), Join({kHandshake, {1000}, kHandshake, {1000, 1000, 1000}, kHandshake, {1000, 1000}}));
    EXPECT_EQ(rec.fileNames, (std::vector<std::string>{"WritePrj.hex", ""}));
}

TEST_F(DownloadTest, DriverMismatchAsksAndNoStopsTheProject) {
    MakeSampleProject();
    Unit([](auto& b) { b.driverReport = {101, 1, 102, 2, 0}; });
    rec.answers = {linkmb::kIdNo};
    EXPECT_EQ(tasks->DownloadProject(), 0);
    EXPECT_EQ(g_nDownloadResult, -1);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text,
              "Quorvex is configured for drivers-  \n \nCom1:Modbus RTU Master(Standard) \nCom2:DF1 Full "
              "Duplex(Micro Series)\n\n Project has different configuration.\nDo you want to continue ?");
    EXPECT_EQ(rec.messages[0].caption, "Error");
    EXPECT_EQ(rec.messages[0].flags, linkmb::kYesNo);
    Settle();
    EXPECT_EQ(CommandBytes(), (std::vector<uint8_t>{0x10, 0x20}));

    // Yes goes on with the download.
    rec.answers = {linkmb::kIdYes};
    sim.ClearLog();
    EXPECT_EQ(tasks->DownloadProject(), 0);
    EXPECT_EQ(g_nDownloadResult, 0);
    Settle();
    EXPECT_EQ(sim.Streams().size(), 1u);
}

TEST_F(DownloadTest, ProjectFailuresEndWithTheirMessageAndNoSuccess) {
    UseBlockSize(64);
    MakeSampleProject();
    struct Case {
        const char* name;
        std::function<void(unitsim::Behaviour&)> unit;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"silent unit", [](auto& b) { b.silent = true; }, kMsgCommError},
        {"refused block", [](auto& b) { b.refuseBlock = 2; }, kMsgCommError},
        {"wrong final byte", [](auto& b) { b.streamEndAnswer = 0x05; }, kMsgProjectError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unitsim::Behaviour normal = sim.GetBehaviour();
        Unit(c.unit);
        rec = TransferRecorder();
        EXPECT_EQ(tasks->DownloadProject(), -1);
        EXPECT_EQ(rec.Texts(), std::vector<std::string>{c.message});
        Settle();
        sim.SetBehaviour(normal);
    }
    // The setup record that is not completed stops the project before its stream.
    rec = TransferRecorder();
    sim.ClearLog();
    Unit([](auto& b) { b.endAnswer = 0x05; });
    sim.SetCommand(0x18, unitsim::CommandSpec{true, unitsim::AfterCommand::Stream, {}, {}});
    EXPECT_EQ(tasks->DownloadProject(), -1);
    Settle();
    EXPECT_TRUE(sim.Streams().empty());
    EXPECT_TRUE(rec.Marked(kLineSetup, LineState::Failed));
}

TEST_F(DownloadTest, InternalDatabaseImagesComeFromWhereTheProjectKeepsThem) {
    MakeSampleProject();
    Unit([](auto& b) { b.resyncGapMs = 100; });
    // A saved project keeps them beside its file; none there.
    g_bProjectModified = 0;
    g_strPrjFileLastIo = tree.Path() + "QVX-S7/Projects/Plant.prj";
    EXPECT_EQ(tasks->DownloadProject(), -1);
    EXPECT_EQ(rec.Texts(), std::vector<std::string>{kMsgOpenIntermediate + "\n\"" + tree.Path() +
                                                    "QVX-S7/Projects/Plant_IDB1.hex\": No such file or directory."});
    EXPECT_FALSE(port.IsOpen());

    // The unit gives up on the record it was waiting for.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_EQ(port.Open(kPortName), 0);
    rec = TransferRecorder();
    g_bProjectModified = 1;
    std::remove(platform::ResolvePath(WorkingIdbPath(g_szProductName, 2)).c_str());
    EXPECT_EQ(tasks->DownloadProject(), -1);
    ASSERT_EQ(rec.Texts().size(), 1u);
    EXPECT_EQ(rec.Texts()[0].find(kMsgOpenIdbFiles + "\n\""), 0u);
}

TEST_F(DownloadTest, UnitFirmwareVersionComparedWithTheProducts) {
    // QVX-S7 expects "V03.40": the fifth character decides.
    const std::vector<std::pair<std::string, int>> cases = {{"V03.40", 1}, {"V03.30", 0}, {"V03.5A", 2}};
    for (const auto& [version, expected] : cases) {
        SCOPED_TRACE(version);
        Unit([&](auto& b) { b.firmwareVersion = version; });
        ASSERT_EQ(tasks->ConnectToUnit(), 0);  // the project task connects first
        ASSERT_EQ(tasks->ReadUnitFirmware(), 0);
        EXPECT_EQ(tasks->m_strUnitFirmware, version);
        EXPECT_EQ(tasks->CompareUnitFirmware(), expected);
    }
    // No answer: the port is closed and the project task ends; nothing more is written.
    Unit([](auto& b) { b.ignoreCommands = true; });
    ASSERT_EQ(tasks->ConnectToUnit(), 0);
    EXPECT_EQ(tasks->ReadUnitFirmware(), -1);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(rec.messages.empty());
}

// Open, save, compile and download work on the project in the model: no view, no frame.
TEST_F(DownloadTest, AProjectSavesReopensCompilesAndDownloadsWithNoWindow) {
    testsupport::HeadlessUi ui;  // any message would fail the test
    UseBlockSize(64);
    SampleProject project = MakeSampleProject();
    for (size_t i = 0; i < project.rows.size(); ++i)
        project.rows[i][kColBlockNo] = std::to_string(i + 1) + std::string(14, ' ');  // as the reader numbers them
    // The feature tables the PLC pair offers (the sample fills all seven).
    LoadExtendedSetupKeys();
    g_EthNodeTable = CEthNodeTable();
    g_EipTagTable = CEipTagTable();
    g_DefCommRegs.g_arrAttachRegStation1.clear();
    g_DefCommRegs.g_arrAttachRegAddr1.clear();
    g_DefCommRegs.g_arrAttachRegCode1.clear();
    g_DefCommRegs.g_arrAttachRegWords1.assign(prjfile::kMaxAttachRegRows, "1");
    for (int& v : g_ProjectSettings.g_anPortSettings[2]) v = 0;  // a third port the file does not keep
    g_BlockListRows = project.rows;
    g_IdbPaneRows[0] = project.pane1;
    g_IdbPaneRows[1] = project.pane2;
    LoadIdbSwitches();
    ASSERT_EQ(g_IdbSwitches.m_bIdbCom1 + g_IdbSwitches.m_bIdbCom2, 2);
    g_bIdbViewsFilled = 1;
    const std::string model = ModelFingerprint();
    const std::string folder = platform::ResolvePath(deffiles::ProjectsFolder(g_szProductName));
    ASSERT_TRUE(SaveNewerProjectAs(folder + "Line 4.prj"));

    // Another project in its place, then the file opened into the model.
    ResetModel();
    g_BlockListRows.clear();
    g_IdbPaneRows[0].clear();
    g_IdbPaneRows[1].clear();
    g_szProductName = "QVX-S7";
    g_nDeviceId = 82;
    std::vector<int> unreadable;
    ASSERT_EQ(OpenNewerProject(folder + "Line 4.prj", ProjectOpenHooks(), unreadable), ProjectOpenResult::Opened);
    EXPECT_TRUE(unreadable.empty());
    ASSERT_EQ(LoadIdbImages(), 0);
    g_PlcRegisterTables.g_strPcComPort = kPortName;
    g_bProjectModified = 1;  // the fingerprint's state of the saved project
    EXPECT_EQ(ModelFingerprint(), model);
    g_bProjectModified = 0;
    ASSERT_EQ(g_BlockListRows.size(), project.rows.size());
    for (size_t i = 0; i < project.rows.size(); ++i) {
        BlockRow expected = project.rows[i];
        expected[kColWords] = platform::Format("%05d", platform::Atoi(expected[kColWords]));  // as the file keeps it
        EXPECT_EQ(g_BlockListRows[i], expected);
    }
    EXPECT_EQ(g_IdbPaneRows[0], project.pane1);
    EXPECT_EQ(g_IdbPaneRows[1], project.pane2);

    // Saved again: the same file but for its time stamps, the same internal databases.
    ASSERT_TRUE(SaveNewerProjectAs(folder + "Line 4 copy.prj"));
    std::string first, second;
    ASSERT_TRUE(platform::ReadFileBytes(folder + "Line 4.prj", first));
    ASSERT_TRUE(platform::ReadFileBytes(folder + "Line 4 copy.prj", second));
    NewerProjectFile a, b;
    ASSERT_EQ(ParseNewerProjectFile(first, a), ProjectParse::Ok);
    ASSERT_EQ(ParseNewerProjectFile(second, b), ProjectParse::Ok);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(a.settings), sizeof a.settings),
              std::string(reinterpret_cast<char*>(b.settings), sizeof b.settings));
    EXPECT_EQ(a.rows, b.rows);
    EXPECT_EQ(first.substr(a.sectionsOffset), second.substr(b.sectionsOffset));
    for (int port = 1; port <= 2; ++port) {
        std::string idbFirst, idbSecond;
        ASSERT_TRUE(platform::ReadFileBytes(ProjectIdbPath(folder + "Line 4.prj", port), idbFirst));
        ASSERT_TRUE(platform::ReadFileBytes(ProjectIdbPath(folder + "Line 4 copy.prj", port), idbSecond));
        EXPECT_EQ(idbFirst, port == 1 ? project.idb1 : project.idb2);
        EXPECT_EQ(idbSecond, idbFirst);
    }

    // Compiled from the model's rows and downloaded: the unit holds what the project makes.
    ASSERT_TRUE(WriteNewerProjectImage(g_BlockListRows));
    std::string image;
    ASSERT_TRUE(platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), image));
    EXPECT_EQ(image, project.writePrj);
    ASSERT_EQ(tasks->DownloadProject(), 0);
    Settle();
    EXPECT_TRUE(rec.messages.empty()) << rec.Texts().front();
    const std::string dummy = ComposeDownloadImage(project.writePrj, project.idb1, project.idb2);
    const auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].data, Padded("\x1E" + dummy.substr(298), 64));
    EXPECT_TRUE(streams[0].completed && streams[0].checksOk);

    // A block added with no window: the save derives both databases from the blocks.
    BlockRow added = g_BlockListRows.front();
    added[kColBlockNo] = std::to_string(g_BlockListRows.size() + 1) + std::string(14, ' ');
    added[kColSourceAddr] = Canonical("N10:5", 1);
    g_BlockListRows.push_back(added);
    g_bNewBlockListEdited = g_bProjectModified = 1;
    ASSERT_TRUE(SaveNewerProject());
    const auto derived = std::find_if(g_IdbPaneRows[0].begin(), g_IdbPaneRows[0].end(),
                                      [&](const IdbPaneRow& row) { return row[kIdbColStart] == added[kColSourceAddr]; });
    EXPECT_NE(derived, g_IdbPaneRows[0].end());
    std::string idbSaved;
    ASSERT_TRUE(platform::ReadFileBytes(ProjectIdbPath(folder + "Line 4 copy.prj", 1), idbSaved));
    EXPECT_EQ(idbSaved, EncodeIdbImage(g_IdbPaneRows[0], 1));
    EXPECT_NE(idbSaved, project.idb1);
}

// A file of more blocks than the bar has steps still moves the bar across the whole file.
TEST_F(DownloadTest, ProgressMovesAcrossAFileOfMoreThan190Blocks) {
    UseBlockSize(128);  // the firmware: 545 blocks
    rec.choice = 1;
    ASSERT_EQ(tasks->DownloadFirmware(), 0);
    const auto from = std::find(rec.progress.begin(), rec.progress.end(), 10);
    ASSERT_NE(from, rec.progress.end());
    const std::vector<int> stream(from, rec.progress.end());
    EXPECT_TRUE(std::is_sorted(stream.begin(), stream.end()));
    ASSERT_GT(stream.size(), 545u);
    EXPECT_NEAR(stream[545 / 2], 105, 2);  // halfway through the file, halfway along the bar
    EXPECT_EQ(stream[545], 200);
}
