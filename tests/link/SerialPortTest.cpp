// The serial port on a real pseudo-terminal: names, exclusive use, reads with limits,
// and the messages of a port that fails.
#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "TestSupport.h"
#include "link/UnitLink.h"
#include "platform/SerialDevice.h"
#include "platform/SerialPorts.h"

#include <chrono>
#include <unistd.h>

TEST(SerialDevicePath, MapsPortNamesToDevices) {
    ::unsetenv("QUORVEX_COM1");
    ::unsetenv("QUORVEX_COM31");
    const std::vector<std::string> machine = platform::MachineSerialDevices();
    EXPECT_EQ(platform::SerialDevicePath("COM1"), machine.empty() ? "/dev/ttyS0" : machine[0]);
    if (machine.size() < 31) EXPECT_EQ(platform::SerialDevicePath("com31"), "/dev/ttyS30");
    ::setenv("QUORVEX_COM31", "/tmp/unit", 1);
    EXPECT_EQ(platform::SerialDevicePath("COM31"), "/tmp/unit");
    ::unsetenv("QUORVEX_COM31");
    for (const char* bad : {"COM0", "COM32", "COM01", "COM", "LPT1", "COM1x", ""})
        EXPECT_EQ(platform::SerialDevicePath(bad), "") << bad;
}

// COM names over a folder of fake devices: the built-in ports that have a port behind
// them, then the adapters by their stable names (an adapter that is gone is skipped),
// then adapters without one.
TEST(SerialDevicePath, MachineDevicesInAStableOrder) {
    testsupport::TempDir dir;
    const std::string dev = dir.Path() + "dev", sys = dir.Path() + "sys";
    for (const char* node : {"ttyS0", "ttyS1", "ttyUSB0", "ttyUSB1", "ttyACM0"}) dir.Write(std::string("dev/") + node, "");
    dir.Write("sys/class/tty/ttyS0/type", "4\n");
    dir.Write("sys/class/tty/ttyS1/type", "0\n");  // a node with no port behind it
    dir.Write("dev/serial/by-id/.keep", "");
    ASSERT_EQ(::symlink("../../ttyUSB1", (dev + "/serial/by-id/usb-FTDI_A").c_str()), 0);
    ASSERT_EQ(::symlink("../../ttyUSB0", (dev + "/serial/by-id/usb-Prolific_B").c_str()), 0);
    ASSERT_EQ(::symlink("../../ttyUSB7", (dev + "/serial/by-id/usb-Gone_C").c_str()), 0);
    EXPECT_EQ(platform::MachineSerialDevices(dev, sys),
              (std::vector<std::string>{dev + "/ttyS0", dev + "/serial/by-id/usb-FTDI_A",
                                        dev + "/serial/by-id/usb-Prolific_B", dev + "/ttyACM0"}));
    // A device the user may not open: the message names its group and the way to join it.
    const std::string hint = platform::SerialAccessHint(dev + "/ttyUSB0");
    EXPECT_NE(hint.find("no rights to use " + dev + "/ttyUSB0"), std::string::npos);
    EXPECT_NE(hint.find("usermod -aG"), std::string::npos);
    EXPECT_EQ(platform::SerialAccessHint(dev + "/ttyUSB7"), "");
}

TEST(SerialPort, PortThatDoesNotExistFailsQuietly) {
    RecordingReporter reporter;
    CSerialPort port;
    port.SetReporter(&reporter);
    ::setenv("QUORVEX_COM9", "/nonexistent/serial", 1);
    EXPECT_EQ(port.Open("COM9"), -1);
    EXPECT_EQ(port.Open("COM99"), -1);
    EXPECT_EQ(port.Close(), 0);  // never opened: harmless
    EXPECT_TRUE(reporter.messages.empty());
    ::unsetenv("QUORVEX_COM9");
}

TEST(SerialPort, ClosedPortShowsCommErrorOncePerCall) {
    RecordingReporter reporter;
    CSerialPort port;
    port.SetReporter(&reporter);
    EXPECT_EQ(port.Write("\x10\xAA", 2), -1);
    EXPECT_EQ(port.WriteByte(0x02), -1);
    uint8_t buffer[5];
    EXPECT_EQ(port.Read(buffer, 5), -1);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>(3, kMsgCommError));
}

using SerialPortOnPty = UnitFixture;

TEST_F(SerialPortOnPty, PortHeldElsewhereIsRefusedUntilReleased) {
    CSerialPort other;
    other.SetReporter(&reporter);
    EXPECT_EQ(other.Open(kPortName), -1);
    EXPECT_EQ(port.Close(), 1);
    EXPECT_EQ(other.Open(kPortName), 0);
    {
        CSerialPort scoped;  // its destructor closes what it opened
        EXPECT_EQ(scoped.Open(kPortName), -1);
    }
    EXPECT_EQ(other.Close(), 1);
    {
        CSerialPort scoped;
        EXPECT_EQ(scoped.Open(kPortName), 0);
    }
    EXPECT_EQ(port.Open(kPortName), 0);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(SerialPortOnPty, SilentUnitEndsReadAtTheLimitWithoutMessage) {
    Unit([](auto& b) { b.silent = true; });
    port.SetCommParams(9600, 8, 0, 0);
    uint8_t answer[5];
    uint32_t start = clock.GetTickCount();
    EXPECT_EQ(port.Read(answer, 5), -1);
    uint32_t elapsed = clock.GetTickCount() - start;
    EXPECT_GE(elapsed, CSerialPort::kDefaultReadLimitMs);
    EXPECT_LT(elapsed, CSerialPort::kDefaultReadLimitMs + 3000);  // one byte's limit, not five
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(SerialPortOnPty, WaitingBytesAreTakenAtOnceAndLineSettingsAreAccepted) {
    ASSERT_EQ(port.SetCommParams(9600, 8, 0, 0), 0);
    port.PurgeComm(PURGE_TXCLEAR | PURGE_RXCLEAR);
    CUnitLink(port).SendCommand(0x17, 0x17);
    Settle();
    uint32_t start = clock.GetTickCount();
    uint8_t answer[29];
    EXPECT_NE(port.Read(answer, sizeof answer), -1);
    EXPECT_LT(clock.GetTickCount() - start, 1000u);
    EXPECT_EQ(answer[0], 0x17);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(answer + 1), 6), "V1.00A");
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(SerialPortOnPty, LineSettingsTheLineCannotTakeAreReported) {
    EXPECT_EQ(port.SetCommParams(12345, 8, 0, 0), -1);
    EXPECT_EQ(reporter.Texts(), (std::vector<std::string>{kMsgSetCommStateFailed, kMsgCommError}));
}

// A line inside the program in place of a device: the port writes to it, reads what it
// answers, and a silent line ends a read at its limit on the manual clock, at once.
TEST(SerialPort, ALineInThisProgramTakesNoRealTime) {
    struct EchoLine : platform::SerialLine {
        platform::ManualClock clock;
        std::string pending;
        void Write(const uint8_t* bytes, size_t count) override { pending.append(reinterpret_cast<const char*>(bytes), count); }
        int ReadByte(uint8_t& byte, int timeoutMs) override {
            if (pending.empty()) {
                clock.Advance(static_cast<uint32_t>(timeoutMs));
                return 0;
            }
            byte = static_cast<uint8_t>(pending[0]);
            pending.erase(0, 1);
            return 1;
        }
        void PurgeReceived() override { pending.clear(); }
    } line;
    platform::RegisterSerialLine("line:test", &line);
    ::setenv("QUORVEX_COM30", "line:test", 1);
    CSerialPort port;
    port.SetClock(&line.clock);
    ASSERT_EQ(port.Open("COM30"), 0);
    EXPECT_EQ(port.SetCommParams(9600, 8, 0, 0), 0);
    port.WriteByte(0x5A);
    ASSERT_EQ(port.ReadByte(), 0);
    EXPECT_EQ(port.GetReceivedByte(), 0x5A);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.ReadByte(), -1);
    EXPECT_GE(line.clock.GetTickCount(), CSerialPort::kDefaultReadLimitMs);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    port.Close();
    ::unsetenv("QUORVEX_COM30");
    platform::RegisterSerialLine("line:test", nullptr);
}
