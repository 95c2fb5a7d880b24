// The millisecond tick count and sleeping. All time in the system goes
// through here so that tests can replace the clock with one they step.
#pragma once
#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t GetTickCount();
void Sleep(uint32_t ms);

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t tickCount() = 0;
    virtual void sleep(uint32_t ms) = 0;
};

// Installs a clock (nullptr = the real one). Not owned.
void vSetClock(Clock* clock);

// A clock that stands still until told: Sleep advances it and then runs the
// hook, so a simulated unit can act while the console waits. An explicit
// advance moves time only (the hook may itself advance without recursing).
class FakeClock : public Clock {
public:
    explicit FakeClock(uint32_t start = 1000) : now_(start) {}
    uint32_t tickCount() override { return now_; }
    void sleep(uint32_t ms) override;
    void advance(uint32_t ms) { now_ += ms; }
    void set(uint32_t now) { now_ = now; }
    void (*onSleep)(void* ctx, uint32_t ms) = nullptr;
    void* ctx = nullptr;

private:
    uint32_t now_;
};

}  // namespace platform
