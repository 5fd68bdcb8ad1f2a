#pragma once
// The transfer tests' bench: the link tests' simulated unit and port, a private copy of
// the sample tree, a project of the QVX-S7 (DF1 Full Duplex on COM1, Modbus RTU Master on
// COM2) with every kind of block, internal-database rows on both ports and all seven
// feature tables, and a reporter that records what the dialog would show.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "LinkTestSupport.h"
#include "app/UploadSystemDataDlg.h"
#include "res/ToolsResource.h"
#include "res/TransferResource.h"
#include "TestSupport.h"
#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "compiler/BlockScan.h"
#include "compiler/IdbImage.h"
#include "compiler/ProjectImage.h"
#include "plc/FeatureKeys.h"
#include "link/TransferTasks.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "plc/OpenProjectReset.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

// The unit unplugged as the n-th file stream of a download begins.
inline std::thread UnplugAtStream(unitsim::UnitSimulator& sim, size_t n) {
    return std::thread([&sim, n] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (sim.Streams().size() < n && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        sim.Stop();
    });
}

// The lines of a transfer dialog's message list, the blank separators left out.
inline std::vector<std::string> MessageListLines(const ui::Dialog& d) {
    std::vector<std::string> out;
    auto& list = d.Item<ui::ListControl>(IDC_MESSAGE_LIST);
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetLBText(i) != " ") out.push_back(list.GetLBText(i));
    return out;
}

// Select All and Download in a transfer dialog, the unit unplugged as the n-th file stream
// begins; the message list the dialog then shows.
template <class Ui>
std::vector<std::string> DownloadAllUnpluggedAt(Ui& ui, unitsim::UnitSimulator& sim, ui::Dialog& dlg, int dialogId,
                                                size_t stream) {
    std::thread unplug = UnplugAtStream(sim, stream);
    std::vector<std::string> log;
    ui.ExpectModal(dialogId, [&](ui::Dialog& d) {
        d.UserClickButton(IDC_SELECT_ALL);
        d.UserClickButton(IDC_DOWNLOAD);
        log = MessageListLines(d);
        d.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK, "Data will be overwritten.");
    dlg.DoModal();
    unplug.join();
    return log;
}

// What both dialogs list when the unit goes during the PLC1 driver of Select All.
inline const std::vector<std::string> kLogUnitGoneDuringPlc1Driver = {
    "Firmware downloaded successfully.", "PLC1 driver download failed.", "PLC2 Driver not sent: the download failed.",
    "Project not sent: the download failed."};

struct LineMark {
    int line;
    LineState state;
    int icon;
    bool operator==(const LineMark& o) const { return line == o.line && state == o.state && icon == o.icon; }
};

class TransferRecorder : public ITransferReporter {
public:
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override {
        messages.push_back({text, caption, flags});
        if (!answers.empty()) {
            int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return (flags & 0x0F) == linkmb::kYesNo ? linkmb::kIdYes : linkmb::kIdOk;
    }
    void SetProgressPos(int position) override { progress.push_back(position); }
    void MarkLine(int line, LineState state, int icon) override { lines.push_back({line, state, icon}); }
    void ClearStatus() override { ++cleared; }
    void SetFileName(const std::string& name) override { fileNames.push_back(name); }
    std::string ChooseFirmwareFile(const std::vector<std::string>& paths, const std::string&) override {
        offered = paths;
        return choice < 0 || static_cast<size_t>(choice) >= paths.size() ? std::string() : paths[choice];
    }
    bool AskProductForProject(std::string& product) override {
        ++productQuestions;
        if (productAnswer.empty()) return false;
        product = productAnswer;
        return true;
    }
    void RestoreMenuAfterTransfer() override { ++menuRestores; }

    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.text);
        return out;
    }
    bool Marked(int line, LineState state) const {
        for (const LineMark& m : lines)
            if (m.line == line && m.state == state) return true;
        return false;
    }

    std::vector<ShownMessage> messages;
    std::deque<int> answers;  // buttons pressed, in order; then OK / Yes
    std::vector<int> progress;
    std::vector<LineMark> lines;
    std::vector<std::string> fileNames;
    std::vector<std::string> offered;
    int choice = 0;  // index of the firmware file picked; -1 cancels
    std::string productAnswer;
    int productQuestions = 0;
    int menuRestores = 0;
    int cleared = 0;
};

// Puts every part of the project model back to its state at start-up.
inline void ResetModel() {
    ResetOpenProject();
    g_PlcRegisterTables = CPlcRegisterTables();
    g_bExtendedSetup = g_nFeatureCount = g_bEthernetSetting = g_bTagTable = 0;
    g_bRecipesCom1 = g_bRecipesCom2 = g_bAttachRegCom1 = g_bAttachRegCom2 = 0;
    g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = g_bUsesPlc141 = g_bDefCommRegFill = 0;
    g_bExtSetupError1 = g_bExtSetupError2 = g_nRecipeState = g_bNewProject = 0;
    g_bCom2IsCAN = g_bIdbModified = g_bSlaveMode = g_bCom2Driver135 = 0;
    g_bProjectModified = 0;
    g_szProductName = g_szProductPath = g_szProductNameCopy = "";
    g_szUploadIdbFile1 = g_szUploadIdbFile2 = "";
    g_strPrjFileLastIo.clear();
    g_nDeviceId = g_nDeviceIdAlt = 81;
    g_bLinkFailed = 0;
    g_nDownloadResult = 0;
    g_arrFirmwareFiles.clear();
    g_strFirmwareFile.clear();
}

// Configure Project: the product and the PLC model of each port, loaded as the protocol
// level loads them.
inline void SelectProject(const std::string& product, unsigned deviceId, const std::string& plc1,
                          int model1, const std::string& plc2, int model2) {
    ResetModel();
    g_szProductName = g_szProductPath = g_szProductNameCopy = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.g_strPcComPort = kPortName;
    t.g_strPlc1Inf = deffiles::PlcDefinitionFile(product, plc1);
    t.g_strPlc1Section = platform::GetPrivateProfileString("Plc Info", "Plc" + std::to_string(model1), "", 80, t.g_strPlc1Inf);
    t.g_strPlc2Inf = deffiles::PlcDefinitionFile(product, plc2);
    t.g_strPlc2Section = platform::GetPrivateProfileString("Plc Info", "Plc" + std::to_string(model2), "", 80, t.g_strPlc2Inf);
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    t.SetBlockWordLimit(false);
    LoadExtendedSetupKeys();
}

inline std::string Nine(std::string text) {
    text = text.substr(0, 9);
    text.append(9 - text.size(), '*');
    return text;
}

// An address as the register formatter writes it: the unit's image carries the register
// and its numbers, not the spelling the user typed ("N7:0" comes back as "N007:000").
inline std::string Canonical(const std::string& address, int port) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const size_t underscore = address.find('_');
    const std::string base = address.substr(0, underscore);
    const std::string suffix = underscore == std::string::npos ? "" : address.substr(underscore);
    const std::string key = Nine(port == 1 ? t.ParseAddressCom1(base) : t.ParseAddressCom2(base));
    return RebuildIdbAddress(key, port, t.IsCoilAddress(base, port) == 1) + suffix;
}

// The sample project of the round trip, in the model and on disk (WritePrj.hex and the
// working internal-database images of a modified project).
struct SampleProject {
    BlockRows rows;
    std::vector<IdbPaneRow> pane1, pane2;
    std::string idb1, idb2, writePrj;
};

inline SampleProject MakeSampleProject() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const std::string p1 = t.g_strPLC1Name, p2 = t.g_strPLC2Name;
    auto a1 = [](const char* address) { return Canonical(address, 1); };
    auto a2 = [](const char* address) { return Canonical(address, 2); };
    SampleProject s;
    // Words, bits, both directions, a coil to a bit of a word, bits of words on both sides.
    s.rows = {
        {"1", "10", p1, "1", a1("N7:0"), p2, "2", a2("H0001"), "5", "1", "words"},
        {"2", "60", p2, "3", a2("H0010"), p1, "1", a1("N7:4"), "10", "0", "back"},
        {"3", "16", p1, "1", a1("B3:0"), p2, "2", a2("C0001"), "2", "1", "coils"},
        {"4", "1", p2, "4", a2("C0020"), p1, "1", a1("N7:30_3"), "7", "0", "coil to bit"},
        {"5", "1", p1, "1", a1("N7:31_15"), p2, "2", a2("H0020_0"), "9", "1", "bit to bit"},
    };

    CProjectSettings& ps = g_ProjectSettings;
    ps.g_bCtrlWordEnabled = 1;
    ps.g_nCtrlWordSide = 0;
    ps.g_strCtrlWordAddr = a1("N7:10");
    ps.g_nCtrlWordStation = 3;
    ps.g_nCtrlWordWords = 2;
    ps.g_bErrBit1Enabled = 1;
    ps.g_strErrBitAddr1 = a1("N7:20");
    ps.g_nErrBit1 = 5;
    ps.g_bErrBit2Enabled = 1;
    ps.g_strErrBitAddr2 = "C0010";
    ps.g_nErrBit2 = 255;
    const int port0[4] = {19200, 8, 2, 1}, port1[4] = {115200, 7, 3, 2}, port2[4] = {4800, 8, 1, 1};
    std::memcpy(ps.g_anPortSettings[0], port0, sizeof port0);
    std::memcpy(ps.g_anPortSettings[1], port1, sizeof port1);
    std::memcpy(ps.g_anPortSettings[2], port2, sizeof port2);
    const int adv1[3] = {10, 20, 1}, adv2[3] = {3, 0, 250};
    std::memcpy(ps.g_anAdvSetting1, adv1, sizeof adv1);
    std::memcpy(ps.g_anAdvSetting2, adv2, sizeof adv2);

    s.pane1 = {{"", "1", a1("N7:0"), "Word", "10", "1", "0", "No", "65535"},
               {"", "2", a1("B3:0"), "DiscritBit", "16", "1", "2", "Yes", "0"}};
    s.pane2 = {{"", "2", "H0001", "Word", "300", "4", "0", "No", "1234"}};
    s.idb1 = EncodeIdbImage(s.pane1, 1);
    s.idb2 = EncodeIdbImage(s.pane2, 2);
    g_bProjectModified = 1;
    platform::WriteFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 1)), s.idb1);
    platform::WriteFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 2)), s.idb2);

    // All seven feature tables.
    g_bExtendedSetup = 1;
    g_bEthernetSetting = g_bTagTable = g_bRecipesCom1 = g_bRecipesCom2 = 1;
    g_bAttachRegCom1 = g_bAttachRegCom2 = g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 1;
    g_nFeatureCount = 7;
    CEthNodeTable& n = g_EthNodeTable;
    n.g_nEthNodeEntityCode = 1;
    n.g_arrNodeAddress = {"1", "7"};
    n.g_arrNodePort = {"502", "1024"};
    n.g_arrNodeIp = {"192.168.0.10", "10.0.0.7"};
    CEipTagTable& tags = g_EipTagTable;
    tags = CEipTagTable();
    tags.g_nTagTableEntityCode = 2;
    tags.g_arrTagCode = {"I00000001", "D00000002"};
    tags.g_arrTagName = {"MotorSpeed", "LineStatus"};
    tags.g_abTagType[0] = 3;
    tags.g_abTagType[1] = 4;
    tags.g_awTagSize[0] = 2;
    tags.g_awTagSize[1] = 200;
    CRecipeTables& r = g_RecipeTables;
    r.g_nRecipeCode = 3;
    r.g_arrRecipeRegCode = {Nine(t.ParseAddressCom1("N7:5")), Nine(t.ParseAddressCom2("C0005"))};
    r.g_arrRecipeAddr = {a1("N7:5"), a2("C0005")};
    r.g_abRecipePort[0] = 1, r.g_abRecipeCol1[0] = 1, r.g_abRecipeCol2[0] = 6, r.g_awRecipeValue[0] = 1234;
    r.g_abRecipePort[1] = 2, r.g_abRecipeCol1[1] = 2, r.g_abRecipeCol2[1] = 16, r.g_awRecipeValue[1] = 1;
    r.g_abRecipeIsCoil[1] = 1;
    CDefCommRegTables& d = g_DefCommRegs;
    d.g_nAttachRegCode1 = 4;
    d.g_nAttachRegCode2 = 5;
    d.g_arrAttachRegStation1 = {"1", "2"};
    d.g_arrAttachRegAddr1 = {a1("N7:0"), a1("B3:0")};
    d.g_arrAttachRegCode1 = {Nine(t.ParseAddressCom1("N7:0")), Nine(t.ParseAddressCom1("B3:0"))};
    d.g_arrAttachRegWords1.assign(200, "1");
    d.g_arrAttachRegWords1[0] = "4";
    d.g_abAttachRegData1[1] = 1;
    d.g_arrAttachRegStation2 = {"5"};
    d.g_arrAttachRegAddr2 = {"H0100"};
    d.g_arrAttachRegCode2 = {Nine(t.ParseAddressCom2("H0100"))};
    d.g_arrAttachRegWords2.assign(200, "1");
    d.g_arrAttachRegWords2[0] = "8";
    CGeneralEntityTables& g = g_GeneralEntity;
    g.g_nGeneralEntityCode1 = 6;
    g.g_nGeneralEntityCode2 = 7;
    g.g_nGeneralEntityCount1 = 5;
    g.g_nGeneralEntityCount2 = 3;
    g.g_nExtSetupLen1 = 6;
    g.g_nExtSetupLen2 = 4;
    const uint8_t values1[6] = {0xF4, 0x01, 3, 1, 0, 1}, values2[4] = {0xE8, 0x03, 0, 20};
    std::memset(g.g_abExtSetup1, 0, sizeof g.g_abExtSetup1);
    std::memset(g.g_abExtSetup2, 0, sizeof g.g_abExtSetup2);
    std::memcpy(g.g_abExtSetup1, values1, sizeof values1);
    std::memcpy(g.g_abExtSetup2, values2, sizeof values2);

    BlockLinks links;
    ScanBlocks(s.rows, false, 0, links);
    s.writePrj = BuildNewerProjectImage(s.rows, links);
    platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), s.writePrj);
    return s;
}

// The bytes of a stream as it crossed the line: the data padded with 0xFF to whole blocks.
inline std::vector<uint8_t> PaddedBytes(const std::string& data, size_t block) {
    std::vector<uint8_t> out(data.begin(), data.end());
    size_t blocks = (out.size() + block - 1) / block;
    out.resize(blocks * block, 0xFF);
    return out;
}

// The unit holds the sample project as a download leaves it, in blocks of 64 bytes (the
// product's transfer block size from now on).
// The setup record and the stream a unit keeps of a project downloaded in blocks of 64 bytes.
inline std::pair<std::vector<uint8_t>, std::vector<uint8_t>> StoredInUnit(const SampleProject& project) {
    const std::string dummy = ComposeDownloadImage(project.writePrj, project.idb1, project.idb2);
    const size_t d = dummy.size() - 298;
    std::vector<uint8_t> setup(dummy.begin() + 100, dummy.begin() + 164);
    setup[58] = static_cast<uint8_t>(d >> 8);
    setup[59] = static_cast<uint8_t>(d & 0xFF);
    return {setup, PaddedBytes("\x1E" + dummy.substr(298), 64)};
}

inline SampleProject StoreSampleProjectInUnit(unitsim::UnitSimulator& sim) {
    platform::WritePrivateProfileString("ProductList", "Product2DSize", "64", deffiles::ProductsInf());
    SampleProject project = MakeSampleProject();
    const auto [setup, stream] = StoredInUnit(project);
    sim.SetStoredProject(setup, stream);
    return project;
}

// Another project is open when an upload starts.
inline void OpenAnotherProject() {
    SelectProject("QVX-S7", 82, "101", 1, "103", 1);
    g_ProjectSettings.g_strProjAuthor = "Commissioning";
    g_ProjectSettings.g_nCtrlWordStation = 9;
    g_EthNodeTable.g_arrNodeIp = {"1.2.3.4"};
    g_bIdbModified = 0;
}

// Everything of the open project an upload may change, as one text, so that "untouched"
// is one comparison.
inline std::string ModelFingerprint() {
    std::ostringstream o;
    auto list = [&](const StringArray& a) {
        for (const auto& s : a) o << s << '|';
        o << '\n';
    };
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    o << t.g_strPLC1Name << t.g_strPlc1Inf << t.g_strPlc1Section << t.g_strPLC1Id << t.g_strPlc1ModelNo
      << t.g_strPLC2Name << t.g_strPlc2Inf << t.g_strPlc2Section << t.g_strPLC2Id << t.g_strPlc2ModelNo
      << t.g_nBlockWordLimit << '\n';
    list(t.g_arrPlc1RegPrefix);
    list(t.g_arrPlc2RegPrefix);
    const CProjectSettings& s = g_ProjectSettings;
    o << s.g_bCtrlWordEnabled << s.g_nCtrlWordSide << s.g_strCtrlWordAddr << s.g_nCtrlWordStation
      << s.g_nCtrlWordWords << s.g_bErrBit1Enabled << s.g_strErrBitAddr1 << s.g_nErrBit1
      << s.g_bErrBit2Enabled << s.g_strErrBitAddr2 << s.g_nErrBit2 << s.g_nProductNo << s.g_nProjectVersion;
    for (const auto& port : s.g_anPortSettings)
        for (int v : port) o << ',' << v;
    for (int v : s.g_anAdvSetting1) o << ';' << v;
    for (int v : s.g_anAdvSetting2) o << ';' << v;
    o << '\n' << g_szProductName << g_szProductPath << g_szProductNameCopy << '\n';
    list(g_EthNodeTable.g_arrNodeIp);
    list(g_EipTagTable.g_arrTagCode);
    list(g_RecipeTables.g_arrRecipeAddr);
    list(g_DefCommRegs.g_arrAttachRegAddr1);
    list(g_DefCommRegs.g_arrAttachRegWords1);
    o << g_GeneralEntity.g_nExtSetupLen1 << g_GeneralEntity.g_nExtSetupLen2
      << std::string(reinterpret_cast<const char*>(g_GeneralEntity.g_abExtSetup1), 200) << '\n';
    o << g_bExtendedSetup << g_nFeatureCount << g_bEthernetSetting << g_bTagTable << g_bRecipesCom1
      << g_bAttachRegCom1 << g_bAttachRegCom2 << g_bGeneralEntityCom1 << g_bGeneralEntityCom2
      << g_bCom2IsCAN << g_bIdbModified << g_szUploadIdbFile1 << '\n';
    std::string idb1, idb2;
    platform::ReadFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 1)), idb1);
    platform::ReadFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 2)), idb2);
    o << idb1 << '|' << idb2;
    return o.str();
}

// A project of the product with the two drivers (model 1 each), its unit on COM7 with the
// firmware named and the project's drivers.
inline void UseProductOnCom7(unitsim::UnitSimulator& sim, const std::string& product, unsigned deviceId,
                             const char* plc1, const char* plc2, const char* firmware) {
    SelectProject(product, deviceId, plc1, 1, plc2, 1);
    platform::WritePrivateProfileString("Com", "Port", "7", deffiles::DataInf(product));
    unitsim::Behaviour b = sim.GetBehaviour();
    b.productCode = static_cast<uint8_t>(deviceId);
    b.driverReport = {uint8_t(std::atoi(plc1)), 1, uint8_t(std::atoi(plc2)), 1, 0};
    b.firmwareVersion = firmware;
    sim.SetBehaviour(b);
}

// The S7 project of DF1 Full Duplex and Modbus RTU Master, its unit on COM7 with the
// newest firmware and the project's drivers.
inline void StartUnitOnCom7(unitsim::UnitSimulator& sim) {
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    ::setenv("QUORVEX_COM7", sim.SlavePath().c_str(), 1);
    UseProductOnCom7(sim, "QVX-S7", 82, "102", "101", "V03.40");
}

// Upload System Data from a unit of another product, which says "Product ID mismatch.";
// the unit then behaves as before.
template <class Ui, class Clock>
void UploadSystemDataFromAnotherProduct(Ui& ui, unitsim::UnitSimulator& sim, Clock& clock) {
    const unitsim::Behaviour own = sim.GetBehaviour();
    unitsim::Behaviour other = own;
    other.productCode = own.productCode == 84 ? 82 : 84;
    sim.SetBehaviour(other);
    CUploadSystemDataDlg sysdata;
    sysdata.Port().SetClock(&clock);
    ui.ExpectModal(IDD_UPLOAD_SYSTEM_DATA, [](ui::Dialog& d) {
        d.UserClickButton(IDC_SYSDATA_UPLOAD);
        d.UserClickButton(ui::IDOK);
    });
    ui.AnswerMessageBox(ui::IDOK, kMsgProductIdMismatch);
    sysdata.DoModal();
    EXPECT_EQ(g_bProductMismatch, 1);
    sim.WaitQuiet(50, 3000);
    sim.SetBehaviour(own);
}

class TransferFixture : public UnitFixture {
protected:
    void SetUp() override {
        UnitFixture::SetUp();
        SelectProject("QVX-S7", 82, "102", 1, "101", 1);
        // A unit holding the project's drivers.
        Unit([](auto& b) {
            b.productCode = 82;
            b.driverReport = {102, 1, 101, 1, 0};
            b.handshakeDelayMs = 15;
        });
        tasks = std::make_unique<CTransferTasks>(port, rec);
        tasks->m_nBlockSize = CTransferTasks::ReadTransferBlockSize(g_szProductName);
    }
    void TearDown() override {
        tasks.reset();
        UnitFixture::TearDown();
        ResetModel();
    }

    std::string Dist(const std::string& relative) const { return tree.Read(relative); }
    // The product's transfer block size, in products.inf and in the dialog.
    void UseBlockSize(int size) {
        platform::WritePrivateProfileString("ProductList", "Product2DSize", std::to_string(size),
                                            deffiles::ProductsInf());
        tasks->m_nBlockSize = CTransferTasks::ReadTransferBlockSize(g_szProductName);
    }
    static std::vector<uint8_t> Padded(const std::string& data, size_t block) { return PaddedBytes(data, block); }
    std::vector<uint8_t> CommandBytes() const {
        std::vector<uint8_t> out;
        for (uint16_t c : sim.Commands()) out.push_back(static_cast<uint8_t>(c >> 8));
        return out;
    }

    testsupport::SampleTree tree;
    TransferRecorder rec;
    std::unique_ptr<CTransferTasks> tasks;
};
