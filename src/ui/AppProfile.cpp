#include "ui/AppProfile.h"

#include <cstdlib>
#include <strings.h>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

namespace ui {

namespace {

std::string g_configOverride;

std::string ConfigFolder() {
    if (!g_configOverride.empty()) return g_configOverride;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
    else base = "/tmp";
    return base + "/quorvex";
}

constexpr const char* kRecentSection = "Recent File List";

}  // namespace

void AppProfile::SetConfigFolderForTests(const std::string& folder) { g_configOverride = folder; }

void AppProfile::SetRegistryKey(const std::string& key) { m_key = key; }

std::string AppProfile::FilePath() const { return ConfigFolder() + "/" + m_key + ".ini"; }

std::string AppProfile::GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& def) const {
    return platform::GetPrivateProfileString(section, entry, def, 4096, FilePath());
}

bool AppProfile::WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) const {
    if (!platform::MakeDirectories(ConfigFolder())) return false;
    return platform::WritePrivateProfileString(section, entry, value, FilePath());
}

bool AppProfile::RemoveSection(const std::string& section) const {
    std::string bytes;
    if (!platform::ReadFileBytes(FilePath(), bytes, platform::kProfileFileCap)) return true;  // nothing to remove
    std::string out, line;
    bool skipping = false;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        end = end == std::string::npos ? bytes.size() : end + 1;
        line = bytes.substr(pos, end - pos);
        pos = end;
        const size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] == '[') {
            const size_t close = line.find(']', first);
            const std::string name = close == std::string::npos
                                         ? std::string()
                                         : line.substr(first + 1, close - first - 1);
            skipping = strcasecmp(name.c_str(), section.c_str()) == 0;
        }
        if (!skipping) out += line;
    }
    return platform::WriteFileBytes(FilePath(), out);
}

void AppProfile::LoadStdProfileSettings(int maxRecent) {
    m_maxRecent = maxRecent;
    m_recent.clear();
    for (int i = 1; i <= maxRecent; ++i) {
        const std::string path = GetProfileString(kRecentSection, "File" + std::to_string(i));
        if (!path.empty()) m_recent.push_back(path);
    }
}

bool AppProfile::SaveStdProfileSettings() const {
    if (m_maxRecent <= 0) return true;
    if (!platform::MakeDirectories(ConfigFolder())) return false;
    // The section is dropped and written again in one replace of the file.
    platform::ReplaceBatch batch;
    if (!RemoveSection(kRecentSection)) return false;
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t i = 0; i < m_recent.size(); ++i) entries.emplace_back("File" + std::to_string(i + 1), m_recent[i]);
    if (!entries.empty() && !platform::WritePrivateProfileStrings(kRecentSection, entries, FilePath())) return false;
    std::string error;
    return batch.Commit(error);
}

void AppProfile::AddToRecentFileList(const std::string& path) {
    if (m_maxRecent <= 0 || path.empty()) return;
    for (auto it = m_recent.begin(); it != m_recent.end(); ++it)
        if (*it == path) {
            m_recent.erase(it);
            break;
        }
    m_recent.insert(m_recent.begin(), path);
    if (int(m_recent.size()) > m_maxRecent) m_recent.resize(size_t(m_maxRecent));
}

}  // namespace ui
