#pragma once
// A headless window backend for a test: installed while it lives, every scripting
// failure (a dialog or message box the script did not expect) becomes a test failure.
#include <gtest/gtest.h>

#include "ui/Controls.h"
#include "ui/HeadlessBackend.h"

namespace testsupport {

class HeadlessUi : public ui::HeadlessBackend {
public:
    HeadlessUi() {
        SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        Install();
    }
    ~HeadlessUi() override {
        EXPECT_EQ(PendingSteps(), 0u) << "script steps that never came";
    }
};

// The item of a tree whose text this is, searched depth first; 0 when there is none.
inline ui::HTREEITEM FindTreeItem(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = FindTreeItem(t, text, item)) return inner;
    }
    return 0;
}

}  // namespace testsupport
