#pragma once
// A blocking TCP client over POSIX sockets: connect to a dotted IPv4 address and port,
// send, receive, shut the sending side down, close. Connect and each receive wait no
// longer than their time limit.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class TcpClient {
public:
    TcpClient() = default;
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // A stream socket; false when none can be made.
    bool Create();
    // Connects within timeoutMs; false when the address is not a dotted IPv4 address, or
    // the peer refuses or does not answer in time.
    bool Connect(const std::string& address, uint16_t port, int timeoutMs);
    // Sends all bytes; false on an error.
    bool Send(const void* bytes, size_t length);
    // One receive of at most maxBytes: the count received (> 0), 0 when the peer closed,
    // -1 on an error or when nothing came within timeoutMs.
    long Receive(void* dest, size_t maxBytes, int timeoutMs);
    void ShutdownSend();
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    bool IsConnected() const { return m_connected; }

private:
    int m_fd = -1;
    bool m_connected = false;
};

}  // namespace platform
