#pragma once
// The upload of an Ethernet unit's IP settings over a PC serial port: a handshake, then
// 0x25 0x25 answered with 20 bytes (IP address, default router, subnet mask, MAC), then
// 0x00 answered with 0x03. Nothing is changed in the unit and nothing is stored.
#include <cstdint>
#include <string>

#include "link/LinkReporter.h"
#include "link/SerialPort.h"

// The port of the IP-settings upload; it lives as long as the program.
extern CSerialPort g_IPUploadPort;

inline const std::string kIpStatusFailed = "     Status:   Upload Failed. ";
inline const std::string kIpStatusDone = "     Status:   Upload Completed Successfully. ";
inline const std::string kIpStatusUploading = "     Status:   Uploading Data. ";
inline const std::string kIpStatusConnecting = "     Status:   Connecting to device. ";

struct UnitIpSettings {
    uint8_t ip[4] = {};
    uint8_t router[4] = {};
    uint8_t mask[4] = {};
    uint8_t mac[6] = {};
};

// "%2x" of one MAC byte: lower-case, a blank on the left below 0x10.
std::string FormatMacByte(uint8_t byte);

// What the upload needs of its dialog.
class IIpSettingsReporter : public ILinkReporter {
public:
    virtual void SetStatusText(const std::string& /*text*/) {}
    // The values of the answer, shown as soon as they arrived.
    virtual void ShowSettings(const UnitIpSettings& /*settings*/) {}
    // An accepted handshake answer shows "Connecting to device." before the product check.
    void MarkConnection(LineState state) override {
        if (state == LineState::Succeeded) SetStatusText(kIpStatusConnecting);
    }
};

class CIpSettingsUpload {
public:
    static constexpr uint8_t kUploadIp = 0x25;
    static constexpr size_t kAnswerBytes = 20;

    CIpSettingsUpload(CSerialPort& port, IIpSettingsReporter& reporter)
        : m_port(port), m_reporter(reporter) {}

    // The handshake: 0 connected, -1 not (a product mismatch shows its message and sets
    // g_bLinkFailed).
    int ConnectToUnit(unsigned deviceId);
    // One upload on the port named portName; the port is closed at the end in every case.
    // -1 failed, 0 done (settings filled). Progress runs 0 to 100.
    int UploadIPSettings(const std::string& portName, unsigned deviceId, UnitIpSettings& settings);

private:
    CSerialPort& m_port;
    IIpSettingsReporter& m_reporter;
};
