#include "platform/Clock.h"

#include <cmath>
#include <numeric>
#include <algorithm>
#include <thread>

namespace platform {

namespace {
void (*g_tick)() = nullptr;
std::thread::id g_tickThread;
thread_local bool t_ticking = false;
}  // namespace

void SetWaitTick(void (*tick)()) {
    g_tick = tick;
    g_tickThread = std::this_thread::get_id();
}

void WaitTick() {
    if (!g_tick || t_ticking || std::this_thread::get_id() != g_tickThread) return;
    t_ticking = true;
    g_tick();
    t_ticking = false;
}

void SleepTicking(std::chrono::duration<double, std::milli> span) {
    using Span = std::chrono::duration<double, std::milli>;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::nanoseconds>(span);
    for (;;) {
        const Span left = end - std::chrono::steady_clock::now();
        if (left.count() <= 0) break;
        if (!g_tick) {
            std::this_thread::sleep_for(left);
            break;
        }
        std::this_thread::sleep_for(std::min(left, Span(kWaitTickMs)));
        WaitTick();
    }
}

namespace {
class RealClock : public Clock {
public:
    RealClock() : m_start(std::chrono::steady_clock::now()) {}
    uint32_t GetTickCount() override {
        auto elapsed = std::chrono::steady_clock::now() - m_start;
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }
    void Sleep(uint32_t ms) override { SleepTicking(std::chrono::milliseconds(ms)); }
    int RealMilliseconds(uint32_t ms) const override { return static_cast<int>(ms); }

private:
    std::chrono::steady_clock::time_point m_start;
};
}  // namespace

Clock& SystemClock() {
    static RealClock clock;
    return clock;
}

TestClock::TestClock(double speedup)
    : m_speedup(speedup > 0 ? speedup : 1.0), m_start(std::chrono::steady_clock::now()) {}

uint32_t TestClock::GetTickCount() {
    std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - m_start;
    return static_cast<uint32_t>(static_cast<uint64_t>(elapsed.count() * m_speedup));
}

void TestClock::Sleep(uint32_t ms) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sleeps.push_back(ms);
    }
    SleepTicking(std::chrono::duration<double, std::milli>(ms / m_speedup));
}

int TestClock::RealMilliseconds(uint32_t ms) const {
    if (ms == 0) return 0;
    double real = std::ceil(ms / m_speedup);
    return real < 1 ? 1 : static_cast<int>(real);
}

std::vector<uint32_t> TestClock::Sleeps() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sleeps;
}

void TestClock::ClearSleeps() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sleeps.clear();
}

uint64_t TestClock::TotalSleep() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::accumulate(m_sleeps.begin(), m_sleeps.end(), uint64_t{0});
}

}  // namespace platform
