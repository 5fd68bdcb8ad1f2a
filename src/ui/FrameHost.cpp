#include "ui/FrameHost.h"

namespace ui {

namespace {
FrameHost* g_pFrameHost = nullptr;
}

void SetFrameHost(FrameHost* host) { g_pFrameHost = host; }
FrameHost* GetFrameHost() { return g_pFrameHost; }

void SetMainTitle(const std::string& title) {
    if (g_pFrameHost) g_pFrameHost->SetMainTitle(title);
}

}  // namespace ui
