#pragma once
// The transfer sequences of the newer products, as the transfer dialog runs them on its
// port: firmware, the COM1 and COM2 protocol drivers and the project into the unit, and
// the project back out of it. Each sequence says what goes on the line, in what order,
// with which pauses and checks; it reports progress, status lines and messages through
// ITransferReporter and returns 0 done or -1 failed, having shown its own messages.
//
// The port is open when a sequence is called and is left open except where a step closes
// it; the caller closes it at the end.
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "compiler/UploadDecode.h"
#include "link/TransferReporter.h"
#include "link/UnitLink.h"

// The result of the running download: 0, or -1 once a task failed or was declined.
extern int g_nDownloadResult;
extern int g_nUploadResult;
// The firmware files found by the last firmware download, and the one sent.
extern std::vector<std::string> g_arrFirmwareFiles;
extern std::string g_strFirmwareFile;

// String-table ids and texts of the transfers.
constexpr int IDS_NO_PROJECT = 60005;
constexpr int IDS_FIRMWARE_ERROR = 60012;
constexpr int IDS_PROJECT_ERROR = 60015;
constexpr int IDS_DRIVER_ERROR = 60017;
constexpr int IDS_FIRMWARE_FILE = 60023;
constexpr int IDS_DRIVER_FILE = 60024;
inline const std::string kMsgNoProject = "Quorvex has no project in it's memory!";
inline const std::string kMsgFirmwareError = "Error while Firmware downloading.";
inline const std::string kMsgProjectError = "Error while  Project downloading.";
inline const std::string kMsgDriverError = "Error while  Diver downloading.";
inline const std::string kMsgFirmwareFile =
    "Firmware file corrupt or not found. Please ensure that the correct firmware file  is in "
    "the Firmware sub-directory.";
inline const std::string kMsgDriverFile =
    "Driver file corrupt or not found. Please ensure that the correct Driver file for the "
    "selected PLC is in the Driver sub-directory.";
inline const std::string kMsgCreateDummy = "Can not create Dummy Project File";
inline const std::string kMsgOpenIdbFiles = "Unable to Open IDB Files.";
inline const std::string kMsgOpenIntermediate = "Unable to Open intermediate file.";
inline const std::string kMsgCreateUpload = "Unable to create UpLoadPrj.hex file.";
inline const std::string kMsgBlockNotReceived = "Block Not Recieved";
inline const std::string kMsgCrcNotReceived = "CRC Not Recieved";
inline const std::string kMsgCrcMismatch = "CRC Mismatch";

// Commands of the transfers (each sent twice).
namespace unitcmd {
constexpr uint8_t kFirmware = 0x12;
constexpr uint8_t kCom1DriverSetup = 0x22;
constexpr uint8_t kCom1Driver = 0x21;
constexpr uint8_t kCom2DriverSetup = 0x14;
constexpr uint8_t kCom2Driver = 0x13;
constexpr uint8_t kDrivers = 0x20;
constexpr uint8_t kProjectSetup = 0x19;
constexpr uint8_t kProject = 0x18;
constexpr uint8_t kUnitInfo = 0x17;
constexpr uint8_t kUploadSetup = 0x15;
constexpr uint8_t kUploadProject = 0x16;
constexpr uint8_t kProjectLead = 0x1E;  // first byte of the project stream
}  // namespace unitcmd

// Offsets of the driver setup record in a driver file.
constexpr long kCom1DriverRecordOffset = 16384;
constexpr long kCom2DriverRecordOffset = 32768;
constexpr size_t kDriverRecordSize = 32;
// Length field of the project data in the setup record as sent.
constexpr size_t kSetupDataLengthOffset = 58;

// The images a newer project download sends, taken at the compile and kept in memory until
// they are on the line: another program compiling a project of the same product into the
// product's shared image files meanwhile changes nothing of what this download sends.
struct CompiledProject {
    std::string image;   // the project image, as written to WritePrj.hex
    std::string idb[2];  // the internal-database images of COM1 and COM2
};

// What the sequences of both generations do alike.
namespace transfer {
// Collects the *.abs files of the product's Firmware folder into g_arrFirmwareFiles and
// sets g_strFirmwareFile: the only one, or the one the user picks among several. Opens it
// and shows its name: 0. kNoFirmwareChosen when the choice was cancelled; -1 after message
// 60023 when there is none or it cannot be opened (then the port is closed).
int OpenFirmwareFile(ITransferReporter& reporter, CSerialPort& port, std::istringstream& file);
// The driver file of port `which` (1 or 2) named by its PLC definition file (the
// three-port product takes both from its COM1 PLC), opened from the product's Drivers
// folder and shown; its name, or empty after message 60024 (then the port is closed).
std::string OpenDriverFile(ITransferReporter& reporter, CSerialPort& port, int which, std::istringstream& file);
// The driver's setup record: up to 32 bytes from recordOffset in the file (from 0 when the
// file is shorter), its first three bytes naming the port's PLC (register width, PLC
// number, model number). `length` is how many bytes the file gave.
std::vector<uint8_t> DriverSetupRecord(std::istream& file, int which, long recordOffset, size_t& length);
// The driver check before a project download: 0x20 0x20 and the unit's 5-byte drivers
// answer against the project's PLCs (the three-port product compares COM1 only); when
// they differ, the question that names the unit's drivers. 1 go on (also when the unit
// did not echo), 0 the user declined (g_nDownloadResult is -1), -1 failed (reported).
int CheckUnitDrivers(CUnitLink& link, ITransferReporter& reporter);
// The setup record of an upload after the unit echoed 0x15 0x15: the status byte (0xFF:
// the unit holds no project), the 64 bytes (given to `decode`), the check byte and the
// closing bytes, each answered. 0, or -1 after its message.
int ReceiveUploadSetup(CSerialPort& port, ITransferReporter& reporter, const std::function<void(const uint8_t*)>& decode);
}  // namespace transfer

class CTransferTasks {
public:
    // The sequences run on `port` and report to `reporter`; the port reports to it too
    // while this object lives.
    CTransferTasks(CSerialPort& port, ITransferReporter& reporter);
    ~CTransferTasks();
    CTransferTasks(const CTransferTasks&) = delete;
    CTransferTasks& operator=(const CTransferTasks&) = delete;

    // The product's transfer block size: "Product<n>DSize" of the last product entry named
    // `product`; 0 when no entry names it.
    static int ReadTransferBlockSize(const std::string& product);

    // The handshake with the selected product's code; the alternate command once both
    // alternate flags are set. 0 connected.
    int ConnectToUnit();

    // kTransferStopped when the person asked to stop before the first command that changes
    // what the unit holds (the firmware stream, the driver's setup record); the firmware's
    // kNoFirmwareChosen when the choice among several files was cancelled.
    int DownloadFirmware();
    int DownloadCom1Driver();
    int DownloadCom2Driver();

    // The unit's firmware version before a project download (command 0x17): 0 when the
    // unit answered (m_strUnitFirmware holds the version when it echoed); -1 when it gave
    // no answer: the port is closed and the project task ends.
    int ReadUnitFirmware();
    // Compares m_strUnitFirmware with the product's: 1 equal, 0 the unit's is older,
    // 2 the unit's is newer.
    int CompareUnitFirmware() const;

    // The internal-database images a project download sends, read now: the product's working
    // pair for a modified project, else the pair beside the project file. False after the
    // message that names the image that could not be read (then the port is closed).
    bool ReadIdbImages(CompiledProject& compiled);
    // Sends the compiled project image, its internal-database images and the feature tables.
    // kTransferStopped when the person asked to stop before the unit took the setup record.
    int DownloadProject(const CompiledProject& compiled);
    // The same with WritePrj.hex and the internal-database images as they are on disk now.
    int DownloadProject();

    // Takes the project out of the unit. 0: the exchange succeeded and the uploaded
    // project has replaced the open one (ApplyUploadedProject); -1: it failed and the open
    // project is as it was.
    int UploadProject();
    // The project of the last upload (its block rows go to the block list).
    const UploadedProject* Uploaded() const { return m_pDecoder ? &m_pDecoder->Result() : nullptr; }

    // Restarts the unit and closes the port.
    int RestartUnit() { return m_link.RestartUnit(); }

    CUnitLink& Link() { return m_link; }

    // Members of the dialog the sequences share with it.
    int m_nBlockSize = 0;
    int m_bAltHandshakeProduct = 0;
    int m_bAltHandshakeFirmware = 0;
    int m_bProjectStep = 0;
    // A failure of the task in progress was reported: a later "Communication Error" of the
    // same task (a dead line fails every write and read) is not shown again.
    bool FailureShown() const { return m_bFailureShown; }
    std::string m_strUnitFirmware;

private:
    // Forwards the link's reports to the dialog's lines: the connection to line 1, a
    // framed record to the line of the current step.
    class LineAdapter : public ILinkReporter {
    public:
        explicit LineAdapter(CTransferTasks& owner) : m_owner(owner) {}
        int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
        void SetProgressPos(int position) override;
        void MarkConnection(LineState state) override;
        void MarkStep(LineState state) override;

    private:
        CTransferTasks& m_owner;
    };

    int DownloadDriver(int port);
    int RunUpload(CUploadDecoder& decoder);
    bool CheckBlockSize(int maxBlockSize);
    void CommError();
    void CommErrorUnlessLinkFailed();
    void Mark(int line, LineState state, int icon = 0) { m_reporter.MarkLine(line, state, icon); }
    void Progress(int position) { m_reporter.SetProgressPos(position); }
    void Sleep(uint32_t ms) { m_port.GetClock().Sleep(ms); }

    CSerialPort& m_port;
    ITransferReporter& m_reporter;
    LineAdapter m_adapter;
    CUnitLink m_link;
    ILinkReporter* m_pPreviousReporter;
    bool m_bFailureShown = false;
    int m_nStepLine = kLineStep;
    std::unique_ptr<CUploadDecoder> m_pDecoder;
};
