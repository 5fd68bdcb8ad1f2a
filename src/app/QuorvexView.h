#pragma once
// The empty view of the panes that show nothing at the current level. Made and first
// updated, it makes the help topic the overview page.
#include "model/RunTimeState.h"
#include "ui/Frame.h"

class CQuorvexView : public ui::View {
public:
    CQuorvexView() { g_szHelpTopic = "index.htm"; }
    void OnInitialUpdate() override { g_szHelpTopic = "index.htm"; }
};
