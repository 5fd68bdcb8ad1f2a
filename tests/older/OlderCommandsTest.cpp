// The older block list's block commands and saves, on the list in a window of its own.
#include "OlderFixture.h"

#include "projectfiles/OlderProjectFile.h"
#include "platform/Paths.h"
#include "res/FrameResource.h"
#include "res/StringTable.h"

namespace {

using Cells = std::vector<std::string>;

const char kCompileError1[] =
    "Error found while compiling block number 1. Please correct the error. See the details on the error in the status "
    "message window.";
const char kSelection[] = "Please select row and then click in the first column before any block operation.";

class OlderCommands : public OlderTest {
protected:
    void SetUp() override {
        OlderTest::SetUp();
        Configure("101", "102");
        Open();
        g_bProjectOpen = 1;
    }
    void Select(std::initializer_list<int> rows) {
        for (int r = 0; r < List().GetItemCount(); ++r) List().SetItemSelected(r, false);
        for (int r : rows) List().SetItemSelected(r, true);
    }
    std::string LastBox() const { return ui.MessageBoxes().empty() ? "" : ui.MessageBoxes().back().text; }
};

TEST_F(OlderCommands, AddNewBlockChecksTheBlocksAndStopsAt255) {
    ui.AnswerMessageBox(ui::IDOK, kCompileError1);  // the default block names no PLC yet
    view->OnAddNewBlock();
    EXPECT_EQ(view->m_nBlockCount, 1);

    FillRow(0);
    view->OnAddNewBlock();
    ASSERT_EQ(view->m_nBlockCount, 2);
    EXPECT_EQ(Row(1), (Cells{"2", "1", " ", "1", " ", " ", "1", " ", "1", ""}));
    EXPECT_EQ(g_nBlockEditRow, 1);
    EXPECT_EQ(g_bBlockListEdited, 0);
    const ui::Rect button = view->GetDlgItem(IDC_SOURCE_ADDR_BUTTON)->GetRect();
    const ui::Rect cell = view->ControlToWindow(List(), List().GetSubItemRect(1, kOlderColSourceAddr));
    EXPECT_EQ(button.top, cell.top);

    // At 255 blocks the range message comes even when a block is wrong.
    while (view->m_nBlockCount < 255) view->AddDefaultRow();
    ui.AnswerMessageBox(ui::IDOK, "Block out of range.\nValid Range : 0 to 255");
    view->OnAddNewBlock();
    EXPECT_EQ(view->m_nBlockCount, 255);
}

TEST_F(OlderCommands, InsertAndRemoveNumberTheRowsAnew) {
    FillRow(0);
    for (int i = 1; i < 4; ++i) {
        view->OnAddNewBlock();
        FillRow(i);
        view->SetCellText(i, kOlderColComment, "row" + std::to_string(i));
    }
    view->OnInsertBlock();
    EXPECT_EQ(host.LastInfo(), kSelection);
    Select({1, 2});
    view->OnInsertBlock();  // one row, above the lower one
    ASSERT_EQ(view->m_nBlockCount, 5);
    EXPECT_EQ(Cell(2, kOlderColSourcePlc), " ");
    EXPECT_EQ(Cell(3, kOlderColComment), "row2");
    for (int r = 0; r < 5; ++r) EXPECT_EQ(Cell(r, kOlderColBlockNo), std::to_string(r + 1));

    Select({0, 2, 4});
    view->OnRemoveBlock();
    ASSERT_EQ(view->m_nBlockCount, 2);
    EXPECT_EQ(Cell(0, kOlderColComment), "row1");
    EXPECT_EQ(Cell(1, kOlderColComment), "row2");
    EXPECT_EQ(Cell(1, kOlderColBlockNo), "2");
    EXPECT_EQ(g_bBlockListEdited, 1);
    EXPECT_NE(view->GetDlgItem(IDC_SOURCE_ADDR_BUTTON), nullptr);
    Select({0, 1});
    view->OnRemoveBlock();  // every row: no buttons are left
    EXPECT_EQ(view->m_nBlockCount, 0);
    EXPECT_EQ(view->GetDlgItem(IDC_SOURCE_ADDR_BUTTON), nullptr);
}

TEST_F(OlderCommands, CopyAndPasteKeepTheTargetsNumberAndComment) {
    ui.AnswerMessageBox(ui::IDOK, LoadString(IDS_COPY_BEFORE_PASTE));
    view->OnPasteBlock();
    FillRow(0);
    view->SetCellText(0, kOlderColSourceId, "7");
    view->OnAddNewBlock();
    FillRow(1);
    view->SetCellText(1, kOlderColComment, "target");
    view->OnCopyBlock();
    EXPECT_EQ(host.LastInfo(), kSelection);
    Select({0});
    view->OnCopyBlock();
    EXPECT_EQ(g_nCopyRow, 0);
    Select({1});
    view->OnPasteBlock();
    EXPECT_EQ(Cell(1, kOlderColSourceId), "7");
    EXPECT_EQ(Cell(1, kOlderColBlockNo), "2");
    EXPECT_EQ(Cell(1, kOlderColComment), "target");
    // Without a selection the copy is appended with an empty comment.
    Select({});
    g_bBlockListEdited = 0;
    view->OnPasteBlock();
    ASSERT_EQ(view->m_nBlockCount, 3);
    EXPECT_EQ(Row(2), (Cells{"3", "1", kModbus, "7", "H0001", kDf1, "1", "N007:000", "1", ""}));
    EXPECT_EQ(g_bBlockListEdited, 0);
}

TEST_F(OlderCommands, SaveOfANewProjectAsksForAFileAndSaveAsStampsBothDates) {
    ui.AnswerMessageBox(ui::IDOK, kCompileError1);
    view->OnFileSave();
    FillRow(0);
    const std::string path = tree.Path() + "QVX-00/Projects/first.prj";
    g_ProjectSettings.g_strProjCreated = "created before";
    g_ProjectSettings.g_strProjModified = "modified before";
    g_ProjectSettings.g_nProjFileVersion = 2;
    g_bBlockListEdited = 1;
    ui.AnswerFileDialog(path);
    view->OnFileSave();
    EXPECT_EQ(g_bBlockExUntitled, 0);
    EXPECT_EQ(g_bBlockExSaved, 1);
    EXPECT_EQ(g_bBlockListEdited, 0);
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, path);
    EXPECT_EQ(g_ProjectSettings.g_strProjCreated, "created before");
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes.size(), 300u + 150u + 800u);

    const std::string other = tree.Path() + "QVX-00/Projects/second.prj";
    ui.AnswerFileDialog(other);
    view->OnFileSaveAs();
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, other);
    EXPECT_EQ(g_ProjectSettings.g_strProjCreated, g_ProjectSettings.g_strProjModified);
    EXPECT_NE(g_ProjectSettings.g_strProjCreated, "created before");

    // Save As of a wrong block stops without a word.
    view->SetCellText(0, kOlderColSourcePlc, " ");
    const size_t boxes = ui.MessageBoxes().size();
    view->OnFileSaveAs();
    EXPECT_EQ(ui.MessageBoxes().size(), boxes);
}

TEST_F(OlderCommands, AFailedSaveLeavesTheProjectNewAndEdited) {
    FillRow(0);
    g_bBlockListEdited = 1;
    ui.AnswerFileDialog(tree.Path() + "no such folder/x.prj");
    ui.AnswerMessageBox(ui::IDOK);
    view->OnFileSave();
    EXPECT_NE(LastBox().find("Unable to save the project"), std::string::npos);
    EXPECT_EQ(g_bBlockExUntitled, 1);
    EXPECT_EQ(g_bBlockExSaved, 0);
    EXPECT_EQ(g_bBlockListEdited, 1);
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, "");
}

TEST_F(OlderCommands, DownloadIsEnabledAndPortSettingsFollowTheirScreen) {
    EXPECT_TRUE(frame->QueryCommand(ID_DOWNLOAD).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(ID_PLC1_SETTING).IsEnabled());
    int asked = 0;
    g_NewBlockExServices.plcPortSetting = [&asked](int port) { asked = port; };
    EXPECT_TRUE(frame->QueryCommand(ID_PLC2_SETTING).IsEnabled());
    ASSERT_TRUE(frame->OnCommand(ID_PLC2_SETTING));
    EXPECT_EQ(asked, 2);
    g_nDeviceId = g_nDeviceIdAlt = 84;  // the three-port product has no PLC1 setting here
    asked = 0;
    view->OnPlc1Setting();
    EXPECT_EQ(asked, 0);
}

}  // namespace
