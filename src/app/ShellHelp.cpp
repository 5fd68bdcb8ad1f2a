#include "app/ShellHelp.h"

#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>

#include "platform/Paths.h"
#include "ui/Backend.h"

extern char** environ;

namespace {

std::function<bool(const std::string&)> g_testOpener;

bool StartOpener(const std::string& page) {
    if (g_testOpener) return g_testOpener(page);
    const char* custom = std::getenv("QUORVEX_HELP_OPENER");
    const std::string opener = custom && *custom ? custom : "xdg-open";
    // Started through a shell that does not wait, so the page stays open after us.
    const std::string script = "\"$0\" \"$1\" >/dev/null 2>&1 &";
    const char* argv[] = {"/bin/sh", "-c", script.c_str(), opener.c_str(), page.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
    if (!StartOpener(page)) {
        ui::MessageBox("The help page could not be opened.\n(" + page + ")", "Quorvex Help",
                       ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}
