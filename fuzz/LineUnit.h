#pragma once
// A unit inside the fuzz target, on a line of this program (platform::SerialLine) named
// COM9 and a clock that moves only when the link waits, so that a run takes no real time:
// after the link has written something, its next read finds the next answer of the input
// (answers each led by their length, starting after the input's first byte), as a unit's
// answer comes after the link's purge of its input; a read that finds nothing lets its
// wait pass on the clock at once.
#include "platform/Clock.h"
#include "platform/SerialDevice.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace fuzzline {

inline constexpr char kLinePath[] = "fuzz-line:COM9";

// Names the line COM9 (once, before the first run).
inline void NameLineCom9() { setenv("QUORVEX_COM9", kLinePath, 1); }

class LineUnit : public platform::SerialLine {
public:
    LineUnit(const uint8_t* data, size_t size) : m_data(data), m_size(size) {
        platform::RegisterSerialLine(kLinePath, this);
    }
    ~LineUnit() override { platform::RegisterSerialLine(kLinePath, nullptr); }
    LineUnit(const LineUnit&) = delete;
    LineUnit& operator=(const LineUnit&) = delete;

    platform::ManualClock& Clock() { return m_clock; }

    void Write(const uint8_t*, size_t) override { m_written = true; }
    int ReadByte(uint8_t& byte, int timeoutMs) override {
        if (m_next == m_received.size() && m_written) Answer();
        if (m_next < m_received.size()) {
            byte = m_received[m_next++];
            return 1;
        }
        m_clock.Advance(static_cast<uint32_t>(std::max(timeoutMs, 1)));
        return 0;
    }
    void PurgeReceived() override {
        m_received.clear();
        m_next = 0;
    }

private:
    // The next answer of the input arrives.
    void Answer() {
        m_written = false;
        if (m_pos >= m_size) return;
        const size_t length = std::min<size_t>(m_data[m_pos], m_size - m_pos - 1);
        m_received.assign(m_data + m_pos + 1, m_data + m_pos + 1 + length);
        m_next = 0;
        m_pos += 1 + length;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 1;
    bool m_written = false;
    std::vector<uint8_t> m_received;
    size_t m_next = 0;
    platform::ManualClock m_clock;
};

}  // namespace fuzzline
