#include "plc/BlockEditorHost.h"

namespace {
IBlockEditorHost* g_pHost = nullptr;
}

void SetBlockEditorHost(IBlockEditorHost* host) { g_pHost = host; }
IBlockEditorHost* GetBlockEditorHost() { return g_pHost; }

void ShowInfoText(const std::string& text) {
    if (g_pHost) g_pHost->ShowInfoText(text);
}

void ShowNewInfoText(const std::string& text) {
    if (g_pHost) g_pHost->ShowNewInfoText(text);
}
