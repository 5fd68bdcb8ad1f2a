// Start-up of the application: switches, settings, the current product.
#include <gtest/gtest.h>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "app/QuorvexApp.h"
#include "model/RunTimeState.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "res/ShellResource.h"

namespace {

class Startup : public testing::Test {
protected:
    Startup() { ui::AppProfile::SetConfigFolderForTests(config.Path() + "quorvex"); }
    ~Startup() override { ui::AppProfile::SetConfigFolderForTests(""); }
    void SetRecent(const std::string& prj1) {
        const std::string inf = tree.Path() + "Products/products.inf";
        platform::WritePrivateProfileString("ProjectFile", "ProjectCount", "1", inf);
        platform::WritePrivateProfileString("ProjectFile", "Prj1", prj1, inf);
    }
    testsupport::SampleTree tree;
    testsupport::TempDir config;
    testsupport::HeadlessUi ui;
    CQuorvexApp app;
};

TEST_F(Startup, EmbeddingAndAutomationEndAtOnceWithCodeZero) {
    for (const char* sw : {"-Embedding", "/automation", "/EMBEDDING"}) {
        g_szProductName = "untouched";
        EXPECT_FALSE(app.InitInstance({sw})) << sw;
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_EQ(g_szProductName, "untouched");  // nothing else ran
    }
    EXPECT_TRUE(ui.Modals().empty());
}

TEST_F(Startup, ServerSwitchesRecordTheRegistrationAndEnd) {
    EXPECT_FALSE(app.InitInstance({"/RegServer"}));
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(app.m_bATLInited, 0);
    const std::string settings = config.Path() + "quorvex/Quorvex.ini";
    EXPECT_EQ(platform::GetPrivateProfileString("AppID", "Quorvex", "", 200, settings),
              "Quorvex Setup Software");
    EXPECT_FALSE(app.InitInstance({"-unregserver"}));  // case does not matter
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(platform::GetPrivateProfileString("AppID", "Quorvex", "gone", 200, settings), "gone");
    // A word that is not a switch is no switch.
    EXPECT_FALSE(CQuorvexApp::ParseCommandLine({"RegServer", "-RegServers"}).regServer);
}

TEST_F(Startup, TheMostRecentProjectNamesTheProduct) {
    SetRecent("C:\\Program Files\\Quorvex\\QVX-S8\\Projects\\plant.prj");
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(g_szProductName, "QVX-S8");
    EXPECT_EQ(g_szProductNameCopy, "QVX-S8");
    EXPECT_TRUE(ui.Modals().empty());  // start-up itself shows nothing
    // Wherever the folder stands, with either separator, of any length.
    EXPECT_EQ(ProductFromProjectPath(tree.Path() + "Zava Dorazuduvoz/Projects/a.prj"), "Zava Dorazuduvoz");
    EXPECT_EQ(ProductFromProjectPath("QVX-00\\Projects\\a.prj"), "QVX-00");
    EXPECT_EQ(ProductFromProjectPath("D:\\x\\" + std::string(80, 'P') + "\\projects\\a.prj"),
              std::string(80, 'P'));
    EXPECT_EQ(ProductFromProjectPath("D:\\Projects.prj"), "");
    EXPECT_EQ(ProductFromProjectPath("\\Projects\\a.prj"), "");
}

// A recent-list replacement a killed program left is removed at start-up.
TEST_F(Startup, ALeftoverOfTheRecentListIsRemoved) {
    tree.Write("Products/products.inf.saving", "killed");
    tree.Write("Products/products.inf.41x2.saving", "killed");
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_FALSE(platform::FileExists(tree.Path() + "Products/products.inf.saving"));
    EXPECT_FALSE(platform::FileExists(tree.Path() + "Products/products.inf.41x2.saving"));
}

TEST_F(Startup, WithoutAUsableRecentProjectTheFirstProductWithAFolderIsTaken) {
    // Product1 has no folder in this tree: the next one is taken.
    const std::string inf = tree.Path() + "Products/products.inf";
    platform::WritePrivateProfileString("ProductList", "Product1", "QVX-GONE", inf);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(g_szProductName, "QVX-S7");
    // A recent project outside any product's Projects folder, or of a product whose
    // folder is gone, does not leave the program without a product.
    SetRecent("/home/user/elsewhere/plant.prj");
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(g_szProductName, "QVX-S7");
    SetRecent("C:\\Quorvex\\QVX-GONE\\Projects\\plant.prj");
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(g_szProductName, "QVX-S7");
}

TEST_F(Startup, LongProductNamesAndPathsAreReadWhole) {
    const std::string name(150, 'N');
    platform::MakeDirectories(tree.Path() + name + "/Projects");
    SetRecent(tree.Path() + name + "/Projects/" + std::string(300, 'f') + ".prj");
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(g_szProductName, name);
}

TEST_F(Startup, WithoutACatalogueNoProductIsChosen) {
    std::remove((tree.Path() + "Products/products.inf").c_str());
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(g_szProductName, "");
    EXPECT_EQ(g_szProductPath, "");
}

TEST_F(Startup, RecentFilesComeFromTheSettingsFileAndGoBackAtExit) {
    ui::AppProfile p;
    p.WriteProfileString("Recent File List", "File1", "/a/one.prj");
    p.WriteProfileString("Recent File List", "File2", "/a/two.prj");
    p.WriteProfileString("Recent File List", "File5", "/a/five.prj");  // beyond the four
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(app.m_profile.RecentFiles(), (std::vector<std::string>{"/a/one.prj", "/a/two.prj"}));
    app.m_profile.AddToRecentFileList("/a/two.prj");
    app.ExitInstance();
    ui::AppProfile again;
    again.LoadStdProfileSettings(4);
    EXPECT_EQ(again.RecentFiles(), (std::vector<std::string>{"/a/two.prj", "/a/one.prj"}));
}

TEST_F(Startup, AFailingMainWindowEndsTheProgram) {
    app.m_pfnCreateMainWindow = [] { return false; };
    EXPECT_FALSE(app.InitInstance({}));
    EXPECT_NE(app.ExitInstance(), 0);
}

TEST_F(Startup, TheAboutCommandRunsTheAboutBox) {
    ui.ExpectModal(IDD_ABOUTBOX, [](ui::Dialog& d) { d.UserClickButton(ui::IDOK); });
    EXPECT_TRUE(app.OnCommand(ID_APP_ABOUT));
    ASSERT_EQ(ui.Modals().size(), 1u);
    EXPECT_EQ(ui.Modals()[0].result, ui::IDOK);
}

}  // namespace
