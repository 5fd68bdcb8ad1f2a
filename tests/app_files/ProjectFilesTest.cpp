// Project files of the newer generation: the bytes the writer produces, checked against
// the layout written out by hand here, and the reader on sound and hostile files.
#include "model/ExtendedTables.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectFileFormat.h"
#include "projectfiles/ProjectFileReader.h"
#include "projectfiles/ProjectFileSections.h"
#include "projectfiles/ProjectFileWriter.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "app/RecentProjects.h"
#include "compiler/IdbImage.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "res/FrameResource.h"
#include "model/TableResets.h"
#include "res/StringTable.h"
#include "HeadlessUi.h"
#include "ProjectFingerprint.h"
#include "TestSupport.h"
#include "res/EditorResource.h"
#include "res/TablesResource.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// A text field: the text, a zero and the fill, or the text cut to the width.
std::string Field(const std::string& text, size_t width, char fill = '\0') {
    if (text.size() >= width) return text.substr(0, width);
    return text + '\0' + std::string(width - text.size() - 1, fill);
}

class Model : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    void SetUp() override {
        g_szProductName = g_szProductNameCopy = "QVX-S7";
        g_nDeviceId = g_nDeviceIdAlt = 82;
        CPlcRegisterTables& t = g_PlcRegisterTables;
        t.ResetProject();
        t.g_strPLC1Id = "101";
        t.g_strPlc1ModelNo = "1";
        t.g_strPLC2Id = "141";  // above 127: an unsigned byte
        t.g_strPlc2ModelNo = "2";
        CProjectSettings& s = g_ProjectSettings;
        s.g_anPortSettings[0][0] = 9600;
        s.g_anPortSettings[0][1] = 8;
        s.g_anPortSettings[0][2] = 1;
        s.g_anPortSettings[0][3] = 1;
        s.g_anPortSettings[1][0] = 1000000;
        s.g_anPortSettings[1][1] = 7;
        s.g_anPortSettings[1][2] = 3;
        s.g_anPortSettings[1][3] = 2;
        s.g_bCtrlWordEnabled = 1;
        s.g_nCtrlWordSide = 1;
        s.g_strCtrlWordAddr = "N7:0";
        s.g_anAdvSetting1[0] = 20;
        s.g_anAdvSetting1[1] = 30;
        s.g_anAdvSetting1[2] = 10;
        s.g_anAdvSetting2[2] = 5;
        s.g_nCtrlWordStation = 200;
        s.g_nCtrlWordWords = 16;
        s.g_nErrBit1 = 255;
        s.g_nErrBit2 = 3;
        s.g_strProjAuthor = std::string(100, 'a');
        s.g_strProjTitle = "Pit";
        s.g_strProjCreated = "Monday";
        s.g_strProjDescription = "";
        g_bExtendedSetup = 0;
        g_bSaveAs = 0;
        g_bProjectModified = 1;
    }
    void TearDown() override {
        g_PlcRegisterTables.ResetProject();
        g_ProjectSettings = CProjectSettings();
        g_szProductName.clear();
    }
};

TEST_F(Model, FixedPartRowsAndTextsByteForByte) {
    BlockRows rows = {{"1              ", "8", "Alpha", "1", "N7:0", "Beta", "12", "B3/1", "10", "0", "feed"}};
    const std::string file = BuildNewerProjectFile(rows);

    std::string expected = Field("Quorvex1.00D", 13) + "Ver" + Bytes({4}) + ".00" + Bytes({0, 0});
    expected += std::string(78, '\0');
    expected += Bytes({101, 1, 141, 2, 7, 2, 1, 1, 27, 1, 2, 3, 1, 1, 0, 0, 10, 20, 30});
    expected += Field("N7:0", 10) + Field("", 10) + Field("", 10);
    expected += Bytes({5, 0, 0});
    expected += Bytes({'*', 2, 4, '*', 200, 16, 255, 3, 0});
    expected += std::string(137, '\0');
    expected += Bytes({1, 0});
    expected += Field("1              ", 2) + Field("00008", 5) + Field("Alpha", 33) + Field("1", 6) + Field("N7:0", 21) +
                Field("Beta", 36) + Field("12", 9) + Field("B3/1", 24) + Field("10", 10) + Field("0", 3) + Field("feed", 55);
    ASSERT_EQ(file.size(), expected.size() + 800);
    EXPECT_EQ(file.substr(0, expected.size()), expected);
    const std::string texts = file.substr(expected.size());
    EXPECT_EQ(texts.substr(0, 100), std::string(100, 'a'));  // a full field has no zero byte
    EXPECT_EQ(texts.substr(100, 100), Field("Pit", 100, '*'));
    EXPECT_EQ(texts.substr(200, 50), Field("Monday", 50, '*'));
    EXPECT_EQ(texts.substr(250, 50), Field(g_ProjectSettings.g_strProjModified, 50, '*'));
    EXPECT_EQ(texts.substr(300), Field("", 500, '*'));
    EXPECT_EQ(g_ProjectSettings.g_nProductNo, 2);
    EXPECT_EQ(g_ProjectSettings.g_anPortSettings[1][0], 1000000);  // the model keeps rates
}

TEST_F(Model, ThreePortLayoutAndAFormatWithoutTexts) {
    g_nDeviceId = 84;
    g_ProjectSettings.g_anPortSettings[2][0] = 19200;
    g_ProjectSettings.g_anPortTimeout[1] = 9;
    tree.Write("QVX-S7/Data/data.inf", "[ProjectFile]\r\nProjectVersion=3\r\n");
    const std::string file = BuildNewerProjectFile({});
    ASSERT_EQ(file.size(), 300u);  // format 3: no texts, no rows
    EXPECT_EQ(file[16], 3);
    EXPECT_EQ(file.substr(100, 19), Bytes({101, 1, 101, 1, 7, 2, 1, 1, 27, 1, 2, 3, 8, 0, 0, 0, 5, 9, 5}));
    EXPECT_EQ(static_cast<unsigned char>(file[153]), 84);
}

TEST_F(Model, EverySectionInItsOrder) {
    g_bExtendedSetup = 1;
    g_bEthernetSetting = g_bTagTable = g_bRecipesCom1 = g_bAttachRegCom1 = g_bGeneralEntityCom2 = 1;
    g_bAttachRegCom2 = g_bGeneralEntityCom1 = g_bRecipesCom2 = 0;
    g_EthNodeTable = CEthNodeTable();
    g_EthNodeTable.g_arrNodeAddress = {"1"};
    g_EthNodeTable.g_arrNodePort = {"502"};
    g_EthNodeTable.g_arrNodeIp = {"192.168.1.10"};
    g_EipTagTable = CEipTagTable();
    ClearRecipeTables();
    ResetDefCommRegisters();
    ResetGeneralEntity();
    g_DefCommRegs.g_arrAttachRegWords1.clear();
    g_GeneralEntity.g_nGeneralEntityCount2 = 1;
    g_GeneralEntity.g_nExtSetupLen2 = 2;
    g_GeneralEntity.g_abExtSetup2[0] = 0xAB;
    EXPECT_EQ(BuildFeatureSections(), Bytes({1, 1, 1, 246, 192, 168, 1, 10,  // nodes
                                             0,                              // tags
                                             3, 0,                           // recipes
                                             4, 0,                           // registers of COM1
                                             7, 1, 2, 0xAB, 0}));            // entity of COM2
    g_bEthernetSetting = g_bTagTable = g_bRecipesCom1 = g_bAttachRegCom1 = g_bGeneralEntityCom2 = 0;
    g_bExtendedSetup = 0;
}

TEST_F(Model, AFailedSaveKeepsThePreviousFileAndTheModifiedMark) {
    testsupport::HeadlessUi ui;
    const std::string folder = tree.Path() + "QVX-S7/Projects/";
    const std::string path = folder + "line.prj";
    size_t end = 0;
    ASSERT_EQ(WriteNewerProjectFile(path, {}, end), 0);
    EXPECT_EQ(g_bProjectModified, 0);
    const std::string before = tree.Read("QVX-S7/Projects/line.prj");
    EXPECT_EQ(before.size(), end);

    g_bProjectModified = 1;
    chmod(folder.c_str(), 0555);
    const bool canStillWrite = access(folder.c_str(), W_OK) == 0;  // root ignores the mode
    if (!canStillWrite) {
        EXPECT_EQ(WriteNewerProjectFile(path, {{"1", "1", "A", "1", "N1", "B", "1", "N2", "1", "0", ""}}, end), -1);
        ASSERT_FALSE(ui.MessageBoxes().empty());
        EXPECT_NE(ui.MessageBoxes().back().text.find("Unable to save the project"), std::string::npos);
        EXPECT_EQ(g_bProjectModified, 1);
        EXPECT_EQ(tree.Read("QVX-S7/Projects/line.prj"), before);
    }
    chmod(folder.c_str(), 0755);
    // A folder that does not exist fails the same way on any account.
    EXPECT_EQ(WriteNewerProjectFile(tree.Path() + "nowhere/x.prj", {}, end), -1);
    EXPECT_EQ(g_bProjectModified, 1);
    EXPECT_EQ(tree.Read("QVX-S7/Projects/line.prj"), before);
}

TEST_F(Model, TheLargestNodeTableIsReadBack) {
    g_EthNodeTable = CEthNodeTable();
    for (int i = 1; i <= 255; ++i) {
        g_EthNodeTable.g_arrNodeAddress.push_back(std::to_string(i));
        g_EthNodeTable.g_arrNodePort.push_back("502");
        g_EthNodeTable.g_arrNodeIp.push_back("10.0.0." + std::to_string(i));
    }
    const CEthNodeTable saved = g_EthNodeTable;
    std::string bytes;
    prjfile::FieldWriter w(bytes);
    prjfile::WriteNodeTableSection(w);
    g_EthNodeTable = CEthNodeTable();
    prjfile::FieldReader r(bytes);
    ASSERT_TRUE(prjfile::ReadNodeTableSection(r));
    EXPECT_EQ(g_EthNodeTable.g_arrNodeAddress, saved.g_arrNodeAddress);
    EXPECT_EQ(g_EthNodeTable.g_arrNodeIp, saved.g_arrNodeIp);
    g_EthNodeTable = CEthNodeTable();
}

TEST_F(Model, ANameWhoseImageFilesCannotExistIsRefusedBeforeWriting) {
    testsupport::HeadlessUi ui;
    // The project's own name fits; its "_IDB1.hex" companion, written the same way, does not.
    const std::string path = tree.Path() + "QVX-S7/Projects/" + std::string(246, 'p') + ".prj";
    size_t end = 0;
    EXPECT_EQ(WriteNewerProjectFile(path, {}, end), -1);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("File name too long"), std::string::npos);
    EXPECT_FALSE(platform::FileExists(path));
    EXPECT_EQ(g_bProjectModified, 1);
}

// ---------------------------------------------------------------------------------------
// The reader, through the main window.

class Files : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    std::unique_ptr<CMainFrame> frame;

    static ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
        for (ui::HTREEITEM item : t.GetChildren(parent)) {
            if (t.GetItemText(item) == text) return item;
            if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
        }
        return 0;
    }
    void SetUp() override {
        g_bProjectModified = g_bProjectSaved = g_bUntitled = 0;
        g_bPrjFileLoaded = 0;
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->LoadFrame());
        g_szProductName = g_szProductNameCopy = "QVX-S7";
        g_nDeviceId = g_nDeviceIdAlt = 82;
        frame->GoToProtocolLevel();
        auto* com1 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 1));
        ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")));
        ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), "Compact Series")));
        ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
        ASSERT_NE(g_pNewBlockExView, nullptr);
    }
    void TearDown() override {
        frame.reset();
        g_PlcRegisterTables.ResetProject();
        g_szProductName.clear();
    }
    // The project level of another product and PLC pair, reached as the engineer does.
    void Configure(const std::string& product, unsigned deviceId, const std::string& plc1, const std::string& plc2) {
        frame->CloseToProductLevel();
        g_szProductName = g_szProductNameCopy = g_szProductPath = product;
        g_nDeviceId = g_nDeviceIdAlt = deviceId;
        frame->GoToProtocolLevel();
        auto* com1 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 1));
        ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), plc1)));
        ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), plc2)));
        ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
        ASSERT_NE(g_pNewBlockExView, nullptr);
    }
    // A block that passes the checks of Save.
    void FillFirstBlock() {
        const std::string cells[] = {"", "10", "Modbus RTU Master", "1", "H0001", "Host Link", "2", "D0000", "5", "", "disk"};
        for (size_t c = 1; c < kBlockListColumns; ++c)
            if (c != kColControlBit) g_pNewBlockExView->SetCellText(0, int(c), cells[c]);
    }
    // A copy of the saved sample under another name, with its image files, holding `bytes`.
    std::string WriteCopy(const std::string& name, const std::string& bytes) {
        for (const char* idb : {"_IDB1.hex", "_IDB2.hex"})
            tree.Write("QVX-S7/Projects/" + name + idb, tree.Read(std::string("QVX-S7/Projects/line4") + idb));
        return tree.Write("QVX-S7/Projects/" + name + ".prj", bytes);
    }
    // A person clicks the row's comment cell, types and presses Enter.
    void TypeComment(int row, const std::string& text) {
        ASSERT_TRUE(g_pNewBlockExView->GetListCtrl().UserClickCell(row, kColComment));
        ui::Control* edit = g_pNewBlockExView->GetDlgItem(IDC_NEW_CELL_EDIT);
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(edit->UserType(text));
        ASSERT_TRUE(edit->UserKey(ui::VK_RETURN));
    }
    // The feature tables the sample's protocols do not fill, filled as well.
    static void FillEveryTable() {
        g_EthNodeTable.g_arrNodeAddress = {"1", "9"};
        g_EthNodeTable.g_arrNodePort = {"502", "503"};
        g_EthNodeTable.g_arrNodeIp = {"10.0.0.1", "10.0.0.9"};
        g_EipTagTable.g_arrTagCode = {"I00000001"};
        g_EipTagTable.g_arrTagName = {"Speed"};
        g_DefCommRegs.g_arrAttachRegStation2 = {"2"};
        g_DefCommRegs.g_arrAttachRegAddr2 = {"N7:1"};
        g_DefCommRegs.g_arrAttachRegWords2 = {"5"};
        g_GeneralEntity.g_nExtSetupLen2 = 3;
        g_GeneralEntity.g_abExtSetup2[2] = 9;
        g_ProjectSettings.g_strProjAuthor = "Walker";
    }
    std::string Fingerprint() const { return testsupport::ProjectFingerprint(frame->GetWindowText()); }
    std::string SaveSample() {
        CProjectSettings& s = g_ProjectSettings;
        s.g_anPortSettings[0][0] = 19200;
        s.g_anPortSettings[1][0] = 1000;  // a rate without a code: its low byte, 232, is none either
        s.g_nCtrlWordStation = 200;
        s.g_nErrBit1 = 255;
        s.g_strProjTitle = "Line 4";
        s.g_strProjDescription = "Packing line";
        g_RecipeTables.g_arrRecipeAddr = {"R0", "C5"};
        g_RecipeTables.g_abRecipePort[1] = 2;
        g_RecipeTables.g_awRecipeValue[0] = 1234;
        g_DefCommRegs.g_arrAttachRegStation1 = {"4"};
        g_DefCommRegs.g_arrAttachRegAddr1 = {"R100"};
        g_DefCommRegs.g_arrAttachRegWords1 = {"3"};
        g_GeneralEntity.g_nExtSetupLen1 = 2;
        g_GeneralEntity.g_abExtSetup1[0] = 7;
        const std::string path = tree.Path() + "QVX-S7/Projects/line4.prj";
        EXPECT_TRUE(frame->Services().saveProject(true, path));
        return path;
    }
};

TEST_F(Files, ASavedProjectOpensAsItWasSaved) {
    ASSERT_EQ(g_bExtendedSetup, 1);  // the sample's protocols have feature sections
    const BlockRows before = g_pNewBlockExView->GetBlockRows();
    ASSERT_FALSE(before.empty());
    const std::string path = SaveSample();
    const CProjectSettings saved = g_ProjectSettings;

    // Another project comes in between.
    g_ProjectSettings.g_strProjTitle = "other";
    g_RecipeTables.g_arrRecipeAddr.clear();
    frame->LoadProjectFile(path);
    EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    const CProjectSettings& s = g_ProjectSettings;
    EXPECT_EQ(s.g_anPortSettings[0][0], 19200);
    EXPECT_EQ(s.g_anPortSettings[1][0], 1000 & 0xFF);  // stored as its low byte
    EXPECT_EQ(s.g_nCtrlWordStation, 200);
    EXPECT_EQ(s.g_nErrBit1, 255);
    EXPECT_EQ(s.g_strProjTitle, "Line 4");
    EXPECT_EQ(s.g_strProjDescription, "Packing line");
    EXPECT_EQ(s.g_strProjCreated, saved.g_strProjCreated);
    EXPECT_EQ(s.g_strProjPath, path);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"R0", "C5"}));
    EXPECT_EQ(g_RecipeTables.g_awRecipeValue[0], 1234);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegAddr1, (StringArray{"R100"}));
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords1[0], "3");
    EXPECT_EQ(g_GeneralEntity.g_abExtSetup1[0], 7);
    ASSERT_NE(g_pNewBlockExView, nullptr);
    const BlockRows after = g_pNewBlockExView->GetBlockRows();
    ASSERT_EQ(after.size(), before.size());
    // The word count is stored fitted to five digits and comes back so.
    EXPECT_EQ(std::stoi(after[0][kColWords]), std::stoi(before[0][kColWords]));
    for (size_t c = 2; c < kBlockListColumns; ++c) EXPECT_EQ(after[0][c], before[0][c]) << "column " << c;
    EXPECT_EQ(g_bProjectSaved, 1);
    EXPECT_EQ(g_bProjectModified, 0);
    EXPECT_EQ(frame->GetWindowText(), "line4.prj - Quorvex - QVX-S7");
    EXPECT_EQ(frame->GetMenu(), frame->ProjectMenu().get());
}

TEST_F(Files, HostileFilesLeaveTheOpenProjectAsItWas) {
    const std::string path = SaveSample();
    const std::string good = tree.Read("QVX-S7/Projects/line4.prj");
    g_ProjectSettings.g_strProjTitle = "open project";
    const CNewBlockExView* view = g_pNewBlockExView;

    auto tryLoad = [&](const std::string& bytes) {
        tree.Write("QVX-S7/Projects/bad.prj", bytes);
        ui.ClearRecords();
        frame->LoadProjectFile(tree.Path() + "QVX-S7/Projects/bad.prj");
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "open project");
        EXPECT_EQ(g_pNewBlockExView, view);
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
    };
    // Cut short anywhere in the fixed part, the rows, the texts, or inside a section (a
    // file that ends where its sections begin is a project without them).
    const size_t sections = 300 + 204 * g_pNewBlockExView->GetBlockRows().size() + 800;
    for (size_t n = 0; n < sections; n += 7) {
        SCOPED_TRACE(n);
        tryLoad(good.substr(0, n));
    }
    tryLoad(good.substr(0, sections + 3));  // inside the recipes
    std::string bytes = good;
    bytes[298] = 0;
    bytes[299] = 1;  // 256 rows
    tryLoad(bytes);
    EXPECT_NE(ui.MessageBoxes().back().text.find("its block count of 256 is more than"), std::string::npos);
    bytes = good;
    bytes[0] = 'X';
    tryLoad(bytes);
    EXPECT_EQ(ui.MessageBoxes().back().text, "This Project is not for Quorvex!");
    bytes = good;
    bytes[16] = 0;  // a format number no version writes
    tryLoad(bytes);
    EXPECT_EQ(ui.MessageBoxes().back().text.substr(0, 24), "Project version mismatch");
    bytes = good;
    ASSERT_EQ(bytes[sections], 3);  // the recipes' code, then their count
    bytes[sections + 1] = static_cast<char>(150);  // more rows than the file holds
    tryLoad(bytes);
}

TEST_F(Files, ALaterFormatOpens) {
    const std::string path = SaveSample();
    std::string bytes = tree.Read("QVX-S7/Projects/line4.prj");
    bytes[16] = 9;  // written by a later version with the same layout
    tree.Write("QVX-S7/Projects/line4.prj", bytes);
    g_ProjectSettings.g_strProjTitle = "other";
    frame->LoadProjectFile(path);
    EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Line 4");
}

TEST_F(Files, AnAddressNoPlcHoldsIsReportedAndLeftOut) {
    const std::string path = SaveSample();
    std::string bytes = tree.Read("QVX-S7/Projects/line4.prj");
    const size_t source = 300 + 2 + 5 + 33 + 6;  // the first row's source address
    bytes.replace(source, 21, "D" + std::string(19, '9') + '\0');
    tree.Write("QVX-S7/Projects/line4.prj", bytes);
    frame->LoadProjectFile(path);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("left out of block 1;"), std::string::npos);
    ASSERT_NE(g_pNewBlockExView, nullptr);
    EXPECT_EQ(platform::Trim(g_pNewBlockExView->GetBlockRows().at(0)[kColSourceAddr]), "");
    EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Line 4");  // the rest is open
}

TEST_F(Files, AnOlderFormatAsksBeforeItIsConverted) {
    const std::string path = SaveSample();
    std::string bytes = tree.Read("QVX-S7/Projects/line4.prj");
    // Format 3: no texts; the sections follow the rows directly.
    std::string older = bytes.substr(0, 300 + 204 * g_pNewBlockExView->GetBlockRows().size()) +
                        bytes.substr(300 + 204 * g_pNewBlockExView->GetBlockRows().size() + 800);
    older[16] = 3;
    tree.Write("QVX-S7/Projects/old.prj", older);
    ui.AnswerMessageBox(ui::IDYES);
    frame->LoadProjectFile(tree.Path() + "QVX-S7/Projects/old.prj");
    ASSERT_FALSE(ui.MessageBoxes().empty());
    EXPECT_EQ(ui.MessageBoxes().front().text.find("Project has been created in previous version of Quorvex."), 0u);
    EXPECT_EQ(g_ProjectSettings.g_strProjTitle, std::string(8, ' '));
    EXPECT_EQ(g_ProjectSettings.g_nProjFileVersion, 4);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"R0", "C5"}));
}

// A file cut before any of its feature sections says which ones it lost.
TEST_F(Files, ACutAtALaterSectionIsSaid) {
    const std::string path = SaveSample();
    const std::string good = tree.Read("QVX-S7/Projects/line4.prj");
    prjfile::FieldReader r(good, 300 + 204 * g_pNewBlockExView->GetBlockRows().size() + 800);
    ASSERT_TRUE(prjfile::ReadRecipeSection(r));
    const size_t afterRecipes = r.Tell();
    ASSERT_TRUE(prjfile::ReadAttachRegSection(r, 1));
    const size_t afterRegisters = r.Tell();
    ASSERT_LT(afterRegisters, good.size());
    for (size_t cut : {afterRecipes, afterRegisters}) {
        SCOPED_TRACE(cut);
        ui.ClearRecords();
        frame->LoadProjectFile(WriteCopy("cut", good.substr(0, cut)));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        const std::string& text = ui.MessageBoxes()[0].text;
        EXPECT_NE(text.find("ends before its feature sections ("), std::string::npos) << text;
        EXPECT_NE(text.find("general settings of COM1)"), std::string::npos) << text;
        EXPECT_EQ(text.find("recipes"), std::string::npos) << text;
        EXPECT_EQ(text.find("registers of COM1") != std::string::npos, cut == afterRecipes) << text;
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Line 4");
    }
}

// Damage is named for what it is, with the error icon: a recipe count over the rows held,
// a file cut short in its fixed part, rows or texts, and bytes after the last section
// (a count, or a feature the PLC definitions no longer declare). A general-settings
// section the definitions promise is missing at the end of the file on its own, and said.
TEST_F(Files, DamageIsNamedForWhatItIs) {
    const std::string path = SaveSample();
    const std::string good = tree.Read("QVX-S7/Projects/line4.prj");
    const size_t sections = 300 + 204 * g_pNewBlockExView->GetBlockRows().size() + 800;
    auto open = [&](const std::string& bytes) {
        ui.ClearRecords();
        g_ProjectSettings.g_strProjTitle = "open project";
        frame->LoadProjectFile(WriteCopy("damaged", bytes));
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
        return ui.MessageBoxes().empty() ? ui::MessageBoxRecord() : ui.MessageBoxes()[0];
    };
    // The recipes (code 3, count 2, rows of 8 bytes): the second row taken away.
    ASSERT_EQ(good.substr(sections, 2), Bytes({3, 2}));
    ui::MessageBoxRecord box = open(good.substr(0, sections + 10) + good.substr(sections + 18));
    EXPECT_NE(box.text.find("is damaged: its recipes promise 2 rows, but the file holds 1"), std::string::npos) << box.text;
    EXPECT_EQ(box.flags & ui::MB_ICONMASK, unsigned(ui::MB_ICONHAND));
    EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "open project");
    for (size_t cut : {size_t(200), size_t(700), size_t(1000), sections - 1}) {
        SCOPED_TRACE(cut);
        box = open(good.substr(0, cut));
        EXPECT_NE(box.text.find("it ends after " + std::to_string(cut) + " of the "), std::string::npos) << box.text;
        EXPECT_EQ(box.flags & ui::MB_ICONMASK, unsigned(ui::MB_ICONHAND));
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "open project");
    }
    // Damage is named for what the bytes show: a section code that is not the recipes'
    // where they stand, sections after a cleared extended-setup flag, bytes added to a
    // whole project.
    std::string bytes = good;
    bytes[sections] = 4;
    box = open(bytes);
    EXPECT_NE(box.text.find("its recipes are not where"), std::string::npos) << box.text;
    EXPECT_EQ(box.text.find("registers of COM1"), std::string::npos) << box.text;
    bytes = good;
    bytes[prjfile::kExtendedSetupOffset] = 0;
    box = open(bytes);
    EXPECT_NE(box.text.find("its extended-setup flag (byte 160) says that it has none"), std::string::npos) << box.text;
    box = open(good + "appended");
    EXPECT_NE(box.text.find("its last 8 bytes follow the whole project"), std::string::npos) << box.text;
    EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "open project");
    const std::string com1 = tree.Path() + "QVX-S7/Plc/10100_004.inf", com2 = tree.Path() + "QVX-S7/Plc/10300_004.inf";
    const std::string com1Text = tree.Read("QVX-S7/Plc/10100_004.inf"), com2Text = tree.Read("QVX-S7/Plc/10300_004.inf");
    // COM2's general settings promised, the file ends after COM1's.
    tree.Write("QVX-S7/Plc/10300_004.inf", com2Text + "\r\n[Extended Setup]\r\nGeneralEntityCom2=1\r\n");
    box = open(good);
    EXPECT_NE(box.text.find("ends before its feature sections (general settings of COM2)"), std::string::npos) << box.text;
    EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Line 4");
    tree.Write("QVX-S7/Plc/10300_004.inf", com2Text);
    // A sound file whose PLC definitions lost a feature since (their bytes are left over)
    // or no longer offer one where it stands: the definitions are named, not the file.
    for (const char* key : {"GeneralEntityCom1", "Recipes"}) {
        SCOPED_TRACE(key);
        std::string without = com1Text;
        without.replace(without.find(std::string(key) + "=1"), std::string(key).size() + 2, std::string(key) + "=0");
        tree.Write("QVX-S7/Plc/10100_004.inf", without);
        box = open(good);
        EXPECT_EQ(box.text.find("The PLC definition files \"10100_004.inf\" and \"10300_004.inf\" have changed since the "
                                "project file \"" + tree.Path() + "QVX-S7/Projects/damaged.prj\" was saved: the project holds its " +
                                std::string(key[0] == 'G' ? "general settings of COM1" : "recipes") +
                                ", which the files no longer declare."),
                  0u) << box.text;
        EXPECT_EQ(box.text.find("is damaged"), std::string::npos) << box.text;
        EXPECT_EQ(box.flags & ui::MB_ICONMASK, unsigned(ui::MB_ICONEXCLAMATION));
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "open project");
    }
    tree.Write("QVX-S7/Plc/10100_004.inf", com1Text);
}

// The 1,331-byte project the save-kill tool makes (Modbus RTU Master and DF1 Full Duplex:
// one block, texts, one recipe row, the COM1 default registers without rows and both
// general settings), built the same way. It opens without a word; every count it reads set
// one higher or one lower makes it damaged, said so, and nothing of it opened. A recipe
// count of 2 over one row reads cleanly with the sections' own rules: the second row eats
// the registers' section, and what is left reads as the COM2 general settings. The item
// counts of the general settings are not read (the PLC definitions give them): one off,
// the file opens. Cut inside its last section, it is cut short.
TEST_F(Files, EveryCountOneOffIsNamedAndTheFileNotOpened) {
    Configure("QVX-S7", 82, "Modbus RTU Master", "DF1 Full Duplex");
    const std::string cells[] = {"", "10", "Modbus RTU Master", "1", "H0001", "DF1 Full Duplex", "2", "N007:000", "5", "", "kill"};
    for (size_t c = 1; c < kBlockListColumns; ++c)
        if (c != kColControlBit) g_pNewBlockExView->SetCellText(0, int(c), cells[c]);
    g_ProjectSettings.g_strProjTitle = "Version A";
    g_RecipeTables.g_arrRecipeAddr = {"R1"};
    g_RecipeTables.g_awRecipeValue[0] = 1111;
    const std::string path = tree.Path() + "QVX-S7/Projects/kill.prj";
    ASSERT_TRUE(frame->Services().saveProject(true, path));
    const std::string good = tree.Read("QVX-S7/Projects/kill.prj");
    ASSERT_EQ(good.size(), 1331u);
    ASSERT_EQ(good.substr(1304, 2), Bytes({3, 1}));
    frame->LoadProjectFile(path);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;

    auto open = [&](const std::string& bytes) {
        ui.ClearRecords();
        g_ProjectSettings.g_strProjTitle = "open project";
        frame->LoadProjectFile(WriteCopy("counts", bytes));
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "open project");
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
        return ui.MessageBoxes().empty() ? std::string() : ui.MessageBoxes()[0].text;
    };
    std::string bytes = good;
    bytes[1305] = 2;
    std::string text = open(bytes);
    EXPECT_NE(text.find("is damaged: its recipes promise 2 rows, but the file holds 1 before the next section."),
              std::string::npos) << text;
    // The block count, the recipes' and the registers' row counts, each general settings'
    // item count and value length.
    ASSERT_EQ(good.substr(1314, 2), Bytes({4, 0}));
    ASSERT_EQ(good.substr(1316, 3), Bytes({6, 5, 6}));
    ASSERT_EQ(good.substr(1325, 3), Bytes({7, 2, 3}));
    for (size_t at : {size_t(298), size_t(1305), size_t(1315), size_t(1318), size_t(1327)}) {
        for (int delta : {1, -1}) {
            SCOPED_TRACE(std::to_string(at) + (delta > 0 ? " +1" : " -1"));
            bytes = good;
            bytes[at] = static_cast<char>(static_cast<unsigned char>(good[at]) + delta);
            text = open(bytes);
            EXPECT_NE(text.find("is damaged"), std::string::npos) << text;
            EXPECT_EQ(text.find("cut short"), std::string::npos) << text;
        }
    }
    // A block count one more than the rows: the count is the damage, the file is whole.
    bytes = good;
    bytes[298] = 2;
    text = open(bytes);
    EXPECT_NE(text.find("its block count is 2, but the file holds 1 block row"), std::string::npos) << text;
    // Cut just after COM2's section code: cut short too, with the PLC definitions as shipped.
    text = open(good.substr(0, 1326));
    EXPECT_NE(text.find("it ends inside its general settings of COM2 (the file is cut short)."), std::string::npos) << text;
    for (size_t size : {size_t(1328), size_t(1329), size_t(1330)}) {
        SCOPED_TRACE(size);
        text = open(good.substr(0, size));
        EXPECT_NE(text.find("it ends inside its general settings of COM2, which promise 3 bytes where the file holds " +
                            std::to_string(size - 1328) + " (the file is cut short)."),
                  std::string::npos) << text;
    }
    // Block fields changed: what the cells would not take is left out at the open and named,
    // or (the word count) refused by the block check, with the cell's message.
    const std::string words = "Error while compiling block 1. For word operation, valid entry is 1- 64. For bit "
                              "operation, valid entry is 1";
    for (const auto& [at, field] : {std::pair{size_t(346), " H0001"}, {412, " N007:000"}, {412, "N007:000 "},
                                    {346, "H0001:1"}, {412, "N007:000/3"}, {412, "N007:0/0"}, {412, "N007:00/"},
                                    {324, " "}, {302, "/"}, {303, "/"}, {306, "/"}, {302, "7"}}) {
        SCOPED_TRACE(std::to_string(at) + " \"" + field + "\"");
        bytes = good;
        bytes.replace(at, std::string(field).size(), field);
        ui.ClearRecords();
        frame->LoadProjectFile(WriteCopy("counts", bytes));
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Version A");
        const bool address = at > 306;
        EXPECT_EQ(ui.MessageBoxes().size(), address ? 1u : 0u);
        if (address && !ui.MessageBoxes().empty()) EXPECT_NE(ui.MessageBoxes()[0].text.find("left out of block 1;"), std::string::npos);
        EXPECT_GT(g_pNewBlockExView->CompileBlock(0), 0);
        EXPECT_EQ(g_pNewBlockExView->GetInfoText().find(address ? "Error while compiling block 1. The block is incomplete. "
                                                                 : words),
                  0u) << g_pNewBlockExView->GetInfoText();
    }
    // Item counts one off, and a recipe address with a byte of the upper half of the code
    // page: the file opens as it is.
    for (const auto& [at, value] : {std::pair{size_t(1317), 6}, std::pair{size_t(1317), 4}, std::pair{size_t(1326), 3},
                                    std::pair{size_t(1326), 1}, std::pair{size_t(1311), 0xB9}}) {
        SCOPED_TRACE(at);
        bytes = good;
        bytes[at] = static_cast<char>(value);
        ui.ClearRecords();
        frame->LoadProjectFile(WriteCopy("counts", bytes));
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Version A");
    }
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"R\xB9"}));
}

// Sound projects with the node table (and COM2's general settings) or the tag table open
// without a word, as do the projects the sample tree ships; their row counts one off are
// damage, said so.
TEST_F(Files, NodeAndTagTablesOpenAsSavedAndTheirCountsOneOffAreDamage) {
    frame->Services().tagTableDialog = [] { return 1; };
    for (const char* plc2 : {"Modbus TCP Client", "Ethernet IP"}) {
        SCOPED_TRACE(plc2);
        Configure("QVX-ENET", 94, "Modbus RTU Master", plc2);
        const bool nodes = g_bEthernetSetting == 1;
        ASSERT_TRUE(nodes || g_bTagTable == 1);
        g_EthNodeTable.g_arrNodeAddress = {"1", "7"};
        g_EthNodeTable.g_arrNodePort = {"502", "10502"};
        g_EthNodeTable.g_arrNodeIp = {"192.168.1.10", "10.0.0.7"};
        g_EipTagTable.g_arrTagCode = {"T1", "TAG000002"};
        g_EipTagTable.g_arrTagName = {"Speed", "Line.Count"};
        g_EipTagTable.g_awTagSize[0] = 2;
        g_EipTagTable.g_abTagType[1] = 3;
        const std::string path = tree.Path() + "QVX-ENET/Projects/tables.prj";
        ASSERT_TRUE(frame->Services().saveProject(true, path));
        const std::string good = tree.Read("QVX-ENET/Projects/tables.prj");
        g_EthNodeTable = CEthNodeTable();
        g_EipTagTable = CEipTagTable();
        ui.ClearRecords();
        frame->LoadProjectFile(path);
        ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        if (nodes) EXPECT_EQ(g_EthNodeTable.g_arrNodeIp, (StringArray{"192.168.1.10", "10.0.0.7"}));
        else EXPECT_EQ(g_EipTagTable.g_arrTagName, (StringArray{"Speed", "Line.Count"}));
        const size_t count = 300 + 204 * g_pNewBlockExView->GetBlockRows().size() + 800;  // the table's count
        ASSERT_EQ(good[count], 2);
        for (int held : {1, 3}) {
            std::string bytes = good;
            bytes[count] = static_cast<char>(held);
            tree.Write("QVX-ENET/Projects/counts.prj", bytes);
            ui.ClearRecords();
            frame->LoadProjectFile(tree.Path() + "QVX-ENET/Projects/counts.prj");
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_NE(ui.MessageBoxes()[0].text.find("is damaged"), std::string::npos) << ui.MessageBoxes()[0].text;
            EXPECT_EQ(g_ProjectSettings.g_strProjPath, path);
        }
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.Path())) {
        if (entry.path().extension() != ".prj" || entry.path().string().find("/Projects/tables.prj") != std::string::npos ||
            entry.path().string().find("/Projects/counts.prj") != std::string::npos)
            continue;
        SCOPED_TRACE(entry.path().string());
        ui.ClearRecords();
        frame->LoadProjectFile(entry.path().string());
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    }
}

// Counts that do not match the rows held leave bytes no section reads: the file is
// refused as damaged instead of opening with rows dropped or texts read from a row.
TEST_F(Files, CountsThatDisagreeWithTheRowsAreRefused) {
    const std::string path = SaveSample();
    const std::string good = tree.Read("QVX-S7/Projects/line4.prj");
    const size_t sections = 300 + 204 * g_pNewBlockExView->GetBlockRows().size() + 800;
    ASSERT_EQ(good[sections], 3);  // the recipes' code, then their count (2)
    std::string noBlocks = good, fewerRecipes = good;
    noBlocks[prjfile::kBlockCountOffset] = 0;
    fewerRecipes[sections + 1] = 1;
    for (const std::string& bytes : {noBlocks, fewerRecipes}) {
        ui.ClearRecords();
        g_ProjectSettings.g_strProjTitle = "open project";
        frame->LoadProjectFile(WriteCopy("counts", bytes));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_NE(ui.MessageBoxes()[0].text.find("is damaged"), std::string::npos) << ui.MessageBoxes()[0].text;
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "open project");
    }
}

// A product whose data.inf gives no format number still saves a file the reader opens
// again, with its texts and sections, whichever answer the conversion question gets.
TEST_F(Files, AProductWithoutAFormatNumberSavesAFileThatOpensAgain) {
    FillFirstBlock();
    const std::string path = SaveSample();
    const std::string saved = tree.Read("QVX-S7/Projects/line4.prj");
    std::string data = tree.Read("QVX-S7/Data/data.inf");
    data.replace(data.find("ProjectVersion=4"), 16, "Other=4");
    tree.Write("QVX-S7/Data/data.inf", data);
    for (int answer : {ui::IDYES, ui::IDNO}) {
        SCOPED_TRACE(answer);
        frame->LoadProjectFile(path);
        ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        g_bProjectModified = 1;
        ui.AnswerMessageBox(answer);
        ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].text, LoadString(IDS_CONVERT_ON_SAVE));
        EXPECT_EQ(tree.Read("QVX-S7/Projects/line4.prj").size(), saved.size());
        EXPECT_EQ(tree.Read("QVX-S7/Projects/line4.prj")[16], 4);
        ui.ClearRecords();
        g_ProjectSettings.g_strProjTitle = "other";
        g_RecipeTables.g_arrRecipeAddr.clear();
        frame->LoadProjectFile(path);
        ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Line 4");
        EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"R0", "C5"}));
    }
}

// The open project's file is held by this program, through its saves, until it is
// closed; a project another program holds is neither opened nor saved over.
TEST_F(Files, AProjectAnotherProgramHoldsIsNeitherOpenedNorSavedOver) {
    FillFirstBlock();
    const std::string path = SaveSample();
    const std::string other = tree.Write("QVX-S7/Projects/other.prj", tree.Read("QVX-S7/Projects/line4.prj"));
    frame->LoadProjectFile(path);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_FALSE(testsupport::OtherProgramsLock::Free(path));
    g_bProjectModified = 1;
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_FALSE(testsupport::OtherProgramsLock::Free(path));
    EXPECT_TRUE(testsupport::OtherProgramsLock::Free(other));

    const std::string otherBytes = tree.Read("QVX-S7/Projects/other.prj");
    testsupport::OtherProgramsLock lock(other);
    frame->LoadProjectFile(other);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("is open in another Quorvex program"), std::string::npos);
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, path);
    ui.ClearRecords();
    g_bProjectModified = 1;
    ui.AnswerFileDialog(other);
    ui.AnswerMessageBox(ui::IDYES);  // replace the file
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT_AS));
    ASSERT_FALSE(ui.MessageBoxes().empty());
    EXPECT_NE(ui.MessageBoxes().back().text.find("is open in another Quorvex program"), std::string::npos);
    EXPECT_EQ(tree.Read("QVX-S7/Projects/other.prj"), otherBytes);
    EXPECT_EQ(g_bProjectModified, 1);

    frame->CloseToProductLevel();
    EXPECT_TRUE(testsupport::OtherProgramsLock::Free(path));
}

// The internal-database files are named from the path less its last four characters:
// a Save As to kill.bak writes kill.prj's companions, and is refused while another program
// holds kill.prj. A refused Save As (held, or a name too long) leaves the modified mark.
TEST_F(Files, TheCompanionsOfAHeldProjectAreNotWrittenUnderAnotherName) {
    FillFirstBlock();
    const std::string path = SaveSample();
    const std::string other = WriteCopy("other", tree.Read("QVX-S7/Projects/line4.prj"));
    frame->LoadProjectFile(other);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    const std::string idb1 = tree.Read("QVX-S7/Projects/line4_IDB1.hex"), idb2 = tree.Read("QVX-S7/Projects/line4_IDB2.hex");
    testsupport::OtherProgramsLock lock(path);
    g_pNewBlockExView->SetCellText(0, kColSourceAddr, "H0002");
    g_bProjectModified = 0;  // as after an edit the project was saved with
    const std::string bak = tree.Path() + "QVX-S7/Projects/line4.bak";
    ui.AnswerFileDialog(bak);
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT_AS));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text.find("The project \"" + path + "\" is open in another Quorvex program"), 0u)
        << ui.MessageBoxes()[0].text;
    EXPECT_FALSE(platform::FileExists(bak));
    EXPECT_EQ(tree.Read("QVX-S7/Projects/line4_IDB1.hex"), idb1);
    EXPECT_EQ(tree.Read("QVX-S7/Projects/line4_IDB2.hex"), idb2);
    EXPECT_EQ(g_bProjectModified, 0);
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, other);
    ui.ClearRecords();
    ui.AnswerFileDialog(tree.Path() + "QVX-S7/Projects/" + std::string(246, 'p') + ".prj");
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT_AS));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("File name too long"), std::string::npos);
    EXPECT_EQ(g_bProjectModified, 0);
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, other);
}

// A filesystem without locks (flock fails with ENOLCK): saves work without them and
// leave nothing behind; opening such a project says once that it cannot be kept from
// another program.
TEST_F(Files, WithoutLocksSavesWorkAndTheOpenSaysSo) {
    FillFirstBlock();
    platform::SetNoLocksForTests(true);
    const std::string path = SaveSample();
    EXPECT_EQ(tree.Read("QVX-S7/Projects/line4.prj").substr(0, 12), "Quorvex1.00D");
    frame->CloseToProductLevel();
    ui.ClearRecords();
    frame->LoadProjectFile(path);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("without locks: another Quorvex program cannot be kept from"),
              std::string::npos) << ui.MessageBoxes()[0].text;
    ui.ClearRecords();
    const std::string before = tree.Read("QVX-S7/Projects/line4.prj");
    g_ProjectSettings.g_strProjTitle = "changed";
    g_bProjectModified = g_bIdb1Edited = g_bIdb2Edited = 1;
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_NE(tree.Read("QVX-S7/Projects/line4.prj"), before);
    EXPECT_EQ(g_bProjectModified, 0);
    EXPECT_EQ(platform::ListDirectory(tree.Path() + "QVX-S7/Projects"),
              (std::vector<std::string>{".keep", "line4.prj", "line4_IDB1.hex", "line4_IDB2.hex"}));
    platform::SetNoLocksForTests(false);
}

// An internal-database file that is a link to a file outside the project's folder is
// replaced by a file of its own: the file it points to is never written.
TEST_F(Files, ACompanionLinkedOutOfTheFolderIsNotWrittenThrough) {
    FillFirstBlock();
    const std::string path = SaveSample();
    const std::string precious = tree.Write("precious.txt", "keep me");
    const std::string idb1 = tree.Path() + "QVX-S7/Projects/line4_IDB1.hex";
    ASSERT_EQ(unlink(idb1.c_str()), 0);
    ASSERT_EQ(symlink("../../precious.txt", idb1.c_str()), 0);
    frame->LoadProjectFile(path);
    ui.ClearRecords();
    g_ProjectSettings.g_strProjTitle = "changed";
    g_bProjectModified = g_bIdb1Edited = g_bIdb2Edited = g_bNewBlockListEdited = 1;
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_EQ(tree.Read("precious.txt"), "keep me");
    struct stat st;
    ASSERT_EQ(lstat(idb1.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_NE(tree.Read("QVX-S7/Projects/line4_IDB1.hex"), "keep me");
}

// A project file or recent list without write bits is kept as it is, with the reason
// said and the project still modified (the bits stop root too).
TEST_F(Files, WriteProtectedFilesAreKeptAndTheReasonSaid) {
    FillFirstBlock();
    const std::string path = SaveSample();
    frame->LoadProjectFile(path);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    const std::string before = tree.Read("QVX-S7/Projects/line4.prj");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    g_ProjectSettings.g_strProjTitle = "changed";
    g_bProjectModified = 1;
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("Permission denied"), std::string::npos) << ui.MessageBoxes()[0].text;
    EXPECT_EQ(tree.Read("QVX-S7/Projects/line4.prj"), before);
    EXPECT_EQ(g_bProjectModified, 1);

    ui.ClearRecords();
    const std::string products = tree.Path() + "Products/products.inf";
    const std::string list = tree.Read("Products/products.inf");
    ASSERT_EQ(chmod(products.c_str(), 0444), 0);
    UpdateRecentProjectList(tree.Path() + "QVX-S7/Projects/new.prj", ReadRecentProjectCount());
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text,
              "Unable to update the list of recent projects in \"products.inf\": Permission denied.");
    EXPECT_EQ(tree.Read("Products/products.inf"), list);
    chmod(products.c_str(), 0644);
    chmod(path.c_str(), 0644);
}

// A save that fails at its last file leaves the .prj and the first image as they were:
// a folder in place of "_IDB2.hex", and (as an ordinary user, in a shared folder with the
// sticky bit) an "_IDB2.hex" that belongs to another user.
TEST_F(Files, ASaveThatCannotReplaceItsLastFileChangesNone) {
    FillFirstBlock();
    const std::string path = SaveSample();
    frame->LoadProjectFile(path);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    const std::string folder = tree.Path() + "QVX-S7/Projects/";
    const std::string names[] = {"line4.prj", "line4_IDB1.hex"};
    const std::string before[] = {tree.Read("QVX-S7/Projects/line4.prj"), tree.Read("QVX-S7/Projects/line4_IDB1.hex")};
    const std::string idb2 = tree.Read("QVX-S7/Projects/line4_IDB2.hex");
    auto unchanged = [&] {
        bool same = true;
        for (int i = 0; i < 2; ++i) same = same && tree.Read("QVX-S7/Projects/" + names[i]) == before[i];
        for (const std::string& entry : platform::ListDirectory(folder))
            same = same && entry.find(".saving") == std::string::npos && entry.find(".kept") == std::string::npos &&
                   entry.find(".journal") == std::string::npos;
        return same;
    };
    ASSERT_EQ(unlink((folder + "line4_IDB2.hex").c_str()), 0);
    ASSERT_EQ(mkdir((folder + "line4_IDB2.hex").c_str(), 0755), 0);
    g_ProjectSettings.g_strProjTitle = "changed";
    g_bProjectModified = g_bIdb1Edited = g_bIdb2Edited = 1;
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("Is a directory"), std::string::npos) << ui.MessageBoxes()[0].text;
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(g_bProjectModified, 1);
    rmdir((folder + "line4_IDB2.hex").c_str());
    tree.Write("QVX-S7/Projects/line4_IDB2.hex", idb2);

    // Another user's file in a sticky shared folder: the save runs as an ordinary user.
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the file to another user";
    ASSERT_EQ(chmod(tree.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(folder.c_str(), 01777), 0);
    for (const std::string& name : names) ASSERT_EQ(chown((folder + name).c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown((folder + "line4_IDB2.hex").c_str(), 1, 1), 0);
    ASSERT_EQ(chmod((folder + "line4_IDB2.hex").c_str(), 0666), 0);  // writable, yet not ours to replace
    ui.ClearRecords();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        frame->UserCommand(ID_FILE_SAVE_PROJECT);
        const bool said = ui.MessageBoxes().size() == 1 &&
                          ui.MessageBoxes()[0].text.find("Operation not permitted") != std::string::npos;
        if (!said) for (const auto& box : ui.MessageBoxes()) fprintf(stderr, "child: %s\n", box.text.c_str());
        _exit(said ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(tree.Read("QVX-S7/Projects/line4_IDB2.hex"), idb2);
    chmod(folder.c_str(), 0755);
}

// A full disk (zero, one and three free pages: the three files of a save and its journal
// need four) fails Save, Save As and the recent-list update with a message and leaves
// every old file byte for byte, with no temporary left behind. The message names the
// project once, and the image file when the disk filled there (never the journal).
TEST_F(Files, AFullDiskLeavesEveryOldFileAsItWas) {
    FillFirstBlock();
    const std::string path = SaveSample();
    frame->LoadProjectFile(path);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    const std::string names[] = {"QVX-S7/Projects/line4.prj", "QVX-S7/Projects/line4_IDB1.hex",
                                 "QVX-S7/Projects/line4_IDB2.hex", "Products/products.inf"};
    auto files = [&] {
        std::vector<std::string> bytes;
        for (const std::string& n : names) bytes.push_back(tree.Read(n));
        return bytes;
    };
    const std::vector<std::string> before = files();
    ASSERT_FALSE(before[1].empty());
    ASSERT_FALSE(before[2].empty());
    auto expectFailed = [&](const char* what, const std::string& text) {
        SCOPED_TRACE(what);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes().back().text, text);
        EXPECT_EQ(files(), before);
        EXPECT_FALSE(platform::FileExists(tree.Path() + "QVX-S7/Projects/other.prj"));
        for (const std::string& entry : platform::ListDirectory(tree.Path() + "QVX-S7/Projects"))
            EXPECT_EQ(entry.find(".saving"), std::string::npos) << entry;
        EXPECT_EQ(g_bProjectModified, 1);
        ui.ClearRecords();
    };
    const std::string other = tree.Path() + "QVX-S7/Projects/other.prj";
    auto failed = [](const std::string& project, const std::string& image) {
        return "Unable to save the project to \"" + project + "\": " + (image.empty() ? "" : "\"" + image + "\": ") +
               "No space left on device";
    };
    // The disk fills at the .prj, at _IDB1.hex, and at the journal.
    for (long long pages : {0, 1, 3}) {
        SCOPED_TRACE(pages);
        platform::SetFreePagesForTests(pages);
        g_ProjectSettings.g_strProjTitle = "changed";
        g_bProjectModified = g_bIdb1Edited = g_bIdb2Edited = 1;
        ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
        expectFailed("Save", failed(path, pages == 1 ? ProjectIdbPath(path, 1) : ""));
        platform::SetFreePagesForTests(pages);
        ui.AnswerFileDialog(other);
        ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT_AS));
        expectFailed("Save As", failed(other, pages == 1 ? ProjectIdbPath(other, 1) : ""));
        g_ProjectSettings.g_strProjPath = path;
        g_bSaveAs = 0;
    }
    platform::SetFreePagesForTests(0);
    UpdateRecentProjectList(tree.Path() + "QVX-S7/Projects/new.prj", ReadRecentProjectCount());
    expectFailed("recent list", "Unable to update the list of recent projects in \"products.inf\": No space left on device.");
    // With room again the same save goes through, all three files at once.
    platform::SetFreePagesForTests(-1);
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_NE(tree.Read(names[0]), before[0]);
    EXPECT_FALSE(platform::FileExists(path + ".journal"));
}

// A Save As that wrote nothing (a full disk, a folder whose files cannot be made) leaves
// the project on its own file: the title still names it, and Ctrl+S writes it, not the copy.
TEST_F(Files, AFailedSaveAsLeavesTheTitleOnTheProjectsOwnFile) {
    FillFirstBlock();
    SaveSample();
    const std::string walk = WriteCopy("s7walk", tree.Read("QVX-S7/Projects/line4.prj"));
    frame->LoadProjectFile(walk);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    TypeComment(0, "walked");
    ASSERT_EQ(g_bProjectModified, 1);
    const std::string original = tree.Read("QVX-S7/Projects/s7walk.prj");
    const std::string copy = tree.Path() + "QVX-S7/Projects/copy.prj";
    for (const std::string& target : {copy, tree.Path() + "QVX-S7/Projects/gone/copy.prj"}) {
        SCOPED_TRACE(target);
        platform::SetFreePagesForTests(target == copy ? 0 : -1);
        ui.AnswerFileDialog(target);
        ui.AnswerMessageBox(ui::IDOK);
        ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT_AS));
        platform::SetFreePagesForTests(-1);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].text.find("Unable to save the project to \"" + target + "\""), 0u);
        EXPECT_EQ(frame->GetWindowText(), "s7walk.prj - Quorvex - QVX-S7");
        EXPECT_EQ(g_ProjectSettings.g_strProjPath, walk);
        EXPECT_EQ(g_bProjectModified, 1);
        ui.ClearRecords();
    }
    // An error bit an upload brought from a unit, longer than the file's field, is not cut.
    g_ProjectSettings.g_strErrBitAddr2 = "NB99:255/15";
    ui.AnswerFileDialog(copy);
    ui.AnswerMessageBox(ui::IDOK,
                        "The error bit address of COM2 \"NB99:255/15\" is longer than the project file keeps (10 "
                        "characters). Please choose another one and save again.");
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT_AS));
    EXPECT_EQ(frame->GetWindowText(), "s7walk.prj - Quorvex - QVX-S7");
    EXPECT_FALSE(platform::FileExists(copy));
    g_ProjectSettings.g_strErrBitAddr2.clear();
    ui.ClearRecords();
    ASSERT_TRUE(frame->UserAccelerator(ui::FCONTROL, 'S'));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(frame->GetWindowText(), "s7walk.prj - Quorvex - QVX-S7");
    EXPECT_NE(tree.Read("QVX-S7/Projects/s7walk.prj"), original);
    EXPECT_FALSE(platform::FileExists(copy));
}

// The word counts of the default registers of a project without a file of its own (one
// taken from a unit, whose registers the dialog shows) are saved by Ctrl+S as they stand,
// and open again.
TEST_F(Files, TheFirstSaveKeepsTheWordsOfTheDefaultRegisters) {
    FillFirstBlock();
    CDefCommRegTables& d = g_DefCommRegs;
    g_bDefCommRegFill = 0;
    d.g_arrAttachRegStation1 = {"1"};  // the registers the block reads and writes
    d.g_arrAttachRegAddr1 = {"H0001"};
    d.g_arrAttachRegStation2 = {"2"};
    d.g_arrAttachRegAddr2 = {"D0000"};
    ui.ExpectModal(IDD_DEF_COMM_REG, [](ui::Dialog& dlg) {
        ASSERT_TRUE(dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).UserClickCell(0, 2));
        ASSERT_TRUE(dlg.Item(IDC_ATTACH_EDIT_COM1).UserType("3"));
        dlg.UserClickButton(ui::IDOK);
    });
    ASSERT_TRUE(frame->UserCommand(ID_ATTACH_REGISTERS));
    ASSERT_EQ(d.g_arrAttachRegWords1.at(0), "3");
    ASSERT_EQ(g_bUntitled, 1);
    const std::string path = tree.Path() + "QVX-S7/Projects/first.prj";
    ui.AnswerFileDialog(path);
    ASSERT_TRUE(frame->UserAccelerator(ui::FCONTROL, 'S'));
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    frame->LoadProjectFile(path);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_EQ(d.g_arrAttachRegAddr1, StringArray{"H0001"});
    EXPECT_EQ(d.g_arrAttachRegWords1[0], "3");
}

// Save, Save As and the save on closing that fail at any file of the save (the disk full
// at the .prj, at the first image, at the journal; a folder that does not exist) change
// nothing of a project whose every table is filled, in the model or on disk.
TEST_F(Files, AFailedSaveChangesNothing) {
    FillFirstBlock();
    const std::string path = SaveSample();
    frame->LoadProjectFile(path);
    ASSERT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    FillEveryTable();
    TypeComment(0, "changed");
    ASSERT_FALSE(g_IdbPaneRows[0].empty());
    ASSERT_FALSE(g_IdbPaneRows[1].empty());
    auto folder = [&] {
        std::string all;
        for (const std::string& entry : platform::ListDirectory(tree.Path() + "QVX-S7/Projects"))
            all += entry + '\n' + tree.Read("QVX-S7/Projects/" + entry) + '\n';
        return all;
    };
    const std::string files = folder(), before = Fingerprint();
    const std::string other = tree.Path() + "QVX-S7/Projects/other.prj";
    struct Case {
        const char* name;
        int command;
        long long pages;
        std::string target;
    };
    const Case cases[] = {
        {"Save, disk full at the .prj", ID_FILE_SAVE_PROJECT, 0, ""},
        {"Save, disk full at the first image", ID_FILE_SAVE_PROJECT, 1, ""},
        {"Save, disk full at the journal", ID_FILE_SAVE_PROJECT, 3, ""},
        {"Save As, disk full at the .prj", ID_FILE_SAVE_PROJECT_AS, 0, other},
        {"Save As, disk full at the first image", ID_FILE_SAVE_PROJECT_AS, 1, other},
        {"Save As, disk full at the journal", ID_FILE_SAVE_PROJECT_AS, 3, other},
        {"Save As into a folder that does not exist", ID_FILE_SAVE_PROJECT_AS, -1,
         tree.Path() + "QVX-S7/Projects/gone/other.prj"},
        {"the close box, Yes, disk full at the .prj", 0, 0, ""},
        {"the close box, Yes, disk full at the journal", 0, 3, ""},
        {"Close, Yes, disk full at the .prj", ID_FILE_CLOSE_PROJECT, 0, ""},
        {"Close, Yes, disk full at the first image", ID_FILE_CLOSE_PROJECT, 1, ""},
        {"Close, Yes, disk full at the journal", ID_FILE_CLOSE_PROJECT, 3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SetFreePagesForTests(c.pages);
        if (!c.target.empty()) ui.AnswerFileDialog(c.target);
        const bool asks = c.command == 0 || c.command == ID_FILE_CLOSE_PROJECT;
        if (asks) ui.AnswerMessageBox(ui::IDYES, "Do you want to save project?");
        ui.AnswerMessageBox(ui::IDOK);
        if (c.command == 0)
            frame->UserClose();
        else
            ASSERT_TRUE(frame->UserCommand(c.command));
        platform::SetFreePagesForTests(-1);
        ASSERT_TRUE(frame->IsLive());
        EXPECT_EQ(ui.MessageBoxes().size(), asks ? 2u : 1u);
        EXPECT_NE(g_pNewBlockExView, nullptr);
        EXPECT_EQ(Fingerprint(), before);
        EXPECT_EQ(folder(), files);
        ui.ClearRecords();
    }
}

// A save killed between its renames leaves a journal: the next open finishes it, so the
// .prj and its companions are of one save; replacements without a journal are dropped.
TEST_F(Files, AnInterruptedSaveIsFinishedWhenTheProjectIsOpened) {
    const std::string path = SaveSample();
    const std::string idb1 = ProjectIdbPath(path, 1);
    const std::string newRows(1, '\0');  // an image of no rows
    tree.Write("QVX-S7/Projects/line4_IDB1.hex.saving", newRows);
    tree.Write("QVX-S7/Projects/line4_IDB2.hex.saving", "stale");
    const std::string prj = tree.Read("QVX-S7/Projects/line4.prj");
    tree.Write("QVX-S7/Projects/line4.prj.journal",
               "Quorvex replace journal 1\n" + path + "\n" + idb1 + "\nend\n");
    frame->LoadProjectFile(path);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(tree.Read("QVX-S7/Projects/line4_IDB1.hex"), newRows);
    EXPECT_EQ(tree.Read("QVX-S7/Projects/line4.prj"), prj);
    EXPECT_EQ(platform::ListDirectory(tree.Path() + "QVX-S7/Projects"),
              (std::vector<std::string>{".keep", "line4.prj", "line4_IDB1.hex", "line4_IDB2.hex"}));
}

// A save of the version before the put-back record, killed while it put its files back
// (the .prj and _IDB1.hex back already, _IDB2.hex's replacement blocked by a folder): the
// next open puts back only what has a second name and deletes nothing. While the folder
// stands, the old _IDB2.hex waits under its second name for the next open.
TEST_F(Files, AnEarlierVersionsPutBackKilledMidwayLeavesTheOldProject) {
    SaveSample();
    const std::string p = tree.Path() + "QVX-S7/Projects", prj = p + "/kill.prj";
    const std::string idb1 = p + "/kill_IDB1.hex", idb2 = p + "/kill_IDB2.hex";
    ASSERT_TRUE(frame->Services().saveProject(true, prj));
    frame->LoadProjectFile(tree.Path() + "QVX-S7/Projects/line4.prj");
    const std::string old[] = {tree.Read("QVX-S7/Projects/kill.prj"), tree.Read("QVX-S7/Projects/kill_IDB1.hex"),
                               tree.Read("QVX-S7/Projects/kill_IDB2.hex")};
    for (bool folderStays : {true, false}) {
        SCOPED_TRACE(folderStays ? "the folder stays" : "the folder is gone");
        tree.Write("QVX-S7/Projects/kill.prj.99999x1.journal",
                   "Quorvex replace journal 1\n" + prj + "\n" + idb1 + "\n" + idb2 + "\nend\n");
        tree.Write("QVX-S7/Projects/kill_IDB2.hex.99999x1.saving", folderStays ? old[2] : "new bytes");
        ASSERT_EQ(link(idb2.c_str(), (idb2 + ".99999x1.kept").c_str()), 0);
        ASSERT_EQ(rename(idb2.c_str(), (p + "/../kept_IDB2.hex").c_str()), 0);
        if (folderStays) {
            ASSERT_EQ(mkdir(idb2.c_str(), 0755), 0);
            frame->LoadProjectFile(prj);
            EXPECT_EQ(tree.Read("QVX-S7/Projects/kill.prj"), old[0]);
            EXPECT_EQ(tree.Read("QVX-S7/Projects/kill_IDB1.hex"), old[1]);
            EXPECT_EQ(tree.Read("QVX-S7/Projects/kill_IDB2.hex.99999x1.kept"), old[2]);
            ASSERT_EQ(rmdir(idb2.c_str()), 0);
        }
        ui.ClearRecords();
        frame->LoadProjectFile(prj);
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        EXPECT_EQ(g_ProjectSettings.g_strProjPath, prj);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(tree.Read(std::string("QVX-S7/Projects/kill") + (i == 0 ? ".prj" : i == 1 ? "_IDB1.hex" : "_IDB2.hex")),
                      old[i]) << i;
        EXPECT_EQ(platform::ListDirectory(p), (std::vector<std::string>{".keep", "kill.prj", "kill_IDB1.hex", "kill_IDB2.hex",
                                                                         "line4.prj", "line4_IDB1.hex", "line4_IDB2.hex"}));
        unlink((p + "/../kept_IDB2.hex").c_str());
    }
}

// A file cut where its feature sections begin opens with a warning saying they are
// missing; a PLC file without the model section the project names is refused.
TEST_F(Files, LostSectionsAreSaidAndAMissingModelSectionIsRefused) {
    const std::string path = SaveSample();
    const size_t sections = 300 + 204 * g_pNewBlockExView->GetBlockRows().size() + 800;
    const std::string cut = tree.Write("QVX-S7/Projects/cut.prj", tree.Read("QVX-S7/Projects/line4.prj").substr(0, sections));
    g_RecipeTables.g_arrRecipeAddr.clear();
    for (const char* idb : {"_IDB1.hex", "_IDB2.hex"})
        tree.Write(std::string("QVX-S7/Projects/cut") + idb, tree.Read(std::string("QVX-S7/Projects/line4") + idb));
    frame->LoadProjectFile(cut);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("ends before its feature sections"), std::string::npos);
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, cut);
    EXPECT_TRUE(g_RecipeTables.g_arrRecipeAddr.empty());

    // Without feature sections, a block count smaller than the rows held is refused.
    ui.ClearRecords();
    std::string fewer = tree.Read("QVX-S7/Projects/line4.prj").substr(0, sections);
    fewer[prjfile::kExtendedSetupOffset] = 0;
    fewer[prjfile::kBlockCountOffset] = static_cast<char>(fewer[prjfile::kBlockCountOffset] - 1);
    frame->LoadProjectFile(tree.Write("QVX-S7/Projects/fewer.prj", fewer));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("its block count is 0, but the file holds 1 block row"), std::string::npos)
        << ui.MessageBoxes()[0].text;
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, cut);

    ui.ClearRecords();
    std::string plc = tree.Read("QVX-S7/Plc/10100_004.inf");
    plc.replace(plc.find("[Standard]"), 10, "[Gone]");
    tree.Write("QVX-S7/Plc/10100_004.inf", plc);
    frame->LoadProjectFile(path);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, LoadString(IDS_PLC_FILE_ERROR));
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, cut);
}

}  // namespace
