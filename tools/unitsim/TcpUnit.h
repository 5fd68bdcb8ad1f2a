#pragma once
// The Ethernet side of a simulated unit: a TCP listener on 127.0.0.1 (a port of the
// system's choosing) that takes files the way an Ethernet unit does: a 14-byte header,
// the blocks it announces, an answer per block, a final answer. It keeps every file it
// took and can be told to misbehave.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace unitsim {

struct TcpBehaviour {
    std::string headerAnswer = "RDY\r";  // at most 5 bytes
    std::string blockAnswer = "OK";
    int wrongAnswerAtBlock = 0;          // block k (1-based) of every file gets wrongAnswer
    std::string wrongAnswer = "Ok";
    std::string finalAnswer = "DONE";
    bool silentAfterHeader = false;      // takes the header and then says nothing
    bool silentAtEnd = false;            // no final answer
    int closeAfterFiles = -1;            // refuses connections after this many files
    uint16_t listenPort = 0;             // 0: a port of the system's choosing
};

struct TcpFile {
    std::vector<uint8_t> header;
    std::vector<uint8_t> data;  // the blocks, padding included
    bool completed = false;     // every announced block arrived
};

class TcpUnit {
public:
    explicit TcpUnit(TcpBehaviour behaviour = {});
    ~TcpUnit();
    TcpUnit(const TcpUnit&) = delete;
    TcpUnit& operator=(const TcpUnit&) = delete;

    bool Start(std::string* error = nullptr);
    void Stop();
    uint16_t Port() const { return m_port; }

    void SetBehaviour(const TcpBehaviour& behaviour);
    std::vector<TcpFile> Files() const;
    int Connections() const;

private:
    void Run();
    void Serve(int fd);

    TcpBehaviour m_behaviour;
    mutable std::mutex m_mutex;
    int m_listen = -1;
    uint16_t m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::vector<TcpFile> m_files;
    int m_connections = 0;
};

}  // namespace unitsim
