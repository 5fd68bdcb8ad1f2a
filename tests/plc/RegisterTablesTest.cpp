#include "PlcFixture.h"

namespace {

TEST_F(PlcTablesTest, CoilsComeFirstThenRegistersInFileOrder) {
    EXPECT_EQ(t.g_arrPlc1RegName,
              (StringArray{"Bit", "Status", "Integer", "Input", "Block", "Data Low", "Data High",
                           "File", "Timer", "Hex", "Octal"}));
    // The kind-5 record is not stored; leading blanks of fields are dropped.
    EXPECT_EQ(t.g_arrPlc1RegPrefix[0], "B");
    EXPECT_EQ(t.g_arrPlc1RegKind[1], "2");
    // Every table of a port has the same length.
    for (const StringArray* a : {&t.g_arrPlc1RegKind, &t.g_arrPlc1RegRadix, &t.g_arrPlc1RegMin,
                                 &t.g_arrPlc1RegMax, &t.g_arrPlc1RegColonMin, &t.g_arrPlc1RegColonMax,
                                 &t.g_arrPlc1RegSlashMin, &t.g_arrPlc1RegSlashMax})
        EXPECT_EQ(a->size(), t.g_arrPlc1RegName.size());
    EXPECT_EQ(t.RegisterCount(1), 11);
}

TEST_F(PlcTablesTest, AMissingRecordLoadsAsACoilWithoutPrefixAndNeverMatches) {
    // Missing Register6 of COM2 reads the default text: a coil named after it.
    ASSERT_EQ(t.g_arrPlc2RegName[1], "Corrupt PLC file");
    EXPECT_EQ(t.g_arrPlc2RegPrefix[1], "");
    EXPECT_EQ(t.RegisterCount(2), 6);
    EXPECT_EQ(t.FindRegisterByPrefix("5", 2), -1);
    EXPECT_EQ(t.GetRegisterIndexForPort("5", 1, 2), -1);
}

TEST_F(PlcTablesTest, IdentityParametersAndAdvanceItems) {
    EXPECT_EQ(t.g_strPLC1Name, "Alpha Link");
    EXPECT_EQ(t.g_strPLC1Id, "131");
    EXPECT_EQ(t.g_strPlc1DriverId, "131");
    EXPECT_EQ(t.g_strPlc1ModelNo, "A100");
    EXPECT_EQ(t.g_nPlc1RegWidth, 4);
    EXPECT_EQ(t.g_nPlc1NoOfByte, 2);
    EXPECT_EQ(t.g_nPlc2NoOfByte, -1);
    EXPECT_EQ(t.g_nPlc1NoOfWord, 64);
    EXPECT_EQ(t.g_nPlc2NoOfWord, 32);

    const auto& ps = g_ProjectSettings.g_anPortSettings;
    EXPECT_EQ(ps[0][kPortBaud], 19200);
    EXPECT_EQ(ps[0][kPortDataBits], 7);
    EXPECT_EQ(ps[0][kPortParity], 2);
    EXPECT_EQ(ps[0][kPortStopBits], 2);
    // "None" ends in 'e': the parity stays as it was.
    EXPECT_EQ(ps[1][kPortBaud], 9600);
    EXPECT_EQ(ps[1][kPortParity], 0);
    EXPECT_EQ(ps[2][kPortBaud], 0);

    EXPECT_EQ(t.g_arrPlc1SpName, (StringArray{"Retries", "Delay"}));
    EXPECT_EQ(t.g_anSpecialDataMin1[1], 1);
    EXPECT_EQ(t.g_anSpecialDataMax1[1], 100);
    EXPECT_EQ(t.g_anPlc1SpecialValue[0], 11);
    // Values kept in the order Sp2, Sp3, Sp1; Sp3 untouched.
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[2], 3);
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[0], 10);
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[1], 0);
    EXPECT_TRUE(t.g_arrPlc2SpName.empty());
}

TEST_F(PlcTablesTest, ThreePortProductCopiesTheCom1ParametersBeforeCom2Overwrites) {
    g_nDeviceIdAlt = 84;
    Load(kCom1File, "Alpha 100", kCom2File, "Beta");
    const auto& ps = g_ProjectSettings.g_anPortSettings;
    EXPECT_EQ(ps[2][kPortBaud], 19200);
    EXPECT_EQ(ps[2][kPortParity], 2);
    EXPECT_EQ(ps[1][kPortBaud], 9600);  // the COM2 load wrote port 1 afterwards
    EXPECT_EQ(ps[1][kPortParity], 2);   // ... but its "None" left the parity
}

TEST_F(PlcTablesTest, BlockWordLimit) {
    t.SetBlockWordLimit(false);
    EXPECT_EQ(t.g_nBlockWordLimit, 32);
    g_bCom2Driver135 = 1;
    t.SetBlockWordLimit(true);
    EXPECT_EQ(t.g_nBlockWordLimit, 65535);
    g_bCom2Driver135 = 0;
    t.SetBlockWordLimit(true);
    EXPECT_EQ(t.g_nBlockWordLimit, 255);
}

TEST_F(PlcTablesTest, MissingFileLoadsDefaultsWithoutRegisters) {
    t.ResetProject();
    t.g_strPlc1Inf = dir.Path() + "Plc/nothere.inf";
    t.g_strPlc1Section = "X";
    EXPECT_EQ(t.LoadPlcFileCom1(), 0);
    EXPECT_EQ(t.RegisterCount(1), 0);
    EXPECT_EQ(t.g_strPLC1Name, "Corrupt PLC file");
    EXPECT_EQ(t.g_nPlc1NoOfWord, -1);
    EXPECT_EQ(t.g_nPlc1RegWidth, -1);
    EXPECT_EQ(t.FindRegisterByPrefix("N5", 1), -1);
}

TEST_F(PlcTablesTest, ResetEmptiesTablesAndSetsProjectDefaults) {
    g_ProjectSettings.g_strCtrlWordAddr = "N7";
    g_ProjectSettings.g_bErrBit1Enabled = 1;
    g_ProjectSettings.g_anPortSettings[2][0] = 4800;
    g_ProjectSettings.g_nProjFileVersion = 2;
    g_bBlockExSlaveMode = 1;
    t.ResetProject();
    EXPECT_EQ(t.RegisterCount(1), 0);
    EXPECT_EQ(t.RegisterCount(2), 0);
    EXPECT_TRUE(t.g_arrPlc1SpName.empty());
    EXPECT_EQ(t.g_strPLC1Name, "Alpha Link");  // identities stay
    EXPECT_EQ(t.g_nPlc1NoOfWord, 64);
    const CProjectSettings& s = g_ProjectSettings;
    EXPECT_EQ(s.g_strCtrlWordAddr, "");
    EXPECT_EQ(s.g_bErrBit1Enabled, 0);
    EXPECT_EQ(s.g_anPortSettings[0][0], 0);
    EXPECT_EQ(s.g_anPortSettings[2][0], 4800);
    EXPECT_EQ(s.g_anAdvSetting1[2], 0);
    EXPECT_EQ(s.g_strProjDescription, " ");
    EXPECT_EQ(s.g_strProjAuthor, " ");
    EXPECT_EQ(s.g_nProjFileVersion, 0);
    EXPECT_EQ(s.g_nCtrlWordStation, 1);
    EXPECT_EQ(s.g_nCtrlWordWords, 1);
    EXPECT_EQ(g_bBlockExSlaveMode, 0);
    EXPECT_EQ(s.g_anPortTimeout[0], 5);
}

TEST_F(PlcTablesTest, ResetForgetsTheAdvanceItemsLimitsAndOffsets) {
    // The next project's file may declare no items: nothing of these may reach its image.
    ASSERT_EQ(t.g_anPlc1SpecialValue[0], 11);
    t.ResetProject();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.g_anPlc1SpecialValue[i], 0) << i;
        EXPECT_EQ(t.g_anSpecialDataMin1[i], 0) << i;
        EXPECT_EQ(t.g_anSpecialDataMax1[i], 0) << i;
    }
}

TEST(ProjectSettings, StartsWithTimeoutsOfFiveAndEverythingElseEmpty) {
    CProjectSettings s;
    for (int t : s.g_anPortTimeout) EXPECT_EQ(t, 5);
    EXPECT_EQ(s.g_nCtrlWordStation, 0);
    EXPECT_EQ(s.g_strProjTitle, "");
    EXPECT_EQ(s.g_anPortSettings[1][3], 0);
    EXPECT_EQ(g_nDeviceId, 81u);
}

}  // namespace
