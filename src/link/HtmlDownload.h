#pragma once
// The download of a unit's web pages over a PC serial port: a handshake, 0x40 0x40
// answered with 0x40, the number of file types, then per type its code, its files (a
// length, then chunks of at most 512 bytes each answered 0xB0, the file answered 0xD0)
// and 0xFF, and at the end 'A'. Products 94 and 98 take the pages of the product's
// "Web Pages" folder with 4-byte lengths; 90 and 96 those of the program's HTML folder
// with 2-byte lengths and files below 64000 bytes.
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "link/LinkReporter.h"
#include "link/SerialPort.h"

inline const std::string kMsgWebNoFiles = "Downloadable files not found, hence can not start downloading.";
inline const std::string kMsgWebPortBusy = "Can not open COMM port. This port is either busy or not available.";
inline const std::string kMsgWebCommError = "Communication Error. Please check the connection cable and try again.";
inline const std::string kMsgWebMismatch = "Product ID mismatched";
inline const std::string kMsgWebTooLarge = "The size of file is too large so that you cannot not download it.";
inline const std::string kMsgWebFileError = "Error in Downloading Files.Please retry!";
inline const std::string kMsgWebNoResponse = "Device is not Responding !";
inline const std::string kMsgWebDone = "Files are successfully downloaded.";
inline const std::string kWebDownloading = "Downloading Files: ";

// A file type: its extension and its code on the link.
using WebFileType = std::pair<std::string, uint8_t>;

struct WebFileEntry {
    std::string path;
    uint32_t size = 0;
};

// What the download needs of its dialog.
class IHtmlDownloadReporter : public ILinkReporter {
public:
    virtual void SetStatusText(const std::string& /*text*/) {}
    virtual void SetFileName(const std::string& /*name*/) {}
    // Lets the window repaint while a folder is searched.
    virtual void PumpMessages() {}
};

class CHtmlDownload {
public:
    enum class Result { Done, NoFiles, TooManyFiles, TooLarge, PortNotOpened, ConnectFailed, FileFailed, NoResponse };
    static constexpr size_t kChunk = 512;
    static constexpr size_t kMaxFilesOfType = 30;
    static constexpr uint32_t kSmallFileLimit = 64000;

    CHtmlDownload(CSerialPort& port, IHtmlDownloadReporter& reporter, std::string logPath = "LOG.txt");

    // Products with web pages: 94 and 98 (the five types always) and 90 and 96 (the types
    // that have files).
    static bool HasWideLengths(unsigned deviceId) { return deviceId == 94 || deviceId == 98; }
    static bool HasNarrowLengths(unsigned deviceId) { return deviceId == 90 || deviceId == 96; }
    static std::vector<WebFileType> WideTypes();
    static std::string WebFolder(unsigned deviceId, const std::string& product);
    // The types of the HTML folder that have files directly in it.
    static std::vector<WebFileType> NarrowTypes(const std::string& folder);

    // The files of one type below the folder (any name containing the extension), in
    // sending order.
    std::vector<WebFileEntry> FindFiles(const std::string& folder, const std::string& extension);
    // Ascending by the number at the start of each name (0 when none); equal keys keep
    // their order.
    static void SortFoundFiles(std::vector<WebFileEntry>& files);

    // One run with the given types; every failure has shown its message.
    Result Run(const std::string& portName, unsigned deviceId, const std::string& folder,
               const std::vector<WebFileType>& types);
    int ConnectToUnit(unsigned deviceId);
    // The files of one type; 0 when the unit took them all.
    int SendFile(const std::vector<WebFileEntry>& files, int lengthBytes);

    // The message of a refused run that named a type (more than 30 files).
    std::string TooManyFilesMessage(const std::string& extension) const;

private:
    bool WaitForChunkAnswer();
    void Fail(const std::string& message);

    CSerialPort& m_port;
    IHtmlDownloadReporter& m_reporter;
    std::ofstream m_log;
    bool m_logClosed = false;
};
