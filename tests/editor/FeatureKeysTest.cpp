#include "model/ExtendedTables.h"
#include "plc/FeatureKeys.h"
#include "plc/PlcRegisterTables.h"
#include "model/TableResets.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class FeatureKeys : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    void Files(const std::string& com1, const std::string& com2) {
        g_PlcRegisterTables.g_strPlc1Inf = dir.Write("Plc/10100_004.inf", com1);
        g_PlcRegisterTables.g_strPlc2Inf = dir.Write("Plc/10200_004.inf", com2);
    }
    void SetUp() override {
        g_bExtendedSetup = g_bEthernetSetting = g_bTagTable = 0;
        g_bRecipesCom1 = g_bRecipesCom2 = g_bAttachRegCom1 = g_bAttachRegCom2 = 0;
        g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 0;
        g_nFeatureCount = g_nRecipeState = g_bDefCommRegFill = 0;
        g_bExtSetupError1 = g_bExtSetupError2 = 0;
        ResetGeneralEntity();
        ResetDefCommRegisters();
        ClearRecipeTables();
    }
};

const char* kAllOn =
    "[Extended Setup]\r\nExtendedSetup=1\r\nEthernetSetting=1\r\nTagTable=1\r\nRecipes=1\r\n"
    "AttachRegCom1=1\r\nAttachRegCom2=1\r\nGeneralEntityCom1=1\r\nGeneralEntityCom2=1\r\n"
    "[EthernetSetting]\r\nEntityCode=1\r\n[TagTable]\r\nEntityCode=2\r\n"
    "[Recipes]\r\nEntityCode=3\r\nTotalColumns=2\r\nColumn1=Speed\r\n"
    "[AttachRegCom1]\r\nEntityCode=260\r\n"
    "[GeneralEntityCom1]\r\nEntityCode=6\r\nSubEntity=2\r\n"
    "SubEntity1=Node ID, 2,1,0,0,255,1,0,1\r\nSubEntity2=IP Address,4,3\r\n";

TEST_F(FeatureKeys, AllSevenFeaturesFromOneFileAndItsItems) {
    Files(kAllOn, "[Extended Setup]\r\nAttachRegCom2=1\r\nGeneralEntityCom2=1\r\n"
                  "[AttachRegCom2]\r\nEntityCode=5\r\n"
                  "[GeneralEntityCom2]\r\nEntityCode=7\r\nSubEntity=1\r\nSubEntity1=\"  Mode,1,4\"\r\n");
    LoadExtendedSetupKeys();
    EXPECT_EQ(g_bExtendedSetup, 1);
    EXPECT_EQ(g_nFeatureCount, 7);
    EXPECT_EQ(g_EthNodeTable.g_nEthNodeEntityCode, 1);
    EXPECT_EQ(g_bUsesPlc141, 1);
    EXPECT_EQ(g_EipTagTable.g_nTagTableEntityCode, 2);
    EXPECT_EQ(g_RecipeTables.g_nRecipeCode, 3);
    EXPECT_EQ(g_nRecipeState, 1);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeColumns, (StringArray{"Speed", "Not Available"}));
    EXPECT_EQ(g_DefCommRegs.g_nAttachRegCode1, 4);  // the low byte of the value
    EXPECT_EQ(g_DefCommRegs.g_nAttachRegCode2, 5);
    EXPECT_EQ(g_bDefCommRegFill, 1);
    EXPECT_EQ(g_GeneralEntity.g_nGeneralEntityCode1, 6);
    EXPECT_EQ(g_GeneralEntity.g_nGeneralEntityCode2, 7);
    EXPECT_EQ(g_bExtSetupError1, 1);
    EXPECT_EQ(g_bExtSetupError2, 1);

    const CGeneralEntityTables& g = g_GeneralEntity;
    EXPECT_EQ(g.g_nGeneralEntityCount1, 2);
    EXPECT_EQ(g.g_nExtSetupLen1, 6);
    EXPECT_EQ(g.g_arrGeneralEntityCom1[0], (StringArray{"Node ID", "IP Address"}));
    EXPECT_EQ(g.g_arrGeneralEntityCom1[1], (StringArray{"2", "4"}));  // leading blank dropped
    EXPECT_EQ(g.g_arrGeneralEntityCom1[8], (StringArray{"1", ""}));  // missing fields are empty
    EXPECT_EQ(g.g_arrGeneralEntityCom2[0], (StringArray{"  Mode"}));  // COM2 labels keep blanks
    EXPECT_EQ(g.g_nExtSetupLen2, 1);
}

TEST_F(FeatureKeys, WithoutExtendedSetupNothingElseChanges) {
    g_bTagTable = 1;
    g_nFeatureCount = 3;
    Files("[Extended Setup]\r\nExtendedSetup=0\r\nTagTable=1\r\n", "");
    LoadExtendedSetupKeys();
    EXPECT_EQ(g_bExtendedSetup, 0);
    EXPECT_EQ(g_bTagTable, 1);
    EXPECT_EQ(g_nFeatureCount, 3);
}

TEST_F(FeatureKeys, EachFeatureIsAskedOfTheRightFile) {
    Files("[Extended Setup]\r\nExtendedSetup=1\r\nAttachRegCom2=1\r\n[AttachRegCom2]\r\nEntityCode=9\r\n",
          "[Extended Setup]\r\nEthernetSetting=1\r\nRecipes=1\r\n[EthernetSetting]\r\nEntityCode=11\r\n"
          "[Recipes]\r\nEntityCode=12\r\nTotalColumns=1\r\nColumn1=Value\r\n");
    LoadExtendedSetupKeys();
    EXPECT_EQ(g_bExtendedSetup, 1);
    EXPECT_EQ(g_EthNodeTable.g_nEthNodeEntityCode, 11);  // from the COM2 file
    EXPECT_EQ(g_bRecipesCom1, -1);
    EXPECT_EQ(g_bRecipesCom2, 1);
    EXPECT_EQ(g_RecipeTables.g_nRecipeCode, 12);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeColumns, (StringArray{"Value"}));
    EXPECT_EQ(g_bAttachRegCom2, -1);  // only the COM2 file is asked for it
    EXPECT_EQ(g_DefCommRegs.g_nAttachRegCode2, 0);
    EXPECT_EQ(g_bGeneralEntityCom1, -1);
    EXPECT_EQ(g_nFeatureCount, 2);
}

TEST(TableResets, EmptyTheHoldersButKeepTheWordCounts) {
    g_DefCommRegs.g_arrAttachRegAddr1 = {"N7"};
    g_DefCommRegs.g_arrAttachRegWords1 = {"3"};
    g_DefCommRegs.g_abAttachRegData2[149] = 7;
    ResetDefCommRegisters();
    EXPECT_TRUE(g_DefCommRegs.g_arrAttachRegAddr1.empty());
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords1, (StringArray{"3"}));
    EXPECT_EQ(g_DefCommRegs.g_abAttachRegData2[149], 0);

    g_RecipeTables.g_arrRecipeAddr = {"N7"};
    g_RecipeTables.g_awRecipeValue[149] = 65535;
    g_RecipeTables.g_arrRecipeColumns = {"Speed"};
    ClearRecipeTables();
    EXPECT_TRUE(g_RecipeTables.g_arrRecipeAddr.empty());
    EXPECT_EQ(g_RecipeTables.g_awRecipeValue[149], 0);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeColumns, (StringArray{"Speed"}));

    g_GeneralEntity.g_arrGeneralEntityCom2[8] = {"x"};
    g_GeneralEntity.g_abExtSetup1[199] = 1;
    g_GeneralEntity.g_nExtSetupLen2 = 4;
    ResetGeneralEntity();
    EXPECT_TRUE(g_GeneralEntity.g_arrGeneralEntityCom2[8].empty());
    EXPECT_EQ(g_GeneralEntity.g_abExtSetup1[199], 0);
    EXPECT_EQ(g_GeneralEntity.g_nExtSetupLen2, 0);
}

}  // namespace

#include "model/BlockTableData.h"

namespace {

TEST(BlockTables, PresetsAndClearingKeepTheRowSettings) {
    CBlockTableData t;
    EXPECT_EQ(t.m_anCom1FailValue[254], 65535);
    EXPECT_EQ(t.m_anCom2SkipOnFail[0], 2);
    EXPECT_EQ(t.m_anCom2DataType[10], 0);
    t.m_arrBlockNo = {"1"};
    t.m_arrCom2Station = {"4"};
    t.m_anCom1DataType[3] = 5;
    t.m_arrCom2RowText = {"N7"};
    EXPECT_EQ(t.ClearTables(), 0);
    EXPECT_TRUE(t.m_arrBlockNo.empty());
    EXPECT_TRUE(t.m_arrCom2Station.empty());
    EXPECT_EQ(t.m_anCom1DataType[3], 5);
    EXPECT_EQ(t.m_arrCom2RowText.size(), 1u);
}

}  // namespace
