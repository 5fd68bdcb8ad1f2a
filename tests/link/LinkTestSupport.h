#pragma once
// The link tests' bench: a simulated unit on a pty, a port named COM7 that opens it, a
// clock fifty times faster than real time, and a reporter that records everything.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "UnitSimulator.h"
#include "link/LinkReporter.h"
#include "link/SerialPort.h"
#include "platform/Clock.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned flags;
};

class RecordingReporter : public ILinkReporter {
public:
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override {
        messages.push_back({text, caption, flags});
        return linkmb::kIdOk;
    }
    void SetProgressPos(int position) override { progress.push_back(position); }
    void MarkConnection(LineState state) override { connection.push_back(state); }
    void MarkStep(LineState state) override { step.push_back(state); }
    void ClearSummary() override { ++summaryCleared; }

    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.text);
        return out;
    }

    std::vector<ShownMessage> messages;
    std::vector<int> progress;
    std::vector<LineState> connection;
    std::vector<LineState> step;
    int summaryCleared = 0;
};

inline constexpr double kSpeedup = 50.0;
inline const char* const kPortName = "COM7";
// The unit gives up a record or stream the tool left half sent after a quiet gap of real
// time; the tool's clock runs kSpeedup times faster here, so the gap is shortened alike:
// longer than the tool's pauses inside a transfer (1 s), shorter than one handshake try
// (10 s). With the unit's own 2.5 s the tool's five tries after a failed transfer would all
// fall into the old record.
inline constexpr int kUnitResyncGapMs = static_cast<int>(5000 / kSpeedup);

class UnitFixture : public ::testing::Test {
protected:
    UnitFixture() : clock(kSpeedup) {}

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.Start(&error)) << error;
        Unit([](unitsim::Behaviour& b) { b.resyncGapMs = kUnitResyncGapMs; });
        ::setenv("QUORVEX_COM7", sim.SlavePath().c_str(), 1);
        port.SetClock(&clock);
        port.SetReporter(&reporter);
        ASSERT_EQ(port.Open(kPortName), 0);
    }

    void TearDown() override {
        port.Close();
        sim.Stop();
        ::unsetenv("QUORVEX_COM7");
    }

    // Changes the unit's behaviour from the defaults.
    template <typename F>
    void Unit(F change) {
        unitsim::Behaviour b = sim.GetBehaviour();
        change(b);
        sim.SetBehaviour(b);
    }

    // Lets the unit take what is still on its way before the log is read.
    void Settle() { sim.WaitQuiet(50, 3000); }

    unitsim::UnitSimulator sim;
    platform::TestClock clock;
    RecordingReporter reporter;
    CSerialPort port;
};

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}
