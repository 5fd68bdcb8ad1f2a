// What a unit answers during the download of its web pages over a serial line: the
// handshake, the echo of the web command, the answer to every chunk and file, and the
// last answer. The input (after a first byte choosing the product: 94 with 4-byte
// lengths, 90 with 2-byte ones) is what the unit sends, as answers each led by their
// length, given half a millisecond after the link has written something, through a real
// pseudo-terminal on a clock that runs four hundred times fast. No answer may crash, hang
// or read past what arrived.
#include "link/HtmlDownload.h"
#include "link/SerialPort.h"
#include "platform/Clock.h"
#include "platform/Paths.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

int g_master = -1, g_slave = -1;
std::string g_root;

struct Quiet : IHtmlDownloadReporter {
    int ShowMessage(const std::string&, const std::string&, unsigned) override { return linkmb::kIdOk; }
};

void Drain() {
    uint8_t buffer[4096];
    while (::read(g_master, buffer, sizeof buffer) > 0) {
    }
}

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
    std::atexit([] { std::system(("rm -rf '" + g_root + "'").c_str()); });
    g_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (g_master < 0 || grantpt(g_master) != 0 || unlockpt(g_master) != 0) std::abort();
    const char* slave = ptsname(g_master);
    // A descriptor of our own keeps the line raw between the link's opens and closes.
    g_slave = ::open(slave, O_RDWR | O_NOCTTY | O_NONBLOCK);
    struct termios raw;
    tcgetattr(g_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(g_slave, TCSANOW, &raw);
    setenv("QUORVEX_COM9", slave, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 3000) return 0;  // what a pseudo-terminal holds unread
    tcflush(g_slave, TCIOFLUSH);
    Drain();
    std::atomic<bool> done{false};
    std::thread unit([&] {
        size_t pos = 1;
        while (!done) {
            struct pollfd p = {g_master, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            Drain();
            if (pos >= size) continue;
            const size_t length = std::min<size_t>(data[pos], size - pos - 1);
            ::usleep(500);
            if (length > 0 && ::write(g_master, data + pos + 1, length) < 0) break;
            pos += 1 + length;
        }
    });
    platform::TestClock clock(400.0);
    CSerialPort port;
    port.SetClock(&clock);
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
    done = true;
    unit.join();
    Drain();
    return 0;
}
