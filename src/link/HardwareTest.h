#pragma once
// The loop-back test of one serial port of the unit: a handshake (the unit answers with
// the test code 0x51), the unit's versions (a boot block 02.00A or 02.00B cannot run the
// test), '#' '#' answered with '#', then "HELLO" through the looped port and back.
#include <string>

#include "link/LinkReporter.h"
#include "link/SerialPort.h"

// The port of the hardware test; it lives as long as the program.
extern CSerialPort g_HwTestPort;

inline const std::string kHwLineCommError =
    "Communication Error. Please check the IBM cable, connection and power to the unit. Please retry!";
inline const std::string kHwLineNotSupported = "Attached quorvex hardware does not support this feature ";

enum class LoopBackOutcome { PortNotOpened, CommError, NotSupported, Passed, Failed };

// What the test needs of its dialog.
class IHardwareTestReporter : public ILinkReporter {
public:
    virtual void SetSentText(const std::string& /*text*/) {}
    // Start Test, Help and Exit.
    virtual void EnableButtons(bool /*enable*/) {}
    virtual void BeginWaitCursor() {}
};

class CHardwareTest {
public:
    static constexpr uint8_t kTestProductCode = 0x51;
    static constexpr uint8_t kUnitInfo = 0x17;
    static constexpr uint8_t kLoopBack = 0x23;
    static constexpr size_t kUnitInfoBytes = 28;
    static constexpr uint32_t kAnswerPauseMs = 2000;

    CHardwareTest(CSerialPort& port, IHardwareTestReporter& reporter) : m_port(port), m_reporter(reporter) {}

    // The handshake: 0 connected, -1 not (another code: 0x08 0x08, no message).
    int ConnectToUnit();
    // The whole test on the port named portName with the text sent (5 characters); the
    // text that came back is left in `received`. The port is closed at the end.
    LoopBackOutcome RunLoopBackTest(const std::string& portName, const std::string& sent,
                                    std::string& received);
    // A boot-block version (bytes 21 to 26 of the unit information) that cannot run the test.
    static bool IsUnsupportedBootBlock(const uint8_t* info);

private:
    bool Reopen(const std::string& portName);

    CSerialPort& m_port;
    IHardwareTestReporter& m_reporter;
};
