// The shell's dialogs shown by the Qt binding offscreen, saved as PNG images for a
// person to look at (build folder: tests/qt_shell/screenshots), and the program itself
// started on the sample tree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <QTextBrowser>
#include <cstdlib>
#include <cstdio>

#include "TestSupport.h"
#include "app/AboutDlg.h"
#include "app/ShellHelp.h"
#include "app/ProjectInfoDlg.h"
#include "model/ProjectSettings.h"
#include "app/RefreshDlg.h"
#include "model/RunTimeState.h"
#include "app/SplashDlg.h"
#include "app/VersionMismatchDlg.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/ShellResource.h"

namespace {

// Counts pixels far darker than the background (text) and distinct colours.
struct ImageStats {
    int dark = 0;
    int colours = 0;
    int width = 0, height = 0;
};

ImageStats Stats(const std::string& path) {
    ImageStats s;
    QImage img(QString::fromStdString(path));
    if (img.isNull()) return s;
    s.width = img.width();
    s.height = img.height();
    QSet<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb px = img.pixel(x, y);
            if (qGray(px) < 90) ++s.dark;
            if (seen.size() < 1000) seen.insert(px);
        }
    s.colours = int(seen.size());
    return s;
}

std::string ShotDir(const char* sub) {
    const std::string dir = std::string(QUORVEX_SHOT_DIR) + "/" + sub;
    QDir(QString::fromStdString(dir)).removeRecursively();
    return dir;
}

class ShellScreens : public testing::Test {
protected:
    ShellScreens() { ui::SetBackend(&backend); }
    ~ShellScreens() override { ui::SetBackend(nullptr); }
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
};

TEST_F(ShellScreens, EveryShellDialogIsShownWithItsTexts) {
    backend.SetScreenshotFolder(ShotDir("dialogs"));
    backend.SetMessageBoxHook([](const std::string&, const std::string&, unsigned) { return ui::IDOK; });

    backend.SetShownHook([](ui::Dialog& d) { d.UserClickButton(ui::IDOK); });
    EXPECT_EQ(CAboutDlg().DoModal(), ui::IDOK);

    backend.SetShownHook([](ui::Dialog& d) { d.UserMouseDown(10, 10); });
    EXPECT_EQ(CSplashDlg().DoModal(), ui::IDOK);

    backend.SetShownHook(nullptr);
    EXPECT_EQ(CRefreshDlg().DoModal(), 0);  // shows nothing

    g_PlcRegisterTables.g_strPLC1Name = "Modbus RTU Master";
    g_PlcRegisterTables.g_strPlc1Section = "Generic";
    g_PlcRegisterTables.g_strPLC2Name = "DF1 Slave";
    g_PlcRegisterTables.g_strPlc2Section = "SLC 5/03";
    g_ProjectSettings.g_strProjPath = tree.Path() + "QVX-S7/Projects/plant.prj";
    g_ProjectSettings.g_strProjAuthor = "A. Engineer";
    g_ProjectSettings.g_strProjTitle = "Packing line 3";
    g_ProjectSettings.g_strProjDescription = "Press shop gateway\r\nSecond line of the description";
    g_ProjectSettings.g_strProjCreated = "Monday, March 02, 2026, 09:15:00 AM";
    g_ProjectSettings.g_strProjModified = "Tuesday, March 03, 2026, 10:00:00 AM";
    backend.SetShownHook([](ui::Dialog& d) { d.UserClickButton(IDC_PROJECT_INFO_CANCEL); });
    EXPECT_EQ(CProjectInfoDlg().DoModal(), ui::IDCANCEL);

    backend.SetShownHook([](ui::Dialog& d) {
        d.UserClickButton(ui::IDOK);  // nothing chosen: the message, the dialog stays
        EXPECT_FALSE(d.IsEnded());
        QWidget* top = QApplication::activeModalWidget();
        ASSERT_NE(top, nullptr);
        auto* list = top->findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        const QPoint at = list->visualItemRect(list->item(2)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        if (!d.IsEnded()) {
            ADD_FAILURE() << "the double click did not choose; selected: "
                          << d.Item<ui::ListBox>(IDC_PRODUCT_LIST).GetCurSel();
            d.UserClose();
        }
    });
    EXPECT_EQ(CVersionMismatchDlg().DoModal(), ui::IDOK);
    EXPECT_EQ(g_szVersionProduct, "QVX-S8");

    const auto& shots = backend.Screenshots();
    ASSERT_EQ(shots.size(), 5u);  // about, splash, project info, version mismatch, its message
    for (const std::string& shot : shots) {
        const ImageStats s = Stats(shot);
        EXPECT_GT(s.width, 100) << shot;
        if (shot.find("dialog-202") != std::string::npos) EXPECT_GT(s.colours, 50) << shot;
        else EXPECT_GT(s.dark, 100) << shot << ": no text drawn";
    }
}

// Help on a machine with no desktop opener: the page in the program's own help window,
// whose links lead to the other pages; a missing page or a failing opener says so.
TEST_F(ShellScreens, HelpOpensInItsOwnWindowAndSaysWhatFails) {
    std::vector<std::string> boxes;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        boxes.push_back(text);
        return ui::IDOK;
    });
    unsetenv("QUORVEX_HELP_OPENER");
    ASSERT_TRUE(OpenHelpTopic("index.htm"));
    QApplication::processEvents();
    QTextBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            if (auto* b = w->findChild<QTextBrowser*>()) browser = b;
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("index.htm"));
    EXPECT_FALSE(browser->toPlainText().isEmpty());
    EXPECT_TRUE(browser->window()->grab().save(QString::fromStdString(std::string(QUORVEX_SHOT_DIR) + "/help-window.png")));
    ASSERT_TRUE(OpenHelpTopic("products.htm"));  // the same window, the next topic
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("products.htm"));
    EXPECT_TRUE(boxes.empty());

    EXPECT_FALSE(OpenHelpTopic("nosuch.htm"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("\"nosuch.htm\" is not installed"), std::string::npos);
    setenv("QUORVEX_HELP_OPENER", "/nonexistent/opener", 1);
    EXPECT_FALSE(OpenHelpTopic("index.htm"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].find("could not be opened"), std::string::npos);
    unsetenv("QUORVEX_HELP_OPENER");
}

TEST(Program, StartsOnTheSampleTreeShowsTheSplashAndTheProductLevel) {
    testsupport::SampleTree tree;
    testsupport::TempDir config;
    const std::string dir = ShotDir("program");
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUORVEX_HOME", QString::fromStdString(tree.Path()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QUORVEX_SCREENSHOT_DIR", QString::fromStdString(dir));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.Path()));
    program.setProcessEnvironment(env);
    program.start(QUORVEX_PROGRAM, {});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QStringList pngs = QDir(QString::fromStdString(dir)).entryList({"*.png"}, QDir::Files, QDir::Name);
    ASSERT_EQ(pngs.size(), 2) << pngs.join(", ").toStdString();
    EXPECT_TRUE(pngs[0].contains("dialog-202"));
    EXPECT_TRUE(pngs[1].contains("frame-product-level"));
    EXPECT_GT(Stats(dir + "/" + pngs[1].toStdString()).dark, 100);

    // Started embedded it ends at once, showing nothing.
    QProcess embedded;
    embedded.setProcessEnvironment(env);
    embedded.start(QUORVEX_PROGRAM, {"-Embedding"});
    ASSERT_TRUE(embedded.waitForFinished(10000));
    EXPECT_EQ(embedded.exitCode(), 0);
    EXPECT_EQ(QDir(QString::fromStdString(dir)).entryList({"*.png"}, QDir::Files).size(), 2);
}

}  // namespace
