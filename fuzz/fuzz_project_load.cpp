// The whole open of a project file, as the program does it: the newer reader with its
// feature sections, the older block editor's reader and the three-port reader, each on
// the sample tree, chosen by the first byte. Any bytes must open or be refused with a
// message; nothing may crash, leak or read past the file.
#include "app/MainFrame.h"
#include "model/RunTimeState.h"
#include "platform/Paths.h"
#include "ui/HeadlessBackend.h"

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string g_root;
ui::HeadlessBackend* g_backend = nullptr;
CMainFrame* g_frame = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    namespace fs = std::filesystem;
    g_root = "/tmp/quorvex-fuzz-load-" + std::to_string(getpid()) + "/";
    fs::remove_all(g_root);
    fs::copy(QUORVEX_DIST_DIR, g_root, fs::copy_options::recursive);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(g_root, ec);
    });
    platform::SetProgramFolder(g_root);
    g_backend = new ui::HeadlessBackend;
    g_backend->SetFailureHandler([](const std::string&) {});
    g_backend->Install();
    g_frame = new CMainFrame;
    g_frame->LoadFrame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const char* const kProducts[][2] = {{"QVX-S7", "82"}, {"QVX-00", "81"}, {"Zava Dorazuduvoz", "84"},
                                               {"QVX-ENET", "94"}};
    const auto& product = kProducts[data[0] % 4];
    g_szProductName = g_szProductNameCopy = g_szProductPath = product[0];
    g_nDeviceId = g_nDeviceIdAlt = static_cast<unsigned>(std::stoi(product[1]));
    const std::string path = g_root + product[0] + "/Projects/fuzz.prj";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {  // no flush: fast runs
        std::fwrite(data + 1, 1, size - 1, f);
        std::fclose(f);
    }
    FrameServices& services = g_frame->Services();
    if (g_frame->TestGeneration() == 1) {
        if (services.loadNewerProject) services.loadNewerProject(path);
    } else if (services.loadOlderProject) {
        services.loadOlderProject(path);
    }
    g_backend->ClearRecords();
    return 0;
}
