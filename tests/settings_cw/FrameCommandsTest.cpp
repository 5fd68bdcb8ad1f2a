// The frame's "Control Word Setting..." and "Error Indication Bit Setting..." on a newer
// project of the sample tree (QVX-S7: Modbus RTU Master on COM1, DF1 Full Duplex on
// COM2): the dialog they open, and a confirmed control word that the next save carries
// into the COM1 internal-database pane.
#include <gtest/gtest.h>

#include <memory>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "model/BlockRows.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "res/FrameResource.h"
#include "res/SettingsResource.h"
#include "settings/ControlWordExDlg.h"
#include "tables/DBViewClass1.h"

namespace {

ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
    }
    return 0;
}

class ControlWordCommands : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override {
        g_bProjectModified = g_bProjectSaved = g_bUntitled = 0;
        g_bNewBlockListEdited = g_bCtrlWordDlgOK = g_bCtrlWordConfirmed = 0;
        g_bSlaveMode = 0;
        g_strPrjFile.clear();
        g_ProjectSettings = CProjectSettings();
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->LoadFrame());
        frame->SetClientArea(1200, 800);
        frame->GoToProductLevel();
        auto* products = dynamic_cast<CInputView2*>(frame->GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-S7")));
        auto* com1 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 1));
        ASSERT_NE(com1, nullptr);
        ASSERT_NE(com2, nullptr);
        ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")));
        ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), "DF1 Full Duplex")));
        ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
        ASSERT_NE(g_pNewBlockExView, nullptr);
    }
    void TearDown() override {
        frame.reset();
        g_PlcRegisterTables.ResetProject();
        g_szProductName.clear();
    }
};

TEST_F(ControlWordCommands, ConfirmedControlWordReachesTheDatabasePaneOnSave) {
    // One complete block, so that the project saves.
    const std::string cells[] = {"", "10", "Modbus RTU Master", "1", "H0001", "DF1 Full Duplex", "2",
                                 "N007:000", "5", "", ""};
    for (int c = 1; c < kBlockListColumns; ++c)
        if (c != kColControlBit) g_pNewBlockExView->SetCellText(0, c, cells[c]);

    ui.ExpectModal(IDD_CONTROL_WORD_EX, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Control Word Setting");
        auto& list = d.Item<ui::ListControl>(IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(list.GetLBText(list.GetCurSel()), "Holding Register");
        EXPECT_EQ(list.GetCount(), 1);
        d.Item(IDC_CW_PLC1_NUMBER).UserType("500");
        d.UserClickButton(IDC_CW_ENABLE1);
        d.Item(IDC_CW_STATION_ID).UserType("3");
        d.Item(IDC_CW_WORDS).UserType("2");
        d.UserClickButton(IDC_CW_OK);
    });
    ASSERT_TRUE(frame->UserCommand(ID_CONTROL_WORD_SETTING));
    EXPECT_EQ(g_ProjectSettings.g_strCtrlWordAddr, "H0500");
    EXPECT_EQ(g_ProjectSettings.g_strCtrlWordShown, "H0500");
    EXPECT_EQ(g_bCtrlWordDlgOK, 1);
    EXPECT_EQ(g_bCtrlWordConfirmed, 1);

    ui.AnswerFileDialog(tree.Path() + "QVX-S7/Projects/word.prj");
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    EXPECT_EQ(g_bCtrlWordDlgOK, 0);  // taken up by the save
    ASSERT_NE(g_pDBView1, nullptr);
    bool found = false;
    for (const IdbPaneRow& row : g_pDBView1->GetRows())
        for (const std::string& cell : row) found = found || cell == "H0500";
    EXPECT_TRUE(found) << "the control word's row in the COM1 pane";

    // Error bits: the same dialog in its other mode; Esc leaves everything.
    ui.ExpectModal(IDD_CONTROL_WORD_EX, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Error Indication Bit Setting");
        d.UserPressEscape();
    });
    ASSERT_TRUE(frame->UserCommand(ID_ERROR_BIT_SETTING));
    EXPECT_EQ(g_ProjectSettings.g_strErrBitAddr1, "");
}

}  // namespace
