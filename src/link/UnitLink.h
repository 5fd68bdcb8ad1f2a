#pragma once
// The unit's byte protocol on an open CSerialPort: the handshake in which the unit names
// its product, two-byte commands and the unit's answers (with the echo wait for commands
// the unit needs long to prepare), framed records, streams of file blocks with check
// bytes and acknowledgements, and the restart command. Every dialog that talks to a unit
// calls these routines; the differences between the dialogs' handshakes are options.
//
// Routines return 0 when done and -1 when failed, having shown their own message where
// one is due; a failed handshake shows none (its caller shows 60000 unless g_bLinkFailed).
// On a port that is not open they fail at once: a record or stream with one 60000, the
// handshake, the answer waits and the restart without a message of their own.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "link/SerialPort.h"

// 1 once a handshake answer named another product in the transfer that runs. While it is 1
// the transfer dialogs skip message 60000 after a failed handshake (the mismatch was said).
extern int g_bLinkFailed;
// Every transfer run starts from a clear link state: a mismatch an earlier run reported
// (g_bLinkFailed, g_bProductMismatch) silences nothing of this one.
void ClearLinkState();

// Handshake answer bytes and commands.
namespace unitcmd {
constexpr uint8_t kHandshake = 0x10;         // first byte of the handshake family
constexpr uint8_t kConnect = 0xAA;           // 0x10 0xAA
constexpr uint8_t kConnectAlternate = 0xCC;  // 0x10 0xCC
constexpr uint8_t kRestart = 0xBB;           // 0x10 0xBB
constexpr uint8_t kConfirm = 0x02;           // sent twice after a matching answer
constexpr uint8_t kMismatch = 0x08;          // 0x08 0x08: the product code does not match
constexpr uint8_t kAck = 0x00;               // a record or block was taken
constexpr uint8_t kComplete = 0x03;          // the transfer is complete
}  // namespace unitcmd

// The handshake as each dialog runs it. The defaults are the transfer dialog's.
struct HandshakeOptions {
    // The product code the unit must report (the selected product's DeviceID).
    uint8_t expectedProductCode = 0;
    // Send 0x10 0xCC instead of 0x10 0xAA (alternate-group product after the firmware
    // check of an upload).
    bool alternateCommand = false;
    // Pause between the command and reading the answer (0: read at once).
    uint32_t answerPauseMs = 100;
    // The unit's answer to the two confirmations: Exact02 accepts only 0x02;
    // AnyButMismatch accepts any byte except 0x08.
    enum class Confirm { Exact02, AnyButMismatch } confirm = Confirm::Exact02;
    // A product mismatch: the message (none when empty), its caption and flags, whether
    // it sets g_bLinkFailed, and whether 0x08 0x08 is also sent before the message.
    std::string mismatchMessage = kMsgProductIdMismatch;
    std::string mismatchCaption;
    unsigned mismatchFlags = linkmb::kOk;
    bool setLinkFailed = true;
    bool noticeBeforeMessage = false;
};

enum class HandshakeOutcome {
    Connected,        // accepted and confirmed
    NoAnswer,         // no acceptable answer in all tries
    ProductMismatch,  // the unit named another product
    NotConfirmed,     // no answer to the confirmations
    Refused,          // the confirmation was answered with a byte the rule does not accept
};

struct HandshakeResult {
    HandshakeOutcome outcome = HandshakeOutcome::NoAnswer;
    uint8_t productCode = 0;       // byte 2 of the accepted answer
    bool alternateGroup = false;   // the product code is in the alternate-handshake group
    int tries = 0;                 // commands sent
    int wrongAnswers = 0;          // complete answers that were not accepted
};

// How a one-byte answer turned out.
enum class AnswerResult { Expected, Other, None };

// Where a file-block stream failed.
enum class StreamOutcome {
    Done,
    InvalidBlockSize,  // refused before anything was sent
    BlockNotAnswered,
    BlockRefused,
    EndNotAnswered,
    EndWrongAnswer,
};

class CUnitLink {
public:
    // Largest block size of a file stream (firmware, drivers): the block buffer's size.
    static constexpr int kMaxFileBlockSize = 600;
    // Largest block size of the project stream.
    static constexpr int kMaxProjectBlockSize = 5000;
    static constexpr int kProgressMax = 200;
    // The bar's position after `sent` of `blocks` blocks of a stream: from 10 to the end.
    static int BlockProgress(size_t sent, size_t blocks) { return ProgressFrom(10, sent, blocks); }
    // The same from `start`: `done` of `total` steps.
    static int ProgressFrom(int start, size_t done, size_t total) {
        return total ? start + static_cast<int>(static_cast<size_t>(kProgressMax - start) * done / total) : start;
    }
    // The echo wait's watchdog.
    static constexpr uint32_t kEchoWatchdogMs = 10000;

    explicit CUnitLink(CSerialPort& port) : m_port(port) {}

    static bool IsAlternateHandshakeProduct(uint8_t productCode);

    // The handshake; 0 connected, -1 otherwise.
    int ConnectToUnit(const HandshakeOptions& options, HandshakeResult* result = nullptr);

    // Writes the two-byte command.
    int SendCommand(uint8_t first, uint8_t second);
    // Waits for the echo of a command the unit may need long to prepare: single-byte
    // reads until a byte comes or the 10 s watchdog expires, then one further read.
    // The byte received is stored in *received. No message.
    AnswerResult WaitForEcho(uint8_t command, uint8_t* received = nullptr);
    // command command, then the echo wait.
    AnswerResult SendCommandWaitEcho(uint8_t command, uint8_t* received = nullptr);
    // command command, a pause, then one byte that should be `expected`. No message.
    AnswerResult SendCommandReadAnswer(uint8_t command, uint32_t pauseMs, uint8_t expected,
                                       uint8_t* received = nullptr);

    // A framed record (at most 255 bytes): length, bytes, check byte, then the end exchange.
    // 0 when the unit ended with 0x03.
    int SendFramedBlock(const uint8_t* record, size_t length);
    int SendFramedBlock(const std::vector<uint8_t>& record) {
        return SendFramedBlock(record.data(), record.size());
    }

    // The file from `start` (kind 1: from 0 when the file is shorter than start; kinds 2
    // and 3: from 32) as file blocks of blockSize bytes, the last one padded with 0xFF,
    // then the end exchange. Progress moves from 10 to 200. 0 when the unit ended with 0x03.
    int SendFileBlocks(std::istream& file, long start, int blockSize, int kind,
                       StreamOutcome* outcome = nullptr);
    // The bytes of the file from `start`; a file shorter than start is taken from 0 (kind
    // 1, firmware) or from 32 (kinds 2 and 3, drivers).
    static std::vector<uint8_t> ReadFileFrom(std::istream& file, long start, int kind);
    // The same for bytes in memory. blockSize must be 1 to maxBlockSize; a final answer
    // other than 0x03 shows wrongEndMessage when it is not empty.
    int SendBlocks(const uint8_t* data, size_t size, int blockSize,
                   int maxBlockSize = kMaxFileBlockSize,
                   const std::string& wrongEndMessage = std::string(),
                   StreamOutcome* outcome = nullptr);

    // Restart: set the line, purge, 0x10 0xBB, close the port. No answer is read.
    // -1 when the port is not open.
    int RestartUnit();

    // 9600 baud, 8 data bits, no parity, one stop bit.
    void SetStandardLine();

    CSerialPort& Port() { return m_port; }

private:
    void Sleep(uint32_t ms) { m_port.GetClock().Sleep(ms); }
    ILinkReporter& Reporter() { return m_port.GetReporter(); }
    void CommError() { Reporter().ShowMessage(kMsgCommError, "", linkmb::kOk); }

    CSerialPort& m_port;
};

// The text of the message that refuses a block size.
std::string InvalidBlockSizeMessage(int blockSize, int maxBlockSize);
