#include "link/EthernetDownload.h"

#include <algorithm>
#include <fstream>
#include <unistd.h>

#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

uint8_t g_abUnitIp[4] = {192, 168, 0, 0};
int g_nEthDownloadPort = 5000;
uint32_t g_nEthBlockSize = 1024;
int g_bEthDownloading = 0;
std::string g_szDownloadFile;
uint32_t g_nDownloadOffset = 0;

namespace {

constexpr uint16_t kHeaderMark = 94;
constexpr int kProgressFull = 200;  // the end of the dialog's bar
const std::string kMsgFirmwareFile =  // string 60023
    "Firmware file corrupt or not found. Please ensure that the correct firmware file  is in "
    "the Firmware sub-directory.";
const std::string kMsgDriverFile =  // string 60024
    "Driver file corrupt or not found. Please ensure that the correct Driver file for the "
    "selected PLC is in the Driver sub-directory.";

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Readable(const std::string& path) {
    return !path.empty() && platform::FileExists(platform::ResolvePath(path)) &&
           ::access(platform::ResolvePath(path).c_str(), R_OK) == 0;
}

void PutLittle32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(value >> (8 * i));
}

}  // namespace

std::vector<uint8_t> CEthernetDownload::BuildHeader(uint64_t length, uint8_t kind) {
    std::vector<uint8_t> header(kHeaderBytes, 0);
    header[0] = uint8_t(kHeaderMark & 0xFF);
    header[1] = uint8_t(kHeaderMark >> 8);
    PutLittle32(header, 4, g_nEthBlockSize);
    PutLittle32(header, 8, uint32_t((length + g_nEthBlockSize - 1) / g_nEthBlockSize));
    header[12] = kind;
    return header;
}

std::string CEthernetDownload::ProductFolder(const std::string& sub) const {
    return deffiles::ProductFolder(m_product) + "\\" + sub + "\\";
}

int CEthernetDownload::Run(const std::string& product, const uint8_t (&address)[4], uint16_t port) {
    m_product = product;
    std::copy(std::begin(address), std::end(address), m_address);
    m_port = port;
    g_nDownloadOffset = 0;
    m_reporter.SetFileName("");
    m_reporter.SetProgressPos(10);
    g_bEthDownloading = 1;

    auto stop = [&](const std::string& status) {
        if (!status.empty()) m_reporter.SetStatusText(status);
        m_reporter.SetFileName("");
        m_reporter.SetProgressPos(0);
        g_bEthDownloading = 0;
        return -1;
    };
    if (DownloadFirmware() != 0) return stop(kEthFirmwareFailed);
    if (DownloadCom1Driver() != 0) return stop(kEthCom1Failed);
    if (DownloadCom2Driver() != 0) return stop(kEthCom2Failed);
    if (DownloadProject() != 0) return stop(std::string());
    g_bEthDownloading = 0;
    return 0;
}

int CEthernetDownload::DownloadFirmware() {
    g_nDownloadOffset = 0;
    const std::string folder = ProductFolder("Firmware");
    std::vector<std::string> files;
    for (const std::string& name : platform::ListDirectory(platform::ResolvePath(folder)))
        if (name.size() > 4 && platform::EqualsNoCase(name.substr(name.size() - 4), ".abs"))
            files.push_back(folder + name);
    std::string path = folder + "*.abs";
    if (files.size() == 1) {
        path = files.front();
    } else if (files.size() > 1) {
        path = m_reporter.ChooseFirmwareFile(folder);
        if (path.empty()) {
            m_reporter.SetProgressPos(0);
            return -1;
        }
    }
    if (!Readable(path)) {
        m_reporter.ShowMessage(kMsgFirmwareFile, "", linkmb::kOk);
        m_reporter.SetProgressPos(0);
        return -1;
    }
    m_reporter.SetProgressPos(30);
    m_reporter.SetFileName(BaseName(path));
    g_szDownloadFile = path;
    m_reporter.SetStatusText("   Downloading Firmware..");
    if (SendFileTcp(path, 0) != 0) {
        m_reporter.SetStatusText("   Download failed.");
        m_reporter.SetProgressPos(0);
        return -1;
    }
    m_reporter.SetStatusText("   Fimware is successfully downloaded.");
    return 0;
}

int CEthernetDownload::DownloadCom1Driver() { return DownloadDriver(1); }
int CEthernetDownload::DownloadCom2Driver() { return DownloadDriver(2); }

int CEthernetDownload::DownloadDriver(int which) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const std::string name = platform::GetPrivateProfileString(
        "Plc Info", which == 1 ? "Com1PlcFilename" : "Com2PlcFilename", deffiles::kCorruptPlcFile, 80,
        which == 1 ? t.g_strPlc1Inf : t.g_strPlc2Inf);
    const std::string path = ProductFolder("Drivers") + name;
    g_nDownloadOffset = 0;
    if (!Readable(path)) {
        m_reporter.ShowMessage(kMsgDriverFile, "", linkmb::kOk);
        m_reporter.SetProgressPos(0);
        return -1;
    }
    const std::string com = which == 1 ? "COM1" : "COM2";
    m_reporter.SetProgressPos(30);
    m_reporter.SetFileName(BaseName(path));
    g_szDownloadFile = path;
    m_reporter.SetStatusText("   Downloading " + com + " Driver..");
    if (SendFileTcp(path, uint8_t(which)) != 0) {
        m_reporter.SetStatusText("   Download Failed");
        m_reporter.SetProgressPos(0);
        return -1;
    }
    m_reporter.SetStatusText("   " + com + " Driver is successfully downloaded.");
    return 0;
}

int CEthernetDownload::DownloadProject() {
    g_nDownloadOffset = 0;
    const std::string path = platform::GetProgramFolder() + "DefaultPrj.hex";
    if (!Readable(path)) {
        m_reporter.SetStatusText(kEthProjectFailed);
        m_reporter.SetProgressPos(0);
        return -1;
    }
    m_reporter.SetProgressPos(30);
    m_reporter.SetFileName(BaseName(path));
    g_szDownloadFile = path;
    m_reporter.SetStatusText("   Downloading Project..");
    if (SendFileTcp(path, 3) != 0) {
        m_reporter.SetStatusText(kEthProjectFailed);
        m_reporter.SetProgressPos(0);
        return -1;
    }
    m_reporter.SetStatusText("   Project is successfully downloaded.");
    m_reporter.SetFileName(" ");
    m_reporter.SetStatusText(kEthCompleted);
    m_reporter.SetProgressPos(kProgressFull);  // a completed download shows a full bar
    return 0;
}

int CEthernetDownload::SendFileTcp(const std::string& path, uint8_t kind) {
    std::copy(std::begin(m_address), std::end(m_address), g_abUnitIp);
    platform::TcpClient socket;
    if (!socket.Create()) {
        m_reporter.ShowMessage(kMsgInvalidSocket, "", linkmb::kOk);
        m_reporter.SetProgressPos(0);
        return -1;
    }
    m_reporter.SetProgressPos(50);
    const std::string address = std::to_string(m_address[0]) + "." + std::to_string(m_address[1]) + "." +
                                std::to_string(m_address[2]) + "." + std::to_string(m_address[3]);
    if (!socket.Connect(address, m_port, m_timeoutMs)) {
        m_reporter.ShowMessage(kMsgUnitNotFound, "", linkmb::kOk);
        m_reporter.SetProgressPos(0);
        return -1;
    }
    m_reporter.SetProgressPos(70);

    // The whole file is read once; a file that cannot be read now fails the send.
    std::string bytes, error;
    if (!platform::ReadFileSafely(path, platform::kTransferFileCap, bytes, error)) return 7;
    const std::vector<uint8_t> data(bytes.begin(), bytes.end());
    const std::vector<uint8_t> header = BuildHeader(data.size(), kind);
    m_reporter.SetProgressPos(100);
    if (!socket.Send(header.data(), header.size())) return 7;

    char answer[kBufferBytes];
    const long got = socket.Receive(answer, 5, m_timeoutMs);
    // The unit's header answer without its last byte: "OK" refuses the file.
    if (got > 1 && std::string(answer, size_t(got - 1)) == "OK") {
        m_reporter.ShowMessage(kMsgHeaderRefused, "", linkmb::kOk);
        g_bEthDownloading = 0;
        return -1;
    }

    const uint32_t blocks = uint32_t((data.size() + g_nEthBlockSize - 1) / g_nEthBlockSize);
    std::vector<uint8_t> block(g_nEthBlockSize);
    for (uint32_t i = 0; i < blocks; ++i) {
        std::fill(block.begin(), block.end(), 0xFF);
        const size_t from = g_nDownloadOffset;
        const size_t n = std::min<size_t>(g_nEthBlockSize, data.size() - from);
        std::copy(data.begin() + long(from), data.begin() + long(from + n), block.begin());
        if (!socket.Send(block.data(), block.size())) {
            m_reporter.SetProgressPos(0);
            return -1;
        }
        const long r = socket.Receive(answer, sizeof answer, m_timeoutMs);
        if (r <= 0) {
            m_reporter.SetProgressPos(0);
            return -1;
        }
        if (r < 2 || answer[0] != 'O' || answer[1] != 'K') return 6;
        g_nDownloadOffset += g_nEthBlockSize;
        // The bar moves across the file's blocks, from where the header left it to the end.
        m_reporter.SetProgressPos(100 + int(100ull * (i + 1) / blocks));
    }
    m_reporter.SetProgressPos(200);
    if (socket.Receive(answer, sizeof answer, m_timeoutMs) <= 0) return 8;
    m_reporter.SetProgressPos(200);
    socket.Close();
    return 0;
}
