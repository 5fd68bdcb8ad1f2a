#pragma once
// For the tools that drive the program headless: the QVX-S7's project level reached as
// the engineer reaches it (the product, a protocol on each port, Configure Project), and
// a first block that passes Save's checks.
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "app/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "res/FrameResource.h"

#include <string>

namespace toolsupport {

inline ui::HTREEITEM FindTreeItem(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = FindTreeItem(t, text, item)) return inner;
    }
    return 0;
}

// Modbus RTU Master on COM1 and DF1 Full Duplex on COM2: both with an internal database
// and feature sections. False when the project level could not be reached.
inline bool OpenS7ProjectLevel(CMainFrame& frame) {
    g_szProductName = g_szProductNameCopy = g_szProductPath = "QVX-S7";
    g_nDeviceId = g_nDeviceIdAlt = 82;
    frame.GoToProtocolLevel();
    auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
    auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
    if (!com1 || !com2 || !com1->Tree()->UserSelect(FindTreeItem(*com1->Tree(), "Modbus RTU Master")) ||
        !com2->Tree()->UserSelect(FindTreeItem(*com2->Tree(), "DF1 Full Duplex")) ||
        !frame.UserCommand(ID_CONFIGURE_PROJECT))
        return false;
    return g_pNewBlockExView != nullptr;
}

// The default row made a complete block.
inline void FillFirstBlock(const std::string& comment) {
    const std::string cells[] = {"", "10", "Modbus RTU Master", "1", "H0001", "DF1 Full Duplex", "2", "N007:000", "5", "", comment};
    for (int c = 1; c < kBlockListColumns; ++c)
        if (c != kColControlBit) g_pNewBlockExView->SetCellText(0, c, cells[c]);
}

}  // namespace toolsupport
