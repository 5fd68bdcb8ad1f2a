#include "compiler/IdbImage.h"
#include "model/IdbText.h"
#include "PlcFixture.h"

namespace {

using IdbImage = PlcTablesTest;

IdbPaneRow Row(std::string node, std::string start, std::string type, std::string words,
               std::string fail, std::string skip = "No") {
    return {"", node, start, type, words, "1", "0", skip, fail};
}

TEST_F(IdbImage, RowsAreNineteenBytesLittleEndianThenTheCount) {
    std::vector<IdbRowSettings> settings;
    std::string image = EncodeIdbImage({Row("300", "N12", "Word", "300", "65535", "Yes")}, 1, &settings);
    ASSERT_EQ(image.size(), 20u);
    EXPECT_EQ(image[0], '\x2C');                 // node 300, low 8 bits
    EXPECT_EQ(image.substr(1, 9), "N012*****");  // register text padded with '*'
    EXPECT_EQ(image[10], 3);                     // Word
    EXPECT_EQ(image.substr(11, 2), "\x2C\x01");  // 300 words
    EXPECT_EQ(image.substr(13, 2), std::string("\x01\x00", 2));
    EXPECT_EQ(image[16], 1);                     // Yes
    EXPECT_EQ(image.substr(17, 2), "\xFF\xFF");
    EXPECT_EQ(image[19], 1);                     // one row
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0].dataType, 3);
    EXPECT_EQ(settings[0].skip, 1);
    EXPECT_EQ(settings[0].failValue, 65535);
    EXPECT_EQ(EncodeIdbImage({}, 1), std::string(1, '\0'));
}

TEST_F(IdbImage, ImagesLoadBackIntoTheSameRows) {
    std::vector<IdbPaneRow> com1 = {Row("1", "N012", "Word", "4", "65535"), Row("2", "B005/03", "DiscritBit", "1", "0", "Yes"),
                                    Row("3", "F07:012/03", "Float", "2", "7")};
    EXPECT_EQ(DecodeIdbImage(EncodeIdbImage(com1, 1), 1, false, ""), com1);
    std::vector<IdbPaneRow> com2 = {Row("9", "W0012:0F", "SwapFloat", "1", "100"), Row("4", "C07P", "Word", "2", "1")};
    EXPECT_EQ(DecodeIdbImage(EncodeIdbImage(com2, 2), 2, false, ""), com2);
    // The parameter-group layout shows directions and no Yes/No (unless the PLC is 118).
    auto can = DecodeIdbImage(EncodeIdbImage(com2, 2), 2, true, "172");
    EXPECT_EQ(can[0][3], "Output");
    EXPECT_EQ(can[0][7], "0");
    EXPECT_EQ(DecodeIdbImage(EncodeIdbImage(com2, 2), 2, true, "118")[0][3], "SwapFloat");
    EXPECT_TRUE(DecodeIdbImage("", 1, false, "").empty());
    EXPECT_TRUE(DecodeIdbImage(std::string(1, '\0'), 1, false, "").empty());
}

TEST_F(IdbImage, OnlyTheFirst255RowsAndFiveThousandBytesAreKept) {
    std::vector<IdbPaneRow> many(300, Row("1", "N1", "Word", "1", "0"));
    std::string image = EncodeIdbImage(many, 1);
    EXPECT_EQ(image.size(), 255 * kIdbRowSize + 1);
    EXPECT_EQ(static_cast<unsigned char>(image.back()), 255);
    std::string huge = image + std::string(3000, 'x');
    EXPECT_EQ(DecodeIdbImage(huge, 1, false, "").size(), (kMaxIdbImageRead - 1) / kIdbRowSize);
}

TEST(IdbText, DataTypesAndYesNo) {
    EXPECT_EQ(DataTypeTextToCodeCom1("Input"), 1);
    EXPECT_EQ(DataTypeTextToCodeCom1("Output"), 2);
    EXPECT_EQ(DataTypeTextToCodeCom1("?"), 0);
    EXPECT_EQ(DataTypeTextToCodeCom2("?"), 6);
    EXPECT_EQ(DataTypeCodeToText(4), "DoubleWord");
    EXPECT_EQ(YesTextToBoolCom1("0"), 1);
    EXPECT_EQ(YesTextToBoolCom2("0"), 0);
    EXPECT_EQ(BoolToYesText(0), "No");
}

TEST(IdbPaths, BesideTheProjectOrInTheProductFolder) {
    EXPECT_EQ(ProjectIdbPath("/p/Line 4.prj", 1), "/p/Line 4_IDB1.hex");
    EXPECT_EQ(ProjectIdbPath("/p/Line 4.prj", 2), "/p/Line 4_IDB2.hex");
    EXPECT_NE(WorkingIdbPath("QVX-S7", 2).find("QVX-S7\\Projects\\IDBCOM2.hex"), std::string::npos);
}

}  // namespace
