// What an Ethernet unit answers during a file download over TCP: the header answer, one
// answer per 1024-byte block and the final answer. The input's first byte chooses the
// file sent (empty, one byte, one block, a block and a byte, three blocks); the rest are
// the unit's answers, each led by its length (0: the unit drops the connection). The unit
// is a listener on the loop-back interface that answers each part once it has it whole.
// No answer may crash, hang or read past what arrived.
#include "link/EthernetDownload.h"
#include "platform/Paths.h"

#include <arpa/inet.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

int g_listen = -1;
uint16_t g_port = 0;
std::string g_files[5];
constexpr size_t kSizes[5] = {0, 1, 1024, 1025, 3000};

struct Quiet : IEthernetDownloadReporter {
    int ShowMessage(const std::string&, const std::string&, unsigned) override { return linkmb::kIdOk; }
};

// Reads exactly n bytes (false when the peer went or was too slow).
bool ReadExactly(int fd, size_t n) {
    char buffer[1024];
    while (n > 0) {
        struct pollfd p = {fd, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0) return false;
        const ssize_t got = ::read(fd, buffer, std::min(n, sizeof buffer));
        if (got <= 0) return false;
        n -= size_t(got);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static const std::string root = "/tmp/quorvex-fuzz-eth-" + std::to_string(getpid()) + "/";
    platform::MakeDirectories(root);
    platform::SetProgramFolder(root);
    for (size_t i = 0; i < 5; ++i) {
        g_files[i] = root + "file" + std::to_string(i) + ".abs";
        platform::WriteFileBytes(g_files[i], std::string(kSizes[i], char('a' + i)));
    }
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    });
    g_listen = ::socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (g_listen < 0 || ::bind(g_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(g_listen, 4) != 0 || ::getsockname(g_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        std::abort();
    g_port = ntohs(address.sin_port);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t file = data[0] % 5;
    std::thread unit([&] {
        const int fd = ::accept(g_listen, nullptr, nullptr);
        if (fd < 0) return;
        size_t pos = 1;
        const size_t blocks = (kSizes[file] + 1023) / 1024;
        // The header, each block, then the final answer right after the last block's.
        for (size_t part = 0; part <= blocks + 1 && pos < size; ++part) {
            if (part <= blocks && !ReadExactly(fd, part == 0 ? CEthernetDownload::kHeaderBytes : 1024)) break;
            const size_t length = std::min<size_t>(data[pos], size - pos - 1);
            if (length == 0) break;
            if (::send(fd, data + pos + 1, length, MSG_NOSIGNAL) < 0) break;
            pos += 1 + length;
        }
        ::shutdown(fd, SHUT_RDWR);
        ::close(fd);
    });
    Quiet quiet;
    CEthernetDownload download(quiet);
    download.SetTimeout(2000);
    const uint8_t loopback[4] = {127, 0, 0, 1};
    // Only the address and port of a run are needed by a send: a run with no product files
    // stops at its first step without connecting.
    download.Run("", loopback, g_port);
    download.SendFileTcp(g_files[file], uint8_t(file % 4));
    unit.join();
    return 0;
}
