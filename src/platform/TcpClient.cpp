#include "platform/TcpClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

TcpClient::~TcpClient() { Close(); }

bool TcpClient::Create() {
    Close();
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return m_fd >= 0;
}

bool TcpClient::Connect(const std::string& address, uint16_t port, int timeoutMs) {
    if (m_fd < 0) return false;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1) return false;

    // Connect without blocking, wait for the outcome with a limit, then block again.
    const int flags = ::fcntl(m_fd, F_GETFL, 0);
    ::fcntl(m_fd, F_SETFL, flags | O_NONBLOCK);
    int rc = ::connect(m_fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    if (rc != 0 && errno == EINPROGRESS) {
        pollfd p{m_fd, POLLOUT, 0};
        rc = -1;
        if (::poll(&p, 1, timeoutMs) == 1) {
            int error = 0;
            socklen_t len = sizeof error;
            if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0) rc = 0;
        }
    }
    ::fcntl(m_fd, F_SETFL, flags);
    m_connected = rc == 0;
    return m_connected;
}

bool TcpClient::Send(const void* bytes, size_t length) {
    if (m_fd < 0) return false;
    const char* p = static_cast<const char*>(bytes);
    while (length > 0) {
        const ssize_t n = ::send(m_fd, p, length, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        length -= size_t(n);
    }
    return true;
}

long TcpClient::Receive(void* dest, size_t maxBytes, int timeoutMs) {
    if (m_fd < 0) return -1;
    pollfd p{m_fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready != 1) return -1;
    const ssize_t n = ::recv(m_fd, dest, maxBytes, 0);
    return n < 0 ? -1 : long(n);
}

void TcpClient::ShutdownSend() {
    if (m_fd >= 0 && m_connected) ::shutdown(m_fd, SHUT_WR);
}

void TcpClient::Close() {
    if (m_fd < 0) return;
    ShutdownSend();
    ::close(m_fd);
    m_fd = -1;
    m_connected = false;
}

}  // namespace platform
