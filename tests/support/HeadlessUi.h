#pragma once
// A headless window backend for a test: installed while it lives, every scripting
// failure (a dialog or message box the script did not expect) becomes a test failure.
#include <gtest/gtest.h>

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

}  // namespace testsupport
