#include "link/IpSettingsUpload.h"

#include <cstdio>
#include <cstring>

#include "link/UnitLink.h"

CSerialPort g_IPUploadPort;

std::string FormatMacByte(uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "%2x", byte);
    return text;
}

int CIpSettingsUpload::ConnectToUnit(unsigned deviceId) {
    HandshakeOptions options;
    options.expectedProductCode = static_cast<uint8_t>(deviceId);
    options.answerPauseMs = 0;
    options.confirm = HandshakeOptions::Confirm::Exact02;
    return CUnitLink(m_port).ConnectToUnit(options);
}

int CIpSettingsUpload::UploadIPSettings(const std::string& portName, unsigned deviceId,
                                        UnitIpSettings& settings) {
    struct Closer {
        CSerialPort& port;
        ~Closer() { port.Close(); }
    } closer{m_port};

    if (m_port.Open(portName) != 0) {
        m_reporter.ShowMessage(kMsgOpenPortError, "", linkmb::kOk);
        return -1;
    }
    if (ConnectToUnit(deviceId) != 0) return -1;
    m_reporter.SetProgressPos(20);

    const uint8_t command[2] = {kUploadIp, kUploadIp};
    m_port.Write(command, sizeof command);
    uint8_t answer[kAnswerBytes];
    std::memset(answer, 0, sizeof answer);
    if (m_port.Read(answer, sizeof answer) == -1) return -1;
    m_reporter.SetStatusText(kIpStatusUploading);
    m_reporter.SetProgressPos(50);

    std::memcpy(settings.ip, answer + 1, 4);
    std::memcpy(settings.router, answer + 5, 4);
    std::memcpy(settings.mask, answer + 9, 4);
    std::memcpy(settings.mac, answer + 13, 6);
    m_reporter.ShowSettings(settings);

    m_reporter.SetProgressPos(90);
    m_port.WriteByte(0x00);
    if (m_port.ReadByte() == -1 || m_port.GetReceivedByte() != 0x03) return -1;
    m_reporter.SetProgressPos(100);
    return 0;
}
