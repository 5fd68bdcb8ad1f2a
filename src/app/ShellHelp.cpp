#include "app/ShellHelp.h"

#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/RunTimeState.h"
#include "platform/Paths.h"
#include "ui/Backend.h"

extern char** environ;

namespace {

std::function<bool(const std::string&)> g_testOpener;

// The table of contents of the help pages.
const char kContentsPage[] = "index.htm";

bool StartOpener(const std::string& page) {
    if (g_testOpener) return g_testOpener(page);
    const char* custom = std::getenv("QUORVEX_HELP_OPENER");
    const std::string opener = custom && *custom ? custom : "xdg-open";
    // Started directly, so a missing opener is a failure; one that ends at once with an
    // error is one too. One still running after a while has the page open.
    const char* argv[] = {opener.c_str(), page.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, opener.c_str(), nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return false;
    for (int waited = 0; waited < 3000; waited += 50) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0) return false;
        usleep(50 * 1000);
    }
    return true;
}

}  // namespace

void SetHelpOpenerForTests(std::function<bool(const std::string&)> opener) {
    g_testOpener = std::move(opener);
}

bool OpenHelpTopic(const std::string& topic) {
    const std::string page = platform::ResolvePath(platform::GetProgramFolder() + "Help\\" + topic);
    if (topic.empty() || !platform::FileExists(page)) {
        ui::MessageBox("The help page \"" + topic + "\" is not installed.\n(" + page + ")",
                       "Quorvex Help", ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return false;
    }
    // The program's own help window, unless the person asked for the desktop's opener.
    const char* custom = std::getenv("QUORVEX_HELP_OPENER");
    // The contents first, then the topic beside them.
    std::string contents = platform::ResolvePath(platform::GetProgramFolder() + "Help\\" + kContentsPage);
    if (!platform::FileExists(contents)) contents.clear();
    if (!g_testOpener && !(custom && *custom) && ui::GetBackend().ShowHelpPage(page, contents)) return true;
    if (!StartOpener(page)) {
        ui::MessageBox("The help page could not be opened.\n(" + page + ")", "Quorvex Help",
                       ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

void RunWithHelpTopic(const std::string& topic, const std::function<void()>& run) {
    const std::string below = g_szHelpTopic;
    g_szHelpTopic = topic;
    run();
    g_szHelpTopic = below;
}
