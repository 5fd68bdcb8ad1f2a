#include "platform/SerialDevice.h"

#include "platform/SerialPorts.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {
using SteadyClock = std::chrono::steady_clock;

std::map<std::string, SerialLine*>& Lines() {
    static std::map<std::string, SerialLine*> lines;
    return lines;
}

int RemainingMs(SteadyClock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool BaudConstant(uint32_t baud, speed_t& out) {
    switch (baud) {
    case 110: out = B110; return true;
    case 300: out = B300; return true;
    case 600: out = B600; return true;
    case 1200: out = B1200; return true;
    case 2400: out = B2400; return true;
    case 4800: out = B4800; return true;
    case 9600: out = B9600; return true;
    case 19200: out = B19200; return true;
    case 38400: out = B38400; return true;
    case 57600: out = B57600; return true;
    case 115200: out = B115200; return true;
    case 230400: out = B230400; return true;
    default: return false;
    }
}
}  // namespace

std::string SerialDevicePath(const std::string& portName) {
    if (portName.size() < 4 || portName.size() > 5) return {};
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(portName[i])) != "COM"[i]) return {};
    int n = 0;
    for (size_t i = 3; i < portName.size(); ++i) {
        if (portName[i] < '0' || portName[i] > '9') return {};
        n = n * 10 + (portName[i] - '0');
    }
    if (portName[3] == '0' || n < 1 || n > 31) return {};
    std::string var = "QUORVEX_COM" + std::to_string(n);
    if (const char* mapped = std::getenv(var.c_str()); mapped && *mapped) return mapped;
    // The machine's serial devices in their stable order; past their end, the built-in
    // port of that number.
    const std::vector<std::string> devices = MachineSerialDevices();
    if (size_t(n) <= devices.size()) return devices[size_t(n) - 1];
    return "/dev/ttyS" + std::to_string(n - 1);
}

void RegisterSerialLine(const std::string& devicePath, SerialLine* line) {
    if (line)
        Lines()[devicePath] = line;
    else
        Lines().erase(devicePath);
}

SerialDevice::~SerialDevice() { Close(); }

int SerialDevice::Open(const std::string& devicePath) {
    if (IsOpen()) return EBUSY;
    if (devicePath.empty()) return ENOENT;
    if (auto it = Lines().find(devicePath); it != Lines().end()) {
        m_line = it->second;
        return 0;
    }
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    if (!::isatty(fd)) {
        ::close(fd);
        return ENOTTY;
    }
    // Exclusive use: an advisory lock that every user of this class takes, and the
    // terminal's own exclusive mode for programs that do not lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return err;
    }
    ::ioctl(fd, TIOCEXCL);
    m_fd = fd;
    return 0;
}

int SerialDevice::Close() {
    if (m_line) {
        m_line = nullptr;
        return 0;
    }
    if (m_fd < 0) return EBADF;
    // The exclusive mode stays on the terminal while any descriptor is open; lift it so
    // that the next open succeeds.
    ::ioctl(m_fd, TIOCNXCL);
    int rc = ::close(m_fd);
    m_fd = -1;
    return rc == 0 ? 0 : errno;
}

int SerialDevice::SetLine(uint32_t baudRate, uint8_t dataBits, uint8_t parity, uint8_t stopBits) {
    if (m_line) return 0;
    if (m_fd < 0) return EBADF;
    speed_t speed;
    if (!BaudConstant(baudRate, speed)) return EINVAL;
    tcflag_t size;
    switch (dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return EINVAL;
    }
    if (parity > 4 || (stopBits != 0 && stopBits != 2)) return EINVAL;

    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) return errno;
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CMSPAR);
    tio.c_cflag |= size | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    if (parity != 0) {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
        if (parity == 1 || parity == 3) tio.c_cflag |= PARODD;
        if (parity >= 3) tio.c_cflag |= CMSPAR;
    }
    if (stopBits == 2) tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0) return errno;
    return 0;
}

int SerialDevice::SetModemLines(bool dtr, bool rts) {
    if (m_line) return 0;
    if (m_fd < 0) return EBADF;
    int set = (dtr ? TIOCM_DTR : 0) | (rts ? TIOCM_RTS : 0);
    int clear = (dtr ? 0 : TIOCM_DTR) | (rts ? 0 : TIOCM_RTS);
    int err = 0;
    if (set && ::ioctl(m_fd, TIOCMBIS, &set) != 0) err = errno;
    if (clear && ::ioctl(m_fd, TIOCMBIC, &clear) != 0) err = errno;
    // A pseudo-terminal has no modem lines and refuses the calls.
    if (err == EINVAL || err == ENOTTY) err = 0;
    return err;
}

int SerialDevice::Purge(bool received, bool unsent) {
    if (m_line) {
        if (received) m_line->PurgeReceived();
        return 0;
    }
    if (m_fd < 0) return EBADF;
    int which = received && unsent ? TCIOFLUSH : received ? TCIFLUSH : unsent ? TCOFLUSH : -1;
    if (which < 0) return 0;
    return ::tcflush(m_fd, which) == 0 ? 0 : errno;
}

int SerialDevice::Write(const uint8_t* bytes, size_t count, int timeoutMs) {
    if (m_line) {
        m_line->Write(bytes, count);
        return 0;
    }
    if (m_fd < 0) return EBADF;
    auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return errno;
        int left = RemainingMs(deadline);
        if (left == 0) return ETIMEDOUT;
        pollfd p{m_fd, POLLOUT, 0};
        int rc = ::poll(&p, 1, left);
        if (rc < 0 && errno != EINTR) return errno;
        if (rc > 0 && (p.revents & (POLLERR | POLLNVAL))) return EIO;
    }
    return 0;
}

int SerialDevice::ReadByte(uint8_t& byte, int timeoutMs, int* error) {
    if (m_line) return m_line->ReadByte(byte, timeoutMs);
    if (m_fd < 0) {
        if (error) *error = EBADF;
        return -1;
    }
    auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        ssize_t n = ::read(m_fd, &byte, 1);
        if (n == 1) return 1;
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            if (error) *error = errno;
            return -1;
        }
        int left = RemainingMs(deadline);
        if (left == 0) return 0;
        pollfd p{m_fd, POLLIN, 0};
        int rc = ::poll(&p, 1, left);
        if (rc < 0 && errno != EINTR) {
            if (error) *error = errno;
            return -1;
        }
        if (rc > 0 && !(p.revents & POLLIN) && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            if (error) *error = EIO;
            return -1;
        }
    }
}

bool SerialDevice::Drain(int timeoutMs) {
    if (m_line) return true;
    if (m_fd < 0) return false;
    auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int pending = 0;
        if (::ioctl(m_fd, TIOCOUTQ, &pending) != 0 || pending <= 0) return true;
        if (RemainingMs(deadline) == 0) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace platform
