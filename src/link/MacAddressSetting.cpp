#include "link/MacAddressSetting.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "link/UnitLink.h"

namespace {
constexpr unsigned kMessageFlags = linkmb::kOk | linkmb::kIconInformation;

std::string Trimmed(const std::string& text) {
    size_t a = 0, b = text.size();
    while (a < b && std::isspace(static_cast<unsigned char>(text[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(text[b - 1]))) --b;
    return text.substr(a, b - a);
}
}  // namespace

int ParseMacByte(const std::string& text) {
    std::string rest = text.compare(0, 2, "0x") == 0 ? text.substr(2) : text;
    unsigned value = 0;
    if (std::sscanf(rest.c_str(), "%x", &value) != 1) value = 0;
    // The number goes through its decimal text, as the unit's tools always did.
    char decimal[16];
    std::snprintf(decimal, sizeof decimal, "%d", static_cast<int>(value));
    return std::atoi(decimal);
}

bool IsMacByteText(const std::string& text) {
    std::string t = Trimmed(text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t = t.substr(2);
    if (t.empty() || t.size() > 2) return false;
    for (char c : t)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

int CMacAddressSetting::ConnectToUnit(unsigned deviceId) {
    HandshakeOptions options;
    options.expectedProductCode = static_cast<uint8_t>(deviceId);
    options.answerPauseMs = 0;
    options.confirm = HandshakeOptions::Confirm::AnyButMismatch;
    options.mismatchCaption = kCaptionError;
    options.mismatchFlags = kMessageFlags;
    options.setLinkFailed = false;
    return CUnitLink(m_port).ConnectToUnit(options);
}

int CMacAddressSetting::CommError() {
    m_reporter.ShowMessage(kMsgCommError, kCaptionError, kMessageFlags);
    m_port.Close();
    return -1;
}

int CMacAddressSetting::SetMacAddress(const std::string& portName, unsigned deviceId,
                                      const uint8_t (&mac)[6]) {
    if (m_port.Open(portName) != 0) return CommError();
    if (ConnectToUnit(deviceId) != 0) return CommError();

    const uint8_t command[2] = {kSetMac, kSetMac};
    m_port.Write(command, sizeof command);
    if (m_port.ReadByte() == -1 || m_port.GetReceivedByte() != kSetMac) return CommError();

    uint8_t record[1 + kMacBytes] = {kMacBytes};
    for (int i = 0; i < kMacBytes; ++i) record[1 + i] = mac[i];
    m_port.Write(record, sizeof record);
    // A unit that says nothing here has taken the record all the same; its answer to the
    // end decides.
    if (m_port.ReadByte() == 0 && m_port.GetReceivedByte() != 0x00) return CommError();

    const uint8_t end[2] = {0x00, 0x00};
    m_port.Write(end, sizeof end);
    const bool done = m_port.ReadByte() == 0 && m_port.GetReceivedByte() == unitcmd::kComplete;
    if (done) m_reporter.ShowMessage(kMsgMacSet, kCaptionDone, kMessageFlags);
    else m_reporter.ShowMessage(kMsgMacNotSet, kCaptionError, kMessageFlags);
    m_port.Close();
    return done ? 0 : -1;
}
