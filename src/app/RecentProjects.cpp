#include "app/RecentProjects.h"

#include "plc/DefinitionFiles.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "ui/Backend.h"

#include <algorithm>

namespace {
// Paths are kept whole, however long.
constexpr size_t kPathBuffer = 4096;

std::string Key(int n) { return deffiles::NumberedKey("Prj", n); }
}  // namespace

int ReadRecentProjectCount() {
    return std::clamp(deffiles::ReadRecentProjectCount(), 0, kMaxRecentProjects);
}

std::vector<std::string> ReadRecentProjects() {
    std::vector<std::string> paths;
    const int count = ReadRecentProjectCount();
    for (int n = 1; n <= count; ++n) paths.push_back(deffiles::ReadRecentProject(n, kPathBuffer));
    return paths;
}

int UpdateRecentProjectList(const std::string& projectPath, int recentCount) {
    const std::string file = deffiles::ProductsInf();
    int count = std::clamp(recentCount, 0, kMaxRecentProjects);
    std::vector<std::string> entries(kMaxRecentProjects + 1);
    for (int n = 1; n <= kMaxRecentProjects; ++n) entries[n] = deffiles::ReadRecentProject(n, kPathBuffer);

    std::vector<std::pair<std::string, std::string>> changes;
    int found = 0;
    for (int n = 1; n <= count; ++n)
        if (entries[n] == projectPath) found = n;  // the highest position wins

    if (found > 0) {
        for (int n = found; n > 1; --n) entries[n] = entries[n - 1];
        entries[1] = projectPath;
    } else {
        if (count < kMaxRecentProjects) ++count;
        for (int n = count; n > 1; --n) entries[n] = entries[n - 1];
        entries[1] = projectPath;
        changes.emplace_back("ProjectCount", std::to_string(count));
    }
    for (int n = 1; n <= count; ++n) changes.emplace_back(Key(n), entries[n]);
    // One replace of the file: the list is never left with an entry repeated or missing. A
    // path holding a line break is refused by the profile layer and leaves the list as it was.
    if (!platform::WritePrivateProfileStrings("ProjectFile", changes, file))
        ui::MessageBox("Unable to update the list of recent projects in \"products.inf\"" +
                           (platform::LastReplaceError().empty() ? "." : ": " + platform::LastReplaceError() + "."),
                       "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return count;
}
