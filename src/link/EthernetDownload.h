#pragma once
// The download of an Ethernet unit over TCP: firmware, COM1 driver, COM2 driver and the
// project file DefaultPrj.hex, in that order, each over a connection of its own, stopping
// at the first file that fails. Each file goes as a 14-byte header and 1024-byte blocks
// (the last padded with 0xFF), every block answered "OK".
#include <cstdint>
#include <string>
#include <vector>

#include "link/LinkReporter.h"
#include "platform/TcpClient.h"

// Kept for the program's run: the unit's address (shown again when the dialog reopens),
// the port the dialog starts with, the block size, the running flag, the file being sent
// and the offset of its next block.
extern uint8_t g_abUnitIp[4];
extern int g_nEthDownloadPort;
extern uint32_t g_nEthBlockSize;
extern int g_bEthDownloading;
extern std::string g_szDownloadFile;
extern uint32_t g_nDownloadOffset;

inline const std::string kMsgInvalidSocket = "Invalid Socket";
inline const std::string kMsgUnitNotFound = "Unit with selected IP is not found in network Path";
inline const std::string kMsgHeaderRefused = "Error,200 Ok";
inline const std::string kEthFirmwareFailed = "  Firmware Download Failed. Please try again.";
inline const std::string kEthCom1Failed = "  COM1 Driver Download Failed. Please try again.";
inline const std::string kEthCom2Failed = "  COM2 Driver Download Failed. Please try again.";
inline const std::string kEthProjectFailed = "   Project download failed. Please try again.";
inline const std::string kEthCompleted = "   Download completed successfully.";

// What the download needs of its dialog.
class IEthernetDownloadReporter : public ILinkReporter {
public:
    virtual void SetStatusText(const std::string& /*text*/) {}
    virtual void SetFileName(const std::string& /*name*/) {}
    // Two or more firmware files: the user picks one (empty: cancelled).
    virtual std::string ChooseFirmwareFile(const std::string& /*folder*/) { return std::string(); }
};

class CEthernetDownload {
public:
    static constexpr size_t kHeaderBytes = 14;
    static constexpr size_t kBufferBytes = 1500;
    // How long a connection attempt and each answer may take.
    static constexpr int kDefaultTimeoutMs = 10000;

    explicit CEthernetDownload(IEthernetDownloadReporter& reporter) : m_reporter(reporter) {}

    // The whole sequence to the unit at address:port for the product; 0 when all four
    // files went, -1 at the first that failed (its status shown).
    int Run(const std::string& product, const uint8_t (&address)[4], uint16_t port);

    int DownloadFirmware();
    int DownloadCom1Driver();
    int DownloadCom2Driver();
    int DownloadProject();
    // One file over TCP: 0 done, -1 (connection, block read, send or answer failed), 6 (a
    // block answer did not begin with "OK"), 7 (header), 8 (no final answer).
    int SendFileTcp(const std::string& path, uint8_t kind);
    // The header of a file of `length` bytes.
    static std::vector<uint8_t> BuildHeader(uint64_t length, uint8_t kind);

    void SetTimeout(int ms) { m_timeoutMs = ms; }

private:
    int DownloadDriver(int which);
    std::string ProductFolder(const std::string& sub) const;

    IEthernetDownloadReporter& m_reporter;
    std::string m_product;
    uint8_t m_address[4] = {};
    uint16_t m_port = 0;
    int m_timeoutMs = kDefaultTimeoutMs;
};
