#pragma once
// How the unit link tells the user what happens: message boxes, the progress bar and the
// two status lines a transfer dialog keeps for the connection and the current step. The
// dialogs wire it to their controls and to the message boxes of the ui layer; tests
// record it. The texts the link shows are here too.
#include <string>

// Message box flags, with the values of the system's message boxes.
namespace linkmb {
constexpr unsigned kOk = 0x00;
constexpr unsigned kOkCancel = 0x01;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kIconStop = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconExclamation = 0x30;
constexpr unsigned kIconInformation = 0x40;
// Answers.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace linkmb

// String-table ids and texts used by the link.
constexpr int IDS_COMM_ERROR = 60000;
constexpr int IDS_OPEN_PORT_ERROR = 60013;
inline const std::string kMsgCommError =
    "Communication Error. Please check the cable, connection and power to the unit. Please retry!";
inline const std::string kMsgOpenPortError =
    "Unable to open IBM Com Port ! Please change your IBM Com port setting.";
inline const std::string kMsgSetCommStateFailed = "Set comm state failed...";
inline const std::string kMsgProductIdMismatch = "Product ID mismatch.";

// State of a status line: 0 none, 1 succeeded, 2 failed.
enum class LineState { None = 0, Succeeded = 1, Failed = 2 };

class ILinkReporter {
public:
    virtual ~ILinkReporter() = default;
    // A modal message; an empty caption means the program's title. Returns the button
    // pressed (linkmb::kIdOk, ...).
    virtual int ShowMessage(const std::string& text, const std::string& caption,
                            unsigned flags) = 0;
    // Progress bar position, 0 to 200.
    virtual void SetProgressPos(int /*position*/) {}
    // The connection line: reset at the start of a handshake, succeeded when an answer
    // was accepted, failed when none was or the unit did not confirm.
    virtual void MarkConnection(LineState /*state*/) {}
    // The line of the current step (a framed record).
    virtual void MarkStep(LineState /*state*/) {}
    // The unit confirmed the handshake: the summary of an earlier transfer goes.
    virtual void ClearSummary() {}
};

// The reporter a port uses when it was given none: until a program sets one, messages go
// to the standard error output.
ILinkReporter& DefaultLinkReporter();
void SetDefaultLinkReporter(ILinkReporter* reporter);  // nullptr restores the fallback
