#include "link/HtmlDownload.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "link/UnitLink.h"
#include "plc/DefinitionFiles.h"
#include "plc/FileFinder.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace {

constexpr uint8_t kWebCommand = 0x40;
constexpr uint8_t kChunkAck = 0xB0;
constexpr uint8_t kFileAck = 0xD0;
constexpr uint8_t kTypeEnd = 0xFF;
constexpr uint8_t kEnd = 'A';
constexpr uint32_t kReadLimitMs = 1000;
constexpr uint32_t kChunkWaitMs = 2000;
constexpr uint32_t kCommandWaitMs = 6000;
constexpr unsigned kInfo = linkmb::kOk | linkmb::kIconInformation;

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The number at the start of the name without its extension.
unsigned long NameKey(const std::string& path) {
    std::string name = BaseName(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    unsigned long key = 0;
    for (char c : name) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        key = key * 10 + unsigned(c - '0');
    }
    return key;
}

// Restores the port's read limit when a run ends.
struct ReadLimit {
    CSerialPort& port;
    uint32_t saved;
    ReadLimit(CSerialPort& p, uint32_t ms) : port(p), saved(p.GetReadLimit()) { port.SetReadLimit(ms); }
    ~ReadLimit() { port.SetReadLimit(saved); }
};

}  // namespace

CHtmlDownload::CHtmlDownload(CSerialPort& port, IHtmlDownloadReporter& reporter, std::string logPath)
    : m_port(port), m_reporter(reporter), m_log(logPath, std::ios::trunc) {}

std::vector<WebFileType> CHtmlDownload::WideTypes() {
    return {{".htm", 1}, {".gif", 2}, {".css", 3}, {".js", 4}, {".jar", 5}};
}

std::string CHtmlDownload::WebFolder(unsigned deviceId, const std::string& product) {
    if (HasWideLengths(deviceId)) return deffiles::ProductFolder(product) + "\\Web Pages";
    if (HasNarrowLengths(deviceId)) return platform::GetProgramFolder() + "HTML\\";
    return std::string();
}

std::vector<WebFileType> CHtmlDownload::NarrowTypes(const std::string& folder) {
    std::vector<WebFileType> types;
    const std::vector<std::string> names = platform::ListDirectory(platform::ResolvePath(folder));
    const WebFileType all[3] = {{".html", 1}, {".png", 2}, {".jar", 3}};
    for (const WebFileType& type : all) {
        for (const std::string& name : names) {
            const std::string path = CPathName::AddBackslash(folder) + name;
            if (MatchesFileMask(name, "*" + type.first) &&
                !(platform::GetFileAttributes(platform::ResolvePath(path)) & platform::FILE_ATTRIBUTE_DIRECTORY)) {
                types.push_back(type);
                break;
            }
        }
    }
    return types;
}

std::vector<WebFileEntry> CHtmlDownload::FindFiles(const std::string& folder, const std::string& extension) {
    CFileFinder finder;
    finder.SetProgressTarget([](CFileFinder*, int, void* user) { static_cast<IHtmlDownloadReporter*>(user)->PumpMessages(); },
                             &m_reporter);
    CFileFinder::CFindOpts options;
    options.sBaseFolder = folder;
    options.sFileMask = "*" + extension + "*";
    options.bSubfolders = 1;
    options.dwOptionsFlags = CFileFinder::FIND_ATTRIBUTES;
    options.dwFileAttributes = platform::FILE_ATTRIBUTE_ARCHIVE;
    finder.RemoveAll();
    finder.SearchFolder(options);
    std::vector<WebFileEntry> files;
    for (int i = 0; i < finder.GetFileCount(); ++i) {
        CPathName path = finder.GetFilePath(i);
        uint64_t size = 0;
        path.GetFileSize(size);
        files.push_back({path.GetLongPath().empty() ? path.GetFullPath() : path.GetLongPath(), uint32_t(size)});
    }
    SortFoundFiles(files);
    return files;
}

void CHtmlDownload::SortFoundFiles(std::vector<WebFileEntry>& files) {
    // Files with equal keys keep the order the search found them in.
    std::stable_sort(files.begin(), files.end(),
                     [](const WebFileEntry& a, const WebFileEntry& b) { return NameKey(a.path) < NameKey(b.path); });
}

std::string CHtmlDownload::TooManyFilesMessage(const std::string& extension) const {
    return "More than " + std::to_string(kMaxFilesOfType) + " files of type " + extension +
           " were found. At most " + std::to_string(kMaxFilesOfType) +
           " files of one type can be downloaded; nothing was sent.";
}

int CHtmlDownload::ConnectToUnit(unsigned deviceId) {
    HandshakeOptions options;
    options.expectedProductCode = static_cast<uint8_t>(deviceId);
    options.answerPauseMs = 0;
    options.confirm = HandshakeOptions::Confirm::AnyButMismatch;
    options.mismatchMessage = kMsgWebMismatch;
    options.mismatchFlags = linkmb::kOk | linkmb::kIconStop;
    options.noticeBeforeMessage = true;
    CUnitLink link(m_port);
    if (link.ConnectToUnit(options) != 0) return -1;

    // From here on every read waits at most 1000 ms.
    m_port.SetReadLimit(kReadLimitMs);
    link.SendCommand(kWebCommand, kWebCommand);
    m_port.PurgeComm(PURGE_RXCLEAR);
    platform::Clock& clock = m_port.GetClock();
    const uint32_t start = clock.GetTickCount();
    while (clock.GetTickCount() - start < kCommandWaitMs) {
        if (m_port.ReadByte() == -1) {
            if (m_port.IsLineDown() || !m_port.IsOpen()) return -1;
            continue;
        }
        return m_port.GetReceivedByte() == kWebCommand ? 0 : -1;
    }
    return -1;
}

bool CHtmlDownload::WaitForChunkAnswer() {
    platform::Clock& clock = m_port.GetClock();
    const uint32_t start = clock.GetTickCount();
    while (clock.GetTickCount() - start < kChunkWaitMs) {
        if (m_port.ReadByte() == -1) return false;
        if (m_port.GetReceivedByte() == kChunkAck) return true;
    }
    return false;
}

void CHtmlDownload::Fail(const std::string& message) {
    m_port.Close();
    m_reporter.ShowMessage(message, "Error", kInfo);
}

int CHtmlDownload::SendFile(const std::vector<WebFileEntry>& files, int lengthBytes) {
    for (size_t number = 0; number < files.size(); ++number) {
        const WebFileEntry& entry = files[number];
        std::string bytes, error;
        if (!platform::ReadFileSafely(entry.path, platform::kTransferFileCap, bytes, error)) {
            m_port.Close();
            m_reporter.SetProgressPos(0);
            m_reporter.ShowMessage("The file " + entry.path + " cannot be opened.", "Error", kInfo);
            return -1;
        }
        const std::vector<uint8_t> data(bytes.begin(), bytes.end());
        if (m_log.is_open()) {
            m_log << " File Number - " << number << "\n" << " Size - " << data.size() << "\n";
            m_log.flush();
        }
        const uint32_t length = uint32_t(data.size() + (data.size() & 1));
        uint8_t field[4];
        for (int i = 0; i < lengthBytes; ++i) field[i] = uint8_t(length >> (8 * (lengthBytes - 1 - i)));
        m_port.Write(field, size_t(lengthBytes));

        m_reporter.SetStatusText(kWebDownloading);
        m_reporter.SetFileName(BaseName(entry.path));
        const int start = 2;
        m_reporter.SetProgressPos(start);

        // The chunks: a short file whole (an odd one ending in 0x00), a longer one in
        // pieces of 512 (an odd last piece followed by a space).
        std::vector<std::vector<uint8_t>> chunks;
        if (length <= kChunk) {
            chunks.push_back(data);
            if (data.size() & 1) chunks.back().push_back(0x00);
        } else {
            for (size_t at = 0; at < data.size(); at += kChunk) {
                const size_t n = std::min(kChunk, data.size() - at);
                chunks.emplace_back(data.begin() + long(at), data.begin() + long(at + n));
                if (n & 1) chunks.back().push_back(0x20);
            }
        }
        for (size_t i = 0; i < chunks.size(); ++i) {
            const auto& chunk = chunks[i];
            m_port.Write(chunk.data(), chunk.size());
            // The bar (0 to 100) moves across the file, however many chunks it has.
            m_reporter.SetProgressPos(start + int((100 - start) * (i + 1) / chunks.size()));
            if (!WaitForChunkAnswer()) {
                Fail(kMsgWebFileError);
                return -1;
            }
        }
        if (m_port.ReadByte() == -1 || m_port.GetReceivedByte() != kFileAck) {
            Fail(kMsgWebFileError);
            return -1;
        }
    }
    return 0;
}

CHtmlDownload::Result CHtmlDownload::Run(const std::string& portName, unsigned deviceId, const std::string& folder,
                                         const std::vector<WebFileType>& types) {
    if (types.empty()) {
        m_reporter.ShowMessage(kMsgWebNoFiles, "Error", kInfo);
        return Result::NoFiles;
    }
    // Every file is found and measured before the unit hears anything, so that a run
    // refused for its files leaves the unit untouched.
    std::vector<std::vector<WebFileEntry>> found;
    for (const WebFileType& type : types) {
        found.push_back(FindFiles(folder, type.first));
        if (found.back().size() > kMaxFilesOfType) {
            m_reporter.ShowMessage(TooManyFilesMessage(type.first), "Error", kInfo);
            return Result::TooManyFiles;
        }
        if (!HasWideLengths(deviceId))
            for (const WebFileEntry& f : found.back())
                if (f.size + (f.size & 1) >= kSmallFileLimit) {
                    m_reporter.ShowMessage(kMsgWebTooLarge, "", kInfo);
                    return Result::TooLarge;
                }
    }

    if (m_port.Open(portName) != 0) {
        m_reporter.ShowMessage(kMsgWebPortBusy, "Error", kInfo);
        return Result::PortNotOpened;
    }
    ReadLimit limit(m_port, m_port.GetReadLimit());  // restored at the end of the run
    if (ConnectToUnit(deviceId) != 0) {
        m_port.Close();
        m_reporter.ShowMessage(kMsgWebCommError, "", kInfo);
        return Result::ConnectFailed;
    }
    const uint8_t count = uint8_t(types.size());
    m_port.Write(&count, 1);
    const int lengthBytes = HasWideLengths(deviceId) ? 4 : 2;
    bool sent = true;
    for (size_t i = 0; i < types.size(); ++i) {
        m_port.Write(&types[i].second, 1);
        if (SendFile(found[i], lengthBytes) != 0) {
            sent = false;
            break;
        }
        m_port.Write(&kTypeEnd, 1);
    }
    if (!m_logClosed) {
        m_log.close();
        m_logClosed = true;
    }
    Result result = Result::FileFailed;
    if (sent) {
        m_port.Write(&kEnd, 1);
        if (m_port.ReadByte() == -1) {
            m_reporter.ShowMessage(kMsgWebNoResponse, "", linkmb::kOk);
            result = Result::NoResponse;
        } else {
            m_reporter.ShowMessage(kMsgWebDone, "Complete", kInfo);
            result = Result::Done;
        }
    }
    m_port.Close();
    return result;
}
