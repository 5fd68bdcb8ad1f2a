#include "link/SerialPort.h"

#include <algorithm>

#include "platform/SerialPorts.h"

#include <cerrno>

namespace {
// Write time-out: 10 ms per byte plus 1000 ms.
constexpr uint32_t kWriteMsPerByte = 10;
constexpr uint32_t kWriteConstantMs = 1000;
}  // namespace

CSerialPort::CSerialPort() : m_pClock(&platform::SystemClock()) {}

CSerialPort::~CSerialPort() {
    if (IsOpen()) Close();
}

int CSerialPort::Open(const std::string& portName) {
    if (IsOpen()) {
        m_dwLastError = EBUSY;
        return -1;
    }
    std::string device = platform::SerialDevicePath(portName);
    if (device.empty()) {
        m_dwLastError = ENOENT;
        return -1;
    }
    int err = m_device.Open(device);
    if (err != 0) {
        m_dwLastError = static_cast<uint32_t>(err);
        // The caller says the port did not open; the reason the person can mend is said here.
        if (err == EACCES || err == EPERM)
            if (const std::string hint = platform::SerialAccessHint(device); !hint.empty())
                GetReporter().ShowMessage(hint, "", linkmb::kOk | linkmb::kIconExclamation);
        return -1;
    }
    m_strPortName = portName;
    return 0;
}

int CSerialPort::SetCommParams(uint32_t baudRate, uint8_t dataBits, uint8_t parity,
                               uint8_t stopBits) {
    int err = m_device.SetLine(baudRate, dataBits, parity, stopBits);
    if (err != 0) {
        GetReporter().ShowMessage(kMsgSetCommStateFailed, "", linkmb::kOk);
        m_dwLastError = static_cast<uint32_t>(err);
        ShowCommError(m_dwLastError);
        return -1;
    }
    // Both modem-control lines inactive.
    if (int lines = m_device.SetModemLines(false, false); lines != 0)
        m_dwLastError = static_cast<uint32_t>(lines);
    return 0;
}

void CSerialPort::PurgeComm(uint32_t flags) {
    if (int err = m_device.Purge(flags & PURGE_RXCLEAR, flags & PURGE_TXCLEAR); err != 0)
        m_dwLastError = static_cast<uint32_t>(err);
}

int CSerialPort::Close() {
    if (!IsOpen()) return 0;
    m_device.Drain(m_pClock->RealMilliseconds(kWriteConstantMs));
    if (int err = m_device.Close(); err != 0) {
        m_dwLastError = static_cast<uint32_t>(err);
        return 0;
    }
    return 1;
}

void CSerialPort::ShowCommError(uint32_t /*errorCode*/) {
    GetReporter().ShowMessage(kMsgCommError, "", linkmb::kOk);
}

int CSerialPort::Write(const void* bytes, size_t length) {
    m_dwBytesWritten = 0;
    uint32_t limit = kWriteConstantMs + kWriteMsPerByte * static_cast<uint32_t>(length);
    int err = m_device.Write(static_cast<const uint8_t*>(bytes), length,
                             m_pClock->RealMilliseconds(limit));
    if (err != 0) {
        m_dwLastError = static_cast<uint32_t>(err);
        ShowCommError(m_dwLastError);
        return -1;
    }
    m_dwBytesWritten = static_cast<uint32_t>(length);
    return 0;
}

int CSerialPort::WriteByte(uint8_t byte) { return Write(&byte, 1); }

int CSerialPort::RealWait(uint32_t start, uint32_t ms) const {
    uint32_t elapsed = m_pClock->GetTickCount() - start;
    if (elapsed >= ms) return 0;
    return m_pClock->RealMilliseconds(ms - elapsed);
}

int CSerialPort::ReadByte() {
    m_dwBytesRead = 0;
    m_bLineDown = false;
    if (!IsOpen()) {
        m_dwLastError = EBADF;
        ShowCommError(m_dwLastError);
        return -1;
    }
    uint32_t start = m_pClock->GetTickCount();
    for (;;) {
        // A long wait goes in slices, letting the window repaint between them.
        int wait = std::min(RealWait(start, m_dwReadLimit), platform::kWaitTickMs);
        int error = 0;
        int got = m_device.ReadByte(m_abRxBuffer[0], wait, &error);
        if (got == 1) {
            m_dwBytesRead = 1;
            return 0;
        }
        if (got < 0) {  // the line failed: no byte will come
            m_dwLastError = static_cast<uint32_t>(error);
            m_bLineDown = true;
            return -1;
        }
        if (RealWait(start, m_dwReadLimit) == 0) return -1;
        platform::WaitTick();
    }
}

int CSerialPort::Read(void* dest, size_t n) {
    auto* out = static_cast<uint8_t*>(dest);
    for (size_t i = 0; i < n; ++i) {
        if (ReadByte() == -1) return -1;
        out[i] = m_abRxBuffer[0];
    }
    return 1;
}
