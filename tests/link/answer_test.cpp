// The unit's reports: each rule, the state it leaves, what goes back to the
// unit and what the operator is shown.
#include <gtest/gtest.h>

#include "link/answer.h"
#include "tests/link/link_fixture.h"

using fakeunit::unit;
using fakeunit::vecTrace;

namespace {
const std::vector<std::string> kSeen = {"stat",      "ready",   "mode",   "dispmode", "showstat", "start click",
                                        "checkpict", "getimage", "unload", "stattext", "sensmdu",  "box",
                                        "> "};
const char* const kCommFail =
    "Communication with equipment is unavailable. Confirm power on of the equipment.\r\nERR : -1\r\nMSG : "
    "Communication Error. Communication is not established.";

// What stands before the answer arrives.
struct Given {
    int32_t lStat = 0;
    int32_t lUnitPos = 1;
    int32_t lModeIdx = 0;
    bool booAutoStart = false;
    bool booSkipT1 = false;
    int32_t lHalf = 0;
    int32_t lPackage = 0;
    int32_t lPictNo = 0;
    int32_t lMoveKind = 0;
    int32_t lBoxAnswer = 7;
    int32_t lSensMdu = 0;
    bool booFirstSendFails = false;
};

struct AnswerCase {
    const char* name;
    Given given;
    const char* sAnswer;
    std::vector<std::string> seen;  // what the console did, in order
    int32_t lHandled;
    int32_t lEndStat;
    int32_t lMoveKind;  // g_lMoveKind afterwards
};

class Answer : public LinkTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(Answer, LeavesItsStateAndDoesWhatItsRuleSays) {
    const AnswerCase& c = GetParam();
    const Given& g = c.given;
    App.g_lStat = g.lStat;
    App.g_lHalfMode = g.lHalf;
    App.g_lPackageMode = g.lPackage;
    App.g_lPictNo = g.lPictNo;
    App.g_lMoveKind = g.lMoveKind;
    frm.f.m_lUnitPos = g.lUnitPos;
    frm.f.m_lModeIdx = g.lModeIdx;
    frm.f.m_booAutoStart = g.booAutoStart;
    frm.f.m_booSkipT1 = g.booSkipT1;
    frm.f.m_sWorkPath = "/tmp/$run$";
    frm.f.m_lLoadFpgaFileFlg = 0;
    frm.lSensMduResult = g.lSensMdu;
    lBoxAnswer = g.lBoxAnswer;
    if (g.booFirstSendFails) unit.sendResults = {-1};
    vAckNext(4);

    int32_t lHandled = -1;
    vParseAnswer(c.sAnswer, lHandled);
    EXPECT_EQ(vecTrace(kSeen), c.seen);
    EXPECT_EQ(lHandled, c.lHandled);
    EXPECT_EQ(App.g_lStat, c.lEndStat);
    EXPECT_EQ(App.g_lMoveKind, c.lMoveKind);
    EXPECT_EQ(frm.f.m_sAnswer, c.sAnswer);
}

const std::string kBoxFail = std::string("box ") + kCommFail;

INSTANTIATE_TEST_SUITE_P(
    Rules, Answer,
    ::testing::Values(
        // 1: errors
        AnswerCase{"e5", {}, "e5", {"stat 9"}, 1, 9, 0},
        // 2: cooling time
        AnswerCase{"T0", {.lStat = 21}, "T0", {"stat 0"}, 1, 0, 0},
        AnswerCase{"T45", {}, "T45", {"stat 21"}, 1, 21, 0},
        AnswerCase{"T1IsACoolingTime", {}, "T1", {"stat 21"}, 1, 21, 0},
        // 3: no sensor
        AnswerCase{"s0", {.lStat = 1}, "s0", {"box Sensor is not connected.", "unload"}, 0, 1, 0},
        // 4: the unit's position at connection
        AnswerCase{"s2", {}, "s2", {"sensmdu flag 1", "stat 1", "> c1"}, 1, 1, 0},
        AnswerCase{"s1ModuleFails", {.lSensMdu = 5}, "s1", {"sensmdu flag 1", "unload"}, 0, 0, 0},
        AnswerCase{"s3StatusRequestFails", {.booFirstSendFails = true}, "s3",
                   {"sensmdu flag 1", "stat 1", "> c1", kBoxFail, "unload"}, 0, 1, 0},
        // 5: r0
        AnswerCase{"r0InState9", {.lStat = 9, .lUnitPos = 2}, "r0", {"stat 100"}, 1, 100, 0},
        AnswerCase{"r0InState16", {.lStat = 16}, "r0", {"stat 17"}, 1, 17, 0},
        AnswerCase{"r0AtCephaloWithPanorama", {.lStat = 1, .lUnitPos = 2, .lModeIdx = 1}, "r0",
                   {"stat 0", "mode 5", "dispmode"}, 1, 0, 0},
        AnswerCase{"r0AtOriginWithCephalo", {.lStat = 1, .lModeIdx = 5}, "r0", {"stat 0", "mode 0", "dispmode"}, 1,
                   0, 0},
        AnswerCase{"r0AfterReadyForgetsThePosition", {.lStat = 1, .lModeIdx = 2, .booAutoStart = true, .lMoveKind = 1},
                   "r0", {"stat 0", "dispmode"}, 1, 0, 0},
        // 6: m0
        AnswerCase{"m0", {.lStat = 4, .lUnitPos = 2, .lModeIdx = 0, .lMoveKind = 2}, "m0",
                   {"stat 0", "mode 5", "dispmode"}, 1, 0, 2},
        // 7: confirmed positions
        AnswerCase{"r1AtOrigin", {.lStat = 1, .lModeIdx = 6}, "r1", {"mode 0", "> T1", "stat 21", "dispmode"}, 1, 21, 1},
        AnswerCase{"r1AtCephalo", {.lStat = 1, .lUnitPos = 2}, "r1", {"mode 5", "> T1", "stat 21", "dispmode"}, 1, 21,
                   1},
        AnswerCase{"r1SkipsTheCoolingRequestOnce", {.lStat = 4, .booSkipT1 = true}, "r1", {"dispmode"}, 1, 4, 1},
        AnswerCase{"r1CoolingRequestFails", {.lStat = 1, .booFirstSendFails = true}, "r1",
                   {"> T1", "stat 21", kBoxFail, "unload"}, 0, 21, 1},
        AnswerCase{"r1InState19Half", {.lStat = 19, .lHalf = 1}, "r1", {"stat 5", "dispmode"}, 1, 5, 0},
        AnswerCase{"r1InState19Package", {.lStat = 19, .lPackage = 1}, "r1", {"stat 6", "dispmode"}, 1, 6, 0},
        AnswerCase{"r1InState19Neither", {.lStat = 19, .lMoveKind = 3}, "r1", {"dispmode"}, 1, 19, 3},
        AnswerCase{"m1AtOrigin", {.lStat = 4, .lModeIdx = 5}, "m1", {"mode 0", "> T1", "stat 21", "dispmode"}, 1, 21,
                   2},
        AnswerCase{"m1AtCephalo", {.lStat = 4, .lUnitPos = 2, .lModeIdx = 1}, "m1",
                   {"mode 5", "> T1", "stat 21", "dispmode"}, 1, 21, 2},
        AnswerCase{"m1AtCephaloOnCephaloMode", {.lStat = 4, .lUnitPos = 2, .lModeIdx = 5}, "m1",
                   {"> T1", "stat 21", "dispmode"}, 1, 21, 2},
        AnswerCase{"h1", {.lStat = 1}, "h1", {"stat 0", "dispmode"}, 1, 0, 3},
        AnswerCase{"p1", {.lStat = 1}, "p1", {"stat 0", "dispmode"}, 1, 0, 4},
        AnswerCase{"p1WithReadyPressed", {.lStat = 1, .booAutoStart = true}, "p1",
                   {"stat 0", "dispmode", "start click"}, 1, 0, 4},
        // 8: d1
        AnswerCase{"d1InState15", {.lStat = 15}, "d1", {"stat 16", "ready 2"}, 1, 16, 0},
        AnswerCase{"d1InState3", {.lStat = 3}, "d1", {"stat 0", "ready 0"}, 1, 0, 1},
        AnswerCase{"d1AfterTheExposureCommand", {.lStat = 7, .lMoveKind = 1}, "d1",
                   {"checkpict init", "stat 10", "ready 2"}, 1, 10, 1},
        // 9 to 12
        AnswerCase{"S1", {.lStat = 10, .lMoveKind = 1}, "S1", {}, 1, 10, 1},
        AnswerCase{"E1", {.lStat = 11}, "E1", {"showstat"}, 1, 11, 0},
        AnswerCase{"X0", {.lStat = 10}, "X0", {}, 1, 10, 0},
        AnswerCase{"X1", {.lStat = 10}, "X1", {}, 1, 10, 0},
        // 13: d0
        AnswerCase{"d0WithNoImage", {.lStat = 7}, "d0", {"stat 8", "ready 0", "> d0", "stat 1", "> c1"}, 1, 1, 0},
        AnswerCase{"d0WithImagesYes", {.lStat = 11, .lPictNo = 1, .lBoxAnswer = 6}, "d0",
                   {"stat 8", "ready 0", "> d0", "box Exposure was interrupted.\nDo you generate image?", "stat 12",
                    "getimage /tmp/$run$", "unload"},
                   0, 12, 0},
        AnswerCase{"d0WithImagesNo", {.lStat = 11, .lPictNo = 2, .lBoxAnswer = 7}, "d0",
                   {"stat 8", "ready 0", "> d0", "box Exposure was interrupted.\nDo you generate image?", "unload"},
                   0, 8, 0},
        AnswerCase{"d0Unacknowledged", {.lStat = 10, .booFirstSendFails = true}, "d0",
                   {"stat 8", "ready 0", "> d0", kBoxFail, "unload"}, 0, 8, 0},
        // 14: z1
        AnswerCase{"z1", {.lStat = 16}, "z1", {"stat 17"}, 1, 17, 0},
        // 15: anything else, matched exactly and with case
        AnswerCase{"E2", {.lStat = 11}, "E2", {"stattext Unclear Command was received."}, 1, 11, 0},
        AnswerCase{"LowerCaseE1", {.lStat = 11}, "e1x", {"stat 9"}, 1, 9, 0},
        AnswerCase{"UpperCaseD1", {.lStat = 7}, "D1", {"stattext Unclear Command was received."}, 1, 7, 0},
        AnswerCase{"r1WithABlank", {.lStat = 1}, "r1 ", {"stattext Unclear Command was received."}, 1, 1, 0},
        AnswerCase{"s4", {.lStat = 1}, "s4", {"stattext Unclear Command was received."}, 1, 1, 0},
        AnswerCase{"Empty", {.lStat = 0}, "", {"stattext Unclear Command was received."}, 1, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });
}  // namespace

TEST_F(LinkTest, AnErrorReportKeepsItsNumber) {
    int32_t lHandled = 0;
    for (const auto& [sAnswer, lNo] : std::vector<std::pair<std::string, int32_t>>{
             {"e5", 5}, {"e21", 21}, {"e", 0}, {"e100", 100}, {"e7x", 7}, {"ex7", 0}}) {
        vParseAnswer(sAnswer, lHandled);
        EXPECT_EQ(frm.f.m_lErrNo, lNo) << sAnswer;
        EXPECT_EQ(App.g_lStat, 9);
        EXPECT_EQ(lHandled, 1);
    }
}

TEST_F(LinkTest, ACoolingReportKeepsItsSeconds) {
    int32_t lHandled = 0;
    vParseAnswer("T45", lHandled);
    EXPECT_EQ(frm.f.m_lCoolTime, 45);
    vParseAnswer("T0", lHandled);
    EXPECT_EQ(frm.f.m_lCoolTime, 0);
    EXPECT_EQ(App.g_lStat, 0);
    vParseAnswer("T99999999999", lHandled);
    EXPECT_EQ(frm.f.m_lCoolTime, 2147483647);
}

TEST_F(LinkTest, APositionReportKeepsTheUnitsSideAndReloadsTheSensorProgram) {
    int32_t lHandled = 0;
    vAckNext(1);
    vParseAnswer("s2", lHandled);
    EXPECT_EQ(frm.f.m_lUnitPos, 2);
    EXPECT_EQ(frm.f.m_lLoadFpgaFileFlg, 1);
}

TEST_F(LinkTest, TheUnitAtTheCephaloSideConfirmsThePositionBeforeTheModeIsSelected) {
    // The mode selection sees the confirmed origin (it may move the unit),
    // and the side change makes it skip the next cooling request.
    frm.f.m_lUnitPos = 2;
    int32_t lMoveKindSeen = -1;
    bool booSideMovedSeen = false;
    frm.onModeClick = [&](int16_t) {
        lMoveKindSeen = App.g_lMoveKind;
        booSideMovedSeen = frm.f.m_booSideMoved;
    };
    vAckNext(1);
    int32_t lHandled = 0;
    vParseAnswer("r1", lHandled);
    EXPECT_EQ(lMoveKindSeen, 1);
    EXPECT_TRUE(booSideMovedSeen);
    EXPECT_EQ(frm.f.m_lCoolTime, -1);
}

TEST_F(LinkTest, AtTheOriginTheModeIsSelectedBeforeThePositionIsConfirmed) {
    frm.f.m_lModeIdx = 5;
    int32_t lMoveKindSeen = -1;
    frm.onModeClick = [&](int16_t) { lMoveKindSeen = App.g_lMoveKind; };
    vAckNext(1);
    int32_t lHandled = 0;
    vParseAnswer("r1", lHandled);
    EXPECT_EQ(lMoveKindSeen, 0);
    EXPECT_FALSE(frm.f.m_booSideMoved);
    EXPECT_EQ(App.g_lMoveKind, 1);
}

TEST_F(LinkTest, ThePositionReportRunsReadyAgainAndThenForgetsThePress) {
    frm.f.m_booAutoStart = true;
    bool booPressedDuringClick = false;
    frm.onStartClick = [&] { booPressedDuringClick = frm.f.m_booAutoStart; };
    vAckNext(1);
    int32_t lHandled = 0;
    vParseAnswer("r1", lHandled);
    EXPECT_TRUE(booPressedDuringClick);
    EXPECT_FALSE(frm.f.m_booAutoStart);
    EXPECT_EQ(vecTrace({"dispmode", "start click"}), (std::vector<std::string>{"dispmode", "start click"}));
}

TEST_F(LinkTest, TheSideMovedFlagIsClearedByTheSkip) {
    frm.f.m_booSkipT1 = true;
    int32_t lHandled = 0;
    vParseAnswer("m1", lHandled);
    EXPECT_FALSE(frm.f.m_booSkipT1);
    EXPECT_TRUE(unit.sends.empty());
}

TEST_F(LinkTest, ReadyReportsClearTheTransferAndDisarmTheWatchdog) {
    frm.f.m_booTransfer = true;
    frm.f.m_lXWaitFlag = 1;
    App.g_lStat = 7;
    int32_t lHandled = 0;
    vParseAnswer("d1", lHandled);
    EXPECT_FALSE(frm.f.m_booTransfer);
    EXPECT_EQ(frm.f.m_lXWaitFlag, 0);
    vParseAnswer("X1", lHandled);
    EXPECT_EQ(frm.f.m_lXWaitFlag, 1);
    vParseAnswer("E1", lHandled);
    EXPECT_TRUE(frm.f.m_booTransfer);
    vParseAnswer("E2", lHandled);
    EXPECT_TRUE(frm.f.m_booTransfer);
    EXPECT_EQ(frm.statTexts, std::vector<std::string>{"Unclear Command was received."});
}

TEST_F(LinkTest, AnInterruptedExposureForgetsItsImagesEitherWay) {
    for (int32_t lAnswer : {6, 7}) {
        App.g_lPictNo = 3;
        App.g_lStat = 11;
        lBoxAnswer = lAnswer;
        vAckNext(1);
        int32_t lHandled = 1;
        vParseAnswer("d0", lHandled);
        EXPECT_EQ(App.g_lPictNo, 0);
        EXPECT_EQ(lHandled, 0);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().style, platform::MB_YESNO_QUESTION_DEFBUTTON2);
        EXPECT_EQ(boxes.back().title, "Tolvek E");
    }
}

TEST(AnswerNumber, ReadsTheLeadingDigitsAfterTheFirstCharacter) {
    EXPECT_EQ(lAnswerNumber("e5"), 5);
    EXPECT_EQ(lAnswerNumber("T045"), 45);
    EXPECT_EQ(lAnswerNumber("T"), 0);
    EXPECT_EQ(lAnswerNumber(""), 0);
    EXPECT_EQ(lAnswerNumber("e-5"), 0);
    EXPECT_EQ(lAnswerNumber("e12ab3"), 12);
    EXPECT_EQ(lAnswerNumber("T2147483647"), 2147483647);
    EXPECT_EQ(lAnswerNumber("T2147483648"), 2147483647);
}
