// The decode of an uploaded project on its own: images that end early or declare more
// than the tables hold, the product question, the advance-setting offsets, and the
// three-port product over the line.
#include "TransferTestSupport.h"
#include "compiler/OlderUploadDecode.h"
#include "projectfiles/ProjectFileReader.h"
#include "projectfiles/ProjectFileSections.h"
#include "projectfiles/ProjectFileWriter.h"
#include "editor/NewBlockCellEditors.h"
#include "platform/Text.h"
#include "tables/EthernetIPTagTableDlg.h"
#include "model/TableResets.h"

namespace {

class UploadDecodeTest : public TransferFixture {
protected:
    // The setup record and image the unit would give back for the sample project.
    void SampleImage(std::vector<uint8_t>& setup, std::string& image) {
        UseBlockSize(64);
        const SampleProject p = MakeSampleProject();
        const std::string dummy = ComposeDownloadImage(p.writePrj, p.idb1, p.idb2);
        setup.assign(dummy.begin() + 100, dummy.begin() + 164);
        image = "\x1E" + dummy.substr(298);
    }
    static std::string Header(int code, int length, int count, int width) {
        return {static_cast<char>(code), static_cast<char>(length & 0xFF), static_cast<char>(length >> 8),
                static_cast<char>(count), static_cast<char>(width)};
    }
};

}  // namespace

TEST_F(UploadDecodeTest, ImagesThatEndEarlyOrBreakTheirLayoutAreRefused) {
    std::vector<uint8_t> setup;
    std::string image;
    SampleImage(setup, image);
    const std::string before = ModelFingerprint();
    struct Case {
        const char* name;
        std::string image;
        std::string message;
    };
    std::string wrongWidth = image;
    wrongWidth[3 + 5 * 32] = 18;  // the COM1 internal-database header after five records
    const std::vector<Case> cases = {
        {"no block count", image.substr(0, 2), kMsgReadUploadFile},
        {"records missing", image.substr(0, 3 + 2 * 32), kMsgReadFile},
        {"row width not 19", wrongWidth, kMsgReadFile},
        {"rows missing", image.substr(0, 3 + 5 * 32 + 2 + 19), kMsgReadFile},
        {"feature body missing", image.substr(0, image.size() - 3), kMsgReadFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rec = TransferRecorder();
        CUploadDecoder decoder(rec);
        decoder.DecodeSetup(setup.data());
        EXPECT_EQ(decoder.DecodeImage(c.image), -1);
        EXPECT_EQ(rec.Texts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(decoder.Result().imageDecoded);
    }
    EXPECT_EQ(ModelFingerprint(), before);  // the decoder works on its own copy
}

TEST_F(UploadDecodeTest, CountsBeyondTheTablesAreBoundedAndTheStreamStaysAligned) {
    std::vector<uint8_t> setup;
    std::string image;
    SampleImage(setup, image);
    // No blocks, no internal database, three features: 200 recipe rows (150 fit), a COM1
    // general entity of 300 bytes (200 fit) and a COM2 one after them.
    std::string custom = std::string("\x1E\x00\x00\x13\x00\x13\x00", 7) + '\x03';
    custom += Header(3, 200 * 15, 200, 15);
    for (int r = 0; r < 200; ++r) {
        std::string row(15, '\0');
        row[0] = 1;
        row[1] = static_cast<char>(r);
        std::string key = Nine(g_PlcRegisterTables.ParseAddressCom1("N7:1"));
        row.replace(3, 9, key);
        row[12] = static_cast<char>(r);
        custom += row;
    }
    custom += Header(6, 300, 5, 0) + std::string(300, '\x11');
    custom += Header(7, 2, 3, 0) + "\x22\x33";
    custom += std::string(40, '\xFF');  // the padding of the last block

    CUploadDecoder decoder(rec);
    decoder.DecodeSetup(setup.data());
    ASSERT_EQ(decoder.DecodeImage(custom), 0) << ::testing::PrintToString(rec.Texts());
    const UploadModel& m = decoder.Result().model;
    EXPECT_TRUE(decoder.Result().rows.empty());
    EXPECT_EQ(m.recipes.g_arrRecipeAddr.size(), 150u);
    EXPECT_EQ(m.recipes.g_abRecipeCol1[149], 149);
    EXPECT_EQ(m.recipes.g_awRecipeValue[149], 149);
    EXPECT_EQ(m.generalEntity.g_nExtSetupLen1, 200);
    EXPECT_EQ(m.generalEntity.g_abExtSetup1[199], 0x11);
    EXPECT_EQ(m.generalEntity.g_nExtSetupLen2, 2);
    EXPECT_EQ(m.generalEntity.g_abExtSetup2[0], 0x22);
    EXPECT_EQ(m.generalEntity.g_nGeneralEntityCount2, 3);
    // The count the next download writes: every feature the PLC files switch on, one more
    // than the image carried.
    EXPECT_EQ(m.featureCount, 4);
    EXPECT_TRUE(decoder.Result().idbImage1.empty());  // no rows: a file of length 0
}

TEST_F(UploadDecodeTest, APresentButEmptyGeneralEntityIsDecoded) {
    std::vector<uint8_t> setup;
    std::string image;
    SampleImage(setup, image);
    std::string custom = std::string("\x1E\x00\x00\x13\x00\x13\x00", 7) + '\x01';
    custom += Header(6, 0, 5, 0) + std::string(40, '\xFF');
    CUploadDecoder decoder(rec);
    decoder.DecodeSetup(setup.data());
    ASSERT_EQ(decoder.DecodeImage(custom), 0) << ::testing::PrintToString(rec.Texts());
    EXPECT_EQ(decoder.Result().model.generalEntity.g_nExtSetupLen1, 0);
}

TEST_F(UploadDecodeTest, BlockNumberAboveTheListTakesItsLowByte) {
    std::vector<uint8_t> setup;
    std::string image;
    SampleImage(setup, image);
    image[3] = 0x2C;  // 300 in the first record
    image[4] = 0x01;
    CUploadDecoder decoder(rec);
    decoder.DecodeSetup(setup.data());
    ASSERT_EQ(decoder.DecodeImage(image), 0);
    EXPECT_EQ(decoder.Result().rows.at(0)[kColBlockNo], "44");
}

TEST_F(UploadDecodeTest, ProductQuestionCancelledKeepsTheCurrentProduct) {
    std::vector<uint8_t> setup;
    std::string image;
    SampleImage(setup, image);
    setup[48] = 'X';  // a project that names no product of this program
    setup[49] = 77;   // nor a known product number
    {
        CUploadDecoder decoder(rec);
        decoder.DecodeSetup(setup.data());
        EXPECT_EQ(rec.productQuestions, 1);
        EXPECT_EQ(decoder.Result().model.productName, "QVX-S7");
    }
    rec.productAnswer = "QVX-ENET";
    CUploadDecoder decoder(rec);
    decoder.DecodeSetup(setup.data());
    EXPECT_EQ(decoder.Result().model.productName, "QVX-ENET");
    EXPECT_EQ(decoder.Result().model.productNameCopy, "QVX-ENET");
    EXPECT_EQ(g_szProductName, "QVX-S7");  // until the upload is taken over
}

TEST_F(UploadDecodeTest, AdvanceSettingOffsetsAreTakenOffWhateverTheByteHeld) {
    // COM2's first item carries an offset of 10; its value 250 travels as the byte 4.
    platform::WritePrivateProfileString("Plc Info", "Sp1", "Inter-frame Delay (ms),0,250,5,10",
                                        deffiles::PlcDefinitionFile("QVX-S7", "101"));
    SelectProject("QVX-S7", 82, "102", 1, "101", 1);
    const int adv1[3] = {10, 20, 1}, adv2[3] = {3, 0, 250};
    std::memcpy(g_ProjectSettings.g_anAdvSetting1, adv1, sizeof adv1);
    std::memcpy(g_ProjectSettings.g_anAdvSetting2, adv2, sizeof adv2);
    const std::string record = BuildSetupRecord(true);
    EXPECT_EQ(static_cast<uint8_t>(record[43]), 4);
    CUploadDecoder decoder(rec);
    decoder.DecodeSetup(reinterpret_cast<const uint8_t*>(record.data()));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(decoder.Result().model.settings.g_anAdvSetting1[i], adv1[i]);
        EXPECT_EQ(decoder.Result().model.settings.g_anAdvSetting2[i], adv2[i]);
    }
}

// The older upload's slave mode and word limit are the uploaded PLC pair's, whatever the
// project open before it was.
TEST_F(UploadDecodeTest, TheOlderSlaveModeIsTheUploadedPairs) {
    for (const bool slaveUnit : {false, true}) {
        g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-00";
        g_nDeviceId = g_nDeviceIdAlt = 81;
        g_bBlockExSlaveMode = slaveUnit ? 0 : 1;
        const uint8_t ids[5] = {102, 1, uint8_t(slaveUnit ? 104 : 101), 1, 0};
        COlderUploadDecoder decoder(rec);
        ASSERT_EQ(decoder.DecodeIdentities(ids), 0);
        decoder.ApplySlaveModeWordLimit();
        EXPECT_EQ(decoder.Result().model.blockExSlaveMode, slaveUnit ? 1 : 0);
        EXPECT_EQ(decoder.Result().model.tables.g_nBlockWordLimit, slaveUnit ? 255 : 64);
    }
}

TEST_F(UploadDecodeTest, UnknownModelRefusedAndThreePortTablesLoadedOnce) {
    const uint8_t unknown[5] = {102, 9, 101, 1, 0};
    CUploadDecoder decoder(rec);
    EXPECT_EQ(decoder.DecodeIdentities(unknown), -1);
    EXPECT_EQ(rec.Texts(), std::vector<std::string>{kMsgPlcFileError});

    SelectProject("Zava Dorazuduvoz", 84, "111", 1, "112", 1);
    const size_t registers = g_PlcRegisterTables.g_arrPlc1RegPrefix.size();
    const uint8_t three[5] = {111, 1, 112, 1, 0};
    CUploadDecoder again(rec);
    ASSERT_EQ(again.DecodeIdentities(three), 0);
    EXPECT_EQ(again.Result().model.tables.g_arrPlc1RegPrefix.size(), registers);
    EXPECT_EQ(g_PlcRegisterTables.g_arrPlc1RegPrefix.size(), registers);
}

TEST_F(UploadDecodeTest, ThreePortProductCarriesOnlyItsSetupRecord) {
    SelectProject("Zava Dorazuduvoz", 84, "111", 1, "112", 1);
    Unit([](auto& b) {
        b.productCode = 84;
        b.driverReport = {111, 1, 112, 1, 0};
    });
    tasks->m_nBlockSize = CTransferTasks::ReadTransferBlockSize(g_szProductName);
    CProjectSettings& s = g_ProjectSettings;
    const int ports[3][4] = {{19200, 8, 2, 1}, {38400, 7, 3, 2}, {1200, 8, 1, 1}};
    std::memcpy(s.g_anPortSettings, ports, sizeof ports);
    const int timeouts[3] = {5, 10, 50};
    std::memcpy(s.g_anPortTimeout, timeouts, sizeof timeouts);
    BlockLinks links;
    platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), BuildNewerProjectImage({}, links));
    platform::WriteFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 1)), "");
    platform::WriteFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 2)), "");
    g_bProjectModified = 1;

    ASSERT_EQ(tasks->DownloadProject(), 0) << ::testing::PrintToString(rec.Texts());
    Settle();
    EXPECT_EQ(CommandBytes(), (std::vector<uint8_t>{0x10, 0x20, 0x10, 0x19, 0x10}));
    // The unit keeps the setup; its project has no data stream.
    sim.SetStoredProject(sim.Records().at(0).bytes, {0x1E, 0x00, 0x00});
    sim.ClearLog();

    std::memset(s.g_anPortSettings, 0, sizeof s.g_anPortSettings);
    std::memset(s.g_anPortTimeout, 0, sizeof s.g_anPortTimeout);
    ASSERT_EQ(tasks->UploadProject(), 0) << ::testing::PrintToString(rec.Texts());
    for (int p = 0; p < 3; ++p) {
        for (int f = 0; f < 4; ++f) EXPECT_EQ(s.g_anPortSettings[p][f], ports[p][f]) << p << f;
        EXPECT_EQ(s.g_anPortTimeout[p], timeouts[p]);
    }
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC1Name, "Modbus RTU Multiplexer");
    EXPECT_TRUE(tasks->Uploaded()->title.empty());
    EXPECT_EQ(rec.menuRestores, 0);
    Settle();
    std::vector<uint16_t> commands = sim.Commands();
    EXPECT_EQ(commands.back(), 0x10AA);  // no image is asked for
}

// A project filled to every limit the editors allow is saved, reopened, compiled and its
// image decoded back with nothing lost or changed.
TEST_F(UploadDecodeTest, AProjectAtEveryLimitComesBackWhole) {
    UseBlockSize(64);
    const SampleProject sample = MakeSampleProject();
    BlockRows rows;
    for (int i = 0; i < 255; ++i) {
        BlockRow row = sample.rows[size_t(i % 5)];
        row[kColBlockNo] = std::to_string(i + 1);
        row[kColComment] = platform::Format("%03d", i) + std::string(size_t(CNewBlockCellEdit::MaxCommentLength()) - 3, 'c');
        rows.push_back(row);
    }
    CEthNodeTable& n = g_EthNodeTable;
    n.g_arrNodeAddress.clear(), n.g_arrNodePort.clear(), n.g_arrNodeIp.clear();
    for (size_t i = 1; i <= kMaxEthNodes; ++i) {
        n.g_arrNodeAddress.push_back(std::to_string(i));
        n.g_arrNodePort.push_back(std::to_string(60000 + i));
        n.g_arrNodeIp.push_back(platform::Format("10.%d.%d.%d", int(i), int(255 - i), int(i % 7)));
    }
    CEipTagTable& tags = g_EipTagTable;
    tags = CEipTagTable();
    for (int i = 0; i < CEthernetIPTagTableDlg::kMaxTags; ++i) {
        tags.g_arrTagCode.push_back("I00000" + CEthernetIPTagTableDlg::FormatTagNumber(i + 1));
        tags.g_arrTagName.push_back(platform::Format("%03d", i) +
                                    std::string(size_t(CEthernetIPTagTableDlg::kMaxNameChars) - 3, 't'));
        tags.g_abTagType[i] = uint8_t(1 + i % 9);
        tags.g_awTagSize[i] = uint16_t(i);
    }
    CRecipeTables& r = g_RecipeTables;
    const CRecipeTables two = r;
    r.g_arrRecipeRegCode.clear(), r.g_arrRecipeAddr.clear();
    for (int i = 0; i < kMaxRecipeRows; ++i) {
        r.g_arrRecipeRegCode.push_back(two.g_arrRecipeRegCode[size_t(i % 2)]);
        r.g_arrRecipeAddr.push_back(two.g_arrRecipeAddr[size_t(i % 2)]);
        r.g_abRecipePort[i] = two.g_abRecipePort[i % 2];
        r.g_abRecipeIsCoil[i] = two.g_abRecipeIsCoil[i % 2];
        r.g_abRecipeCol1[i] = uint8_t(i);
        r.g_abRecipeCol2[i] = uint8_t(255 - i);
        r.g_awRecipeValue[i] = uint16_t(400 * i + 7);
    }
    CDefCommRegTables& d = g_DefCommRegs;
    for (int port = 1; port <= 2; ++port) {
        StringArray& station = port == 1 ? d.g_arrAttachRegStation1 : d.g_arrAttachRegStation2;
        StringArray& addr = port == 1 ? d.g_arrAttachRegAddr1 : d.g_arrAttachRegAddr2;
        StringArray& codes = port == 1 ? d.g_arrAttachRegCode1 : d.g_arrAttachRegCode2;
        StringArray& words = port == 1 ? d.g_arrAttachRegWords1 : d.g_arrAttachRegWords2;
        uint8_t* data = port == 1 ? d.g_abAttachRegData1 : d.g_abAttachRegData2;
        const std::string a = port == 1 ? Canonical("N7:0", 1) : "H0100";
        station.clear(), addr.clear(), codes.clear();
        for (int i = 0; i < 150; ++i) {
            station.push_back(std::to_string(i + 1));
            addr.push_back(a);
            codes.push_back(Nine(port == 1 ? g_PlcRegisterTables.ParseAddressCom1(a) : g_PlcRegisterTables.ParseAddressCom2(a)));
            words[size_t(i)] = std::to_string(1 + i % 200);
            data[i] = 0;
        }
    }
    CGeneralEntityTables& g = g_GeneralEntity;
    g.g_nExtSetupLen1 = g.g_nExtSetupLen2 = 200;
    for (int i = 0; i < 200; ++i) {
        g.g_abExtSetup1[i] = uint8_t(i);
        g.g_abExtSetup2[i] = uint8_t(255 - i);
    }

    // Saved and reopened.
    const std::string file = BuildNewerProjectFile(rows) + BuildFeatureSections();
    const CEthNodeTable savedNodes = g_EthNodeTable;
    const CEipTagTable savedTags = g_EipTagTable;
    const CRecipeTables savedRecipes = g_RecipeTables;
    const CDefCommRegTables savedRegs = g_DefCommRegs;
    const CGeneralEntityTables savedEntity = g_GeneralEntity;
    NewerProjectFile opened;
    ASSERT_EQ(ParseNewerProjectFile(file, opened), ProjectParse::Ok);
    ASSERT_EQ(opened.rows.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        opened.rows[i][kColBlockNo] = std::to_string(i + 1) + std::string(14, ' ');  // numbered as the reader does
        EXPECT_EQ(std::stoi(opened.rows[i][kColWords]), std::stoi(rows[i][kColWords])) << i;
        for (size_t c = kColSourcePlc; c < kBlockListColumns; ++c) EXPECT_EQ(opened.rows[i][c], rows[i][c]) << i << " " << c;
    }
    g_EthNodeTable = CEthNodeTable();
    g_EipTagTable = CEipTagTable();
    ClearRecipeTables();
    ResetDefCommRegisters();
    ResetGeneralEntity();
    prjfile::FieldReader reader(file, opened.sectionsOffset);
    ASSERT_TRUE(prjfile::ReadNodeTableSection(reader));
    ASSERT_TRUE(prjfile::ReadTagTableSection(reader));
    ASSERT_TRUE(prjfile::ReadRecipeSection(reader));
    ASSERT_TRUE(prjfile::ReadAttachRegSection(reader, 1));
    ASSERT_TRUE(prjfile::ReadAttachRegSection(reader, 2));
    ASSERT_TRUE(prjfile::ReadGeneralEntitySections(reader));
    EXPECT_EQ(reader.Tell(), file.size());
    auto sameTables = [&](const CEthNodeTable& nodes, const CEipTagTable& t, const CRecipeTables& rec,
                          const CDefCommRegTables& regs, const CGeneralEntityTables& ge) {
        EXPECT_EQ(nodes.g_arrNodeAddress, savedNodes.g_arrNodeAddress);
        EXPECT_EQ(nodes.g_arrNodePort, savedNodes.g_arrNodePort);
        EXPECT_EQ(nodes.g_arrNodeIp, savedNodes.g_arrNodeIp);
        EXPECT_EQ(t.g_arrTagCode, savedTags.g_arrTagCode);
        EXPECT_EQ(t.g_arrTagName, savedTags.g_arrTagName);
        EXPECT_EQ(0, std::memcmp(t.g_abTagType, savedTags.g_abTagType, sizeof t.g_abTagType));
        EXPECT_EQ(0, std::memcmp(t.g_awTagSize, savedTags.g_awTagSize, sizeof t.g_awTagSize));
        EXPECT_EQ(rec.g_arrRecipeAddr, savedRecipes.g_arrRecipeAddr);
        for (int i = 0; i < kMaxRecipeRows; ++i) {
            EXPECT_EQ(rec.g_abRecipePort[i], savedRecipes.g_abRecipePort[i]) << i;
            EXPECT_EQ(rec.g_abRecipeCol1[i], savedRecipes.g_abRecipeCol1[i]) << i;
            EXPECT_EQ(rec.g_abRecipeCol2[i], savedRecipes.g_abRecipeCol2[i]) << i;
            EXPECT_EQ(rec.g_awRecipeValue[i], savedRecipes.g_awRecipeValue[i]) << i;
        }
        EXPECT_EQ(regs.g_arrAttachRegStation1, savedRegs.g_arrAttachRegStation1);
        EXPECT_EQ(regs.g_arrAttachRegAddr1, savedRegs.g_arrAttachRegAddr1);
        EXPECT_EQ(regs.g_arrAttachRegWords1, savedRegs.g_arrAttachRegWords1);
        EXPECT_EQ(regs.g_arrAttachRegStation2, savedRegs.g_arrAttachRegStation2);
        EXPECT_EQ(regs.g_arrAttachRegAddr2, savedRegs.g_arrAttachRegAddr2);
        EXPECT_EQ(regs.g_arrAttachRegWords2, savedRegs.g_arrAttachRegWords2);
        EXPECT_EQ(ge.g_nExtSetupLen1, 200);
        EXPECT_EQ(ge.g_nExtSetupLen2, 200);
        EXPECT_EQ(0, std::memcmp(ge.g_abExtSetup1, savedEntity.g_abExtSetup1, 200));
        EXPECT_EQ(0, std::memcmp(ge.g_abExtSetup2, savedEntity.g_abExtSetup2, 200));
    };
    {
        SCOPED_TRACE("reopened");
        sameTables(g_EthNodeTable, g_EipTagTable, g_RecipeTables, g_DefCommRegs, g_GeneralEntity);
    }
    g_GeneralEntity.g_nGeneralEntityCount1 = savedEntity.g_nGeneralEntityCount1;
    g_GeneralEntity.g_nGeneralEntityCount2 = savedEntity.g_nGeneralEntityCount2;

    // Compiled and decoded.
    BlockLinks links;
    ScanBlocks(opened.rows, false, 0, links);
    const std::string dummy = ComposeDownloadImage(BuildNewerProjectImage(opened.rows, links), sample.idb1, sample.idb2);
    const std::vector<uint8_t> setup(dummy.begin() + 100, dummy.begin() + 164);
    CUploadDecoder decoder(rec);
    decoder.DecodeSetup(setup.data());
    ASSERT_EQ(decoder.DecodeImage("\x1E" + dummy.substr(298)), 0) << ::testing::PrintToString(rec.Texts());
    const UploadedProject& up = decoder.Result();
    ASSERT_EQ(up.rows.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        for (int c = kColBlockNo; c <= kColControlBit; ++c) EXPECT_EQ(up.rows[i][c], rows[i][c]) << i << " " << c;
    SCOPED_TRACE("decoded");
    sameTables(up.model.nodes, up.model.tags, up.model.recipes, up.model.defCommRegs, up.model.generalEntity);
    EXPECT_EQ(up.model.featureCount, 7);
}
