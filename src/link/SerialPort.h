#pragma once
// CSerialPort: the one class through which the tool talks to a unit over a PC serial
// port. Open by name ("COM1" to "COM31"), set the line, write, read single bytes with a
// time limit, close. Failures of the port itself are shown here (message 60000); the
// protocol on top reports its own.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/LinkReporter.h"
#include "platform/Clock.h"
#include "platform/SerialDevice.h"

// Purge flags, with the values of the system's serial API.
constexpr uint32_t PURGE_TXCLEAR = 0x0004;
constexpr uint32_t PURGE_RXCLEAR = 0x0008;

class CSerialPort {
public:
    // How long a single-byte read waits on a silent line: the port's total read
    // time-out (10 s) plus 1 ms for the byte asked for.
    static constexpr uint32_t kDefaultReadLimitMs = 10001;

    CSerialPort();
    virtual ~CSerialPort();  // closes a port that is still open
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // 0 when the port was opened, -1 otherwise (no message: the callers show 60013).
    // The line is not set and nothing is purged; callers call SetCommParams and
    // PurgeComm after it.
    int Open(const std::string& portName);
    // Baud rate, data bits, parity (0 none, 1 odd, 2 even, 3 mark, 4 space) and stop bits
    // (0 one, 2 two); raw line without flow control, DTR and RTS off. A line that cannot
    // be set shows "Set comm state failed..." and then 60000. Returns 0 or -1.
    int SetCommParams(uint32_t baudRate, uint8_t dataBits, uint8_t parity, uint8_t stopBits);
    // Discards received (PURGE_RXCLEAR) and/or unsent (PURGE_TXCLEAR) bytes.
    void PurgeComm(uint32_t flags);
    // 1 closed, 0 when the port was not open or the close failed (no message). Bytes
    // still pending are given time to leave first.
    int Close();
    void ShowCommError(uint32_t errorCode);

    // Writes the bytes; a failure (closed port, error, or no room within the write
    // time-out) shows 60000. Returns 0 or -1; callers need not test it.
    int Write(const void* bytes, size_t length);
    int WriteByte(uint8_t byte);
    // One byte into the receive buffer: 0 when it arrived, -1 when none came within the
    // read limit or the line failed (no message), or the port is closed (60000).
    int ReadByte();
    // n single-byte reads into dest; -1 at the first that fails (bytes received so far
    // stay in dest), 1 otherwise.
    int Read(void* dest, size_t n);

    uint8_t GetReceivedByte() const { return m_abRxBuffer[0]; }
    bool IsOpen() const { return m_device.IsOpen(); }
    const std::string& GetPortName() const { return m_strPortName; }
    uint32_t GetLastError() const { return m_dwLastError; }
    uint32_t GetBytesWritten() const { return m_dwBytesWritten; }
    uint32_t GetBytesRead() const { return m_dwBytesRead; }
    // The last read ended because the line failed (the other side hung up), not by time.
    bool IsLineDown() const { return m_bLineDown; }

    // The link's clock (tick count, sleeps, read limits); the system clock by default.
    void SetClock(platform::Clock* clock) { m_pClock = clock ? clock : &platform::SystemClock(); }
    platform::Clock& GetClock() const { return *m_pClock; }
    // Where the port and the protocol on it report; the default reporter when none.
    void SetReporter(ILinkReporter* reporter) { m_pReporter = reporter; }
    ILinkReporter& GetReporter() const {
        return m_pReporter ? *m_pReporter : DefaultLinkReporter();
    }
    // The single-byte read limit in clock milliseconds (tests shorten it).
    void SetReadLimit(uint32_t ms) { m_dwReadLimit = ms; }
    uint32_t GetReadLimit() const { return m_dwReadLimit; }

private:
    // Time a read may still wait: ms clock milliseconds from start, in real milliseconds.
    int RealWait(uint32_t start, uint32_t ms) const;

    platform::SerialDevice m_device;
    std::string m_strPortName;
    uint32_t m_dwBytesWritten = 0;
    uint8_t m_abRxBuffer[512] = {};
    uint32_t m_dwLastError = 0;
    uint32_t m_dwBytesRead = 0;
    bool m_bLineDown = false;
    uint32_t m_dwReadLimit = kDefaultReadLimitMs;
    platform::Clock* m_pClock;
    ILinkReporter* m_pReporter = nullptr;
};
