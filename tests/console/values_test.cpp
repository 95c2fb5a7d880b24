// The exposure the operator chooses: the start-up mode, the mode pictures,
// the kV and mA arrows with their limits, the patient sizes, and the keys
// each writes into the settings file.
#include "app/app_state.h"
#include "tests/support/console_fixture.h"

namespace {
// The displays show kV and mA: tens digit (none below 10) and units digit.
bool booShows(const frmMain& f, int32_t lVolt, int32_t lElec) {
    auto shows = [](const ui::PictureBox& h, const ui::PictureBox& l, int32_t v) {
        return (v >= 10 ? booShowsPicture(h, 12450 + v / 10) : h.picture().isNull()) && booShowsPicture(l, 12450 + v % 10);
    };
    return shows(*f.picVoltH, *f.picVoltL, lVolt) && shows(*f.picElecH, *f.picElecL, lElec);
}

struct tStartRow {
    const char* sDefMode;
    const char* sM2Select;
    int32_t lModeIdx, lVolt, lElec;
    int32_t alPictures[3];  // of the three mode pictures
    int iSizePressed;       // -1 none
};

class StartModeTest : public ConsoleTest, public ::testing::WithParamInterface<tStartRow> {};

TEST_P(StartModeTest, LoadShowsTheStartModeWithItsGroupsValuesAndSize) {
    const tStartRow& r = GetParam();
    vSetKey("DefMode", r.sDefMode);
    vSetKey("M2_Select", r.sM2Select);
    frmMain& frm = load();
    EXPECT_EQ(frm.f.m_lModeIdx, r.lModeIdx);
    EXPECT_EQ(App.g_lVolt, r.lVolt);
    EXPECT_EQ(App.g_lElec, r.lElec);
    EXPECT_TRUE(booShows(frm, r.lVolt, r.lElec));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(booShowsPicture(*frm.imgMode[i], r.alPictures[i])) << i;
        EXPECT_EQ(frm.cmdDefVolt[i]->tag(), i == r.iSizePressed ? "ON" : "OFF") << i;
    }
    EXPECT_EQ(App.g_lStat, 0);
    EXPECT_EQ(frm.spnlStat->caption().value_or("?"), "");
    EXPECT_FALSE(frm.tmStart->isRunning());  // no polling before the unit answers
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StartModeTest,
    ::testing::Values(tStartRow{"1", "-1", 1, 66, 4, {15204, 15207, 12411}, -1},
                      tStartRow{"2", "0", 2, 74, 8, {15204, 15206, 12412}, 0},
                      // A mode without a picture of this window starts as the adult panorama.
                      tStartRow{"4", "-1", 0, 70, 4, {15205, 15206, 12411}, -1},
                      tStartRow{"abc", "-1", -1, 70, 4, {15204, 15206, 12411}, -1}));

TEST_F(ConsoleTest, TemporaryFolderThatTakesNoWorkingFolderStillLoads) {
    setenv("TMPDIR", (sTempFolder() + "/missing/deeper").c_str(), 1);
    EXPECT_EQ(load().f.m_sWorkPath, "");
    EXPECT_EQ(frm_->f.m_BooLoad, -1);
}

// --- mode pictures ---
TEST_F(ConsoleTest, ModePressStoresTheModeAndBringsBackItsGroupsValuesAndSize) {
    vSetKey("M2_Select", "2");
    frmMain& frm = load();
    frm.imgMode[1]->click();
    EXPECT_EQ(sIniValue("DefMode"), "1");
    EXPECT_EQ(App.g_lVolt, 66);
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[0], 15204) && booShowsPicture(*frm.imgMode[1], 15207));
    frm.imgMode[2]->click();  // group 2 remembers its small size
    EXPECT_EQ(App.g_lVolt, 64);
    EXPECT_EQ(App.g_lElec, 4);
    EXPECT_EQ(frm.cmdDefVolt[2]->tag(), "ON");
    EXPECT_EQ(sIniValue("M2_Select"), "2");
    frm.imgMode[0]->click();
    EXPECT_EQ(frm.cmdDefVolt[2]->tag(), "OFF");
    EXPECT_EQ(App.g_lVolt, 70);
    vWriteIni("DefMode", "9");  // the selected mode again repeats it all
    App.g_lVolt = 77;
    frm.imgMode[0]->click();
    EXPECT_EQ(sIniValue("DefMode"), "0");
    EXPECT_EQ(App.g_lVolt, 70);
    EXPECT_EQ(App.g_lStat, 0);
}

TEST_F(ConsoleTest, CephalometricModeTurnsTheUnitOnlyFromTheConfirmedOrigin) {
    frmMain& frm = connectIdle();
    scripted::unit().sends.clear();
    frm.imgMode_Click(5);
    EXPECT_EQ(scripted::commands(), std::vector<std::string>{"m1"});
    EXPECT_EQ(App.g_lStat, 4);
    EXPECT_EQ(sIniValue("DefMode"), "5");
    // Not at the origin, or in test mode: nothing is sent.
    for (const auto& [lMoveKind, lTest] : {std::pair{2, 0}, std::pair{1, 1}}) {
        frm.imgMode_Click(0);
        App.g_lMoveKind = lMoveKind;
        App.g_lTestMode = lTest;
        frm.imgMode_Click(5);
        EXPECT_EQ(scripted::iSent("m1"), 1) << lMoveKind;
    }
}

// --- kV and mA ---
struct tArrowRow {
    bool booVolt;
    int16_t iIndex;  // 0 up, 1 down
    int32_t lStart, lEnd;
    bool booTakes;  // false: beyond the limit, nothing shown, stored or sounded
};
void PrintTo(const tArrowRow& r, std::ostream* os) {
    *os << (r.booVolt ? "kV " : "mA ") << r.lStart << (r.iIndex == 0 ? " up" : " down");
}

class ArrowTest : public ConsoleTest, public ::testing::WithParamInterface<tArrowRow> {};

TEST_P(ArrowTest, StepsWithinTheLimitsStoringTheValueForTheGroup) {
    const tArrowRow& r = GetParam();
    vSetKey("DefMode", "1");
    vSetKey("M1_Select", "0");
    vSetKey("ClickSound", sIniPath());
    frmMain& frm = load();
    sounds_.clear();
    int32_t& lValue = r.booVolt ? App.g_lVolt : App.g_lElec;
    lValue = r.lStart;
    (r.booVolt ? frm.cmdVoltUpDown : frm.cmdElecUpDown)[r.iIndex]->click();
    EXPECT_EQ(lValue, r.lEnd);
    EXPECT_EQ(sounds_.size(), r.booTakes ? 1u : 0u);
    const std::string sKey = r.booVolt ? "Volt" : "Elec";
    const std::string sBefore = r.booVolt ? "70" : "4";
    EXPECT_EQ(sIniValue(sKey), r.booTakes ? std::to_string(r.lEnd) : sBefore);
    EXPECT_EQ(sIniValue("M1_" + sKey), r.booTakes ? std::to_string(r.lEnd) : r.booVolt ? "66" : "4");
    // A hand-set value releases the pressed size.
    EXPECT_EQ(frm.cmdDefVolt[0]->tag(), r.booTakes ? "OFF" : "ON");
    EXPECT_EQ(sIniValue("M1_Select"), r.booTakes ? "-1" : "0");
    if (r.booTakes) {
        EXPECT_TRUE(booShows(frm, App.g_lVolt, App.g_lElec));
        EXPECT_EQ(r.booVolt ? App.g_tModeCond[1].lVolt : App.g_tModeCond[1].lElec, r.lEnd);
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, ArrowTest,
                         ::testing::Values(tArrowRow{true, 0, 80, 80, false}, tArrowRow{true, 0, 79, 80, true},
                                           tArrowRow{true, 0, 60, 61, true}, tArrowRow{true, 1, 60, 60, false},
                                           tArrowRow{true, 1, 61, 60, true}, tArrowRow{true, 1, 75, 74, true},
                                           tArrowRow{false, 0, 8, 8, false}, tArrowRow{false, 0, 6, 8, true},
                                           tArrowRow{false, 0, 2, 4, true}, tArrowRow{false, 1, 2, 2, false},
                                           tArrowRow{false, 1, 4, 2, true}, tArrowRow{false, 1, 8, 6, true}));

TEST_F(ConsoleTest, TestModeWritesOnlySizeKeysAndItsArrowsStartFromZero) {
    vSetKey("M1_Select", "2");
    frmMain& frm = load();
    frm.vSetDebugVisible(true);
    App.g_lVolt = 0;
    frm.imgMode_Click(1);  // the mode is not stored, its remembered size applies
    EXPECT_EQ(sIniValue("DefMode"), "0");
    EXPECT_EQ(App.g_lVolt, 62);
    EXPECT_EQ(sIniValue("M1_Select"), "2");
    App.g_lVolt = 0;
    App.g_lElec = 0;
    frm.cmdVoltUpDown_Click(1);
    EXPECT_EQ(App.g_lVolt, 0);
    frm.cmdVoltUpDown_Click(0);
    EXPECT_EQ(App.g_lVolt, 60);
    EXPECT_EQ(App.g_lElec, 2);
    EXPECT_TRUE(booShows(frm, 60, 2));
    App.g_lVolt = 0;
    frm.cmdElecUpDown_Click(0);  // mA up brings 0 kV to 60 too
    EXPECT_EQ(App.g_lVolt, 60);
    EXPECT_EQ(App.g_lElec, 4);
    EXPECT_EQ(sIniValue("Volt"), "70");
    EXPECT_EQ(sIniValue("Elec"), "4");
    EXPECT_EQ(sIniValue("M1_Volt"), "66");
    EXPECT_EQ(sIniValue("M1_Select"), "-1");
}

TEST_F(ConsoleTest, SizeButtonAppliesItsDefaultsWithoutTouchingTheHandSetValues) {
    frmMain& frm = load();
    frm.cmdDefVolt[0]->click();
    EXPECT_EQ(App.g_lVolt, 76);
    EXPECT_EQ(App.g_lElec, 8);
    EXPECT_TRUE(booShows(frm, 76, 8));
    EXPECT_EQ(sIniValue("M0_Select"), "0");
    frm.cmdDefVolt[2]->click();
    EXPECT_EQ(App.g_lVolt, 66);
    EXPECT_EQ(frm.cmdDefVolt[0]->tag(), "OFF");
    EXPECT_EQ(sIniValue("M0_Select"), "2");
    EXPECT_EQ(sIniValue("Volt"), "70");
    EXPECT_EQ(sIniValue("M0_Volt"), "70");
    EXPECT_EQ(App.g_tModeCond[0].lVolt, 70);
}

}  // namespace
