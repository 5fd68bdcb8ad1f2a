#pragma once
// A unit on a real pseudo-terminal for the fuzz targets of the serial link: the line is
// named COM9 and kept raw; while a PtyUnit lives it answers every write of the link with
// the next answer of the input (answers each led by their length, starting after the
// input's first byte), half a millisecond later, after the link's purge of its input.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace fuzzpty {

inline int g_master = -1, g_slave = -1;

inline void Drain() {
    uint8_t buffer[4096];
    while (::read(g_master, buffer, sizeof buffer) > 0) {
    }
}

// Opens the pseudo-terminal and names it COM9; aborts when there is none.
inline void OpenAsCom9() {
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
}

class PtyUnit {
public:
    PtyUnit(const uint8_t* data, size_t size) {
        tcflush(g_slave, TCIOFLUSH);
        Drain();
        m_thread = std::thread([this, data, size] {
            size_t pos = 1;
            while (!m_done) {
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
    }
    ~PtyUnit() {
        m_done = true;
        m_thread.join();
        Drain();
    }
    PtyUnit(const PtyUnit&) = delete;
    PtyUnit& operator=(const PtyUnit&) = delete;

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

}  // namespace fuzzpty
