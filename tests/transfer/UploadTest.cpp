// Project upload against the simulated unit: the round trip of a downloaded project, and
// every way the unit can fail the upload, each of which must leave the open project as it
// was.
#include <algorithm>
#include <chrono>
#include <thread>

#include "TransferTestSupport.h"

namespace {

class UploadTest : public TransferFixture {
protected:
    SampleProject StoreSampleInUnit() {
        SampleProject project = StoreSampleProjectInUnit(sim);
        tasks->m_nBlockSize = CTransferTasks::ReadTransferBlockSize(g_szProductName);
        return project;
    }
    void OpenOtherProject() { OpenAnotherProject(); }
};

}  // namespace

TEST_F(UploadTest, RoundTripGivesBackEveryFieldTheImageCarries) {
    UseBlockSize(64);
    const SampleProject original = MakeSampleProject();
    const CProjectSettings settings = g_ProjectSettings;  // as the image writer left it
    const CEthNodeTable nodes = g_EthNodeTable;
    const CEipTagTable tags = g_EipTagTable;
    const CRecipeTables recipes = g_RecipeTables;
    const CDefCommRegTables regs = g_DefCommRegs;
    const CGeneralEntityTables general = g_GeneralEntity;
    ASSERT_EQ(tasks->DownloadProject(), 0);
    Settle();
    sim.ClearLog();

    OpenOtherProject();
    rec = TransferRecorder();
    ASSERT_EQ(tasks->UploadProject(), 0) << ::testing::PrintToString(rec.Texts());
    EXPECT_TRUE(rec.messages.empty());
    const UploadedProject* up = tasks->Uploaded();
    ASSERT_NE(up, nullptr);

    // Identities and register tables of the unit's drivers.
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    EXPECT_EQ(t.g_strPLC1Id, "102");
    EXPECT_EQ(t.g_strPlc1Section, "Series 5");
    EXPECT_EQ(t.g_strPLC1Name, "DF1 Full Duplex");
    EXPECT_EQ(t.g_strPLC2Id, "101");
    EXPECT_EQ(t.g_strPLC2Name, "Modbus RTU Master");
    EXPECT_EQ(t.g_arrPlc1RegPrefix.size(), 13u);
    EXPECT_EQ(t.g_nBlockWordLimit, 64);
    EXPECT_EQ(g_szProductName, "QVX-S7");

    // Blocks, every column but the comment.
    ASSERT_EQ(up->rows.size(), original.rows.size());
    for (size_t i = 0; i < original.rows.size(); ++i)
        for (int c = kColBlockNo; c <= kColControlBit; ++c)
            EXPECT_EQ(up->rows[i][c], original.rows[i][c]) << "row " << i << " column " << c;

    // Settings: control word, error bits, ports 0 and 1, advance settings, product.
    const CProjectSettings& s = g_ProjectSettings;
    EXPECT_EQ(s.g_bCtrlWordEnabled, 1);
    EXPECT_EQ(s.g_nCtrlWordSide, 0);
    EXPECT_EQ(Canonical("N7:10", 1), "N007:010");  // the spelling is the formatter's
    EXPECT_EQ(s.g_strCtrlWordAddr, "N007:010");
    EXPECT_EQ(s.g_nCtrlWordStation, 3);
    EXPECT_EQ(s.g_nCtrlWordWords, 2);
    EXPECT_EQ(s.g_bErrBit1Enabled, 1);
    EXPECT_EQ(s.g_strErrBitAddr1, "N007:020");
    EXPECT_EQ(s.g_nErrBit1, 5);
    EXPECT_EQ(s.g_bErrBit2Enabled, 1);
    EXPECT_EQ(s.g_strErrBitAddr2, "C0010");
    EXPECT_EQ(s.g_nErrBit2, 255);
    for (int p = 0; p < 2; ++p)
        for (int f = 0; f < 4; ++f) EXPECT_EQ(s.g_anPortSettings[p][f], settings.g_anPortSettings[p][f]) << p << f;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.g_anAdvSetting1[i], settings.g_anAdvSetting1[i]);
        EXPECT_EQ(s.g_anAdvSetting2[i], settings.g_anAdvSetting2[i]);
    }
    EXPECT_EQ(s.g_nProductNo, 2);
    EXPECT_EQ(s.g_nProjectVersion, 4);

    // Internal-database rows: the images written for the panes and the rows they show.
    EXPECT_EQ(up->idbImage1, original.idb1);
    EXPECT_EQ(up->idbImage2, original.idb2);
    EXPECT_EQ(up->idbRows1, original.pane1);
    EXPECT_EQ(up->idbRows2, original.pane2);
    std::string file1, file2;
    ASSERT_TRUE(platform::ReadFileBytes(platform::ResolvePath(g_szUploadIdbFile1), file1));
    ASSERT_TRUE(platform::ReadFileBytes(platform::ResolvePath(g_szUploadIdbFile2), file2));
    EXPECT_EQ(file1, original.idb1);
    EXPECT_EQ(file2, original.idb2);
    EXPECT_EQ(g_szUploadIdbFile1, WorkingIdbPath("QVX-S7", 1));
    EXPECT_EQ(g_bIdbModified, 1);

    // The seven feature tables.
    EXPECT_EQ(g_bExtendedSetup, 1);
    EXPECT_EQ(g_nFeatureCount, 7);
    EXPECT_EQ(g_bEthernetSetting + g_bTagTable + g_bRecipesCom1 + g_bAttachRegCom1 + g_bAttachRegCom2 +
                  g_bGeneralEntityCom1 + g_bGeneralEntityCom2, 7);
    EXPECT_EQ(g_EthNodeTable.g_arrNodeAddress, nodes.g_arrNodeAddress);
    EXPECT_EQ(g_EthNodeTable.g_arrNodePort, nodes.g_arrNodePort);
    EXPECT_EQ(g_EthNodeTable.g_arrNodeIp, nodes.g_arrNodeIp);
    EXPECT_EQ(g_EipTagTable.g_arrTagCode, tags.g_arrTagCode);
    EXPECT_EQ(g_EipTagTable.g_arrTagName, tags.g_arrTagName);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(g_EipTagTable.g_abTagType[i], tags.g_abTagType[i]);
        EXPECT_EQ(g_EipTagTable.g_awTagSize[i], tags.g_awTagSize[i]);
    }
    EXPECT_EQ(g_RecipeTables.g_arrRecipeRegCode, recipes.g_arrRecipeRegCode);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, recipes.g_arrRecipeAddr);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(g_RecipeTables.g_abRecipePort[i], recipes.g_abRecipePort[i]);
        EXPECT_EQ(g_RecipeTables.g_abRecipeCol1[i], recipes.g_abRecipeCol1[i]);
        EXPECT_EQ(g_RecipeTables.g_abRecipeCol2[i], recipes.g_abRecipeCol2[i]);
        EXPECT_EQ(g_RecipeTables.g_awRecipeValue[i], recipes.g_awRecipeValue[i]);
        EXPECT_EQ(g_RecipeTables.g_abRecipeIsCoil[i], recipes.g_abRecipeIsCoil[i]);
    }
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegStation1, regs.g_arrAttachRegStation1);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegCode1, regs.g_arrAttachRegCode1);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegAddr1, regs.g_arrAttachRegAddr1);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords1, regs.g_arrAttachRegWords1);
    EXPECT_EQ(0, std::memcmp(g_DefCommRegs.g_abAttachRegData1, regs.g_abAttachRegData1, 150));
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegStation2, regs.g_arrAttachRegStation2);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegCode2, regs.g_arrAttachRegCode2);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegAddr2, regs.g_arrAttachRegAddr2);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords2, regs.g_arrAttachRegWords2);
    const CGeneralEntityTables& g = g_GeneralEntity;
    EXPECT_EQ(g.g_nExtSetupLen1, general.g_nExtSetupLen1);
    EXPECT_EQ(g.g_nExtSetupLen2, general.g_nExtSetupLen2);
    EXPECT_EQ(g.g_nGeneralEntityCount1, general.g_nGeneralEntityCount1);
    EXPECT_EQ(g.g_nGeneralEntityCount2, general.g_nGeneralEntityCount2);
    EXPECT_EQ(0, std::memcmp(g.g_abExtSetup1, general.g_abExtSetup1, 200));
    EXPECT_EQ(0, std::memcmp(g.g_abExtSetup2, general.g_abExtSetup2, 200));

    // What the image does not carry:
    // - the spelling of an address (it comes back in the register formatter's form);
    // - the comment column of the blocks;
    // - the project texts (author, title, description: emptied with the register tables;
    //   the dialog stamps the created and modified dates);
    // - port 2's settings and the time-outs of every port (products other than 84);
    // - the control word as shown (g_strCtrlWordShown);
    // - the entity codes of the PLC files (the image carries the fixed codes 1 to 7);
    // - the high byte of a tag's size; the recipes' value texts; the link fields of the
    //   slave-mode scan;
    // - the internal-database settings kept in the block tables.
    EXPECT_EQ(g_ProjectSettings.g_strProjAuthor, " ");
    EXPECT_EQ(up->rows[0][kColComment], "");
    EXPECT_EQ(up->title, "Untitled - Quorvex - QVX-S7");

    // The exchange: versions, restart, drivers, setup record, image; the image file holds
    // the blocks as they came.
    Settle();
    std::vector<uint16_t> commands = sim.Commands();
    std::vector<uint16_t> expected = {0x10AA, 0x1717, 0x10BB, 0x10AA, 0x2020, 0x10AA, 0x1515, 0x10AA, 0x1616};
    EXPECT_EQ(commands, expected);
    std::string uploaded;
    ASSERT_TRUE(platform::ReadFileBytes(platform::ResolvePath(ImageWorkFolder() + "UpLoadPrj.hex"), uploaded));
    const std::vector<uint8_t> stream = sim.StoredStream();
    EXPECT_EQ(uploaded, std::string(stream.begin(), stream.end()));
    EXPECT_EQ(rec.progress.back(), 200);
    // The bar climbs from 70 block by block while the image comes.
    const auto image = std::find(rec.progress.begin(), rec.progress.end(), 70);
    ASSERT_NE(image, rec.progress.end());
    const std::vector<int> blocks(image, rec.progress.end());
    EXPECT_TRUE(std::is_sorted(blocks.begin(), blocks.end()));
    EXPECT_EQ(blocks.size(), stream.size() / 64 + 2);  // 70, one position per block, 200
    EXPECT_EQ(rec.menuRestores, 1);
    EXPECT_TRUE(rec.Marked(kLineProject, LineState::Succeeded));
}

// One way the unit fails the upload, and the message that ends it.
struct UploadFailure {
    const char* name;
    std::function<void(unitsim::UnitSimulator&)> unit;
    std::string message;
};

class UploadFailureTest : public UploadTest, public ::testing::WithParamInterface<UploadFailure> {};

TEST_P(UploadFailureTest, EndsWithItsMessageAndLeavesTheProjectUntouched) {
    StoreSampleInUnit();
    OpenOtherProject();
    GetParam().unit(sim);
    const std::string before = ModelFingerprint();
    rec = TransferRecorder();
    EXPECT_EQ(tasks->UploadProject(), -1);
    EXPECT_EQ(rec.Texts(), std::vector<std::string>{GetParam().message});
    EXPECT_EQ(ModelFingerprint(), before);
    EXPECT_FALSE(rec.Marked(kLineProject, LineState::Succeeded));
}

namespace {
unitsim::CommandSpec Silent() { return unitsim::CommandSpec{false, unitsim::AfterCommand::Nothing, {}, {}}; }
unitsim::CommandSpec Answers(uint8_t byte) {
    return unitsim::CommandSpec{false, unitsim::AfterCommand::Reply, {byte}, {}};
}
template <typename F>
std::function<void(unitsim::UnitSimulator&)> Behave(F change) {
    return [change](unitsim::UnitSimulator& sim) {
        unitsim::Behaviour b = sim.GetBehaviour();
        change(b);
        sim.SetBehaviour(b);
    };
}
}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Unit, UploadFailureTest,
    ::testing::Values(
        UploadFailure{"NoProject", Behave([](auto& b) { b.noProject = true; }), kMsgNoProject},
        UploadFailure{"WrongCheckAtBlock2", Behave([](auto& b) { b.wrongCheckAtBlock = 2; }), kMsgCrcMismatch},
        UploadFailure{"StopsAfterBlock1", Behave([](auto& b) { b.stopAfterBlock = 1; }), kMsgBlockNotReceived},
        UploadFailure{"ImageClosingByteLeftOut", Behave([](auto& b) { b.omitImageClosingByte = true; }), kMsgCommError},
        UploadFailure{"SetupClosingByteLeftOut", Behave([](auto& b) { b.omitSetupClosingByte = true; }), kMsgCommError},
        UploadFailure{"SilentUnit", Behave([](auto& b) { b.silent = true; }), kMsgCommError},
        UploadFailure{"NoEchoToDrivers", [](auto& sim) { sim.SetCommand(0x20, Silent()); }, kMsgCommError},
        UploadFailure{"NoEchoToSetup", [](auto& sim) { sim.SetCommand(0x15, Silent()); }, kMsgCommError},
        UploadFailure{"WrongEchoToSetup", [](auto& sim) { sim.SetCommand(0x15, Answers(0x44)); }, kMsgCommError},
        UploadFailure{"NoEchoToImage", [](auto& sim) { sim.SetCommand(0x16, Silent()); }, kMsgCommError},
        UploadFailure{"WrongEchoToImage", [](auto& sim) { sim.SetCommand(0x16, Answers(0x44)); }, kMsgCommError},
        UploadFailure{"NoStatusByte", Behave([](auto& b) { b.cutSetupAfter = 1; }), kMsgCommError},
        UploadFailure{"SetupRecordCut", Behave([](auto& b) { b.cutSetupAfter = 30; }), kMsgCommError},
        UploadFailure{"NoSetupCheckByte", Behave([](auto& b) { b.cutSetupAfter = 66; }), kMsgCommError},
        UploadFailure{"NoImageLength", Behave([](auto& b) { b.cutImageAfter = 2; }), kMsgCommError},
        UploadFailure{"NoImageCheckByte", Behave([](auto& b) { b.cutImageAfter = 3 + 64; }), kMsgCrcNotReceived},
        UploadFailure{"UnknownDriver",
                      Behave([](auto& b) { b.driverReport = {102, 7, 101, 1, 0}; }), kMsgPlcFileError}),
    [](const ::testing::TestParamInfo<UploadFailure>& info) { return std::string(info.param.name); });

TEST_F(UploadTest, WrongCheckByteKeepsTheBlocksBeforeIt) {
    StoreSampleInUnit();
    Unit([](auto& b) { b.wrongCheckAtBlock = 3; });
    EXPECT_EQ(tasks->UploadProject(), -1);
    std::string uploaded;
    ASSERT_TRUE(platform::ReadFileBytes(platform::ResolvePath(ImageWorkFolder() + "UpLoadPrj.hex"), uploaded));
    EXPECT_EQ(uploaded.size(), 3u * 64);
}

TEST_F(UploadTest, SilentFirstHandshakeClearsTheStatusAndClosesThePort) {
    Unit([](auto& b) { b.silent = true; });
    EXPECT_EQ(tasks->UploadProject(), -1);
    EXPECT_TRUE(rec.Marked(kLineStep, LineState::Failed));
    EXPECT_TRUE(rec.Marked(kLineSetup, LineState::Failed));
    EXPECT_TRUE(rec.Marked(kLineProject, LineState::Failed));
    EXPECT_EQ(rec.cleared, 1);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(UploadTest, UnitVersionEndingAfterDSelectsTheAlternateHandshake) {
    StoreSampleInUnit();
    Unit([](auto& b) {
        b.productCode = 'S';
        b.firmwareVersion = "V1.00E";
    });
    g_nDeviceId = g_nDeviceIdAlt = 'S';  // a product of the alternate group
    EXPECT_EQ(tasks->UploadProject(), 0) << ::testing::PrintToString(rec.Texts());
    EXPECT_EQ(tasks->m_bAltHandshakeFirmware, 1);
    EXPECT_EQ(tasks->m_bAltHandshakeProduct, 1);
    // The first handshake and those after the restart differ. The restart's bytes may still
    // wait in the line when the upload returns: give the unit time to read them.
    std::vector<uint16_t> commands;
    for (int waited = 0; waited < 3000; waited += 10) {
        Settle();
        commands = sim.Commands();
        auto bb = std::find(commands.begin(), commands.end(), 0x10BB);
        if (bb != commands.end() && bb + 1 != commands.end()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(commands.front(), 0x10AA);
    auto restart = std::find(commands.begin(), commands.end(), 0x10BB);
    ASSERT_NE(restart, commands.end());
    EXPECT_EQ(*(restart + 1), 0x10CC);
}
