#include "TcpUnit.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace unitsim {

namespace {

// Reads exactly n bytes, waiting at most timeoutMs for each piece; false when the peer
// closed, failed or stayed silent.
bool ReadExactly(int fd, uint8_t* out, size_t n, const std::atomic<bool>& stop) {
    size_t got = 0;
    while (got < n && !stop) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, 100);
        if (ready < 0 && errno != EINTR) return false;
        if (ready <= 0) continue;
        const ssize_t r = ::recv(fd, out + got, n - got, 0);
        if (r <= 0) return false;
        got += size_t(r);
    }
    return got == n;
}

void SendText(int fd, const std::string& text) {
    if (!text.empty()) ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
}

uint32_t Little32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

TcpUnit::TcpUnit(TcpBehaviour behaviour) : m_behaviour(std::move(behaviour)) {}

TcpUnit::~TcpUnit() { Stop(); }

bool TcpUnit::Start(std::string* error) {
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // 127.0.0.1 only
    addr.sin_port = htons(m_behaviour.listenPort);
    socklen_t len = sizeof addr;
    if (m_listen >= 0) {
        const int on = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_listen, 4) != 0 || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (error) *error = std::string("listen: ") + std::strerror(errno);
        Stop();
        return false;
    }
    m_port = ntohs(addr.sin_port);
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void TcpUnit::Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_listen >= 0) ::close(m_listen);
    m_listen = -1;
}

void TcpUnit::SetBehaviour(const TcpBehaviour& behaviour) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_behaviour = behaviour;
}

std::vector<TcpFile> TcpUnit::Files() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_files;
}

int TcpUnit::Connections() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connections;
}

void TcpUnit::Run() {
    while (!m_stop) {
        pollfd p{m_listen, POLLIN, 0};
        if (::poll(&p, 1, 50) != 1) continue;
        const int fd = ::accept(m_listen, nullptr, nullptr);
        if (fd < 0) continue;
        bool refuse;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_connections;
            refuse = m_behaviour.closeAfterFiles >= 0 && int(m_files.size()) >= m_behaviour.closeAfterFiles;
        }
        if (!refuse) Serve(fd);
        ::close(fd);
    }
}

void TcpUnit::Serve(int fd) {
    TcpBehaviour b;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        b = m_behaviour;
    }
    TcpFile file;
    file.header.resize(14);
    if (!ReadExactly(fd, file.header.data(), 14, m_stop)) return;
    size_t index;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_files.push_back(file);
        index = m_files.size() - 1;
    }
    SendText(fd, b.headerAnswer.substr(0, 5));
    if (b.silentAfterHeader) {
        uint8_t sink[1024];
        while (ReadExactly(fd, sink, 1, m_stop)) {
        }
        return;
    }
    const uint32_t blockSize = Little32(file.header.data() + 4);
    const uint32_t blocks = Little32(file.header.data() + 8);
    std::vector<uint8_t> block(blockSize);
    for (uint32_t k = 1; k <= blocks; ++k) {
        if (!ReadExactly(fd, block.data(), block.size(), m_stop)) return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            auto& data = m_files[index].data;
            data.insert(data.end(), block.begin(), block.end());
        }
        SendText(fd, int(k) == b.wrongAnswerAtBlock ? b.wrongAnswer : b.blockAnswer);
        if (int(k) == b.wrongAnswerAtBlock) return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_files[index].completed = true;
    }
    if (!b.silentAtEnd) SendText(fd, b.finalAnswer);
    // Wait for the tool to shut its side down.
    uint8_t rest;
    ReadExactly(fd, &rest, 1, m_stop);
}

}  // namespace unitsim
