#pragma once
// The transfer sequences of the older products, as their transfer dialog runs them on its
// port: firmware, the COM1 and COM2 protocol drivers and the project into the unit, and the
// project back out of it. They share the unit link with the newer sequences (handshake,
// commands, answer waits, framed records, the restart) and keep apart what differs on the
// wire: the older file blocks carry a one-byte length and are not padded, come in fixed
// blocks of 56 or 64 bytes, and the project goes as one record per transfer block, each
// with its own check byte and answer.
//
// Each sequence reports progress, status lines and messages through ITransferReporter and
// returns 0 done or -1 failed, having shown its own messages. The port is open when a
// sequence is called and left open except where a step closes it.
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "compiler/OlderUploadDecode.h"
#include "link/TransferReporter.h"
#include "link/UnitLink.h"

// String-table texts of the older transfers.
constexpr int IDS_COM1_DRIVER_ERROR = 60008;
constexpr int IDS_COM2_DRIVER_ERROR = 60010;
constexpr int IDS_BLOCK_ERROR = 60016;
inline const std::string kMsgCom1DriverError = "Error while Com1 Driver downloading.";
inline const std::string kMsgCom2DriverError = "Error while Com2 Driver downloading.";
inline const std::string kMsgBlockDownloadError = "Error in downloading Block.";

class COlderTransfer {
public:
    // Start offsets of the file blocks by kind (products other than 83 and 84).
    static constexpr long kFirmwareStart = 8192;
    static constexpr long kCom1DriverStart = 16416;
    static constexpr long kCom2DriverStart = 32800;
    static constexpr long kCom1DriverRecordOffset = 16384;
    static constexpr long kCom2DriverRecordOffset = 32768;

    // The sequences run on `port` and report to `reporter`; the port reports to it too
    // while this object lives.
    COlderTransfer(CSerialPort& port, ITransferReporter& reporter);
    ~COlderTransfer();
    COlderTransfer(const COlderTransfer&) = delete;
    COlderTransfer& operator=(const COlderTransfer&) = delete;

    // The file block size of a product: 64 bytes for 83 and 84, 56 for the others; and
    // whether its files are sent whole from offset 0.
    static int FileBlockSize(unsigned deviceId);
    static bool SendsWholeFiles(unsigned deviceId) { return FileBlockSize(deviceId) == 64; }

    // The older handshake (0x10 0xAA, no pause before the answer; only 0x08 or silence
    // refuses the confirmation). A product mismatch shows "Product ID mismatch." and sets
    // g_bProductMismatch. 0 connected.
    int ConnectToUnit();
    // The framed record; marks line 2.
    int SendSetupRecord(const uint8_t* record, size_t length);
    // The older file blocks: from `start` (a file shorter than start: from 0 for kind 1,
    // from 32 for kinds 2 and 3), one length byte, the data, a check byte, one answer per
    // block; then the end exchange. 0 when the unit ended with 0x03.
    int SendFileBlocks(std::istream& file, long start, int blockSize, int kind,
                       StreamOutcome* outcome = nullptr);

    // kTransferStopped when the person asked to stop before the first command that changes
    // what the unit holds (the firmware stream, the driver's setup record); the firmware's
    // kNoFirmwareChosen when the choice among several files was cancelled.
    int DownloadFirmware();
    int DownloadCom1Driver();
    int DownloadCom2Driver();
    // Sends the project image as this download compiled it (kept in memory from the compile
    // on, so that another program compiling into the product's WritePrj.hex changes nothing
    // of it): the driver check, the setup record and, except for the three-port product, the
    // block records. 0 also when the driver question was declined (then g_nDownloadResult
    // is -1); kTransferStopped when the person asked to stop before the setup record.
    int DownloadProject(const std::string& image);
    // The same with WritePrj.hex as it is on disk now.
    int DownloadProject();

    // Takes the project out of the unit into a staged copy of the model: 0 when the
    // exchange ran to its end (Uploaded() holds the project, not yet applied), -1 when it
    // failed and the open project is as it was.
    int UploadProject();
    const OlderUploadedProject* Uploaded() const { return m_pDecoder ? &m_pDecoder->Result() : nullptr; }

    // Restarts the unit and closes the port.
    int RestartUnit() { return m_link.RestartUnit(); }

    CUnitLink& Link() { return m_link; }

private:
    class LineAdapter : public ILinkReporter {
    public:
        explicit LineAdapter(COlderTransfer& owner) : m_owner(owner) {}
        int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
        void SetProgressPos(int position) override;
        void MarkConnection(LineState state) override;
        void MarkStep(LineState state) override;
        void ClearSummary() override;

    private:
        COlderTransfer& m_owner;
    };

    int DownloadDriver(int which);
    int RunUpload(COlderUploadDecoder& decoder);
    void CommError();
    void CommErrorUnlessMismatch();
    void Mark(int line, LineState state) { m_reporter.MarkLine(line, state, 0); }
    void Progress(int position) { m_reporter.SetProgressPos(position); }
    void Sleep(uint32_t ms) { m_port.GetClock().Sleep(ms); }

    CSerialPort& m_port;
    ITransferReporter& m_reporter;
    LineAdapter m_adapter;
    CUnitLink m_link;
    ILinkReporter* m_pPreviousReporter;
    std::unique_ptr<COlderUploadDecoder> m_pDecoder;
    int m_nMessages = 0;  // messages shown so far
};
