#pragma once
// For the tools that drive the program headless: the QVX-S7's project level reached as
// the engineer reaches it (the product, a protocol on each port, Configure Project), and
// a first block that passes Save's checks.
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/RunTimeState.h"
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

// The project level of a product with a protocol on each port. False when it could not
// be reached.
inline bool OpenProjectLevel(CMainFrame& frame, const std::string& product, unsigned deviceId,
                             const std::string& com1Protocol, const std::string& com2Protocol) {
    g_szProductName = g_szProductNameCopy = g_szProductPath = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    frame.GoToProtocolLevel();
    auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
    auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
    if (!com1 || !com2 || !com1->Tree()->UserSelect(FindTreeItem(*com1->Tree(), com1Protocol)) ||
        !com2->Tree()->UserSelect(FindTreeItem(*com2->Tree(), com2Protocol)) ||
        !frame.UserCommand(ID_CONFIGURE_PROJECT))
        return false;
    return g_pNewBlockExView != nullptr;
}

// Modbus RTU Master on COM1 and DF1 Full Duplex on COM2 of the QVX-S7: both with an
// internal database and feature sections.
inline bool OpenS7ProjectLevel(CMainFrame& frame) {
    return OpenProjectLevel(frame, "QVX-S7", 82, "Modbus RTU Master", "DF1 Full Duplex");
}

// The default row made a complete block (by default from the QVX-S7's COM1 to COM2).
inline void FillFirstBlock(const std::string& comment, const std::string& com2Protocol = "DF1 Full Duplex",
                           const std::string& com2Address = "N007:000") {
    const std::string cells[] = {"", "10", "Modbus RTU Master", "1", "H0001", com2Protocol, "2", com2Address, "5", "", comment};
    for (int c = 1; c < kBlockListColumns; ++c)
        if (c != kColControlBit) g_pNewBlockExView->SetCellText(0, c, cells[c]);
}

}  // namespace toolsupport
