// What a unit answers comes from a device on a serial line: the handshake and its unit
// information, command echoes, the project upload's framing, the system data, the IP
// settings and the loop-back test's answers. The input (after a first byte choosing the
// sequence) is what the unit sends, as answers each led by its length: every time the
// link has written something, its next read finds the next answer (the unit answers after
// the link's purge of its input), on a line inside the target whose clock moves only when
// the link waits: no real time passes. No answer may crash, hang or read past what arrived.
#include "model/RunTimeState.h"
#include "link/HardwareTest.h"
#include "link/IpSettingsUpload.h"
#include "link/SerialPort.h"
#include "link/SystemDataUpload.h"
#include "link/TransferTasks.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "LineUnit.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Quiet : ITransferReporter, ISystemDataReporter, IIpSettingsReporter, IHardwareTestReporter {
    int ShowMessage(const std::string&, const std::string&, unsigned) override { return linkmb::kIdYes; }
    bool AskProductForProject(std::string& product) override {
        product = "QVX-S7";
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    namespace fs = std::filesystem;
    static const std::string root = "/tmp/quorvex-fuzz-link-" + std::to_string(getpid()) + "/";
    fs::remove_all(root);
    fs::copy(QUORVEX_DIST_DIR, root, fs::copy_options::recursive);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    });
    platform::SetProgramFolder(root);
    fuzzline::NameLineCom9();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-S7";
    g_nDeviceId = g_nDeviceIdAlt = 82;
    fuzzline::LineUnit unit(data, size);
    CSerialPort port;
    port.SetClock(&unit.Clock());
    Quiet quiet;
    switch (data[0] % 4) {
    case 0: {
        if (port.Open("COM9") != 0) return 0;
        CTransferTasks tasks(port, quiet);
        tasks.m_nBlockSize = 64;
        tasks.UploadProject();
        break;
    }
    case 1: {
        CSystemDataUpload upload(port, quiet);
        UnitSystemData system;
        upload.Run("COM9", 82, system);
        break;
    }
    case 2: {
        CIpSettingsUpload upload(port, quiet);
        UnitIpSettings settings;
        upload.UploadIPSettings("COM9", 94, settings);
        break;
    }
    default: {
        CHardwareTest test(port, quiet);
        std::string received;
        test.RunLoopBackTest("COM9", "Hello", received);
        break;
    }
    }
    port.Close();
    return 0;
}
