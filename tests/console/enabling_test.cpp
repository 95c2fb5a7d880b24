// The operator controls by console state, the lock during a transaction and
// the looks of READY.
#include <gmock/gmock.h>

#include <QCursor>
#include <QGuiApplication>

#include "app/app_state.h"
#include "tests/console/console_fixture.h"
#include "ui/color.h"
#include "ui/look.h"

namespace {
struct tRow {
    int32_t lStat;
    bool booControls, booReady, booReset, booClose;
};

void PrintTo(const tRow& r, std::ostream* os) { *os << "state " << r.lStat; }

// What the operator can use in each state (READY with a confirmed position).
const tRow ROWS[] = {
    {0, true, true, true, true},     {1, false, false, false, true},  {11, false, false, false, true},
    {16, false, false, false, true}, {20, false, false, false, true}, {101, false, false, false, true},
    {3, false, false, true, true},   {4, false, false, true, true},   {7, false, false, true, true},
    {9, false, false, true, true},   {15, false, false, true, true},  {17, false, false, true, true},
    {18, false, false, true, true},  {19, false, false, true, true},  {21, false, false, true, true},
    {100, false, false, true, true}, {5, false, true, false, true},   {6, false, true, false, true},
    {8, false, true, false, true},   {12, false, false, false, false}, {13, false, false, false, false},
    {14, false, false, false, false},
};

struct tSeen {
    bool booControls, booReady, booReset, booClose;
};

tSeen tSeenOn(const frmMain& frm) {
    return {frm.cmdVoltUpDown[0]->enabled(), frm.cmdStart->enabled(), frm.cmdReset->enabled(),
            frm.cmdClose->enabled()};
}

void vExpectControls(const frmMain& frm, bool booOn) {
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(frm.cmdVoltUpDown[i]->enabled(), booOn);
        EXPECT_EQ(frm.cmdElecUpDown[i]->enabled(), booOn);
        EXPECT_EQ(frm.cmdVoltUpDown[i]->backColor(), booOn ? lColorLight() : ui::vbButtonFace);
        EXPECT_EQ(frm.cmdElecUpDown[i]->backColor(), booOn ? lColorLight() : ui::vbButtonFace);
    }
    for (auto* p : frm.cmdDefVolt) EXPECT_EQ(p->enabled(), booOn);
    for (auto* p : frm.imgMode) EXPECT_EQ(p->enabled(), booOn);
}
}  // namespace

class EnablingTableTest : public ConsoleTest, public ::testing::WithParamInterface<tRow> {};

TEST_P(EnablingTableTest, StateSetsTheControls) {
    const tRow r = GetParam();
    frmMain& frm = load();
    App.g_lMoveKind = 1;
    frm.vSetStat(r.lStat);
    if (r.lStat == 10) return;
    vExpectControls(frm, r.booControls);
    EXPECT_EQ(frm.cmdStart->enabled(), r.booReady);
    EXPECT_EQ(frm.cmdStart->backColor(), r.booReady ? lColorLight() : ui::vbButtonFace);
    EXPECT_EQ(frm.cmdReset->enabled(), r.booReset);
    EXPECT_EQ(frm.cmdClose->enabled(), r.booClose);
}

TEST_P(EnablingTableTest, TestModeAllowsReadyAndReset) {
    const tRow r = GetParam();
    frmMain& frm = load();
    App.g_lTestMode = 1;
    frm.vSetStat(r.lStat);
    const tSeen s = tSeenOn(frm);
    EXPECT_EQ(s.booControls, r.booControls);
    EXPECT_TRUE(s.booReady);
    EXPECT_TRUE(s.booReset);
    EXPECT_EQ(s.booClose, r.booClose);
}

TEST_P(EnablingTableTest, SecondHalfOfTmjKeepsConditionsLocked) {
    const tRow r = GetParam();
    frmMain& frm = load();
    App.g_lMoveKind = 1;
    App.g_lPictHalf = 1;
    frm.vSetStat(r.lStat);
    vExpectControls(frm, false);
    EXPECT_EQ(frm.cmdReset->enabled(), r.booReset);
}

INSTANTIATE_TEST_SUITE_P(Rows, EnablingTableTest, ::testing::ValuesIn(ROWS));

class UnchangedStateTest : public ConsoleTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(UnchangedStateTest, LeavesEveryControlAsItWas) {
    frmMain& frm = load();
    App.g_lMoveKind = 1;
    frm.vSetStat(12);  // all off
    App.g_lTestMode = 1;
    frm.vSetStat(GetParam());
    EXPECT_EQ(App.g_lStat, GetParam());
    vExpectControls(frm, false);
    EXPECT_FALSE(frm.cmdStart->enabled());
    EXPECT_FALSE(frm.cmdReset->enabled());
    EXPECT_FALSE(frm.cmdClose->enabled());
}

INSTANTIATE_TEST_SUITE_P(Others, UnchangedStateTest, ::testing::Values(2, 22, 50, 99, 102, -1));

TEST_F(ConsoleTest, IdleWithoutConfirmedPositionKeepsReadyOff) {
    frmMain& frm = load();
    frm.vSetStat(0);
    vExpectControls(frm, true);
    EXPECT_FALSE(frm.cmdStart->enabled());
    EXPECT_TRUE(frm.cmdReset->enabled());
    EXPECT_TRUE(frm.cmdClose->enabled());
}

TEST_F(ConsoleTest, MovementStatesForgetTheConfirmedPosition) {
    frmMain& frm = load();
    for (int32_t l : {1, 3, 4, 5, 6, 100, 101}) {
        App.g_lMoveKind = 2;
        frm.vSetStat(l);
        EXPECT_EQ(App.g_lMoveKind, 0) << l;
    }
    for (int32_t l : {0, 7, 9, 10, 21}) {
        App.g_lMoveKind = 2;
        frm.vSetStat(l);
        EXPECT_EQ(App.g_lMoveKind, 2) << l;
    }
}

TEST_F(ConsoleTest, ExposureRunningLightsReadyButLocksItsFrame) {
    frmMain& frm = load();
    frm.vSetStat(10);
    EXPECT_TRUE(frm.cmdStart->enabled());
    EXPECT_EQ(frm.cmdStart->backColor(), ui::RGB(75, 176, 161));
    EXPECT_FALSE(frm.Frame1->enabled());
    EXPECT_FALSE(frm.cmdStart->booReachable());
    vExpectControls(frm, false);
    EXPECT_TRUE(frm.cmdReset->enabled());
}

TEST_F(ConsoleTest, ModePicturesFollowTheUnitPosition) {
    frmMain& frm = load();
    App.g_lMoveKind = 1;
    frm.f.m_lUnitPos = 0;
    frm.vSetStat(0);
    for (auto* p : frm.imgMode) EXPECT_FALSE(p->enabled());
    // At the cephalometric position the panoramic pictures keep what they had.
    frm.f.m_lUnitPos = 2;
    frm.vSetStat(0);
    for (auto* p : frm.imgMode) EXPECT_FALSE(p->enabled());
    frm.f.m_lUnitPos = 3;
    frm.vSetStat(0);
    for (auto* p : frm.imgMode) EXPECT_TRUE(p->enabled());
    frm.f.m_lUnitPos = 2;
    frm.vSetStat(1);
    for (auto* p : frm.imgMode) EXPECT_TRUE(p->enabled());
}

TEST_F(ConsoleTest, TransactionLockDisablesEverythingAndShowsHourglass) {
    frmMain& frm = load();
    App.g_lMoveKind = 1;
    frm.vSetStat(0);
    frm.voi_btEnabledSet(false);
    vExpectControls(frm, false);
    EXPECT_FALSE(frm.cmdStart->enabled());
    EXPECT_FALSE(frm.cmdReset->enabled());
    EXPECT_FALSE(frm.cmdClose->enabled());
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    frm.voi_btEnabledSet(true);  // only the pointer comes back
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    vExpectControls(frm, false);
    EXPECT_FALSE(frm.cmdClose->enabled());
}

TEST_F(ConsoleTest, TransactionLockLeavesLitReadyOfRunningExposure) {
    frmMain& frm = load();
    frm.vSetStat(10);
    frm.voi_btEnabledSet(false);
    EXPECT_TRUE(frm.cmdStart->enabled());
    EXPECT_EQ(frm.cmdStart->backColor(), ui::RGB(75, 176, 161));
    frm.voi_btEnabledSet(true);
}

TEST_F(ConsoleTest, ReadyButtonLooks) {
    frmMain& frm = load();
    frm.vSetReadyButton(2);
    EXPECT_TRUE(frm.cmdStart->visible());
    EXPECT_TRUE(booShowsPicture(*frm.cmdStart, 12422));
    EXPECT_FALSE(frm.Frame1->enabled());
    EXPECT_FALSE(frm.Animation1->visible());

    frm.vSetReadyButton(1);
    EXPECT_FALSE(frm.cmdStart->visible());
    EXPECT_FALSE(frm.Frame1->enabled());  // unchanged
    EXPECT_EQ(frm.Animation1->left(), frm.cmdStart->left());
    EXPECT_EQ(frm.Animation1->top(), frm.cmdStart->top());

    frm.vSetReadyButton(7);  // no such look: nothing changes
    EXPECT_FALSE(frm.cmdStart->visible());

    frm.vSetReadyButton(0);
    EXPECT_TRUE(frm.cmdStart->visible());
    EXPECT_TRUE(booShowsPicture(*frm.cmdStart, 12421));
    EXPECT_TRUE(frm.Frame1->enabled());
    EXPECT_FALSE(frm.Animation1->visible());
    EXPECT_FALSE(frm.Animation1->isOpen());
}
