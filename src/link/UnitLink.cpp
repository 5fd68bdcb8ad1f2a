#include "link/UnitLink.h"

#include <algorithm>
#include <cstring>

#include "link/SystemDataUpload.h"

int g_bLinkFailed = 0;

void ClearLinkState() {
    g_bLinkFailed = 0;
    g_bProductMismatch = 0;
}

namespace {
constexpr uint32_t kWrongAnswerPauseMs = 2000;
constexpr uint32_t kConfirmPauseMs = 1000;
constexpr uint32_t kEndPauseMs = 1000;
constexpr int kHandshakeTries = 5;
constexpr int kWrongAnswersBeforeRetry = 4;
constexpr int kRetryTries = 20;
constexpr uint8_t kPadding = 0xFF;
}  // namespace

std::string InvalidBlockSizeMessage(int blockSize, int maxBlockSize) {
    return "Invalid block size " + std::to_string(blockSize) +
           " in the product file. The block size must be 1 to " + std::to_string(maxBlockSize) +
           " bytes. Nothing was sent to the unit.";
}

bool CUnitLink::IsAlternateHandshakeProduct(uint8_t productCode) {
    static constexpr uint8_t kGroup[] = {'S', 'U', 'Z', 'V', 'Y', 'W', '\\', '`'};
    return std::find(std::begin(kGroup), std::end(kGroup), productCode) != std::end(kGroup);
}

void CUnitLink::SetStandardLine() { m_port.SetCommParams(9600, 8, 0, 0); }

int CUnitLink::ConnectToUnit(const HandshakeOptions& options, HandshakeResult* result) {
    HandshakeResult local;
    HandshakeResult& r = result ? *result : local;
    r = HandshakeResult{};

    Reporter().MarkConnection(LineState::None);
    if (!m_port.IsOpen()) {  // nothing to try; the caller reports the failed connection
        Reporter().MarkConnection(LineState::Failed);
        return -1;
    }
    SetStandardLine();
    m_port.PurgeComm(PURGE_TXCLEAR | PURGE_RXCLEAR);

    const uint8_t command[2] = {unitcmd::kHandshake, options.alternateCommand
                                                         ? unitcmd::kConnectAlternate
                                                         : unitcmd::kConnect};
    uint8_t answer[5];
    bool accepted = false;
    int tries = kHandshakeTries;
    int wrong = 0;
    while (tries > 0) {
        m_port.Write(command, sizeof command);
        m_port.PurgeComm(PURGE_RXCLEAR);
        ++r.tries;
        std::memset(answer, 0, sizeof answer);
        if (options.answerPauseMs) Sleep(options.answerPauseMs);
        bool complete = m_port.Read(answer, sizeof answer) != -1;
        if (complete && answer[0] == 0x01 && answer[1] == 0x02 && answer[3] == 0x01 &&
            answer[4] == 0x01) {
            accepted = true;
            break;
        }
        if (complete) {  // a wrong answer; a missing one has waited in the read already
            ++wrong;
            ++r.wrongAnswers;
            Sleep(kWrongAnswerPauseMs);
        }
        --tries;
        if (wrong == kWrongAnswersBeforeRetry) {
            tries = kRetryTries;
            wrong = -kRetryTries;  // so the reset happens once
        }
    }

    if (!accepted) {
        Reporter().MarkConnection(LineState::Failed);
        r.outcome = HandshakeOutcome::NoAnswer;
        return -1;
    }

    r.productCode = answer[2];
    r.alternateGroup = IsAlternateHandshakeProduct(answer[2]);
    Reporter().MarkConnection(LineState::Succeeded);

    if (answer[2] != options.expectedProductCode) {
        const uint8_t notice[2] = {unitcmd::kMismatch, unitcmd::kMismatch};
        if (options.noticeBeforeMessage) {
            if (options.setLinkFailed) g_bLinkFailed = 1;
            m_port.Write(notice, sizeof notice);
        }
        if (!options.mismatchMessage.empty())
            Reporter().ShowMessage(options.mismatchMessage, options.mismatchCaption,
                                   options.mismatchFlags);
        if (options.setLinkFailed) g_bLinkFailed = 1;
        m_port.Write(notice, sizeof notice);
        r.outcome = HandshakeOutcome::ProductMismatch;
        return -1;
    }

    Sleep(kConfirmPauseMs);
    m_port.WriteByte(unitcmd::kConfirm);
    Sleep(kConfirmPauseMs);
    m_port.WriteByte(unitcmd::kConfirm);
    if (m_port.ReadByte() == -1) {
        Reporter().MarkConnection(LineState::Failed);
        r.outcome = HandshakeOutcome::NotConfirmed;
        return -1;
    }
    uint8_t confirm = m_port.GetReceivedByte();
    if (options.confirm == HandshakeOptions::Confirm::Exact02 && confirm != unitcmd::kConfirm) {
        r.outcome = HandshakeOutcome::Refused;  // no change of the display
        return -1;
    }
    if (options.confirm == HandshakeOptions::Confirm::AnyButMismatch &&
        confirm == unitcmd::kMismatch) {
        Reporter().MarkConnection(LineState::Failed);
        r.outcome = HandshakeOutcome::Refused;
        return -1;
    }
    Reporter().ClearSummary();
    r.outcome = HandshakeOutcome::Connected;
    return 0;
}

int CUnitLink::SendCommand(uint8_t first, uint8_t second) {
    const uint8_t command[2] = {first, second};
    return m_port.Write(command, sizeof command);
}

AnswerResult CUnitLink::WaitForEcho(uint8_t command, uint8_t* received) {
    // The watchdog is checked between reads, and a read never waits past it, so the wait
    // ends by itself: at most the watchdog's time plus one further read.
    if (!m_port.IsOpen()) return AnswerResult::None;  // the caller reports it
    platform::Clock& clock = m_port.GetClock();
    const uint32_t limit = m_port.GetReadLimit();
    const uint32_t start = clock.GetTickCount();
    int waitState = 1;
    bool got = false;
    while (waitState == 1) {
        uint32_t elapsed = clock.GetTickCount() - start;
        if (elapsed >= kEchoWatchdogMs) {
            waitState = 2;
            break;
        }
        m_port.SetReadLimit(std::min(limit, kEchoWatchdogMs - elapsed));
        int rc = m_port.ReadByte();
        m_port.SetReadLimit(limit);
        if (rc == 0) {
            waitState = 0;
            got = true;
        } else if (!m_port.IsOpen() || m_port.IsLineDown()) {
            break;
        }
    }
    if (waitState == 2) got = m_port.ReadByte() == 0;
    if (!got) return AnswerResult::None;
    uint8_t byte = m_port.GetReceivedByte();
    if (received) *received = byte;
    return byte == command ? AnswerResult::Expected : AnswerResult::Other;
}

AnswerResult CUnitLink::SendCommandWaitEcho(uint8_t command, uint8_t* received) {
    if (!m_port.IsOpen()) return AnswerResult::None;
    SendCommand(command, command);
    return WaitForEcho(command, received);
}

AnswerResult CUnitLink::SendCommandReadAnswer(uint8_t command, uint32_t pauseMs,
                                              uint8_t expected, uint8_t* received) {
    if (!m_port.IsOpen()) return AnswerResult::None;
    SendCommand(command, command);
    if (pauseMs) Sleep(pauseMs);
    if (m_port.ReadByte() == -1) return AnswerResult::None;
    uint8_t byte = m_port.GetReceivedByte();
    if (received) *received = byte;
    return byte == expected ? AnswerResult::Expected : AnswerResult::Other;
}

int CUnitLink::SendFramedBlock(const uint8_t* record, size_t length) {
    // The length travels in one byte: a longer record would lose its tail without notice.
    if (length > 255) {
        Reporter().MarkStep(LineState::Failed);
        Reporter().ShowMessage("Invalid setup record length " + std::to_string(length) +
                                   ". A record holds at most 255 bytes. Nothing was sent to the unit.",
                               "", linkmb::kOk | linkmb::kIconStop);
        return -1;
    }
    if (!m_port.IsOpen()) {
        Reporter().MarkStep(LineState::Failed);
        CommError();
        return -1;
    }
    const uint8_t n = static_cast<uint8_t>(length);
    uint8_t check = n;
    for (size_t i = 0; i < length; ++i) check ^= record[i];

    m_port.WriteByte(n);
    m_port.Write(record, length);
    m_port.WriteByte(check);

    Sleep(kEndPauseMs);
    if (m_port.ReadByte() == -1 || m_port.GetReceivedByte() != unitcmd::kAck) {
        Reporter().MarkStep(LineState::Failed);
        CommError();
        return -1;
    }
    m_port.WriteByte(0x00);
    m_port.WriteByte(0x00);
    Sleep(kEndPauseMs);
    if (m_port.ReadByte() == -1) {
        Reporter().MarkStep(LineState::Failed);
        CommError();
        return -1;
    }
    if (m_port.GetReceivedByte() != unitcmd::kComplete) {
        Reporter().MarkStep(LineState::Failed);
        return -1;
    }
    Reporter().MarkStep(LineState::Succeeded);
    return 0;
}

std::vector<uint8_t> CUnitLink::ReadFileFrom(std::istream& file, long start, int kind) {
    file.clear();
    file.seekg(0, std::ios::end);
    std::streamoff length = file.tellg();
    if (length < 0) length = 0;
    if (length < start) start = kind == 1 ? 0 : 32;
    std::vector<uint8_t> data;
    if (length > start) {
        data.resize(static_cast<size_t>(length - start));
        file.seekg(start, std::ios::beg);
        file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
        data.resize(static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    }
    return data;
}

int CUnitLink::SendFileBlocks(std::istream& file, long start, int blockSize, int kind,
                              StreamOutcome* outcome) {
    const std::vector<uint8_t> data = ReadFileFrom(file, start, kind);
    return SendBlocks(data.data(), data.size(), blockSize, kMaxFileBlockSize, std::string(),
                      outcome);
}

int CUnitLink::SendBlocks(const uint8_t* data, size_t size, int blockSize, int maxBlockSize,
                          const std::string& wrongEndMessage, StreamOutcome* outcome) {
    StreamOutcome local = StreamOutcome::Done;
    StreamOutcome& out = outcome ? *outcome : local;

    if (blockSize <= 0 || blockSize > maxBlockSize) {
        Reporter().ShowMessage(InvalidBlockSizeMessage(blockSize, maxBlockSize), "",
                               linkmb::kOk | linkmb::kIconStop);
        out = StreamOutcome::InvalidBlockSize;
        return -1;
    }
    if (!m_port.IsOpen()) {
        CommError();
        out = StreamOutcome::BlockNotAnswered;
        return -1;
    }
    const size_t block = static_cast<size_t>(blockSize);
    const size_t full = size / block;
    const size_t rest = size % block;


    // One frame buffer sized from the block size in use: length, data, check byte.
    std::vector<uint8_t> frame(block + 3);
    frame[0] = static_cast<uint8_t>(block >> 8);
    frame[1] = static_cast<uint8_t>(block & 0xFF);
    auto sendFrame = [&](const uint8_t* bytes, size_t count) -> bool {
        std::copy(bytes, bytes + count, frame.begin() + 2);
        std::fill(frame.begin() + 2 + static_cast<long>(count), frame.begin() + 2 + static_cast<long>(block), kPadding);
        uint8_t check = frame[0] ^ frame[1];
        for (size_t i = 0; i < block; ++i) check ^= frame[2 + i];
        frame[2 + block] = check;
        m_port.Write(frame.data(), frame.size());
        if (m_port.ReadByte() == -1) {
            CommError();
            out = StreamOutcome::BlockNotAnswered;
            return false;
        }
        if (m_port.GetReceivedByte() != unitcmd::kAck) {
            CommError();
            out = StreamOutcome::BlockRefused;
            return false;
        }
        return true;
    };

    for (size_t k = 0; k < full; ++k) {
        if (!sendFrame(data + k * block, block)) return -1;
        // Moves across the whole file, however many blocks it has.
        Reporter().SetProgressPos(BlockProgress(k + 1, full));
    }
    if (rest > 0 && !sendFrame(data + full * block, rest)) return -1;

    Reporter().SetProgressPos(kProgressMax);
    const uint8_t end[2] = {0x00, 0x00};
    m_port.Write(end, sizeof end);
    Sleep(kEndPauseMs);
    if (m_port.ReadByte() == -1) {
        CommError();
        out = StreamOutcome::EndNotAnswered;
        return -1;
    }
    if (m_port.GetReceivedByte() != unitcmd::kComplete) {
        if (!wrongEndMessage.empty())
            Reporter().ShowMessage(wrongEndMessage, "", linkmb::kOk);
        out = StreamOutcome::EndWrongAnswer;
        return -1;
    }
    out = StreamOutcome::Done;
    return 0;
}

int CUnitLink::RestartUnit() {
    if (!m_port.IsOpen()) return -1;
    SetStandardLine();
    m_port.PurgeComm(PURGE_TXCLEAR | PURGE_RXCLEAR);
    SendCommand(unitcmd::kHandshake, unitcmd::kRestart);
    m_port.Close();
    return 0;
}
