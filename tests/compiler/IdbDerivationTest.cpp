#include "model/ExtendedTables.h"
#include "compiler/IdbDerivation.h"
#include "model/TableResets.h"
#include "PlcFixture.h"

namespace {

using Idb = PlcTablesTest;

std::vector<IdbEntry> Entries(std::initializer_list<IdbEntry> e) { return e; }

std::vector<std::string> Texts(const std::vector<IdbRow>& rows) {
    std::vector<std::string> out;
    for (const IdbRow& r : rows) out.push_back(r.station + " " + r.start + " " + std::to_string(r.count));
    return out;
}

TEST_F(Idb, OverlappingBlocksShareARowAndLongOnesSpanRows) {
    EXPECT_EQ(Texts(DeriveIdbRows(Entries({{"D100", "1", "10"}, {"D105", "1", "10"}}), 1, 64)),
              (std::vector<std::string>{"1 D100 15"}));
    EXPECT_EQ(Texts(DeriveIdbRows(Entries({{"D100", "1", "100"}}), 1, 64)),
              (std::vector<std::string>{"1 D100 64", "1 D164 36"}));
    // A gap larger than the window starts a new row at the next address.
    EXPECT_EQ(Texts(DeriveIdbRows(Entries({{"D190", "1", "2"}, {"D101", "1", "4"}}), 1, 16)),
              (std::vector<std::string>{"1 D101 4", "1 D190 2"}));
}

TEST_F(Idb, RowsComeByRegisterThenNode) {
    auto rows = DeriveIdbRows(Entries({{"N5", "3", "1"}, {"D150", "2", "1"}, {"N6", "1", "1"}, {"N7", "2", "1"}}), 1, 10);
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"1 N6 1", "2 N7 1", "3 N5 1", "2 D150 1"}));
}

TEST_F(Idb, ANumberNoRegisterHoldsPollsNothingAndEnds) {
    // Twenty digits (a damaged project file): once this never came back.
    EXPECT_EQ(Texts(DeriveIdbRows(Entries({{"N" + std::string(20, '9'), "1", "1"}, {"N100", "1", "2"}}), 1, 64)),
              (std::vector<std::string>{"1 N100 2"}));
}

TEST_F(Idb, BitAddressesCountTheirWords) {
    EXPECT_EQ(Texts(DeriveIdbRows(Entries({{"N10_5", "1", "20"}}), 1, 64)), (std::vector<std::string>{"1 N10 2"}));
}

TEST_F(Idb, ByteAddressedPlcsHalveTheirAddresses) {
    t.g_strPLC1Id = "126";
    EXPECT_EQ(Texts(DeriveIdbRows(Entries({{"N101", "1", "2"}}), 1, 64)), (std::vector<std::string>{"1 N100 2"}));
    // Timer registers are never halved.
    EXPECT_EQ(Texts(DeriveIdbRows(Entries({{"T101A", "1", "2"}}), 1, 64)), (std::vector<std::string>{"1 T101A 2"}));
}

TEST(RowStartAddress, NumberWrittenIntoTheTemplate) {
    EXPECT_EQ(FormatRowStartAddress(164, "D100"), "D164");
    EXPECT_EQ(FormatRowStartAddress(164, "D0100"), "D0164");
    EXPECT_EQ(FormatRowStartAddress(12, "T005A"), "T012A");
    EXPECT_EQ(FormatRowStartAddress(1234, "D5", 1), "D1234");  // the prefix is kept
    EXPECT_EQ(FormatRowStartAddress(7005, "N7:012"), "N7:005");
    EXPECT_EQ(FormatRowStartAddress(701203, "F07:012/03"), "F07:012/03");
    EXPECT_EQ(FormatRowStartAddress(701210, "F07:012/03"), "F07:012/10");
    EXPECT_EQ(FormatRowStartAddress(705, "N7:05"), "N7:05");
    EXPECT_EQ(FormatRowStartAddress(712, "N7:05"), "N7:12");
}

TEST_F(Idb, EntriesFromBlocksAndTheControlWord) {
    BlockRows rows = {
        {"1", "4", "Alpha Link", "2", "N5", "Beta Bus", "7", "L3", "10", "0", ""},
        {"2", "1", "Beta Bus", "8", "L4", "Alpha Link", "3", "NB150", "10", "0", ""},  // kind 4 on COM1
    };
    g_ProjectSettings.g_bCtrlWordEnabled = 1;
    g_ProjectSettings.g_nCtrlWordSide = 1;
    g_ProjectSettings.g_strCtrlWordShown = "L9";
    g_ProjectSettings.g_nCtrlWordStation = 5;
    g_ProjectSettings.g_nCtrlWordWords = 2;
    IdbEntries e = CollectIdbEntries(rows, true, true);
    ASSERT_EQ(e.com1.size(), 1u);
    EXPECT_EQ(e.com1[0].address, "N5");
    EXPECT_EQ(e.com1[0].station, "2");
    ASSERT_EQ(e.com2.size(), 3u);
    EXPECT_EQ(e.com2[0].address, "L3");
    EXPECT_EQ(e.com2[1].station, "8");
    EXPECT_EQ(e.com2[2].address, "L9");
    EXPECT_EQ(e.com2[2].words, "2");
    EXPECT_EQ(e.kindCom1[1], 4);
    IdbEntries off = CollectIdbEntries(rows, false, false);
    EXPECT_TRUE(off.com1.empty());
    EXPECT_TRUE(off.com2.empty());
}

TEST_F(Idb, DefaultRegistersAndNodesFollowRisingStations) {
    ResetDefCommRegisters();
    AddDefCommRegisterForRow(2, {"1", "L3", 2}, 1);
    AddDefCommRegisterForRow(2, {"1", "L8", 2}, 2);  // same station: not added
    AddDefCommRegisterForRow(2, {"4", "X5/1", 1}, 3);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegStation2, (StringArray{"1", "4"}));
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegAddr2, (StringArray{"L3", "X5/1"}));
    EXPECT_EQ(g_DefCommRegs.g_abAttachRegData2[1], 1);  // a coil
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegCode2.size(), 2u);
    EXPECT_EQ(g_EthNodeTable.g_arrNodeAddress, (StringArray{"1", "4"}));
    AddDefCommRegisterForRow(2, {"9", "L1", 1}, 1);  // a new derivation starts the lists again
    EXPECT_EQ(g_EthNodeTable.g_arrNodeAddress, (StringArray{"9"}));
    ResetDefCommRegisters();
    g_EthNodeTable.g_arrNodeAddress.clear();
}

}  // namespace
