#pragma once
// The unit tools' bench: a copy of the sample tree, a headless window layer, a simulated
// unit on a pty reached as COM7, and the fast clock.
#include <cstdlib>
#include <string>

#include "HeadlessUi.h"
#include "LinkTestSupport.h"
#include "TestSupport.h"
#include "model/RunTimeState.h"
#include "link/UnitLink.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"

class ToolsFixture : public ::testing::Test {
protected:
    ToolsFixture() : clock(kSpeedup) {}

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.Start(&error)) << error;
        ::setenv("QUORVEX_COM7", sim.SlavePath().c_str(), 1);
        // COM9 leads nowhere.
        ::setenv("QUORVEX_COM9", (tree.Path() + "no-such-device").c_str(), 1);
        g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-S7";
        g_nDeviceId = g_nDeviceIdAlt = 82;
        g_PlcRegisterTables.g_strPcComPort = "COM7";
        g_szHelpTopic = "products.htm";
        g_nStartScreen = g_nMainScreen = 1;
        g_bLinkFailed = 0;
        Unit([](unitsim::Behaviour& b) {
            b.productCode = 82;
            b.handshakeDelayMs = 15;
        });
    }
    void TearDown() override {
        sim.Stop();
        ::unsetenv("QUORVEX_COM7");
        ::unsetenv("QUORVEX_COM9");
        g_szProductName = g_szProductPath = g_szProductNameCopy = "";
        g_nDeviceId = g_nDeviceIdAlt = 81;
        g_PlcRegisterTables.g_strPcComPort.clear();
        g_bLinkFailed = 0;
        g_nStartScreen = g_nMainScreen = 0;
    }

    template <typename F>
    void Unit(F change) {
        unitsim::Behaviour b = sim.GetBehaviour();
        change(b);
        sim.SetBehaviour(b);
    }
    void StorePort(const std::string& value) {
        platform::WritePrivateProfileString("Com", "Port", value, deffiles::DataInf("QVX-S7"));
    }
    std::string StoredPort() const {
        return platform::GetPrivateProfileString("Com", "Port", "<none>", 20, deffiles::DataInf("QVX-S7"));
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> out;
        for (const auto& b : ui.MessageBoxes()) out.push_back(b.text);
        return out;
    }
    void Settle() { sim.WaitQuiet(50, 3000); }

    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    unitsim::UnitSimulator sim;
    platform::TestClock clock;
};
