#include "model/ExtendedTables.h"
#include "compiler/IdbImage.h"
#include "compiler/ProjectImage.h"
#include "platform/Paths.h"
#include "model/TableResets.h"
#include "PlcFixture.h"

namespace {

class Image : public PlcTablesTest {
protected:
    void SetUp() override {
        PlcTablesTest::SetUp();
        platform::SetProgramFolder(dir.Path());
        dir.Write("Products/products.inf",
                  "[ProductList]\r\nProductCount=1\r\nProduct1=QVX-T\r\nProductNo1=7\r\nProjectVersion1=4\r\n"
                  "Product1DSize=600\r\n");
        g_szProductName = "QVX-T";
        g_nDeviceId = g_nDeviceIdAlt = 82;
        g_bSlaveMode = 0;
        g_bExtendedSetup = 0;
    }
    void TearDown() override {
        platform::SetProgramFolder("");
        g_szProductName.clear();
        g_nDeviceId = g_nDeviceIdAlt = 81;
        g_bSlaveMode = 0;
        g_bExtendedSetup = g_bEthernetSetting = g_bRecipesCom1 = g_bAttachRegCom2 = g_bGeneralEntityCom1 = 0;
        g_bTagTable = g_bAttachRegCom1 = g_bGeneralEntityCom2 = g_bRecipesCom2 = 0;
        g_nFeatureCount = 0;
        PlcTablesTest::TearDown();
    }
    static int At(const std::string& s, size_t i) { return static_cast<unsigned char>(s.at(i)); }
};

TEST_F(Image, EmptyProjectIsThreeHundredBytesWithTheSetupRecord) {
    CProjectSettings& s = g_ProjectSettings;
    s.g_anPortSettings[0][0] = 9600;
    s.g_anPortSettings[0][1] = 8;
    s.g_anPortSettings[0][2] = 1;
    s.g_anPortSettings[0][3] = 1;
    s.g_anPortSettings[1][0] = 1000000;
    s.g_anPortSettings[1][1] = 7;
    s.g_bErrBit1Enabled = 1;
    s.g_strErrBitAddr1 = "N5";
    s.g_strCtrlWordAddr = "N7";  // kept, but disabled
    s.g_nCtrlWordStation = 3;
    s.g_nCtrlWordWords = 2;
    s.g_nErrBit1 = 255;
    std::string image = BuildNewerProjectImage({}, BlockLinks());
    ASSERT_EQ(image.size(), 300u);
    std::string r = image.substr(100, 64);
    EXPECT_EQ(r.substr(2, 9), "*********");  // disabled control word
    EXPECT_EQ(At(r, 11), 1);
    EXPECT_EQ(r.substr(12, 9), "N005*****");
    EXPECT_EQ(r.substr(22, 9), " ********");  // disabled error bit
    EXPECT_EQ(At(r, 31), 0);                  // two master drivers
    EXPECT_EQ(r.substr(32, 4), std::string("\x07\x02\x01\x01", 4));
    EXPECT_EQ(At(r, 36), 27);                 // 1000000 on port 1 in the newer image
    EXPECT_EQ(At(r, 37), 1);
    // Advance items with their offsets: PLC1 Sp1 3 + 11, Sp2 10 + 12, Sp3 0 + 0.
    EXPECT_EQ(At(r, 40), 14);
    EXPECT_EQ(At(r, 41), 22);
    EXPECT_EQ(At(r, 42), 0);
    EXPECT_EQ(At(r, 46), 3);
    EXPECT_EQ(At(r, 47), 2);
    EXPECT_EQ(r.substr(48, 4), std::string("*\x07\x04*", 4));
    EXPECT_EQ(At(r, 52), 255);
    EXPECT_EQ(r.substr(62, 2), std::string("\x02\x58", 2));  // DSize 600, high byte first
    EXPECT_EQ(image.substr(298, 2), std::string("\0\0", 2));
    EXPECT_EQ(s.g_anPortSettings[1][0], 1000000);  // the model keeps its rates
    EXPECT_EQ(BuildNewerProjectImage({}, BlockLinks()), image);

    std::string older = BuildOlderProjectImage({});
    EXPECT_EQ(At(older, 100 + 36), 1000000 & 0xFF);  // the older image stops at 500000
    EXPECT_EQ(At(older, 100 + 46), 0);
}

TEST_F(Image, SlaveDriversMarkTheRecord) {
    // Both fixture files: COM2 says nothing about "Slave"; make COM2 a slave driver.
    t.g_strPlc2Inf = dir.Write("Plc/slave.inf", "[Plc Info]\r\nSlave=1\r\n");
    std::string image = BuildNewerProjectImage({}, BlockLinks());
    EXPECT_EQ(At(image, 131), 1);
    EXPECT_EQ(g_bSlaveMode, 1);
    t.g_strPlc1Inf = t.g_strPlc2Inf;
    EXPECT_EQ(At(BuildNewerProjectImage({}, BlockLinks()), 131), 2);
}

TEST_F(Image, NewerBlockRecords) {
    BlockLinks links;
    links.linkFlag[254] = 1;
    links.linkedBlock[254] = 9;
    BlockRow forward = {"254", "300", "Alpha Link", "2", "N5_3", "Beta Bus", "7", "L3", "10", "4", ""};
    std::string rec = BuildNewerBlockRecord(forward, links);
    ASSERT_EQ(rec.size(), kNewerBlockRecordSize);
    EXPECT_EQ(rec.substr(0, 2), std::string("\xFE\x00", 2));
    EXPECT_EQ(At(rec, 2), 1);
    EXPECT_EQ(At(rec, 3), 0);
    EXPECT_EQ(At(rec, 4), 2);
    EXPECT_EQ(rec.substr(5, 9), "N005*****");
    EXPECT_EQ(rec.substr(14, 2), "\x01\x2C");
    EXPECT_EQ(At(rec, 16), 7);
    EXPECT_EQ(rec.substr(17, 9), "L3*******");
    EXPECT_EQ(At(rec, 26), 10);
    EXPECT_EQ(At(rec, 27), 3);
    EXPECT_EQ(At(rec, 28), 0xFF);
    EXPECT_EQ(At(rec, 29), 4);
    EXPECT_EQ(At(rec, 30), 1);
    EXPECT_EQ(At(rec, 31), 9);

    BlockRow backward = {"255", "12", "Beta Bus", "1", "X5/1", "Alpha Link", "1", "B3/2_17", "1", "0", ""};
    rec = BuildNewerBlockRecord(backward, links);
    EXPECT_EQ(rec.substr(0, 2), "\xFF\xFF");
    EXPECT_EQ(At(rec, 2), 0);
    EXPECT_EQ(At(rec, 3), 1);  // a coil on either side
    EXPECT_EQ(rec.substr(14, 2), std::string("\x00\x0C", 2));
    EXPECT_EQ(At(rec, 27), 0);  // PLC1 side: suffix 17 gives 0
    EXPECT_EQ(At(rec, 28), 0xFF);

    std::string older = BuildOlderBlockRecord({"255", "12", "Beta Bus", "1", "X5/1", "Alpha Link", "1", "B3/2", "1", ""});
    ASSERT_EQ(older.size(), kOlderBlockRecordSize);
    EXPECT_EQ(older.substr(0, 2), std::string("\xFF\x00", 2));
    EXPECT_EQ(At(older, 3), 1);
    EXPECT_EQ(At(older, 14), 12);
}

TEST_F(Image, ThreePortProductHasItsOwnLayoutAndNoBlocks) {
    g_nDeviceId = g_nDeviceIdAlt = 84;
    g_ProjectSettings.g_anPortSettings[2][0] = 19200;
    g_ProjectSettings.g_anPortTimeout[2] = 9;
    BlockRows rows = {{"1", "1", "Alpha Link", "1", "N5", "Beta Bus", "1", "L3", "1", "0", ""}};
    std::string image = BuildNewerProjectImage(rows, BlockLinks());
    ASSERT_EQ(image.size(), 300u);
    EXPECT_EQ(At(image, 298), 1);
    EXPECT_EQ(At(image, 140), 8);  // port 2 baud code
    EXPECT_EQ(At(image, 144), 5);
    EXPECT_EQ(At(image, 146), 9);
}

TEST_F(Image, DownloadImageAddsTheDatabasesAndTheFeatureTables) {
    std::string project(300, '\0');
    std::string idb1 = EncodeIdbImage({{"", "1", "N12", "Word", "4", "1", "0", "No", "65535"}}, 1);
    EXPECT_EQ(ComposeDownloadImage(project, idb1, ""),
              project + "\x13\x01" + idb1.substr(0, 19) + std::string("\x13\x00", 2));

    g_bExtendedSetup = 1;
    g_nFeatureCount = 3;
    g_bEthernetSetting = 1;
    g_EthNodeTable = CEthNodeTable();
    g_EthNodeTable.g_arrNodeAddress = {"1"};
    g_EthNodeTable.g_arrNodeIp = {"192.168.1.10"};
    g_EthNodeTable.g_arrNodePort = {"502"};
    g_bRecipesCom1 = 1;
    ClearRecipeTables();
    g_bGeneralEntityCom1 = 1;
    ResetGeneralEntity();
    g_GeneralEntity.g_nGeneralEntityCount1 = 2;
    g_GeneralEntity.g_nExtSetupLen1 = 2;
    g_GeneralEntity.g_abExtSetup1[1] = 5;
    std::string features = BuildFeatureBlocks();
    EXPECT_EQ(features, std::string("\x03"
                                    "\x01\x07\x00\x01\x07" "\x01\x01\xF6\xC0\xA8\x01\x0A"
                                    "\x03\x00\x00\x00\x0F"
                                    "\x06\x02\x00\x02\x00" "\x00\x05",
                                    1 + 12 + 5 + 7));
    EXPECT_EQ(ComposeDownloadImage(project, "", ""), project + std::string("\x13\x00\x13\x00", 4) + features);
    // A count that disagrees with the features switched on (an upload of fewer) is not sent.
    g_nFeatureCount = 2;
    EXPECT_EQ(BuildFeatureBlocks(), features);
    g_EthNodeTable = CEthNodeTable();
    ResetGeneralEntity();
}

TEST_F(Image, AllSevenFeatureBlocksAndAFullDatabase) {
    g_bExtendedSetup = 1;
    g_nFeatureCount = 7;
    g_bEthernetSetting = g_bTagTable = g_bRecipesCom1 = g_bAttachRegCom1 = g_bAttachRegCom2 = 1;
    g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 1;
    g_EthNodeTable = CEthNodeTable();
    g_EipTagTable = CEipTagTable();
    g_EipTagTable.g_arrTagCode = {"12"};
    g_EipTagTable.g_arrTagName = {"Run"};
    g_EipTagTable.g_abTagType[0] = 4;
    g_EipTagTable.g_awTagSize[0] = 0x0102;
    ClearRecipeTables();
    g_RecipeTables.g_arrRecipeRegCode = {"N012*****"};
    g_RecipeTables.g_abRecipePort[0] = 2;
    g_RecipeTables.g_awRecipeValue[0] = 0x0304;
    g_RecipeTables.g_abRecipeIsCoil[0] = 1;
    ResetDefCommRegisters();
    g_DefCommRegs.g_arrAttachRegStation1 = {"5"};
    g_DefCommRegs.g_arrAttachRegCode1 = {"N100*****"};
    g_DefCommRegs.g_arrAttachRegAddr1 = {"N100"};
    g_DefCommRegs.g_arrAttachRegWords1 = {"3"};
    ResetGeneralEntity();
    g_GeneralEntity.g_nGeneralEntityCount2 = 1;
    g_GeneralEntity.g_nExtSetupLen2 = 1;
    g_GeneralEntity.g_abExtSetup2[0] = 9;

    const std::string expected = std::string("\x07", 1) +
        std::string("\x01\x00\x00\x00\x07", 5) +                                         // no nodes
        std::string("\x02\x0F\x00\x01\x00", 5) + std::string("12\0\0\0\0\0\0\0", 9) +  // tag code in 9
        std::string("\x04\x02\x03", 3) + "Run" +
        std::string("\x03\x0F\x00\x01\x0F", 5) + std::string("\x02\x00\x00", 3) + "N012*****" +
        std::string("\x04\x03\x01", 3) +
        std::string("\x04\x0C\x00\x01\x0C", 5) + std::string("\x05", 1) + "N100*****" + std::string("\x00\x03", 2) +
        std::string("\x05\x00\x00\x00\x0C", 5) +                                          // COM2: no stations
        std::string("\x06\x00\x00\x00\x00", 5) +                                          // COM1 entity: empty
        std::string("\x07\x01\x00\x01\x00", 5) + std::string("\x09", 1);
    EXPECT_EQ(BuildFeatureBlocks(), expected);

    // A full database image: 255 rows go out with their count.
    std::vector<IdbPaneRow> rows(255, IdbPaneRow{"", "1", "N12", "Word", "1", "1", "0", "No", "0"});
    const std::string full = EncodeIdbImage(rows, 1);
    const std::string composed = ComposeDownloadImage(std::string(300, '\0'), full, "");
    EXPECT_EQ(composed.substr(300, 2), std::string("\x13\xFF", 2));
    EXPECT_EQ(composed.substr(302, 255 * 19), full.substr(0, 255 * 19));
    EXPECT_EQ(composed.substr(302 + 255 * 19, 2), std::string("\x13\x00", 2));
    g_EipTagTable = CEipTagTable();
    ClearRecipeTables();
    ResetDefCommRegisters();
    ResetGeneralEntity();
    g_bTagTable = g_bAttachRegCom2 = g_bGeneralEntityCom2 = 0;
}

TEST_F(Image, ImagesGoToTheProductsProjectsFolder) {
    EXPECT_EQ(WritePrjPath(), dir.Path() + "QVX-T\\Projects\\WritePrj.hex");
    EXPECT_EQ(DummyPrjPath(), dir.Path() + "QVX-T\\Projects\\DummyPrj.hex");
}

}  // namespace
