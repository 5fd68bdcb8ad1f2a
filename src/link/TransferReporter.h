#pragma once
// What the transfer sequences (firmware, drivers, project download, project upload) need
// of the dialog that runs them: the messages and progress of the link, the five status
// lines with their icons, the name of the file being sent, the firmware chooser, the
// product question of an upload and the frame's menu. The transfer dialog implements it
// on its controls; tests record it.
#include <string>
#include <vector>

#include "compiler/UploadDecode.h"
#include "link/LinkReporter.h"

// Bitmap resources of the status-line icons.
constexpr int IDB_STATUS_IDLE = 188;
constexpr int IDB_STATUS_SUCCESS = 187;
constexpr int IDB_STATUS_FAILURE = 196;

// The status lines of the transfer dialog.
enum TransferLine {
    kLineConnect = 1,  // connection
    kLineStep = 2,     // firmware, driver setup, driver check (upload: the query)
    kLineSetup = 3,    // driver, project setup
    kLineProject = 4,  // project
    kLineCompile = 5,  // compile
};

class ITransferReporter : public ILinkReporter, public IUploadDecodeHost {
public:
    // One message box for the link and the decode.
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override = 0;
    // Marks a status line: its state colours the text at the next repaint, its icon
    // (0: the state's own, 187 succeeded, 196 failed; 188 idle) is shown; then the
    // window repaints.
    virtual void MarkLine(int /*line*/, LineState /*state*/, int /*icon*/) {}
    // Hides the five icons and empties the five texts.
    virtual void ClearStatus() {}
    // The name of the file being sent (empty: cleared).
    virtual void SetFileName(const std::string& /*name*/) {}
    // The wait cursor for a long step.
    virtual void BeginWaitCursor() {}
    // More than one firmware file: the user picks one. The full path, or empty when the
    // choice was cancelled.
    virtual std::string ChooseFirmwareFile(const std::vector<std::string>& /*paths*/,
                                           const std::string& /*folder*/) {
        return std::string();
    }
    // The frame's menu set again for the product after an upload exchange.
    virtual void RestoreMenuAfterTransfer() {}
    // The person asked to stop the transfer: a sequence stops at its next safe point (before
    // the next command that changes what the unit holds) and reports kTransferStopped.
    virtual bool StopAsked() { return false; }
};

// A sequence stopped at a safe point because the person asked for it: nothing of it was
// sent (a download) or taken over (an upload).
constexpr int kTransferStopped = 1;
// A firmware download whose file choice was cancelled: nothing of it was sent.
constexpr int kNoFirmwareChosen = 2;
