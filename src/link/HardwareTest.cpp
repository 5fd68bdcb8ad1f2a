#include "link/HardwareTest.h"

#include <cstring>

#include "link/UnitLink.h"

CSerialPort g_HwTestPort;

int CHardwareTest::ConnectToUnit() {
    m_reporter.BeginWaitCursor();
    m_port.PurgeComm(PURGE_TXCLEAR | PURGE_RXCLEAR);
    HandshakeOptions options;
    options.expectedProductCode = kTestProductCode;
    options.answerPauseMs = 0;
    options.confirm = HandshakeOptions::Confirm::AnyButMismatch;
    options.mismatchMessage.clear();
    options.setLinkFailed = false;
    return CUnitLink(m_port).ConnectToUnit(options);
}

bool CHardwareTest::Reopen(const std::string& portName) {
    if (m_port.IsOpen()) m_port.Close();
    if (m_port.Open(portName) != 0) return false;
    CUnitLink(m_port).SetStandardLine();
    m_port.PurgeComm(PURGE_TXCLEAR | PURGE_RXCLEAR);
    return true;
}

bool CHardwareTest::IsUnsupportedBootBlock(const uint8_t* info) {
    return info[21] == '0' && info[22] == '2' && info[24] == '0' && info[25] == '0' &&
           (info[26] == 'A' || info[26] == 'B');
}

LoopBackOutcome CHardwareTest::RunLoopBackTest(const std::string& portName, const std::string& sent,
                                               std::string& received) {
    struct Closer {
        CSerialPort& port;
        ~Closer() { port.Close(); }
    } closer{m_port};
    received.clear();
    platform::Clock& clock = m_port.GetClock();

    if (m_port.Open(portName) != 0) return LoopBackOutcome::PortNotOpened;
    if (ConnectToUnit() != 0) return LoopBackOutcome::CommError;

    // The unit's versions: an old boot block cannot run the test.
    if (!Reopen(portName)) return LoopBackOutcome::CommError;
    const uint8_t info[2] = {kUnitInfo, kUnitInfo};
    m_port.Write(info, sizeof info);
    clock.Sleep(kAnswerPauseMs);
    if (m_port.ReadByte() == -1) return LoopBackOutcome::CommError;
    if (m_port.GetReceivedByte() == kUnitInfo) {
        uint8_t versions[kUnitInfoBytes];
        std::memset(versions, 0, sizeof versions);
        m_port.Read(versions, sizeof versions);  // missing bytes stay zero
        if (IsUnsupportedBootBlock(versions)) return LoopBackOutcome::NotSupported;
    }

    if (ConnectToUnit() != 0) return LoopBackOutcome::CommError;

    if (!Reopen(portName)) return LoopBackOutcome::CommError;
    const uint8_t loop[2] = {kLoopBack, kLoopBack};
    m_port.Write(loop, sizeof loop);
    clock.Sleep(kAnswerPauseMs);
    if (m_port.ReadByte() == -1) return LoopBackOutcome::CommError;
    m_port.Close();
    if (m_port.GetReceivedByte() != kLoopBack) return LoopBackOutcome::CommError;

    if (!Reopen(portName)) return LoopBackOutcome::CommError;
    uint8_t buffer[6] = {};
    std::memcpy(buffer, sent.data(), std::min<size_t>(sent.size(), 5));
    m_port.Write(buffer, 5);
    m_reporter.SetSentText(sent);
    std::memset(buffer, 0, sizeof buffer);
    if (m_port.Read(buffer, 5) == -1) {
        m_port.Close();
        m_reporter.EnableButtons(true);
    }
    received = reinterpret_cast<const char*>(buffer);  // the bytes that came, up to a zero
    return received == sent ? LoopBackOutcome::Passed : LoopBackOutcome::Failed;
}
