// The whole download a commissioning engineer starts with all four tasks ticked: the
// QVX-S7's firmware, its DF1 and Modbus drivers and a project, against the simulated unit
// pacing both directions like a 9600-baud line (10 bits a byte). The time taken is set
// against what the line and the sequences' own pauses need: every byte that crossed the
// line in either direction, plus every pause the sequences asked for. The difference is
// the transfers' overhead (the unit's short answer delays count in it); it should stay
// under 5 %.
//
// The same for an older product (QVX-00): its firmware, both drivers and a project of ten
// blocks in the older framing, against the unit in its older mode answering at once as the
// older units do. Its overhead should stay under 1 %.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "UnitSimulator.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "compiler/BlockScan.h"
#include "compiler/IdbImage.h"
#include "compiler/ProjectImage.h"
#include "plc/FeatureKeys.h"
#include "link/OlderTransfer.h"
#include "link/TransferTasks.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

namespace {

namespace fs = std::filesystem;
constexpr int kBaud = 9600;

class QuietReporter : public ITransferReporter {
public:
    int ShowMessage(const std::string& text, const std::string&, unsigned) override {
        last = text;
        return linkmb::kIdYes;
    }
    std::string ChooseFirmwareFile(const std::vector<std::string>& paths, const std::string&) override {
        return paths.back();
    }
    std::string last;
};

// A copy of the sample tree, the program folder while the benchmark runs.
std::string CopySampleTree() {
    const std::string root = (fs::temp_directory_path() / ("quorvex-bench-" + std::to_string(getpid()))).string() + "/";
    fs::remove_all(root);
    fs::copy(QUORVEX_DIST_DIR, root, fs::copy_options::recursive);
    platform::SetProgramFolder(root);
    return root;
}

// The QVX-S7 with DF1 Full Duplex on COM1 and Modbus RTU Master on COM2, ten blocks and
// an internal database on each port.
void MakeProject() {
    g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-S7";
    g_nDeviceId = g_nDeviceIdAlt = 82;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = deffiles::PlcDefinitionFile("QVX-S7", "102");
    t.g_strPlc1Section = "Series 5";
    t.g_strPlc2Inf = deffiles::PlcDefinitionFile("QVX-S7", "101");
    t.g_strPlc2Section = "Standard";
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    LoadExtendedSetupKeys();
    g_bExtendedSetup = 0;
    BlockRows rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({std::to_string(i + 1), "10", t.g_strPLC1Name, "1", "N7:" + std::to_string(10 * i),
                        t.g_strPLC2Name, "2", "H" + std::to_string(1001 + 10 * i), "5", "1", ""});
    BlockLinks links;
    platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), BuildNewerProjectImage(rows, links));
    const std::vector<IdbPaneRow> pane1 = {{"", "1", "N007:000", "Word", "100", "1", "0", "No", "65535"}};
    const std::vector<IdbPaneRow> pane2 = {{"", "2", "H1001", "Word", "100", "1", "0", "No", "65535"}};
    g_bProjectModified = 1;
    platform::WriteFileBytes(platform::ResolvePath(WorkingIdbPath("QVX-S7", 1)), EncodeIdbImage(pane1, 1));
    platform::WriteFileBytes(platform::ResolvePath(WorkingIdbPath("QVX-S7", 2)), EncodeIdbImage(pane2, 2));
}

// Runs the download once against the simulated unit pacing itself like the line, with the
// sequences' pauses kept in real time, and sets the counters: the measured time against
// the time the bytes need on the line plus the pauses. The overhead in percent.
double MeasurePaced(benchmark::State& state, const std::string& root, unitsim::Behaviour behaviour,
                    const std::function<bool(CSerialPort&, QuietReporter&)>& download) {
    behaviour.pace = true;
    behaviour.baud = kBaud;
    unitsim::UnitSimulator sim(behaviour);
    std::string error;
    if (!sim.Start(&error)) {
        state.SkipWithError(error.c_str());
        return 0;
    }
    ::setenv("QUORVEX_COM9", sim.SlavePath().c_str(), 1);

    platform::TestClock clock(1.0);  // real time, with the pauses kept
    QuietReporter reporter;
    CSerialPort port;
    port.SetClock(&clock);
    if (port.Open("COM9") != 0) {
        state.SkipWithError("cannot open the simulated unit's port");
        return 0;
    }
    double measured = 0;
    for (auto _ : state) {
        sim.ClearLog();
        clock.ClearSleeps();
        auto start = std::chrono::steady_clock::now();
        const bool ok = download(port, reporter);
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!ok) {
            state.SkipWithError(("download failed: " + reporter.last).c_str());
            break;
        }
        measured = took.count();
        state.SetIterationTime(measured);
    }
    sim.WaitQuiet(50, 3000);
    const double wireSeconds = static_cast<double>(sim.Wire().size()) * 10.0 / kBaud;
    const double pauseSeconds = static_cast<double>(clock.TotalSleep()) / 1000.0;
    const double required = wireSeconds + pauseSeconds;
    port.Close();
    sim.Stop();
    platform::SetProgramFolder("");
    fs::remove_all(root);

    const double overhead = (measured / required - 1.0) * 100.0;
    state.counters["wire_s"] = wireSeconds;
    state.counters["pauses_s"] = pauseSeconds;
    state.counters["required_s"] = required;
    state.counters["measured_s"] = measured;
    state.counters["overhead_pct"] = overhead;
    std::printf("measured %.2f s against %.2f s on the wire + %.2f s of pauses = %.2f s: overhead %.2f %%\n",
                measured, wireSeconds, pauseSeconds, required, overhead);
    return overhead;
}

void BM_WholeDownload(benchmark::State& state) {
    const std::string root = CopySampleTree();
    MakeProject();
    unitsim::Behaviour behaviour;
    behaviour.productCode = 82;
    behaviour.driverReport = {102, 1, 101, 1, 0};
    MeasurePaced(state, root, behaviour, [](CSerialPort& port, QuietReporter& reporter) {
        CTransferTasks tasks(port, reporter);
        tasks.m_nBlockSize = CTransferTasks::ReadTransferBlockSize("QVX-S7");
        return tasks.DownloadFirmware() == 0 && tasks.DownloadCom1Driver() == 0 && tasks.DownloadCom2Driver() == 0 &&
               tasks.DownloadProject() == 0;
    });
}

BENCHMARK(BM_WholeDownload)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// QVX-00 with DF1 Full Duplex on COM1 and Modbus RTU Master on COM2, ten blocks.
void MakeOlderProject() {
    g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-00";
    g_nDeviceId = g_nDeviceIdAlt = 81;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = deffiles::PlcDefinitionFile("QVX-00", "102");
    t.g_strPlc1Section = "Series 5";
    t.g_strPlc2Inf = deffiles::PlcDefinitionFile("QVX-00", "101");
    t.g_strPlc2Section = "Standard";
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    std::vector<OlderBlockRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({std::to_string(i + 1), "10", t.g_strPLC1Name, "1", "N7:" + std::to_string(10 * i),
                        t.g_strPLC2Name, "2", "H" + std::to_string(1001 + 10 * i), "5", ""});
    platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), BuildOlderProjectImage(rows));
}

void BM_OlderWholeDownload(benchmark::State& state) {
    const std::string root = CopySampleTree();
    MakeOlderProject();
    unitsim::Behaviour behaviour;
    behaviour.older = true;
    behaviour.productCode = 81;
    behaviour.driverReport = {102, 1, 101, 1, 0};
    behaviour.answerDelayMs = 0;
    const double overhead = MeasurePaced(state, root, behaviour, [](CSerialPort& port, QuietReporter& reporter) {
        COlderTransfer transfer(port, reporter);
        return transfer.DownloadFirmware() == 0 && transfer.DownloadCom1Driver() == 0 &&
               transfer.DownloadCom2Driver() == 0 && transfer.DownloadProject() == 0;
    });
    std::printf("older download overhead %.2f %%: %s 1 %%\n", overhead, overhead < 1.0 ? "under" : "NOT under");
}

BENCHMARK(BM_OlderWholeDownload)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
