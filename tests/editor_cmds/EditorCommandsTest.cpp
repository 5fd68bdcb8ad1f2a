// The newer block list's commands in the main window, headless, on a copy of the sample
// tree: a QVX-S7 project with Modbus RTU Master on COM1 and DF1 Full Duplex on COM2.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "model/ExtendedTables.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "app/QuorvexView.h"
#include "model/RunTimeState.h"
#include "app/ShellHelp.h"
#include "app/TransferTasksDlg.h"
#include "compiler/IdbImage.h"
#include "compiler/ProjectImage.h"
#include "model/BlockTableData.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/EditorResource.h"
#include "res/FrameResource.h"
#include "res/TransferResource.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "projectfiles/ProjectIdb.h"

namespace {

const char* kPlc1 = "Modbus RTU Master";
const char* kPlc2 = "DF1 Full Duplex";

ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
    }
    return 0;
}

class Commands : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override {
        g_bProjectModified = g_bProjectSaved = g_bUntitled = 0;
        g_bNewBlockListEdited = g_bIdbModified = g_bCtrlWordDlgOK = g_bSaveAs = 0;
        g_bSlaveMode = 0;
        g_bPrjFileLoaded = 0;
        g_strPrjFile.clear();
        g_strPrjFileLastIo.clear();
        g_ProjectSettings = CProjectSettings();
        g_NewBlockExServices = NewBlockExServices();
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->LoadFrame());
        frame->SetClientArea(1200, 800);
        frame->GoToProductLevel();
        ConfigureS7();
    }
    void TearDown() override {
        frame.reset();
        g_NewBlockExServices = NewBlockExServices();
        g_PlcRegisterTables.ResetProject();
        g_szProductName.clear();
    }

    void PickProduct() {
        auto* products = dynamic_cast<CInputView2*>(frame->GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-S7")));
    }
    void ConfigureS7() {
        PickProduct();
        auto* com1 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 1));
        ASSERT_NE(com1, nullptr);
        ASSERT_NE(com2, nullptr);
        ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), kPlc1)));
        ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), kPlc2)));
        ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
        ASSERT_NE(g_pNewBlockExView, nullptr);
        ASSERT_EQ(View().m_nBlockCount, 1);  // the default row
    }

    CNewBlockExView& View() const { return *g_pNewBlockExView; }
    ui::ListView& List() const { return View().GetListCtrl(); }
    std::string Cell(int row, int col) const { return View().GetCellText(row, col); }
    int Rows() const { return List().GetItemCount(); }
    bool Run(int command) { return frame->UserCommand(command); }
    void Select(int row) { ASSERT_TRUE(List().UserClickCell(row, kColBlockNo)); }
    std::string LastBox() const { return ui.MessageBoxes().empty() ? "" : ui.MessageBoxes().back().text; }

    // A complete block in the row: words from COM1 address to COM2 address.
    void Fill(int row, const std::string& words, const std::string& from, const std::string& to,
              const std::string& comment = "") {
        const std::string cells[] = {"", words, kPlc1, "1", from, kPlc2, "2", to, "5", "", comment};
        for (int c = 1; c < kBlockListColumns; ++c)
            if (c != kColControlBit) View().SetCellText(row, c, cells[c]);
    }
    // Rows of complete blocks: H0001, H0011, ... to N007:000, N007:010, ...
    void MakeBlocks(int count) {
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                ASSERT_TRUE(Run(ID_ADD_NEW_BLOCK)) << i;
            }
            Fill(i, "10", platform::Format("H%04d", 1 + 10 * i), platform::Format("N007:%03d", 10 * i),
                 "block " + std::to_string(i + 1));
        }
        ASSERT_EQ(Rows(), count);
    }
    std::vector<std::string> Column(int col) const {
        std::vector<std::string> texts;
        for (int r = 0; r < Rows(); ++r) texts.push_back(Cell(r, col));
        return texts;
    }
    bool ButtonsOn(int row) const {
        const ui::Control* button = View().GetDlgItem(IDC_SOURCE_ADDR_BUTTON);
        if (!button || !View().GetDlgItem(IDC_DEST_ADDR_BUTTON)) return false;
        const ui::Rect cell = View().ControlToWindow(List(), List().GetSubItemRect(row, kColSourceAddr));
        return button->GetRect().top == cell.top && button->GetRect().right == cell.right;
    }
    std::string ProjectPath(const std::string& name) const { return tree.Path() + "QVX-S7/Projects/" + name; }
};

// ---------------------------------------------------------------------------------------
// Adding, inserting, removing

TEST_F(Commands, AddNumbersTheNewRowAndMarksTheProjectEdited) {
    // The default row is incomplete: no new block before it is corrected.
    ASSERT_TRUE(Run(ID_ADD_NEW_BLOCK));
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(LastBox(),
              "Error found while compiling block number 1. Please correct the error. See the details on the error in "
              "the status message window.");
    EXPECT_NE(View().GetInfoText().find("block 1"), std::string::npos);

    Fill(0, "10", "H0001", "N007:000");
    g_bProjectModified = g_bNewBlockListEdited = 0;
    ui.ClearRecords();
    ASSERT_TRUE(Run(ID_ADD_NEW_BLOCK));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(1, kColBlockNo), "2             ");
    const std::vector<std::string> expected = {"1", " ", "1", " ", " ", "1", " ", "1", "1"};
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(Cell(1, c), expected[size_t(c - 1)]) << "column " << c;
    EXPECT_EQ(View().m_nBlockCount, 2);
    EXPECT_EQ(View().m_nCurrentRow, 1);
    EXPECT_EQ(g_nNewBlockEditRow, 1);
    EXPECT_TRUE(ButtonsOn(1));
    EXPECT_EQ(View().GetDlgItem(IDC_SOURCE_ADDR_BUTTON)->GetToolTip(), "Set Address from Table");
    // Nothing added is lost at Close: the list and the project count as edited.
    EXPECT_EQ(g_bNewBlockListEdited, 1);
    EXPECT_EQ(g_bProjectModified, 1);
}

TEST_F(Commands, AddAndInsertStopAt255Blocks) {
    Fill(0, "1", "H0001", "N007:000");
    for (int i = 1; i < kMaxBlocks; ++i) {
        List().InsertItem(i, std::to_string(i + 1));
        for (int c = 1; c < kBlockListColumns; ++c) View().SetCellText(i, c, Cell(0, c));
    }
    View().m_nBlockCount = kMaxBlocks;
    ASSERT_TRUE(Run(ID_ADD_NEW_BLOCK));
    EXPECT_EQ(Rows(), kMaxBlocks);
    EXPECT_EQ(LastBox(), "Block out of range.\nValid Range : 0 to 255");
    ui.ClearRecords();
    Select(10);
    ASSERT_TRUE(Run(ID_INSERT_BLOCK));
    EXPECT_EQ(Rows(), kMaxBlocks);
    EXPECT_EQ(LastBox(), "Block out of range.\nValid Range : 0 to 255");
    // Paste at the end of a full list adds nothing either, and says so.
    Select(3);
    ASSERT_TRUE(Run(ID_COPY_BLOCK));
    List().SetItemSelected(3, false);
    ui.ClearRecords();
    ASSERT_TRUE(Run(ID_PASTE_BLOCK));
    EXPECT_EQ(Rows(), kMaxBlocks);
    EXPECT_EQ(LastBox(), "Block out of range.\nValid Range : 0 to 255");
}

TEST_F(Commands, InsertRenumbersTheRowsBelowAndTheCopiedRowFollows) {
    MakeBlocks(3);
    // Without a selected row: the reason in the info window, nothing inserted.
    for (int r = 0; r < Rows(); ++r) List().SetItemSelected(r, false);
    ASSERT_TRUE(Run(ID_INSERT_BLOCK));
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(View().GetInfoText(),
              "Please select row and then click in the first column before any block operation.");

    Select(2);
    ASSERT_TRUE(Run(ID_COPY_BLOCK));
    EXPECT_EQ(g_nCopyBlockRow, 2);
    Select(1);
    g_bNewBlockListEdited = g_bProjectModified = 0;
    const std::string first = Cell(0, kColBlockNo);
    ASSERT_TRUE(Run(ID_INSERT_BLOCK));
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(View().m_nBlockCount, 4);
    EXPECT_EQ(Cell(0, kColBlockNo), first);  // above the insert: as it was
    EXPECT_EQ(Column(kColBlockNo)[1], "2               ");
    EXPECT_EQ(Column(kColBlockNo)[3], "4               ");
    EXPECT_EQ(Column(kColControlBit)[3], "3       ");
    EXPECT_EQ(Cell(1, kColSourceAddr), " ");
    EXPECT_EQ(Cell(2, kColSourceAddr), "H0011");  // the old second row moved down
    EXPECT_EQ(g_nCopyBlockRow, 3);
    EXPECT_EQ(g_bNewBlockListEdited, 1);
    EXPECT_EQ(g_bProjectModified, 1);
    // The new row is incomplete: the next insert names it.
    ASSERT_TRUE(Run(ID_INSERT_BLOCK));
    EXPECT_EQ(LastBox(),
              "Error found while compiling block number 2. Please correct the error. See the details on the error in "
              "the error message window.");
}

TEST_F(Commands, RemoveAndTheDeleteKeyNumberTheWholeListAnew) {
    MakeBlocks(4);
    Select(1);
    List().SetItemSelected(2, true);  // two rows at once
    g_bProjectModified = g_bNewBlockListEdited = 0;
    ASSERT_TRUE(Run(ID_REMOVE_BLOCK));
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(View().m_nBlockCount, 2);
    EXPECT_EQ(Column(kColSourceAddr), (std::vector<std::string>{"H0001", "H0031"}));
    EXPECT_EQ(Column(kColBlockNo), (std::vector<std::string>{"1             ", "2             "}));
    EXPECT_EQ(Column(kColControlBit), (std::vector<std::string>{"0       ", "1       "}));
    EXPECT_EQ(g_bProjectModified, 1);
    EXPECT_EQ(g_bNewBlockListEdited, 1);
    EXPECT_TRUE(ButtonsOn(0));  // the row above the last one deleted
    EXPECT_EQ(g_nNewBlockEditRow, 0);

    // The Delete key in the list: row 0 goes, the buttons go to the new first row.
    Select(0);
    ASSERT_TRUE(List().UserKey(ui::VK_DELETE));
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, kColSourceAddr), "H0031");
    EXPECT_EQ(Cell(0, kColBlockNo), "1             ");
    EXPECT_TRUE(ButtonsOn(0));
    // With nothing selected the key only names what is missing.
    List().SetItemSelected(0, false);
    ASSERT_TRUE(List().UserKey(ui::VK_DELETE));
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(View().GetInfoText(),
              "Please select row and then click in the first column before any block operation.");
    // The last row too: no buttons are left.
    Select(0);
    ASSERT_TRUE(Run(ID_REMOVE_BLOCK));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(View().GetDlgItem(IDC_SOURCE_ADDR_BUTTON), nullptr);
}

// ---------------------------------------------------------------------------------------
// Copy and paste, context menu, scrolling

TEST_F(Commands, CopyAndPasteTakeTheCellsButKeepTheRowsOwnNumber) {
    ASSERT_TRUE(Run(ID_PASTE_BLOCK));
    EXPECT_EQ(LastBox(), "Please copy a block, before Paste.");
    MakeBlocks(3);
    Select(0);
    View().SetCellText(0, kColControlBit, "7");
    ASSERT_TRUE(Run(ID_COPY_BLOCK));
    EXPECT_EQ(g_strCopyControlBit, "7");
    EXPECT_EQ(g_strCopyComment, "block 1");

    // Onto a selected row: every column but the number; the control bit is the row's.
    Select(2);
    g_bNewBlockListEdited = 0;
    ASSERT_TRUE(Run(ID_PASTE_BLOCK));
    EXPECT_EQ(Cell(2, kColBlockNo), "3             ");
    EXPECT_EQ(Cell(2, kColSourceAddr), "H0001");
    EXPECT_EQ(Cell(2, kColDestAddr), "N007:000");
    EXPECT_EQ(Cell(2, kColComment), "block 1");
    EXPECT_EQ(Cell(2, kColControlBit), "2");
    EXPECT_EQ(g_nPasteBlockRow, 2);
    EXPECT_EQ(g_bNewBlockListEdited, 1);
    EXPECT_TRUE(ButtonsOn(2));

    // With no row selected: a new block at the end, numbered after the last.
    List().SetItemSelected(2, false);
    ASSERT_TRUE(Run(ID_PASTE_BLOCK));
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(View().m_nBlockCount, 4);
    EXPECT_EQ(Cell(3, kColBlockNo), "4             ");
    EXPECT_EQ(Cell(3, kColSourceAddr), "H0001");
    EXPECT_EQ(Cell(3, kColControlBit), "3");
    EXPECT_EQ(g_nPasteBlockRow, 3);
    EXPECT_TRUE(ButtonsOn(3));

    // A failing block stops Copy and forgets what was copied.
    View().SetCellText(1, kColSourcePlc, " ");
    Select(0);
    ASSERT_TRUE(Run(ID_COPY_BLOCK));
    EXPECT_EQ(g_nCopyBlockRow, -1);
    EXPECT_NE(LastBox().find("block number 2"), std::string::npos);
}

TEST_F(Commands, TheContextMenuOffersTheBlockCommands) {
    Fill(0, "10", "H0001", "N007:000");
    std::vector<std::string> offered;
    g_NewBlockExServices.trackPopupMenu = [&](const ui::Menu& menu, int, int) {
        for (int i = 0; i < menu.GetMenuItemCount(); ++i) offered.push_back(menu.GetMenuString(i, ui::MF_BYPOSITION));
        return ID_ADD_NEW_BLOCK;
    };
    ASSERT_TRUE(List().UserRightClickCell(0, 3));
    EXPECT_EQ(offered, (std::vector<std::string>{"Add New &Block", "&Remove Block", "&Insert Block", "&Copy Block",
                                                 "&Paste Block"}));
    EXPECT_EQ(Rows(), 2);
}

TEST_F(Commands, ScrollingTakesTheOpenEditorAwayAfterItStoredItsText) {
    MakeBlocks(3);
    ASSERT_TRUE(List().UserClickCell(1, kColComment));
    ui::Control* edit = View().GetDlgItem(IDC_NEW_CELL_EDIT);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->UserType("kept"));
    ASSERT_TRUE(List().UserScrollTo(1));
    EXPECT_EQ(View().GetDlgItem(IDC_NEW_CELL_EDIT), nullptr);
    EXPECT_EQ(View().GetDlgItem(IDC_SOURCE_ADDR_BUTTON), nullptr);
    EXPECT_EQ(Cell(1, kColComment), "kept");
}

// ---------------------------------------------------------------------------------------
// Save, Save As, Close

TEST_F(Commands, SaveOfANewProjectAsksForAFileThenWritesItAndItsImages) {
    MakeBlocks(2);
    const std::string path = ProjectPath("first.prj");
    ui.AnswerFileDialog("");  // cancelled: nothing changes
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT));
    EXPECT_EQ(g_bUntitled, 1);
    EXPECT_EQ(g_bProjectModified, 1);
    ui.AnswerFileDialog(path);
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT));
    ASSERT_EQ(ui.FileDialogsShown().size(), 2u);
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_TRUE(platform::FileExists(ProjectPath("first_IDB1.hex")));
    EXPECT_TRUE(platform::FileExists(ProjectPath("first_IDB2.hex")));
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, path);
    EXPECT_EQ(g_strPrjFile, path);
    EXPECT_EQ(g_bUntitled, 0);
    EXPECT_EQ(g_bProjectSaved, 1);
    EXPECT_EQ(g_bProjectModified, 0);
    EXPECT_EQ(g_bNewBlockListEdited, 0);
    // A default register without a count of its own counts one word.
    ASSERT_FALSE(g_DefCommRegs.g_arrAttachRegWords1.empty());
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegWords1[0], "1");
    EXPECT_EQ(frame->GetWindowText(), "first.prj - Quorvex - QVX-S7");
    // The panes were derived from the blocks: one COM1 row from H0001 over both blocks.
    ASSERT_NE(g_pDBView1, nullptr);
    EXPECT_EQ(g_pDBView1->GetRows().size(), 1u);
    EXPECT_EQ(g_pDBView2->GetRows().size(), 1u);

    // A later save writes the same file without asking; an edit re-derives the panes.
    ui.ClearRecords();
    ASSERT_TRUE(Run(ID_ADD_NEW_BLOCK));
    Fill(2, "4", "H0500", "N007:100");
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT));
    EXPECT_TRUE(ui.FileDialogsShown().empty());
    EXPECT_EQ(g_bNewBlockListEdited, 0);
    EXPECT_EQ(g_pDBView1->GetRows().size(), 2u);
    EXPECT_EQ(g_bProjectModified, 0);

    // An incomplete block is not saved.
    View().SetCellText(1, kColDestAddr, " ");
    g_bProjectModified = 1;
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT));
    EXPECT_NE(LastBox().find("block number 2"), std::string::npos);
    EXPECT_EQ(g_bProjectModified, 1);
}

// A command pressed (toolbar, menu, key) while the open cell refuses its text with a message ends
// there, as a dialog button's press does: "h1_16" in a source address, then Save, Save As, Add New
// Block or Close: "Invalid Bit", the cell keeps H0001, and the command does not run.
TEST_F(Commands, ACommandPressedWhileTheOpenCellRefusesItsTextEndsThere) {
    MakeBlocks(1);
    for (const int command : {ID_FILE_SAVE_PROJECT, ID_FILE_SAVE_PROJECT_AS, ID_ADD_NEW_BLOCK, ID_FILE_CLOSE_PROJECT}) {
        SCOPED_TRACE(command);
        ui.ClearRecords();
        ASSERT_TRUE(List().UserClickCell(0, kColSourceAddr));
        ui::Control* edit = View().GetDlgItem(IDC_NEW_CELL_EDIT);
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(edit->UserType("h1_16"));
        Run(command);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].caption, "Invalid Bit");
        EXPECT_EQ(Cell(0, kColSourceAddr), "H0001");
        EXPECT_TRUE(ui.FileDialogsShown().empty());
        EXPECT_EQ(Rows(), 1);
        ASSERT_NE(g_pNewBlockExView, nullptr);
    }
}

TEST_F(Commands, SaveThatCannotWriteKeepsTheProjectUntitledAndOpen) {
    MakeBlocks(1);
    ui.AnswerFileDialog(tree.Path() + "missing/folder/x.prj");
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT));
    EXPECT_NE(LastBox().find("Unable to save the project"), std::string::npos);
    EXPECT_EQ(g_bUntitled, 1);
    EXPECT_EQ(g_bProjectSaved, 0);
    EXPECT_EQ(g_bProjectModified, 1);
    EXPECT_TRUE(g_ProjectSettings.g_strProjPath.empty());
    // Close with Yes and a path that cannot be written: the project stays open.
    ui.AnswerMessageBox(ui::IDYES, "Do you want to save project?");
    ui.AnswerFileDialog(tree.Path() + "missing/folder/y.prj");
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    EXPECT_NE(g_pNewBlockExView, nullptr);
    EXPECT_EQ(g_bProjectOpen, 1);
    EXPECT_EQ(g_bProjectModified, 1);
}

TEST_F(Commands, SaveAsWritesANewFileWithItsOwnImagesAndStamps) {
    MakeBlocks(2);
    ui.AnswerFileDialog(ProjectPath("a.prj"));
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT));
    g_ProjectSettings.g_strProjCreated = "long ago";
    ui.AnswerFileDialog(ProjectPath("b.prj"));
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT_AS));
    ASSERT_FALSE(ui.FileDialogsShown().empty());
    EXPECT_TRUE(platform::FileExists(ProjectPath("b.prj")));
    EXPECT_TRUE(platform::FileExists(ProjectPath("b_IDB1.hex")));
    EXPECT_TRUE(platform::FileExists(ProjectPath("b_IDB2.hex")));
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, ProjectPath("b.prj"));
    EXPECT_EQ(g_strPrjFileLastIo, ProjectPath("b.prj"));
    EXPECT_NE(g_ProjectSettings.g_strProjCreated, "long ago");
    EXPECT_EQ(g_bSaveAs, 1);
    EXPECT_EQ(frame->GetWindowText(), "b.prj - Quorvex - QVX-S7");
    // A failing block stops Save As without a message; the reason is in the info window.
    View().SetCellText(0, kColWords, " ");
    ui.ClearRecords();
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT_AS));
    EXPECT_TRUE(ui.FileDialogsShown().empty());
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_NE(View().GetInfoText().find("block 1"), std::string::npos);
}

TEST_F(Commands, CloseOfANewProjectAnsweredCancelNoAndYes) {
    MakeBlocks(2);
    // Cancel: the project stays as it is.
    ui.AnswerMessageBox(ui::IDCANCEL, "Do you want to save project?");
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    EXPECT_NE(g_pNewBlockExView, nullptr);
    EXPECT_EQ(g_bProjectModified, 1);
    // Yes and a cancelled file dialog: the same.
    ui.AnswerMessageBox(ui::IDYES);
    ui.AnswerFileDialog("");
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    EXPECT_NE(g_pNewBlockExView, nullptr);
    EXPECT_EQ(g_bProjectModified, 1);
    // Yes: written with its images, then the product level.
    ui.AnswerMessageBox(ui::IDYES);
    ui.AnswerFileDialog(ProjectPath("closed.prj"));
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    EXPECT_EQ(g_pNewBlockExView, nullptr);
    EXPECT_EQ(g_bProjectOpen, 0);
    EXPECT_EQ(g_nStartScreen, 1);
    EXPECT_NE(dynamic_cast<CInputView2*>(frame->GetSplitter().GetPane(0, 0)), nullptr);
    EXPECT_EQ(frame->GetMenu(), frame->StartMenu().get());
    EXPECT_TRUE(platform::FileExists(ProjectPath("closed.prj")));
    EXPECT_TRUE(platform::FileExists(ProjectPath("closed_IDB1.hex")));
    // It heads the recent projects.
    EXPECT_EQ(frame->StartMenu()->GetSubMenu(0)->GetMenuString(ID_RECENT_PROJECT1, ui::MF_BYCOMMAND),
              ProjectPath("closed.prj"));
    EXPECT_EQ(g_pDBView1->GetRows().size(), 0u);  // the panes are emptied

    // No: nothing written, the product level.
    const std::vector<std::string> files = platform::ListDirectory(ProjectPath(""));
    ConfigureS7();
    MakeBlocks(2);
    ui.AnswerMessageBox(ui::IDNO);
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    EXPECT_EQ(g_pNewBlockExView, nullptr);
    EXPECT_EQ(g_bProjectModified, 0);
    EXPECT_EQ(platform::ListDirectory(ProjectPath("")), files);
}

TEST_F(Commands, CloseOfASavedProjectAsksAgainAndWritesItsOwnFile) {
    MakeBlocks(2);
    ui.AnswerFileDialog(ProjectPath("saved.prj"));
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT));
    const std::string before = tree.Read("QVX-S7/Projects/saved.prj");
    // Unchanged: closed without a question.
    ui.ClearRecords();
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(g_pNewBlockExView, nullptr);

    frame->LoadProjectFile(ProjectPath("saved.prj"));
    ASSERT_NE(g_pNewBlockExView, nullptr);
    EXPECT_EQ(g_bProjectSaved, 1);
    ASSERT_EQ(Rows(), 2);
    // Edited, then Cancel, then No: the file stays as it was.
    Select(1);
    ASSERT_TRUE(Run(ID_COPY_BLOCK));
    List().SetItemSelected(1, false);
    ASSERT_TRUE(Run(ID_PASTE_BLOCK));
    ASSERT_EQ(Rows(), 3);
    ui.AnswerMessageBox(ui::IDCANCEL);
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    EXPECT_NE(g_pNewBlockExView, nullptr);
    // Yes: written to its own file without a dialog.
    ui.AnswerMessageBox(ui::IDYES, "Do you want to save project?");
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    EXPECT_TRUE(ui.FileDialogsShown().empty());
    EXPECT_EQ(g_pNewBlockExView, nullptr);
    EXPECT_GT(tree.Read("QVX-S7/Projects/saved.prj").size(), before.size());  // one row more
}

// ---------------------------------------------------------------------------------------
// Download and the hand-overs

TEST_F(Commands, DownloadHandsTheRowsToTheTransferDialog) {
    MakeBlocks(2);
    const BlockRows rows = View().GetBlockRows();
    bool ran = false;
    ui.ExpectModal(IDD_TRANSFER_TASKS, [&](ui::Dialog& d) {
        auto& dialog = static_cast<CTransferTasksDlg&>(d);
        ran = true;
        EXPECT_EQ(g_nTransferMode, 1);
        EXPECT_EQ(dialog.GetWindowText(), "Download");
        EXPECT_EQ(dialog.m_bUploadMode, 0);
        EXPECT_EQ(dialog.m_nOpenMode, 1);
        EXPECT_FALSE(dialog.GetDlgItem(IDC_UPLOAD_PROJECT)->IsWindowEnabled());
        ASSERT_TRUE(dialog.m_getBlockRows);
        EXPECT_EQ(dialog.m_getBlockRows(), rows);
        // The modified project's images are derived when the dialog asks for them.
        ASSERT_TRUE(dialog.m_rebuildIdbImages);
        std::array<std::string, 2> images;
        EXPECT_TRUE(dialog.m_rebuildIdbImages(images));
        EXPECT_EQ(g_pDBView1->GetRows().size(), 1u);
        // The download sends the bytes written, from memory.
        std::string written;
        platform::ReadFileBytes(platform::ResolvePath(WorkingIdbPath(g_szProductName, 1)), written);
        EXPECT_FALSE(images[0].empty());
        EXPECT_EQ(images[0], written);
        d.UserClickButton(ui::IDCANCEL);
    });
    ASSERT_TRUE(Run(ID_DOWNLOAD));
    EXPECT_TRUE(ran);
    EXPECT_EQ(g_nTransferMode, 0);
}

TEST_F(Commands, DialogsOfLaterScreensStayDisabledUntilTheyExist) {
    g_bExtendedSetup = g_bRecipesCom1 = g_bAttachRegCom2 = g_bEthernetSetting = 1;
    View().m_bShowMacAddress = 1;
    g_bCanHtmlDownload = 1;
    // The frame fills these entry points with the screens it has; without them the
    // commands stay disabled.
    for (auto* entry : {&g_NewBlockExServices.recipes, &g_NewBlockExServices.attachRegisters,
                        &g_NewBlockExServices.ethernetNodeTable, &g_NewBlockExServices.macAddress,
                        &g_NewBlockExServices.htmlDownload})
        *entry = nullptr;
    g_NewBlockExServices.plcPortSetting = nullptr;
    for (int id : {ID_PLC1_SETTING, ID_PLC2_SETTING, ID_RECIPES, ID_ATTACH_REGISTERS, ID_ETHERNET_NODE_TABLE,
                   ID_MAC_ADDRESS, ID_HTML_DOWNLOAD})
        EXPECT_FALSE(frame->QueryCommand(id).IsEnabled()) << id;
    std::vector<int> ports;
    int recipes = 0;
    g_NewBlockExServices.plcPortSetting = [&](int port) { ports.push_back(port); };
    g_NewBlockExServices.recipes = [&] { ++recipes; };
    EXPECT_TRUE(Run(ID_PLC1_SETTING));
    EXPECT_TRUE(Run(ID_PLC2_SETTING));
    EXPECT_TRUE(Run(ID_RECIPES));
    EXPECT_EQ(ports, (std::vector<int>{1, 2}));
    EXPECT_EQ(recipes, 1);
    // The enable rules of the features: recipes need extended setup and a port with them.
    g_bRecipesCom1 = g_bRecipesCom2 = 0;
    EXPECT_FALSE(frame->QueryCommand(ID_RECIPES).IsEnabled());
    g_bExtendedSetup = g_bRecipesCom2 = 1;
    EXPECT_TRUE(frame->QueryCommand(ID_RECIPES).IsEnabled());
    g_bExtendedSetup = 0;
    EXPECT_FALSE(frame->QueryCommand(ID_RECIPES).IsEnabled());
    g_bCanRunKorvo = 0;
    EXPECT_FALSE(frame->QueryCommand(ID_RUN_KORVO).IsEnabled());
}

TEST_F(Commands, ProjectInformationAndHelp) {
    ui.ExpectModal(IDD_PROJECT_INFO, [](ui::Dialog& d) { d.UserClickButton(IDC_PROJECT_INFO_CANCEL); });
    ASSERT_TRUE(Run(ID_PROJECT_INFORMATION));
    EXPECT_EQ(ui.Modals().back().templateId, IDD_PROJECT_INFO);

    std::vector<std::string> pages;
    SetHelpOpenerForTests([&](const std::string& page) {
        pages.push_back(page);
        return true;
    });
    g_szHelpTopic = "products.htm";
    View().OnHelpInfo();
    EXPECT_EQ(g_szHelpTopic, "blockoverview.htm");
    // During a transfer the transfer dialog's topic stays.
    g_szHelpTopic = "download.htm";
    g_nTransferMode = 1;
    View().OnHelpInfo();
    g_nTransferMode = 0;
    SetHelpOpenerForTests(nullptr);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(pages[0].find("blockoverview.htm"), std::string::npos);
    EXPECT_NE(pages[1].find("download.htm"), std::string::npos);
}

TEST_F(Commands, RunKorvoSavesFirstAndStartsOnlyAnUnchangedProject) {
    g_bCanRunKorvo = 1;
    MakeBlocks(1);
    g_bProjectModified = 1;  // an edit not saved yet
    std::vector<std::string> started;
    g_NewBlockExServices.startProgram = [&](const std::string& program, const std::string& folder) {
        started.push_back(folder + program);
        return true;
    };
    ui.AnswerMessageBox(ui::IDYES, "Do you want to save changes.");
    ui.AnswerFileDialog(ProjectPath("k.prj"));
    ASSERT_TRUE(Run(ID_RUN_KORVO));
    EXPECT_TRUE(platform::FileExists(ProjectPath("k.prj")));
    EXPECT_TRUE(started.empty());
    ASSERT_TRUE(Run(ID_RUN_KORVO));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], platform::GetProgramFolder() + "Korvo32.exe");
    // A program that cannot be started is said.
    g_NewBlockExServices.startProgram = [](const std::string&, const std::string&) { return false; };
    ASSERT_TRUE(Run(ID_RUN_KORVO));
    EXPECT_EQ(LastBox(), "Unable to start Korvo32.exe.");
}

// No to saving before the sibling program starts nothing and saves nothing: the edit is
// still to be saved, and closing the window asks for it.
TEST_F(Commands, RunKorvoDeclinedLeavesTheEditToBeSaved) {
    g_bCanRunKorvo = 1;
    MakeBlocks(1);
    g_bProjectModified = 1;
    std::vector<std::string> started;
    g_NewBlockExServices.startProgram = [&](const std::string& program, const std::string&) {
        started.push_back(program);
        return true;
    };
    ui.AnswerMessageBox(ui::IDNO, "Do you want to save changes.");
    ASSERT_TRUE(Run(ID_RUN_KORVO));
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(g_bProjectModified, 1);
    ui.AnswerMessageBox(ui::IDCANCEL, "Do you want to save project?");
    frame->UserClose();
    EXPECT_TRUE(frame->IsLive());
}

TEST_F(Commands, TheViewsDatabaseAndImageStepsWorkOnItsRows) {
    MakeBlocks(2);
    View().SetCellText(1, kColSourcePlc, kPlc2);  // the second block from COM2 to COM1
    View().SetCellText(1, kColSourceAddr, "N007:050");
    View().SetCellText(1, kColDestPlc, kPlc1);
    View().SetCellText(1, kColDestAddr, "R0001");
    View().FillBlockTables();
    EXPECT_EQ(g_BlockTables.m_arrCom1Address, (std::vector<std::string>{"H0001", "R0001"}));
    EXPECT_EQ(g_BlockTables.m_arrCom2Address, (std::vector<std::string>{"N007:000", "N007:050"}));
    EXPECT_EQ(View().m_anSourceKind[0], 1);  // a holding register
    EXPECT_EQ(View().m_anDestKind[1], 3);    // a read-only input register, on the destination side
    View().FillIdbViews();
    EXPECT_EQ(g_pDBView1->GetRows().size(), 2u);
    EXPECT_EQ(View().WriteProjectImage(), 0);
    std::string image;
    ASSERT_TRUE(platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), image));
    EXPECT_EQ(image.size(), kImageBlocksOffset + 2 * kNewerBlockRecordSize);
}

// ---------------------------------------------------------------------------------------
// The whole road: make, save, close, reopen from the recent list.

TEST_F(Commands, AProjectMadeSavedClosedAndReopenedFromTheRecentList) {
    MakeBlocks(3);
    View().SetCellText(2, kColSourceAddr, "H0100");
    ui.AnswerFileDialog(ProjectPath("road.prj"));
    ASSERT_TRUE(Run(ID_FILE_SAVE_PROJECT));
    const BlockRows rows = View().GetBlockRows();
    const std::vector<IdbPaneRow> pane1 = g_pDBView1->GetRows(), pane2 = g_pDBView2->GetRows();
    ASSERT_FALSE(pane1.empty());
    ASSERT_FALSE(pane2.empty());
    ASSERT_TRUE(Run(ID_FILE_CLOSE_PROJECT));
    ASSERT_EQ(g_pNewBlockExView, nullptr);
    EXPECT_TRUE(g_pDBView1->GetRows().empty());

    // The engineer picks the product again and opens the first recent project.
    PickProduct();
    ASSERT_TRUE(Run(ID_RECENT_PROJECT1));
    ASSERT_NE(g_pNewBlockExView, nullptr);
    EXPECT_TRUE(ui.MessageBoxes().empty()) << LastBox();
    const BlockRows back = View().GetBlockRows();
    ASSERT_EQ(back.size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c : {kColSourcePlc, kColSourceId, kColSourceAddr, kColDestPlc, kColDestId, kColDestAddr, kColComment})
            EXPECT_EQ(back[r][size_t(c)], rows[r][size_t(c)]) << r << "," << c;
    EXPECT_EQ(g_pDBView1->GetRows(), pane1);
    EXPECT_EQ(g_pDBView2->GetRows(), pane2);
    EXPECT_EQ(frame->GetWindowText(), "road.prj - Quorvex - QVX-S7");
    EXPECT_EQ(g_bProjectModified, 0);
}

}  // namespace
