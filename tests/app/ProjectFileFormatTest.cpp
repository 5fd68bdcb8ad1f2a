#include "model/ExtendedTables.h"
#include "projectfiles/ProjectFileSections.h"
#include "model/IpAddress.h"
#include "model/TableResets.h"

#include <array>
#include <gtest/gtest.h>

using namespace prjfile;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

TEST(ProjectFileFields, TextsAreCutOrEndedAndFilled) {
    std::string buf;
    FieldWriter w(buf);
    w.Text("abc", 6);
    w.Text("abcdefgh", 4);
    w.Text("Joe", 8, kProjectTextFill);
    w.Text("", 3, kProjectTextFill);
    EXPECT_EQ(buf, std::string("abc\0\0\0", 6) + "abcd" + std::string("Joe\0****", 8) + std::string("\0**", 3));

    FieldReader r(buf);
    EXPECT_EQ(r.Text(6), "abc");
    EXPECT_EQ(r.Text(4), "abcd");
    EXPECT_EQ(r.Text(8), "Joe");
    EXPECT_EQ(r.Text(3), "");
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.Byte(), 0);
    EXPECT_FALSE(r.Ok());  // past the end
}

TEST(ProjectFileFields, NumbersAndGapsAtPositions) {
    std::string buf;
    FieldWriter w(buf);
    w.Seek(kBlockCountOffset);
    w.U16LE(258);
    w.U16BE(502);
    w.Byte(-1);
    ASSERT_EQ(buf.size(), kBlockCountOffset + 5);
    EXPECT_EQ(buf.substr(0, kBlockCountOffset), std::string(kBlockCountOffset, '\0'));
    EXPECT_EQ(buf.substr(kBlockCountOffset), Bytes({2, 1, 1, 246, 255}));
    FieldReader r(buf, kBlockCountOffset);
    EXPECT_EQ(r.U16LE(), 258u);
    EXPECT_EQ(r.U16BE(), 502u);
    EXPECT_EQ(r.SignedByte(), -1);
    EXPECT_EQ(VersionField(4), std::string("Ver\x04.00\0\0", 9));
    size_t total = 0;
    for (size_t w : kBlockColumnWidths) total += w;
    EXPECT_EQ(total, kBlockRowSize);
}

TEST(ProjectFileFields, BaudAndDataBitCodes) {
    EXPECT_EQ(BaudToCode(9600, 1), 7);
    EXPECT_EQ(CodeToBaud(7, 1), 9600);
    EXPECT_EQ(BaudToCode(1000000, 1), 27);
    EXPECT_EQ(BaudToCode(1000000, 0), 64);  // not in port 0's table: its low byte
    EXPECT_EQ(CodeToBaud(64, 0), 64);
    EXPECT_EQ(BaudToCode(125000, 2), 125000 & 0xFF);
    EXPECT_EQ(CodeToBaud(15, 1), 125000);
    EXPECT_EQ(CodeToBaud(15, 0), 15);
    for (int port : {0, 1, 2})
        for (int rate : {110, 300, 9600, 19200, 256000}) EXPECT_EQ(CodeToBaud(BaudToCode(rate, port), port), rate);
    EXPECT_EQ(DataBitsToCode(7), 1);
    EXPECT_EQ(DataBitsToCode(8), 2);
    EXPECT_EQ(DataBitsToCode(5), 5);
    EXPECT_EQ(CodeToDataBits(2), 8);
}

TEST(IpAddressText, ParsesAndFormats) {
    EXPECT_EQ(FormatIpAddress(10, 1, 2, 30), "10.1.2.30");
    EXPECT_EQ(FormatIpAddress(300, 1, 1, 1), "44.1.1.1");
    uint8_t a, b, c, d;
    ParseIpAddress("10.0.5", a, b, c, d);
    EXPECT_EQ((std::array<int, 4>{a, b, c, d}), (std::array<int, 4>{10, 0, 5, 0}));
    ParseIpAddress("1.2.3.4.5", a, b, c, d);
    EXPECT_EQ((std::array<int, 4>{a, b, c, d}), (std::array<int, 4>{1, 2, 3, 4}));
    ParseIpAddress("300.1.1.1\r\n", a, b, c, d);
    EXPECT_EQ(a, 44);
}

class Sections : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() {
        g_EthNodeTable = CEthNodeTable();
        g_EipTagTable = CEipTagTable();
        ClearRecipeTables();
        ResetDefCommRegisters();
        ResetGeneralEntity();
        g_DefCommRegs.g_arrAttachRegWords1.clear();
        g_DefCommRegs.g_arrAttachRegWords2.clear();
        g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 0;
        g_bExtSetupError1 = g_bExtSetupError2 = 0;
        g_nRecipeState = 0;
    }
};

TEST_F(Sections, NodeTableRecordsAndTheirCount) {
    g_EthNodeTable.g_arrNodeAddress = {"1", "2"};
    g_EthNodeTable.g_arrNodePort = {"502", "503"};
    g_EthNodeTable.g_arrNodeIp = {"192.168.1.10"};  // fewer IPs than addresses: one node
    std::string buf;
    FieldWriter w(buf);
    WriteNodeTableSection(w);
    EXPECT_EQ(buf, Bytes({1, 1, 1, 246, 192, 168, 1, 10}));

    g_EthNodeTable.g_arrNodeAddress = {"9"};
    FieldReader r(buf);
    ASSERT_TRUE(ReadNodeTableSection(r));
    EXPECT_EQ(g_EthNodeTable.g_arrNodeAddress, (StringArray{"1"}));
    EXPECT_EQ(g_EthNodeTable.g_arrNodePort, (StringArray{"502"}));
    EXPECT_EQ(g_EthNodeTable.g_arrNodeIp, (StringArray{"192.168.1.10"}));

    std::string none = Bytes({0});
    FieldReader empty(none);
    ASSERT_TRUE(ReadNodeTableSection(empty));
    EXPECT_TRUE(g_EthNodeTable.g_arrNodeAddress.empty());  // not the previous project's nodes
}

TEST_F(Sections, TagTableAndRecipesRoundTrip) {
    std::string buf;
    FieldWriter w(buf);
    WriteTagTableSection(w);
    WriteRecipeSection(w);
    EXPECT_EQ(buf, Bytes({0, 3, 0}));  // no tags; recipe code and no rows

    g_EipTagTable.g_arrTagCode = {"000000001", "2"};
    g_EipTagTable.g_arrTagName = {"MotorSpeed", "Run"};
    g_EipTagTable.g_awTagSize[0] = 0x0104;
    g_EipTagTable.g_abTagType[1] = 7;
    g_RecipeTables.g_arrRecipeAddr = {"N7:12", "B3/4"};
    g_RecipeTables.g_abRecipePort[1] = 2;
    g_RecipeTables.g_abRecipeCol1[0] = 5;
    g_RecipeTables.g_awRecipeValue[0] = 65535;
    g_RecipeTables.g_awRecipeValue[1] = 258;
    buf.clear();
    FieldWriter w2(buf);
    WriteTagTableSection(w2);
    WriteRecipeSection(w2);
    size_t tagBytes = 1 + (9 + 3 + 10) + (9 + 3 + 3);
    EXPECT_EQ(buf.substr(tagBytes), Bytes({3, 2, 0, 5, 0, 5}) + "N7:12" + Bytes({255, 255, 2, 0, 0, 4}) + "B3/4" + Bytes({2, 1}));

    Clear();
    FieldReader r(buf);
    ASSERT_TRUE(ReadTagTableSection(r));
    ASSERT_TRUE(ReadRecipeSection(r));
    EXPECT_EQ(r.Remaining(), 0u);
    EXPECT_EQ(g_EipTagTable.g_arrTagCode, (StringArray{"000000001", "2"}));
    EXPECT_EQ(g_EipTagTable.g_arrTagName, (StringArray{"MotorSpeed", "Run"}));
    EXPECT_EQ(g_EipTagTable.g_awTagSize[0], 4);  // the size's high byte is not stored
    EXPECT_EQ(g_EipTagTable.g_abTagType[1], 7);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"N7:12", "B3/4"}));
    EXPECT_EQ(g_RecipeTables.g_awRecipeValue[0], 65535);
    EXPECT_EQ(g_RecipeTables.g_abRecipePort[1], 2);
    EXPECT_EQ(g_RecipeTables.g_nRecipeCode, 3);
}

TEST_F(Sections, AttachRegistersGetOneWordWhenTheListIsEmpty) {
    g_DefCommRegs.g_arrAttachRegStation2 = {"200"};
    g_DefCommRegs.g_arrAttachRegAddr2 = {"L3"};
    std::string buf;
    FieldWriter w(buf);
    WriteAttachRegSection(w, 2);
    EXPECT_EQ(buf, Bytes({5, 1, 200, 2}) + "L3" + Bytes({1}));
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords2, (StringArray{"1"}));

    Clear();
    FieldReader r(buf);
    ASSERT_TRUE(ReadAttachRegSection(r, 1));  // another code: nothing read, position kept
    EXPECT_EQ(r.Tell(), 0u);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords1.size(), 200u);
    ASSERT_TRUE(ReadAttachRegSection(r, 2));
    EXPECT_EQ(g_DefCommRegs.g_nAttachRegCode2, 5);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegStation2, (StringArray{"200"}));
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegAddr2, (StringArray{"L3"}));
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords2.size(), 200u);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords2[0], "1");
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegCode2.size(), 1u);
}

TEST_F(Sections, GeneralEntityOfEachPortInOrder) {
    g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 1;
    g_GeneralEntity.g_nGeneralEntityCount1 = 2;
    g_GeneralEntity.g_nExtSetupLen1 = 3;
    g_GeneralEntity.g_abExtSetup1[0] = 9;
    g_GeneralEntity.g_abExtSetup1[2] = 8;
    std::string buf;
    FieldWriter w(buf);
    WriteGeneralEntitySections(w);
    EXPECT_EQ(buf, Bytes({6, 2, 3, 9, 0, 8, 7, 0, 0}));

    ResetGeneralEntity();
    FieldReader r(buf);
    ASSERT_TRUE(ReadGeneralEntitySections(r));
    EXPECT_EQ(g_GeneralEntity.g_nExtSetupLen1, 3);
    EXPECT_EQ(g_GeneralEntity.g_abExtSetup1[2], 8);
    EXPECT_EQ(g_GeneralEntity.g_nGeneralEntityCode2, 7);
    EXPECT_EQ(g_bExtSetupError1, 0);
    EXPECT_EQ(g_bExtSetupError2, 1);  // no stored values: the dialog shows the defaults
}

TEST_F(Sections, CorruptSectionsAreRefusedNotOverrun) {
    std::string longName = Bytes({1}) + "123456789" + Bytes({4, 1, 200}) + std::string(200, 'x');
    FieldReader tags(longName);
    EXPECT_FALSE(ReadTagTableSection(tags));
    std::string truncated = Bytes({3, 2, 1, 0, 0, 3}) + "N7";
    FieldReader recipes(truncated);
    EXPECT_FALSE(ReadRecipeSection(recipes));
    std::string manyNodes = Bytes({200});
    FieldReader nodes(manyNodes);
    EXPECT_FALSE(ReadNodeTableSection(nodes));
    std::string bigEntity = Bytes({6, 1, 250}) + std::string(250, 'v');
    g_bGeneralEntityCom1 = 1;
    FieldReader entity(bigEntity);
    EXPECT_FALSE(ReadGeneralEntitySections(entity));
}

}  // namespace

namespace {

TEST(OlderProjectFileFields, RowWidthsAndBaudCodes) {
    for (bool slave : {false, true}) {
        size_t widths[kOlderBlockColumns];
        OlderColumnWidths(slave, widths);
        size_t total = 0;
        for (size_t w : widths) total += w;
        EXPECT_EQ(total, OlderRowWidth(slave));
    }
    EXPECT_EQ(BaudToCode(500000, 1, 17), 17);
    EXPECT_EQ(BaudToCode(500000, 0, 17), 500000 & 0xFF);
    EXPECT_EQ(BaudToCode(1000000, 1, 17), 1000000 & 0xFF);
    EXPECT_EQ(OlderCodeToBaud(27, 1), 1000000);
    EXPECT_EQ(OlderCodeToBaud(19, 1), 19);
    EXPECT_EQ(OlderCodeToBaud(15, 0), 15);
    EXPECT_EQ(OlderCodeToBaud(7, 2), 9600);
}

}  // namespace
