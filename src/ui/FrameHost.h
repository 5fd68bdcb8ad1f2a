#pragma once
// What the screens and the project files below the main window need of it: its title,
// the way back to the product level, the recent-project list, the port settings it shows,
// and help. The main window sets itself as the host while it exists; without a host (a
// screen shown on its own) each of these does nothing.
#include <string>

namespace ui {

class FrameHost {
public:
    virtual ~FrameHost() = default;
    virtual void SetMainTitle(const std::string& title) = 0;
    // Leaves the project: the untitled state, then the product level.
    virtual void CloseToProductLevel() = 0;
    virtual void RefreshRecentProjects() = 0;
    virtual void ReloadComPortSetting() = 0;
    virtual void ShowHelp() = 0;
};

void SetFrameHost(FrameHost* host);
FrameHost* GetFrameHost();

// Forwards to the host when there is one.
void SetMainTitle(const std::string& title);

}  // namespace ui
