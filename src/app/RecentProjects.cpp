#include "app/RecentProjects.h"

#include "plc/DefinitionFiles.h"
#include "platform/Profile.h"

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
        platform::WritePrivateProfileString("ProjectFile", "ProjectCount", std::to_string(count), file);
    }
    for (int n = 1; n <= count; ++n) platform::WritePrivateProfileString("ProjectFile", Key(n), entries[n], file);
    return count;
}
