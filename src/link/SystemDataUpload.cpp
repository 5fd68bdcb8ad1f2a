#include "link/SystemDataUpload.h"

#include <cstring>

#include "link/UnitLink.h"

int g_bProductMismatch = 0;

namespace {

// A version: its six bytes up to the first NUL.
std::string VersionText(const uint8_t* bytes) {
    size_t n = 0;
    while (n < 6 && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

const std::string& StatusText(uint8_t status) {
    return status == 0 ? kSysDataStatusOk : kSysDataStatusCorrupt;
}

}  // namespace

CSystemDataUpload::CSystemDataUpload(CSerialPort& port, ISystemDataReporter& reporter)
    : m_port(port), m_reporter(reporter) {}

int CSystemDataUpload::UploadSystemData(unsigned deviceId) {
    m_reporter.BeginWaitCursor();
    m_reporter.SetStatusText(kMsgSysDataUploading);
    HandshakeOptions options;
    options.expectedProductCode = static_cast<uint8_t>(deviceId);
    options.answerPauseMs = 0;
    options.confirm = HandshakeOptions::Confirm::AnyButMismatch;
    HandshakeResult result;
    const int connected = CUnitLink(m_port).ConnectToUnit(options, &result);
    m_reporter.SetStatusText(kMsgSysDataHandshakeFailed);
    m_reporter.EnableButtons(true);
    m_reporter.EndWaitCursor();
    if (result.outcome == HandshakeOutcome::ProductMismatch) {
        g_bProductMismatch = 1;
        return -1;
    }
    if (connected != 0) return -1;
    m_reporter.SetStatusText("");
    return 0;
}

int CSystemDataUpload::Fail(const std::string* message) {
    if (message) m_reporter.ShowMessage(*message, "", linkmb::kOk);
    m_port.Close();
    m_reporter.EnableButtons(true);
    return -1;
}

int CSystemDataUpload::Run(const std::string& portName, unsigned deviceId, UnitSystemData& data) {
    m_reporter.EnableButtons(false);
    ClearLinkState();
    int outcome = 0;
    if (m_port.Open(portName) != 0) return Fail(&kMsgOpenPortError);
    if (UploadSystemData(deviceId) != 0) {
        const bool mismatchShown = g_bProductMismatch == 1 && g_bLinkFailed == 1;
        return Fail(mismatchShown ? nullptr : &kMsgCommError);
    }

    CUnitLink link(m_port);
    const uint8_t command[2] = {kUnitInfo, kUnitInfo};
    m_port.Write(command, sizeof command);
    m_port.GetClock().Sleep(kAnswerPauseMs);
    if (m_port.ReadByte() == -1) return Fail(&kMsgCommError);

    auto setStatus = [&](std::string& field, uint8_t status) {
        field = StatusText(status);
        outcome = status == 0 ? 1 : -1;
    };
    if (m_port.GetReceivedByte() == kUnitInfo) {
        uint8_t info[kInfoBytes];
        std::memset(info, 0, sizeof info);
        const bool complete = m_port.Read(info, sizeof info) != -1;
        if (complete) {
            data.firmwareVersion = VersionText(info);
            setStatus(data.firmwareStatus, info[6]);
            data.plc1Version = VersionText(info + 7);
            setStatus(data.plc1Status, info[13]);
            data.plc2Version = VersionText(info + 14);
            setStatus(data.plc2Status, info[20]);
        } else {
            // A short answer: nothing of it is trusted.
            data.firmwareVersion = data.plc1Version = data.plc2Version = "";
            data.firmwareStatus = data.plc1Status = data.plc2Status = "";
            outcome = -1;
        }
    }
    m_reporter.ShowData(data);

    uint8_t boot[kBootBlockBytes];
    std::memset(boot, 0, sizeof boot);
    if (m_port.Read(boot, sizeof boot) == -1) {
        data.bootVersion = kSysDataNotApplicable;
        outcome = -1;
    } else {
        data.bootVersion = VersionText(boot);
        setStatus(data.bootStatus, boot[6]);
    }
    m_reporter.ShowData(data);

    if (outcome == 1) {
        m_reporter.SetStatusText("");
        m_reporter.EnableButtons(true);
        if (m_reporter.ShowMessage(kMsgSysDataRestart, "", linkmb::kYesNo | linkmb::kIconQuestion) ==
            linkmb::kIdYes)
            link.RestartUnit();
    } else {
        m_reporter.SetStatusText(kMsgSysDataFailed);
        m_reporter.EnableButtons(true);
    }
    m_port.Close();
    return outcome;
}
