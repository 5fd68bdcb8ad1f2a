#pragma once
// The upload of the unit's system data: the version text and health of its firmware, its
// PLC1 (COM1) and PLC2 (COM2) drivers and its boot block, asked with 0x17 0x17 after a
// handshake of the system-data kind (no pause before the answer, any confirmation but
// 0x08 taken as consent). After a good reading the user may restart the unit.
#include <string>

#include "link/LinkReporter.h"
#include "link/SerialPort.h"

// 1 once a handshake of the older dialogs or of the system-data upload was answered with
// another product's code in the transfer that runs (cleared by ClearLinkState).
extern int g_bProductMismatch;

// Texts of the upload.
inline const std::string kMsgSysDataUploading = "Uploading system data...Please Wait.";
inline const std::string kMsgSysDataHandshakeFailed = "Upload System Data Failed.";
inline const std::string kMsgSysDataFailed = "Failed To Upload System Data";
inline const std::string kMsgSysDataRestart =
    "Uploading system data completed.\nTo run the project in Quorvex hardware, you need to restart\n"
    "Quorvex hardware. Do you want to restart it now?";
inline const std::string kSysDataStatusOk = "OK";
inline const std::string kSysDataStatusCorrupt = "Corrupt";
inline const std::string kSysDataNotApplicable = "Not Applicable";

// What the unit reported, as the dialog shows it.
struct UnitSystemData {
    std::string firmwareVersion, firmwareStatus;
    std::string plc1Version, plc1Status;
    std::string plc2Version, plc2Status;
    std::string bootVersion, bootStatus;
};

// What the upload needs of its dialog.
class ISystemDataReporter : public ILinkReporter {
public:
    virtual void SetStatusText(const std::string& /*text*/) {}
    // Upload and Exit.
    virtual void EnableButtons(bool /*enable*/) {}
    virtual void ShowData(const UnitSystemData& /*data*/) {}
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};

class CSystemDataUpload {
public:
    static constexpr uint8_t kUnitInfo = 0x17;
    static constexpr size_t kInfoBytes = 21;      // firmware, PLC1 and PLC2 driver groups
    static constexpr size_t kBootBlockBytes = 7;  // the boot-block group
    static constexpr uint32_t kAnswerPauseMs = 1000;

    CSystemDataUpload(CSerialPort& port, ISystemDataReporter& reporter);

    // The handshake: 0 connected, -1 not (a product mismatch shows its message here and
    // sets g_bProductMismatch and g_bLinkFailed).
    int UploadSystemData(unsigned deviceId);
    // One upload on the port named portName: open, handshake, 0x17 0x17, the three groups
    // and the boot block into `data`, the restart question after a good reading, close.
    // The outcome: 1 good reading, -1 failed.
    int Run(const std::string& portName, unsigned deviceId, UnitSystemData& data);

private:
    int Fail(const std::string* message);

    CSerialPort& m_port;
    ISystemDataReporter& m_reporter;
};
