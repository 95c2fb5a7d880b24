// Mode selection, tube voltage and current, the patient sizes and the keys
// they write into the settings file.
#include <gmock/gmock.h>

#include "app/app_state.h"
#include "tests/console/console_fixture.h"
#include "ui/look.h"

using ::testing::ElementsAre;

namespace {
// The display shows the value: tens digit (empty below 10) and units digit.
bool booShowsDigits(const ui::PictureBox& h, const ui::PictureBox& l, int32_t lValue) {
    const int32_t lTens = lValue / 10;
    const bool booTens = lTens > 0 ? booShowsPicture(h, 12450 + lTens) : h.picture().isNull();
    return booTens && booShowsPicture(l, 12450 + lValue % 10);
}

bool booShowsVolt(const frmMain& frm, int32_t l) { return booShowsDigits(*frm.picVoltH, *frm.picVoltL, l); }
bool booShowsElec(const frmMain& frm, int32_t l) { return booShowsDigits(*frm.picElecH, *frm.picElecL, l); }
}  // namespace

// --- mode ---

TEST_F(ConsoleTest, ModePressStoresModeAndBringsBackItsGroupsValues) {
    frmMain& frm = load();
    frm.imgMode[1]->click();
    EXPECT_EQ(frm.f.m_lModeIdx, 1);
    EXPECT_EQ(App.g_lDefMode, 1);
    EXPECT_EQ(sIniValue("DefMode"), "1");
    EXPECT_EQ(App.g_lVolt, 65);
    EXPECT_EQ(App.g_lElec, 2);
    EXPECT_TRUE(booShowsVolt(frm, 65));
    EXPECT_TRUE(booShowsElec(frm, 2));
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[0], 15204));
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[1], 15207));
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[2], 12411));
    EXPECT_EQ(App.g_lStat, 0);
    EXPECT_TRUE(fake::unit().sent.empty());

    frm.imgMode_Click(2);
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[1], 15206));
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[2], 12412));
    EXPECT_EQ(App.g_lVolt, 71);
    EXPECT_EQ(App.g_lElec, 6);
}

TEST_F(ConsoleTest, PressingTheSelectedModeAgainRepeatsTheSelection) {
    frmMain& frm = load();
    frm.imgMode_Click(0);
    frm.cmdVoltUpDown_Click(0);  // 71 kV, stored for group 0
    App.g_lVolt = 77;
    frm.vDispValue(0);
    vWriteIni("DefMode", "9");
    frm.imgMode_Click(0);
    EXPECT_EQ(sIniValue("DefMode"), "0");
    EXPECT_EQ(App.g_lVolt, 71);
}

TEST_F(ConsoleTest, ModePressRestoresTheGroupsRememberedSize) {
    vSetKey("M2_Select", "1");
    frmMain& frm = load();
    frm.imgMode_Click(2);
    EXPECT_EQ(App.g_lVolt, 69);
    EXPECT_EQ(App.g_lElec, 6);
    EXPECT_EQ(frm.cmdDefVolt[1]->tag(), "ON");
    EXPECT_TRUE(booShowsPicture(*frm.cmdDefVolt[1], 12466));
    EXPECT_EQ(sIniValue("M2_Select"), "1");
    // Back to group 0, which remembers no size: its hand-set values.
    frm.imgMode_Click(0);
    EXPECT_EQ(frm.cmdDefVolt[1]->tag(), "OFF");
    EXPECT_EQ(App.g_lVolt, 70);
}

TEST_F(ConsoleTest, ModePressInTestModeWritesOnlyTheSizeSelection) {
    vSetKey("M1_Select", "2");
    frmMain& frm = load();
    frm.vSetDebugVisible(true);
    App.g_lVolt = 0;
    App.g_lElec = 0;
    frm.imgMode_Click(1);
    EXPECT_EQ(frm.f.m_lModeIdx, 1);
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[1], 15207));
    EXPECT_EQ(sIniValue("DefMode"), "0");
    // The remembered size is pressed again and applies its defaults.
    EXPECT_EQ(App.g_lVolt, 62);
    EXPECT_EQ(App.g_lElec, 2);
    EXPECT_EQ(sIniValue("M1_Select"), "2");
}

TEST_F(ConsoleTest, CephalometricModeFromOriginTurnsTheUnitFirst) {
    frmMain& frm = connectIdle();
    fake::unit().sent.clear();
    const size_t nBoxes = boxes_.size();
    frm.imgMode_Click(5);
    ASSERT_EQ(boxes_.size(), nBoxes + 1);
    EXPECT_EQ(boxes_.back().text, "Moving to Cephalo position.");
    EXPECT_THAT(fake::unit().sent, ElementsAre("m1"));
    EXPECT_EQ(App.g_lStat, 4);
    EXPECT_EQ(frm.f.m_lModeIdx, 5);
    EXPECT_EQ(sIniValue("DefMode"), "5");
    // No picture of this window is marked for a cephalometric mode.
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[0], 15204));
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[1], 15206));
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[2], 12411));
}

TEST_F(ConsoleTest, CephalometricModeSendsNothingWithoutConfirmedOriginOrInTestMode) {
    frmMain& frm = load();
    App.g_lMoveKind = 2;
    frm.imgMode_Click(5);
    EXPECT_TRUE(fake::unit().sent.empty());
    EXPECT_EQ(App.g_lStat, 0);

    frm.imgMode_Click(0);
    App.g_lMoveKind = 1;
    App.g_lTestMode = 1;
    frm.imgMode_Click(5);
    EXPECT_TRUE(fake::unit().sent.empty());
}

TEST_F(ConsoleTest, FailedTurnClosesTheConsoleAndStoresNothing) {
    frmMain& frm = connectIdle();
    fake::unit().booAck = false;
    frm.imgMode_Click(5);
    EXPECT_EQ(fake::iSentCount("m1"), 4);
    EXPECT_EQ(boxes_.back().text.substr(0, 43), "Communication with equipment is unavailable");
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_EQ(sIniValue("DefMode"), "0");
}

TEST_F(ConsoleTest, ModeGroupOfIndexesWithoutRecord) {
    frmMain& frm = load();
    for (int32_t l : {-1, 3, 5, 99}) {
        frm.f.m_lModeIdx = l;
        EXPECT_EQ(frm.lModeGroup(), 0) << l;
    }
    frm.f.m_lModeIdx = 2;
    int32_t g = -5;
    frm.lGetModeGroup(g);
    EXPECT_EQ(g, 2);
}

// --- tube voltage and current ---

struct tArrowRow {
    bool booVolt;
    int16_t iIndex;
    int32_t lStart, lEnd;
    bool booStored;
};

void PrintTo(const tArrowRow& r, std::ostream* os) {
    *os << (r.booVolt ? "kV " : "mA ") << r.lStart << (r.iIndex == 0 ? " up" : " down");
}

class ArrowTest : public ConsoleTest, public ::testing::WithParamInterface<tArrowRow> {};

TEST_P(ArrowTest, StepsWithinLimitsAndStoresTheValue) {
    const tArrowRow r = GetParam();
    vSetKey("M0_Select", "0");
    frmMain& frm = load();
    ASSERT_EQ(frm.cmdDefVolt[0]->tag(), "ON");
    int32_t& lValue = r.booVolt ? App.g_lVolt : App.g_lElec;
    lValue = r.lStart;
    if (r.booVolt) {
        frm.cmdVoltUpDown[r.iIndex]->click();
    } else {
        frm.cmdElecUpDown[r.iIndex]->click();
    }
    EXPECT_EQ(lValue, r.lEnd);
    const char* sKey = r.booVolt ? "Volt" : "Elec";
    const char* sGroupKey = r.booVolt ? "M0_Volt" : "M0_Elec";
    const int32_t lFileBefore = r.booVolt ? 70 : 4;
    if (r.booStored) {
        EXPECT_EQ(sIniValue(sKey), std::to_string(r.lEnd));
        EXPECT_EQ(sIniValue(sGroupKey), std::to_string(r.lEnd));
        EXPECT_EQ(r.booVolt ? App.g_tModeCond[0].lVolt : App.g_tModeCond[0].lElec, r.lEnd);
        EXPECT_TRUE(r.booVolt ? booShowsVolt(frm, r.lEnd) : booShowsElec(frm, r.lEnd));
        // The pressed size no longer holds.
        EXPECT_EQ(frm.cmdDefVolt[0]->tag(), "OFF");
        EXPECT_EQ(sIniValue("M0_Select"), "-1");
    } else {
        // A press beyond the limit ends there: nothing shown, stored or released.
        EXPECT_EQ(sIniValue(sKey), std::to_string(lFileBefore));
        EXPECT_EQ(frm.cmdDefVolt[0]->tag(), "ON");
        EXPECT_EQ(sIniValue("M0_Select"), "0");
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, ArrowTest,
                         ::testing::Values(tArrowRow{true, 0, 80, 80, false}, tArrowRow{true, 0, 79, 80, true},
                                           tArrowRow{true, 0, 60, 61, true}, tArrowRow{true, 1, 60, 60, false},
                                           tArrowRow{true, 1, 61, 60, true}, tArrowRow{true, 1, 75, 74, true},
                                           tArrowRow{false, 0, 8, 8, false}, tArrowRow{false, 0, 6, 8, true},
                                           tArrowRow{false, 0, 2, 4, true}, tArrowRow{false, 1, 2, 2, false},
                                           tArrowRow{false, 1, 4, 2, true}, tArrowRow{false, 1, 8, 6, true}));

TEST_F(ConsoleTest, ArrowsInTestModeStartFromZeroAndWriteNoValueKey) {
    frmMain& frm = load();
    frm.vSetDebugVisible(true);
    App.g_lVolt = 0;
    App.g_lElec = 0;
    frm.cmdVoltUpDown_Click(1);
    EXPECT_EQ(App.g_lVolt, 0);
    frm.cmdVoltUpDown_Click(0);
    EXPECT_EQ(App.g_lVolt, 60);
    EXPECT_EQ(App.g_lElec, 2);
    EXPECT_TRUE(booShowsElec(frm, 2));
    EXPECT_TRUE(booShowsVolt(frm, 60));

    App.g_lVolt = 0;
    App.g_lElec = 0;
    frm.cmdElecUpDown_Click(0);
    EXPECT_EQ(App.g_lVolt, 60);
    EXPECT_EQ(App.g_lElec, 2);
    EXPECT_EQ(sIniValue("Volt"), "70");
    EXPECT_EQ(sIniValue("Elec"), "4");
    EXPECT_EQ(sIniValue("M0_Volt"), "70");
    EXPECT_EQ(sIniValue("M0_Select"), "-1");
}

TEST_F(ConsoleTest, CurrentUpBringsZeroVoltageToSixtyOutsideTestModeToo) {
    frmMain& frm = load();
    App.g_lVolt = 0;
    frm.cmdElecUpDown_Click(0);
    EXPECT_EQ(App.g_lVolt, 60);
    EXPECT_TRUE(booShowsVolt(frm, 60));
}

TEST_F(ConsoleTest, DigitDisplay) {
    frmMain& frm = load();
    for (int32_t l : {60, 8, 0, 79}) {
        App.g_lVolt = l;
        frm.vDispValue(0);
        EXPECT_TRUE(booShowsVolt(frm, l)) << l;
        EXPECT_EQ(frm.picVoltH->backColor(), lColorDark());
    }
    App.g_lElec = 8;
    frm.vDispValue(1);
    EXPECT_TRUE(frm.picElecH->picture().isNull());
    EXPECT_TRUE(booShowsPicture(*frm.picElecL, 12458));
}

// --- patient sizes ---

TEST_F(ConsoleTest, SizeButtonAppliesDefaultsWithoutTouchingHandSetValues) {
    frmMain& frm = load();
    frm.cmdDefVolt[0]->click();
    EXPECT_EQ(App.g_lVolt, 76);
    EXPECT_EQ(App.g_lElec, 8);
    EXPECT_TRUE(booShowsVolt(frm, 76));
    EXPECT_EQ(frm.cmdDefVolt[0]->tag(), "ON");
    EXPECT_TRUE(booShowsPicture(*frm.cmdDefVolt[0], 12463));
    EXPECT_EQ(sIniValue("M0_Select"), "0");
    EXPECT_EQ(sIniValue("Volt"), "70");
    EXPECT_EQ(sIniValue("M0_Volt"), "70");
    EXPECT_EQ(App.g_tModeCond[0].lVolt, 70);

    frm.cmdDefVolt_Click(2);
    EXPECT_EQ(App.g_lVolt, 66);
    EXPECT_EQ(frm.cmdDefVolt[0]->tag(), "OFF");
    EXPECT_TRUE(booShowsPicture(*frm.cmdDefVolt[0], 12462));
    EXPECT_TRUE(booShowsPicture(*frm.cmdDefVolt[2], 12469));
    EXPECT_EQ(sIniValue("M0_Select"), "2");
}

TEST_F(ConsoleTest, PressedSizeButtonPressedAgainDoesNothing) {
    frmMain& frm = load();
    frm.cmdDefVolt_Click(1);
    App.g_lVolt = 61;
    vWriteIni("M0_Select", "x");
    frm.cmdDefVolt_Click(1);
    EXPECT_EQ(App.g_lVolt, 61);
    EXPECT_EQ(sIniValue("M0_Select"), "x");
}

class SettingDialogTest : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        vRegisterSettingDialog([this](ui::Form& owner, tSettingSubject& s) {
            ++iShown;
            booTimerDuring = frm_->booTimerEnabled();
            pOwner = &owner;
            subject = s;
            App.g_tModeCond[s.m_lModePos].lVoltDef[s.m_lSizePos] = 61;  // the operator registers 61 kV
        });
    }
    void TearDown() override {
        vRegisterSettingDialog(nullptr);
        ConsoleTest::TearDown();
    }
    void vRightClick(frmMain& frm, int16_t i, int32_t lUpX = 100, int32_t lUpY = 100) {
        frm.cmdDefVolt[i]->fireMouse(true, ui::vbRightButton, 0, 100, 100);
        frm.cmdDefVolt[i]->fireMouse(false, ui::vbRightButton, 0, lUpX, lUpY);
    }
    int iShown = 0;
    bool booTimerDuring = true;
    ui::Form* pOwner = nullptr;
    tSettingSubject subject;
};

TEST_F(SettingDialogTest, RightClickOnPressedSizeOpensItsDefaults) {
    frmMain& frm = connectIdle();
    frm.imgMode_Click(2);
    frm.cmdDefVolt_Click(1);
    vRightClick(frm, 1);
    ASSERT_EQ(iShown, 1);
    EXPECT_EQ(pOwner, &frm);
    EXPECT_EQ(subject.m_lModePos, 2);
    EXPECT_EQ(subject.m_lSizePos, 1);
    EXPECT_FALSE(booTimerDuring);
    EXPECT_TRUE(frm.booTimerEnabled());
    EXPECT_EQ(App.g_lVolt, 61);
    EXPECT_EQ(App.g_lElec, 6);
    EXPECT_TRUE(booShowsVolt(frm, 61));
}

TEST_F(SettingDialogTest, RightClickElsewhereOpensNothing) {
    frmMain& frm = connectIdle();
    frm.cmdDefVolt_Click(0);
    vRightClick(frm, 1);  // not the pressed one
    frm.cmdDefVolt[0]->fireMouse(true, ui::vbLeftButton, 0, 10, 10);
    frm.cmdDefVolt[0]->fireMouse(false, ui::vbLeftButton, 0, 10, 10);
    vRightClick(frm, 0, 100, 5000);  // released outside the button
    frm.cmdDefVolt[0]->fireMouse(true, ui::vbRightButton, 0, 10, 10);
    frm.cmdDefVolt[2]->fireMouse(false, ui::vbRightButton, 0, 10, 10);  // released over another
    frm.vSetStat(1);  // the size buttons are locked
    vRightClick(frm, 0);
    EXPECT_EQ(iShown, 0);
}

TEST_F(SettingDialogTest, RightPressPreparesTheSubjectOnly) {
    frmMain& frm = load();
    frm.imgMode_Click(1);
    frm.cmdDefVolt_Click(2);
    frm.cmdDefVolt_MouseDown(2, ui::vbRightButton, 0, 10, 10);
    EXPECT_EQ(iShown, 0);
    EXPECT_EQ(frm.m_tSetting.m_lModePos, 1);
    EXPECT_EQ(frm.m_tSetting.m_lSizePos, 2);
}
