// The largest project of the QVX-S7 (Modbus RTU Master on COM1, DF1 Full Duplex on COM2):
// 255 blocks, both internal-database panes full, every recipe row, the default
// communication registers and general settings; with PROJECTBENCH_EIP=1 instead the
// QVX-ENET with an EtherNet/IP PLC of 255 tags on COM2 and 255 blocks on them. Each operation the engineer waits for
// is timed on it: open, Save (with its flushes), Save As, the compile check of every
// block, the download images and the decode of the uploaded image. WriteFloor is a plain
// write + fsync + rename + folder fsync of the same three files on the same disk: the
// Save should stay within 1.5 times of it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "S7ProjectLevel.h"
#include "model/ExtendedTables.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "compiler/BlockScan.h"
#include "compiler/IdbImage.h"
#include "compiler/ProjectImage.h"
#include "compiler/UploadDecode.h"
#include "editor/NewBlockExView.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "res/FrameResource.h"
#include "tables/IdbPane.h"
#include "ui/HeadlessBackend.h"

namespace {

namespace fs = std::filesystem;

struct Fixture {
    std::string root, path;
    ui::HeadlessBackend backend;
    std::unique_ptr<CMainFrame> frame;

    Fixture() {
        root = (fs::temp_directory_path() / ("quorvex-projectbench-" + std::to_string(getpid()))).string() + "/";
        fs::remove_all(root);
        fs::copy(QUORVEX_DIST_DIR, root, fs::copy_options::recursive);
        platform::SetProgramFolder(root);
        backend.SetFailureHandler([](const std::string& what) { std::fprintf(stderr, "unexpected: %s\n", what.c_str()); });
        backend.Install();
        frame = std::make_unique<CMainFrame>();
        frame->LoadFrame();
        BlockRows rows;
        if (std::getenv("PROJECTBENCH_EIP")) {
            // The EtherNet/IP PLC with 255 tags, every block on a tag (the last ones on the
            // last tags, whose lookups cost the most).
            std::string tags = "[Plc Info]\r\nPlc Name=Ethernet IP\r\nPlc Code=141\r\nPlc Model count=1\r\nPlc1=RTU\r\n"
                               "Parameter=9600,8,N,1\r\nBaudRate=9600\r\nDataBit=8\r\nStopBit=1\r\nParity=N\r\n"
                               "IDB=False\r\nNodeAddress=1\r\nLimit=40\r\nNoOfWord=40\r\nCom1PlcFilename=ENIP1.ABS\r\n"
                               "Com2PlcFilename=ENIP2.ABS\r\nSpecialData=1\r\nSp1=Quorvex ID,01,32,1,0\r\nSpecialInfo=1\r\n"
                               "[RTU]\r\nModelNo=1\r\nRegisterCount=255\r\nRegisterWidth=9\r\n";
            for (int i = 1; i <= 255; ++i)
                tags += platform::Format("Register%d=Tag%d,1,0,I,%08d,%08d,**,**,**,**\r\n", i, i, i, i);
            tags += "NoOfByte=1\r\n";
            platform::WriteFileBytes(root + "QVX-ENET/Plc/14100_004.inf", tags);
            toolsupport::OpenProjectLevel(*frame, "QVX-ENET", 94, "Modbus RTU Master", "Ethernet IP");
            toolsupport::FillFirstBlock("block 0", "Ethernet IP", "I00000001");
            for (int i = 1; i < 255; ++i)
                rows.push_back({std::to_string(i + 1), "1", "Modbus RTU Master", "1", platform::Format("H%04d", 1 + 10 * i),
                                "Ethernet IP", "2", platform::Format("I%08d", i + 1), "5", "", "block " + std::to_string(i)});
            g_pNewBlockExView->AppendBlockRows(rows);
            path = root + "QVX-ENET/Projects/largest.prj";
        } else {
            toolsupport::OpenS7ProjectLevel(*frame);
            toolsupport::FillFirstBlock("block 0");
            // The default row first, then the rest appended.
            for (int i = 1; i < 255; ++i)
                rows.push_back({std::to_string(i + 1), "10", "Modbus RTU Master", "1", platform::Format("H%04d", 1 + 10 * i),
                                "DF1 Full Duplex", "2", platform::Format("N007:%03d", i % 250), "5", "",
                                "block " + std::to_string(i)});
            g_pNewBlockExView->AppendBlockRows(rows);
            for (int i = 0; i < kMaxRecipeRows; ++i) {
                g_RecipeTables.g_arrRecipeAddr.push_back("H" + std::to_string(2000 + i));
                g_RecipeTables.g_abRecipePort[i] = 1;
                g_RecipeTables.g_awRecipeValue[i] = uint16_t(i);
            }
            path = root + "QVX-S7/Projects/largest.prj";
        }
        frame->Services().saveProject(true, path);
        frame->LoadProjectFile(path);
        Modify();
        g_pNewBlockExView->OnFileSave();
        if (!backend.MessageBoxes().empty() || g_bProjectModified != 0 || g_pNewBlockExView->FindFailingBlock() >= 0)
            std::fprintf(stderr, "the project does not save: %s\n",
                         backend.MessageBoxes().empty() ? "a block fails" : backend.MessageBoxes().back().text.c_str());
    }
    ~Fixture() { fs::remove_all(root); }
    // An edit that makes the next save write everything again.
    void Modify() {
        g_bProjectModified = 1;
        g_bNewBlockListEdited = 1;
    }
};

Fixture& Get() {
    static Fixture f;
    return f;
}

void BM_Open(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) f.frame->LoadProjectFile(f.path);
}

void BM_Save(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        f.Modify();
        g_pNewBlockExView->OnFileSave();
    }
}

void BM_SaveAs(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        f.backend.AnswerFileDialog(f.path.substr(0, f.path.find_last_of('/') + 1) + "copy.prj");
        g_pNewBlockExView->OnFileSaveAs();
    }
    f.frame->LoadProjectFile(f.path);
}

void BM_CompileEveryBlock(benchmark::State& state) {
    Get();
    for (auto _ : state) benchmark::DoNotOptimize(g_pNewBlockExView->FindFailingBlock());
}

void BM_DownloadImages(benchmark::State& state) {
    Get();
    for (auto _ : state) {
        BlockLinks links;
        g_pNewBlockExView->ScanBlocks(links);
        benchmark::DoNotOptimize(BuildNewerProjectImage(g_pNewBlockExView->GetBlockRows(), links));
    }
}

class QuietHost : public IUploadDecodeHost {
public:
    int ShowMessage(const std::string&, const std::string&, unsigned) override { return 1; }
    bool AskProductForProject(std::string& product) override {
        product = "QVX-S7";
        return true;
    }
};

void BM_UploadDecode(benchmark::State& state) {
    Get();
    BlockLinks links;
    g_pNewBlockExView->ScanBlocks(links);
    const std::string image = BuildNewerProjectImage(g_pNewBlockExView->GetBlockRows(), links);
    const uint8_t identities[5] = {101, 1, uint8_t(std::getenv("PROJECTBENCH_EIP") ? 141 : 102), 1, 0};
    const uint8_t setup[64] = {};
    QuietHost host;
    for (auto _ : state) {
        CUploadDecoder decoder(host);
        decoder.DecodeIdentities(identities);
        decoder.DecodeSetup(setup);
        benchmark::DoNotOptimize(decoder.DecodeImage(image));
    }
}

void BM_WriteFloor(benchmark::State& state) {
    Fixture& f = Get();
    std::string files[3];
    const std::string names[3] = {f.path, ProjectIdbPath(f.path, 1), ProjectIdbPath(f.path, 2)};
    for (int i = 0; i < 3; ++i) platform::ReadFileBytes(names[i], files[i]);
    const std::string folder = f.path.substr(0, f.path.find_last_of('/') + 1);
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            const std::string temp = folder + "floor" + std::to_string(i) + ".tmp";
            int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            (void)!::write(fd, files[i].data(), files[i].size());
            ::fsync(fd);
            ::close(fd);
            std::rename(temp.c_str(), (folder + "floor" + std::to_string(i)).c_str());
        }
        int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        ::fsync(dir);
        ::close(dir);
    }
    state.counters["bytes"] = double(files[0].size() + files[1].size() + files[2].size());
}

}  // namespace

BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileEveryBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DownloadImages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UploadDecode)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
