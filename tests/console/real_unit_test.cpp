// The console's own link and sensor code against our library linked in: the
// embedded virtual unit and sensor run on the test's fake clock, with the
// unit's faults chosen in [ZyrPan2]. What must hold is what the operator
// gets: the states reached, the message shown, the bitmap on disk.
#include <QImage>
#include <algorithm>

#include "tests/console/sim_run.h"

namespace {
using Keys = std::vector<std::pair<std::string, std::string>>;

struct tRealRow {
    const char* sName;
    Keys unitKeys;         // [ZyrPan2]
    int16_t iMode;
    int iReady;            // READY presses, each when idle with READY allowed
    int iResets;           // RESET presses, each when idle (or after an error) without READY
    const char* sLastBox;  // start of the last message; "" none but the power-on notice
    bool booBitmap;
    int32_t lMustSee = -1;  // a state the run must pass through
    int32_t lAnswer = platform::IDYES;
};

void PrintTo(const tRealRow& r, std::ostream* os) { *os << r.sName; }

class RealUnitTest : public SimRunTest {
protected:
    void SetUp() override {
        SimRunTest::SetUp();
        vUseSim("");
        sImage_ = sTempFolder() + "/out/exposure.bmp";
        QDir().mkpath(QString::fromStdString(sTempFolder() + "/out"));
        vSetKey("SaveFileName", " " + sImage_ + " ");  // the blanks are not part of the name
    }

    // Connects and plays the operator until the window closes or time runs out.
    void vRun(int16_t iMode, const Keys& keys, int iReady, int iMaxTicks = 6000) {
        vSetKey("DefMode", std::to_string(iMode));
        for (const auto& [k, v] : keys) vSetKey(k, v, "ZyrPan2");
        frmMain& frm = load();
        frm.Form_Activate();
        frm.tmStart->setInterval(3600 * 1000);
        for (int i = 0; i < iMaxTicks && frm.isLoaded(); ++i) {
            vTicks(1);
            if (states_.empty() || states_.back() != App.g_lStat) states_.push_back(App.g_lStat);
            if (!frm.isLoaded() || (App.g_lStat != 0 && App.g_lStat != 100)) continue;
            if (frm.cmdStart->enabled() && iReady > 0) {
                EXPECT_TRUE(frm.FrameMode->enabled());  // no exposure start holds the modes
                --iReady;
                EXPECT_TRUE(frm.cmdStart->click());
            } else if (!frm.cmdStart->enabled() && frm.cmdReset->click()) {
                ++iResets_;
            }
        }
        iReadyLeft_ = iReady;
    }

    std::string sImage_;
    std::vector<int32_t> states_;  // the states after each tick, repeats left out
    int iResets_ = 0;
    int iReadyLeft_ = 0;
};

class RealUnitRun : public RealUnitTest, public ::testing::WithParamInterface<tRealRow> {};

TEST_P(RealUnitRun, ReachesTheOperatorsOutcome) {
    const tRealRow& r = GetParam();
    lBoxAnswer_ = r.lAnswer;
    vRun(r.iMode, r.unitKeys, r.iReady);
    ASSERT_FALSE(frm_->isLoaded()) << "the run did not end; states " << ::testing::PrintToString(states_);
    EXPECT_EQ(iReadyLeft_, 0);
    EXPECT_EQ(iResets_, r.iResets);
    if (r.lMustSee >= 0) {
        EXPECT_NE(std::find(states_.begin(), states_.end(), r.lMustSee), states_.end()) << ::testing::PrintToString(states_);
    }
    // Beyond the power-on notice, the message that ended the run, if any.
    EXPECT_EQ(boxes_.size() > 1, r.sLastBox[0] != '\0') << boxes_.back().text;
    EXPECT_EQ(boxes_.back().text.rfind(r.sLastBox, 0), 0u) << boxes_.back().text;
    EXPECT_EQ(booImageSaved(), r.booBitmap);
    const QImage img(QString::fromStdString(sImage_));  // read by Qt's own reader
    EXPECT_EQ(!img.isNull(), r.booBitmap);
    EXPECT_TRUE(img.isNull() || (img.isGrayscale() && img.width() >= 100));
    // Of the run only the bitmap is left: the working folder is gone.
    EXPECT_EQ(QDir(QString::fromStdString(sTempFolder())).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{"out"});
}

const Keys HAND_LET_GO = {{"XrayGap", "3000"}, {"HandSwitchHold", "1500"}};

INSTANTIATE_TEST_SUITE_P(
    Runs, RealUnitRun,
    ::testing::Values(
        tRealRow{"adult panorama", {}, 0, 1, 0, "", true, 11},
        tRealRow{"child panorama, frames lost and spoilt both ways",
                 {{"DropEvery", "3"}, {"CorruptEvery", "4"}, {"DropEveryCommand", "4"}, {"CorruptEveryCommand", "3"}}, 1, 1, 0, "", true},
        tRealRow{"TMJ in two halves", {}, 2, 2, 0, "", true, 3},
        tRealRow{"the console's first two frames NAKed", {{"NakFirst", "2"}}, 0, 1, 0, "", true},
        tRealRow{"arm away from its origin at power-on", {{"StartAtOrigin", "0"}}, 0, 1, 1, "", true, 3},
        tRealRow{"error at the exposure command, then RESET", {{"ErrorNo", "5"}, {"ErrorAt", "NP"}}, 0, 2, 1, "", true, 9},
        tRealRow{"tube still cooling at power-on", {{"CoolTimeAtStart", "3"}}, 0, 1, 0, "", true, 21},
        tRealRow{"link lost in the exposure, then RESET and READY again", {{"LoseLinkAfter", "1"}}, 0, 2, 1, "", true},
        tRealRow{"no sensor", {{"SensorPosition", "0"}}, 0, 0, 0, "Sensor is not connected.", false},
        tRealRow{"unit never answers", {{"NeverAck", "1"}}, 0, 0, 0, "Initialization error occurred. (10003)", false},
        tRealRow{"hand switch let go, images dropped", HAND_LET_GO, 2, 1, 0, "Exposure was interrupted.\nDo you generate image?", false, -1, platform::IDNO},
        tRealRow{"image read fails", {{"Fail_GetImageDataEx", "-95"}}, 0, 1, 0, "Image Data Reading Error occurred.", false}));

TEST_F(RealUnitTest, CoolingAnswerAheadOfTheExposureAckIsLostAndTheCommandSentAgain) {
    vRun(0, {{"CoolBeforeAck", "1"}}, 1);
    EXPECT_TRUE(booImageSaved());
    const auto& got = sim::theLibrary().embeddedUnit()->commands();
    EXPECT_EQ(std::count(got.begin(), got.end(), "NP_P1_C 70 4"), 2);
    // The early "T0" is not taken as the unit's answer: from the exposure
    // command straight on to the unit's "d1".
    const auto it = std::find(states_.begin(), states_.end(), 7);
    ASSERT_NE(it, states_.end()) << ::testing::PrintToString(states_);
    ASSERT_NE(it + 1, states_.end());
    EXPECT_EQ(*(it + 1), 10) << ::testing::PrintToString(states_);
}

}  // namespace
