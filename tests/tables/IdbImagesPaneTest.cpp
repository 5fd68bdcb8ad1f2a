// The image files of both panes: their bytes, the way back into the panes, the file
// pairs, and files that are damaged or missing.
#include "IdbPaneFixture.h"
#include "compiler/UploadDecode.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <filesystem>

namespace {

using Images = IdbPaneTest;

IdbPaneRow PaneRow(std::string node, std::string start, std::string type, std::string words, std::string skip,
                   std::string fail) {
    return {"", node, start, type, words, "1", "0", skip, fail};
}

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

TEST_F(Images, BothFilesHoldNineteenBytesPerRowThenTheCount) {
    p1->SetRows({PaneRow("1", "N012", "Word", "4", "No", "65535"), PaneRow("300", "F07:012/03", "Float", "300", "Yes", "70000")});
    p2->SetRows({PaneRow("2", "X5/1", "DiscritBit", "16", "No", "0")});
    p2->List().SetItemText(0, 5, "2");
    p2->List().SetItemText(0, 6, "260");
    WriteIdbImages();
    const std::string com1 = Bytes({1}) + "N012*****" + Bytes({3, 4, 0, 1, 0, 0, 0, 0xFF, 0xFF}) +  // row 0
                             Bytes({0x2C}) + "F0701203*" + Bytes({5, 0x2C, 1, 1, 0, 0, 1, 0x70, 0x11}) +  // row 1
                             Bytes({2});
    EXPECT_EQ(Working(1), com1);
    // COM2: the register text of a bit (its code, then its fields), the scaling and skip
    // count as the cells say.
    const std::string com2 = Bytes({2}) + "X51******" + Bytes({1, 16, 0, 2, 0, 4, 0, 0, 0}) + Bytes({1});
    EXPECT_EQ(Working(2), com2);
    // The choices of the rows are kept for the next derivation.
    EXPECT_EQ(g_BlockTables.m_anCom1DataType[1], 5);
    EXPECT_EQ(g_BlockTables.m_anCom1SkipOnFail[1], 1);
    EXPECT_EQ(g_BlockTables.m_anCom1FailValue[1], 70000);
    EXPECT_EQ(g_BlockTables.m_anCom2Column5[0], 2);
    EXPECT_EQ(g_BlockTables.m_arrCom2RowText.at(0), "X5/1");
    // An empty pane of a port with an internal database: one byte; without one: nothing.
    p1->ClearList();
    g_IdbSwitches.m_bIdbCom2 = 0;
    WriteIdbImages();
    EXPECT_EQ(Working(1), std::string(1, '\0'));
    EXPECT_EQ(Working(2), "");
}

TEST_F(Images, TheProjectPairOrTheWorkingPairOrTheUploadedPair) {
    const std::string project = dir.Path() + "QVX-T/Projects/Line 4.prj";
    g_strPrjFileLastIo = project;
    p1->SetRows({PaneRow("1", "N012", "Word", "4", "No", "65535")});
    g_bProjectModified = 0;
    WriteIdbImages();
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(dir.Path() + "QVX-T/Projects/Line 4_IDB1.hex", bytes));
    EXPECT_EQ(bytes.size(), 20u);
    EXPECT_TRUE(platform::ReadFileBytes(dir.Path() + "QVX-T/Projects/Line 4_IDB2.hex", bytes));
    EXPECT_EQ(bytes.size(), 1u);
    EXPECT_EQ(Working(1), "");  // not written while the project is saved

    // Loading reads the project's pair and turns on what the files hold.
    p1->ClearList();
    g_IdbSwitches = IdbPortSwitches{0, 0, 10, 10};
    EXPECT_EQ(LoadIdbImages(), 0);
    EXPECT_EQ(Row(p1, 0), (std::vector<std::string>{"1", "N012", "Word", "4", "1", "0", "No", "65535"}));
    EXPECT_EQ(g_IdbSwitches.m_bIdbCom1, 1);
    EXPECT_EQ(g_IdbSwitches.m_bIdbCom2, 1);

    // After an upload the files the upload wrote are read.
    dir.Write("up1.hex", "");
    dir.Write("up2.hex", EncodeIdbImage({PaneRow("7", "L5", "Word", "1", "Yes", "3")}, 2));
    g_szUploadIdbFile1 = dir.Path() + "up1.hex";
    g_szUploadIdbFile2 = dir.Path() + "up2.hex";
    g_bIdbModified = 1;
    EXPECT_EQ(LoadIdbImages(), 0);
    g_bIdbModified = 0;
    g_szUploadIdbFile1.clear();
    g_szUploadIdbFile2.clear();
    EXPECT_EQ(g_IdbSwitches.m_bIdbCom1, 0);
    EXPECT_EQ(p1->List().GetItemCount(), 0);  // no internal database: no rows of another project
    EXPECT_EQ(Row(p2, 0), (std::vector<std::string>{"7", "L5", "Word", "1", "1", "0", "Yes", "3"}));

    // The working pair's folder is made when the product has none yet.
    g_szProductName = "QVX-N";
    g_bProjectModified = 1;
    WriteIdbImages();
    EXPECT_TRUE(platform::ReadFileBytes(WorkingIdbPath("QVX-N", 2), bytes));
    EXPECT_EQ(bytes.size(), 20u);
}

TEST_F(Images, DamagedOrMissingFilesAreHandled) {
    // Longer than the tables: 300 rows are in the file, 255 reach the pane.
    std::vector<IdbPaneRow> many;
    for (int i = 0; i < 255; ++i) many.push_back(PaneRow("1", platform::Format("N%03d", i), "Word", "1", "No", "1"));
    std::string big = EncodeIdbImage(many, 1);
    big.pop_back();
    big += big.substr(0, 45 * 19) + std::string(1, '\x2C');
    g_strPrjFileLastIo = dir.Path() + "QVX-T/Projects/Bad.prj";
    dir.Write("QVX-T/Projects/Bad_IDB1.hex", big);
    // A register that is no longer in the PLC's table comes back as it was stored.
    std::string unknown = Bytes({4}) + "Q77******" + Bytes({3, 1, 0, 1, 0, 0, 0, 0, 0, 1});
    dir.Write("QVX-T/Projects/Bad_IDB2.hex", unknown);
    g_bProjectModified = 0;
    EXPECT_EQ(LoadIdbImages(), 0);
    EXPECT_EQ(p1->List().GetItemCount(), 255);
    EXPECT_EQ(Cell(p1, 254, 2), "N254");
    ASSERT_EQ(p2->List().GetItemCount(), 1);
    EXPECT_EQ(Cell(p2, 0, 2), "Q77******");

    // A missing file: a message, and the port keeps its rows and its internal database.
    std::filesystem::remove(dir.Path() + "QVX-T/Projects/Bad_IDB2.hex");
    ui.AnswerMessageBox(ui::IDOK, "Unable to Open intermediate file.");
    EXPECT_EQ(LoadIdbImages(), -1);
    EXPECT_EQ(g_IdbSwitches.m_bIdbCom2, 1);
    EXPECT_EQ(p2->List().GetItemCount(), 1);

    // A file that cannot be created: a message, and the other port is still written.
    g_bProjectModified = 1;
    std::filesystem::create_directory(dir.Path() + "QVX-T/Projects/IDBCOM1.hex");
    ui.AnswerMessageBox(ui::IDOK, "Unable to create intermediate file.");
    WriteIdbImages();
    EXPECT_EQ(Working(2).size(), 20u);
}

// A file that does not hold the image's layout is refused with its name and what is
// wrong, and shows no rows; so is one the safe reader refuses, with the system's reason.
TEST_F(Images, ADamagedFileIsRefusedByName) {
    p1->SetRows({PaneRow("1", "N012", "Word", "4", "No", "65535")});
    g_strPrjFileLastIo = dir.Path() + "QVX-T/Projects/Bad.prj";
    std::string noise(3000, '\0');
    unsigned seed = 7;
    for (char& c : noise) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    dir.Write("QVX-T/Projects/Bad_IDB1.hex", noise);
    std::string typeless = Bytes({1}) + "N012*****" + Bytes({9, 4, 0, 1, 0, 0, 0, 0, 0, 1});
    dir.Write("QVX-T/Projects/Bad_IDB2.hex", typeless);
    g_bProjectModified = 0;
    EXPECT_EQ(LoadIdbImages(), -1);
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Unable to Open intermediate file.\n\"" + dir.Path() +
                                             "QVX-T/Projects/Bad_IDB1.hex\": the file is damaged: its size of 3000 "
                                             "bytes does not hold whole rows and their count.");
    EXPECT_NE(ui.MessageBoxes()[1].text.find("Bad_IDB2.hex\": the file is damaged: row 1 holds an unknown data type"),
              std::string::npos);
    EXPECT_EQ(p1->List().GetItemCount(), 1);  // the pane keeps what it held

    ui.ClearRecords();
    std::filesystem::remove(dir.Path() + "QVX-T/Projects/Bad_IDB1.hex");
    LoadIdbImages();
    ASSERT_FALSE(ui.MessageBoxes().empty());
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Unable to Open intermediate file.\n\"" + dir.Path() +
                                             "QVX-T/Projects/Bad_IDB1.hex\": No such file or directory.");
}

// Loads the first model of a PLC definition file into a port.
void LoadPlc(int port, const std::string& inf) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    const std::string section = platform::GetPrivateProfileString("Plc Info", "Plc1", "", 80, inf);
    if (port == 1) {
        t.g_strPlc1Inf = inf;
        t.g_strPlc1Section = section;
        t.LoadPlcFileCom1();
    } else {
        t.g_strPlc2Inf = inf;
        t.g_strPlc2Section = section;
        t.LoadPlcFileCom2();
    }
}

// One row per register of the port, at its lowest and its highest address.
std::vector<IdbPaneRow> EveryAddressForm(int port) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const StringArray& prefix = port == 1 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix;
    const StringArray& kind = port == 1 ? t.g_arrPlc1RegKind : t.g_arrPlc2RegKind;
    std::vector<IdbPaneRow> rows;
    for (size_t r = 0; r < prefix.size(); ++r) {
        const int i = static_cast<int>(r);
        const int k = platform::Atoi(kind[r]);
        if (k != 0 && k != 1 && k != 2 && k != 3) continue;  // kind 4 never enters
        for (bool high : {false, true}) {
            // A part marked "**", "A*" or "P*" has no number: its marker is its text.
            auto part = [&](const StringArray& lo1, const StringArray& hi1, const StringArray& lo2,
                            const StringArray& hi2) {
                const std::string& low = (port == 1 ? lo1 : lo2)[r];
                if (low == "**" || low == "A*" || low == "P*") return low;
                return (high ? (port == 1 ? hi1 : hi2) : (port == 1 ? lo1 : lo2))[r];
            };
            const std::string number = part(t.g_arrPlc1RegMin, t.g_arrPlc1RegMax, t.g_arrPlc2RegMin, t.g_arrPlc2RegMax);
            const std::string colon = part(t.g_arrPlc1RegColonMin, t.g_arrPlc1RegColonMax, t.g_arrPlc2RegColonMin,
                                           t.g_arrPlc2RegColonMax);
            const std::string slash = part(t.g_arrPlc1RegSlashMin, t.g_arrPlc1RegSlashMax, t.g_arrPlc2RegSlashMin,
                                           t.g_arrPlc2RegSlashMax);
            const std::string address = prefix[r] + (port == 1 ? t.FormatAddressCom1(number, colon, slash, i)
                                                                : t.FormatAddressCom2(number, colon, slash, i));
            const bool coil = k == 0 || k == 2;
            rows.push_back({"", std::to_string(rows.size() + 1), address, coil ? "DiscritBit" : "Word",
                            std::to_string(r + 1), "1", "0", r % 2 ? "Yes" : "No", std::to_string(1000 + r)});
        }
    }
    return rows;
}

TEST_F(Images, EveryAddressFormOfTheSamplePlcsComesBack) {
    namespace fs = std::filesystem;
    int files = 0, rowsChecked = 0;
    for (const auto& product : fs::directory_iterator(QUORVEX_DIST_DIR)) {
        const fs::path plc = product.path() / "Plc";
        if (!fs::is_directory(plc)) continue;
        for (const auto& file : fs::directory_iterator(plc)) {
            const std::string name = file.path().filename().string();
            if (name.find("00_004.inf") == std::string::npos) continue;
            ++files;
            g_PlcRegisterTables.ResetProject();
            LoadPlc(1, file.path().string());
            LoadPlc(2, file.path().string());
            for (int port = 1; port <= 2; ++port) {
                std::vector<IdbPaneRow> rows = EveryAddressForm(port);
                IdbPane* pane = port == 1 ? static_cast<IdbPane*>(p1) : static_cast<IdbPane*>(p2);
                pane->SetRows(rows);
                WriteIdbImages();
                pane->ClearList();
                // Read back the working pair the write just made, as after an upload.
                g_bIdbModified = 1;
                EXPECT_EQ(LoadIdbImages(), 0);
                g_bIdbModified = 0;
                const std::vector<IdbPaneRow> back = pane->GetRows();
                ASSERT_EQ(back.size(), rows.size()) << name;
                for (size_t r = 0; r < rows.size(); ++r) {
                    EXPECT_EQ(back[r], rows[r]) << name << " port " << port << " " << rows[r][2];
                    ++rowsChecked;
                }
            }
        }
    }
    EXPECT_GT(files, 20);
    EXPECT_GT(rowsChecked, 200);
}

}  // namespace
