// The older project file: bytes built by hand from the layout, and a round trip.
#include <gtest/gtest.h>

#include <cstring>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "projectfiles/OlderProjectFile.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"

namespace {

void Put(std::string& bytes, size_t at, const std::string& text) {
    ASSERT_LE(at + text.size(), bytes.size());
    std::memcpy(&bytes[at], text.data(), text.size());
}

void PutBytes(std::string& bytes, size_t at, std::initializer_list<int> values) {
    for (int v : values) bytes[at++] = static_cast<char>(v);
}

class OlderFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nDeviceId = g_nDeviceIdAlt = 81;
        g_bBlockExSlaveMode = 0;
        CPlcRegisterTables& t = g_PlcRegisterTables;
        t.g_strPLC1Id = "101";
        t.g_strPlc1ModelNo = "1";
        t.g_strPLC2Id = "141";  // above 127: one unsigned byte
        t.g_strPlc2ModelNo = "2";
        CProjectSettings& s = g_ProjectSettings;
        s = CProjectSettings();
        int port0[4] = {9600, 8, 0, 1};      // baud, data bits, parity, stop bits
        int port1[4] = {500000, 7, 2, 2};
        std::memcpy(s.g_anPortSettings[0], port0, sizeof port0);
        std::memcpy(s.g_anPortSettings[1], port1, sizeof port1);
        s.g_bCtrlWordEnabled = 1;
        s.g_nCtrlWordSide = 1;
        s.g_bErrBit1Enabled = 1;
        s.g_bErrBit2Enabled = 0;
        s.g_anAdvSetting1[0] = 5;
        s.g_anAdvSetting1[1] = 6;
        s.g_anAdvSetting1[2] = 7;
        s.g_anAdvSetting2[0] = 1;
        s.g_anAdvSetting2[1] = 2;
        s.g_anAdvSetting2[2] = 3;
        s.g_strCtrlWordAddr = "H0001";
        s.g_strErrBitAddr1 = "ABCDEFGHIJK";  // one longer than its field
        s.g_strErrBitAddr2 = "";
        s.g_nProductNo = 1;
        s.g_nProjectVersion = 2;
        s.g_strProjAuthor = "Ann";
        s.g_strProjTitle = std::string(100, 'T');  // exactly the width: no zero byte
        s.g_strProjCreated = "Monday";
        s.g_strProjDescription = "";
    }
    OlderBlockRows Rows() const {
        return {OlderBlockRow{"1", "8", "Modbus RTU Master", "1", "H0001", "DF1 Full Duplex", "12", "N007:000", "1",
                              "first"}};
    }
};

TEST_F(OlderFileTest, Version2FileHasTheLayoutsBytes) {
    const std::string bytes = BuildOlderProjectFile(Rows(), false, 2, "Tuesday");

    std::string e(300 + 150 + 800, '\0');
    Put(e, 0, "Quorvex1.00D");
    Put(e, 13, "Ver2.00");
    PutBytes(e, 100, {101, 1, 141, 2, 7, 2, 1, 0, 17, 1, 2, 2, 1, 1, 1, 0, 7, 5, 6});
    Put(e, 119, "H0001");
    Put(e, 129, "ABCDEFGHIJ");
    PutBytes(e, 149, {3, 1, 2, '*', 1, 2, '*'});
    PutBytes(e, 298, {1, 0});
    Put(e, 300, "1");
    Put(e, 302, "08");
    Put(e, 304, "Modbus RTU Master");
    Put(e, 334, "1");
    Put(e, 336, "H0001");
    Put(e, 351, "DF1 Full Duplex");
    Put(e, 381, "12");
    Put(e, 383, "N007:000");
    Put(e, 398, "1");
    Put(e, 400, "first");
    const size_t texts = 450;
    std::memset(&e[texts], '*', 800);
    Put(e, texts, std::string("Ann\0", 4));
    Put(e, texts + 100, std::string(100, 'T'));
    Put(e, texts + 200, std::string("Monday\0", 7));
    Put(e, texts + 250, std::string("Tuesday\0", 8));
    Put(e, texts + 300, std::string("\0", 1));
    EXPECT_EQ(bytes, e);
}

TEST_F(OlderFileTest, Version1FileEndsAfterItsRowsAndSlaveRowsAreWider) {
    g_ProjectSettings.g_anPortSettings[0][kPortBaud] = 500000;  // port 0 has no code for it
    EXPECT_EQ(BuildOlderProjectFile({}, false, 1, "x").size(), 300u);
    EXPECT_EQ(BuildOlderProjectFile({}, false, 2, "x").size(), 1100u);
    const std::string none = BuildOlderProjectFile({}, false, 1, "x");
    EXPECT_EQ(none.substr(13, 9), std::string("Ver1.00\0\0", 9));
    EXPECT_EQ(static_cast<unsigned char>(none[104]), 500000 & 0xFF);

    const std::string slave = BuildOlderProjectFile(Rows(), true, 1, "x");
    ASSERT_EQ(slave.size(), 300u + 151u);
    EXPECT_EQ(slave.substr(302, 3), "008");
    EXPECT_EQ(slave.substr(305, 17), "Modbus RTU Master");
    EXPECT_EQ(slave.substr(401, 5), "first");

    OlderBlockRows many(255, Rows()[0]);
    many[0][kOlderColWords] = "123";  // longer than the master width: its first characters
    const std::string full = BuildOlderProjectFile(many, false, 1, "x");
    EXPECT_EQ(static_cast<unsigned char>(full[298]), 255);
    EXPECT_EQ(full[299], 0);
    EXPECT_EQ(full.substr(302, 2), "12");
}

TEST_F(OlderFileTest, ParsedBackAsWrittenAndShortFilesAreRefused) {
    OlderBlockRows rows = Rows();
    rows.push_back(OlderBlockRow{"7", "2", "DF1 Full Duplex", "3", "N007:001", "Modbus RTU Master", "4", "H0010", "9", ""});
    const std::string bytes = BuildOlderProjectFile(rows, false, 2, "Tuesday");
    OlderProjectFile file;
    ParseOlderProjectHead(bytes, file);
    EXPECT_EQ(file.tag, std::string("Quorvex1.00D\0", 13));
    EXPECT_EQ(file.versionDigit, 2);
    EXPECT_EQ(file.settings[2], 141);
    EXPECT_EQ(file.settings[8], 17);
    EXPECT_EQ(file.errBitAddr1, "ABCDEFGHIJ");
    EXPECT_EQ(file.advSetting2[0], 3);
    EXPECT_EQ(file.productStar1, '*');
    EXPECT_EQ(file.productNo, 1);
    ASSERT_EQ(ParseOlderProjectRows(bytes, false, true, file), OlderParse::Ok);
    ASSERT_EQ(file.rows.size(), 2u);
    EXPECT_EQ(file.rows[1][kOlderColWords], "02");
    EXPECT_EQ(file.rows[1][kOlderColDestAddr], "H0010");
    EXPECT_EQ(file.rows[1][kOlderColComment], "");
    EXPECT_EQ(file.texts[1], std::string(100, 'T'));
    EXPECT_EQ(file.texts[3], "Tuesday");

    OlderProjectFile cut;
    EXPECT_EQ(ParseOlderProjectRows(bytes.substr(0, 300 + 150), false, false, cut), OlderParse::Corrupt);
    EXPECT_EQ(ParseOlderProjectRows(bytes.substr(0, 300 + 300 + 10), false, true, cut), OlderParse::Corrupt);
    std::string huge = bytes;
    huge[298] = 0;
    huge[299] = 1;  // 256 blocks
    EXPECT_EQ(ParseOlderProjectRows(huge, false, false, cut), OlderParse::Corrupt);
    OlderProjectFile tiny;
    ParseOlderProjectHead(std::string("Quor"), tiny);  // a file shorter than its head reads zeros
    EXPECT_EQ(tiny.productStar1, 0);
}

TEST_F(OlderFileTest, ThreePortProductHasItsOwnSettingsRecord) {
    g_nDeviceId = g_nDeviceIdAlt = 84;
    int port2[4] = {19200, 8, 1, 1};
    std::memcpy(g_ProjectSettings.g_anPortSettings[2], port2, sizeof port2);
    g_ProjectSettings.g_anPortTimeout[0] = 5;
    g_ProjectSettings.g_anPortTimeout[1] = 10;
    g_ProjectSettings.g_anPortTimeout[2] = 50;
    const std::string bytes = BuildOlderProjectFile({}, false, 1, "x");
    const std::string expected("\x65\x01\x65\x01\x07\x02\x01\x00\x11\x01\x02\x02\x08\x02\x01\x01\x05\x0a\x32", 19);
    EXPECT_EQ(bytes.substr(100, 19), expected);
}

TEST_F(OlderFileTest, WriterRefusesCellsTheFileWouldCutAndSurvivesAFailedWrite) {
    testsupport::TempDir dir;
    testsupport::HeadlessUi ui;
    OlderBlockRows rows = Rows();
    rows[0][kOlderColSourceId] = "255";
    g_bBlockListEdited = 1;
    ui.AnswerMessageBox(ui::IDOK,
                        "Block 1: the Source ID \"255\" is longer than the project file keeps (2 characters). Please "
                        "correct the block and save again.");
    EXPECT_EQ(WriteOlderProjectFile(dir.Path() + "cut.prj", rows), -1);
    EXPECT_EQ(g_bBlockListEdited, 1);

    ui.AnswerMessageBox(ui::IDOK);  // the folder does not exist: the reason, and the program goes on
    EXPECT_EQ(WriteOlderProjectFile(dir.Path() + "missing/x.prj", Rows()), -1);
    EXPECT_EQ(g_bBlockListEdited, 1);
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_NE(ui.MessageBoxes()[1].text.find("Unable to save the project"), std::string::npos);
}

}  // namespace
