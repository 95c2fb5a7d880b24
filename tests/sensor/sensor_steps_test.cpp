// The sensor steps of an exposure: what the library is asked, in which order
// and with which arguments, what the operator is told, the states reached,
// and the working folder on disk.
#include "sensor/sensor_steps.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <algorithm>
#include <tuple>

#include "platform/program_folder.h"
#include "tests/support/link_fixture.h"
#include "tests/support/temp_dir.h"

namespace {
using scripted::callNames;
using scripted::lastCall;
using scripted::unit;

using Sensor = LinkTest;

TEST_F(Sensor, ModuleInitialisationTakesTheSettingsFileAndReloadsTheProgramFileUntilItWorks) {
    for (int32_t lStatus : {0, 5}) {
        frm.f.m_lLoadFpgaFileFlg = 1;
        unit().status["SetSensMduInit"] = lStatus;
        EXPECT_EQ(l_SensMduInitProc(frm), lStatus);
        EXPECT_EQ(std::tuple(lastCall("SetSensMduInit").text, lastCall("SetSensMduInit").a, frm.f.m_lLoadFpgaFileFlg),
                  std::tuple(sIniPath(), 1, lStatus == 0 ? 0 : 1));
        // The buttons stay disabled for the states that follow; polling stops on a failure.
        EXPECT_EQ(scripted::sTraceOf({"enabled", "disabled", "pointer", "timer"}),
                  lStatus == 0 ? "disabled; pointer" : "disabled; timer off; pointer");
        scripted::trace().clear();
    }
    EXPECT_EQ(boxes_.at(0).text.rfind("Initialization error occurred.\r\nERR : 5\r\n", 0), 0u);
    // A program folder ending in a slash gets no second one.
    platform::vSetProgramFolder(sFolder() + "/");
    l_SensMduInitProc(frm);
    EXPECT_EQ(lastCall("SetSensMduInit").text, sIniPath());
}

TEST_F(Sensor, PreparationGivesTheFilmFileAndTheImageCountOfTheMode) {
    App.g_sFilmName = "NP_T4";
    App.g_lTimeStep = 12;
    App.g_lTimeLag = 34;
    for (const auto& [lMode, lCount] :
         std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {1, 1}, {2, 4}, {3, 2}, {5, 1}}) {
        scripted::vReset(clock_);
        App.g_lDefMode = lMode;
        App.g_lPictNo = 3;
        frm.f.m_lLoadFpgaFileFlg = 1;
        EXPECT_EQ(l_SenceProc1(frm), 0);
        const scripted::Call c = lastCall("SetParamforPictEx");
        EXPECT_EQ(c.text, sFolder() + "/FILM/NP_T4.dat");
        EXPECT_EQ(std::vector<int32_t>({c.a, c.b, c.c}), std::vector<int32_t>({lCount, 12, 34})) << "mode " << lMode;
        EXPECT_EQ(std::tuple(App.g_lPictCount, App.g_lPictNo, frm.f.m_lLoadFpgaFileFlg), std::tuple(lCount, 0, 0));
        EXPECT_EQ(scripted::sTraceOf({"reset"}), "reset off; reset on");  // RESET is locked meanwhile
    }
}

TEST_F(Sensor, EachStepThatFailsStopsTheRestWithItsMessage) {
    // In preparation (false) or retrieval (true): the call that fails, how
    // many calls were made (so also their order), what the operator is told.
    using Row = std::tuple<bool, std::string, size_t, std::string>;
    for (const auto& [booRetrieval, sCall, nCalls, sMessage] :
         std::vector<Row>{{false, "ResetAll", 1, "RESET error occurred."},
                          {false, "SetParamforPictEx", 2, "Exposure Control Parameter Setting Error occurred."},
                          {false, "SetWaitXExpose", 3, "X-ray Waiting Condition Setting Error occurred."},
                          {true, "ResetAll", 1, "RESET error occurred."},
                          {true, "GetImageDataEx", 2, "Image Data Reading Error occurred."},
                          {true, "SetDeviceFree", 3, "Initialization error occurred."},
                          {true, "ImageProcessingEx", 4, "Image Treatment Error occurred."},
                          {true, "SaveBitmap", 5, "Image Treatment Error occurred."}}) {
        vFresh();
        frm.booReset = false;  // locked before: stays locked
        unit().status[sCall] = 2;
        EXPECT_EQ(booRetrieval ? l_GetImageProc(frm, sTempFolder()) : l_SenceProc1(frm), 2);
        EXPECT_EQ(std::pair(callNames().size(), callNames().back()), std::pair(nCalls, sCall));
        EXPECT_EQ(sBox(), sMessage);
        EXPECT_EQ(scripted::sTraceOf({"busy", "pointer", "reset"}),
                  booRetrieval ? "busy; pointer" : "reset off; reset off");
        EXPECT_FALSE(booImageSaved());
    }
}

// The working folder is made and emptied in the console's runs; here its
// name, and what the image is saved from and under.
TEST_F(Sensor, RetrievalSavesFromAFreshDataFileUnderTheTrimmedNameInTheNamedFolder) {
    EXPECT_EQ(sWorkFolderPath(42, QDateTime(QDate(2015, 3, 3), QTime(14, 7, 9))), sTempFolder() + "/$42$20150303140709$");
    zyrtest::writeBytes(sTempFolder() + "/ZYR_PAN_WEQ.DAT", "old");  // of an earlier run: deleted first
    App.g_lPictNo = 2;
    App.g_sSaveFileName = "  /data/img 1.bmp  ";
    EXPECT_EQ(l_GetImageProc(frm, sTempFolder()), 0);
    EXPECT_FALSE(zyrtest::exists(sTempFolder() + "/ZYR_PAN_WEQ.DAT"));
    EXPECT_EQ(lastCall("GetImageDataEx").a, 2);
    EXPECT_EQ(lastCall("SaveBitmap").text, sTempFolder() + "/ZYR_PAN_WEQ.DAT|/data/img 1.bmp");
    EXPECT_EQ(frm.states, std::vector<int32_t>{13});
}

TEST_F(Sensor, TheCaptureWatchPollsMoreThan500msApartAndSurvivesTheCounterWrap) {
    l_CheckPictProc(frm, true);
    for (const auto& [ulTick, iCalls] : std::vector<std::pair<uint32_t, int>>{
             {1500, 0}, {1501, 1}, {2001, 1}, {2002, 2}, {5, 2} /* wrapped: restarts */, {505, 2}, {506, 3}}) {
        clock_.set(ulTick);
        EXPECT_EQ(l_CheckPictProc(frm, false), 0);
        EXPECT_EQ(scripted::iCalls("CheckPictStatus"), iCalls) << "at " << ulTick;
    }
}

TEST_F(Sensor, TheCaptureWatchCountsTheImagesAsTheXRayEnds) {
    // The mode, the image count, the state, the images and half done before;
    // the sensor's X-ray byte at each poll (7: the poll fails); the states
    // reached, the images and half done after.
    using Row = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, std::vector<uint8_t>, std::vector<int32_t>,
                           int32_t, int32_t>;
    for (const auto& [lDefMode, lCount, lStat, lPictNo, lHalf, bytes, states, lPictNoAfter, lHalfAfter] :
         std::vector<Row>{{0, 1, 10, 0, 0, {0, 1, 1, 0}, {10, 11, 12}, 1, 0},
                          {3, 2, 10, 0, 0, {1, 0, 1, 0}, {10, 11, 12}, 2, 0},
                          // Four images: back to the origin after the second.
                          {2, 4, 10, 0, 0, {1, 0, 1, 0}, {10, 11, 3}, 2, 1},
                          {2, 4, 10, 2, 1, {1, 0, 1, 0}, {10, 11, 12}, 4, 1},
                          {0, 1, 7, 0, 0, {1, 0}, {7}, 0, 0},  // not before the unit's "d1"
                          // A failed poll keeps the byte before it.
                          {0, 1, 10, 0, 0, {1, 7, 0}, {10, 11, 12}, 1, 0}}) {
        vFresh();
        App.g_lDefMode = lDefMode;
        App.g_lPictCount = lCount;
        App.g_lPictNo = lPictNo;
        App.g_lPictHalf = lHalf;
        frm.vSetStat(lStat);
        l_CheckPictProc(frm, true);
        for (uint8_t b : bytes) {
            unit().queued["CheckPictStatus"] = {b == 7 ? 7 : 0};
            unit().pictBytes = {b};
            clock_.advance(501);
            EXPECT_EQ(l_CheckPictProc(frm, false), b == 7 ? 7 : 0);
        }
        EXPECT_EQ(frm.states, states);
        EXPECT_EQ(std::make_pair(App.g_lPictNo, App.g_lPictHalf), std::make_pair(lPictNoAfter, lHalfAfter));
        const bool booFailed = std::find(bytes.begin(), bytes.end(), 7) != bytes.end();
        EXPECT_EQ(sBox(), booFailed ? "Exposure Condition Confirmation Error occurred." : "");
    }
}

}  // namespace
