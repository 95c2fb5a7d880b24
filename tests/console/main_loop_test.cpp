// The polling tick: the cooling-time request, the X-ray wait watchdog and
// the capture watch to the end of the exposure.
#include <gmock/gmock.h>

#include <QDir>

#include "app/app_state.h"
#include "app/messages.h"
#include "resources/string_table.h"
#include "tests/console/console_fixture.h"

using ::testing::ElementsAre;

namespace {
// Reports the unit sends on its own, picked up by the next tick.
void vReport(const std::string& s) { fake::vQueueReport(s); }
}  // namespace

TEST_F(ConsoleTest, ConnectionRoadEndsIdleWithReadyAllowed) {
    frmMain& frm = connectIdle();
    EXPECT_THAT(fake::unit().sent, ElementsAre("c1", "c1", "T1"));
    EXPECT_EQ(fake::unit().calls["SetSensMduInit"], 1);
    EXPECT_EQ(App.g_lStat, 0);
    EXPECT_EQ(App.g_lMoveKind, 1);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Select exposure condition and push READY.");
    EXPECT_TRUE(frm.cmdStart->enabled());
    // Every report was acknowledged.
    EXPECT_EQ(fake::unit().sConsoleReplies, std::string(3, '\x06'));
}

TEST_F(ConsoleTest, CoolingTimeIsAskedOnEveryHundredAndFirstTick) {
    frmMain& frm = connectIdle();
    fake::unit().replies["T1"] = {"T29"};
    vReport("T30");
    vTicks(1);
    ASSERT_EQ(App.g_lStat, 21);
    EXPECT_EQ(frm.f.m_lCoolTime, 30);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Cooling Time  Wait for");
    EXPECT_EQ(frm.spnlStat->look(), ui::PanelLook::Cooling);

    const int nBefore = fake::iSentCount("T1");
    vTicks(100);
    EXPECT_EQ(fake::iSentCount("T1"), nBefore);
    vTicks(1);
    EXPECT_EQ(fake::iSentCount("T1"), nBefore + 1);
    EXPECT_EQ(frm.f.m_lCoolTime, 29);  // the unit's answer came in the same tick
    vTicks(100);
    EXPECT_EQ(fake::iSentCount("T1"), nBefore + 1);
    vTicks(1);
    EXPECT_EQ(fake::iSentCount("T1"), nBefore + 2);

    vReport("T0");
    vTicks(1);
    EXPECT_EQ(App.g_lStat, 0);
    vTicks(200);
    EXPECT_EQ(fake::iSentCount("T1"), nBefore + 2);
}

TEST_F(ConsoleTest, CoolingWaitIsEndedInJapaneseWithTheNumberInItsPattern) {
    vSetResLanguage(2);
    frmMain& frm = connectIdle();
    vReport("T45");
    vTicks(1);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), sGetResText(11498) + "  残り 45 秒");
}

class WatchdogTest : public ConsoleTest {
protected:
    // READY stands ("d1") and the hand switch was pressed ("X1").
    frmMain& armed() {
        frmMain& frm = readyStanding();
        vReport("X1");
        vTicks(1);
        EXPECT_EQ(frm.f.m_lXWaitFlag, 1);
        fake::unit().sent.clear();
        return frm;
    }
    void vStep(uint32_t ms) {
        clock_.advance(ms);
        frm_->tmStart_Timer();
    }
};

TEST_F(WatchdogTest, FiresAfterWaitTimeWithoutXray) {
    frmMain& frm = armed();
    vStep(10);  // the watch starts counting here
    vStep(4990);
    vStep(10);  // 5000 ms: not yet
    EXPECT_TRUE(frm.isLoaded());
    EXPECT_TRUE(fake::unit().sent.empty());
    const size_t nBoxes = boxes_.size();
    vStep(1);  // 5001 ms
    EXPECT_THAT(fake::unit().sent, ElementsAre("x0"));
    ASSERT_EQ(boxes_.size(), nBoxes + 1);
    EXPECT_EQ(boxes_.back().text, "Error between Sensor and X-ray equipment. Call to your agent.");
    EXPECT_EQ(App.g_lPictNo, 0);
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_FALSE(frm.tmStart->enabled());
}

TEST_F(WatchdogTest, XrayBeginningDisarmsIt) {
    frmMain& frm = armed();
    fake::unit().bytPictStat = 1;
    vStep(600);  // the capture watch sees the X-ray: state 11
    ASSERT_EQ(App.g_lStat, 11);
    vStep(10);
    EXPECT_EQ(frm.f.m_lXWaitFlag, 0);
    EXPECT_FALSE(frm.f.m_tPoll.booXWaitArmed);
    vStep(20000);
    EXPECT_TRUE(frm.isLoaded());
    EXPECT_EQ(fake::iSentCount("x0"), 0);
}

TEST_F(WatchdogTest, TickCountWrapRestartsTheWait) {
    frmMain& frm = armed();
    vStep(10);
    vStep(4000);
    clock_.set(5);  // the counter wrapped
    vStep(10);
    vStep(4990);
    vStep(10);
    EXPECT_TRUE(frm.isLoaded());
    vStep(1);
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(ConsoleTest, WatchdogStaysQuietWithoutX1) {
    frmMain& frm = readyStanding();
    clock_.advance(60000);
    vTicks(1);
    EXPECT_TRUE(frm.isLoaded());
    EXPECT_EQ(App.g_lStat, 10);
}

TEST_F(ConsoleTest, LastImageEndsTheRunWithTheBitmap) {
    frmMain& frm = readyStanding();
    const std::string sWork = frm.f.m_sWorkPath;
    ASSERT_TRUE(QDir(QString::fromStdString(sWork)).exists());
    fake::unit().bytPictStat = 1;
    clock_.advance(600);
    vTicks(1);
    ASSERT_EQ(App.g_lStat, 11);
    fake::unit().bytPictStat = 0;
    clock_.advance(600);
    vTicks(1);

    EXPECT_EQ(fake::unit().calls["GetImageDataEx"], 1);
    EXPECT_EQ(fake::unit().sLastBitmap, "image.bmp");
    EXPECT_EQ(App.g_lPictNo, 0);
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_FALSE(QDir(QString::fromStdString(sWork)).exists());
    // The library was busy processing the image: it is not reset at close.
    EXPECT_EQ(App.g_lStat, 13);
    EXPECT_EQ(fake::unit().calls["SetDeviceFree"], 1);
}

TEST_F(ConsoleTest, FailedCapturePollEndsTheRunWithoutRetrieval) {
    frmMain& frm = readyStanding();
    fake::unit().lCheckPictResult = -95;
    clock_.advance(600);
    vTicks(1);
    EXPECT_EQ(boxes_.back().text.substr(0, 47), "Exposure Condition Confirmation Error occurred.");
    EXPECT_EQ(fake::unit().calls["GetImageDataEx"], 0);
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(ConsoleTest, UnknownAnswerOnlyChangesThePanel) {
    frmMain& frm = connectIdle();
    vReport("Q7");
    vTicks(1);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), "Unclear Command was received.");
    EXPECT_EQ(App.g_lStat, 0);
    EXPECT_TRUE(frm.tmStart->enabled());
}
