// Each fault the unit can be told to show, as the console meets it.
#include <gtest/gtest.h>

#include "sim/library.h"
#include "tests/sim/sim_fixture.h"

namespace {

using simtest::Texts;

class UnitFaults : public simtest::SimFixture {
protected:
    const std::vector<std::string>& accepted() { return sim::theLibrary().embeddedUnit()->commands(); }
};

TEST_F(UnitFaults, NakFirstRefusesTheFirstSendsThenAccepts) {
    ASSERT_EQ(lOpen("NakFirst=2"), 0);
    vCommand("c1");
    vCommand("c1");
    vCommand("c1");
    vRun(300);
    EXPECT_EQ(con.whats(), (Texts{"NAK", "NAK", "ACK", "s1"}));
    EXPECT_EQ(accepted(), Texts{"c1"});
}

TEST_F(UnitFaults, NeverAckLeavesEverySendUnanswered) {
    ASSERT_EQ(lOpen("NeverAck=1"), 0);
    for (int i = 0; i < 4; ++i) {
        vCommand("c1");
        vRun(3010);
    }
    EXPECT_TRUE(con.wire.empty());
    EXPECT_TRUE(accepted().empty());
}

// A cooling answer still owed when the next command comes: dropped, or with
// CoolBeforeAck on the line ahead of that command's ACK.
class UnitCoolBeforeAck : public UnitFaults, public ::testing::WithParamInterface<bool> {};

TEST_P(UnitCoolBeforeAck, OwedCoolingAnswerGoesAheadOfTheNextAckOnlyWhenAsked) {
    ASSERT_EQ(lOpen(GetParam() ? "CoolBeforeAck=1" : "Link=sim"), 0);
    vCommand("c1");
    vRun(300);
    con.vClear();
    vCommand("T1");  // its answer is due 100 ms later ...
    vCommand("r1");  // ... but this command comes first
    vRun(300);
    EXPECT_EQ(con.whats(), GetParam() ? (Texts{"ACK", "T0", "ACK", "r1"}) : (Texts{"ACK", "ACK", "r1"}));
    EXPECT_EQ(accepted(), (Texts{"c1", "T1", "r1"}));
}

INSTANTIATE_TEST_SUITE_P(OffOn, UnitCoolBeforeAck, ::testing::Bool());

TEST_F(UnitFaults, DropEveryLosesTheUnitsNthFrameAndItIsSentAgain3000msLater) {
    ASSERT_EQ(lOpen("DropEvery=2\nAnswerDelay=100"), 0);
    vCommand("c1");
    vRun(200);
    const uint32_t t = lNow();
    vCommand("c1");  // its answer "r1" is the unit's second frame: lost
    vRun(5000);
    ASSERT_EQ(con.events.size(), 4u);
    EXPECT_EQ(con.events[3], (simtest::LinkEvent{t + 3100, "r1"}));
}

TEST_F(UnitFaults, CorruptEverySpoilsTheChecksumAndANakBringsItAgain) {
    ASSERT_EQ(lOpen("CorruptEvery=2"), 0);
    vCommand("c1");
    vRun(200);
    vCommand("c1");
    vRun(200);
    std::string spoilt = sim::sBuildFrame("r1");  // checksum "c3"
    spoilt[spoilt.size() - 2] = '0';              // its last digit changed
    EXPECT_EQ(con.whats(), (Texts{"ACK", "s1", "ACK", "BAD:" + spoilt, "r1"}));
}

TEST_F(UnitFaults, ReportRefusedFourTimesIsGivenUp) {
    ASSERT_EQ(lOpen("CorruptEvery=1"), 0);
    vCommand("c1");
    vRun(20000);
    const auto w = con.whats();
    ASSERT_EQ(w.size(), 5u);
    for (size_t i = 1; i < 5; ++i) EXPECT_EQ(w[i].rfind("BAD:", 0), 0u);
    EXPECT_EQ(sim::theLibrary().embeddedUnit()->protocol().lReportsGivenUp(), 1u);
}

TEST_F(UnitFaults, UnacknowledgedReportIsSentFourTimes3000msApart) {
    ASSERT_EQ(lOpen("AnswerDelay=100"), 0);
    con.ackFrames = false;
    const uint32_t t = lNow();
    vCommand("c1");
    vRun(20000);
    std::vector<uint32_t> at;
    for (const auto& e : con.events)
        if (e.what == "s1") at.push_back(e.at - t);
    EXPECT_EQ(at, (std::vector<uint32_t>{100, 3100, 6100, 9100}));
}

TEST_F(UnitFaults, DropEveryCommandLosesTheConsolesNthFrame) {
    ASSERT_EQ(lOpen("DropEveryCommand=2"), 0);
    vCommand("t1");
    vCommand("h1");
    vCommand("ap1");
    EXPECT_EQ(con.whats(), (Texts{"ACK", "ACK"}));
    EXPECT_EQ(accepted(), (Texts{"t1", "ap1"}));
}

TEST_F(UnitFaults, CorruptEveryCommandMakesTheUnitAnswerNak) {
    ASSERT_EQ(lOpen("CorruptEveryCommand=3"), 0);
    vCommand("t1");
    vCommand("h1");
    vCommand("p1");
    vCommand("p1");
    EXPECT_EQ(con.whats(), (Texts{"ACK", "ACK", "NAK", "ACK"}));
    EXPECT_EQ(accepted(), (Texts{"t1", "h1", "p1"}));
}

struct ErrorCase {
    const char* name;
    const char* keys;
    std::vector<std::string> commands;  // after the connection, 3 s apart
    Texts reports;
};

class UnitErrorAt : public UnitFaults, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(UnitErrorAt, ReportsTheErrorAtItsStepUntilReset) {
    const auto& p = GetParam();
    ASSERT_EQ(lOpen(std::string("HandSwitchDelay=500\nReadyTime=500\nMoveTime=1000\nHalfMoveTime=1000\n") + p.keys), 0);
    for (const auto& cmd : p.commands) {
        vCommand(cmd);
        vRun(3000);
    }
    EXPECT_EQ(vsTake(), p.reports);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnitErrorAt,
    ::testing::Values(
        ErrorCase{"AtConnection", "ErrorNo=17\nErrorAt=c1", {"c1", "c1", "r0", "c1", "c1"}, {"e17", "e17", "s1", "r1"}},
        ErrorCase{"SecondStatusRequest", "ErrorNo=6\nErrorAt=c1\nErrorOccurrence=2",
                  {"c1", "c1", "c1", "r0", "c1"}, {"s1", "e6", "e6", "r1"}},
        ErrorCase{"AtReady", "ErrorNo=19\nErrorAt=NP", {"c1", "NP_P1_A 60 2", "c1", "r1"}, {"s1", "e19", "r0", "e19", "r1"}},
        ErrorCase{"AtHandSwitch", "ErrorNo=5\nErrorAt=X1", {"c1", "NP_P1_A 60 2", "NP_P1_A 60 2", "r0", "c1"},
                  {"s1", "d1", "e5", "r0", "e5", "r0"}},
        ErrorCase{"AtReturnToOrigin", "ErrorNo=3\nErrorAt=r1", {"c1", "r1", "r1"}, {"s1", "e3", "r0", "r1"}},
        ErrorCase{"AtCephaloMove", "ErrorNo=4\nErrorAt=m1", {"c1", "m1", "d1"}, {"s1", "e4", "r0", "e4"}},
        ErrorCase{"AtCoolingRequest", "ErrorNo=2\nErrorAt=T1", {"c1", "T1", "T1"}, {"s1", "e2", "T0"}},
        ErrorCase{"AtHalfReady", "ErrorNo=16\nErrorAt=d1", {"c1", "h1", "d1", "r0", "d1"}, {"s1", "e16", "r0", "d1", "z1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitFaults, MoveStopHaltsTheChosenMovementAwayFromItsGoal) {
    ASSERT_EQ(lOpen("StartAtOrigin=0\nMoveTime=3000\nMoveStopAfter=800\nMoveStopSkip=1\nMoveStopCount=1"), 0);
    vCommand("r1");  // the first movement runs in full
    vRun(4000);
    vCommand("m1");  // the second halts
    vRun(4000);
    vCommand("r1");  // the third runs in full again
    vRun(4000);
    EXPECT_EQ(vsTake(), (Texts{"r1", "m0", "r1"}));
}

TEST_F(UnitFaults, LoseLinkAfterMakesReceiveNegativeUntilTheLinkIsOpenedAgain) {
    ASSERT_EQ(lOpen("LoseLinkAfter=2"), 0);
    vCommand("c1");
    vRun(1900);
    EXPECT_GE(con.lastRecv, 0);
    vRun(100);
    EXPECT_EQ(con.lastRecv, -2);
    EXPECT_EQ(con.lSendText("c1"), -2);
    ZyrWeq_SetDeviceFree();
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    con.vClear();
    vCommand("c1");
    vRun(10000);  // only the first link is lost
    EXPECT_EQ(con.whats(), (Texts{"ACK", "s1"}));
    EXPECT_GE(con.lastRecv, 0);
}

TEST_F(UnitFaults, LoseLinkRepeatLosesEveryLink) {
    ASSERT_EQ(lOpen("LoseLinkAfter=1\nLoseLinkRepeat=1"), 0);
    vRun(1000);
    EXPECT_EQ(con.lastRecv, -2);
    ZyrWeq_SetDeviceFree();
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    vRun(990);
    EXPECT_EQ(con.lastRecv, 0);
    vRun(10);
    EXPECT_EQ(con.lastRecv, -2);
}

}  // namespace
