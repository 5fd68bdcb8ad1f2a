// savekill <program folder> setup|save <count>|check
//
// setup  makes kill.prj in the QVX-S7's Projects folder (Modbus RTU Master on COM1, Host
//        Link on COM2: feature sections and an internal database on both ports) and keeps
//        the bytes of both versions' internal-database files and the catalogue beside it.
// save   opens it and saves it <count> times through the editor's Save, each time in the
//        other version, and moves a project to the top of the recent list after each save.
//        With SAVEKILL_STEP=n it kills itself (SIGKILL) at the n-th step that changes the
//        disk, so that kills land inside the writes and renames. With SAVEKILL_FAIL=1 the
//        first save fails at its last rename (a folder is put in _IDB2.hex's place after
//        its checks, the old file set aside) and puts its files back; it prints the steps
//        of that putting back ("put back <first> <last>"), so that kills land inside it.
// check  opens it as a fresh start does and exits 0 when the three files are exactly one
//        version, with nothing of a save left beside them, and products.inf is whole with a
//        well-formed recent list; else prints the loss and exits 1. The folder a failed save
//        met is taken away first (the old _IDB2.hex back in its place).
#include "S7ProjectLevel.h"
#include "model/ExtendedTables.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "app/RecentProjects.h"
#include "model/RunTimeState.h"
#include "compiler/IdbImage.h"
#include "editor/NewBlockExView.h"
#include "plc/DefinitionFiles.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "res/FrameResource.h"
#include "tables/IdbPane.h"
#include "ui/HeadlessBackend.h"

#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <set>
#include <unistd.h>

namespace {

std::string g_tree;
long g_killAt = 0, g_steps = 0;
bool g_failLast = false;
long g_failedAt = 0;  // the step of the rename that failed

std::string ProjectPath() { return g_tree + "QVX-S7/Projects/kill.prj"; }
std::string RefPath(const std::string& name) { return g_tree + "QVX-S7/Projects/refs/" + name; }
std::string Idb2Path() { return g_tree + "QVX-S7/Projects/kill_IDB2.hex"; }

// The names of the project's folder that begin with `head` and end with `tail`.
bool AnyName(const std::string& head, const std::string& tail) {
    bool found = false;
    if (DIR* dir = ::opendir((g_tree + "QVX-S7/Projects").c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            const std::string e = entry->d_name;
            found = found || (e.size() > head.size() + tail.size() && e.rfind(head, 0) == 0 &&
                              e.compare(e.size() - tail.size(), tail.size(), tail) == 0);
        }
        ::closedir(dir);
    }
    return found;
}

void CountStep() {
    // Between the renames of _IDB1.hex and _IDB2.hex (the journal stands, only _IDB2.hex's
    // replacement is left) a folder takes _IDB2.hex's place.
    if (g_failLast && g_failedAt == 0 && AnyName("kill.prj.", ".journal") && !AnyName("kill_IDB1.hex.", ".saving") &&
        AnyName("kill_IDB2.hex.", ".saving")) {
        std::rename(Idb2Path().c_str(), RefPath("aside_IDB2.hex").c_str());
        ::mkdir(Idb2Path().c_str(), 0755);
        g_failedAt = g_steps + 1;
    }
    if (++g_steps == g_killAt) ::kill(::getpid(), SIGKILL);
}

// The folder a failed save met is taken away and the old _IDB2.hex put back in its place.
void TakeAwayFolder() {
    struct stat st;
    if (::stat(RefPath("aside_IDB2.hex").c_str(), &st) != 0) return;
    ::rmdir(Idb2Path().c_str());
    std::rename(RefPath("aside_IDB2.hex").c_str(), Idb2Path().c_str());
}
const char* const kRecent[] = {"/a/one.prj", "/a/two.prj", "/a/three.prj", "/a/four.prj", "/a/five.prj"};

std::string Read(const std::string& path) {
    std::string bytes;
    platform::ReadFileBytes(path, bytes);
    return bytes;
}

IdbPaneRow Row(const std::string& node, const std::string& start, const std::string& words) {
    return {"", node, start, "Word", words, "1", "0", "No", "0"};
}

// Everything the two versions hold differs: the project text and the recipes in the
// .prj, and the rows of both internal-database files.
void ApplyVersion(CMainFrame& frame, int v) {
    g_ProjectSettings.g_strProjTitle = v ? "Version B" : "Version A";
    g_RecipeTables.g_arrRecipeAddr = {v ? "R2" : "R1"};
    g_RecipeTables.g_awRecipeValue[0] = v ? 2222 : 1111;
    auto* p1 = dynamic_cast<IdbPane*>(frame.GetSplitter().GetPane(1, 1));
    auto* p2 = dynamic_cast<IdbPane*>(frame.GetSplitter().GetPane(2, 1));
    if (!p1 || !p2) {
        std::cerr << "no internal-database panes\n";
        std::exit(2);
    }
    p1->SetRows(v ? std::vector<IdbPaneRow>{Row("2", "40010", "7"), Row("3", "40020", "8")}
                  : std::vector<IdbPaneRow>{Row("1", "40001", "4")});
    p2->SetRows(v ? std::vector<IdbPaneRow>{Row("5", "N007:100", "9")}
                  : std::vector<IdbPaneRow>{Row("4", "N007:001", "2"), Row("6", "N007:200", "3")});
    g_bIdb1Edited = g_bIdb2Edited = 1;
    g_bProjectModified = 1;
}

std::unique_ptr<CMainFrame> OpenFrame() {
    auto frame = std::make_unique<CMainFrame>();
    if (!frame->LoadFrame() || !toolsupport::OpenS7ProjectLevel(*frame)) {
        std::cerr << "the project level could not be reached\n";
        std::exit(2);
    }
    return frame;
}

// The catalogue without its recent list, to compare with the original.
std::string WithoutRecentList(const std::string& text) {
    std::string out;
    bool skip = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(pos, end - pos);
        pos = end;
        if (!line.empty() && line[0] == '[') skip = line.rfind("[ProjectFile]", 0) == 0;
        if (!skip) out += line;
    }
    return out;
}

int Check() {
    auto frame = OpenFrame();
    frame->LoadProjectFile(ProjectPath());
    std::vector<std::string> losses;
    const std::string title = g_ProjectSettings.g_strProjTitle;
    const int v = title == "Version A" ? 0 : title == "Version B" ? 1 : -1;
    if (v < 0) losses.push_back("the .prj holds neither version (title \"" + title + "\")");
    if (v >= 0 && g_RecipeTables.g_awRecipeValue[0] != (v ? 2222 : 1111))
        losses.push_back("the .prj's feature sections are not of its version");
    for (int port = 1; v >= 0 && port <= 2; ++port) {
        const std::string name = "idb" + std::to_string(port) + (v ? "B" : "A");
        if (Read(ProjectIdbPath(ProjectPath(), port)) != Read(RefPath(name)))
            losses.push_back("_IDB" + std::to_string(port) + ".hex is not of the .prj's version");
    }
    for (const char* name : {"kill.prj.", "kill_IDB1.hex.", "kill_IDB2.hex."})
        for (const char* tail : {".saving", ".kept", ".journal"})
            if (AnyName(name, tail)) losses.push_back(std::string("a ") + tail + " file of " + name + " is left");
    const std::string catalogue = Read(deffiles::ProductsInf());
    if (WithoutRecentList(catalogue) != WithoutRecentList(Read(RefPath("products.inf"))))
        losses.push_back("products.inf lost content");
    const int count = platform::GetPrivateProfileInt("ProjectFile", "ProjectCount", -1, deffiles::ProductsInf());
    if (count < 1 || count > kMaxRecentProjects) losses.push_back("the recent list's count is " + std::to_string(count));
    std::set<std::string> seen;
    for (int n = 1; n <= count && n <= kMaxRecentProjects; ++n) {
        const std::string entry =
            platform::GetPrivateProfileString("ProjectFile", "Prj" + std::to_string(n), "", 4096, deffiles::ProductsInf());
        bool known = false;
        for (const char* r : kRecent) known = known || entry == r;
        if (!known || !seen.insert(entry).second) losses.push_back("recent entry " + std::to_string(n) + " is \"" + entry + "\"");
    }
    for (const std::string& loss : losses) std::cout << "LOSS: " << loss << "\n";
    return losses.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: savekill <program folder> setup|save <count>|check\n";
        return 2;
    }
    g_tree = argv[1];
    if (g_tree.back() != '/') g_tree += '/';
    platform::SetProgramFolder(g_tree);
    const std::string mode = argv[2];
    ui::HeadlessBackend backend;
    backend.SetFailureHandler([](const std::string& what) { std::cerr << "unexpected: " << what << "\n"; });
    backend.Install();

    TakeAwayFolder();
    if (mode == "check") return Check();
    if (mode == "setup") {
        platform::MakeDirectories(RefPath(""));
        platform::WriteFileBytes(RefPath("products.inf"), Read(deffiles::ProductsInf()));
        auto frame = OpenFrame();
        toolsupport::FillFirstBlock("kill");
        for (int v : {1, 0}) {
            ApplyVersion(*frame, v);
            if (!frame->Services().saveProject(true, ProjectPath())) return 2;
            frame->LoadProjectFile(ProjectPath());
            ApplyVersion(*frame, v);
            g_pNewBlockExView->OnFileSave();
            for (int port = 1; port <= 2; ++port)
                platform::WriteFileBytes(RefPath("idb" + std::to_string(port) + (v ? "B" : "A")),
                                         Read(ProjectIdbPath(ProjectPath(), port)));
        }
        UpdateRecentProjectList(kRecent[0], ReadRecentProjectCount());
        if (!backend.MessageBoxes().empty()) std::cerr << "message: " << backend.MessageBoxes().back().text << "\n";
        return Check();
    }
    if (mode == "save" && argc >= 4) {
        const long count = std::atol(argv[3]);
        if (const char* at = std::getenv("SAVEKILL_STEP")) g_killAt = std::atol(at);
        if (const char* fail = std::getenv("SAVEKILL_FAIL")) g_failLast = std::atoi(fail) == 1;
        auto frame = OpenFrame();
        frame->LoadProjectFile(ProjectPath());
        const int first = g_ProjectSettings.g_strProjTitle == "Version A" ? 1 : 0;
        platform::SetDiskStepHookForTests(CountStep);
        for (long i = 0; i < count; ++i) {
            ApplyVersion(*frame, int((first + i) % 2));
            g_pNewBlockExView->OnFileSave();
            if (g_failLast && i == 0) {
                if (g_failedAt == 0) {
                    std::cerr << "the save did not come to its last rename\n";
                    return 2;
                }
                std::cout << "put back " << g_failedAt << " " << g_steps << std::endl;
            }
            UpdateRecentProjectList(kRecent[(i + 1) % 5], ReadRecentProjectCount());
            std::cout << "saved " << i + 1 << " steps " << g_steps << std::endl;
        }
        return 0;
    }
    std::cerr << "unknown mode\n";
    return 2;
}
