#include "platform/tick_clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace platform {
namespace {

// The workstation's own clock: milliseconds of the monotonic clock, cut to
// 32 bits so that it wraps like the unit-side counters the console compares.
class RealClock : public Clock {
public:
    uint32_t tickCount() override {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<uint32_t>(static_cast<uint64_t>(ms.count()));
    }
    void sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

RealClock& realClock() {
    static RealClock clock;
    return clock;
}

std::atomic<Clock*> g_installed{nullptr};

Clock& current() {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    return clock != nullptr ? *clock : realClock();
}

}  // namespace

uint32_t GetTickCount() { return current().tickCount(); }

void Sleep(uint32_t ms) { current().sleep(ms); }

void vSetClock(Clock* clock) { g_installed.store(clock, std::memory_order_release); }

void FakeClock::sleep(uint32_t ms) {
    now_ += ms;  // unsigned: wraps at 2^32 like the real counter
    if (onSleep != nullptr) onSleep(ctx, ms);
}

}  // namespace platform
