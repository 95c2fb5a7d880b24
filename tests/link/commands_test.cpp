// The command set: RESET, the exposure start, the service keys and the
// equipment switches, with what goes on the wire and what the operator sees.
#include <gtest/gtest.h>

#include "link/commands.h"
#include "tests/link/link_fixture.h"

using fakeunit::unit;
using fakeunit::vecCommands;
using fakeunit::vecTrace;

namespace {
const std::string kAck = "\x06";
const std::vector<std::string> kSeen = {"stat", "ready", "> ", "box", "unload", "caption", "ctrlbystat",
                                        "debug", "dispvalue", "checkpict", "senceproc", "doevents"};
const char* const kNotEstablished = "Communication Error. Communication is not established.";

std::vector<std::string> vecSeen() { return vecTrace(kSeen); }
}  // namespace

// ---- RESET ---------------------------------------------------------------

struct ResetCase {
    int32_t lFrom;
    std::vector<std::string> seen;
};

class Reset : public LinkTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(Reset, SendsTheCommandOfTheStateAndSetsItsNewState) {
    App.g_lStat = GetParam().lFrom;
    vAckNext(2);
    vResetProc();
    EXPECT_EQ(vecSeen(), GetParam().seen);
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryState, Reset,
    ::testing::Values(
        ResetCase{3, {"ready 0", "stat 0", "> r0", "stat 0"}},
        ResetCase{4, {"ready 0", "stat 0", "> m0", "stat 0"}},
        ResetCase{7, {"ready 0", "stat 8", "> d0", "stat 8", "stat 1", "> c1"}},
        ResetCase{10, {"ready 0", "stat 8", "> d0", "stat 8", "stat 1", "> c1"}},
        ResetCase{15, {"ready 0", "stat 8", "> d0", "stat 8", "stat 1", "> c1"}},
        ResetCase{9, {"ready 0", "stat 101", "> r0", "stat 101", "stat 1", "> c1"}},
        ResetCase{11, {"ready 0", "stat 19", "> d0", "stat 19"}},
        ResetCase{17, {"ready 0", "stat 19", "> r1", "stat 19"}},
        ResetCase{18, {"ready 0", "stat 19", "> r1", "stat 19"}},
        ResetCase{19, {"ready 0", "stat 18", "> r0", "stat 18"}},
        ResetCase{0, {"ready 0", "stat 3", "> r1", "stat 3"}},
        ResetCase{1, {"ready 0", "stat 3", "> r1", "stat 3"}},
        ResetCase{21, {"ready 0", "stat 3", "> r1", "stat 3"}},
        ResetCase{100, {"ready 0", "stat 3", "> r1", "stat 3"}}),
    [](const auto& info) { return "FromState" + std::to_string(info.param.lFrom); });

TEST_F(LinkTest, AResetTheUnitNeverAcknowledgesShowsTheCodeAndCloses) {
    App.g_lStat = 0;
    vResetProc();
    EXPECT_EQ(vecCommands(), (std::vector<std::string>{"r1", "r1", "r1", "r1"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, sCommFailText(10003, "Unclear Error"));
    EXPECT_EQ(boxes[0].title, "Tolvek E");
    EXPECT_EQ(boxes[0].hOwner, &frm);
    EXPECT_EQ(vecSeen().back(), "unload");
    EXPECT_EQ(App.g_lStat, 3);  // not applied again
}

TEST_F(LinkTest, AFailedStatusRequestAfterResetShowsTheLibrarysCode) {
    App.g_lStat = 9;
    unit.sendResults = {0, -1};
    vAckNext(1);
    vResetProc();
    EXPECT_EQ(vecCommands(), (std::vector<std::string>{"r0", "c1"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, sCommFailText(-1, kNotEstablished));
    EXPECT_EQ(vecSeen().back(), "unload");
}

// ---- READY, second stage -------------------------------------------------

struct ExposureCase {
    int32_t lMode, lVolt, lElec;
    const char* sCommand;
    const char* sFilm;
};

class ExposureCommand : public LinkTest, public ::testing::WithParamInterface<ExposureCase> {};

TEST_P(ExposureCommand, PreparesTheSensorThenSendsTheExchangedModeCode) {
    const ExposureCase& c = GetParam();
    frm.f.m_lModeIdx = c.lMode;
    App.g_lVolt = c.lVolt;
    App.g_lElec = c.lElec;
    vAckNext(1);
    vStartExposure();
    EXPECT_EQ(vecCommands(), std::vector<std::string>{c.sCommand});
    EXPECT_EQ(App.g_sFilmName, c.sFilm);
    EXPECT_EQ(vecSeen(), (std::vector<std::string>{"stat 7", "ready 1", "doevents", std::string("senceproc ") + c.sFilm,
                                                   std::string("> ") + c.sCommand, "stat 7"}));
}

INSTANTIATE_TEST_SUITE_P(Modes, ExposureCommand,
                         ::testing::Values(ExposureCase{0, 60, 2, "NP_P1_C 60 2", "NP_P1_A"},
                                           ExposureCase{1, 70, 10, "NP_P1_A 70 10", "NP_P1_C"},
                                           ExposureCase{2, 80, 8, "NP_T4 80 8", "NP_T4"}));

TEST_F(LinkTest, TheExposureStartStopsPollingWhileTheSensorIsPrepared) {
    vAckNext(1);
    vStartExposure();
    EXPECT_EQ(vecTrace({"stat", "busy", "pointer", "timer", "ready", "doevents", "senceproc", "disabled", ">"}),
              (std::vector<std::string>{"stat 7", "busy", "timer off", "ready 1", "doevents", "senceproc NP_P1_A",
                                        "timer on", "pointer", "timer off", "disabled", "> NP_P1_C 60 2",
                                        "pointer", "timer on", "stat 7"}));
}

TEST_F(LinkTest, InHalfOrPackageModeReadySendsD1Only) {
    for (int32_t* plMode : {&App.g_lHalfMode, &App.g_lPackageMode}) {
        fakeunit::vReset(clock);
        App.g_lHalfMode = App.g_lPackageMode = 0;
        *plMode = 1;
        vAckNext(1);
        vStartExposure();
        EXPECT_EQ(vecSeen(), (std::vector<std::string>{"> d1", "stat 15", "ready 2"}));
    }
}

TEST_F(LinkTest, TheSecondHalfOfAFourImageExposureKeepsTheSensorAsPrepared) {
    frm.f.m_lModeIdx = 2;
    App.g_lPictHalf = 1;
    vAckNext(1);
    vStartExposure();
    EXPECT_EQ(vecSeen(), (std::vector<std::string>{"stat 7", "ready 1", "> NP_T4 60 2", "stat 7"}));
}

TEST_F(LinkTest, AFailedSensorPreparationClosesWithoutSending) {
    frm.lSenceResult = 10;
    vStartExposure();
    EXPECT_TRUE(unit.sends.empty());
    EXPECT_TRUE(boxes.empty());  // the preparation has shown its own message
    EXPECT_EQ(vecTrace({"timer", "unload"}), (std::vector<std::string>{"timer off", "timer off", "unload"}));
}

TEST_F(LinkTest, AHalfModeSwitchedOnDuringThePreparationStartsTheCaptureWatch) {
    frm.onDoEvents = [] { App.g_lHalfMode = 1; };
    vAckNext(1);
    vStartExposure();
    EXPECT_EQ(vecSeen(), (std::vector<std::string>{"stat 7", "ready 1", "doevents", "senceproc NP_P1_A",
                                                   "> NP_P1_C 60 2", "stat 10", "ready 2", "checkpict init"}));
}

TEST_F(LinkTest, AFailedCaptureWatchIsReportedLikeAFailedTransaction) {
    frm.onDoEvents = [] { App.g_lPackageMode = 1; };
    frm.lCheckPictResult = 9;
    vAckNext(1);
    vStartExposure();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              sCommFailText(9, "Communication Control Assembly was not initialized, or exposure control Assy is "
                               "initialized under condition of failed initialization."));
    EXPECT_EQ(vecSeen().back(), "unload");
}

TEST_F(LinkTest, AnUnacknowledgedExposureCommandClosesTheConsole) {
    vStartExposure();
    EXPECT_EQ(vecCommands().size(), 4u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, sCommFailText(10003, "Unclear Error"));
    EXPECT_EQ(vecSeen().back(), "unload");
}

// ---- Service keys --------------------------------------------------------

class ServiceKeys : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        frm.f.m_sBaseTitle = "Unit";
        vAckNext(8);
    }
};

TEST_F(ServiceKeys, TheTestKeyTwiceSendsT1ThenT0ThenC1) {
    App.g_lStat = 0;
    vServiceKey('J');
    EXPECT_EQ(App.g_lTestMode, 1);
    EXPECT_EQ(App.g_lVolt, 0);
    EXPECT_EQ(App.g_lElec, 0);
    EXPECT_TRUE(frm.booDebug);
    EXPECT_EQ(vecSeen(), (std::vector<std::string>{
                             "caption Unit - Test Mode Command Communication. 【t1】", "> t1", "ctrlbystat",
                             "debug shown", "stat 0", "dispvalue 0", "dispvalue 1",
                             "caption Unit - Half Mode 【h0】 Package Mode 【p0】"}));

    fakeunit::trace.clear();
    App.g_lHalfMode = 1;
    vServiceKey('J');
    EXPECT_EQ(vecCommands(), (std::vector<std::string>{"t1", "t0", "c1"}));
    EXPECT_EQ(App.g_lTestMode, 0);
    EXPECT_EQ(App.g_lHalfMode, 0);
    EXPECT_EQ(App.g_lVolt, 60);
    EXPECT_EQ(App.g_lElec, 2);
    EXPECT_FALSE(frm.booDebug);
    EXPECT_EQ(vecSeen(), (std::vector<std::string>{
                             "caption Unit - Test Mode Command Communication. 【t0】", "> t0", "ctrlbystat",
                             "stat 1", "> c1", "debug hidden", "dispvalue 0", "dispvalue 1", "caption Unit"}));
}

TEST_F(ServiceKeys, HalfAndPackageKeysDoNothingOutsideTestMode) {
    vServiceKey('K');
    vServiceKey('L');
    EXPECT_TRUE(unit.sends.empty());
    EXPECT_TRUE(frm.captions.empty());
    EXPECT_EQ(App.g_lHalfMode, 0);
    EXPECT_EQ(App.g_lPackageMode, 0);
}

TEST_F(ServiceKeys, OtherKeysAreIgnored) {
    for (int32_t key : {int32_t{'A'}, int32_t{'M'}, int32_t{'j'}, int32_t{0x01000000} /* Escape */}) vServiceKey(key);
    EXPECT_TRUE(unit.sends.empty());
    EXPECT_TRUE(fakeunit::trace.empty());
}

TEST_F(ServiceKeys, HalfThenPackageThenPackageOffInTestMode) {
    frm.booDebug = true;
    App.g_lTestMode = 1;
    vServiceKey('K');
    EXPECT_EQ(vecSeen(), (std::vector<std::string>{"caption Unit - Half Mode 【h1】", "> h1", "stat 5",
                                                   "caption Unit - Half Mode 【h1】 Package Mode 【p0】"}));
    EXPECT_EQ(App.g_lHalfMode, 1);

    fakeunit::trace.clear();
    vServiceKey('L');
    EXPECT_EQ(vecSeen(), (std::vector<std::string>{"caption Unit - Package Mode 【p1】", "> p1", "stat 6",
                                                   "caption Unit - Half Mode 【h0】 Package Mode 【p1】"}));
    EXPECT_EQ(App.g_lHalfMode, 0);
    EXPECT_EQ(App.g_lPackageMode, 1);

    fakeunit::trace.clear();
    vServiceKey('L');
    EXPECT_EQ(vecSeen(), (std::vector<std::string>{"caption Unit - Package Mode 【p0】", "> p0", "ctrlbystat",
                                                   "stat 1", "> c1",
                                                   "caption Unit - Half Mode 【h0】 Package Mode 【p0】"}));
    EXPECT_EQ(App.g_lPackageMode, 0);
    EXPECT_EQ(App.g_lTestMode, 1);
}

TEST_F(ServiceKeys, WithoutABaseTitleOnlyTheTestKeyOffTouchesTheTitle) {
    frm.f.m_sBaseTitle.clear();
    vServiceKey('J');
    vServiceKey('K');
    EXPECT_TRUE(frm.captions.empty());
    vServiceKey('J');
    EXPECT_EQ(frm.captions, std::vector<std::string>{""});
    EXPECT_EQ(vecCommands(), (std::vector<std::string>{"t1", "h1", "t0", "c1"}));
}

TEST_F(ServiceKeys, AFailedServiceCommandClosesAndRecordsNoMode) {
    unit.sendResults = {-2};
    vServiceKey('J');
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, sCommFailText(-2, kNotEstablished));
    EXPECT_EQ(App.g_lTestMode, 0);
    EXPECT_FALSE(frm.booDebug);
    EXPECT_EQ(vecSeen().back(), "unload");
}

// ---- Equipment switches --------------------------------------------------

namespace {
struct Dialog : BusyWindow {
    std::vector<bool> calls;
    void voi_btEnabledSet(bool b) override { calls.push_back(b); }
    void* hWnd() override { return nullptr; }
};
const int32_t kPreHeat[6] = {226, 234, 240, 247, 254, 254};
}  // namespace

TEST_F(LinkTest, EquipmentSettingSendsAutoPowerThenDisplayThroughTheDialog) {
    Dialog dlg;
    vAckNext(2);
    EXPECT_EQ(lSendEquipSetting(2, 1, 0, kPreHeat, dlg), 0);
    EXPECT_EQ(vecCommands(), (std::vector<std::string>{"ap1", "sp0"}));
    EXPECT_EQ(dlg.calls, (std::vector<bool>{false, false}));
    EXPECT_TRUE(vecTrace({"disabled", "unload", "lib"}).empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(LinkTest, AFailedAutoPowerSwitchSendsNoDisplaySwitch) {
    Dialog dlg;
    EXPECT_EQ(lSendEquipSetting(0, 1, 1, kPreHeat, dlg), 10003);
    EXPECT_EQ(vecCommands(), (std::vector<std::string>{"ap1", "ap1", "ap1", "ap1"}));
    EXPECT_EQ(vecTrace({"lib", "box", "unload"}),
              (std::vector<std::string>{"lib ResetAll", "lib SetDeviceFree",
                                        "box " + sCommFailText(10003, "Unclear Error")}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hOwner, &frm);
}

TEST_F(LinkTest, AFailedDisplaySwitchReleasesTheDeviceAndReturnsItsCode) {
    Dialog dlg;
    vAckNext(1);
    unit.sendResults = {0, -6};
    EXPECT_EQ(lSendEquipSetting(1, 0, 1, kPreHeat, dlg), -6);
    EXPECT_EQ(vecCommands(), (std::vector<std::string>{"ap0", "sp1"}));
    EXPECT_EQ(vecTrace({"lib", "box", "unload"}),
              (std::vector<std::string>{"lib ResetAll", "lib SetDeviceFree",
                                        "box " + sCommFailText(-6, kNotEstablished)}));
}
