// The command set: RESET, the exposure start, the service keys and the
// equipment switches, with what goes on the wire and what the operator sees.
#include "link/commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "app/messages.h"
#include "tests/support/link_fixture.h"

namespace {
using enum scripted::Reply;
using scripted::Reply;
using scripted::sTraceOf;
using scripted::unit;

TEST_F(LinkTest, ResetSendsTheCommandOfTheStateAndSetsItsNewState) {
    // The states RESET is pressed in, the library's result of each send, how
    // the unit answers, and what the console does.
    using Row = std::tuple<std::vector<int32_t>, std::deque<int32_t>, Reply, std::string>;
    for (const auto& [from, results, reply, seen] : std::vector<Row>{
             // Not taken: the code is shown and the console closes; the next
             // transactions have four sends of their own all the same.
             {{0}, {}, Silent, "ready 0; stat 3; > r1; > r1; > r1; > r1; " + kNoAck + "; unload"},
             {{9}, {0, -1}, Ack, "ready 0; stat 101; > r0; stat 101; stat 1; > c1; " + kRefused + "; unload"},
             {{3}, {}, Ack, "ready 0; stat 0; > r0; stat 0"},
             {{4}, {}, Ack, "ready 0; stat 0; > m0; stat 0"},
             {{7, 10, 15}, {}, Ack, "ready 0; stat 8; > d0; stat 8; stat 1; > c1"},
             {{9}, {}, Ack, "ready 0; stat 101; > r0; stat 101; stat 1; > c1"},
             {{11}, {}, Ack, "ready 0; stat 19; > d0; stat 19"},
             {{17, 18}, {}, Ack, "ready 0; stat 19; > r1; stat 19"},
             {{19}, {}, Ack, "ready 0; stat 18; > r0; stat 18"},
             {{0, 1, 2, 21, 100}, {}, Ack, "ready 0; stat 3; > r1; stat 3"}})
        for (int32_t lFrom : from) {
            scripted::vReset(clock_);
            unit().queued["Ether232Send"] = results;
            unit().reply = reply;
            App.g_lStat = lFrom;
            vResetProc();
            EXPECT_EQ(sTraceOf({"stat", "ready", "> ", "box", "unload"}), seen) << "from state " << lFrom;
        }
    for (const auto& b : boxes_) {
        EXPECT_EQ(b.title, "Tolvek E");
        EXPECT_EQ(b.hOwner, &frm);
    }
}

// READY pressed: no polling from here on; the sensor is prepared; the command
// goes out as a transaction.
const std::string kBusy = "stat 7; busy; timer off; ready 1; ";
std::string prepared(const std::string& sFilm) { return "doevents; senceproc " + sFilm + "; "; }
std::string sent(const std::string& sCmd, int nSends = 1) {
    std::string s = "timer on; pointer; timer off; ";
    for (int i = 0; i < nSends; ++i) s += "> " + sCmd + "; ";
    return s + "pointer; timer on; ";
}

TEST_F(LinkTest, ReadyPreparesTheSensorThenSendsTheModeCodeTheUnitExpects) {
    // The selected mode, the capture watch's result, what else stands, and
    // what the console does.
    using Row = std::tuple<int32_t, int32_t, std::function<void(RecordingMain&)>, std::string>;
    const std::string kD1 = "timer off; > d1; pointer; timer on; stat 15; ready 2";
    const std::string kWatch = "stat 10; ready 2; checkpict init";
    for (const auto& [lModeIdx, lCheckPict, given, seen] : std::vector<Row>{
             // The unit knows the adult and the child panorama by each other's code.
             {0, 0, {}, kBusy + prepared("NP_P1_A") + sent("NP_P1_C 70 10") + "stat 7"},
             {1, 0, {}, kBusy + prepared("NP_P1_C") + sent("NP_P1_A 70 10") + "stat 7"},
             {2, 0, {}, kBusy + prepared("NP_T4") + sent("NP_T4 70 10") + "stat 7"},
             // The second half of a four-image exposure goes on as prepared.
             {2, 0, [](auto&) { App.g_lPictHalf = 1; }, kBusy + sent("NP_T4 70 10") + "stat 7"},
             // Half and package mode only move the unit.
             {0, 0, [](auto&) { App.g_lHalfMode = 1; }, kD1},
             {0, 0, [](auto&) { App.g_lPackageMode = 1; }, kD1},
             {0, 0, [](auto& m) { m.lSenceResult = 10; },
              kBusy + prepared("NP_P1_A") + "timer off; unload"},
             {0, 0, [](auto&) { unit().reply = Silent; },
              kBusy + prepared("NP_P1_A") + sent("NP_P1_C 70 10", 4) + kNoAck + "; unload"},
             // A service mode switched on meanwhile starts the capture watch at once.
             {0, 0, [](auto& m) { m.onDoEvents = [] { App.g_lHalfMode = 1; }; },
              kBusy + prepared("NP_P1_A") + sent("NP_P1_C 70 10") + kWatch},
             {0, 9, [](auto& m) { m.onDoEvents = [] { App.g_lPackageMode = 1; }; },
              kBusy + prepared("NP_P1_A") + sent("NP_P1_C 70 10") + kWatch + "; box " +
                  sCommFail(9, sCodeExplanation(9)) + "; unload"}}) {
        vFresh();
        frm.f.m_lModeIdx = lModeIdx;
        frm.lCheckPictResult = lCheckPict;
        App.g_lVolt = 70;
        App.g_lElec = 10;
        if (given) given(frm);
        vStartExposure();
        EXPECT_EQ(sTraceOf({"stat", "ready", "> ", "box", "unload", "checkpict", "senceproc", "doevents", "timer",
                            "busy", "pointer"}),
                  seen);
    }
}

TEST_F(LinkTest, ServiceKeysSwitchTheirModeOnTheUnitAndMarkTheTitle) {
    frm.f.m_sBaseTitle = "Unit";
    App.g_lVolt = 66;
    App.g_lElec = 4;
    const std::string kCap = "caption Unit - ", kBoth = kCap + "Half Mode 【h";
    // Ctrl+Alt+J test mode, K half mode, L package mode: what each does, and
    // kV/mA after it (the service operator sets them from nothing).
    const std::vector<std::tuple<int32_t, std::deque<int32_t>, std::string>> steps = {
        // Half and package mode only in test mode; other keys do nothing.
        {'K', {}, ""}, {'L', {}, ""}, {'j', {}, ""}, {0x01000000 /* Escape */, {}, ""},
        {'J', {}, kCap + "Test Mode Command Communication. 【t1】; > t1; ctrlbystat; debug shown; stat 0; "
                  "dispvalue 0; dispvalue 1; " + kBoth + "0】 Package Mode 【p0】; kV/mA 0/0"},
        {'K', {}, kCap + "Half Mode 【h1】; > h1; stat 5; " + kBoth + "1】 Package Mode 【p0】"},
        {'L', {}, kCap + "Package Mode 【p1】; > p1; stat 6; " + kBoth + "0】 Package Mode 【p1】"},
        {'L', {}, kCap + "Package Mode 【p0】; > p0; ctrlbystat; stat 1; > c1; " + kBoth + "0】 Package Mode 【p0】"},
        {'K', {}, kCap + "Half Mode 【h1】; > h1; stat 5; " + kBoth + "1】 Package Mode 【p0】"},
        // Test mode off ends half mode too.
        {'J', {}, kCap + "Test Mode Command Communication. 【t0】; > t0; ctrlbystat; stat 1; > c1; "
                  "debug hidden; dispvalue 0; dispvalue 1; caption Unit; kV/mA 60/2"},
        // A command the unit does not take closes the console; no mode is recorded.
        {'J', {-1}, kCap + "Test Mode Command Communication. 【t1】; > t1; " + kRefused + "; unload; kV/mA 60/2"},
    };
    for (const auto& [key, results, seen] : steps) {
        scripted::trace().clear();
        unit().queued["Ether232Send"] = results;
        vServiceKey(key);
        if (key == 'J') frm.vLog("kV/mA " + std::to_string(App.g_lVolt) + "/" + std::to_string(App.g_lElec));
        EXPECT_EQ(sTraceOf({"stat", "> ", "box", "unload", "caption", "ctrlbystat", "debug", "dispvalue", "kV/mA"}),
                  seen);
    }
    EXPECT_EQ(App.g_lTestMode + App.g_lHalfMode, 0);
}

TEST_F(LinkTest, WithoutABaseTitleOnlyTheTestKeyOffSetsTheTitle) {
    for (int32_t key : {'J', 'K', 'J'}) vServiceKey(key);
    EXPECT_EQ(frm.captions, std::vector<std::string>{""});
}

}  // namespace
