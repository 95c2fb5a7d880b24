// The clock seam: the tick count wraps at 2^32 like the unit's counters, the
// fake clock that tests step, and the real clock back when it is removed.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/tick_clock.h"

namespace {

uint64_t msNow() {
    const auto t = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(t).count());
}

TEST(TickClock, FakeClockMovesOnlyWhenSteppedAndWrapsAt32Bits) {
    platform::FakeClock fake(0xFFFFFFF0u);
    std::vector<uint32_t> seen;  // the tick count each sleep's hook saw
    fake.ctx = &seen;
    fake.onSleep = [](void* ctx, uint32_t) { static_cast<std::vector<uint32_t>*>(ctx)->push_back(platform::GetTickCount()); };
    platform::vSetClock(&fake);
    EXPECT_EQ(platform::GetTickCount(), 0xFFFFFFF0u);
    platform::Sleep(0x0F);
    platform::Sleep(1);
    fake.advance(0x30);  // moving time by hand runs no hook
    EXPECT_EQ(seen, (std::vector<uint32_t>{0xFFFFFFFFu, 0u}));
    EXPECT_EQ(platform::GetTickCount(), 0x30u);
    platform::vSetClock(nullptr);
    const uint64_t before = msNow();
    const uint32_t tick = platform::GetTickCount();
    EXPECT_LE(static_cast<uint32_t>(tick - static_cast<uint32_t>(before)), msNow() - before) << "milliseconds, cut to 32 bits";
}

}  // namespace
