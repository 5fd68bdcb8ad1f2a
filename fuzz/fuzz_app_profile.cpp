// The settings file (Quorvex.ini) is the user's and may hold anything: any bytes must load
// the recent files and take the list back without a crash; the file written back reads.
#include "platform/Paths.h"
#include "ui/AppProfile.h"

#include <cstdint>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = "/tmp/quorvex-fuzz-ini-" + std::to_string(getpid());
    static bool once = [] {
        ui::AppProfile::SetConfigFolderForTests(folder);
        return platform::MakeDirectories(folder);
    }();
    (void)once;
    platform::WriteFileBytes(folder + "/Quorvex.ini", std::string(reinterpret_cast<const char*>(data), size));
    ui::AppProfile profile;
    profile.SetRegistryKey("Quorvex");
    profile.LoadStdProfileSettings(4);
    profile.AddToRecentFileList("/p/line 4.prj");
    if (profile.SaveStdProfileSettings()) {
        ui::AppProfile back;
        back.SetRegistryKey("Quorvex");
        back.LoadStdProfileSettings(4);
        if (back.RecentFiles().empty()) __builtin_trap();  // the path added is there
    }
    return 0;
}
