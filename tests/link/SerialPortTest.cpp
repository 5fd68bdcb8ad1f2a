// The serial port on a real pseudo-terminal: names, exclusive use, reads with limits,
// and the messages of a port that fails.
#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "link/UnitLink.h"
#include "platform/SerialDevice.h"

TEST(SerialDevicePath, MapsPortNamesToDevices) {
    ::unsetenv("QUORVEX_COM1");
    ::unsetenv("QUORVEX_COM31");
    EXPECT_EQ(platform::SerialDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(platform::SerialDevicePath("com31"), "/dev/ttyS30");
    ::setenv("QUORVEX_COM31", "/tmp/unit", 1);
    EXPECT_EQ(platform::SerialDevicePath("COM31"), "/tmp/unit");
    ::unsetenv("QUORVEX_COM31");
    for (const char* bad : {"COM0", "COM32", "COM01", "COM", "LPT1", "COM1x", ""})
        EXPECT_EQ(platform::SerialDevicePath(bad), "") << bad;
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
