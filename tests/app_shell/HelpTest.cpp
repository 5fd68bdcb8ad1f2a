// Help pages of the current topic.
#include <gtest/gtest.h>

#include "../../tools/common/S7ProjectLevel.h"
#include "HeadlessUi.h"
#include "TestSupport.h"
#include "app/QuorvexApp.h"
#include "model/RunTimeState.h"
#include "app/ShellHelp.h"
#include "plc/PlcRegisterTables.h"
#include "res/PortSettingsResource.h"
#include "res/TablesResource.h"
#include "ui/Backend.h"

namespace {

class Help : public testing::Test {
protected:
    Help() {
        ui::AppProfile::SetConfigFolderForTests(config.Path());
        SetHelpOpenerForTests([this](const std::string& page) {
            opened.push_back(page);
            return openerWorks;
        });
    }
    ~Help() override {
        SetHelpOpenerForTests(nullptr);
        ui::SetHelpHandler(nullptr);
        ui::AppProfile::SetConfigFolderForTests("");
    }
    testsupport::SampleTree tree;
    testsupport::TempDir config;
    testsupport::HeadlessUi ui;
    std::vector<std::string> opened;
    bool openerWorks = true;
};

TEST_F(Help, F1OpensThePageOfTheCurrentTopicFoundWithoutRegardToCase) {
    CQuorvexApp app;
    ASSERT_TRUE(app.InitInstance({}));
    g_szHelpTopic = "INDEX.HTM";
    ui::ShowHelp();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], tree.Path() + "Help/index.htm");
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(Help, AMissingPageOrAFailingOpenerIsReported) {
    EXPECT_FALSE(OpenHelpTopic("nosuchpage.htm"));
    EXPECT_FALSE(OpenHelpTopic(""));
    EXPECT_TRUE(opened.empty());
    openerWorks = false;
    EXPECT_FALSE(OpenHelpTopic("index.htm"));
    ASSERT_EQ(ui.MessageBoxes().size(), 3u);
    EXPECT_NE(ui.MessageBoxes()[0].text.find("\"nosuchpage.htm\" is not installed"), std::string::npos);
    EXPECT_NE(ui.MessageBoxes()[2].text.find("could not be opened"), std::string::npos);
}

// A project opened from the recent list: F1 in Recipes, Default Communication Registers and
// PLC Advance Setting shows the page of the block list they belong to, not the contents alone.
TEST_F(Help, TheBlockListsSettingsShowItsPageAfterARecentOpen) {
    {
        CMainFrame frame;
        ASSERT_TRUE(frame.LoadFrame());
        frame.SetClientArea(1200, 800);
        frame.GoToProductLevel();
        ASSERT_TRUE(toolsupport::OpenS7ProjectLevel(frame));
        toolsupport::FillFirstBlock("help");
        ui.AnswerFileDialog(tree.Path() + "QVX-S7/Projects/help.prj");
        ASSERT_TRUE(frame.UserCommand(ID_FILE_SAVE_PROJECT));
        ASSERT_TRUE(frame.UserCommand(ID_FILE_CLOSE_PROJECT));
        auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(toolsupport::FindTreeItem(*products->Tree(), "QVX-S7")));
        ASSERT_TRUE(frame.UserCommand(ID_RECENT_PROJECT1));
        ASSERT_NE(g_pNewBlockExView, nullptr);
        const std::pair<int, int> screens[] = {
            {ID_RECIPES, IDD_RECIPE}, {ID_ATTACH_REGISTERS, IDD_DEF_COMM_REG}, {ID_PLC_ADVANCE_SETTING, IDD_PLC_ADVANCE_SETTING}};
        for (const auto& [command, dialog] : screens) {
            SCOPED_TRACE(dialog);
            opened.clear();
            ui.ExpectModal(dialog, [](ui::Dialog& d) {
                d.UserKey(d.GetFocus(), ui::VK_F1);
                d.UserPressEscape();
            });
            ASSERT_TRUE(frame.UserCommand(command));
            EXPECT_EQ(opened, std::vector<std::string>{tree.Path() + "Help/blockoverview.htm"});
        }
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    }
    g_PlcRegisterTables.ResetProject();
    g_szProductName.clear();
}

}  // namespace
