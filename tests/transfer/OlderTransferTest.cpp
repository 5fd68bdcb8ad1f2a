// The older products' transfers against the simulated unit in its older mode: firmware,
// both drivers and the project with the exact bytes on the line and what the unit stored,
// the project uploaded back (round trip) for each kind of older unit, the ways a transfer
// fails, and the older transfer dialog around them.
#include <algorithm>
#include <cstring>

#include "HeadlessUi.h"
#include "TransferTestSupport.h"
#include "app/DownloadDlg.h"
#include "app/UploadSystemDataDlg.h"
#include "compiler/OlderUploadDecode.h"
#include "link/OlderTransfer.h"
#include "link/SystemDataUpload.h"
#include "projectfiles/OlderProjectFile.h"
#include "projectfiles/OlderProjectReader.h"
#include "platform/Text.h"
#include "res/ToolsResource.h"
#include "res/TransferResource.h"

namespace {

using Bytes8 = std::vector<uint8_t>;

// An older product with a pair of PLCs and a word and a bit address on each side.
struct OlderCase {
    const char* product;
    unsigned deviceId;
    const char* plc1;
    const char* plc2;
    const char* word1;
    const char* bit1;
    const char* word2;
    const char* bit2;
};

const OlderCase kQvx00 = {"QVX-00", 81, "102", "101", "N7:0", "B3:0", "H0001", "C0001"};        // 26-byte records
const OlderCase kQvx100 = {"QVX-100", 85, "101", "103", "H0010", "C0020", "D0100", "M0010"};   // 27-byte records
const OlderCase kQvx300 = {"QVX-300", 83, "101", "103", "H0010", "C0020", "D0100", "M0010"};   // 64-byte blocks
const OlderCase kZava = {"Zava Dorazuduvoz", 84, "111", "112", "", "", "", ""};                 // setup record only

std::string Name(const ::testing::TestParamInfo<OlderCase>& info) {
    return "Product" + std::to_string(info.param.deviceId);
}

// The project of a case in the model and compiled into WritePrj.hex.
std::vector<OlderBlockRow> MakeOlderProject(const OlderCase& c) {
    SelectProject(c.product, c.deviceId, c.plc1, 1, c.plc2, 1);
    CProjectSettings& s = g_ProjectSettings;
    const int port0[4] = {19200, 8, 2, 1}, port1[4] = {115200, 7, 3, 2}, port2[4] = {4800, 8, 1, 1};
    std::memcpy(s.g_anPortSettings[0], port0, sizeof port0);
    std::memcpy(s.g_anPortSettings[1], port1, sizeof port1);
    std::memcpy(s.g_anPortSettings[2], port2, sizeof port2);
    std::vector<OlderBlockRow> rows;
    if (c.deviceId == 84) {
        s.g_anPortTimeout[0] = 5, s.g_anPortTimeout[1] = 10, s.g_anPortTimeout[2] = 50;
    } else {
        const std::string p1 = g_PlcRegisterTables.g_strPLC1Name, p2 = g_PlcRegisterTables.g_strPLC2Name;
        const std::string w1 = Canonical(c.word1, 1), b1 = Canonical(c.bit1, 1);
        const std::string w2 = Canonical(c.word2, 2), b2 = Canonical(c.bit2, 2);
        rows = {{"1", "10", p1, "1", w1, p2, "2", w2, "5", ""},
                {"2", "4", p2, "3", w2, p1, "1", w1, "10", ""},
                {"3", "16", p1, "1", b1, p2, "2", b2, "2", ""}};
        s.g_bCtrlWordEnabled = 1;
        s.g_nCtrlWordSide = 0;
        s.g_strCtrlWordAddr = w1;
        s.g_bErrBit1Enabled = 1;
        s.g_strErrBitAddr1 = b1;
        s.g_bErrBit2Enabled = 1;
        s.g_strErrBitAddr2 = b2;
        const int adv1[3] = {10, 20, 1}, adv2[3] = {3, 0, 250};
        std::memcpy(s.g_anAdvSetting1, adv1, sizeof adv1);
        std::memcpy(s.g_anAdvSetting2, adv2, sizeof adv2);
    }
    platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), BuildOlderProjectImage(rows));
    return rows;
}

// A file as the older blocks carry it: length byte, data, check byte; then 0x00 0x00.
Bytes8 OlderFrames(const std::string& data, size_t block) {
    Bytes8 out;
    for (size_t at = 0; at < data.size(); at += block) {
        const size_t n = std::min(block, data.size() - at);
        uint8_t check = static_cast<uint8_t>(n);
        out.push_back(static_cast<uint8_t>(n));
        for (size_t i = 0; i < n; ++i) {
            out.push_back(static_cast<uint8_t>(data[at + i]));
            check ^= static_cast<uint8_t>(data[at + i]);
        }
        out.push_back(check);
    }
    out.insert(out.end(), {0x00, 0x00});
    return out;
}

bool Contains(const Bytes8& haystack, const Bytes8& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

class OlderFixture : public UnitFixture {
protected:
    void Use(const OlderCase& c) {
        transfer.reset();  // the port's reporter goes back to the bench's first
        rows = MakeOlderProject(c);
        g_bProductMismatch = 0;
        const CPlcRegisterTables& t = g_PlcRegisterTables;
        Unit([&](unitsim::Behaviour& b) {
            b.older = true;
            b.resyncGapMs = kUnitResyncGapMs;
            b.productCode = static_cast<uint8_t>(c.deviceId);
            b.driverReport = {static_cast<uint8_t>(platform::Atoi(t.g_strPLC1Id)), 1,
                              static_cast<uint8_t>(platform::Atoi(t.g_strPLC2Id)), 1, 0};
        });
        transfer = std::make_unique<COlderTransfer>(port, rec);
    }
    void TearDown() override {
        transfer.reset();
        UnitFixture::TearDown();
        ResetModel();
        g_bProductMismatch = 0;
    }
    std::string Image() const {
        std::string image;
        platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), image);
        return image;
    }
    std::vector<uint8_t> CommandBytes() const {
        std::vector<uint8_t> out;
        for (uint16_t c : sim.Commands()) out.push_back(static_cast<uint8_t>(c >> 8));
        return out;
    }

    testsupport::SampleTree tree;
    TransferRecorder rec;
    std::unique_ptr<COlderTransfer> transfer;
    std::vector<OlderBlockRow> rows;
};

class OlderRoundTrip : public OlderFixture, public ::testing::WithParamInterface<OlderCase> {};

}  // namespace

TEST_P(OlderRoundTrip, FirmwareDriversAndProjectGoDownExactlyAndTheProjectComesBack) {
    const OlderCase& c = GetParam();
    Use(c);
    const bool whole = c.deviceId == 83 || c.deviceId == 84;
    const size_t block = whole ? 64 : 56;
    const CPlcRegisterTables& t = g_PlcRegisterTables;

    ASSERT_EQ(transfer->DownloadFirmware(), 0);
    // The bar moves through the whole firmware file (over a thousand blocks).
    EXPECT_TRUE(std::any_of(rec.progress.begin(), rec.progress.end(), [](int p) { return p > 90 && p < 120; }));
    ASSERT_EQ(transfer->DownloadCom1Driver(), 0);
    ASSERT_EQ(transfer->DownloadCom2Driver(), 0);
    ASSERT_EQ(transfer->DownloadProject(), 0);
    EXPECT_EQ(rec.progress.back(), 200);  // at its end when the download is done
    Settle();
    EXPECT_TRUE(rec.messages.empty()) << rec.Texts().front();
    EXPECT_EQ(g_nDownloadResult, 0);

    // The files from their start offsets in unpadded blocks with one length byte.
    const std::string folder = std::string(c.product) + "/";
    const std::string firmware = tree.Read(folder + "Firmware/" + g_strFirmwareFile.substr(g_strFirmwareFile.find_last_of("\\/") + 1));
    const std::string driverFile1 = platform::GetPrivateProfileString("Plc Info", "Com1PlcFilename", "", 80, t.g_strPlc1Inf);
    const std::string driverFile2 = platform::GetPrivateProfileString(
        "Plc Info", "Com2PlcFilename", "", 80, c.deviceId == 84 ? t.g_strPlc1Inf : t.g_strPlc2Inf);
    const std::string driver1 = tree.Read(folder + "Drivers/" + driverFile1);
    const std::string driver2 = tree.Read(folder + "Drivers/" + driverFile2);
    const std::string sent[3] = {firmware.substr(whole ? 0 : 8192), driver1.substr(whole ? 0 : 16416),
                                 driver2.substr(whole ? 0 : 32800)};
    const Bytes8 wire = sim.Received();
    const auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), c.deviceId == 84 ? 3u : 4u);
    const uint8_t commands[3] = {0x12, 0x21, 0x13};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(streams[k].command, commands[k]);
        EXPECT_EQ(streams[k].data, Bytes8(sent[k].begin(), sent[k].end()));
        EXPECT_TRUE(streams[k].completed && streams[k].checksOk);
        EXPECT_EQ(streams[k].blockLengths.front(), block);
        EXPECT_EQ(streams[k].blockLengths.back(), sent[k].size() % block ? sent[k].size() % block : block);
        Bytes8 framed = {commands[k], commands[k]};
        const Bytes8 frames = OlderFrames(sent[k], block);
        framed.insert(framed.end(), frames.begin(), frames.end());
        EXPECT_TRUE(Contains(wire, framed)) << "stream " << k;
    }

    // The driver setup records name the PLCs; the project's setup record is the image's.
    const std::string image = Image();
    const auto records = sim.Records();
    ASSERT_EQ(records.size(), 3u);
    Bytes8 record1(driver1.begin() + 16384, driver1.begin() + 16416);
    record1[0] = static_cast<uint8_t>(t.g_nPlc1RegWidth);
    record1[1] = static_cast<uint8_t>(platform::Atoi(t.g_strPLC1Id));
    record1[2] = 1;
    EXPECT_EQ(records[0].command, 0x22);
    EXPECT_EQ(records[0].bytes, record1);
    EXPECT_EQ(records[1].command, 0x14);
    EXPECT_EQ(records[1].bytes[0], static_cast<uint8_t>(t.g_nPlc2RegWidth));
    EXPECT_EQ(records[1].bytes[1], platform::Atoi(c.deviceId == 84 ? t.g_strPLC1Id : t.g_strPLC2Id));
    EXPECT_EQ(records[2].command, 0x19);
    EXPECT_EQ(records[2].bytes, Bytes8(image.begin() + 100, image.begin() + 164));
    EXPECT_EQ(sim.StoredSetup(), records[2].bytes);

    // The block records: count and its check, each record (0x18 inserted after the block
    // number except for 81) with its check byte and the two zeros, then the end.
    const auto stored = sim.StoredOlderBlocks();
    if (c.deviceId == 84) {
        EXPECT_TRUE(stored.empty());
        const auto commands = CommandBytes();
        EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x18), 0);
    } else {
        Bytes8 expect = {0x18, 0x18, 3, 0, 3};
        ASSERT_EQ(stored.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            const std::string record = image.substr(300 + 26 * i, 26);
            Bytes8 onWire(record.begin(), record.begin() + 2);
            if (c.deviceId != 81) onWire.push_back(0x18);
            onWire.insert(onWire.end(), record.begin() + 2, record.end());
            uint8_t check = 0;
            for (uint8_t b : onWire) check ^= b;
            onWire.push_back(check);
            EXPECT_EQ(stored[i], onWire) << "block " << i;
            expect.insert(expect.end(), onWire.begin(), onWire.end());
            expect.insert(expect.end(), {0x00, 0x00});
        }
        expect.insert(expect.end(), {0x00, 0x00});
        ASSERT_GE(wire.size(), expect.size());
        EXPECT_EQ(Bytes8(wire.end() - static_cast<long>(expect.size()), wire.end()), expect);
    }

    // Back out of the unit into another project.
    const CProjectSettings before = g_ProjectSettings;
    const std::string plc1Name = t.g_strPLC1Name;
    ResetModel();
    g_szProductName = g_szProductPath = g_szProductNameCopy = c.product;
    g_nDeviceId = g_nDeviceIdAlt = c.deviceId;
    sim.ClearLog();
    rec.progress.clear();
    ASSERT_EQ(transfer->UploadProject(), 0) << (rec.messages.empty() ? "" : rec.Texts().back());
    EXPECT_EQ(rec.progress.back(), 200);  // a whole upload ends with a full bar
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC1Name, "");  // not applied yet
    ApplyOlderUploadedProject(*transfer->Uploaded());
    const CProjectSettings& after = g_ProjectSettings;
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC1Name, plc1Name);
    EXPECT_EQ(g_szProductName, c.product);
    for (int p = 0; p < (c.deviceId == 84 ? 3 : 2); ++p)
        for (int f = 0; f < 4; ++f) EXPECT_EQ(after.g_anPortSettings[p][f], before.g_anPortSettings[p][f]) << p << f;
    if (c.deviceId == 84) {
        EXPECT_TRUE(transfer->Uploaded()->rows.empty());
        EXPECT_TRUE(transfer->Uploaded()->title.empty());
        for (int p = 0; p < 3; ++p) EXPECT_EQ(after.g_anPortTimeout[p], before.g_anPortTimeout[p]);
        return;
    }
    EXPECT_EQ(after.g_strCtrlWordAddr, before.g_strCtrlWordAddr);
    EXPECT_EQ(after.g_strErrBitAddr1, before.g_strErrBitAddr1);
    EXPECT_EQ(after.g_strErrBitAddr2, before.g_strErrBitAddr2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(after.g_anAdvSetting1[i], before.g_anAdvSetting1[i]);
        EXPECT_EQ(after.g_anAdvSetting2[i], before.g_anAdvSetting2[i]);
    }
    const auto& back = transfer->Uploaded()->rows;
    ASSERT_EQ(back.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        OlderBlockRow expect = rows[i];
        expect[0] += "              ";  // the block number as the unit's list shows it
        EXPECT_EQ(back[i], expect) << "row " << i;
    }
    EXPECT_EQ(transfer->Uploaded()->title, std::string("Untitled - Quorvex - ") + c.product);
}

INSTANTIATE_TEST_SUITE_P(Older, OlderRoundTrip, ::testing::Values(kQvx00, kQvx100, kQvx300, kZava), Name);

TEST_F(OlderFixture, EachFailureEndsWithItsMessageAndAFailedResult) {
    struct Case {
        const char* what;
        std::function<void(unitsim::Behaviour&)> unit;
        std::vector<std::string> messages;
        int result;
    };
    const std::vector<Case> cases = {
        {"silent unit", [](auto& b) { b.silent = true; }, {kMsgCommError}, -1},
        {"block refused", [](auto& b) { b.refuseBlock = 2; }, {kMsgBlockDownloadError}, -1},
        {"wrong end byte", [](auto& b) { b.streamEndAnswer = 0x05; }, {kMsgProjectError}, -1},
        {"setup record not ended", [](auto& b) { b.endAnswer = 0x05; }, {kMsgCommError}, -1},
        {"another product", [](auto& b) { b.productCode = 83; }, {kMsgProductIdMismatch}, -1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Use(kQvx100);
        Unit(k.unit);
        sim.ClearLog();
        rec.messages.clear();
        EXPECT_EQ(transfer->DownloadProject(), k.result);
        Settle();
        EXPECT_EQ(rec.Texts(), k.messages);
        // A refused block leaves the unit without the project; a setup record the unit
        // did not end leaves the blocks unsent.
        if (std::string(k.what) == "block refused") {
            EXPECT_TRUE(sim.StoredOlderBlocks().empty());
        }
        if (std::string(k.what) == "setup record not ended") {
            EXPECT_EQ(CommandBytes().back(), 0x19);
        }
        Unit([](auto& b) { b = unitsim::Behaviour(); });
    }
    // After a mismatch a failed handshake shows no 60000 (the mismatch was said).
    EXPECT_EQ(g_bProductMismatch, 1);
    Unit([](auto& b) { b.older = true, b.silent = true; });
    rec.messages.clear();
    EXPECT_EQ(transfer->DownloadCom1Driver(), -1);
    EXPECT_TRUE(rec.messages.empty());
}

// A unit that answers 200 ms late fails its download; what it said too late spoils nothing
// of the next download on the same line.
TEST_F(OlderFixture, AnAnswerTooLateFailsItsDownloadButNotTheNextOne) {
    Use(kQvx00);
    Unit([](auto& b) { b.answerDelayMs = 200; });
    EXPECT_EQ(transfer->DownloadProject(), -1);
    Unit([](auto& b) { b.answerDelayMs = unitsim::Behaviour().answerDelayMs; });
    rec.messages.clear();
    EXPECT_EQ(transfer->DownloadProject(), 0);
    EXPECT_TRUE(rec.messages.empty()) << rec.Texts().front();
    Settle();
    EXPECT_EQ(sim.StoredOlderBlocks().size(), 3u);
}

TEST_F(OlderFixture, ADeclinedDriverMismatchSendsNoProject) {
    Use(kQvx00);
    Unit([](auto& b) { b.driverReport = {102, 1, 103, 2, 0}; });
    rec.answers = {linkmb::kIdNo};
    EXPECT_EQ(transfer->DownloadProject(), 0);
    EXPECT_EQ(g_nDownloadResult, -1);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text,
              "Quorvex is configured for drivers-  \n \nCom1:DF1 Full Duplex(Series 5) \nCom2:Host Link(Modular "
              "Series)\n\n Project has different configuration.\nDo you want to continue ?");
    EXPECT_EQ(rec.messages[0].caption, "Error");
    Settle();
    EXPECT_TRUE(sim.Records().empty());
}

// Open, save, compile and download work on the project in the model: no view, no frame.
TEST_F(OlderFixture, AProjectSavesReopensCompilesAndDownloadsWithNoWindow) {
    testsupport::HeadlessUi ui;  // any message would fail the test
    Use(kQvx00);
    CProjectSettings& s = g_ProjectSettings;
    s.g_nProjFileVersion = 2;
    s.g_strProjAuthor = "Commissioning";
    s.g_nCtrlWordStation = s.g_nCtrlWordWords = 1;  // as the project reset leaves them: the file keeps neither
    s.g_anAdvSetting2[2] = 25;                       // the file keeps signed bytes
    for (int& v : s.g_anPortSettings[2]) v = 0;      // nor a third port
    g_OlderBlockListRows = rows;
    ASSERT_TRUE(WriteOlderProjectImage(g_OlderBlockListRows));
    const std::string image = Image();
    const std::string path = platform::ResolvePath(deffiles::ProjectsFolder(g_szProductName)) + "Line 2.prj";
    ASSERT_EQ(WriteOlderProjectFile(path, g_OlderBlockListRows), 0);
    const std::string model = ModelFingerprint();

    ResetModel();
    g_OlderBlockListRows.clear();
    g_szProductName = "QVX-00";
    ASSERT_EQ(OpenOlderProject(path, ProjectOpenHooks()), ProjectOpenResult::Opened);
    g_PlcRegisterTables.g_strPcComPort = kPortName;
    EXPECT_EQ(ModelFingerprint(), model);
    std::vector<OlderBlockRow> expected = rows;
    expected[1][kOlderColWords] = "04";  // the file keeps two digits
    EXPECT_EQ(g_OlderBlockListRows, expected);
    EXPECT_EQ(g_ProjectSettings.g_strProjAuthor, "Commissioning");

    ASSERT_TRUE(WriteOlderProjectImage(g_OlderBlockListRows));
    EXPECT_EQ(Image(), image);
    ASSERT_EQ(transfer->DownloadProject(), 0);
    Settle();
    EXPECT_TRUE(rec.messages.empty()) << rec.Texts().front();
    ASSERT_EQ(sim.Records().size(), 1u);
    EXPECT_EQ(sim.StoredSetup(), Bytes8(image.begin() + 100, image.begin() + 164));
    EXPECT_EQ(sim.StoredOlderBlocks().size(), rows.size());
}

TEST_F(OlderFixture, AnImageThatDoesNotHoldItsBlocksIsRefusedBeforeAnythingIsSent) {
    Use(kQvx00);
    const std::string image = Image();
    std::string tooMany = image;
    tooMany[298] = 0x00, tooMany[299] = 0x01;  // 256 blocks
    tooMany.resize(300 + 256 * 26, '\0');
    for (const std::string& bad : {image.substr(0, image.size() - 1), tooMany}) {
        platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), bad);
        port.Open(kPortName);
        rec.messages.clear();
        EXPECT_EQ(transfer->DownloadProject(), -1);
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_NE(rec.messages[0].text.find("Nothing was sent to the unit."), std::string::npos);
    }
    Settle();
    EXPECT_TRUE(sim.Received().empty());
}

TEST_F(OlderFixture, AnUploadThatFailsLeavesTheOpenProjectUntouched) {
    Use(kQvx00);
    ASSERT_EQ(transfer->DownloadProject(), 0);
    const auto full = sim.StoredOlderBlocks();
    std::vector<std::vector<uint8_t>> tooMany(256, full.front());
    const std::string fingerprint = ModelFingerprint();
    struct Case {
        const char* what;
        std::function<void()> unit;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"records cut short", [&] { Unit([](auto& b) { b.cutImageAfter = 40; }); }, kMsgCommError},
        {"too many blocks", [&] { sim.SetStoredOlderBlocks(tooMany); },
         "The unit reports 256 blocks; a project holds at most 255. The uploaded project was not taken over."},
        {"no project", [&] { Unit([](auto& b) { b.noProject = true; }); }, kMsgNoProject},
        // The upload faults of the unit, in the older variant.
        {"wrong check byte", [&] { Unit([](auto& b) { b.wrongCheckAtBlock = 1; }); },
         "Block 1 came from the unit with a wrong check byte. The uploaded project was not taken over."},
        {"silent after a block", [&] { Unit([](auto& b) { b.stopAfterBlock = 1; }); }, kMsgCommError},
        {"no closing byte", [&] { Unit([](auto& b) { b.omitImageClosingByte = true; }); }, kMsgCommError},
        {"setup without its closing byte", [&] { Unit([](auto& b) { b.omitSetupClosingByte = true; }); },
         kMsgCommError},
        {"shorter blocks", [&] { Unit([](auto& b) { b.uploadBlockSize = 20; }); }, kMsgCommError},
        {"longer blocks", [&] { Unit([](auto& b) { b.uploadBlockSize = 40; }); },  // found at the next record
         "Block 2 came from the unit with a wrong check byte. The uploaded project was not taken over."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Unit([](auto& b) {
            b.cutImageAfter = -1, b.noProject = false, b.wrongCheckAtBlock = b.stopAfterBlock = b.uploadBlockSize = 0;
            b.omitImageClosingByte = b.omitSetupClosingByte = false;
        });
        sim.SetStoredOlderBlocks(full);
        k.unit();
        port.Open(kPortName);
        rec.messages.clear();
        EXPECT_EQ(transfer->UploadProject(), -1);
        EXPECT_EQ(rec.Texts(), std::vector<std::string>{k.message});
        EXPECT_EQ(ModelFingerprint(), fingerprint);
    }
}

// ---------------------------------------------------------------------------------------
// The dialog

namespace {

class OlderDialogTest : public ::testing::Test {
protected:
    OlderDialogTest() : clock(kSpeedup) {}
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.Start(&error)) << error;
        ::setenv("QUORVEX_COM7", sim.SlavePath().c_str(), 1);
        rows = MakeOlderProject(kQvx00);
        platform::WritePrivateProfileString("Com", "Port", "7", deffiles::DataInf("QVX-00"));
        g_DownloadPort.SetClock(&clock);
        g_bProductMismatch = 0;
        unitsim::Behaviour b;
        b.older = true;
        b.productCode = 81;
        b.driverReport = {102, 1, 101, 1, 0};
        sim.SetBehaviour(b);
        g_nDownloadDlgMode = 1;
    }
    void TearDown() override {
        g_DownloadPort.Close();
        g_DownloadPort.SetClock(nullptr);
        sim.Stop();
        ::unsetenv("QUORVEX_COM7");
        ResetModel();
        g_nDownloadDlgMode = 0;
    }
    static std::vector<std::string> LogLines(const ui::Dialog& d) { return MessageListLines(d); }
    // Ticks the project alone and downloads; the dialog's message list afterwards.
    std::vector<std::string> DownloadProject(CDownloadDlg& dlg, bool restartQuestion = false) {
        if (!dlg.m_compileProject)  // the image is in place
            dlg.m_compileProject = [](std::string& image) {
                return platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), image) ? 0 : -1;
            };
        std::vector<std::string> log;
        ui.ExpectModal(IDD_DOWNLOAD, [&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Download");
            d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
            d.UserClickButton(IDC_DOWNLOAD);
            log = LogLines(d);
            d.UserClickButton(ui::IDCANCEL);
        });
        ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
        if (restartQuestion) ui.AnswerMessageBox(ui::IDNO, "Download completed.");
        dlg.DoModal();
        return log;
    }

    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    unitsim::UnitSimulator sim;
    platform::TestClock clock;
    std::vector<OlderBlockRow> rows;
};

}  // namespace

TEST_F(OlderDialogTest, AProjectDownloadEndsWithItsSuccessLineAndTheRestartQuestion) {
    CDownloadDlg dlg;
    EXPECT_EQ(DownloadProject(dlg, true), std::vector<std::string>{"Project downloaded successfully."});
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[1].text, kMsgRestartAfterDownload);
    sim.WaitQuiet(50, 3000);
    EXPECT_EQ(sim.StoredOlderBlocks().size(), 3u);
    EXPECT_EQ(sim.Restarts(), 0);
    EXPECT_EQ(g_nDownloadDlgMode, 0);  // Exit
}

// Upload System Data from a unit of another product says "Product ID mismatch."; the next
// download to a unit that does not answer still says its failure and keeps it in the list.
TEST_F(OlderDialogTest, AFailureAfterAnEarlierProductMismatchIsSaidAndStaysInView) {
    UploadSystemDataFromAnotherProduct(ui, sim, clock);
    unitsim::Behaviour b = sim.GetBehaviour();
    b.silent = true;
    sim.SetBehaviour(b);
    ui.ClearRecords();
    CDownloadDlg dlg;
    EXPECT_EQ(DownloadProject(dlg), std::vector<std::string>{"Project download failed."});
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[1].text, kMsgCommError);
}

TEST_F(OlderDialogTest, ExitIsDisabledWhileTheDownloadRunsAndUsableAfterIt) {
    CDownloadDlg dlg;
    bool exitDuring = true;
    dlg.m_compileProject = [&](std::string& image) {
        exitDuring = dlg.GetDlgItem(ui::IDCANCEL)->IsWindowEnabled();
        return platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), image) ? 0 : -1;
    };
    EXPECT_EQ(DownloadProject(dlg, true), std::vector<std::string>{"Project downloaded successfully."});
    EXPECT_FALSE(exitDuring);
    EXPECT_EQ(g_nDownloadDlgMode, 0);  // Exit worked afterwards
}

TEST_F(OlderDialogTest, ARefusedBlockEndsWithTheFailureLineAndNoSuccess) {
    unitsim::Behaviour b = sim.GetBehaviour();
    b.refuseBlock = 1;
    sim.SetBehaviour(b);
    CDownloadDlg dlg;
    EXPECT_EQ(DownloadProject(dlg), std::vector<std::string>{"Project download failed."});
    EXPECT_EQ(ui.MessageBoxes().back().text, kMsgBlockDownloadError);  // no restart question
    EXPECT_EQ(g_nDownloadResult, -1);
}

TEST_F(OlderDialogTest, ABlockInErrorStopsTheProjectBeforeTheUnitIsAsked) {
    CDownloadDlg dlg;
    dlg.m_findFailingBlock = [] { return 1; };
    EXPECT_TRUE(DownloadProject(dlg).empty());
    EXPECT_EQ(ui.MessageBoxes().back().text, platform::Format(kMsgBlockError.c_str(), 2));
    sim.WaitQuiet(50, 3000);
    EXPECT_TRUE(sim.Received().empty());
}

// Select All, the unit gone during the PLC1 driver: the tasks after it are listed as not sent.
TEST_F(OlderDialogTest, AUnitGoneDuringADriverListsTheTasksAfterIt) {
    CDownloadDlg dlg;
    EXPECT_EQ(DownloadAllUnpluggedAt(ui, sim, dlg, IDD_DOWNLOAD, 2), kLogUnitGoneDuringPlc1Driver);
}

TEST_F(OlderDialogTest, AnUploadReplacesTheProjectAndClosesTheDialog) {
    {
        CDownloadDlg first;
        DownloadProject(first, true);
    }
    const std::string plc1 = g_PlcRegisterTables.g_strPLC1Name;
    ResetModel();
    g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-00";
    g_nDeviceId = g_nDeviceIdAlt = 81;
    CDownloadDlg dlg;
    dlg.m_bUpload = 1;
    dlg.m_nOpenedFrom = 2;
    std::vector<OlderBlockRow> received;
    std::string title;
    int menus = 0;
    dlg.m_onOlderUploaded = [&](const OlderUploadedProject& p) { received = p.rows; };
    dlg.m_setMainTitle = [&](const std::string& t) { title = t; };
    dlg.m_restoreMenu = [&] { ++menus; };
    ui.ExpectModal(IDD_DOWNLOAD, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Upload");
        EXPECT_FALSE(d.Item(IDC_DOWNLOAD).IsWindowEnabled());
        d.UserClickButton(IDC_UPLOAD_PROJECT);
    });
    ui.AnswerMessageBox(ui::IDNO, "Uploading project completed.");
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(received.size(), rows.size());
    EXPECT_EQ(title, "Untitled - Quorvex - QVX-00");
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC1Name, plc1);
    EXPECT_EQ(g_bBlockListEdited, 1);
    EXPECT_EQ(g_bBlockExUntitled, 1);
}

// Another program compiling a project of the same product into WritePrj.hex between this
// download's compile and its send changes nothing of what the unit gets.
TEST_F(OlderDialogTest, TheUnitGetsTheImageThisDownloadCompiledWhateverWritePrjHoldsLater) {
    class Overwritten : public CDownloadDlg {
    public:
        void MarkLine(int line, LineState state, int icon) override {
            CDownloadDlg::MarkLine(line, state, icon);
            if (line == kLineCompile && state == LineState::Succeeded)
                platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), BuildOlderProjectImage({}));
        }
    } dlg;
    dlg.m_compileProject = [&](std::string& image) { return WriteOlderProjectImage(rows, &image) ? 0 : -1; };
    EXPECT_EQ(DownloadProject(dlg, true), std::vector<std::string>{"Project downloaded successfully."});
    sim.WaitQuiet(50, 3000);
    EXPECT_EQ(sim.StoredOlderBlocks().size(), rows.size());
}

// A simulated three-port unit reports the product's own drivers, so its project goes down
// without a driver question (drivers the product does not define could only be named by
// the definition files' default, "Corrupt PLC file").
TEST_F(OlderFixture, TheSimulatedThreePortUnitHoldsTheProductsOwnDrivers) {
    Use(kZava);
    Unit([](auto& b) { b.driverReport = unitsim::UnitSimulator::DefaultDriverReport(84); });
    ASSERT_EQ(transfer->DownloadProject(), 0) << ::testing::PrintToString(rec.Texts());
    EXPECT_TRUE(rec.messages.empty()) << rec.Texts().front();
    Settle();
    EXPECT_EQ(sim.Records().size(), 1u);  // its project is the setup record
}
