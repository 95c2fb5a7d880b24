// The connection loop of the first activation and the reconnection of the
// polling tick after a lost link.
#include <gmock/gmock.h>

#include <QApplication>
#include <QEvent>

#include "app/app_state.h"
#include "tests/console/console_fixture.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
// Sees every initializing window that goes on screen and the range its bar
// had at that moment.
class InitWindowSpy : public QObject {
public:
    InitWindowSpy() { qApp->installEventFilter(this); }
    ~InitWindowSpy() override { qApp->removeEventFilter(this); }
    int iShown = 0;
    int32_t lMin = -1, lMax = -1;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            if (auto* w = dynamic_cast<frmInitializing*>(o)) {
                ++iShown;
                lMin = w->prgRetryInit.min();
                lMax = w->prgRetryInit.max();
            }
        }
        return false;
    }
};

const char* const INIT_ERROR = "Initialization error occurred.";
}  // namespace

TEST_F(ConsoleTest, UnitAnsweringAtOnceConnectsWithoutInitializingWindow) {
    frmMain& frm = load();
    fake::unit().replies["c1"] = {"s1"};
    InitWindowSpy spy;
    frm.Form_Activate();

    EXPECT_EQ(spy.iShown, 0);
    EXPECT_THAT(boxTexts(), ElementsAre("Confirm power on of the equipment."));
    EXPECT_THAT(fake::unit().sent, ElementsAre("c1"));
    EXPECT_EQ(fake::unit().calls["ResetAll"], 1);
    EXPECT_EQ(fake::unit().calls["SetDeviceFree"], 0);
    EXPECT_EQ(App.g_lStat, 1);
    EXPECT_EQ(frm.tmStart->interval(), 10);
    EXPECT_TRUE(frm.tmStart->enabled());
    EXPECT_TRUE(frm.isLoaded());
}

TEST_F(ConsoleTest, SecondActivationDoesNothing) {
    frmMain& frm = load();
    frm.Form_Activate();
    const size_t nSent = fake::unit().sent.size();
    frm.Form_Activate();
    EXPECT_EQ(fake::unit().sent.size(), nSent);
    EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(ConsoleTest, BootRetryZeroAndSilentUnitGivesUpAfterSecondAttempt) {
    // Creating the window takes no time on this clock: the first pass sees
    // 0 ms elapsed, the full bar's pause makes the second pass give up.
    frmMain& frm = load();
    fake::unit().booAck = false;
    InitWindowSpy spy;
    frm.Form_Activate();

    EXPECT_EQ(fake::unit().calls["SetCommInit"], 2);
    EXPECT_EQ(fake::iSentCount("c1"), 8);  // four sends per attempt
    EXPECT_EQ(fake::unit().calls["SetDeviceFree"], 1 + 1);  // between attempts, and at close
    EXPECT_EQ(spy.iShown, 1);
    EXPECT_EQ(spy.lMin, 0);
    EXPECT_EQ(spy.lMax, 0);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_THAT(boxes_[1].text, HasSubstr(INIT_ERROR));
    EXPECT_THAT(boxes_[1].text, HasSubstr("(10003)"));
    EXPECT_EQ(frm.initWindow(), nullptr);
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_FALSE(frm.tmStart->enabled());
}

TEST_F(ConsoleTest, BootRetryCountsSecondsOnTheBarThenGivesUpWithLastCode) {
    vSetKey("InitRetryTime_Boot", "3");
    frmMain& frm = load();
    fake::Unit& u = fake::unit();
    u.commInitResults = {-1, -1, -1, -1, -1, -1, -1, -1};
    u.ulCommInitMs = 1000;  // each attempt waits a second for the link
    std::vector<int32_t> bar;
    u.onCommInit = [&] {
        if (frm.initWindow() != nullptr) bar.push_back(frm.initWindow()->prgRetryInit.value());
    };
    InitWindowSpy spy;
    frm.Form_Activate();

    // Attempts end at 0, 1, 2, 3 s (full bar, 300 ms pause) and 4.3 s > 3 s.
    EXPECT_EQ(u.calls["SetCommInit"], 5);
    EXPECT_THAT(bar, ElementsAre(0, 1, 2, 3));
    EXPECT_EQ(spy.lMax, 3);
    EXPECT_EQ(u.sent.size(), 0u);  // the link never opened: no "c1"
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_THAT(boxes_[1].text, HasSubstr("(-1)"));
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(ConsoleTest, BootRetrySucceedsOnThirdAttempt) {
    vSetKey("InitRetryTime_Boot", "10");
    frmMain& frm = load();
    fake::unit().commInitResults = {-1, -1};
    fake::unit().ulCommInitMs = 1000;
    InitWindowSpy spy;
    frm.Form_Activate();

    EXPECT_EQ(fake::unit().calls["SetCommInit"], 3);
    EXPECT_EQ(spy.iShown, 1);
    EXPECT_EQ(spy.lMax, 10);
    EXPECT_EQ(frm.initWindow(), nullptr);  // gone once connected
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(App.g_lStat, 1);
    EXPECT_TRUE(frm.tmStart->enabled());
    EXPECT_TRUE(frm.isLoaded());
}

TEST_F(ConsoleTest, FailedResetCountsAsFailedAttempt) {
    frmMain& frm = load();
    fake::unit().lResetAllResult = 7;
    frm.Form_Activate();
    EXPECT_EQ(fake::unit().sent.size(), 0u);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_THAT(boxes_[1].text, HasSubstr("(7)"));
}

TEST_F(ConsoleTest, LostLinkStartsReconnectionWithOnlyCloseEnabled) {
    frmMain& frm = connectIdle();
    fake::Unit& u = fake::unit();
    u.booLinkLost = true;
    u.commInitResults = {-2};
    InitWindowSpy spy;
    vTicks(1);

    EXPECT_TRUE(App.g_booLinkErr);
    EXPECT_TRUE(frm.f.m_tPoll.booReconnect);
    EXPECT_EQ(spy.iShown, 1);
    EXPECT_EQ(spy.lMax, 60);
    ASSERT_NE(frm.initWindow(), nullptr);
    EXPECT_TRUE(frm.cmdClose->enabled());
    EXPECT_FALSE(frm.cmdReset->enabled());
    EXPECT_FALSE(frm.cmdStart->enabled());
    EXPECT_FALSE(frm.imgMode[0]->enabled());
    EXPECT_FALSE(frm.cmdVoltUpDown[0]->enabled());
    EXPECT_EQ(frm.spnlStat->caption().value_or("?"), "");
    EXPECT_TRUE(frm.tmStart->enabled());  // the next tick tries again
}

TEST_F(ConsoleTest, ReconnectionInExposureLeavesStateOneAndSensorToReload) {
    frmMain& frm = connectIdle();
    frm.vSetStat(10);
    frm.f.m_lLoadFpgaFileFlg = 0;
    fake::Unit& u = fake::unit();
    u.booLinkLost = true;
    u.commInitResults = {-2};
    vTicks(1);  // the receive fails; the first attempt fails too
    ASSERT_TRUE(App.g_booLinkErr);
    EXPECT_EQ(u.calls["SetCommInit"], 2);

    u.booLinkLost = false;
    u.sent.clear();
    vTicks(1);
    EXPECT_FALSE(App.g_booLinkErr);
    EXPECT_FALSE(frm.f.m_tPoll.booReconnect);
    EXPECT_EQ(App.g_lStat, 1);
    EXPECT_EQ(frm.f.m_lLoadFpgaFileFlg, 1);
    EXPECT_THAT(u.sent, ElementsAre("c1"));
    EXPECT_EQ(frm.initWindow(), nullptr);
    EXPECT_TRUE(frm.tmStart->enabled());
    EXPECT_TRUE(frm.isLoaded());
}

TEST_F(ConsoleTest, ReconnectionGivesUpAfterRetryTimeWithLastCode) {
    vSetKey("InitRetryTime_Timer", "2");
    frmMain& frm = connectIdle();
    fake::Unit& u = fake::unit();
    u.booLinkLost = true;
    u.commInitResults = {-2, -2, -2, -2, -2};
    u.ulCommInitMs = 1000;
    const size_t nBoxes = boxes_.size();
    for (int i = 0; i < 10 && frm.isLoaded(); ++i) vTicks(1);

    // 1.0 s after the start: go on; 2.01 s: more than 2 s, give up.
    EXPECT_EQ(u.calls["SetCommInit"], 1 + 2);
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_EQ(frm.initWindow(), nullptr);
    ASSERT_EQ(boxes_.size(), nBoxes + 1);
    EXPECT_THAT(boxes_.back().text, HasSubstr(INIT_ERROR));
    EXPECT_THAT(boxes_.back().text, HasSubstr("(-2)"));
    EXPECT_FALSE(frm.tmStart->enabled());
}
