#pragma once
// The application's own settings, which Windows keeps in the registry under the
// program's key: here a profile file in the user's config folder
// ($XDG_CONFIG_HOME/quorvex/<key>.ini, else ~/.config/quorvex/<key>.ini).
// It holds the framework's recent-file list and the program's server registration.
#include <string>
#include <vector>

namespace ui {

class AppProfile {
public:
    // The key names the file; the folder can be moved for tests.
    void SetRegistryKey(const std::string& key);
    static void SetConfigFolderForTests(const std::string& folder);  // "" resets
    std::string FilePath() const;

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def = std::string()) const;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) const;
    bool RemoveSection(const std::string& section) const;  // true also when there was none

    // The recent-file list ("Recent File List", File1..FileN), newest first.
    void LoadStdProfileSettings(int maxRecent);
    bool SaveStdProfileSettings() const;
    void AddToRecentFileList(const std::string& path);
    const std::vector<std::string>& RecentFiles() const { return m_recent; }

private:
    std::string m_key = "Quorvex";
    int m_maxRecent = 0;
    std::vector<std::string> m_recent;
};

}  // namespace ui
