// The unit's reports: the state each leaves, what goes back to the unit,
// what the operator is shown and what the console keeps of it.
#include "link/answer.h"

#include <gtest/gtest.h>

#include "tests/support/link_fixture.h"

namespace {
const std::string kAsk = "box Exposure was interrupted.\nDo you generate image?";
const std::string kUnclear = "stattext Unclear Command was received.";

// What stands before the report arrives.
struct Given {
    int32_t lStat = 0, lPos = 1, lMode = 0;
    bool booAutoStart = false, booSkipT1 = false;
    int32_t lHalf = 0, lPackage = 0, lPictNo = 0, lMoveKind = 0;
    int32_t lBox = 7;         // the operator's answer to a question
    int32_t lSensMdu = 0;     // the sensor module initialisation's result
    bool booRefused = false;  // the library refuses the first send (-1)
};

struct AnswerCase {
    const char* name;
    Given given;
    const char* sAnswer;
    std::string seen;  // what the console did; "sees": the move kind (and side change) the mode selection found
    int32_t lHandled, lEndStat, lMoveKind;
};

const std::vector<AnswerCase> kAnswers = {
    {"e5", {}, "e5", "stat 9", 1, 9, 0}, {"T0", {.lStat = 21}, "T0", "stat 0", 1, 0, 0},
    {"T45", {}, "T45", "stat 21", 1, 21, 0},
    {"s0", {.lStat = 1}, "s0", "box Sensor is not connected.; unload", 0, 1, 0},
    {"s2", {}, "s2", "sensmdu flag 1; stat 1; > c1", 1, 1, 0},
    {"s1ModuleFails", {.lSensMdu = 5}, "s1", "sensmdu flag 1; unload", 0, 0, 0},
    {"s3Refused", {.booRefused = true}, "s3", "sensmdu flag 1; stat 1; > c1; " + kRefused + "; unload", 0, 1, 0},
    {"r0InState9", {.lStat = 9, .lPos = 2}, "r0", "stat 100", 1, 100, 0},
    {"r0InState16", {.lStat = 16}, "r0", "stat 17", 1, 17, 0},
    // The mode is corrected to the unit's side: panorama and TMJ modes are 0..4.
    {"r0CephaloSideOnCephalo", {.lStat = 1, .lPos = 2, .lMode = 5}, "r0", "stat 0; dispmode", 1, 0, 0},
    {"r0AtOriginOnCephalo", {.lStat = 1, .lMode = 5}, "r0", "stat 0; mode 0; sees 0; dispmode", 1, 0, 0},
    {"r0AfterReady", {.lStat = 1, .lMode = 4, .booAutoStart = true, .lMoveKind = 1}, "r0", "stat 0; dispmode", 1, 0, 0},
    {"m0", {.lStat = 4, .lPos = 2, .lMode = 4, .lMoveKind = 2}, "m0", "stat 0; mode 5; sees 2; dispmode", 1, 0, 2},
    // At the origin the mode is selected before the position counts; back
    // from the other side the selection sees the confirmed position.
    {"r1AtOrigin", {.lStat = 1, .lMode = 5}, "r1", "mode 0; sees 0; > T1; stat 21; dispmode", 1, 21, 1},
    {"r1AtCephalo", {.lStat = 1, .lPos = 2}, "r1", "mode 5; sees 1 moved; > T1; stat 21; dispmode", 1, 21, 1},
    {"r1SkipsTheCoolingRequestOnce", {.lStat = 4, .lMode = 4, .booSkipT1 = true}, "r1", "dispmode", 1, 4, 1},
    {"r1T1Refused", {.lStat = 1, .booRefused = true}, "r1", "> T1; stat 21; " + kRefused + "; unload", 0, 21, 1},
    {"r1InState19Half", {.lStat = 19, .lHalf = 1}, "r1", "stat 5; dispmode", 1, 5, 0},
    {"r1InState19Package", {.lStat = 19, .lPackage = 1}, "r1", "stat 6; dispmode", 1, 6, 0},
    {"r1InState19Neither", {.lStat = 19, .lMoveKind = 3}, "r1", "dispmode", 1, 19, 3},
    {"m1AtOrigin", {.lStat = 4, .lMode = 5}, "m1", "mode 0; sees 2 moved; > T1; stat 21; dispmode", 1, 21, 2},
    {"m1Cephalo", {.lStat = 4, .lPos = 2, .lMode = 4}, "m1", "mode 5; sees 0; > T1; stat 21; dispmode", 1, 21, 2},
    {"m1CephaloSideCeph", {.lStat = 4, .lPos = 2, .lMode = 5}, "m1", "> T1; stat 21; dispmode", 1, 21, 2},
    {"h1", {.lStat = 1}, "h1", "stat 0; dispmode", 1, 0, 3},
    {"p1WithReadyPressed", {.lStat = 1, .booAutoStart = true}, "p1", "stat 0; dispmode; start click", 1, 0, 4},
    {"d1InState15", {.lStat = 15}, "d1", "stat 16; ready 2", 1, 16, 0},
    {"d1InState3", {.lStat = 3}, "d1", "stat 0; ready 0", 1, 0, 1},
    {"d1AfterTheExposureCommand", {.lStat = 7, .lMoveKind = 1}, "d1", "checkpict init; stat 10; ready 2", 1, 10, 1},
    {"S1", {.lStat = 10, .lMoveKind = 1}, "S1", "", 1, 10, 1}, {"E1", {.lStat = 11}, "E1", "showstat", 1, 11, 0},
    {"X0", {.lStat = 10}, "X0", "", 1, 10, 0},
    {"d0WithNoImage", {.lStat = 7}, "d0", "stat 8; ready 0; > d0; stat 1; > c1", 1, 1, 0},
    {"d0WithImagesYes", {.lStat = 11, .lPictNo = 1, .lBox = 6}, "d0",
     "stat 8; ready 0; > d0; " + kAsk + "; stat 12; getimage /tmp/$run$; unload", 0, 12, 0},
    {"d0WithImagesNo", {.lStat = 11, .lPictNo = 2}, "d0", "stat 8; ready 0; > d0; " + kAsk + "; unload", 0, 8, 0},
    {"d0Refused", {.lStat = 10, .booRefused = true}, "d0", "stat 8; ready 0; > d0; " + kRefused + "; unload", 0, 8, 0},
    {"z1", {.lStat = 16}, "z1", "stat 17", 1, 17, 0},
    // Anything else, matched exactly and with case, is only shown.
    {"E2", {.lStat = 11}, "E2", kUnclear, 1, 11, 0}, {"UpperCaseD1", {.lStat = 7}, "D1", kUnclear, 1, 7, 0},
    {"r1WithABlank", {.lStat = 1}, "r1 ", kUnclear, 1, 1, 0}, {"s4", {.lStat = 1}, "s4", kUnclear, 1, 1, 0},
    {"Empty", {}, "", kUnclear, 1, 0, 0},
};

class Answer : public LinkTest, public ::testing::WithParamInterface<AnswerCase> {};
std::string sMoved(const RecordingMain& m) { return m.f.m_booSideMoved ? " moved" : ""; }

TEST_P(Answer, LeavesItsStateAndDoesWhatItsRuleSays) {
    const AnswerCase& c = GetParam();
    App.g_lStat = c.given.lStat;
    App.g_lHalfMode = c.given.lHalf;
    App.g_lPackageMode = c.given.lPackage;
    App.g_lPictNo = c.given.lPictNo;
    App.g_lMoveKind = c.given.lMoveKind;
    frm.f.m_lUnitPos = c.given.lPos;
    frm.f.m_lModeIdx = c.given.lMode;
    frm.f.m_booAutoStart = c.given.booAutoStart;
    frm.f.m_booSkipT1 = c.given.booSkipT1;
    frm.f.m_sWorkPath = "/tmp/$run$";
    frm.f.m_lLoadFpgaFileFlg = 0;
    frm.lSensMduResult = c.given.lSensMdu;
    frm.onModeClick = [this](int16_t) { frm.vLog("sees " + std::to_string(App.g_lMoveKind) + sMoved(frm)); };
    lBoxAnswer_ = c.given.lBox;
    if (c.given.booRefused) scripted::unit().queued["Ether232Send"] = {-1};
    int32_t lHandled = -1;
    vParseAnswer(c.sAnswer, lHandled);
    EXPECT_EQ(scripted::sTraceOf({"stat", "ready", "mode", "sees", "dispmode", "showstat", "start click", "checkpict",
                                  "getimage", "unload", "stattext", "sensmdu", "box", "> "}),
              c.seen);
    EXPECT_EQ(lHandled, c.lHandled);
    EXPECT_EQ(App.g_lStat, c.lEndStat);
    EXPECT_EQ(App.g_lMoveKind, c.lMoveKind);
    EXPECT_EQ(App.g_lPictNo, 0);         // an interrupted exposure forgets its images either way
    EXPECT_FALSE(frm.f.m_booAutoStart);  // a pressed READY runs once
}

INSTANTIATE_TEST_SUITE_P(Reports, Answer, ::testing::ValuesIn(kAnswers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkTest, ReportsKeepWhatTheStatusPanelAndTheWatchdogShow) {
    // Reports in turn and what the console then holds: the error number and
    // the cooling seconds (leading digits only, saturated), the unit's side,
    // the X-ray wait watchdog and the data transfer.
    const std::vector<std::pair<std::string, std::string>> steps = {
        {"e5", "err 5 "}, {"e21", "err 21 "}, {"e", "err 0 "}, {"e7x", "err 7 "}, {"ex7", "err 0 "}, {"e-5", "err 0 "},
        {"T045", "cool 45 "}, {"T2147483647", "cool 2147483647 "}, {"T2147483648", "cool 2147483647 "},
        {"T0", "cool 0 "}, {"s2", "side 2 "}, {"r1", "cool -1 "}, {"X1", "xwait 1 transfer 0"},
        {"E1", "xwait 1 transfer 1"}, {"E2", "xwait 1 transfer 1"}, {"d1", "xwait 0 transfer 0"}};
    for (const auto& [sAnswer, sKept] : steps) {
        int32_t lHandled = 0;
        vParseAnswer(sAnswer, lHandled);
        const tMainFields& f = frm.f;
        const std::string sHeld = "err " + std::to_string(f.m_lErrNo) + " cool " + std::to_string(f.m_lCoolTime) +
                                  " side " + std::to_string(f.m_lUnitPos) + " xwait " +
                                  std::to_string(f.m_lXWaitFlag) + " transfer " + (f.m_booTransfer ? "1" : "0");
        EXPECT_NE(sHeld.find(sKept), std::string::npos) << sAnswer << ": " << sHeld;
    }
}
}  // namespace
