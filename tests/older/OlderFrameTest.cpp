// The older products in the main window, wired as the program wires them: a project is
// made, saved, closed and opened again; the reader's refusals; the close questions.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "HeadlessUi.h"
#include "ProjectFingerprint.h"
#include "TestSupport.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "projectfiles/OlderProjectFile.h"
#include "app/OlderScreens.h"
#include "model/ProjectSettings.h"
#include "app/RecentProjects.h"
#include "app/QuorvexView.h"
#include "model/RunTimeState.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "res/FrameResource.h"
#include "res/OlderEditorResource.h"
#include "res/StringTable.h"
#include "res/PortSettingsResource.h"
#include "res/TransferResource.h"
#include "settings/PLCSheet.h"
#include "compiler/OlderUploadDecode.h"

namespace {

class OlderFrame : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override {
        ResetOpenProject();
        g_szProductName = g_szProductNameCopy = g_szProductPath = "";
        g_nDeviceId = g_nDeviceIdAlt = 81;
        g_bProductSelected = g_bProductSelected2 = 0;
        g_bSlaveMode = g_bBlockExSlaveMode = 0;
        g_bBlockListEdited = 0;
        g_ProjectSettings = CProjectSettings();
        frame = std::make_unique<CMainFrame>();
        WireOlderScreens(frame->Services(), g_NewBlockExServices);
        ASSERT_TRUE(frame->LoadFrame());
        ui.AdvanceTime(100);
        ui.AdvanceTime(3000);
    }
    void TearDown() override {
        frame.reset();
        ResetOpenProject();
        g_szProductName.clear();
    }

    ui::View* Pane(int r, int c) const { return frame->GetSplitter().GetPane(r, c); }
    CBlockExView* List() const { return dynamic_cast<CBlockExView*>(Pane(0, 1)); }
    static ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
        for (ui::HTREEITEM item : t.GetChildren(parent)) {
            if (t.GetItemText(item) == text) return item;
            if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
        }
        return 0;
    }
    void NewProject(const std::string& plc1, const std::string& plc2) {
        auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-00")));
        for (int port : {1, 2}) {
            auto* view = dynamic_cast<CProtocolView*>(Pane(0, port - 1));
            ASSERT_NE(view, nullptr);
            ASSERT_TRUE(view->Tree()->UserSelect(Find(*view->Tree(), port == 1 ? plc1 : plc2)));
        }
        ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
        ASSERT_NE(List(), nullptr);
    }
    // Block 1 of a Modbus RTU Master / DF1 Full Duplex project, marked edited.
    CBlockExView* FillBlockOne() {
        CBlockExView* list = List();
        list->SetCellText(0, kOlderColSourcePlc, "Modbus RTU Master");
        list->SetCellText(0, kOlderColSourceAddr, "H0001");
        list->SetCellText(0, kOlderColDestPlc, "DF1 Full Duplex");
        list->SetCellText(0, kOlderColDestAddr, "N007:000");
        list->SetCellText(0, kOlderColWords, "8");
        g_bBlockListEdited = 1;
        return list;
    }
    std::string LastBox() const { return ui.MessageBoxes().empty() ? "" : ui.MessageBoxes().back().text; }
    std::string Projects() const { return tree.Path() + "QVX-00/Projects/"; }
};

TEST_F(OlderFrame, AProjectIsSavedClosedAndOpenedAgain) {
    NewProject("Modbus RTU Master", "DF1 Full Duplex");
    CBlockExView* list = FillBlockOne();
    list->SetCellText(0, kOlderColComment, "to the press");
    g_ProjectSettings.g_strProjAuthor = "Ann";
    const std::string path = Projects() + "line.prj";
    ui.AnswerFileDialog(path);
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    EXPECT_EQ(frame->GetWindowText(), "line.prj - Quorvex - QVX-00");
    ASSERT_TRUE(platform::FileExists(path));

    // Not edited since: Close asks nothing.
    ASSERT_TRUE(frame->UserCommand(ID_FILE_CLOSE_PROJECT));
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(frame->GetWindowText(), "Quorvex - QVX-00");
    EXPECT_TRUE(ui.MessageBoxes().empty());

    g_ProjectSettings = CProjectSettings();
    frame->Services().loadOlderProject(path);
    list = List();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(frame->GetActiveView(), list);
    ASSERT_EQ(list->m_nBlockCount, 1);
    EXPECT_EQ(list->GetCellText(0, kOlderColBlockNo), "1");
    EXPECT_EQ(list->GetCellText(0, kOlderColWords), "08");
    EXPECT_EQ(list->GetCellText(0, kOlderColDestAddr), "N007:000");
    EXPECT_EQ(list->GetCellText(0, kOlderColComment), "to the press");
    EXPECT_EQ(g_ProjectSettings.g_strProjAuthor, "Ann");
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, path);
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC2Name, "DF1 Full Duplex");
    EXPECT_GT(g_PlcRegisterTables.RegisterCount(2), 0);
    EXPECT_EQ(g_PlcRegisterTables.g_nBlockWordLimit, 64);
    EXPECT_EQ(g_bBlockExSaved, 1);
    EXPECT_EQ(g_bBlockExUntitled, 0);
    EXPECT_EQ(frame->GetWindowText(), "line.prj - Quorvex - QVX-00");
    EXPECT_EQ(frame->GetMenu(), frame->ProjectMenu().get());

    // Edited: the question once; Cancel keeps the project open, and so does Yes with a
    // save that is refused (a write-protected file): the title keeps the file's name.
    g_bBlockListEdited = 1;
    ui.AnswerMessageBox(ui::IDCANCEL, LoadString(IDS_SAVE_PROJECT_QUESTION));
    ASSERT_TRUE(frame->UserCommand(ID_FILE_CLOSE_PROJECT));
    EXPECT_NE(List(), nullptr);
    EXPECT_EQ(frame->GetWindowText(), "line.prj - Quorvex - QVX-00");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ui.AnswerMessageBox(ui::IDYES, LoadString(IDS_SAVE_PROJECT_QUESTION));
    ASSERT_TRUE(frame->UserCommand(ID_FILE_CLOSE_PROJECT));
    EXPECT_NE(List(), nullptr);
    EXPECT_NE(LastBox().find("Permission denied"), std::string::npos) << LastBox();
    EXPECT_EQ(frame->GetWindowText(), "line.prj - Quorvex - QVX-00");
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ui.AnswerMessageBox(ui::IDYES, LoadString(IDS_SAVE_PROJECT_QUESTION));
    ASSERT_TRUE(frame->UserCommand(ID_FILE_CLOSE_PROJECT));
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(frame->GetWindowText(), "Quorvex - QVX-00");
    EXPECT_EQ(ui.MessageBoxes().size(), 4u);
}

// Save, Save As and the saves of the close box and of Close that fail (a full disk, a
// folder that does not exist) change nothing of an older project, in the model or on disk.
TEST_F(OlderFrame, AFailedSaveChangesNothing) {
    NewProject("Modbus RTU Master", "DF1 Full Duplex");
    CBlockExView* list = FillBlockOne();
    const std::string path = Projects() + "line.prj", other = Projects() + "other.prj";
    ui.AnswerFileDialog(path);
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    list->SetCellText(0, kOlderColComment, "changed");
    g_ProjectSettings.g_strProjAuthor = "Walker";
    g_bBlockListEdited = 1;
    auto fingerprint = [&] {
        return testsupport::ProjectFingerprint(frame->GetWindowText()) + "edited:" + std::to_string(g_bBlockListEdited) +
               " saved:" + std::to_string(g_bBlockExSaved) + " untitled:" + std::to_string(g_bBlockExUntitled);
    };
    const std::string before = fingerprint(), file = tree.Read("QVX-00/Projects/line.prj");
    struct Case {
        const char* name;
        int command;  // 0: the close box
        long long pages;
        std::string target;
    };
    const Case cases[] = {
        {"Save, disk full", ID_FILE_SAVE_PROJECT, 0, ""},
        {"Save As, disk full", ID_FILE_SAVE_PROJECT_AS, 0, other},
        {"Save As into a folder that does not exist", ID_FILE_SAVE_PROJECT_AS, -1, Projects() + "gone/other.prj"},
        {"the close box, Yes, disk full", 0, 0, ""},
        {"Close, Yes, disk full", ID_FILE_CLOSE_PROJECT, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SetFreePagesForTests(c.pages);
        if (!c.target.empty()) ui.AnswerFileDialog(c.target);
        const bool asks = c.command == 0 || c.command == ID_FILE_CLOSE_PROJECT;
        if (asks) ui.AnswerMessageBox(ui::IDYES, LoadString(IDS_SAVE_PROJECT_QUESTION));
        ui.AnswerMessageBox(ui::IDOK);
        if (c.command == 0)
            frame->UserClose();
        else
            ASSERT_TRUE(frame->UserCommand(c.command));
        platform::SetFreePagesForTests(-1);
        ASSERT_TRUE(frame->IsLive());
        EXPECT_EQ(ui.MessageBoxes().size(), asks ? 2u : 1u);
        EXPECT_EQ(LastBox().find("Unable to save the project to"), 0u) << LastBox();
        EXPECT_EQ(fingerprint(), before);
        EXPECT_EQ(tree.Read("QVX-00/Projects/line.prj"), file);
        EXPECT_FALSE(platform::FileExists(other));
        ui.ClearRecords();
    }
}

// The program holds exactly the file of the project it has open: a project taken from a
// unit in place of an opened one lets the old file go, and so does a three-port project
// configured and saved from its sheet, which then closes.
TEST_F(OlderFrame, OnlyTheFileOfTheOpenProjectIsHeld) {
    NewProject("Modbus RTU Master", "DF1 Full Duplex");
    FillBlockOne();
    const std::string path = Projects() + "held.prj";
    ui.AnswerFileDialog(path);
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    ASSERT_TRUE(platform::FileExists(path));
    EXPECT_FALSE(testsupport::OtherProgramsLock::Free(path));
    frame->RunProjectUpload([] {
        ApplyOlderUploadedProject(OlderUploadedProject{});
        return ui::IDOK;
    });
    EXPECT_TRUE(testsupport::OtherProgramsLock::Free(path));

    frame->CloseToProductLevel();
    auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
    ASSERT_NE(products, nullptr);
    ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "Zava Dorazuduvoz")));
    auto* com1 = dynamic_cast<CInputView*>(Pane(0, 0));
    ASSERT_NE(com1, nullptr);
    ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Multiplexer")));
    const std::string mux = tree.Path() + "Zava Dorazuduvoz/Projects/mux.prj";
    ui.ExpectModal(0, [](ui::Dialog& d) {
        dynamic_cast<CPLCSheet&>(d).GetGeneralPage().UserClickButton(IDC_SHEET_SAVE);
        d.UserClose();
    });
    ui.AnswerFileDialog(mux);
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_TRUE(platform::FileExists(mux));
    EXPECT_EQ(g_bProjectOpen, 0);
    EXPECT_TRUE(testsupport::OtherProgramsLock::Free(mux));
}

TEST_F(OlderFrame, ClosingTheWindowSavesTheOlderRows) {
    NewProject("Modbus RTU Master", "DF1 Full Duplex");
    List()->SetCellText(0, kOlderColComment, "kept");
    g_bBlockListEdited = 1;
    const std::string path = Projects() + "onclose.prj";
    ui.AnswerMessageBox(ui::IDYES, LoadString(IDS_SAVE_PROJECT_QUESTION));
    ui.AnswerFileDialog(path);
    frame->OnClose();
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes.substr(400, 5), std::string("kept\0", 5));
}

// A sound QVX-00 project (Ver2.00, product number 1, one block, saved here) opened while
// QVX-S7 is the product: by Open Project, and from the recent list as a copy in the
// QVX-S7's folder. The file's product sends it to the older reader before anything of
// the newer layout is checked; it opens as the QVX-00 project it is.
TEST_F(OlderFrame, AnOlderProjectOpensWhileANewerProductIsChosen) {
    NewProject("Modbus RTU Master", "DF1 Full Duplex");
    FillBlockOne();
    const std::string path = Projects() + "old.prj";
    ui.AnswerFileDialog(path);
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    const std::string bytes = tree.Read("QVX-00/Projects/old.prj");
    ASSERT_EQ(bytes.substr(13, 7), "Ver2.00");
    ASSERT_EQ(bytes[153], 1);
    const std::string copy = tree.Write("QVX-S7/Projects/old.prj", bytes);
    auto chooseS7 = [&] {
        frame->CloseToProductLevel();
        auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-S7")));
        ASSERT_EQ(g_szProductName, "QVX-S7");
        ui.ClearRecords();
    };
    auto openedAsOlder = [&](const std::string& file) {
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        ASSERT_NE(List(), nullptr);
        EXPECT_EQ(List()->m_nBlockCount, 1);
        EXPECT_EQ(List()->GetCellText(0, kOlderColDestAddr), "N007:000");
        EXPECT_EQ(g_szProductName, "QVX-00");
        EXPECT_EQ(g_ProjectSettings.g_strProjPath, file);
        EXPECT_EQ(frame->GetWindowText(), "old.prj - Quorvex - QVX-00");
    };
    chooseS7();
    ui.AnswerFileDialog(path);
    ASSERT_TRUE(frame->UserCommand(ID_OPEN_PROJECT));
    openedAsOlder(path);

    chooseS7();
    UpdateRecentProjectList(copy, ReadRecentProjectCount());
    frame->ReloadComPortSetting();
    ASSERT_TRUE(frame->UserCommand(ID_RECENT_PROJECT1));
    openedAsOlder(copy);
}

TEST_F(OlderFrame, FilesThatAreNotSoundOpenNothing) {
    g_szProductName = g_szProductNameCopy = g_szProductPath = "QVX-00";
    g_nDeviceId = g_nDeviceIdAlt = 80;
    g_bBlockExSlaveMode = 0;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.g_strPLC1Id = "101";
    t.g_strPlc1ModelNo = "1";
    t.g_strPLC2Id = "102";
    t.g_strPlc2ModelNo = "1";
    g_ProjectSettings.g_nProductNo = 1;
    g_ProjectSettings.g_nProjectVersion = 2;
    const OlderBlockRows rows(3, OlderBlockRow{"1", "1", "x", "1", "x", "x", "1", "x", "1", ""});
    const std::string good = BuildOlderProjectFile(rows, false, 2, "now");
    auto open = [&](const std::string& name, const std::string& bytes) {
        frame->Services().loadOlderProject(tree.Write("QVX-00/Projects/" + name, bytes));
    };

    // Fewer rows than its count: cut short, said so with the error icon.
    ui.AnswerMessageBox(ui::IDOK, "The project file \"" + tree.Path() + "QVX-00/Projects/short.prj\" is damaged: it ends "
                                  "after 600 of the 1550 bytes its header, block count and texts need (the file is cut "
                                  "short). It is not opened.");
    open("short.prj", good.substr(0, 300 + 2 * 150));
    EXPECT_EQ(ui.MessageBoxes().back().flags & ui::MB_ICONMASK, unsigned(ui::MB_ICONHAND));
    // Cut inside its settings: said so too, not taken for another PLC pair.
    ui.AnswerMessageBox(ui::IDOK, "The project file \"" + tree.Path() + "QVX-00/Projects/head.prj\" is damaged: it ends "
                                  "after 200 of the 300 bytes its header, block count and texts need (the file is cut "
                                  "short). It is not opened.");
    open("head.prj", good.substr(0, 200));
    std::string tag = good;
    tag[0] = 'X';
    ui.AnswerMessageBox(ui::IDOK, LoadString(IDS_NOT_FOR_QUORVEX));
    open("tag.prj", tag);
    std::string version = good;
    version[16] = '3';  // above the product's ProjectVersion 2
    ui.AnswerMessageBox(ui::IDOK, LoadString(IDS_PROJECT_VERSION_MISMATCH));
    open("version.prj", version);
    std::string zava = good;
    zava[153] = 84;
    ui.AnswerMessageBox(ui::IDOK,
                        "You are trying to open a project that is created for Zava Dorazuduvoz.\nIf you want to open "
                        "this project, please go back to product selection screen and select Zava Dorazuduvoz product.");
    open("zava.prj", zava);
    std::string plc = good;
    plc[101] = 9;  // no model 9 in the definition file
    ui.AnswerMessageBox(ui::IDOK, LoadString(IDS_PLC_FILE_ERROR));
    open("plc.prj", plc);
    // A block count one off the three rows held: the count is the damage. One fewer would
    // drop the last row and read the texts from its bytes.
    for (int count : {2, 4, -2, -4}) {  // less than 0: the same in a "Ver1.00" file
        std::string counted = count > 0 ? good : BuildOlderProjectFile(rows, false, 1, "now");
        count = std::abs(count);
        counted[298] = static_cast<char>(count);
        ui.AnswerMessageBox(ui::IDOK, "The project file \"" + tree.Path() + "QVX-00/Projects/count.prj\" is damaged: its "
                                      "block count is " + std::to_string(count) + ", but the file holds 3 block rows (the "
                                      "count is wrong, the file is whole). It is not opened.");
        open("count.prj", counted);
    }
    // No project at all: said so, and no product is asked for.
    ui.AnswerMessageBox(ui::IDOK, LoadString(IDS_NOT_FOR_QUORVEX));
    open("notes.prj", "These are notes, not a project!\r\n");
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(g_bNoBlockView, 1);
}

TEST_F(OlderFrame, TheThreePortProductRefusesOtherProductsFiles) {
    g_szProductName = g_szProductNameCopy = g_szProductPath = "Zava Dorazuduvoz";
    g_ProjectSettings.g_nProductNo = 2;
    const std::string bytes = BuildOlderProjectFile({}, false, 1, "now");
    ui.AnswerMessageBox(ui::IDOK,
                        "You are trying to open a project that is created for QVX-S7.\nIf you want to open this project, "
                        "please go back to product selection screen and select QVX-S7 product.");
    frame->Services().loadOlderProject(tree.Write("x.prj", bytes));
    EXPECT_EQ(g_szProductName, "Zava Dorazuduvoz");
    EXPECT_EQ(g_nDeviceId, 84u);
    // A file of 34 bytes of text is no project of any product: said so, not sent to one.
    int sheets = 0;
    frame->Services().communicationSettingSheet = [&] { ++sheets; };
    ui.AnswerMessageBox(ui::IDOK, LoadString(IDS_NOT_FOR_QUORVEX));
    frame->Services().loadOlderProject(tree.Write("notes.prj", "These are notes, not a project!\r\n"));
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(g_szProductName, "Zava Dorazuduvoz");
}

// The sheet after a refused file shows no file of its own: Save, and Close then Yes, ask for
// a name, and a name not given saves nothing (no save to an empty path).
TEST_F(OlderFrame, AfterARefusedThreePortFileTheSheetsSavesAskForAName) {
    g_szProductName = g_szProductNameCopy = g_szProductPath = "Zava Dorazuduvoz";
    g_nDeviceId = g_nDeviceIdAlt = 84;
    g_bBlockExUntitled = g_bUntitled = 0;
    frame->Services().communicationSettingSheet = [] { RunCommunicationSettingSheet(); };
    ui.AnswerMessageBox(ui::IDOK, LoadString(IDS_NOT_FOR_QUORVEX));
    ui.ExpectModal(0, [this](ui::Dialog& d) {
        auto& sheet = dynamic_cast<CPLCSheet&>(d);
        sheet.GetGeneralPage().UserClickButton(IDC_SHEET_SAVE);
        EXPECT_EQ(ui.FileDialogsShown(), std::vector<std::string>{"Untitled"});
        sheet.UserSelectPage(1);
        sheet.GetPortPage(1)->Item(IDC_PORT_TIMEOUT).UserType("12");  // an edit
        sheet.UserSelectPage(0);
        sheet.UserClose();
        EXPECT_TRUE(sheet.IsLive());  // no name: not saved, the sheet stays
        sheet.UserClose();
    });
    ui.AnswerFileDialog("");
    ui.AnswerMessageBox(ui::IDYES, LoadString(IDS_SAVE_PROJECT_QUESTION));
    ui.AnswerFileDialog("");
    ui.AnswerMessageBox(ui::IDNO, LoadString(IDS_SAVE_PROJECT_QUESTION));
    frame->Services().loadOlderProject(tree.Write("notes.prj", "These are notes, not a project!\r\n"));
    for (const auto& box : ui.MessageBoxes()) EXPECT_EQ(box.text.find("Unable to save"), std::string::npos) << box.text;
    EXPECT_EQ(ui.MessageBoxes().size(), 3u);
    EXPECT_EQ(ui.FileDialogsShown().size(), 2u);
}

TEST_F(OlderFrame, AThreePortProjectOpensInTheSheetAndClosesAfterIt) {
    g_szProductName = g_szProductNameCopy = g_szProductPath = "Zava Dorazuduvoz";
    g_nDeviceId = g_nDeviceIdAlt = 84;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.g_strPLC1Id = "111";
    t.g_strPlc1ModelNo = "1";
    CProjectSettings& s = g_ProjectSettings;
    s.g_nProductNo = 84;
    s.g_anPortSettings[2][kPortBaud] = 19200;
    s.g_anPortSettings[2][kPortDataBits] = 7;
    s.g_anPortTimeout[2] = 9;
    const std::string path = tree.Write("Zava Dorazuduvoz/Projects/mux.prj", BuildOlderProjectFile({}, false, 1, "now"));
    s = CProjectSettings();

    int sheets = 0;
    frame->Services().communicationSettingSheet = [&] {
        ++sheets;
        // The sheet sees the file's model.
        EXPECT_EQ(g_PlcRegisterTables.g_strPLC1Name, "Modbus RTU Multiplexer");
        EXPECT_EQ(g_ProjectSettings.g_anPortSettings[2][kPortBaud], 19200);
        EXPECT_EQ(g_ProjectSettings.g_anPortSettings[2][kPortDataBits], 7);
        EXPECT_EQ(g_ProjectSettings.g_anPortTimeout[2], 9);
        EXPECT_EQ(g_ProjectSettings.g_nProjFileVersion, 2);  // converted on Yes
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "        ");
        EXPECT_EQ(g_szHelpTopic, "portmultiplexer.htm");
    };
    ui.AnswerMessageBox(ui::IDYES, LoadString(IDS_CONVERT_ON_OPEN));
    frame->Services().loadOlderProject(path);
    EXPECT_EQ(sheets, 1);
    EXPECT_EQ(g_bProjectOpen, 0);
    EXPECT_EQ(g_bNoBlockView, 1);
    EXPECT_EQ(g_PlcRegisterTables.RegisterCount(1), 0);
    const std::vector<std::string> recent = ReadRecentProjects();
    ASSERT_FALSE(recent.empty());
    EXPECT_EQ(recent.front(), path);
}

TEST_F(OlderFrame, AnOldFormatProjectIsAskedAboutOnEverySaveUntilYes) {
    NewProject("Modbus RTU Master", "DF1 Full Duplex");
    g_ProjectSettings.g_nProjFileVersion = 1;
    const std::string path = Projects() + "old.prj";
    ui.AnswerFileDialog(path);
    ui.AnswerMessageBox(ui::IDNO, LoadString(IDS_CONVERT_ON_SAVE));
    List()->SetCellText(0, kOlderColSourcePlc, "Modbus RTU Master");
    List()->SetCellText(0, kOlderColSourceAddr, "H0001");
    List()->SetCellText(0, kOlderColDestPlc, "DF1 Full Duplex");
    List()->SetCellText(0, kOlderColDestAddr, "N007:000");
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes.size(), 450u);
    EXPECT_EQ(bytes.substr(13, 7), "Ver1.00");
    ui.AnswerMessageBox(ui::IDYES, LoadString(IDS_CONVERT_ON_SAVE));
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes.size(), 1250u);
    EXPECT_EQ(bytes.substr(13, 7), "Ver2.00");
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));  // no question any more
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
}

}  // namespace

// The older transfer dialog from its three entry points, each in the layout its opener asks.
TEST_F(OlderFrame, TheOlderEditorsDownloadOpensTheTransferDialog) {
    NewProject("Modbus RTU Master", "DF1 Full Duplex");
    int shown = 0;
    ui.ExpectModal(IDD_DOWNLOAD, [&](ui::Dialog& d) {
        ++shown;
        EXPECT_EQ(d.GetWindowText(), "Download");
        EXPECT_EQ(d.Item<ui::ListView>(IDC_TASK_LIST).GetItemText(1, 0), "PLC1 Driver");
        EXPECT_TRUE(d.Item(IDC_DOWNLOAD).IsWindowEnabled());
        EXPECT_FALSE(d.Item(IDC_UPLOAD_PROJECT).IsWindowEnabled());
        EXPECT_EQ(g_nDownloadDlgMode, 1);
        d.UserClickButton(ui::IDCANCEL);
    });
    EXPECT_TRUE(frame->UserCommand(ID_DOWNLOAD));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(g_nDownloadDlgMode, 0);
}

TEST_F(OlderFrame, UploadProjectOfAnOlderProductOpensTheTransferDialog) {
    auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
    ASSERT_NE(products, nullptr);
    ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-00")));
    int shown = 0;
    ui.ExpectModal(IDD_DOWNLOAD, [&](ui::Dialog& d) {
        ++shown;
        EXPECT_EQ(d.GetWindowText(), "Upload");
        EXPECT_EQ(d.GetDlgItemText(IDC_TASKS_GROUP), "Uploading Tasks");
        EXPECT_FALSE(d.Item(IDC_DOWNLOAD).IsWindowEnabled());
        EXPECT_TRUE(d.Item(IDC_UPLOAD_PROJECT).IsWindowEnabled());
        EXPECT_EQ(g_nDownloadDlgMode, 2);
        d.UserClickButton(ui::IDCANCEL);
    });
    EXPECT_TRUE(frame->UserCommand(ID_UPLOAD_PROJECT));
    EXPECT_EQ(shown, 1);
}

TEST_F(OlderFrame, TheThreePortSheetsCommunicationButtonOpensTheTransferDialog) {
    g_szProductName = g_szProductNameCopy = g_szProductPath = "Zava Dorazuduvoz";
    g_nDeviceId = g_nDeviceIdAlt = 84;
    int shown = 0;
    ui.ExpectModal(0, [&](ui::Dialog& d) {
        auto& general = dynamic_cast<CPLCSheet&>(d).GetGeneralPage();
        EXPECT_TRUE(general.Item(IDC_COMMUNICATION).IsWindowEnabled());
        general.UserClickButton(IDC_COMMUNICATION);
        d.UserClose();
    });
    ui.ExpectModal(IDD_DOWNLOAD, [&](ui::Dialog& d) {
        ++shown;
        EXPECT_EQ(d.GetWindowText(), "Download");
        EXPECT_EQ(d.Item<ui::ListView>(IDC_TASK_LIST).GetItemText(2, 0), "Master2 Driver");
        EXPECT_FALSE(d.Item(IDC_UPLOAD_PROJECT).IsWindowEnabled());
        d.UserClickButton(ui::IDCANCEL);
    });
    RunCommunicationSettingSheet();
    EXPECT_EQ(shown, 1);
}

// The three-port product's settings, made on the sheet's pages of a new project and saved
// there, come back unchanged when the file is opened again, with no message.
TEST_F(OlderFrame, TheThreePortSheetsSettingsAreSavedAndOpenedAgainUnchanged) {
    auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
    ASSERT_NE(products, nullptr);
    ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "Zava Dorazuduvoz")));
    auto* protocols = dynamic_cast<CProtocolView*>(Pane(0, 0));
    ASSERT_NE(protocols, nullptr);
    ASSERT_TRUE(protocols->Tree()->UserSelect(Find(*protocols->Tree(), "DF1 Multiplexer")));
    frame->Services().communicationSettingSheet = [] { RunCommunicationSettingSheet(); };
    const std::string path = tree.Path() + "Zava Dorazuduvoz/Projects/mux.prj";
    using Ports = std::vector<std::vector<int>>;
    auto ports = [] {
        Ports all;
        for (int p = 0; p < 3; ++p) {
            const int* ps = g_ProjectSettings.g_anPortSettings[p];
            all.push_back({ps[0], ps[1], ps[2], ps[3], g_ProjectSettings.g_anPortTimeout[p]});
        }
        return all;
    };
    Ports made;
    ui.ExpectModal(0, [&](ui::Dialog& d) {
        auto& sheet = dynamic_cast<CPLCSheet&>(d);
        for (int port = 1; port <= 3; ++port) {
            sheet.UserSelectPage(port);
            CPLCConfig* page = sheet.GetPortPage(port);
            for (int list : {IDC_BAUD_RATE, IDC_DATA_BITS, IDC_STOP_BITS, IDC_PARITY_BIT}) {
                auto& combo = page->Item<ui::ComboBox>(list);
                combo.UserSelect(combo.GetCount() - 1 - (port - 1) % std::max(combo.GetCount(), 1));
            }
            page->Item(IDC_PORT_TIMEOUT).UserType(std::to_string(port == 3 ? 50 : 10 + port));
        }
        sheet.UserSelectPage(0);
        made = ports();
        ui.AnswerFileDialog(path);
        sheet.GetGeneralPage().UserClickButton(IDC_SHEET_SAVE);
        sheet.UserClose();
    });
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    ASSERT_TRUE(platform::FileExists(path));
    EXPECT_EQ(made[2][4], 50);
    EXPECT_NE(made[0], made[1]);
    EXPECT_TRUE(ui.MessageBoxes().empty()) << LastBox();

    g_ProjectSettings = CProjectSettings();
    Ports opened;
    std::string plc;
    frame->Services().communicationSettingSheet = [&] {
        opened = ports();
        plc = g_PlcRegisterTables.g_strPLC1Name;
    };
    frame->Services().loadOlderProject(path);
    EXPECT_EQ(opened, made);
    EXPECT_EQ(plc, "DF1 Multiplexer");
    EXPECT_TRUE(ui.MessageBoxes().empty()) << LastBox();
}

// A recent entry that cannot be opened (its file gone, a folder in its place, a damaged file,
// all in another product's folder) is named and leaves the product chosen on the product
// level as it was: the project configured next is of that product.
TEST_F(OlderFrame, ARecentEntryThatDoesNotOpenLeavesTheChosenProduct) {
    auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
    ASSERT_NE(products, nullptr);
    ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-00")));
    const std::string title = frame->GetWindowText();
    const std::string s7 = tree.Path() + "QVX-S7/Projects/";
    tree.Write("QVX-S7/Projects/damaged.prj", "Quorvex1.00D");
    ASSERT_EQ(mkdir((s7 + "folder.prj").c_str(), 0755), 0);
    for (const std::string& entry : {s7 + "gone.prj", s7 + "folder.prj", s7 + "damaged.prj"}) {
        SCOPED_TRACE(entry);
        ui.ClearRecords();
        UpdateRecentProjectList(entry, ReadRecentProjectCount());
        frame->ReloadComPortSetting();
        ASSERT_TRUE(frame->UserCommand(ID_RECENT_PROJECT1));
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(g_szProductName, "QVX-00");
        EXPECT_EQ(g_nDeviceId, 81u);
        EXPECT_EQ(g_bProjectOpen, 0);
        EXPECT_EQ(frame->GetWindowText(), title);
    }
    ui.ClearRecords();
    for (int port : {1, 2}) {
        auto* view = dynamic_cast<CProtocolView*>(Pane(0, port - 1));
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(view->Tree()->UserSelect(Find(*view->Tree(), port == 1 ? "Modbus RTU Master" : "DF1 Full Duplex")));
    }
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_NE(List(), nullptr);
    EXPECT_EQ(frame->GetWindowText(), "Untitled - Quorvex - QVX-00");
    EXPECT_TRUE(ui.MessageBoxes().empty()) << LastBox();
}

// An older project of each kind of PLC pair (two protocols, the same protocol on both
// ports), its block made in the cells as a person makes it and its settings and texts at
// their full widths, saved; the program closed and started again reopens it from the
// recent list unchanged and without a message.
TEST_F(OlderFrame, AProjectSavedBeforeTheProgramClosedReopensAtTheNextStartUnchanged) {
    struct Pair {
        const char* plc1;
        const char* plc2;
        const char* typed1;
        const char* typed2;
    };
    const Pair pairs[] = {
        {"Modbus RTU Master", "DF1 Full Duplex", "h9999", "n7:5"},
        {"Modbus RTU Master", "Modbus RTU Master", "h1", "h9999"},
        {"DF1 Full Duplex", "DF1 Full Duplex", "n7:0", "n255:0"},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(std::string(pair.plc1) + " / " + pair.plc2);
        if (List()) frame->CloseToProductLevel();
        NewProject(pair.plc1, pair.plc2);
        ui::ListView& cells = List()->GetListCtrl();
        auto choose = [&](int column, bool last) {
            ASSERT_TRUE(cells.UserClickCell(0, column));
            auto* combo = static_cast<ui::ListControl*>(List()->GetDlgItem(IDC_BLOCK_CELL_COMBO));
            ASSERT_NE(combo, nullptr);
            ASSERT_TRUE(combo->UserSelect(last ? combo->GetCount() - 1 : 0));
            ASSERT_TRUE(combo->UserKey(ui::VK_RETURN));
        };
        auto type = [&](int column, const std::string& text) {
            ASSERT_TRUE(cells.UserClickCell(0, column));
            ui::Control* edit = List()->GetDlgItem(IDC_BLOCK_CELL_EDIT);
            ASSERT_NE(edit, nullptr);
            ASSERT_TRUE(edit->UserType(text));
            ASSERT_TRUE(edit->UserKey(ui::VK_RETURN));
        };
        choose(kOlderColSourcePlc, false);
        type(kOlderColSourceAddr, pair.typed1);
        choose(kOlderColDestPlc, true);
        type(kOlderColDestAddr, pair.typed2);
        type(kOlderColWords, "16");
        type(kOlderColComment, std::string(30, 'c'));
        ASSERT_EQ(List()->FindFailingBlock(), -1);
        CProjectSettings& s = g_ProjectSettings;
        s.g_anPortSettings[0][kPortBaud] = 19200;
        s.g_anPortSettings[1][kPortBaud] = 38400;
        s.g_anPortSettings[1][kPortDataBits] = 7;
        s.g_anPortSettings[1][kPortParity] = 2;
        s.g_anPortSettings[1][kPortStopBits] = 2;
        s.g_anAdvSetting1[0] = 3;
        s.g_anAdvSetting1[1] = 200;
        s.g_anAdvSetting1[2] = 9;
        s.g_strProjAuthor = std::string(100, 'a');
        s.g_strProjTitle = std::string(100, 't');
        s.g_strProjDescription = std::string(500, 'd');
        g_bBlockListEdited = 1;
        const std::string path = Projects() + "restart.prj";
        std::remove(path.c_str());
        ui.AnswerFileDialog(path);
        ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
        const std::string saved = testsupport::ProjectFingerprint(frame->GetWindowText());
        EXPECT_TRUE(ui.MessageBoxes().empty()) << LastBox();

        frame->UserClose();  // nothing edited since: no question
        EXPECT_TRUE(ui.MessageBoxes().empty()) << LastBox();
        frame.reset();
        ResetOpenProject();
        g_OlderBlockListRows.clear();
        g_ProjectSettings = CProjectSettings();
        g_szProductName = g_szProductNameCopy = g_szProductPath = "";
        SetUp();  // the program starts again and reopens the last project
        ASSERT_NE(List(), nullptr);
        EXPECT_EQ(testsupport::ProjectFingerprint(frame->GetWindowText()), saved);
        EXPECT_EQ(g_bBlockListEdited, 0);
        EXPECT_EQ(List()->FindFailingBlock(), -1);
        EXPECT_TRUE(ui.MessageBoxes().empty()) << LastBox();
        ui.ClearRecords();
    }
}

// Saves of the three-port sheet that fail (a folder that does not exist, a full disk over the
// project's own file) change nothing of the project or of its file; the next save that can
// write does, and a format question answered Yes before a failed save is asked again.
TEST_F(OlderFrame, AFailedSaveOfTheThreePortSheetChangesNothing) {
    g_szProductName = g_szProductNameCopy = g_szProductPath = "Zava Dorazuduvoz";
    g_nDeviceId = g_nDeviceIdAlt = 84;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.g_strPLC1Id = "111";
    t.g_strPlc1ModelNo = "1";
    g_ProjectSettings.g_nProductNo = 84;
    const std::string path = tree.Write("Zava Dorazuduvoz/Projects/mux.prj", BuildOlderProjectFile({}, false, 1, "now"));
    const std::string file = tree.Read("Zava Dorazuduvoz/Projects/mux.prj");
    g_ProjectSettings = CProjectSettings();
    frame->Services().communicationSettingSheet = [] { RunCommunicationSettingSheet(); };
    auto state = [&] {
        return testsupport::ProjectFingerprint(frame->GetWindowText()) + "edited:" + std::to_string(g_bBlockListEdited) +
               " saved:" + std::to_string(g_bBlockExSaved) + " untitled:" + std::to_string(g_bBlockExUntitled) +
               " format:" + std::to_string(g_ProjectSettings.g_nProjFileVersion);
    };
    ui.AnswerMessageBox(ui::IDNO);  // the open keeps the older format
    ui.ExpectModal(0, [&](ui::Dialog& d) {
        auto& sheet = dynamic_cast<CPLCSheet&>(d);
        sheet.UserSelectPage(2);
        sheet.GetPortPage(2)->Item(IDC_PORT_TIMEOUT).UserType("33");
        sheet.UserSelectPage(0);
        const std::string before = state();
        EXPECT_NE(before.find("edited:1"), std::string::npos);
        // Save over its own file on a full disk, after Yes to the newer format.
        platform::SetFreePagesForTests(0);
        ui.AnswerMessageBox(ui::IDYES);
        ui.AnswerMessageBox(ui::IDOK);
        ui.AnswerMessageBox(ui::IDOK);  // the recent list cannot be written on that disk either
        sheet.GetGeneralPage().UserClickButton(IDC_SHEET_SAVE);
        platform::SetFreePagesForTests(-1);
        ASSERT_EQ(ui.MessageBoxes().size(), 4u);
        EXPECT_EQ(ui.MessageBoxes()[2].text.find("Unable to save the project to"), 0u) << LastBox();
        EXPECT_EQ(state(), before);
        EXPECT_EQ(tree.Read("Zava Dorazuduvoz/Projects/mux.prj"), file);
        // The next save asks again and writes.
        ui.AnswerMessageBox(ui::IDYES);
        sheet.GetGeneralPage().UserClickButton(IDC_SHEET_SAVE);
        EXPECT_EQ(g_bBlockListEdited, 0);
        EXPECT_EQ(tree.Read("Zava Dorazuduvoz/Projects/mux.prj").substr(13, 7), "Ver2.00");
        sheet.UserClose();
    });
    frame->Services().loadOlderProject(path);
    EXPECT_EQ(ui.MessageBoxes().size(), 5u);

    // A new project whose first save goes to a folder that does not exist stays without a file.
    ui.ClearRecords();
    auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
    ASSERT_NE(products, nullptr);
    ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "Zava Dorazuduvoz")));
    auto* protocols = dynamic_cast<CProtocolView*>(Pane(0, 0));
    ASSERT_NE(protocols, nullptr);
    ASSERT_TRUE(protocols->Tree()->UserSelect(Find(*protocols->Tree(), "Modbus RTU Multiplexer")));
    const std::string gone = tree.Path() + "Zava Dorazuduvoz/Projects/gone/new.prj";
    ui.ExpectModal(0, [&](ui::Dialog& d) {
        auto& sheet = dynamic_cast<CPLCSheet&>(d);
        sheet.UserSelectPage(1);
        sheet.GetPortPage(1)->Item(IDC_PORT_TIMEOUT).UserType("7");
        sheet.UserSelectPage(0);
        const std::string before = state();
        ui.AnswerFileDialog(gone);
        ui.AnswerMessageBox(ui::IDOK);
        sheet.GetGeneralPage().UserClickButton(IDC_SHEET_SAVE);
        EXPECT_EQ(LastBox().find("Unable to save the project to"), 0u) << LastBox();
        EXPECT_EQ(state(), before);
        EXPECT_TRUE(g_ProjectSettings.g_strProjPath.empty());
        ui.AnswerMessageBox(ui::IDNO, LoadString(IDS_SAVE_PROJECT_QUESTION));  // still edited: asked
        sheet.UserClose();
    });
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_FALSE(platform::FileExists(gone));
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
}
