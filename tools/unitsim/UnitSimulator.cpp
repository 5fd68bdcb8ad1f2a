#include "UnitSimulator.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace unitsim {

using Clock = std::chrono::steady_clock;

UnitSimulator::UnitSimulator(Behaviour behaviour) : m_behaviour(std::move(behaviour)) {
    auto echoThen = [](AfterCommand after) {
        CommandSpec handling;
        handling.after = after;
        return handling;
    };
    m_commands[0x12] = echoThen(AfterCommand::Stream);  // firmware
    m_commands[0x22] = echoThen(AfterCommand::Record);  // COM1 driver setup record
    m_commands[0x21] = echoThen(AfterCommand::Stream);  // COM1 driver
    m_commands[0x14] = echoThen(AfterCommand::Record);  // COM2 driver setup record
    m_commands[0x13] = echoThen(AfterCommand::Stream);  // COM2 driver
    m_commands[0x19] = echoThen(AfterCommand::Record);  // project setup record
    m_commands[0x18] = echoThen(AfterCommand::Stream);  // project image

    CommandSpec drivers = echoThen(AfterCommand::Reply);  // configured drivers
    drivers.reply = [](const Behaviour& b) { return b.driverReport; };
    m_commands[0x20] = drivers;

    CommandSpec info = echoThen(AfterCommand::Reply);  // versions and states
    info.reply = [](const Behaviour& b) {
        std::vector<uint8_t> bytes;
        const std::string groups[4] = {b.firmwareVersion, "V1.00A", "V1.00A", b.bootBlockVersion};
        for (const std::string& g : groups) {
            for (size_t i = 0; i < 6; ++i) bytes.push_back(i < g.size() ? g[i] : 0);
            bytes.push_back(0x00);  // sound
        }
        return bytes;
    };
    m_commands[0x17] = info;
    CommandSpec ip;  // IP settings: 20 bytes without an echo, then 0x00 taken with 0x03
    ip.echo = false;
    ip.after = AfterCommand::Steps;
    ip.reply = [](const Behaviour& b) { return b.ipSettings; };
    m_commands[0x25] = ip;
    m_commandSteps[0x25] = {{1, {0x03}}};
    CommandSpec mac = echoThen(AfterCommand::Steps);  // MAC address: 06 and six bytes, 00 00
    m_commands[0x30] = mac;
    m_commandSteps[0x30] = {{7, {0x00}}, {2, {0x03}}};
    m_commands[0x40] = echoThen(AfterCommand::WebPages);  // web pages
    m_commands[0x23] = echoThen(AfterCommand::Steps);  // loop-back test: five bytes back
    m_commandSteps[0x23] = {{5, {}}};
    m_commands[0x15] = echoThen(AfterCommand::UploadSetup);  // project setup record back
    m_commands[0x16] = echoThen(AfterCommand::UploadImage);  // project image back
}

UnitSimulator::~UnitSimulator() { Stop(); }

bool UnitSimulator::Start(std::string* error) {
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        Stop();
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return fail("grantpt");
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) return fail("ptsname");
    m_slavePath = name;
    // Our own descriptor of the slave keeps the pair alive while the tool closes and
    // reopens its port, and sets the line raw before the tool has opened it.
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) return fail("open slave");
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    int flags = ::fcntl(m_master, F_GETFL);
    ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);

    m_start = Clock::now();
    m_lineFree = m_start;
    m_lastActivity = m_start;
    m_lastHeard = m_start;
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void UnitSimulator::Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    for (const std::string& link : m_links) ::unlink(link.c_str());
    m_links.clear();
    if (m_master >= 0) ::close(m_master);
    if (m_slave >= 0) ::close(m_slave);
    m_master = m_slave = -1;
}

bool UnitSimulator::LinkAs(const std::string& linkPath) {
    ::unlink(linkPath.c_str());
    if (::symlink(m_slavePath.c_str(), linkPath.c_str()) != 0) return false;
    m_links.push_back(linkPath);
    return true;
}

void UnitSimulator::SetBehaviour(const Behaviour& behaviour) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_behaviour = behaviour;
}

Behaviour UnitSimulator::GetBehaviour() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_behaviour;
}

void UnitSimulator::SetCommand(uint8_t command, const CommandSpec& handling) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_commands[command] = handling;
}

void UnitSimulator::SetCommand(uint8_t command, const CommandSpec& handling, std::vector<ExchangeStep> steps) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_commands[command] = handling;
    m_commandSteps[command] = std::move(steps);
}

std::string UnitSimulator::Report() const {
    std::string out;
    char line[160];
    auto add = [&](const char* format, auto... values) {
        std::snprintf(line, sizeof line, format, values...);
        out += line;
    };
    const Behaviour b = GetBehaviour();
    if (b.older) add("older protocol; project blocks held: %zu\n", StoredOlderBlocks().size());
    add("handshakes %d, restarts %d, product mismatch notices %d\n", Handshakes(), Restarts(), MismatchNotices());
    for (const auto& r : Records())
        add("record after 0x%02X: %zu bytes, check %s%s\n", unsigned(r.command), r.bytes.size(),
            r.checkOk ? "ok" : "wrong", r.completed ? "" : ", not ended");
    for (const auto& st : Streams())
        add("stream after 0x%02X: %zu blocks, %zu bytes, checks %s%s\n", unsigned(st.command), st.blockLengths.size(),
            st.data.size(), st.checksOk ? "ok" : "wrong", st.completed ? "" : ", not ended");
    for (const auto& web : WebDownloads()) {
        size_t files = 0, bytes = 0;
        for (const auto& t : web.types)
            for (const auto& f : t.files) ++files, bytes += f.size();
        add("web pages: %d types, %zu files, %zu bytes%s\n", web.typeCount, files, bytes,
            web.finished ? "" : ", not ended");
        for (const auto& t : web.types) {
            add("  type %u: %zu files", unsigned(t.code), t.files.size());
            for (const auto& f : t.files) add(" %zu", f.size());
            out += t.files.empty() ? "\n" : " bytes\n";
        }
    }
    if (b.ipSettings.size() >= 19) {
        const auto& m = b.ipSettings;
        add("MAC address %02X-%02X-%02X-%02X-%02X-%02X\n", unsigned(m[13]), unsigned(m[14]), unsigned(m[15]),
            unsigned(m[16]), unsigned(m[17]), unsigned(m[18]));
    }
    return out;
}

std::vector<WebDownload> UnitSimulator::WebDownloads() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_web;
}

void UnitSimulator::HearWeb(uint8_t byte) {
    Behaviour b;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        b = m_behaviour;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    WebDownload& web = m_web.back();
    switch (m_state) {
    case State::WebCount:
        web.typeCount = byte;
        m_state = State::WebTypeCode;
        break;
    case State::WebTypeCode:
        if (int(web.types.size()) >= web.typeCount) {  // 'A': the end
            web.finished = byte == 'A';
            m_state = State::Idle;
            lock.unlock();
            Answer({0x01});
            return;
        }
        web.types.push_back(WebType{byte, {}, false});
        m_state = State::WebFileOrEnd;
        break;
    case State::WebFileOrEnd:
        if (byte == 0xFF) {
            web.types.back().ended = true;
            m_state = State::WebTypeCode;
            break;
        }
        m_webLength = byte;
        m_webLengthBytesLeft = b.webLengthBytes - 1;
        m_state = m_webLengthBytesLeft > 0 ? State::WebLength : State::WebData;
        web.types.back().files.emplace_back();
        m_webGot = 0;
        break;
    case State::WebLength:
        m_webLength = m_webLength << 8 | byte;
        if (--m_webLengthBytesLeft == 0) m_state = State::WebData;
        if (m_state == State::WebData && m_webLength == 0) {  // an empty file: nothing to take
            m_state = State::WebFileOrEnd;
            lock.unlock();
            Answer({0xB0, b.webFileAnswer});
            return;
        }
        break;
    case State::WebData: {
        web.types.back().files.back().push_back(byte);
        ++m_webGot;
        const bool chunkDone = m_webGot % 512 == 0 || m_webGot == m_webLength;
        if (!chunkDone) break;
        std::vector<uint8_t> answer = b.webNoiseBeforeAck;
        answer.push_back(0xB0);
        if (m_webGot >= m_webLength) {
            answer.push_back(b.webFileAnswer);
            m_state = State::WebFileOrEnd;
        }
        lock.unlock();
        Answer(answer);
        return;
    }
    default:
        break;
    }
}

std::vector<WireByte> UnitSimulator::Wire() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_wire;
}

std::vector<uint8_t> UnitSimulator::Received() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<uint8_t> out;
    for (const WireByte& w : m_wire)
        if (!w.fromUnit) out.push_back(w.byte);
    return out;
}

std::vector<uint8_t> UnitSimulator::Sent() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<uint8_t> out;
    for (const WireByte& w : m_wire)
        if (w.fromUnit) out.push_back(w.byte);
    return out;
}

std::vector<FramedRecord> UnitSimulator::Records() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
}

std::vector<FileStream> UnitSimulator::Streams() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_streams;
}

std::vector<uint16_t> UnitSimulator::Commands() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_heardCommands;
}

int UnitSimulator::Handshakes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handshakes;
}

int UnitSimulator::Restarts() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_restarts;
}

int UnitSimulator::MismatchNotices() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mismatchNotices;
}

void UnitSimulator::ClearLog() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wire.clear();
    m_records.clear();
    m_streams.clear();
    m_heardCommands.clear();
    m_handshakes = m_restarts = m_mismatchNotices = 0;
}

void UnitSimulator::SetStoredProject(const std::vector<uint8_t>& setup,
                                     const std::vector<uint8_t>& stream) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_storedSetup = setup;
    m_storedStream = stream;
}

std::vector<uint8_t> UnitSimulator::StoredSetup() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_storedSetup;
}

std::vector<uint8_t> UnitSimulator::StoredStream() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_storedStream;
}

bool UnitSimulator::WaitQuiet(int quietMs, int maxMs) const {
    auto end = Clock::now() + std::chrono::milliseconds(maxMs);
    for (;;) {
        Clock::time_point last;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            last = m_lastActivity;
        }
        if (Clock::now() - last >= std::chrono::milliseconds(quietMs)) return true;
        if (Clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

double UnitSimulator::NowMs() const {
    return std::chrono::duration<double, std::milli>(Clock::now() - m_start).count();
}

Clock::duration UnitSimulator::ByteTime() const {
    int baud = m_behaviour.baud > 0 ? m_behaviour.baud : 9600;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(10.0 / baud));
}

void UnitSimulator::WaitUntil(Clock::time_point t) {
    while (!m_stop) {
        auto now = Clock::now();
        if (now >= t) return;
        auto left = t - now;
        std::this_thread::sleep_for(std::min<Clock::duration>(left, std::chrono::milliseconds(20)));
    }
}

void UnitSimulator::Run() {
    uint8_t buffer[4096];
    while (!m_stop) {
        pollfd p{m_master, POLLIN, 0};
        int rc = ::poll(&p, 1, 20);
        if (rc <= 0) continue;
        ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            // No reader on the slave side gives EIO on some kernels; wait and go on.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        auto readAt = Clock::now();
        for (ssize_t i = 0; i < n && !m_stop; ++i) {
            bool pace;
            Clock::duration byteTime;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                pace = m_behaviour.pace;
                byteTime = ByteTime();
            }
            if (pace) {
                // The byte arrives once the line has carried it.
                m_lineFree = std::max(readAt, m_lineFree) + byteTime;
                WaitUntil(m_lineFree);
            }
            Hear(buffer[i]);
        }
    }
}

void UnitSimulator::Answer(const std::vector<uint8_t>& bytes, int extraDelayMs) {
    int delay;
    bool pace;
    Clock::duration byteTime;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_behaviour.silent) return;
        delay = m_behaviour.answerDelayMs + extraDelayMs;
        pace = m_behaviour.pace;
        byteTime = ByteTime();
    }
    if (delay > 0) WaitUntil(Clock::now() + std::chrono::milliseconds(delay));
    auto next = Clock::now();
    for (uint8_t byte : bytes) {
        if (pace) {
            next += byteTime;
            WaitUntil(next);
        }
        // The byte is in the log before the tool can read it, so that a test that clears
        // the log after an answer never finds that answer logged afterwards.
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_wire.push_back({true, byte, NowMs()});
            m_lastActivity = Clock::now();
        }
        for (;;) {
            if (m_stop) return;
            ssize_t n = ::write(m_master, &byte, 1);
            if (n == 1) break;
            if (n < 0 && errno != EAGAIN && errno != EINTR) return;
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 20);
        }
    }
}

void UnitSimulator::Hear(uint8_t byte) {
    Behaviour b;
    auto now = Clock::now();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_wire.push_back({false, byte, NowMs()});
        m_lastActivity = now;
        b.silent = m_behaviour.silent;
        b.dropAfterBytes = m_behaviour.dropAfterBytes;
        b.resyncGapMs = m_behaviour.resyncGapMs;
        b.refuseBlock = m_behaviour.refuseBlock;
        b.endAnswer = m_behaviour.endAnswer;
        b.streamEndAnswer = m_behaviour.streamEndAnswer;
        b.confirmAnswer = m_behaviour.confirmAnswer;
    }
    ++m_heard;
    if (b.dropAfterBytes >= 0 && m_heard > b.dropAfterBytes) return;  // the line is cut
    if (b.silent) return;
    if (m_state != State::Idle && m_state != State::Confirming &&
        now - m_lastHeard > std::chrono::milliseconds(b.resyncGapMs)) {
        m_state = State::Idle;
        m_pending.clear();
    }
    m_lastHeard = now;
    if (IsOlderState(m_state)) {
        HearOlder(byte, GetBehaviour());
        return;
    }

    switch (m_state) {
    case State::Idle:
        m_pending.push_back(byte);
        if (m_pending.size() == 2) {
            uint8_t first = m_pending[0], second = m_pending[1];
            m_pending.clear();
            Dispatch(first, second);
        }
        break;

    case State::Confirming:
        if (byte == 0x02) {
            if (++m_confirms == 2) {
                m_state = State::Idle;
                Answer({b.confirmAnswer});
            }
        } else {
            m_state = State::Idle;
            m_pending.assign(1, byte);
        }
        break;

    case State::RecordLength:
        m_expected = byte;
        m_check = byte;
        m_block.clear();
        m_state = byte ? State::RecordData : State::RecordCheck;
        break;

    case State::RecordData:
        m_block.push_back(byte);
        m_check ^= byte;
        if (m_block.size() == m_expected) m_state = State::RecordCheck;
        break;

    case State::RecordCheck: {
        bool ok = byte == m_check;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_records.push_back({m_command, m_block, ok, false});
        }
        m_state = ok ? State::RecordEnd : State::Idle;
        m_confirms = 0;
        Answer({static_cast<uint8_t>(ok ? 0x00 : 0x01)});
        break;
    }

    case State::RecordEnd:
        if (byte == 0x00) {
            if (++m_confirms == 2) {
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    if (!m_records.empty()) {
                        m_records.back().completed = true;
                        // A project setup record taken whole is the unit's project setup.
                        const FramedRecord& r = m_records.back();
                        if (r.command == 0x19 && r.checkOk) m_storedSetup = r.bytes;
                        // A driver setup record names the PLC and model the unit reports.
                        if ((r.command == 0x22 || r.command == 0x14) && r.checkOk && r.bytes.size() >= 3) {
                            std::vector<uint8_t>& report = m_behaviour.driverReport;
                            report.resize(std::max<size_t>(report.size(), 5), 0);
                            const size_t at = r.command == 0x22 ? 0 : 2;
                            report[at] = r.bytes[1];
                            report[at + 1] = r.bytes[2];
                        }
                    }
                }
                m_state = State::Idle;
                Answer({b.endAnswer});
            }
        } else {
            m_state = State::Idle;
            m_pending.assign(1, byte);
        }
        break;

    case State::StreamLengthHigh:
        m_expected = static_cast<size_t>(byte) << 8;
        m_check = byte;
        m_state = State::StreamLengthLow;
        break;

    case State::StreamLengthLow:
        m_expected |= byte;
        m_check ^= byte;
        if (m_expected == 0) {  // 0x00 0x00: the end of the stream
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                FileStream& stream = CurrentStream();
                stream.completed = true;
                if (stream.command == 0x18 && stream.checksOk) m_storedStream = stream.data;
            }
            m_state = State::Idle;
            Answer({b.streamEndAnswer >= 0 && b.streamEndAnswer <= 255
                        ? static_cast<uint8_t>(b.streamEndAnswer)
                        : b.endAnswer});
        } else {
            m_block.clear();
            m_state = State::StreamData;
        }
        break;

    case State::StreamData:
        m_block.push_back(byte);
        m_check ^= byte;
        if (m_block.size() == m_expected) m_state = State::StreamCheck;
        break;

    case State::StreamCheck: {
        bool ok = byte == m_check;
        ++m_blockNumber;
        bool refuse = !ok || b.refuseBlock == m_blockNumber;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            FileStream& s = CurrentStream();
            s.data.insert(s.data.end(), m_block.begin(), m_block.end());
            s.blockLengths.push_back(static_cast<unsigned>(m_expected));
            if (!ok) s.checksOk = false;
        }
        m_state = refuse ? State::Idle : State::StreamLengthHigh;
        Answer({static_cast<uint8_t>(refuse ? 0x01 : 0x00)});
        break;
    }

    case State::UploadSetupAck:
    case State::UploadSetupEnd:
    case State::UploadImageAck:
        UploadAck(byte);
        break;

    case State::WebCount:
    case State::WebTypeCode:
    case State::WebFileOrEnd:
    case State::WebLength:
    case State::WebData:
        HearWeb(byte);
        break;

    case State::StepTake: {
        m_block.push_back(byte);
        const ExchangeStep& step = m_steps[m_stepIndex];
        if (m_block.size() < step.take) break;
        const bool last = m_stepIndex + 1 == m_steps.size();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_records.push_back({m_command, m_block, true, last});
        }
        std::vector<uint8_t> answer = step.answer;
        // A MAC address record (06 and six bytes) is kept once the unit has said it is done
        // (0x03 to the end), and its IP settings then report it.
        if (m_command == 0x30 && m_stepIndex == 0 && m_block.size() == 7 && m_block[0] == 0x06)
            m_pendingMac.assign(m_block.begin() + 1, m_block.end());
        if (m_command == 0x30 && last && answer == std::vector<uint8_t>{0x03} && m_pendingMac.size() == 6) {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_behaviour.ipSettings.size() >= 19)
                std::copy(m_pendingMac.begin(), m_pendingMac.end(), m_behaviour.ipSettings.begin() + 13);
        }
        if (last) m_pendingMac.clear();
        if (m_command == 0x23) {  // the looped port gives back what went through it
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_behaviour.loopBackReply.empty()) answer = m_behaviour.loopBackReply;
            else answer.assign(m_block.begin(), m_block.begin() + std::clamp<long>(m_behaviour.loopBackCount, 0, long(m_block.size())));
        }
        m_block.clear();
        if (last) m_state = State::Idle;
        else ++m_stepIndex;
        if (!answer.empty()) Answer(answer);
        break;
    }
    }
}

void UnitSimulator::StartUploadSetup(std::vector<uint8_t>& answer) {
    bool none;
    std::vector<uint8_t> setup;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        none = m_behaviour.noProject || m_storedSetup.empty() ||
               (!m_behaviour.older && m_storedStream.empty());
        setup = m_storedSetup;
    }
    if (none) {  // no project: 0xFF and one more byte
        answer.push_back(0xFF);
        answer.push_back(0x00);
        return;
    }
    setup.resize(64, 0);
    // Framed as the record came: its length, the record; the check byte follows the
    // tool's first acknowledgement.
    uint8_t check = 64;
    for (uint8_t b : setup) check ^= b;
    answer.push_back(64);
    answer.insert(answer.end(), setup.begin(), setup.end());
    m_check = check;
    m_state = State::UploadSetupAck;
}

void UnitSimulator::StartUploadImage(std::vector<uint8_t>& answer) {
    std::vector<uint8_t> setup, stream;
    int blockSize;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        setup = m_storedSetup;
        stream = m_storedStream;
        blockSize = m_behaviour.uploadBlockSize;
    }
    setup.resize(64, 0);
    // The image is the stream as it came, without the padding of its last block: the lead
    // byte and the project data whose length the setup record gives.
    size_t length = static_cast<size_t>(setup[58] << 8 | setup[59]) + 1;
    if (setup[58] == 0 && setup[59] == 0) length = stream.size();
    length = std::min(length, stream.size());
    m_uploadImage.assign(stream.begin(), stream.begin() + static_cast<long>(length));
    if (blockSize <= 0) blockSize = setup[62] << 8 | setup[63];
    m_uploadBlockSize = static_cast<size_t>(blockSize > 0 ? blockSize : 512);
    m_uploadBlocks = std::max<size_t>(1, (length + m_uploadBlockSize - 1) / m_uploadBlockSize);
    m_uploadSent = 0;
    answer.push_back(static_cast<uint8_t>(length >> 8));
    answer.push_back(static_cast<uint8_t>(length & 0xFF));
    AppendUploadBlock(answer);
    m_state = State::UploadImageAck;
}

void UnitSimulator::AppendUploadBlock(std::vector<uint8_t>& out) {
    int wrongAt;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        wrongAt = m_behaviour.wrongCheckAtBlock;
    }
    const size_t from = m_uploadSent * m_uploadBlockSize;
    uint8_t check = 0;
    for (size_t i = 0; i < m_uploadBlockSize; ++i) {
        uint8_t b = from + i < m_uploadImage.size() ? m_uploadImage[from + i] : 0xFF;
        out.push_back(b);
        check ^= b;
    }
    ++m_uploadSent;
    if (wrongAt > 0 && static_cast<size_t>(wrongAt) == m_uploadSent) check ^= 0x5A;
    out.push_back(check);
}

void UnitSimulator::CutUpload(std::vector<uint8_t>& bytes) {
    long cut;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        cut = m_uploadCommand == 0x15 ? m_behaviour.cutSetupAfter : m_behaviour.cutImageAfter;
    }
    if (cut >= 0) {
        const long room = std::max(0L, cut - m_uploadBytes);
        if (static_cast<long>(bytes.size()) > room) bytes.resize(static_cast<size_t>(room));
    }
    m_uploadBytes += static_cast<long>(bytes.size());
}

void UnitSimulator::UploadAck(uint8_t byte) {
    if (byte != 0x00) {  // the tool gave up: a new command begins
        m_state = State::Idle;
        m_pending.assign(1, byte);
        return;
    }
    Behaviour b = GetBehaviour();
    if (m_state == State::UploadSetupAck) {
        m_state = State::UploadSetupEnd;
        std::vector<uint8_t> check = {m_check};
        CutUpload(check);
        Answer(check);
        return;
    }
    if (m_state == State::UploadSetupEnd) {
        m_state = State::Idle;
        std::vector<uint8_t> closing = {0x00, 0x00, 0x03};
        if (b.omitSetupClosingByte) closing.pop_back();
        CutUpload(closing);
        Answer(closing);
        return;
    }
    // An image block was taken.
    if (b.stopAfterBlock > 0 && m_uploadSent >= static_cast<size_t>(b.stopAfterBlock)) {
        m_state = State::Idle;
        return;
    }
    std::vector<uint8_t> out;
    if (m_uploadSent < m_uploadBlocks) {
        AppendUploadBlock(out);
    } else {
        m_state = State::Idle;
        out = {0x00, 0x00, 0x03};
        if (b.omitImageClosingByte) out.pop_back();
    }
    CutUpload(out);
    Answer(out);
}

FileStream& UnitSimulator::CurrentStream() {
    // The log may have been cleared in the middle of a stream.
    if (m_streams.empty()) m_streams.push_back(FileStream{m_command, {}, {}, true, false});
    return m_streams.back();
}

void UnitSimulator::Dispatch(uint8_t first, uint8_t second) {
    CommandSpec handling;
    std::vector<ExchangeStep> steps;
    bool known = false;
    Behaviour b;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_heardCommands.push_back(static_cast<uint16_t>(first << 8 | second));
        b = m_behaviour;
        if (first == 0x10 && (second == 0xAA || second == 0xCC)) {
            ++m_handshakes;
            if (m_behaviour.wrongHandshakes > 0) --m_behaviour.wrongHandshakes;
        } else if (first == 0x10 && second == 0xBB) {
            ++m_restarts;
        } else if (first == 0x08 && second == 0x08) {
            ++m_mismatchNotices;
        } else if (first == second) {
            auto it = m_commands.find(first);
            if (it != m_commands.end()) {
                handling = it->second;
                known = true;
                auto st = m_commandSteps.find(first);
                if (st != m_commandSteps.end()) steps = st->second;
            }
        }
    }

    if (first == 0x10 && (second == 0xAA || second == 0xCC)) {
        if (b.wrongHandshakes > 0) {
            Answer({0x01, 0x02, b.productCode, 0x01, 0x02}, b.handshakeDelayMs);
        } else {
            m_state = State::Confirming;
            m_confirms = 0;
            Answer({0x01, 0x02, b.productCode, 0x01, 0x01}, b.handshakeDelayMs);
        }
        return;
    }
    if (first == 0x10 && second == 0xBB) {  // restart: the unit runs its project
        m_state = State::Idle;
        return;
    }
    if (!known || b.ignoreCommands) return;
    if (b.older && DispatchOlder(first, b)) return;

    std::vector<uint8_t> answer;
    if (handling.echo) answer.push_back(first);
    if (handling.after == AfterCommand::Reply || handling.after == AfterCommand::Steps) {
        std::vector<uint8_t> reply = handling.reply ? handling.reply(b) : handling.replyBytes;
        answer.insert(answer.end(), reply.begin(), reply.end());
    }
    m_command = first;
    if (handling.after == AfterCommand::UploadSetup || handling.after == AfterCommand::UploadImage) {
        m_uploadCommand = first;
        m_uploadBytes = 0;
        if (handling.after == AfterCommand::UploadSetup) StartUploadSetup(answer);
        else StartUploadImage(answer);
        CutUpload(answer);
    } else if (handling.after == AfterCommand::WebPages) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_web.push_back(WebDownload{});
        m_state = State::WebCount;
    } else if (handling.after == AfterCommand::Steps) {
        m_steps = steps;
        m_stepIndex = 0;
        m_block.clear();
        // A step that takes nothing only answers.
        while (m_stepIndex < m_steps.size() && m_steps[m_stepIndex].take == 0) {
            const auto& more = m_steps[m_stepIndex].answer;
            answer.insert(answer.end(), more.begin(), more.end());
            ++m_stepIndex;
        }
        if (m_stepIndex < m_steps.size()) {
            m_steps.erase(m_steps.begin(), m_steps.begin() + long(m_stepIndex));
            m_stepIndex = 0;
            m_state = State::StepTake;
        }
    } else if (handling.after == AfterCommand::Record) {
        m_state = State::RecordLength;
    } else if (handling.after == AfterCommand::Stream) {
        m_state = State::StreamLengthHigh;
        m_blockNumber = 0;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_streams.push_back(FileStream{first, {}, {}, true, false});
    }
    if (!answer.empty()) Answer(answer, b.echoDelayMs);
}

}  // namespace unitsim
