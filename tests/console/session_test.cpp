// The console's run against the scripted unit: the connection at the first
// activation and its retries, the polling tick (reports, cooling request,
// X-ray wait watchdog) and the reconnection after a lost link.
#include <gmock/gmock.h>

#include "app/app_state.h"
#include "resources/string_table.h"
#include "tests/support/console_fixture.h"

using ::testing::HasSubstr;

namespace {
constexpr int ALL = 20;

struct tBootRow {
    const char* sName;
    int32_t lRetry;        // InitRetryTime_Boot, seconds
    uint32_t ulOpenMs;     // each opening of the link takes this long
    const char* sFailing;  // the call that fails: "SetCommInit" or "ResetAll"
    int iFailures;         // attempts that fail before one succeeds
    const char* sBar;      // the initializing window's bar at each attempt ("-": not shown)
    const char* sCode;     // in the error box; "" when connected
};
void PrintTo(const tBootRow& r, std::ostream* os) { *os << r.sName; }

class BootTest : public ConsoleTest, public ::testing::WithParamInterface<tBootRow> {};

TEST_P(BootTest, RetriesUntilConnectedOrTheRetryTimeHasPassed) {
    const tBootRow& r = GetParam();
    vSetKey("InitRetryTime_Boot", std::to_string(r.lRetry));
    frmMain& frm = load();
    scripted::Unit& u = scripted::unit();
    u.ulCommInitMs = r.ulOpenMs;
    u.queued[r.sFailing] = std::deque<int32_t>(r.iFailures, std::string(r.sFailing) == "ResetAll" ? 7 : -1);
    std::string sBar;
    u.onCall = [&](const scripted::Call& c) {
        if (c.name != "SetCommInit") return;
        const frmInitializing* w = frm.initWindow();
        sBar += (sBar.empty() ? "" : " ") + (w ? std::to_string(w->prgRetryInit.value()) + "/" +
                                                     std::to_string(w->prgRetryInit.max())
                                               : std::string("-"));
    };
    frm.Form_Activate();
    EXPECT_EQ(sBar, r.sBar);
    EXPECT_EQ(frm.initWindow(), nullptr);
    const bool booUp = r.sCode[0] == '\0';
    ASSERT_EQ(boxes_.size(), booUp ? 1u : 2u);
    EXPECT_THAT(boxes_.back().text, HasSubstr(booUp ? "Confirm power on of the equipment." : "Initialization error occurred."));
    EXPECT_THAT(boxes_.back().text, HasSubstr(r.sCode));
    EXPECT_EQ(frm.isLoaded(), booUp);
    // Connected: polling every 10 ms; else no polling at all.
    EXPECT_EQ(frm.tmStart->isRunning() ? frm.tmStart->interval() : 0, booUp ? 10 : 0);
}

// With 600 ms per opening the elapsed times are 0, 0.6, ... 3.0 s (not more
// than 3 s: go on; the full bar pauses 300 ms) and 3.9 s (more: give up).
INSTANTIATE_TEST_SUITE_P(
    Attempts, BootTest,
    ::testing::Values(
        tBootRow{"unit answers at once", 10, 0, "SetCommInit", 0, "-", ""},
        tBootRow{"link opens at the third attempt", 10, 1000, "SetCommInit", 2, "- 0/10 1/10", ""},
        tBootRow{"link never opens in 3 s", 3, 600, "SetCommInit", ALL, "- 0/3 1/3 1/3 2/3 2/3 3/3", "(-1)"},
        tBootRow{"reset refused, no retry time: the bar's pause ends the second", 0, 0, "ResetAll", ALL, "- 0/0", "(7)"}));

TEST_F(ConsoleTest, ConnectionEndsIdleWithReadyAllowedAndEveryReportAcknowledged) {
    frmMain& frm = connectIdle();
    EXPECT_THAT(scripted::wire(), ::testing::ElementsAre("> c1", "> ACK", "> c1", "> ACK", "> T1", "> ACK"));
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Select exposure condition and push READY.");
    EXPECT_TRUE(frm.tmStart->enabled());
}

TEST_F(ConsoleTest, CoolingTimeIsAskedOnEveryHundredAndFirstTickUntilZero) {
    frmMain& frm = connectIdle();
    scripted::unit().reports["T1"] = {"T1"};  // one second is still a wait
    scripted::vQueueReport("T30");
    vTicks(1);
    ASSERT_EQ(App.g_lStat, 21);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Cooling Time  Wait for");
    const int n = scripted::iSent("T1");
    for (int iRound = 1; iRound <= 2; ++iRound) {
        vTicks(100);
        EXPECT_EQ(scripted::iSent("T1"), n + iRound - 1);
        vTicks(1);
        EXPECT_EQ(scripted::iSent("T1"), n + iRound);
        EXPECT_EQ(App.g_lStat, 21);
    }
    vSetResLanguage(2);  // the Japanese pattern places the seconds
    frm.vSetStat(21);
    EXPECT_THAT(frm.spnlStat->caption().value_or(""), testing::EndsWith("  残り 1 秒"));
    scripted::vQueueReport("T0");
    vTicks(1);
    EXPECT_EQ(App.g_lStat, 0);
    vTicks(202);
    EXPECT_EQ(scripted::iSent("T1"), n + 2);
}

// --- the X-ray wait watchdog (WaitTime 5000 ms) ---
constexpr uint32_t WRAP = 0;  // the tick counter has wrapped to 5 at this tick

struct tWatchRow {
    const char* sName;
    bool booX1, booXray;          // "X1" reported; the sensor sees the X-ray
    std::vector<uint32_t> steps;  // ms before each tick; the first tick arms the watch
    bool booFires;
};
void PrintTo(const tWatchRow& r, std::ostream* os) { *os << r.sName; }

class WatchdogTest : public ConsoleTest, public ::testing::WithParamInterface<tWatchRow> {};

TEST_P(WatchdogTest, StopsTheExposureOnlyAfterWaitTimeWithoutXray) {
    const tWatchRow& r = GetParam();
    vSetKey("WaitTime", "5000");
    frmMain& frm = readyStanding();
    if (r.booX1) scripted::vQueueReport("X1");
    vTicks(1);
    scripted::unit().bytPictStat = r.booXray ? 1 : 0;
    for (uint32_t ms : r.steps) {
        if (ms == WRAP) clock_.set(5);
        clock_.advance(ms);
        frm.tmStart_Timer();
    }
    EXPECT_EQ(scripted::iSent("x0"), r.booFires ? 1 : 0);
    EXPECT_EQ(frm.isLoaded(), !r.booFires);
    EXPECT_EQ(frm.tmStart->enabled(), !r.booFires);
    EXPECT_EQ(boxes_.back().text == "Error between Sensor and X-ray equipment. Call to your agent.", r.booFires);
}

INSTANTIATE_TEST_SUITE_P(
    Waits, WatchdogTest,
    ::testing::Values(tWatchRow{"5000 ms", true, false, {10, 4990, 10}, false},
                      tWatchRow{"5001 ms", true, false, {10, 4990, 11}, true},
                      tWatchRow{"counter wraps: 5000 ms after", true, false, {10, 4000, WRAP, 4990, 10}, false},
                      tWatchRow{"counter wraps: 5001 ms after", true, false, {10, 4000, WRAP, 4990, 11}, true},
                      tWatchRow{"X-ray began", true, true, {600, 10, 20000}, false},
                      tWatchRow{"no X1", false, false, {10, 60000}, false}));

// --- reconnection ---

TEST_F(ConsoleTest, LostLinkLeavesOnlyCloseThenReconnectsIntoStateOne) {
    vSetKey("InitRetryTime_Timer", "45");
    frmMain& frm = connectIdle();
    frm.vSetStat(10);
    frm.f.m_lLoadFpgaFileFlg = 0;
    scripted::Unit& u = scripted::unit();
    u.recvFail = -2;
    u.queued["SetCommInit"] = {-2};
    vTicks(1);
    ASSERT_NE(frm.initWindow(), nullptr);
    EXPECT_EQ(frm.initWindow()->prgRetryInit.max(), 45);
    EXPECT_TRUE(frm.cmdClose->enabled());
    EXPECT_FALSE(frm.cmdReset->enabled() || frm.cmdStart->enabled() || frm.imgMode[0]->enabled());
    EXPECT_EQ(frm.spnlStat->caption().value_or("?"), "");
    EXPECT_TRUE(frm.tmStart->enabled());

    u.recvFail.reset();
    u.sends.clear();
    u.reports["c1"] = {};
    vTicks(1);
    EXPECT_EQ(App.g_lStat, 1);
    EXPECT_EQ(frm.f.m_lLoadFpgaFileFlg, 1);  // the sensor's program file again
    EXPECT_THAT(scripted::commands(), ::testing::ElementsAre("c1"));
    EXPECT_EQ(frm.initWindow(), nullptr);
    EXPECT_TRUE(frm.tmStart->enabled());
    u.recvFail = -2;  // lost again; Close takes the initializing window along
    u.queued["SetCommInit"] = {-2};
    vTicks(1);
    ASSERT_NE(frm.initWindow(), nullptr);
    EXPECT_TRUE(frm.cmdClose->click());
    EXPECT_EQ(frm.initWindow(), nullptr);
}

// InitRetryTime_Timer 2 s. 995 ms per opening: 0.995 s, 2.000 s (not more
// than 2 s: go on), 3.305 s; 996 ms: 0.996 s, 2.002 s (give up).
class ReconnectTest : public ConsoleTest, public ::testing::WithParamInterface<std::pair<uint32_t, int>> {};

TEST_P(ReconnectTest, GivesUpOnceTheRetryTimeHasPassed) {
    vSetKey("InitRetryTime_Timer", "2");
    frmMain& frm = connectIdle();
    scripted::Unit& u = scripted::unit();
    u.recvFail = -2;
    u.queued["SetCommInit"] = std::deque<int32_t>(10, -2);
    u.ulCommInitMs = GetParam().first;
    for (int i = 0; i < 10 && frm.isLoaded(); ++i) vTicks(1);
    EXPECT_EQ(scripted::iCalls("SetCommInit") - 1, GetParam().second);
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_EQ(frm.initWindow(), nullptr);
    EXPECT_FALSE(frm.tmStart->enabled());
    EXPECT_THAT(boxes_.back().text, HasSubstr("Initialization error occurred."));
    EXPECT_THAT(boxes_.back().text, HasSubstr("(-2)"));
}

INSTANTIATE_TEST_SUITE_P(Limit, ReconnectTest, ::testing::Values(std::make_pair(995u, 3), std::make_pair(996u, 2)));

}  // namespace
