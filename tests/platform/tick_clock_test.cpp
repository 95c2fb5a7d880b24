// The clock seam: the real tick count is milliseconds cut to 32 bits (the
// fake clock the other tests step is checked through the waits they time).
#include <gtest/gtest.h>

#include <chrono>

#include "platform/tick_clock.h"

TEST(TickClock, RealClockCountsMillisecondsCutTo32Bits) {
    const auto msNow = [] {
        const auto t = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(t).count());
    };
    platform::FakeClock fake(0xFFFFFFF0u);
    platform::vSetClock(&fake);
    platform::Sleep(0x20);  // a sleep on the fake clock moves it, wrapping
    EXPECT_EQ(platform::GetTickCount(), 0x10u);
    platform::vSetClock(nullptr);
    const uint64_t before = msNow();
    const uint32_t tick = platform::GetTickCount();
    EXPECT_LE(static_cast<uint32_t>(tick - static_cast<uint32_t>(before)), msNow() - before);
}
