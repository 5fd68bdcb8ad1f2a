#pragma once
// A serial device on termios: the port names of the system ("COM1" to "COM31") mapped to
// devices, exclusive opening, raw 8-bit line settings, and reads and writes that never
// wait longer than the time they are given.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The device of a port name: "COMn" (n 1 to 31, any case) opens the device named by the
// environment variable QUORVEX_COMn when it is set and not empty, else the n-th of the
// machine's serial devices (MachineSerialDevices), else /dev/ttyS<n-1>.
// Any other name gives an empty text.
std::string SerialDevicePath(const std::string& portName);

// A line inside this program in place of a device, for tests and fuzz targets that play
// the other end themselves with no real waits: opening a device path registered with a
// line takes the line. The line keeps its own time: a read that finds no byte lets the
// time it was given pass on the clock the line goes by.
class SerialLine {
public:
    virtual ~SerialLine() = default;
    virtual void Write(const uint8_t* bytes, size_t count) = 0;
    // 1: a byte was read; 0: none came within timeoutMs.
    virtual int ReadByte(uint8_t& byte, int timeoutMs) = 0;
    // Discards what was received and not read.
    virtual void PurgeReceived() = 0;
};
// Registers (or, with null, removes) the line behind a device path.
void RegisterSerialLine(const std::string& devicePath, SerialLine* line);

// Parity codes as the system stores them: 0 none, 1 odd, 2 even, 3 mark, 4 space.
// Stop-bit codes: 0 one, 1 one and a half, 2 two.
class SerialDevice {
public:
    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens the device for reading and writing, for this object alone: a device that
    // another program (or another object) holds is refused with EBUSY. Not a terminal:
    // ENOTTY. Returns 0 or the errno value.
    int Open(const std::string& devicePath);
    // Closes the device; 0 or the errno value of close.
    int Close();
    bool IsOpen() const { return m_fd >= 0 || m_line; }

    // Raw 8-bit line: no echo, no translation, no flow control, receiver on, modem
    // status ignored. Returns 0 or the errno value (EINVAL for a value the line cannot
    // take).
    int SetLine(uint32_t baudRate, uint8_t dataBits, uint8_t parity, uint8_t stopBits);
    // Sets DTR and RTS; a device without modem-control lines (a pseudo-terminal) is
    // tolerated. Returns 0 or the errno value.
    int SetModemLines(bool dtr, bool rts);
    // Discards received and/or unsent bytes.
    int Purge(bool received, bool unsent);

    // Writes all bytes, waiting at most timeoutMs (real milliseconds) for room.
    // Returns 0, ETIMEDOUT, or the errno value.
    int Write(const uint8_t* bytes, size_t count, int timeoutMs);
    // Waits at most timeoutMs for one byte. 1: a byte was read; 0: none arrived in time;
    // -1: the line failed (error in *error, EIO when the other side hung up).
    int ReadByte(uint8_t& byte, int timeoutMs, int* error = nullptr);
    // Waits at most timeoutMs for the bytes written to leave the output queue.
    bool Drain(int timeoutMs);

private:
    int m_fd = -1;
    SerialLine* m_line = nullptr;
};

}  // namespace platform
