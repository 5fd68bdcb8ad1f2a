// Hostile and damaged outside files on the real start-up and open paths: each case runs
// in a child process of its own, which must end by itself (a message or a refusal)
// within two seconds and without growing by 100 MB; an abort, a hang or a crash fails.
#include "model/ExtendedTables.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "app/QuorvexApp.h"
#include "model/RunTimeState.h"
#include "app/SplashDlg.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "ui/AppProfile.h"
#include "res/FrameResource.h"
#include "TestSupport.h"
#include "ui/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void WriteRaw(const std::string& path, const std::string& bytes) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
    }
    return 0;
}

class Hostile : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::TempDir config;
    const std::string prj = "QVX-S7/Projects/line.prj";

    void SetUp() override {
        platform::SetProgramFolder(tree.Path());
        ui::AppProfile::SetConfigFolderForTests(config.Path() + "quorvex");
        // A sound project with feature sections and both internal-database files, and the
        // recent list naming it: the last project of the next start.
        Child([&] {
            CMainFrame& frame = ProjectLevel();
            if (!frame.Services().saveProject(true, tree.Path() + prj)) _exit(5);
        });
        const std::string inf = tree.Path() + "Products/products.inf";
        platform::WritePrivateProfileStrings("ProjectFile", {{"ProjectCount", "1"}, {"Prj1", tree.Path() + prj}}, inf);
    }
    void TearDown() override { ui::AppProfile::SetConfigFolderForTests(""); }

    // The start: settings, the product from the last project, the main window, the
    // product level.
    static CMainFrame& Start() {
        static CQuorvexApp app;
        app.InitInstance({});
        static CMainFrame frame;
        frame.LoadFrame();
        frame.GoToProductLevel();
        return frame;
    }
    static CMainFrame& ProjectLevel() {
        CMainFrame& frame = Start();
        g_szProductName = g_szProductNameCopy = g_szProductPath = "QVX-S7";
        g_nDeviceId = g_nDeviceIdAlt = 82;
        frame.GoToProtocolLevel();
        auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
        if (com1 && com2 && com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")) &&
            com2->Tree()->UserSelect(Find(*com2->Tree(), "Compact Series")))
            frame.UserCommand(ID_CONFIGURE_PROJECT);
        return frame;
    }
    void OpenLast() {
        CMainFrame& frame = ProjectLevel();
        frame.UserCommand(ID_RECENT_PROJECT1);
    }

#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed memory aside (a 256 MB quarantine) instead of reusing it,
    // so a reader that parses a file many times grows in that build without holding more.
    static constexpr long kGrowthLimitKb = (100 + 256) * 1024;
#else
    static constexpr long kGrowthLimitKb = 100 * 1024;
#endif
    // Runs the step in a child process with every window answered headless; the child
    // must end by itself within 2 s, without growing by 100 MB.
    void Child(const std::function<void()>& step) {
        fflush(nullptr);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            alarm(2);
            struct rusage before;
            getrusage(RUSAGE_SELF, &before);
            ui::HeadlessBackend backend;
            backend.SetFailureHandler([](const std::string&) {});
            backend.Install();
            step();
            struct rusage after;
            getrusage(RUSAGE_SELF, &after);
            _exit(after.ru_maxrss - before.ru_maxrss > kGrowthLimitKb ? 3 : 0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        if (WIFSIGNALED(status)) {
            ADD_FAILURE() << (WTERMSIG(status) == SIGALRM ? "still running after 2 s" : "ended by signal ")
                          << WTERMSIG(status);
        } else {
            EXPECT_EQ(WEXITSTATUS(status), 0) << (WEXITSTATUS(status) == 3 ? "grew by more than 100 MB" : "failed");
        }
    }
    void Replace(const std::string& relative, const std::function<void(const std::string&)>& make) {
        const std::string path = tree.Path() + relative;
        std::remove(path.c_str());
        make(path);
    }
    static void Directory(const std::string& path) { mkdir(path.c_str(), 0755); }
    static void Fifo(const std::string& path) { mkfifo(path.c_str(), 0644); }
    static void DevZero(const std::string& path) { symlink("/dev/zero", path.c_str()); }
    static void Huge(const std::string& path) {
        WriteRaw(path, "[ProductList]\r\n");
        truncate(path.c_str(), 64 << 20);  // sparse: 64 MB of nothing
    }
};

TEST_F(Hostile, NoOutsideFileInPlaceOfADefinitionFileStopsTheStart) {
    // The sound tree opens the last project with nothing to say.
    Child([&] {
        OpenLast();
        if (g_ProjectSettings.g_strProjPath != tree.Path() + prj ||
            !static_cast<ui::HeadlessBackend&>(ui::GetBackend()).MessageBoxes().empty())
            _exit(8);
    });
    for (const char* file : {"Products/products.inf", "Products/ToolTips.inf", "QVX-S7/Data/data.inf",
                             "QVX-S7/Plc/10100_004.inf", "QVX-S7/Projects/line_IDB1.hex"}) {
        for (auto make : {Directory, Fifo, DevZero, Huge}) {
            SCOPED_TRACE(file);
            const std::string keep = tree.Read(file);
            Replace(file, make);
            Child([&] { OpenLast(); });
            Replace(file, [&](const std::string& path) { WriteRaw(path, keep); });
        }
    }
}

TEST_F(Hostile, NoOutsideFileInPlaceOfTheLastProjectOrTheSplashStopsTheStart) {
    for (auto make : {Directory, Fifo, DevZero, Huge}) {
        Replace(prj, make);
        Child([&] { OpenLast(); });
        Replace("Images/SplashScreen.bmp", make);
        Child([&] {
            CSplashDlg splash;
            splash.DoModal();
        });
    }
    // A bitmap of 32 MB: refused before its pixels are allocated.
    std::string bmp = "BM" + std::string(52, '\0');
    bmp[10] = 54;
    bmp[14] = 40;
    bmp[18] = char(0xA0), bmp[19] = 0x0F;  // 4000 wide
    bmp[22] = char(0xD0), bmp[23] = 0x07;  // 2000 high
    bmp[26] = 1, bmp[28] = 32;
    bmp.resize(54 + 4000 * 2000 * 4, '\x7f');
    Replace("Images/SplashScreen.bmp", [&](const std::string& path) { WriteRaw(path, bmp); });
    Child([&] {
        CSplashDlg splash;
        splash.DoModal();
        if (splash.GetBitmap()) _exit(6);
    });
}

TEST_F(Hostile, HugeCountsAreBoundedAndSaid) {
    const std::string products = tree.Read("Products/products.inf");
    tree.Write("Products/products.inf", "[ProductList]\r\nProductCount=2147483647\r\n" + products.substr(products.find("Product1")));
    Child([&] {
        Start();
        bool said = false;
        for (const auto& box : static_cast<ui::HeadlessBackend&>(ui::GetBackend()).MessageBoxes())
            said = said || box.text.find("\"ProductCount\"") != std::string::npos;
        if (!said) _exit(7);
    });
    tree.Write("Products/products.inf", products);
    const std::string plc = tree.Read("QVX-S7/Plc/10100_004.inf");
    std::string damaged = plc;
    damaged.replace(damaged.find("RegisterCount="), 14, "RegisterCount=2147483647\r\nX=");
    damaged.replace(damaged.find("Plc Model count=1"), 17, "Plc Model count=2147483647");
    tree.Write("QVX-S7/Plc/10100_004.inf", damaged);
    Child([&] { OpenLast(); });
}

}  // namespace
