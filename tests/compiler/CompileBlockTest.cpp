#include "compiler/BlockAddress.h"
#include "compiler/BlockScan.h"
#include "compiler/CompileBlock.h"
#include "plc/BlockEditorHost.h"
#include "PlcFixture.h"

#include <cstring>

namespace {

class InfoHost : public IBlockEditorHost {
public:
    std::vector<std::string> info;
    void ShowInfoText(const std::string&) override {}
    void ShowNewInfoText(const std::string& text) override { info.push_back(text); }
    std::string GetOlderBlockCellText(int, int) override { return {}; }
    std::string GetNewerBlockCellText(int, int) override { return {}; }
    int MessageBox(const std::string&, const std::string&, unsigned) override { return 1; }
};

class Compile : public PlcTablesTest {
protected:
    InfoHost host;
    void SetUp() override {
        PlcTablesTest::SetUp();
        SetBlockEditorHost(&host);
        g_PlcRegisterTables.g_nBlockWordLimit = 64;  // the rows' counts fit it
    }
    void TearDown() override {
        SetBlockEditorHost(nullptr);
        PlcTablesTest::TearDown();
    }
    static BlockRow Row(const std::string& src, const std::string& srcAddr, const std::string& dst,
                        const std::string& dstAddr) {
        return {"1", "4", src, "1", srcAddr, dst, "2", dstAddr, "10", "0", ""};
    }
    int Check(const BlockRow& row, bool slave = false) {
        host.info.clear();
        return CompileBlock(row, 2, slave);
    }
    std::string Last() const { return host.info.empty() ? std::string() : host.info.back(); }
};

TEST_F(Compile, IncompleteAndSamePlcBlocks) {
    BlockRow row = Row("Alpha Link", "N5", "Beta Bus", "L3");
    row[kColRepeatCycle] = "";
    row[kColSourceId] = "   ";
    EXPECT_EQ(Check(row), 3);
    EXPECT_EQ(Last(), "Error while compiling block 3. The block is incomplete. ");
    EXPECT_EQ(Check(Row("Alpha Link", "N5", "Alpha Link", "N6")), 1);
    EXPECT_EQ(Last(), "Error while compiling block 3. Same PLCs are selected on both ends.");
    EXPECT_EQ(Check(Row("Alpha Link", "Y5", "Beta Bus", "L3")), 1);
    EXPECT_EQ(Last(), "Invalid Prefix");
    EXPECT_EQ(Check(Row("Alpha Link", "Y5_3", "Beta Bus", "L3")), 1);
    EXPECT_EQ(Last(), "Invalid Prefix");
    EXPECT_EQ(Check(Row("Alpha Link", "N5", "Beta Bus", "L3")), 0);
    EXPECT_TRUE(host.info.empty());
}

TEST_F(Compile, ReadOnlyDestinationsAndDataKinds) {
    EXPECT_EQ(Check(Row("Beta Bus", "L3", "Alpha Link", "NB5")), 1);
    EXPECT_EQ(Last(), "Destination address can not be read only register type. Please select read-write register type.");
    EXPECT_EQ(Check(Row("Beta Bus", "L3", "Alpha Link", "NB5"), true), 0);  // slave mode, word to word
    EXPECT_EQ(Check(Row("Beta Bus", "X5/1", "Alpha Link", "S3/1")), 1);
    EXPECT_EQ(Last(), "Destination address can not be read only coil type. Please select read-write coil type.");

    EXPECT_EQ(Check(Row("Alpha Link", "N5", "Beta Bus", "X5/1")), 1);
    EXPECT_EQ(Last(), "Can not copy a register to a coil.");
    EXPECT_EQ(Check(Row("Alpha Link", "N5_3", "Beta Bus", "X5/1")), 0);  // a bit of a word to a coil
    EXPECT_EQ(Check(Row("Alpha Link", "B3/1", "Beta Bus", "L3")), 1);
    EXPECT_EQ(Last(), "Can not copy a coil to a register.");
    EXPECT_EQ(Check(Row("Alpha Link", "B3/1", "Beta Bus", "L3_2")), 0);
    EXPECT_EQ(Check(Row("Alpha Link", "B3/1_4", "Beta Bus", "L3_2")), 1);  // a coil has no bits
    EXPECT_EQ(Last(), "Error while compiling block 3. Only a register address can carry a bit.");
    EXPECT_EQ(Check(Row("Alpha Link", "N5", "Beta Bus", "X5/1_4")), 1);
    EXPECT_EQ(Last(), "Error while compiling block 3. Only a register address can carry a bit.");
    EXPECT_EQ(Check(Row("Alpha Link", "N5_1", "Beta Bus", "L3")), 1);
    EXPECT_EQ(Last(), "Source Address and Destination Address should be Bit Addressable.");
    EXPECT_EQ(Check(Row("Alpha Link", "N5", "Beta Bus", "L3_1")), 1);
    EXPECT_EQ(Check(Row("Alpha Link", "N5_1", "Beta Bus", "L3_1")), 0);
    EXPECT_EQ(Check(Row("Alpha Link", "NB150_1", "Beta Bus", "L3_1")), 0);  // kind 4 source
}

TEST(BlockAddressText, UnderscoresAndWordCounts) {
    EXPECT_EQ(HasUnderscore("N5_3"), 1);
    EXPECT_EQ(HasUnderscore("N5"), 0);
    EXPECT_EQ(SplitAtUnderscore("N5_15"), 15);
    EXPECT_EQ(SplitAtUnderscore("N5_16"), 0);
    EXPECT_EQ(SplitAtUnderscore("N5"), 0);
    EXPECT_EQ(AddressPrefixPart("N5_3"), "N5");
    EXPECT_EQ(AddressPrefixPart("N5"), "N5");
    EXPECT_EQ(AddressNumberText(0, "16"), "1");
    EXPECT_EQ(AddressNumberText(1, "16"), "2");
    EXPECT_EQ(AddressNumberText(5, "20"), "2");
    EXPECT_EQ(AddressNumberText(0, "0"), "0");
}

TEST_F(Compile, TimerCounterRegistersByExactPrefix) {
    EXPECT_EQ(IsTimerCounterRegister("T4A", 1), 1);
    EXPECT_EQ(IsTimerCounterRegister("C5P", 2), 1);
    EXPECT_EQ(IsTimerCounterRegister("N5", 1), 0);
    EXPECT_EQ(IsTimerCounterRegister("Y5", 1), 0);
}

TEST_F(Compile, SlaveScanChainsBackToBackBlocksOfOneRegister) {
    auto row = [](const std::string& block, const std::string& words, const std::string& address) {
        BlockRow r{};
        r[kColBlockNo] = block;
        r[kColWords] = words;
        r[kColSourceAddr] = address;
        return r;
    };
    // COM2 is the slave port here: L (0-10) and X registers.
    BlockRows rows = {row("1", "3", "L1"), row("2", "2", "L4"), row("3", "2", "W12:1"),
                      row("4", "0", "L9"), row("5", "20", "L6_5"), row("6", "1", "Z1")};
    BlockLinks links;
    ScanBlocks(rows, true, 2, links);
    EXPECT_EQ(links.linkFlag[1], 1u);  // 1..4 meets block 2 at 4
    EXPECT_EQ(links.linkedBlock[1], 2u);
    EXPECT_EQ(links.linkFlag[2], 1u);  // 4..6 meets block 5 at 6
    EXPECT_EQ(links.linkedBlock[2], 5u);
    EXPECT_EQ(links.linkFlag[4], 1u);  // a count of 0 is its own follower
    EXPECT_EQ(links.linkedBlock[4], 4u);
    EXPECT_EQ(links.linkFlag[5], 0u);  // 6 + 2 words = 8: nothing starts there
    EXPECT_EQ(links.linkFlag[3], 0u);  // another register
    EXPECT_EQ(links.linkFlag[6], 0u);  // no register

    BlockLinks again;
    ScanBlocks(rows, true, 2, again);
    EXPECT_EQ(0, memcmp(&links, &again, sizeof links));
    ScanBlocks(rows, false, 2, again);
    EXPECT_EQ(again.linkFlag[1], 0u);
    EXPECT_EQ(again.linkedBlock[4], 0u);
}

}  // namespace

namespace {

// Every pair of register kinds, with and without a bit suffix on word registers, in and
// out of slave mode, against the table of the check written out here.
TEST_F(Compile, KindPairsAsTheTableGivesThem) {
    // Both ports carry the same register types; the second PLC gets a name of its own.
    Load(kCom1File, "Alpha 100", kCom1File, "Alpha 100");
    t.g_strPLC2Name = "Other";
    const std::string address[5] = {"B1/1", "N1", "S1/1", "NB1", "NB150"};  // kinds 0 to 4
    const char* kCoilToRegister = "Can not copy a coil to a register.";
    const char* kRegisterToCoil = "Can not copy a register to a coil.";
    const char* kBits = "Source Address and Destination Address should be Bit Addressable.";
    const char* kReadOnlyCoil = "Destination address can not be read only coil type. Please select read-write coil type.";
    const char* kReadOnlyRegister =
        "Destination address can not be read only register type. Please select read-write register type.";
    auto isCoil = [](int k) { return k == 0 || k == 2; };
    for (int slave = 0; slave <= 1; ++slave)
        for (int s = 0; s < 5; ++s)
            for (int d = 0; d < 5; ++d)
                for (int sBit = 0; sBit <= (isCoil(s) ? 0 : 1); ++sBit)
                    for (int dBit = 0; dBit <= (isCoil(d) ? 0 : 1); ++dBit) {
                        const std::string src = address[s] + (sBit ? "_3" : "");
                        const std::string dst = address[d] + (dBit ? "_3" : "");
                        SCOPED_TRACE(src + " -> " + dst + (slave ? " slave" : ""));
                        std::string expected;
                        if (!slave && d == 2) expected = kReadOnlyCoil;
                        else if (!slave && d == 3) expected = kReadOnlyRegister;
                        else if (isCoil(s) && !isCoil(d) && !dBit) expected = kCoilToRegister;
                        else if (!isCoil(s) && isCoil(d) && !sBit) expected = kRegisterToCoil;
                        else if (!isCoil(s) && (d == 1 || d == 4) && sBit != dBit) expected = kBits;
                        const int result = Check(Row("Alpha Link", src, "Other", dst), slave == 1);
                        EXPECT_EQ(result, expected.empty() ? 0 : 1);
                        EXPECT_EQ(Last(), expected);
                    }
}

}  // namespace
