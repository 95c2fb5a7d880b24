// The clock seam: the fake clock that tests step, its hook, the wrap at 2^32,
// and that the real clock comes back when the fake one is removed.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/tick_clock.h"

namespace {

struct SleepLog {
    platform::FakeClock* clock = nullptr;
    std::vector<uint32_t> sleeps;     // ms of each Sleep, in order
    std::vector<uint32_t> ticksSeen;  // the tick count the hook saw
};

void vRecordSleep(void* ctx, uint32_t ms) {
    auto* log = static_cast<SleepLog*>(ctx);
    log->sleeps.push_back(ms);
    log->ticksSeen.push_back(platform::GetTickCount());
}

class Clock : public ::testing::Test {
protected:
    void TearDown() override { platform::vSetClock(nullptr); }
};

TEST_F(Clock, FakeClockStandsStillUntilStepped) {
    platform::FakeClock fake(5000);
    platform::vSetClock(&fake);
    EXPECT_EQ(platform::GetTickCount(), 5000u);
    EXPECT_EQ(platform::GetTickCount(), 5000u);
    fake.advance(250);
    EXPECT_EQ(platform::GetTickCount(), 5250u);
    fake.set(7);
    EXPECT_EQ(platform::GetTickCount(), 7u);
}

TEST_F(Clock, SleepAdvancesThenRunsTheHook) {
    platform::FakeClock fake(100);
    SleepLog log;
    fake.onSleep = vRecordSleep;
    fake.ctx = &log;
    platform::vSetClock(&fake);
    platform::Sleep(1);
    platform::Sleep(3000);
    fake.advance(10);  // moving time by hand runs no hook
    EXPECT_EQ(log.sleeps, (std::vector<uint32_t>{1, 3000}));
    EXPECT_EQ(log.ticksSeen, (std::vector<uint32_t>{101, 3101})) << "the hook sees the time after the sleep";
    EXPECT_EQ(platform::GetTickCount(), 3111u);
}

TEST_F(Clock, HookMayAdvanceTheClockItself) {
    platform::FakeClock fake(0);
    fake.onSleep = [](void* ctx, uint32_t) { static_cast<platform::FakeClock*>(ctx)->advance(5); };
    fake.ctx = &fake;
    platform::vSetClock(&fake);
    platform::Sleep(10);
    EXPECT_EQ(platform::GetTickCount(), 15u);
}

TEST_F(Clock, CountWrapsAt32Bits) {
    platform::FakeClock fake(0xFFFFFFF0u);
    platform::vSetClock(&fake);
    platform::Sleep(0x20);
    EXPECT_EQ(platform::GetTickCount(), 0x10u);
    fake.set(0xFFFFFFFFu);
    fake.advance(1);
    EXPECT_EQ(platform::GetTickCount(), 0u);
}

TEST_F(Clock, RealClockReturnsWhenFakeRemoved) {
    platform::FakeClock fake(42);
    platform::vSetClock(&fake);
    ASSERT_EQ(platform::GetTickCount(), 42u);
    platform::vSetClock(nullptr);
    // The real counter is the monotonic clock in milliseconds, cut to 32 bits.
    const auto msNow = [] {
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch())
                                         .count());
    };
    const uint64_t before = msNow();
    const uint32_t tick = platform::GetTickCount();
    const uint64_t after = msNow();
    EXPECT_LE(static_cast<uint32_t>(tick - static_cast<uint32_t>(before)), after - before);
    platform::Sleep(0);
    EXPECT_EQ(fake.tickCount(), 42u) << "the removed fake clock was not advanced";
}

}  // namespace
