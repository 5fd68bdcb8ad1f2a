#pragma once
// The one clock of the unit link: tick count, sleep, and the real-time length of a span
// of clock milliseconds (for the waits on a file descriptor). The system clock is real;
// a test clock may run faster than real time and keeps the sleeps it was asked for, so
// a test can assert every pause the link makes without waiting for it.
#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps at 2^32 like the Windows tick count,
    // so compare ticks only by their difference.
    virtual uint32_t GetTickCount() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // Real milliseconds that pass while this clock advances by ms (rounded up, so a
    // positive span never becomes a zero wait).
    virtual int RealMilliseconds(uint32_t ms) const = 0;
};

// What runs while a clock sleeps or the link waits for a byte: at least every
// kWaitTickMs real milliseconds, on the thread that set it (the window's event pump, so
// the screen repaints during a transfer). Nothing until it is set; null clears it.
constexpr int kWaitTickMs = 50;
void SetWaitTick(void (*tick)());
// Runs the tick when one is set and this is its thread (never inside itself).
void WaitTick();
// Sleeps the given real milliseconds, running the tick between slices.
void SleepTicking(std::chrono::duration<double, std::milli> span);

// The real clock, shared by everything that is not told otherwise.
Clock& SystemClock();

// A clock that runs `speedup` times faster than real time (1 = real) and records every
// sleep in clock milliseconds.
class TestClock : public Clock {
public:
    explicit TestClock(double speedup = 1.0);
    uint32_t GetTickCount() override;
    void Sleep(uint32_t ms) override;
    int RealMilliseconds(uint32_t ms) const override;

    std::vector<uint32_t> Sleeps() const;
    void ClearSleeps();
    // Sum of the recorded sleeps.
    uint64_t TotalSleep() const;

private:
    double m_speedup;
    std::chrono::steady_clock::time_point m_start;
    mutable std::mutex m_mutex;
    std::vector<uint32_t> m_sleeps;
};

// A clock whose time moves only when told: a sleep passes at once, and whoever waits on
// it (a line in this program, SerialLine) advances it by the time the wait would take.
// Its milliseconds are taken as real ones.
class ManualClock : public Clock {
public:
    uint32_t GetTickCount() override { return m_now; }
    void Sleep(uint32_t ms) override { m_now += ms; }
    int RealMilliseconds(uint32_t ms) const override { return static_cast<int>(ms); }
    void Advance(uint32_t ms) { m_now += ms; }

private:
    uint32_t m_now = 0;
};

}  // namespace platform
