#pragma once
// A simulated unit on a pseudo-terminal: the peer of the tool's serial link in tests and
// by hand. It opens a pty pair, keeps a descriptor of the slave side open (so the tool
// may close and reopen the port), and answers the unit's byte protocol from a thread of
// its own: the handshake with its product code, echoed commands, framed records and file
// streams with check bytes and acknowledgements, and the restart command. It stores what
// it received, records every byte in both directions, can pace itself like a real line,
// and can be told to misbehave.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace unitsim {

struct Behaviour {
    uint8_t productCode = 84;  // byte 2 of the handshake answer
    // Speaks the older products' variant of the protocol (see OlderUnit.cpp): file blocks
    // with a one-byte length, the project as one record per transfer block.
    bool older = false;

    // Answers: the unit waits answerDelayMs before each answer (the tool purges its
    // input right after some commands) and echoDelayMs more before the echo of a command
    // it must prepare for.
    int answerDelayMs = 3;
    int echoDelayMs = 0;
    // More before a handshake answer: the tool purges its input right after the command,
    // and a busy machine may take that long to get there.
    int handshakeDelayMs = 0;

    // Pacing: when on, every byte in either direction takes the time it needs on a line
    // of `baud` baud (10 bits a byte: about 1.04 ms at 9600).
    bool pace = false;
    int baud = 9600;

    // Misbehaviour.
    bool silent = false;            // answers nothing at all
    int wrongHandshakes = 0;        // answers this many handshakes with a malformed answer
    uint8_t confirmAnswer = 0x02;   // answer to the two confirmation bytes
    int refuseBlock = 0;            // answers block k (1-based) of every stream with 0x01
    uint8_t endAnswer = 0x03;       // answer to the end of a record or stream
    int streamEndAnswer = -1;       // when 0..255: the answer to the end of a stream instead
    long dropAfterBytes = -1;       // the line is cut after this many received bytes
    bool ignoreCommands = false;    // hears commands but neither echoes nor answers them
    // A gap of this many real milliseconds in the middle of a record or stream puts the
    // unit back to waiting for a command (the tool gave up on the transfer).
    int resyncGapMs = 2500;

    // Project upload (0x15 setup record, 0x16 image): the unit serves the project it took
    // in its last download, or the one a test stored.
    bool noProject = false;          // answers 0x15 with 0xFF: no project in memory
    int wrongCheckAtBlock = 0;       // image block k (1-based) goes out with a wrong check byte
    int stopAfterBlock = 0;          // says nothing more after image block k (1-based)
    bool omitSetupClosingByte = false;  // the setup record's closing bytes lack their last
    bool omitImageClosingByte = false;  // the image's closing bytes lack their last
    int uploadBlockSize = 0;         // image block size; 0: the one in the stored setup record
    // Falls silent after sending this many bytes of its answer to 0x15 / 0x16 (echo
    // included); -1: answers in full.
    long cutSetupAfter = -1;
    long cutImageAfter = -1;

    // Data the unit reports.
    // After the echo of 0x20 0x20; a driver setup record taken (0x22, 0x14) sets its PLC
    // and model (bytes 1 and 2 of the record) in it.
    std::vector<uint8_t> driverReport = {0, 0, 0, 0, 0};
    std::string firmwareVersion = "V1.00A";               // first group of 0x17 0x17's answer
    std::string bootBlockVersion = "V1.00A";              // last group of 0x17 0x17's answer
    // Loop-back test (0x23 0x23, echoed, then five bytes through the looped port): how
    // many of the five come back, or, when loopBackReply is set, what comes back instead.
    int loopBackCount = 5;
    std::vector<uint8_t> loopBackReply;
    // Web pages (0x40 0x40, then the pages by type): the width of each file's length
    // field, the bytes sent before each chunk's 0xB0, the answer to a whole file.
    int webLengthBytes = 4;
    std::vector<uint8_t> webNoiseBeforeAck;
    uint8_t webFileAnswer = 0xD0;
    // The answer to 0x25 0x25: a lead byte, IP address, default router, subnet mask, MAC,
    // a closing byte. A MAC address set through 0x30 0x30 replaces the one in it.
    std::vector<uint8_t> ipSettings = {0,    192,  168,  0,    10,   192,  168, 0, 1, 255,
                                       255,  255,  0,    0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0};
};

// A record taken after a command (0x22, 0x14, 0x19, ...).
struct FramedRecord {
    uint8_t command = 0;
    std::vector<uint8_t> bytes;
    bool checkOk = false;
    bool completed = false;  // the end exchange followed
};

// A stream of file blocks taken after a command (0x12, 0x21, 0x13, 0x18, ...).
struct FileStream {
    uint8_t command = 0;
    std::vector<uint8_t> data;            // the blocks' data, padding included
    std::vector<unsigned> blockLengths;   // the length field of each block
    bool checksOk = true;
    bool completed = false;               // the end exchange followed
};

struct WireByte {
    bool fromUnit = false;
    uint8_t byte = 0;
    double ms = 0;  // since the simulator started
};

// One type of a web-page download: its code and the files it brought.
struct WebType {
    uint8_t code = 0;
    std::vector<std::vector<uint8_t>> files;  // as sent, padding included
    bool ended = false;                       // 0xFF followed
};

struct WebDownload {
    int typeCount = -1;
    std::vector<WebType> types;
    bool finished = false;  // 'A' came
};

// What the unit does after echoing a command. Steps: it sends the reply, then takes the
// steps of the command in turn.
enum class AfterCommand { Nothing, Reply, Record, Stream, UploadSetup, UploadImage, Steps, WebPages };

// One step of a command's exchange: the unit takes `take` bytes (kept as a record of the
// command), then sends `answer` (nothing when empty).
struct ExchangeStep {
    size_t take = 0;
    std::vector<uint8_t> answer;
};

struct CommandSpec {
    bool echo = true;
    AfterCommand after = AfterCommand::Nothing;
    // Reply bytes (AfterCommand::Reply); when `reply` is set it is asked at the time.
    std::vector<uint8_t> replyBytes;
    std::function<std::vector<uint8_t>(const Behaviour&)> reply;
};

class UnitSimulator {
public:
    explicit UnitSimulator(Behaviour behaviour = {});
    ~UnitSimulator();
    UnitSimulator(const UnitSimulator&) = delete;
    UnitSimulator& operator=(const UnitSimulator&) = delete;

    // Opens the pty pair and starts answering. False with a reason when it cannot.
    bool Start(std::string* error = nullptr);
    void Stop();
    // The slave side's device path, for the tool to open.
    const std::string& SlavePath() const { return m_slavePath; }
    // A symbolic link at linkPath to the slave (replacing one that is there).
    bool LinkAs(const std::string& linkPath);

    void SetBehaviour(const Behaviour& behaviour);
    Behaviour GetBehaviour() const;
    // Adds or replaces the handling of command byte b (sent as b b).
    void SetCommand(uint8_t command, const CommandSpec& handling);
    // The same with the steps that follow the reply (AfterCommand::Steps).
    void SetCommand(uint8_t command, const CommandSpec& handling, std::vector<ExchangeStep> steps);

    // What happened so far (copies).
    std::vector<WireByte> Wire() const;
    std::vector<uint8_t> Received() const;  // bytes from the tool, in order
    std::vector<uint8_t> Sent() const;      // bytes from the unit, in order
    std::vector<FramedRecord> Records() const;
    std::vector<FileStream> Streams() const;
    std::vector<uint16_t> Commands() const;  // commands heard (first << 8 | second), in order
    int Handshakes() const;                 // handshake commands heard
    int Restarts() const;
    std::vector<WebDownload> WebDownloads() const;  // one per 0x40 0x40 heard
    int MismatchNotices() const;            // 0x08 0x08 heard
    void ClearLog();
    // What it took, as the program prints it when it is stopped: the handshakes, every
    // record and stream, every web-page download by type with each file's bytes, the MAC
    // address it holds; for the older variant the project blocks held.
    std::string Report() const;

    // The project the unit holds: the setup record of its last 0x19 and the data of its
    // last 0x18 stream (lead byte, image, padding). Empty when it holds none.
    void SetStoredProject(const std::vector<uint8_t>& setup, const std::vector<uint8_t>& stream);
    std::vector<uint8_t> StoredSetup() const;
    std::vector<uint8_t> StoredStream() const;

    // The older mode's project: the transfer-block records as the unit took them (27 bytes
    // for product 81, 28 for the others: the record as sent and its check byte). The setup
    // record is the one of StoredSetup.
    void SetStoredOlderBlocks(const std::vector<std::vector<uint8_t>>& blocks);
    std::vector<std::vector<uint8_t>> StoredOlderBlocks() const;
    // The product codes whose units speak the older protocol (the older products of the
    // sample tree).
    static bool IsOlderProductCode(uint8_t code);
    // The drivers a unit of the product reports when it is told none: the three-port
    // product's Modbus RTU Multiplexer (PLC 111, model 1) on both masters, else the README
    // project's Modbus RTU Master (101) on COM1 and DF1 Full Duplex (102) on COM2.
    static std::vector<uint8_t> DefaultDriverReport(uint8_t productCode);

    // Waits (real time) until nothing has crossed the line for quietMs; false after maxMs.
    bool WaitQuiet(int quietMs, int maxMs) const;

private:
    enum class State {
        Idle, Confirming, RecordLength, RecordData, RecordCheck, RecordEnd,
        StreamLengthHigh, StreamLengthLow, StreamData, StreamCheck,
        UploadSetupAck, UploadSetupEnd, UploadImageAck, StepTake,
        WebCount, WebTypeCode, WebFileOrEnd, WebLength, WebData,
        // Older mode.
        OlderStreamLength, OlderStreamData, OlderStreamCheck, OlderStreamEnd,
        OlderCount, OlderBlockData, OlderBlockNext, OlderEnd,
        OlderUploadCountAck, OlderUploadRecordAck, OlderUploadAfterAck,
    };
    // Older mode (OlderUnit.cpp): the commands whose exchange differs, and the bytes heard
    // in its states.
    bool DispatchOlder(uint8_t command, const Behaviour& b);
    void HearOlder(uint8_t byte, const Behaviour& b);
    static bool IsOlderState(State state) { return state >= State::OlderStreamLength; }
    size_t OlderRecordSize() const;  // a block record as sent, without its check byte
    void HearWeb(uint8_t byte);

    void Run();
    void Hear(uint8_t byte);
    void Dispatch(uint8_t first, uint8_t second);
    FileStream& CurrentStream();  // under m_mutex
    void Answer(const std::vector<uint8_t>& bytes, int extraDelayMs = 0);
    // The serving of an upload (worker thread).
    void StartUploadSetup(std::vector<uint8_t>& answer);
    void StartUploadImage(std::vector<uint8_t>& answer);
    void AppendUploadBlock(std::vector<uint8_t>& out);  // the next block and its check byte
    void UploadAck(uint8_t byte);
    void CutUpload(std::vector<uint8_t>& bytes);  // what the cut leaves of an upload answer
    void WaitUntil(std::chrono::steady_clock::time_point t);
    double NowMs() const;
    std::chrono::steady_clock::duration ByteTime() const;

    Behaviour m_behaviour;
    std::map<uint8_t, CommandSpec> m_commands;
    std::map<uint8_t, std::vector<ExchangeStep>> m_commandSteps;
    mutable std::mutex m_mutex;
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::vector<std::string> m_links;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lineFree;  // when the next paced byte may arrive
    std::chrono::steady_clock::time_point m_lastActivity;
    std::chrono::steady_clock::time_point m_lastHeard;

    // Protocol state (worker thread; logs under m_mutex).
    State m_state = State::Idle;
    std::vector<uint8_t> m_pending;  // command bytes collected
    int m_confirms = 0;
    size_t m_expected = 0;
    uint8_t m_check = 0;
    uint8_t m_command = 0;
    long m_heard = 0;
    int m_blockNumber = 0;
    std::vector<uint8_t> m_block;
    std::vector<uint8_t> m_storedSetup;   // under m_mutex
    std::vector<uint8_t> m_storedStream;  // under m_mutex
    std::vector<uint8_t> m_uploadImage;
    size_t m_uploadBlockSize = 0;
    size_t m_uploadBlocks = 0;
    size_t m_uploadSent = 0;  // blocks sent
    uint8_t m_uploadCommand = 0;
    long m_uploadBytes = 0;   // bytes of the current upload answer sent so far
    std::vector<WebDownload> m_web;     // under m_mutex
    size_t m_webLength = 0;
    size_t m_webGot = 0;
    int m_webLengthBytesLeft = 0;
    std::vector<ExchangeStep> m_steps;  // the steps of the current command
    size_t m_stepIndex = 0;
    std::vector<uint8_t> m_pendingMac;  // the MAC of a 0x30 exchange not yet ended

    // Older mode (worker thread; the stored blocks under m_mutex).
    std::vector<std::vector<uint8_t>> m_olderBlocks;
    std::vector<std::vector<uint8_t>> m_olderTaken;  // the blocks of the project coming in
    size_t m_olderCount = 0;
    size_t m_olderSent = 0;
    int m_olderZeros = 0;
    bool m_olderRefused = false;

    std::vector<WireByte> m_wire;
    std::vector<FramedRecord> m_records;
    std::vector<FileStream> m_streams;
    std::vector<uint16_t> m_heardCommands;
    int m_handshakes = 0;
    int m_restarts = 0;
    int m_mismatchNotices = 0;
};

}  // namespace unitsim
