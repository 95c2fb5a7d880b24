// Transactions: send, wait for the ACK, resend, give up; open and close.
#include <gtest/gtest.h>

#include "link/transaction.h"
#include "platform/program_folder.h"
#include "tests/link/link_fixture.h"

using fakeunit::sFrame;
using fakeunit::unit;
using fakeunit::vecTrace;
using fakeunit::vecWire;

namespace {
const std::string kAck = "\x06";
const std::string kNak = "\x15";

struct Outcome {
    const char* name;
    std::vector<std::string> replies;   // the unit's reply to each command frame
    std::vector<int32_t> sendResults;   // the library's result of each send
    int32_t lResult;
    std::vector<uint32_t> commandTicks;  // ms after the start of each command frame
    std::vector<std::string> wire;
    int32_t lSendCnt;
};

class TransactionOutcome : public LinkTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(TransactionOutcome, GivesItsResultAfterTheSendsOnTheWire) {
    const Outcome& o = GetParam();
    unit.frameReplies = o.replies;
    unit.sendResults = o.sendResults;
    const uint32_t start = clock.tickCount();
    int32_t lResult = -12345;
    lSendCommand(frm, "c1", lResult, true);

    EXPECT_EQ(lResult, o.lResult);
    EXPECT_EQ(vecWire(), o.wire);
    std::vector<uint32_t> ticks;
    for (const auto& s : unit.sends)
        if (s.bytes.size() > 1) ticks.push_back(s.tick - start);
    EXPECT_EQ(ticks, o.commandTicks);
    EXPECT_EQ(App.g_tLink.lSendCnt, o.lSendCnt);
    EXPECT_EQ(App.g_tLink.sCmd, "");  // the transaction is over either way
}

// Silence: a resend once more than 3000 ms have passed, in 10 ms passes. A NAK
// is answered at once, at the next pass after the 10 ms pause.
INSTANTIATE_TEST_SUITE_P(
    AllOutcomes, TransactionOutcome,
    ::testing::Values(
        Outcome{"AckAtFirstSend", {kAck}, {}, 0, {0}, {"> c1"}, 1},
        Outcome{"AckAtThirdSendAfterSilence", {"", "", kAck}, {}, 0, {0, 3010, 6020}, {"> c1", "> c1", "> c1"}, 3},
        Outcome{"AckAtThirdSendAfterNaks", {kNak, kNak, kAck}, {}, 0, {0, 0, 10}, {"> c1", "> c1", "> c1"}, 3},
        Outcome{"NakStorm", {kNak, kNak, kNak, kNak}, {}, 10003, {0, 0, 10, 20},
                {"> c1", "> c1", "> c1", "> c1"}, 4},
        Outcome{"SilenceEachTime", {}, {}, 10003, {0, 3010, 6020, 9030}, {"> c1", "> c1", "> c1", "> c1"}, 4},
        Outcome{"FailedFirstSend", {}, {-7}, -7, {0}, {"> c1"}, 0},
        Outcome{"FailedResend", {kNak}, {0, 9}, 10004, {0, 0}, {"> c1", "> c1"}, 1},
        // A report sent before the ACK is acknowledged, counts as a missing
        // ACK and is lost with the resend.
        Outcome{"ReportBeforeTheAck", {sFrame("s1"), kAck}, {}, 0, {0, 0}, {"> c1", "> ACK", "> c1"}, 2}),
    [](const auto& info) { return std::string(info.param.name); });
}  // namespace

TEST_F(LinkTest, ATransactionStopsTheTimerAndLocksTheWindowUntilTheAck) {
    vAckNext(1);
    int32_t lResult = -1;
    lSendCommand(frm, "r1", lResult, true);
    EXPECT_EQ(lResult, 0);
    EXPECT_EQ(vecTrace({"timer", "disabled", "enabled", "busy", "pointer", ">"}),
              (std::vector<std::string>{"timer off", "disabled", "> r1", "pointer", "timer on"}));
    EXPECT_TRUE(frm.booTimer);
}

TEST_F(LinkTest, AFailedFirstSendLeavesTheTimerStoppedAndTheBusyPointer) {
    unit.sendResults = {-7};
    int32_t lResult = 0;
    lSendCommand(frm, "c1", lResult, true);
    EXPECT_EQ(lResult, -7);
    EXPECT_EQ(vecTrace({"timer", "disabled", "enabled", "busy", "pointer", ">"}),
              (std::vector<std::string>{"timer off", "disabled", "> c1"}));
    EXPECT_FALSE(frm.booTimer);
    EXPECT_TRUE(frm.booBusy);
}

TEST_F(LinkTest, TheReportAfterTheAckStaysForThePollingTimer) {
    unit.frameReplies = {kAck + sFrame("s2")};
    int32_t lResult = -1;
    lSendCommand(frm, "c1", lResult, true);
    EXPECT_EQ(lResult, 0);
    EXPECT_TRUE(App.g_tLink.booRecvPending);
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> c1"});
}

TEST_F(LinkTest, ADialogsTransactionLocksTheDialogAndStillStopsTheMainTimer) {
    struct Dialog : BusyWindow {
        std::vector<bool> calls;
        void voi_btEnabledSet(bool b) override { calls.push_back(b); }
        void* hWnd() override { return nullptr; }
    } dlg;
    vAckNext(1);
    int32_t lResult = -1;
    lSendCommand(dlg, "ap1", lResult, true);
    EXPECT_EQ(lResult, 0);
    EXPECT_EQ(dlg.calls, std::vector<bool>{false});
    EXPECT_EQ(vecTrace({"timer", "disabled", "enabled", ">"}),
              (std::vector<std::string>{"timer off", "> ap1", "timer on"}));
}

TEST_F(LinkTest, WithoutWaitingTheCommandIsSentOnceAndLeftInProgress) {
    int32_t lResult = -1;
    lSendCommand(frm, "c1", lResult, false);
    EXPECT_EQ(lResult, 0);
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> c1"});
    EXPECT_EQ(App.g_tLink.sCmd, "c1");
    EXPECT_TRUE(frm.booTimer);
}

TEST_F(LinkTest, ATickCounterWrapDuringTheWaitRestartsTheWait) {
    clock.set(0xFFFFFC18u);  // 1000 ms before the counter wraps
    unit.frameReplies = {"", kAck};
    int32_t lResult = -1;
    lSendCommand(frm, "c1", lResult, true);
    EXPECT_EQ(lResult, 0);
    ASSERT_EQ(unit.sends.size(), 2u);
    EXPECT_EQ(unit.sends[0].tick, 0xFFFFFC18u);
    // The passes reach 0 (wrapped): the wait starts again from there, so the
    // resend comes 4010 ms after the first send instead of 3010.
    EXPECT_EQ(unit.sends[1].tick, 3010u);
}

TEST_F(LinkTest, PollWhileIdleReturnsZeroAndSendsNothing) {
    int32_t lSend = -1;
    EXPECT_EQ(lCommPoll("", lSend), COMM_IDLE);
    EXPECT_EQ(lSend, 0);
    EXPECT_TRUE(unit.sends.empty());
}

TEST_F(LinkTest, PollResendsOnlyWhenMoreThan3000msHavePassed) {
    int32_t lSend = -1;
    EXPECT_EQ(lCommPoll("c1", lSend), COMM_WAITING);
    clock.advance(3000);
    EXPECT_EQ(lCommPoll("", lSend), COMM_WAITING);
    EXPECT_EQ(unit.sends.size(), 1u);
    clock.advance(1);
    EXPECT_EQ(lCommPoll("", lSend), COMM_WAITING);
    EXPECT_EQ(unit.sends.size(), 2u);
    EXPECT_EQ(App.g_tLink.lSendCnt, 2);
    EXPECT_EQ(App.g_tLink.lSendTick, static_cast<int32_t>(clock.tickCount()));
}

TEST_F(LinkTest, PollEmptiesTheLastEventBeforeEachSend) {
    int32_t lSend = -1;
    lCommPoll("c1", lSend);
    App.g_sLinkAnswer = sFrame("r1");
    EXPECT_EQ(lCommPoll("", lSend), COMM_WAITING);
    EXPECT_EQ(App.g_sLinkAnswer, "");
    EXPECT_EQ(unit.sends.size(), 2u);
    App.g_sLinkAnswer = kAck;
    EXPECT_EQ(lCommPoll("", lSend), COMM_ACKED);
    EXPECT_EQ(App.g_tLink.sCmd, "");
    EXPECT_EQ(lCommPoll("", lSend), COMM_IDLE);
}

TEST_F(LinkTest, ANewCommandReplacesTheOneInProgress) {
    int32_t lSend = -1;
    lCommPoll("c1", lSend);
    lCommPoll("", lSend);
    App.g_sLinkAnswer = kNak;
    lCommPoll("", lSend);
    ASSERT_EQ(App.g_tLink.lSendCnt, 2);
    EXPECT_EQ(lCommPoll("r1", lSend), COMM_WAITING);
    EXPECT_EQ(App.g_tLink.sCmd, "r1");
    EXPECT_EQ(App.g_tLink.lSendCnt, 1);
    EXPECT_EQ(fakeunit::vecCommands(), (std::vector<std::string>{"c1", "c1", "r1"}));
}

TEST_F(LinkTest, PollReportsAFailedSendWithTheLibrarysCode) {
    unit.sendResults = {0, -4};
    int32_t lSend = -1;
    lCommPoll("c1", lSend);
    App.g_sLinkAnswer = kNak;
    EXPECT_EQ(lCommPoll("", lSend), COMM_RESEND_FAILED);
    EXPECT_EQ(lSend, -4);
    EXPECT_EQ(App.g_tLink.sCmd, "");
}

TEST_F(LinkTest, OpeningInitialisesWithTheSettingsFileAndReturnsTheCommInitResult) {
    platform::vSetProgramFolder("/opt/unit");
    unit.lCommInitResult = 5;
    EXPECT_EQ(lLinkOpen(), 5);
    EXPECT_EQ(unit.sInitPath, "/opt/unit/ZYR_PAN_WEQ.ini");
    EXPECT_EQ(unit.lInitFlag, 1);
    unit.lCommInitResult = 0;
    EXPECT_EQ(lLinkOpen(), 0);
    EXPECT_EQ(vecTrace({"lib"}), (std::vector<std::string>{"lib Init", "lib SetCommInit", "lib Init",
                                                           "lib SetCommInit"}));
    platform::vSetProgramFolder("");
}

TEST_F(LinkTest, ClosingResetsThenReleasesTheDevice) {
    vLinkClose();
    EXPECT_EQ(vecTrace({"lib"}), (std::vector<std::string>{"lib ResetAll", "lib SetDeviceFree"}));
}
