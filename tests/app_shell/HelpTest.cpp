// Help pages of the current topic.
#include <gtest/gtest.h>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "app/QuorvexApp.h"
#include "model/RunTimeState.h"
#include "app/ShellHelp.h"
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

}  // namespace
