// The embedded virtual unit through the library's link calls on a fake
// clock: the connection's reports, where the arm stands, the cooling time.
#include <gtest/gtest.h>

#include "sim/library.h"
#include "tests/sim/sim_fixture.h"

namespace {

using simtest::Texts;

class UnitConnection : public simtest::SimFixture {};

TEST_F(UnitConnection, StatusRequestGetsSensorThenPositionThenCoolingTime) {
    ASSERT_EQ(lOpen("Link=sim\nAnswerDelay=100"), 0);
    const uint32_t t0 = lNow();
    vCommand("c1");
    EXPECT_EQ(con.wire, "\x06");  // the ACK comes at once
    vRun(100);
    ASSERT_EQ(con.events.size(), 2u);
    EXPECT_EQ(con.events[1], (simtest::LinkEvent{t0 + 100, "s1"}));
    EXPECT_EQ(con.wire, std::string("\x06\x02\x73\x31\x20\x63\x34\x03"));
    con.vClear();

    vCommand("c1");
    vRun(200);
    EXPECT_EQ(vsTake(), Texts{"r1"});
    vCommand("T1");
    vRun(200);
    EXPECT_EQ(vsTake(), Texts{"T0"});
    vRun(10000);
    EXPECT_EQ(vsTake(), Texts{});  // nothing unasked for
}

struct PositionCase {
    int sensor;
    int atOrigin;
    const char* first;
    const char* second;
};

class UnitStartPosition : public simtest::SimFixture, public ::testing::WithParamInterface<PositionCase> {};

TEST_P(UnitStartPosition, ReportsItsSensorAndArmPosition) {
    const auto& p = GetParam();
    ASSERT_EQ(lOpen("SensorPosition=" + std::to_string(p.sensor) + "\nStartAtOrigin=" + std::to_string(p.atOrigin)), 0);
    vCommand("c1");
    vRun(300);
    vCommand("c1");
    vRun(300);
    EXPECT_EQ(vsTake(), (Texts{p.first, p.second}));
}

INSTANTIATE_TEST_SUITE_P(Table, UnitStartPosition,
                         ::testing::Values(PositionCase{1, 1, "s1", "r1"}, PositionCase{2, 1, "s2", "m1"},
                                           PositionCase{3, 1, "s3", "r1"}, PositionCase{0, 1, "s0", "r1"},
                                           PositionCase{1, 0, "s1", "r0"}, PositionCase{2, 0, "s2", "m0"}));

TEST_F(UnitConnection, CoolingTimeCountsDownToZero) {
    ASSERT_EQ(lOpen("CoolTimeAtStart=3\nAnswerDelay=100"), 0);
    Texts seen;
    for (int i = 0; i < 5; ++i) {
        vCommand("T1");
        vRun(1000);
        for (const auto& t : vsTake()) seen.push_back(t);
    }
    // Asked at 0, 1 s, 2 s ... of the 3 s; answered 100 ms later, rounded up.
    EXPECT_EQ(seen, (Texts{"T3", "T2", "T1", "T0", "T0"}));
}

TEST_F(UnitConnection, RepeatedStatusRequestGetsOneAnswer) {
    ASSERT_EQ(lOpen(), 0);
    vCommand("c1");
    vCommand("c1");  // sent again before the answer came
    vRun(500);
    EXPECT_EQ(vsTake(), Texts{"s1"});
}

TEST_F(UnitConnection, EveryLinkOpenedStartsWithTheSensorReport) {
    ASSERT_EQ(lOpen(), 0);
    vCommand("c1");
    vRun(300);
    vCommand("c1");  // its answer would come after the link is gone
    ZyrWeq_SetDeviceFree();
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    vRun(300);
    vCommand("c1");
    vRun(300);
    EXPECT_EQ(vsTake(), (Texts{"s1", "s1"}));
}

TEST_F(UnitConnection, UnknownCommandIsAcknowledgedAndIgnored) {
    ASSERT_EQ(lOpen(), 0);
    vCommand("q7");
    vCommand("NOPE");
    vRun(5000);
    EXPECT_EQ(con.whats(), (Texts{"ACK", "ACK"}));
}

TEST_F(UnitConnection, ServiceCommandsSetTheUnitsModesAndSettings) {
    ASSERT_EQ(lOpen(), 0);
    vCommand("t1");
    vCommand("h1");
    vCommand("ap2");
    vCommand("sp1");
    const sim::UnitModel& m = sim::theLibrary().embeddedUnit()->model();
    EXPECT_TRUE(m.booTestMode());
    EXPECT_TRUE(m.booHalfMode());
    EXPECT_EQ(m.sAutoPower(), "2");
    EXPECT_EQ(m.sDisplay(), "1");
    vCommand("p1");  // package mode replaces half mode
    EXPECT_FALSE(m.booHalfMode());
    EXPECT_TRUE(m.booPackageMode());
    vCommand("t0");  // leaving test mode leaves both
    EXPECT_FALSE(m.booTestMode());
    EXPECT_FALSE(m.booPackageMode());
    EXPECT_EQ(vsTake(), Texts{});  // none of them is answered by a report
}

}  // namespace
