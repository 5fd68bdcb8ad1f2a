// The older mode of the simulated unit: the protocol variant of the older products.
// Handshake, command echoes, framed records (driver and project setup) and the driver
// report are those of the newer units; these differ:
//  - firmware and drivers (0x12, 0x21, 0x13) come as blocks of one length byte, the data
//    (not padded) and a check byte (the length XOR the data), each answered 0x00; a length
//    byte 0x00 and a second 0x00 end the file, answered with the end answer;
//  - the project (0x18) comes as its block count (two bytes and their XOR), answered with
//    one byte, then one record per block (26 bytes for product 81, 27 for the others, and
//    a check byte), answered 0x00, then 0x00 0x00 answered 0x00; 0x00 0x00 ends it;
//  - the project goes back (0x16) as its block count (two bytes and their XOR), then after
//    each 0x00 of the tool one record as it was taken (with its check byte) and after the
//    next 0x00 two bytes; the upload faults (wrong check byte at block k, silence after
//    block k, the last closing byte left out, another block size) apply to these records.
#include "UnitSimulator.h"

#include <algorithm>

namespace unitsim {

bool UnitSimulator::IsOlderProductCode(uint8_t code) { return code == 81 || code == 84 || code == 85; }

std::vector<uint8_t> UnitSimulator::DefaultDriverReport(uint8_t productCode) {
    if (productCode == 84) return {111, 1, 111, 1, 0};
    return {101, 1, 102, 1, 0};
}

void UnitSimulator::SetStoredOlderBlocks(const std::vector<std::vector<uint8_t>>& blocks) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_olderBlocks = blocks;
}

std::vector<std::vector<uint8_t>> UnitSimulator::StoredOlderBlocks() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_olderBlocks;
}

size_t UnitSimulator::OlderRecordSize() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_behaviour.productCode == 81 ? 26 : 27;
}

bool UnitSimulator::DispatchOlder(uint8_t command, const Behaviour& b) {
    std::vector<uint8_t> answer = {command};
    switch (command) {
    case 0x12:
    case 0x21:
    case 0x13: {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_streams.push_back(FileStream{command, {}, {}, true, false});
        m_command = command;
        m_blockNumber = 0;
        m_state = State::OlderStreamLength;
        break;
    }
    case 0x18: {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_streams.push_back(FileStream{command, {}, {}, true, false});
        m_command = command;
        m_blockNumber = 0;
        m_block.clear();
        m_olderTaken.clear();
        m_olderRefused = false;
        m_state = State::OlderCount;
        break;
    }
    case 0x16: {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_olderCount = m_olderBlocks.size();
        }
        const uint8_t c0 = static_cast<uint8_t>(m_olderCount & 0xFF), c1 = static_cast<uint8_t>(m_olderCount >> 8);
        answer.insert(answer.end(), {c0, c1, static_cast<uint8_t>(c0 ^ c1)});
        m_olderSent = 0;
        m_uploadCommand = command;
        m_uploadBytes = 0;
        m_state = State::OlderUploadCountAck;
        CutUpload(answer);
        break;
    }
    default:
        return false;  // as the newer units have it
    }
    Answer(answer, b.echoDelayMs);
    return true;
}

void UnitSimulator::HearOlder(uint8_t byte, const Behaviour& b) {
    const uint8_t endAnswer =
        b.streamEndAnswer >= 0 && b.streamEndAnswer <= 255 ? static_cast<uint8_t>(b.streamEndAnswer) : b.endAnswer;
    switch (m_state) {
    case State::OlderStreamLength:
        if (byte == 0) {
            m_state = State::OlderStreamEnd;
            break;
        }
        m_expected = byte;
        m_check = byte;
        m_block.clear();
        m_state = State::OlderStreamData;
        break;

    case State::OlderStreamData:
        m_block.push_back(byte);
        m_check ^= byte;
        if (m_block.size() == m_expected) m_state = State::OlderStreamCheck;
        break;

    case State::OlderStreamCheck: {
        const bool ok = byte == m_check;
        const bool refuse = !ok || b.refuseBlock == ++m_blockNumber;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            FileStream& s = CurrentStream();
            s.data.insert(s.data.end(), m_block.begin(), m_block.end());
            s.blockLengths.push_back(static_cast<unsigned>(m_expected));
            if (!ok) s.checksOk = false;
        }
        m_state = refuse ? State::Idle : State::OlderStreamLength;
        Answer({static_cast<uint8_t>(refuse ? 0x01 : 0x00)});
        break;
    }

    case State::OlderStreamEnd:
        m_state = State::Idle;
        if (byte != 0) {
            m_pending.assign(1, byte);
            break;
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            CurrentStream().completed = true;
        }
        Answer({endAnswer});
        break;

    case State::OlderCount:
        m_block.push_back(byte);
        if (m_block.size() < 3) break;
        m_olderCount = static_cast<size_t>(m_block[0] | m_block[1] << 8);
        m_block.clear();
        m_olderZeros = 0;
        m_state = m_olderCount ? State::OlderBlockData : State::OlderEnd;
        Answer({0x00});
        break;

    case State::OlderBlockData: {
        m_block.push_back(byte);
        const size_t size = OlderRecordSize();
        if (m_block.size() < size + 1) break;
        uint8_t check = 0;
        for (size_t i = 0; i < size; ++i) check ^= m_block[i];
        const bool ok = check == m_block[size];
        const bool refuse = !ok || b.refuseBlock == ++m_blockNumber;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            FileStream& s = CurrentStream();
            s.data.insert(s.data.end(), m_block.begin(), m_block.end());
            s.blockLengths.push_back(static_cast<unsigned>(m_block.size()));
            if (!ok) s.checksOk = false;
        }
        m_olderTaken.push_back(m_block);
        m_block.clear();
        m_olderZeros = 0;
        if (refuse) m_olderRefused = true;
        // A refused block: the tool goes on with the end of the project.
        m_state = refuse ? State::OlderEnd : State::OlderBlockNext;
        Answer({static_cast<uint8_t>(refuse ? 0x01 : 0x00)});
        break;
    }

    case State::OlderBlockNext:
        if (byte != 0 || ++m_olderZeros < 2) break;
        m_olderZeros = 0;
        m_state = static_cast<size_t>(m_blockNumber) < m_olderCount ? State::OlderBlockData : State::OlderEnd;
        Answer({0x00});
        break;

    case State::OlderEnd:
        if (byte != 0 || ++m_olderZeros < 2) break;
        m_state = State::Idle;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            FileStream& s = CurrentStream();
            s.completed = true;
            // Only a project taken whole replaces the one the unit holds.
            if (!m_olderRefused && s.checksOk) m_olderBlocks = m_olderTaken;
        }
        Answer({endAnswer});
        break;

    case State::OlderUploadCountAck:
    case State::OlderUploadRecordAck:
    case State::OlderUploadAfterAck: {
        if (byte != 0x00) {  // the tool gave up: a new command begins
            m_state = State::Idle;
            m_pending.assign(1, byte);
            break;
        }
        std::vector<uint8_t> out;
        if (m_state == State::OlderUploadRecordAck) {
            // The upload faults as the newer units have them: silence after block k, the
            // last of the bytes after the last record left out.
            if (b.stopAfterBlock > 0 && m_olderSent >= static_cast<size_t>(b.stopAfterBlock)) {
                m_state = State::Idle;
                break;
            }
            out = {0x00, 0x00};
            if (b.omitImageClosingByte && m_olderSent >= m_olderCount) out.pop_back();
            m_state = State::OlderUploadAfterAck;
        } else if (m_olderSent < m_olderCount) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_olderSent < m_olderBlocks.size()) out = m_olderBlocks[m_olderSent];
            }
            ++m_olderSent;
            // Record k with a wrong check byte (its last), records of another size.
            if (b.wrongCheckAtBlock > 0 && static_cast<size_t>(b.wrongCheckAtBlock) == m_olderSent && !out.empty())
                out.back() ^= 0x5A;
            if (b.uploadBlockSize > 0) out.resize(static_cast<size_t>(b.uploadBlockSize), 0xFF);
            m_state = State::OlderUploadRecordAck;
        } else {
            m_state = State::Idle;
            break;
        }
        CutUpload(out);
        if (!out.empty()) Answer(out);
        break;
    }

    default:
        m_state = State::Idle;
        break;
    }
}

}  // namespace unitsim
