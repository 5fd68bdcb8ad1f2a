#pragma once
// Writing a new MAC address into a unit over a PC serial port: a handshake, "00" answered
// with '0', the record 06 and the six bytes, then 00 00 answered with 0x03.
#include <cstdint>
#include <string>

#include "link/LinkReporter.h"
#include "link/SerialPort.h"

inline const std::string kMsgMacSet = "MAC Address of The Device is successfully set.";
inline const std::string kMsgMacNotSet = "Can Not Set MAC Address of The Devcie.Please retry!";
inline const std::string kMsgMacByteInvalid =
    "Please enter each byte of the MAC address as a hexadecimal number from 00 to FF.";
inline const std::string kCaptionError = "Error";
inline const std::string kCaptionDone = "Done";

// One field's text as a number: an optional "0x", then the hexadecimal digits up to the
// first other character (0 when there is none). The caller sends the low 8 bits.
int ParseMacByte(const std::string& text);
// A field that names one byte: one or two hexadecimal digits, optionally after "0x" or
// "0X", with blanks around them.
bool IsMacByteText(const std::string& text);

class CMacAddressSetting {
public:
    static constexpr uint8_t kSetMac = 0x30;
    static constexpr uint8_t kMacBytes = 6;

    CMacAddressSetting(CSerialPort& port, ILinkReporter& reporter) : m_port(port), m_reporter(reporter) {}

    // The handshake: 0 connected, -1 not ("Product ID mismatch." shown for another
    // product; g_bLinkFailed is left alone).
    int ConnectToUnit(unsigned deviceId);
    // One setting on the port named portName, with its messages; the port is closed at
    // the end. 0 when the unit took the address, -1 otherwise.
    int SetMacAddress(const std::string& portName, unsigned deviceId, const uint8_t (&mac)[6]);

private:
    int CommError();

    CSerialPort& m_port;
    ILinkReporter& m_reporter;
};
