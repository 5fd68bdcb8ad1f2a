// What a unit answers during the download of its web pages over a serial line: the
// handshake, the echo of the web command, the answer to every chunk and file, and the
// last answer. The input (after a first byte choosing the product: 94 with 4-byte
// lengths, 90 with 2-byte ones) is what the unit sends, as answers each led by their
// length, found by the link's next read after it has written something, on a line inside
// the target whose clock moves only when the link waits: no real time passes. No answer
// may crash, hang or read past what arrived.
#include "link/HtmlDownload.h"
#include "link/SerialPort.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "LineUnit.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string g_root;

struct Quiet : IHtmlDownloadReporter {
    int ShowMessage(const std::string&, const std::string&, unsigned) override { return linkmb::kIdOk; }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_root = "/tmp/quorvex-fuzz-web-" + std::to_string(getpid()) + "/";
    platform::MakeDirectories(g_root + "pages");
    platform::SetProgramFolder(g_root);
    // A short page, a page of two chunks and an odd-sized picture.
    platform::WriteFileBytes(g_root + "pages/1index.htm", std::string(100, 'h'));
    platform::WriteFileBytes(g_root + "pages/2status.htm", std::string(700, 's'));
    platform::WriteFileBytes(g_root + "pages/logo.gif", std::string(33, 'g'));
    platform::WriteFileBytes(g_root + "pages/3page.html", std::string(41, 'p'));
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(g_root, ec);
    });
    fuzzline::NameLineCom9();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    fuzzline::LineUnit unit(data, size);
    CSerialPort port;
    port.SetClock(&unit.Clock());
    Quiet quiet;
    {
        CHtmlDownload download(port, quiet, g_root + "LOG.txt");
        const std::string folder = g_root + "pages";
        if (data[0] & 1)
            download.Run("COM9", 94, folder, CHtmlDownload::WideTypes());
        else
            download.Run("COM9", 90, folder, CHtmlDownload::NarrowTypes(folder));
    }
    port.Close();
    return 0;
}
