// Slave mode: blocks chained back to back in one slave register, and the address-text
// helpers the scan and the derivation share.
#include "compiler/BlockAddress.h"
#include "compiler/BlockScan.h"
#include "PlcFixture.h"

namespace {

using SlaveScan = PlcTablesTest;

// A block whose slave side is the COM1 port.
BlockRow Slave(int number, const std::string& words, const std::string& address) {
    return {std::to_string(number), words, "Alpha Link", "1", address, "Beta Bus", "1", "L1", "10", "0", ""};
}

TEST_F(SlaveScan, BlocksThatMeetInOneRegisterAreChained) {
    BlockRows rows = {Slave(1, "10", "N100"), Slave(2, "5", "N110"), Slave(3, "4", "D010"), Slave(4, "0", "N200"),
                      Slave(5, "2", "D110"), Slave(6, "20", "N090_5")};
    BlockLinks links;
    ScanBlocks(rows, true, 1, links);
    EXPECT_EQ(links.linkFlag[1], 1u);  // 100 + 10 = 110, where block 2 starts
    EXPECT_EQ(links.linkedBlock[1], 2u);
    EXPECT_EQ(links.linkFlag[2], 0u);
    // A count of 0 starts where it ends: its own link.
    EXPECT_EQ(links.linkedBlock[4], 4u);
    // D010 + 4 does not reach D110.
    EXPECT_EQ(links.linkFlag[3], 0u);
    // Bit 5 of N090 with 20 bits covers two words: 90 + 2 = 92, nothing starts there.
    EXPECT_EQ(links.linkFlag[6], 0u);
    BlockLinks again;
    ScanBlocks(rows, true, 1, again);
    EXPECT_EQ(std::vector<uint32_t>(again.linkedBlock, again.linkedBlock + 8),
              std::vector<uint32_t>(links.linkedBlock, links.linkedBlock + 8));
    // Outside slave mode every value is 0, whatever the last scan found.
    ScanBlocks(rows, false, 1, links);
    EXPECT_EQ(links.linkFlag[1], 0u);
    EXPECT_EQ(links.linkedBlock[4], 0u);
    // A bit run ending on a word boundary links to the next word's block.
    BlockRows bits = {Slave(1, "27", "N090_5"), Slave(2, "1", "N092")};
    ScanBlocks(bits, true, 1, links);
    EXPECT_EQ(links.linkedBlock[1], 2u);
}

TEST_F(SlaveScan, HexadecimalAndMixedRegistersCountInHexadecimal) {
    BlockLinks links;
    ScanBlocks({Slave(1, "16", "H0F0"), Slave(2, "1", "H100")}, true, 1, links);
    EXPECT_EQ(links.linkedBlock[1], 2u);
    // The COM2 register W has number-system code 5.
    BlockRows rows = {{"1", "16", "Beta Bus", "1", "W00F0:00", "Alpha Link", "1", "N1", "10", "0", ""},
                      {"2", "1", "Beta Bus", "1", "W0100:00", "Alpha Link", "1", "N1", "10", "0", ""}};
    ScanBlocks(rows, true, 2, links);
    EXPECT_EQ(links.linkFlag[1], 1u);
    EXPECT_EQ(links.linkedBlock[1], 2u);
}

TEST_F(SlaveScan, AddressTextHelpers) {
    EXPECT_EQ(HasUnderscore("N10_3"), 1);
    EXPECT_EQ(HasUnderscore("N10"), 0);
    EXPECT_EQ(SplitAtUnderscore("N10_15"), 15);
    EXPECT_EQ(SplitAtUnderscore("N10_16"), 0);
    EXPECT_EQ(SplitAtUnderscore("N10_-3"), 0);
    EXPECT_EQ(SplitAtUnderscore("N10"), 0);
    EXPECT_EQ(SplitAtUnderscore("N10_4x"), 4);
    EXPECT_EQ(AddressPrefixPart("N10_4"), "N10");
    EXPECT_EQ(AddressPrefixPart("N10"), "N10");
    EXPECT_EQ(AddressNumberText(0, "16"), "1");
    EXPECT_EQ(AddressNumberText(1, "16"), "2");
    EXPECT_EQ(AddressNumberText(5, "20"), "2");
    EXPECT_EQ(AddressNumberText(0, "0"), "0");

    Load("[Plc Info]\r\nPlc Name=P\r\nPlc1=M\r\n[M]\r\nRegisterCount=4\r\n"
         "Register1=A,1,0,HC,0,9,**,,**,\r\nRegister2=B,1,0,TX,0,9,**,,**,\r\n"
         "Register3=C,1,0,T,0,9,**,,**,\r\nRegister4=D,1,0,CZ,0,9,**,,**,\r\n",
         "M", kCom2File, "Beta");
    EXPECT_EQ(IsTimerCounterRegister("HC5", 1), 1);
    EXPECT_EQ(IsTimerCounterRegister("T5", 1), 1);
    EXPECT_EQ(IsTimerCounterRegister("TX5", 1), 0);
    EXPECT_EQ(IsTimerCounterRegister("CZ5", 1), 0);
    EXPECT_EQ(IsTimerCounterRegister("Q5", 1), 0);
    EXPECT_EQ(IsTimerCounterRegister("C07P", 2), 1);
}

}  // namespace
