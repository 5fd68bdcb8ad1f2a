// Sends a 64 KiB file stream to the simulated unit, which paces both directions like a
// 9600-baud line (10 bits a byte) and answers each block after its usual short delay,
// and sets the time taken against what the line and the protocol's own pauses need:
// every byte that crosses the line in either direction, plus the 1000 ms pause before the
// final answer. The difference is the link's overhead (the unit's answer delays count in
// it); it should stay under 5 %.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>

#include "UnitSimulator.h"
#include "link/SerialPort.h"
#include "link/UnitLink.h"

namespace {

constexpr int kBaud = 9600;
constexpr size_t kFileSize = 64 * 1024;
constexpr double kPausesSeconds = 1.0;  // before the final answer

class QuietReporter : public ILinkReporter {
public:
    int ShowMessage(const std::string& text, const std::string&, unsigned) override {
        last = text;
        return linkmb::kIdOk;
    }
    std::string last;
};

void BM_FileStream64KiB(benchmark::State& state) {
    const int blockSize = static_cast<int>(state.range(0));
    unitsim::Behaviour behaviour;
    behaviour.pace = true;
    behaviour.baud = kBaud;
    unitsim::UnitSimulator sim(behaviour);
    std::string error;
    if (!sim.Start(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    ::setenv("QUORVEX_COM8", sim.SlavePath().c_str(), 1);

    std::string file(kFileSize, '\0');
    for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<char>((i * 31 + 7) & 0xFF);

    QuietReporter reporter;
    CSerialPort port;
    port.SetReporter(&reporter);
    if (port.Open("COM8") != 0) {
        state.SkipWithError("cannot open the simulated unit's port");
        return;
    }
    port.SetCommParams(kBaud, 8, 0, 0);
    CUnitLink link(port);

    const size_t blocks = (kFileSize + blockSize - 1) / blockSize;
    // Per block: 2 length bytes, the data, the check byte, and the unit's answer; then
    // the end exchange: 0x00 0x00 and the answer.
    const size_t wireBytes = blocks * (static_cast<size_t>(blockSize) + 4) + 3;
    const double wireSeconds = wireBytes * 10.0 / kBaud;

    double measured = 0;
    for (auto _ : state) {
        if (link.SendCommandWaitEcho(0x12) != AnswerResult::Expected) {
            state.SkipWithError("no echo");
            break;
        }
        std::istringstream in(file);
        auto start = std::chrono::steady_clock::now();
        int rc = link.SendFileBlocks(in, 0, blockSize, 1);
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (rc != 0) {
            state.SkipWithError(("stream failed: " + reporter.last).c_str());
            break;
        }
        measured = took.count();
        state.SetIterationTime(measured);
    }
    port.Close();
    sim.Stop();

    const double required = wireSeconds + kPausesSeconds;
    state.counters["blocks"] = static_cast<double>(blocks);
    state.counters["wire_s"] = wireSeconds;
    state.counters["pauses_s"] = kPausesSeconds;
    state.counters["required_s"] = required;
    state.counters["measured_s"] = measured;
    state.counters["overhead_pct"] = (measured / required - 1.0) * 100.0;
    state.SetBytesProcessed(static_cast<int64_t>(kFileSize) * state.iterations());
}

BENCHMARK(BM_FileStream64KiB)
    ->ArgName("block")
    ->Arg(512)
    ->Arg(128)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
