// READY, the hand switch and the X-ray, the TMJ halves, and the ways an
// exposure or a movement is cancelled, as the console sees them on the line.
#include <gtest/gtest.h>

#include "tests/sim/sim_fixture.h"

namespace {

using simtest::Texts;

const char* const kTimings =
    "AnswerDelay=100\nReadyTime=2000\nHandSwitchDelay=1500\nXrayDelay=500\nXrayOn=3000\n"
    "XrayGap=1000\nMoveTime=3000\nHalfMoveTime=3000\nCoolTime=10";

class UnitExposure : public simtest::SimFixture {
protected:
    // Opens the link and takes the connection's two answers.
    void vConnect(const std::string& more = "") {
        // The first of two equal keys counts: the test's own come first.
        ASSERT_EQ(lOpen(more + "\n" + kTimings), 0);
        vCommand("c1");
        vRun(200);
        vCommand("c1");
        vRun(200);
        ASSERT_EQ(vsTake().size(), 2u);
        t0 = lNow();
    }
    // The reports since the last call, each with its time after t0.
    std::vector<std::pair<uint32_t, std::string>> timed() {
        std::vector<std::pair<uint32_t, std::string>> out;
        for (const auto& e : con.events)
            if (e.what != "ACK" && e.what != "NAK") out.emplace_back(e.at - t0, e.what);
        con.vClear();
        return out;
    }
    // Sends the command now and makes it the origin of the times.
    void vAt(const std::string& text) {
        t0 = lNow();
        vCommand(text);
    }

    uint32_t t0 = 0;
};

using Timed = std::vector<std::pair<uint32_t, std::string>>;

TEST_F(UnitExposure, PanoramicReadyHandSwitchXrayAndTransfer) {
    vConnect();
    vAt("NP_P1_C 70 4");
    vRun(20000);
    // E1 waits for the ACK of X0, which the console gives at that tick.
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}, {3500, "X1"}, {7000, "X0"}, {7010, "E1"}}));
    vCommand("c1");  // the arm rests where the exposure ended
    vRun(200);
    EXPECT_EQ(vsTake(), Texts{"r0"});
}

TEST_F(UnitExposure, CoolingFollowsTheXray) {
    vConnect();
    vAt("NP_P1_A 60 2");
    vRun(7100);
    (void)timed();
    vCommand("T1");
    vRun(200);
    EXPECT_EQ(vsTake(), Texts{"T10"});
}

TEST_F(UnitExposure, TmjExposureRunsInTwoHalvesWithAReturnToOriginBetween) {
    vConnect();
    vAt("NP_T4 70 6");
    vRun(15000);
    // Two images of 3000 ms with 1000 ms between them after a 500 ms delay;
    // then the arm returns and "d1" invites the second READY.
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}, {3500, "X1"}, {11000, "X0"}, {11010, "E1"}, {14000, "d1"}}));
    vCommand("c1");
    vRun(200);
    EXPECT_EQ(vsTake(), Texts{"r1"});
    vAt("NP_T4 70 6");
    vRun(25000);
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}, {3500, "X1"}, {11000, "X0"}, {11010, "E1"}}));
}

TEST_F(UnitExposure, SameExposureCommandAgainIsARepeatNotANewReady) {
    vConnect();
    vAt("NP_P1_C 70 4");
    vRun(500);
    vCommand("NP_P1_C 70 4");
    vRun(20000);
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}, {3500, "X1"}, {7000, "X0"}, {7010, "E1"}}));
}

TEST_F(UnitExposure, CoolingAnswerNotYetSentGivesWayToTheExposureCommand) {
    vConnect();
    vCommand("T1");
    vAt("NP_P1_C 70 4");  // in the same breath, as READY's second stage does
    vRun(2500);
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}}));
}

TEST_F(UnitExposure, HandSwitchNeverPressedLeavesTheUnitReady) {
    vConnect("HandSwitchDelay=-1");
    vAt("NP_P1_C 70 4");
    vRun(60000);
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}}));
}

TEST_F(UnitExposure, ReadyTimeoutEndsReadyWithD0) {
    vConnect("HandSwitchDelay=-1\nReadyTimeout=5000");
    vAt("NP_P1_C 70 4");
    vRun(10000);
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}, {7000, "d0"}}));
}

TEST_F(UnitExposure, HandSwitchReleasedEarlyStopsTheXrayAndEndsWithD0) {
    vConnect("HandSwitchHold=1200");
    vAt("NP_T4 70 6");
    vRun(20000);
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}, {3500, "X1"}, {4700, "X0"}, {4710, "d0"}}));
}

TEST_F(UnitExposure, ConsoleD0CancelsReadySilently) {
    vConnect();
    vAt("NP_P1_C 70 4");
    vRun(1000);
    vCommand("d0");
    vRun(10000);
    vCommand("c1");
    vRun(200);
    EXPECT_EQ(vsTake(), Texts{"r0"});
}

TEST_F(UnitExposure, ConsoleD0DuringTheXrayStopsIt) {
    vConnect();
    vAt("NP_P1_C 70 4");
    vRun(4000);
    vCommand("d0");
    vRun(10000);
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}, {3500, "X1"}, {4000, "X0"}}));
}

TEST_F(UnitExposure, X0FromTheWatchdogStopsTheXray) {
    vConnect();
    vAt("NP_P1_C 70 4");
    vRun(4000);
    vCommand("x0");
    vRun(10000);
    EXPECT_EQ(timed(), (Timed{{2000, "d1"}, {3500, "X1"}, {4000, "X0"}}));
}

struct MoveCase {
    const char* name;
    const char* start;  // StartAtOrigin, SensorPosition
    std::vector<std::string> commands;  // sent 1 s apart
    Timed reports;
    const char* positionAfter;
};

class UnitMovement : public UnitExposure, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(UnitMovement, MovesAndReportsAsTheResetProcedureExpects) {
    const auto& p = GetParam();
    vConnect(p.start);
    t0 = lNow();
    for (const auto& cmd : p.commands) {
        vCommand(cmd);
        vRun(1000);
    }
    vRun(10000);
    EXPECT_EQ(timed(), p.reports);
    vCommand("c1");
    vRun(200);
    EXPECT_EQ(vsTake(), Texts{p.positionAfter});
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnitMovement,
    ::testing::Values(
        MoveCase{"ResetFromAway", "StartAtOrigin=0", {"r1"}, {{3000, "r1"}}, "r1"},
        MoveCase{"ResetAtOriginAnswersAtOnce", "", {"r1"}, {{100, "r1"}}, "r1"},
        MoveCase{"R0StopsTheReturn", "StartAtOrigin=0", {"r1", "r0"}, {}, "r0"},
        MoveCase{"ToCephalo", "", {"m1"}, {{3000, "m1"}}, "m1"},
        MoveCase{"M0StopsTheCephaloMove", "", {"m1", "m0"}, {}, "m0"},
        MoveCase{"M0LeavesAReturnAlone", "StartAtOrigin=0", {"r1", "m0"}, {{3000, "r1"}}, "r1"},
        MoveCase{"CephaloThenBackToOrigin", "", {"m1", "r1"}, {{4000, "r1"}}, "r1"},
        MoveCase{"HalfModeReadyThenMovement", "", {"h1", "d1"}, {{3000, "d1"}, {6000, "z1"}}, "h1"},
        MoveCase{"PackageModeReadyThenMovement", "", {"p1", "d1"}, {{3000, "d1"}, {6000, "z1"}}, "p1"},
        MoveCase{"HalfModeResetReturnsToOrigin", "", {"h1", "d1", "r1"}, {{5000, "r1"}}, "h1"},
        MoveCase{"HalfModeOffAnswersThePosition", "", {"h1", "h0"}, {}, "r1"},
        MoveCase{"D0CancelsTheHalfMovement", "", {"h1", "d1", "d0"}, {}, "h1"},
        MoveCase{"RepeatedD1IsOneMovement", "", {"h1", "d1", "d1"}, {{3000, "d1"}, {6000, "z1"}}, "h1"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
