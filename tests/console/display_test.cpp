// What the operator sees per console state: the status panel's text and
// look, and which controls may be used.

#include "app/app_state.h"
#include "tests/support/console_fixture.h"
#include "ui/color.h"
#include "ui/look.h"

namespace {
enum tLook { NORMAL, ALERT, COOLING, KEPT };

struct tTextRow {
    int32_t lStat, lMoveKind, lUnitPos, lDefMode, lErrNo, lCoolTime;
    bool booTransfer;
    int32_t lPictHalf;
    const char* sText;
    tLook look;
};
void PrintTo(const tTextRow& r, std::ostream* os) { *os << "state " << r.lStat << ": " << r.sText; }

class StatusTextTest : public ConsoleTest, public ::testing::WithParamInterface<tTextRow> {};

TEST_P(StatusTextTest, ShowsTheStatesTextInItsLook) {
    const tTextRow& r = GetParam();
    vSetKey("DefMode", std::to_string(r.lDefMode));
    frmMain& frm = load();
    frm.spnlStat->setCaption("before");
    frm.spnlStat->setLook(ui::PanelLook::Alert);
    App.g_lMoveKind = r.lMoveKind;
    App.g_lDefMode = r.lDefMode;
    App.g_lPictHalf = r.lPictHalf;
    frm.f.m_lUnitPos = r.lUnitPos;
    frm.f.m_lErrNo = r.lErrNo;
    frm.f.m_lCoolTime = r.lCoolTime;
    frm.f.m_booTransfer = r.booTransfer;
    frm.vSetStat(r.lStat);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), r.look == KEPT ? "before" : r.sText);
    if (r.look == NORMAL || r.look == ALERT) {
        EXPECT_EQ(frm.spnlStat->look(), r.look == ALERT ? ui::PanelLook::Alert : ui::PanelLook::Normal);
        EXPECT_EQ(frm.spnlStat->foreColor(), r.look == ALERT ? ui::RGB(255, 128, 30) : ui::RGB(0, 0, 0));
    }
    if (r.look == COOLING) {
        EXPECT_EQ(frm.spnlStat->look(), ui::PanelLook::Cooling);
    }
    // The same text again is not written again: a look given meanwhile stays.
    frm.spnlStat->setLook(ui::PanelLook::Cooling);
    frm.vSetStat(r.lStat);
    if (r.look == NORMAL) {
        EXPECT_EQ(frm.spnlStat->look(), ui::PanelLook::Cooling);
    }
}

const char* const SELECT = "Select exposure condition and push READY.";
const char* const NOT_AT_ORIGIN = "Equipment does not exist at origin position. Push RESET.";
const char* const NOT_CEPHALO = "Equipment is not in Cephalo position. Push RESET.";
const char* const TRANSFER = "Data is being transferred now. Don't turn off power supply of equipment.";

INSTANTIATE_TEST_SUITE_P(
    States, StatusTextTest,
    ::testing::Values(
        tTextRow{0, 1, 1, 0, 0, 0, false, 0, SELECT, NORMAL}, tTextRow{0, 3, 2, 0, 0, 0, false, 0, SELECT, NORMAL},
        tTextRow{0, 0, 1, 0, 0, 0, false, 0, NOT_AT_ORIGIN, NORMAL},
        tTextRow{0, 0, 2, 0, 0, 0, false, 0, NOT_CEPHALO, NORMAL},
        tTextRow{0, 0, 3, 1, 0, 0, false, 0, NOT_AT_ORIGIN, NORMAL},
        tTextRow{0, 0, 3, 5, 0, 0, false, 0, NOT_CEPHALO, NORMAL},
        tTextRow{1, 0, 1, 0, 0, 0, false, 0, "Status of the equipment is being confirmed now.", NORMAL},
        tTextRow{3, 0, 1, 0, 0, 0, false, 0, "Equipment is moving to origin position now.", NORMAL},
        tTextRow{4, 0, 1, 0, 0, 0, false, 0, "Equipment is turning to Cephalo position.", NORMAL},
        tTextRow{5, 0, 1, 0, 0, 0, false, 0, "Push READY button.", NORMAL},
        tTextRow{6, 0, 1, 0, 0, 0, false, 0, "Push READY button.", NORMAL},
        tTextRow{7, 0, 1, 0, 0, 0, false, 0, "Sensor is being initialized now.", NORMAL},
        tTextRow{9, 0, 1, 0, 5, 0, false, 0, "X-ray SW Error", NORMAL},
        tTextRow{9, 0, 1, 0, 21, 0, false, 0, "Not defined error e21", NORMAL},
        tTextRow{10, 0, 1, 0, 0, 0, false, 0, "Start exposure.", NORMAL},
        tTextRow{11, 0, 1, 0, 0, 0, false, 0, "Under exposure.", ALERT},
        tTextRow{11, 0, 1, 2, 0, 0, false, 0, "Under exposure. (1)", ALERT},
        tTextRow{11, 0, 1, 2, 0, 0, false, 1, "Under exposure. (2)", ALERT},
        tTextRow{11, 0, 1, 0, 0, 0, true, 0, TRANSFER, NORMAL}, tTextRow{12, 0, 1, 0, 0, 0, false, 0, TRANSFER, NORMAL},
        tTextRow{13, 0, 1, 0, 0, 0, false, 0, "Image is being processed now.", NORMAL},
        tTextRow{15, 0, 1, 0, 0, 0, false, 0, "Waiting for finish of READY. ", NORMAL},
        tTextRow{16, 0, 1, 0, 0, 0, false, 0, "Waiting for complete of movement.", NORMAL},
        tTextRow{17, 0, 1, 0, 0, 0, false, 0, "Movement has completed.", NORMAL},
        tTextRow{18, 0, 1, 0, 0, 0, false, 0, "Movement stopped.", NORMAL},
        tTextRow{21, 0, 1, 0, 0, 1, false, 0, "Cooling Time  Wait for", COOLING},
        tTextRow{21, 0, 1, 0, 0, 0, false, 0, "", KEPT}, tTextRow{8, 0, 1, 0, 0, 0, false, 0, "", KEPT},
        tTextRow{19, 0, 1, 0, 0, 0, false, 0, "", KEPT}));

// --- the controls each state allows ---
struct tCtrlRow {
    std::vector<int32_t> states;
    bool booControls, booReady, booReset, booClose;
};

class EnablingTest : public ConsoleTest, public ::testing::WithParamInterface<tCtrlRow> {
protected:
    // Controls, READY, RESET, Close as enabled now; the other controls and
    // the arrows' colour go with the first.
    std::vector<bool> seen(const frmMain& f) {
        const bool booOn = f.cmdVoltUpDown[0]->enabled();
        const ui::Control* others[] = {f.cmdVoltUpDown[1], f.cmdElecUpDown[0], f.cmdDefVolt[2], f.imgMode[2]};
        for (const ui::Control* c : others) EXPECT_EQ(c->enabled(), booOn) << c->name();
        EXPECT_EQ(f.cmdElecUpDown[1]->backColor(), booOn ? lColorLight() : ui::vbButtonFace);
        return {booOn, f.cmdStart->enabled(), f.cmdReset->enabled(), f.cmdClose->enabled()};
    }
};

TEST_P(EnablingTest, StateSetsTheControlsAlsoInTestModeAndBetweenTheHalves) {
    const tCtrlRow& r = GetParam();
    frmMain& frm = load();
    for (int32_t l : r.states) {
        App.g_lMoveKind = 1;
        App.g_lTestMode = 0;
        App.g_lPictHalf = 0;
        frm.vSetStat(l);
        EXPECT_EQ(seen(frm), (std::vector<bool>{r.booControls, r.booReady, r.booReset, r.booClose})) << l;
        App.g_lTestMode = 1;  // the service operator may always use READY and RESET
        frm.vSetStat(l);
        EXPECT_EQ(seen(frm), (std::vector<bool>{r.booControls, true, true, r.booClose})) << l;
        App.g_lTestMode = 0;
        App.g_lPictHalf = 1;  // between the TMJ halves the conditions stay
        frm.vSetStat(l);
        EXPECT_EQ(seen(frm), (std::vector<bool>{false, r.booReady, r.booReset, r.booClose})) << l;
    }
}

INSTANTIATE_TEST_SUITE_P(States, EnablingTest,
                         ::testing::Values(tCtrlRow{{0}, true, true, true, true},
                                           tCtrlRow{{1, 11, 16, 20, 101}, false, false, false, true},
                                           tCtrlRow{{3, 4, 7, 9, 15, 17, 18, 19, 21, 100}, false, false, true, true},
                                           tCtrlRow{{5, 6, 8}, false, true, false, true},
                                           tCtrlRow{{12, 13, 14}, false, false, false, false}));

TEST_F(ConsoleTest, ControlsRulesBeyondTheTable) {
    frmMain& frm = load();
    frm.vSetStat(0);  // no position confirmed yet: READY stays off
    EXPECT_FALSE(frm.cmdStart->enabled());
    EXPECT_TRUE(frm.cmdVoltUpDown[0]->enabled() && frm.cmdReset->enabled());
    frm.vSetStat(10);  // READY lit while the exposure runs, but out of reach
    EXPECT_TRUE(frm.cmdStart->enabled());
    EXPECT_EQ(frm.cmdStart->backColor(), ui::RGB(75, 176, 161));
    EXPECT_FALSE(frm.cmdStart->booReachable());
    EXPECT_TRUE(frm.cmdReset->enabled());
    frm.voi_btEnabledSet(false);  // a transaction locks all but the lit READY
    EXPECT_TRUE(frm.cmdStart->enabled());
    EXPECT_FALSE(frm.cmdReset->enabled() || frm.cmdClose->enabled() || frm.imgMode[1]->enabled());
    frm.voi_btEnabledSet(true);  // only the pointer comes back
    EXPECT_FALSE(frm.cmdClose->enabled());
    for (int32_t l : {2, 22, 99, 102, -1}) {  // unknown states change nothing
        frm.vSetStat(l);
        EXPECT_FALSE(frm.cmdClose->enabled()) << l;
    }
    // The mode pictures follow the state only with the unit on their side
    // (or at an unknown place); with no position they are all off.
    for (int32_t lPos : {0, 2, 3}) {
        frm.f.m_lUnitPos = lPos;
        frm.vSetStat(0);
        EXPECT_EQ(frm.imgMode[0]->enabled(), lPos == 3) << lPos;
    }
}

}  // namespace
