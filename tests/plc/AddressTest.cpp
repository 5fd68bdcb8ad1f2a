#include "PlcFixture.h"

#include "plc/BlockEditorHost.h"
#include "platform/Paths.h"

#include <map>

namespace {

using Lookup = PlcTablesTest;

TEST_F(Lookup, LongestPrefixWinsAndSharedPrefixesPickByRange) {
    EXPECT_EQ(t.FindRegisterByPrefix("N12", 1), Index(1, "Integer"));
    // NB is shared by Input (0-99) and Block (100-199): the range decides.
    EXPECT_EQ(t.FindRegisterByPrefix("NB12", 1), Index(1, "Input"));
    EXPECT_EQ(t.FindRegisterByPrefix("NB150", 1), Index(1, "Block"));
    EXPECT_EQ(t.FindRegisterByPrefix("NB250", 1), -1);
    EXPECT_EQ(t.FindRegisterByPrefix("D50", 1), Index(1, "Data Low"));
    EXPECT_EQ(t.FindRegisterByPrefix("D150", 1), Index(1, "Data High"));
    EXPECT_EQ(t.FindRegisterByPrefix("D250", 1), -1);
    EXPECT_EQ(t.FindRegisterByPrefix("", 1), -1);
    EXPECT_EQ(t.FindRegisterByPrefix("Y5", 1), -1);
}

TEST_F(Lookup, WithoutRangeChecksTheFirstOfASharedPrefixWins) {
    // COM2 has RegisterWidth 2: X is shared by a word and a bit type and nothing is
    // range-checked, so the first in table order (the coil group) that accepts the form wins.
    EXPECT_EQ(t.FindRegisterByPrefix("X5/3", 2), Index(2, "Bit X"));
    // Without a '/' part the bit type rejects the text (empty part), the word type takes it.
    EXPECT_EQ(t.FindRegisterByPrefix("X500", 2), Index(2, "Word X"));
}

TEST_F(Lookup, CanLayoutTakesTheFirstLeadingPrefix) {
    g_bCom2IsCAN = 1;
    EXPECT_EQ(t.FindRegisterByPrefix("X500", 2), Index(2, "Bit X"));
}

TEST_F(Lookup, RegisterGroupLookup) {
    EXPECT_EQ(t.GetRegisterIndexForPort("X5", 1, 2), Index(2, "Bit X"));
    EXPECT_EQ(t.GetRegisterIndexForPort("X5", 0, 2), Index(2, "Word X"));
    EXPECT_EQ(t.GetRegisterIndexForPort("NB0012***", 0, 1), Index(1, "Input"));
    EXPECT_EQ(t.GetRegisterIndexForPort("NB5", 1, 1), -1);
    EXPECT_EQ(t.GetRegisterIndexForPort("***", 0, 1), -1);
    EXPECT_EQ(t.GetRegisterIndexForPort("N5", 0, 3), -1);
}

TEST_F(Lookup, ValidationOfRangesPartsAndSuffixes) {
    const int integer = Index(1, "Integer"), file = Index(1, "File"), timer = Index(1, "Timer");
    EXPECT_EQ(t.ValidateAddressCom1("N999  ", integer), 0);
    EXPECT_EQ(t.ValidateAddressCom1("N1000", integer), 1);
    EXPECT_EQ(t.ValidateAddressCom1("N", integer), 1);
    EXPECT_EQ(t.ValidateAddressCom1("F7:12/3", file), 0);
    EXPECT_EQ(t.ValidateAddressCom1("F7:256/3", file), 1);
    EXPECT_EQ(t.ValidateAddressCom1("F7:12/16", file), 1);
    EXPECT_EQ(t.ValidateAddressCom1("F7:12", file), 1);  // the '/' part is required
    // Without ':' the '/' part takes the ':' place and the third part is empty.
    EXPECT_EQ(t.ValidateAddressCom1("F7/3", file), 1);
    EXPECT_EQ(t.ValidateAddressCom1("T4A", timer), 0);
    EXPECT_EQ(t.ValidateAddressCom1("T4P", timer), -1);
    EXPECT_EQ(t.ValidateAddressCom1("T4", timer), 0);
    // Digits outside the number system are refused where ranges are checked.
    EXPECT_EQ(t.ValidateAddressCom1("N1x", integer), 1);
    EXPECT_EQ(t.ValidateAddressCom1("H0FA", Index(1, "Hex")), 0);
    EXPECT_EQ(t.ValidateAddressCom1("H0FG", Index(1, "Hex")), 1);
    EXPECT_EQ(t.ValidateAddressCom1("O777", Index(1, "Octal")), 0);
    EXPECT_EQ(t.ValidateAddressCom1("O78", Index(1, "Octal")), 1);
    // A bit of a word register: the word address is what is checked.
    EXPECT_EQ(t.ValidateAddressCom1("N12_15", integer), 0);
    EXPECT_EQ(t.ValidateAddressCom1("N1000_1", integer), 1);
    // COM2 keeps trailing blanks and, with RegisterWidth 2, checks no range.
    const int counter = Index(2, "Counter");
    EXPECT_EQ(t.ValidateAddressCom2("C500P", counter), 0);
    EXPECT_EQ(t.ValidateAddressCom2("C5A", counter), -1);
    EXPECT_EQ(t.ValidateAddressCom2("L99", Index(2, "Long")), 0);
    EXPECT_EQ(t.ValidateAddressCom1("N5", 99), 1);  // no such register
}

class RecordingHost : public IBlockEditorHost {
public:
    std::vector<std::string> info;
    std::map<int, std::string> cells;
    void ShowInfoText(const std::string& text) override { info.push_back(text); }
    void ShowNewInfoText(const std::string& text) override { info.push_back(text); }
    std::string GetOlderBlockCellText(int, int column) override { return cells[column]; }
    std::string GetNewerBlockCellText(int, int column) override { return cells[column]; }
    std::vector<std::string> boxes;
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        boxes.push_back(text + "|" + caption + "|" + std::to_string(flags));
        return 1;
    }
};

class BlockEntry : public PlcTablesTest {
protected:
    RecordingHost host;
    void SetUp() override {
        PlcTablesTest::SetUp();
        SetBlockEditorHost(&host);
        t.g_nBlockWordLimit = 32;
    }
    void TearDown() override {
        SetBlockEditorHost(nullptr);
        g_bBlockExSlaveMode = 0;
        PlcTablesTest::TearDown();
    }
    int Check(int column, const std::string& text) {
        host.info.clear();
        g_nBlockEditCol = column;
        return t.ValidateBlockEntry(text);
    }
};

TEST_F(BlockEntry, AddressCellsNeedAPlcAndAKnownPrefix) {
    EXPECT_EQ(Check(4, "N5"), -1);
    EXPECT_EQ(host.info, (std::vector<std::string>{"PLC not selected !"}));
    host.cells[2] = "Alpha Link  ";
    EXPECT_EQ(Check(4, " N5 "), 0);
    EXPECT_EQ(Check(4, "Y5"), 1);
    EXPECT_EQ(host.info, (std::vector<std::string>{
                             "Invalid Prefix. Please enter valid data. To see details, click on 'Get PLC Address' Button."}));
    EXPECT_EQ(Check(4, "N5000"), 1);
    EXPECT_EQ(host.info, (std::vector<std::string>{  // a refusal is told, out of range too
                             "Address out of range. Please enter valid data. To see details, click on 'Get PLC Address' Button."}));
    host.cells[5] = "Beta Bus";
    EXPECT_EQ(Check(7, "L3"), 0);
    EXPECT_EQ(Check(7, "N3"), 1);
}

TEST_F(BlockEntry, NumberCellsShowTheirRanges) {
    const std::string both =
        "For word operation, valid entry is 1- 32. For bit operation, valid entry is 1 - 32. Please enter valid data.";
    const std::string wordOnly =
        "For word operation, valid entry is 1- 32. For bit operation, valid entry is 1. Please enter valid data.";
    EXPECT_EQ(Check(1, "12"), 0);
    EXPECT_EQ(Check(1, "1a"), 1);
    EXPECT_EQ(host.info.back(), both);
    EXPECT_EQ(Check(1, ""), 1);
    EXPECT_EQ(host.info.back(), wordOnly);
    EXPECT_EQ(Check(1, "33"), 1);
    EXPECT_EQ(host.info.back(), wordOnly);
    g_bBlockExSlaveMode = 1;
    EXPECT_EQ(Check(1, "0"), 1);
    EXPECT_EQ(host.info.back(), both);

    EXPECT_EQ(Check(3, "0"), 0);
    EXPECT_EQ(Check(3, "x"), 1);
    EXPECT_EQ(host.info.back(), "Valid range is 1 to  255. Please enter valid data.");
    EXPECT_EQ(Check(3, "256"), 1);
    EXPECT_EQ(host.info.back(), "Valid range is 1 to 255. Please enter valid data.");
    EXPECT_EQ(Check(6, "x"), 1);
    EXPECT_EQ(host.info.back(), "Valid range is 1 to 255. Please enter valid data.");
    EXPECT_EQ(Check(8, "0"), 1);
    EXPECT_EQ(host.info.back(), "Valid range is 1 to 99. Please enter valid data.");
    EXPECT_EQ(Check(8, "99"), 0);
    EXPECT_EQ(Check(9, "anything"), 0);
    EXPECT_EQ(CPlcRegisterTables::IsAllDigits(""), 1);
}

using Keys = PlcTablesTest;

TEST_F(Keys, EveryAddressFormKeysAndFormatsBack) {
    struct Case {
        int port;
        std::string text, key, shown;
    };
    const Case cases[] = {
        {1, "N12", "N012*****", "N012"},          // no ':' or '/' part
        {1, "N0", "N000*****", "N000"},
        {1, "N012  ", "N012*****", "N012"},       // trailing blanks do not count
        {1, "B5/3", "B00503***", "B005/03"},      // coil with a bit part
        {1, "S7/3", "S0703****", "S07/03"},       // read-only coil
        {1, "F7:12/3", "F0701203*", "F07:012/03"},  // both parts
        {1, "T4A", "T004A****", "T004A"},         // timer letter
        {1, "H0A", "H00A*****", "H00A"},
        {2, "W12:F", "W00120F**", "W0012:0F"},    // code 5, register with ':'
        {2, "C7P", "C07P*****", "C07P"},          // counter letter
        {2, "X5/3", "X53******", "X5/3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string key = c.port == 1 ? t.ParseAddressCom1(c.text) : t.ParseAddressCom2(c.text);
        EXPECT_EQ(key, c.key);
        int r = t.FindRegisterByPrefix(c.text, c.port);
        ASSERT_GE(r, 0);
        const StringArray& prefix = c.port == 1 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix;
        const StringArray& min = c.port == 1 ? t.g_arrPlc1RegMin : t.g_arrPlc2RegMin;
        const StringArray& cmin = c.port == 1 ? t.g_arrPlc1RegColonMin : t.g_arrPlc2RegColonMin;
        // Split the key back into its parts by the register's widths, as the readers do.
        size_t p = prefix[r].size(), w5 = min[r].size(), w7 = cmin[r].size();
        std::string number = key.substr(p, w5), second = key.substr(p + w5, w7),
                    third = key.substr(p + w5 + w7, 2);
        std::string shown = c.port == 1 ? t.FormatAddressCom1(number, second, third, r)
                                        : t.FormatAddressCom2(number, second, third, r);
        EXPECT_EQ(prefix[r] + shown, c.shown);
    }
}

TEST_F(Keys, TimerLetterStaysWhenTheRegisterHasNoMarkerAndLongNumbersAreNotCut) {
    // Integer (N) has no "A*": a text beginning with another letter keeps everything.
    EXPECT_EQ(t.ParseAddressCom1("N1234567"), "N1234567****");
    // A timer text with '_': the letter before '_' is tested and the cut drops the rest.
    EXPECT_EQ(t.ParseAddressCom1("T4A_3"), "T004A****");
    EXPECT_EQ(t.ParseAddressCom1("Y5"), "");
    EXPECT_EQ(t.GetRegisterKind("Y5", 1), -1);
}

TEST_F(Keys, KindsAndCoilTest) {
    EXPECT_EQ(t.GetRegisterKind("S3/1", 1), 2);
    EXPECT_EQ(t.GetRegisterKind("NB150", 1), 4);
    EXPECT_EQ(t.GetRegisterKind("C5P", 7), 3);  // any port but 1 reads COM2
    EXPECT_EQ(t.IsCoilAddress("B1/1", 1), 1);
    EXPECT_EQ(t.IsCoilAddress("S1/1", 1), 1);
    EXPECT_EQ(t.IsCoilAddress("NB150", 1), 0);
    EXPECT_EQ(t.IsCoilAddress("C5P", 2), 0);
}

TEST(Stepping, EachNumberSystemCarriesAndWraps) {
    using T = CPlcRegisterTables;
    EXPECT_EQ(T::IncrementAddressText("9", 0), "0");
    EXPECT_EQ(T::IncrementAddressText("09", 0), "10");
    EXPECT_EQ(T::IncrementAddressText("099", 0), "100");
    EXPECT_EQ(T::IncrementAddressText("999", 0), "000");
    EXPECT_EQ(T::DecrementAddressText("000", 0), "999");
    EXPECT_EQ(T::DecrementAddressText("100", 0), "099");
    EXPECT_EQ(T::IncrementAddressText("9", 1), "A");
    EXPECT_EQ(T::IncrementAddressText("F", 1), "0");
    EXPECT_EQ(T::IncrementAddressText("1F", 1), "20");
    EXPECT_EQ(T::IncrementAddressText("0FF", 5), "100");
    EXPECT_EQ(T::DecrementAddressText("A", 1), "9");
    EXPECT_EQ(T::DecrementAddressText("10", 5), "0F");
    EXPECT_EQ(T::DecrementAddressText("000", 1), "FFF");
    EXPECT_EQ(T::IncrementAddressText("077", 2), "100");
    EXPECT_EQ(T::DecrementAddressText("000", 2), "777");
    EXPECT_EQ(T::IncrementAddressText("12", 3), "12");
    EXPECT_EQ(T::DecrementAddressText("12", 4), "12");
}

TEST_F(Keys, RangeTextsPartsAndZeroFill) {
    EXPECT_EQ(t.GetRegisterRangeTextCom1(Index(1, "Integer")), "(000-999)");
    EXPECT_EQ(t.GetRegisterRangeTextCom1(Index(1, "Bit")), "(000-255)(00-15)");
    EXPECT_EQ(t.GetRegisterRangeTextCom1(Index(1, "File")), "(00-99)(000-255)(00-15)");
    EXPECT_EQ(t.GetRegisterRangeTextCom2(Index(2, "Counter")), "(00-99)");

    const int file = Index(1, "File"), timer = Index(1, "Timer");
    EXPECT_EQ(t.GetAddressNumberPartCom1("F7:12/3  ", file), "7");
    EXPECT_EQ(t.GetAddressColonPartCom1("F7:12/3", file), "12");
    EXPECT_EQ(t.GetAddressSlashPartCom1("F7:12/3  ", file), "3");
    EXPECT_EQ(t.GetAddressColonPartCom1("F7/3", file), "3");
    EXPECT_EQ(t.GetAddressSlashPartCom1("F7/3", file), "");
    EXPECT_EQ(t.GetAddressNumberPartCom1("T12A", timer), "12");
    EXPECT_EQ(t.GetAddressNumberPartCom1("T12P", timer), "12P");  // no "P*": the letter stays
    EXPECT_EQ(t.GetAddressSlashPartCom2("X5/3 ", Index(2, "Bit X")), "");
    EXPECT_EQ(t.GetAddressColonPartCom2("X5/3 ", Index(2, "Bit X")), "3 ");  // COM2 keeps blanks
    EXPECT_EQ(t.GetAddressNumberPartCom1("N5", 99), "");

    EXPECT_EQ(CPlcRegisterTables::FitStringToWidth("7", 3), "007");
    EXPECT_EQ(CPlcRegisterTables::FitStringToWidth("1234", 3), "1234");
    EXPECT_EQ(CPlcRegisterTables::FitStringToWidth("", 2), "00");
}

}  // namespace

namespace {

class OlderBlockCheck : public BlockEntry {
protected:
    void Row(const std::string& words, const std::string& srcPlc, const std::string& srcId,
             const std::string& srcAddr, const std::string& dstPlc, const std::string& dstId,
             const std::string& dstAddr, const std::string& cycle) {
        host.cells = {{1, words}, {2, srcPlc}, {3, srcId}, {4, srcAddr},
                      {5, dstPlc}, {6, dstId}, {7, dstAddr}, {8, cycle}};
        host.info.clear();
    }
};

TEST_F(OlderBlockCheck, RulesInOrderWithTheirMessages) {
    Row("1", "Alpha Link", "", "N5", "Beta Bus", "1", "L3", "");
    EXPECT_EQ(t.CompileCheckBlock(4), 3);
    EXPECT_EQ(host.info.back(), "Error while compiling block 5. The block is incomplete. ");

    Row("1", "Alpha Link", "1", "N5", "Alpha Link", "1", "N6", "1");
    EXPECT_EQ(t.CompileCheckBlock(0), 1);
    EXPECT_EQ(host.info.back(), "Error while compiling block 1. Same PLCs are selected on both ends.");

    Row("1", "Alpha Link", "1", "Y5", "Beta Bus", "1", "L3", "1");
    EXPECT_EQ(t.CompileCheckBlock(0), 1);
    EXPECT_EQ(host.info.back(), "Invalid Prefix");

    Row("1", "Beta Bus", "1", "L3", "Alpha Link", "1", "NB5", "1");  // read-only register
    EXPECT_EQ(t.CompileCheckBlock(0), 1);
    EXPECT_EQ(host.info.back(),
              "Destination address can not be read only register type. Please select read-write register type.");
    Row("1", "Beta Bus", "1", "X5/1", "Alpha Link", "1", "S3/1", "1");  // read-only coil
    EXPECT_EQ(t.CompileCheckBlock(0), 1);
    EXPECT_EQ(host.info.back(), "Destination address can not be read only coil type. Please select read-write coil type.");

    Row("1", "Alpha Link", "1", "B3/1", "Beta Bus", "1", "L3", "1");
    EXPECT_EQ(t.CompileCheckBlock(0), 1);
    EXPECT_EQ(host.info.back(), "Can not copy a coil to a register.");
    Row("1", "Alpha Link", "1", "N5", "Beta Bus", "1", "X5/1", "1");
    EXPECT_EQ(t.CompileCheckBlock(0), 1);
    EXPECT_EQ(host.info.back(), "Can not copy a register to a coil.");

    Row("1", "Alpha Link", "1", "NB150", "Beta Bus", "1", "X5/1", "1");  // kind 4 goes anywhere
    EXPECT_EQ(t.CompileCheckBlock(0), 0);
    Row("1", "Alpha Link", "1", "N5", "Beta Bus", "1", "L3", "1");
    EXPECT_EQ(t.CompileCheckBlock(0), 0);
    EXPECT_TRUE(host.info.empty());

    // In slave mode a read-only coil destination is tested by the kind pairs only.
    g_bBlockExSlaveMode = 1;
    Row("1", "Beta Bus", "1", "X5/1", "Alpha Link", "1", "S3/1", "1");
    EXPECT_EQ(t.CompileCheckBlock(0), 0);
    EXPECT_EQ(CPlcRegisterTables::CompareAddressArgs("a", "b", "c", "d", "e", "f", "g", "h"), 0);
    EXPECT_EQ(CPlcRegisterTables::CompareAddressArgs("", "", "", "", "", "", "", ""), 8);
}

}  // namespace

namespace {

class NewerEntry : public BlockEntry {
protected:
    int Check(int column, const std::string& text) {
        host.info.clear();
        host.boxes.clear();
        g_nNewBlockEditCol = column;
        return t.ValidateNewBlockEntry(text);
    }
    void TearDown() override {
        g_bSlaveMode = 0;
        BlockEntry::TearDown();
    }
};

TEST_F(NewerEntry, AddressesPrefixesAndBitSuffixes) {
    EXPECT_EQ(Check(4, "N5"), -1);
    EXPECT_EQ(host.info.back(), "PLC not selected !");
    host.cells[2] = "Alpha Link";
    EXPECT_EQ(Check(4, "N5_15"), 0);
    EXPECT_EQ(Check(4, "N5_16"), 1);
    EXPECT_EQ(host.boxes, (std::vector<std::string>{"Invalid Bit Value. Please enter valid data.|Invalid Bit|64"}));
    EXPECT_EQ(Check(4, "N5_x"), 0);
    EXPECT_EQ(Check(4, "Y5_16"), 1);  // no register: no range and no bit check
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(Check(4, "N5000_16"), 2);
    EXPECT_EQ(CPlcRegisterTables::IsBitSuffixOutOfRange("N5"), 0);
}

TEST_F(NewerEntry, NumberColumnsAndTheirRanges) {
    const std::string wordOnly =
        "For word operation, valid entry is 1- 32. For bit operation, valid entry is 1. Please enter valid data.";
    const std::string both =
        "For word operation, valid entry is 1- 32. For bit operation, valid entry is 1 - 32. Please enter valid data.";
    EXPECT_EQ(Check(1, "0"), 1);
    EXPECT_EQ(host.info.back(), wordOnly);
    EXPECT_EQ(Check(1, "x"), 1);
    EXPECT_EQ(host.info.back(), both);
    g_bSlaveMode = 1;
    EXPECT_EQ(Check(1, ""), 1);
    EXPECT_EQ(host.info.back(), both);
    EXPECT_EQ(Check(3, "0"), 0);
    EXPECT_EQ(Check(6, "255"), 0);
    EXPECT_EQ(Check(3, "256"), 1);
    EXPECT_EQ(host.info.back(), "Valid range is 0 to 255. Please enter valid data.");
    EXPECT_EQ(Check(8, "0"), 1);
    EXPECT_EQ(Check(8, "100"), 1);
    EXPECT_EQ(Check(8, "1"), 0);
    EXPECT_EQ(Check(8, "99"), 0);
    EXPECT_EQ(Check(9, "0"), 0);
    EXPECT_EQ(Check(9, "255"), 0);
    EXPECT_EQ(Check(9, "256"), 1);
    EXPECT_EQ(host.info.back(), "Valid range is 1 to 255. Please enter valid data.");
    EXPECT_EQ(Check(10, "any comment"), 0);
}

TEST(PgnLookups, KeysFromTheAddressAndTheLastField) {
    testsupport::TempDir dir;
    platform::SetProgramFolder(dir.Path());
    g_szProductName = "QVX-300";
    dir.Write("QVX-300/Plc/PGNLength.inf",
              "[PGN Info]\r\n0xFEF1=Engine,8,6\r\n0xF004=8,,\r\n0x0F04=variable\r\n0xABC=\r\n");
    EXPECT_EQ(CPlcRegisterTables::ReadPgnLength("P0:00FEF1"), "6");     // 9 characters: last 4
    EXPECT_EQ(CPlcRegisterTables::ReadPgnLength("P0:000F004"), "8");    // 10: last 4, trailing commas skipped
    EXPECT_EQ(CPlcRegisterTables::ReadPgnLength("P1:0/0F04"), "variable");
    EXPECT_EQ(CPlcRegisterTables::ReadPgnLength("P1:00ABC"), "");       // 8: last 3, empty value
    EXPECT_EQ(CPlcRegisterTables::ReadPgnLength("P1:001234"), "Corrupt file");
    EXPECT_EQ(CPlcRegisterTables::ReadPgnLength("P"), "Corrupt file");
    EXPECT_EQ(CPlcRegisterTables::PgnDirectionText("P0:1"), "Input");
    EXPECT_EQ(CPlcRegisterTables::PgnDirectionText("P1:1"), "Output");
    EXPECT_EQ(CPlcRegisterTables::PgnDirectionText("P"), "Output");
    g_szProductName.clear();
    platform::SetProgramFolder("");
}

}  // namespace
