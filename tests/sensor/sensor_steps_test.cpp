#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/app_state.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/tick_clock.h"
#include "resources/string_table.h"
#include "sensor/sensor_steps.h"
#include "tests/sensor/fake_lib.h"
#include "tests/sensor/fake_main.h"

using fakelib::calls;
using fakelib::status;

namespace {

class SensorSteps : public ::testing::Test {
protected:
    platform::FakeClock clock{10000};
    FakeMain frm;
    std::vector<platform::MsgBoxCall> boxes;

    void SetUp() override {
        vResetAppState();
        vResetCaptureWatch();
        vSetResLanguage(1);
        fakelib::vReset();
        vSetZyrLib(fakelib::table());
        platform::vSetClock(&clock);
        platform::vSetProgramFolder("/opt/unit");
        platform::vSetMsgBoxResponder([this](const platform::MsgBoxCall& c) {
            boxes.push_back(c);
            return platform::IDOK;
        });
    }
    void TearDown() override {
        platform::vSetClock(nullptr);
        platform::vSetProgramFolder("");
        platform::vSetMsgBoxResponder({});
    }
    std::string lastBox() const { return boxes.empty() ? "" : boxes.back().text; }
};

// --- Preparation -----------------------------------------------------------

TEST_F(SensorSteps, ModuleInitPassesSettingsPathAndFlagAndClearsItOnSuccess) {
    frm.f.m_lLoadFpgaFileFlg = 1;
    EXPECT_EQ(l_SensMduInitProc(frm), 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].name, "SetSensMduInit");
    EXPECT_EQ(calls[0].text, "/opt/unit/ZYR_PAN_WEQ.ini");
    EXPECT_EQ(calls[0].a, 1);
    EXPECT_EQ(frm.f.m_lLoadFpgaFileFlg, 0);
    EXPECT_TRUE(frm.booTimer);
    EXPECT_TRUE(boxes.empty());
    // Buttons stay disabled, the pointer comes back.
    EXPECT_EQ(frm.log.front(), "disable");
    EXPECT_EQ(frm.log.back(), "pointer");
}

TEST_F(SensorSteps, FailedModuleInitKeepsFlagStopsTimerAndShowsCode) {
    frm.f.m_lLoadFpgaFileFlg = 1;
    status["SetSensMduInit"] = 5;
    EXPECT_EQ(l_SensMduInitProc(frm), 5);
    EXPECT_EQ(frm.f.m_lLoadFpgaFileFlg, 1);
    EXPECT_FALSE(frm.booTimer);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Initialization error occurred.", 0), 0u);
    EXPECT_NE(boxes[0].text.find('5'), std::string::npos);
    EXPECT_EQ(boxes[0].style, 64u);
}

TEST_F(SensorSteps, FolderEndingWithSlashGetsNoSecondOne) {
    platform::vSetProgramFolder("/opt/unit/");
    App.g_sFilmName = "NP_P1_A";
    std::string s;
    vGetFilmFilePath(s);
    EXPECT_EQ(s, "/opt/unit/FILM/NP_P1_A.dat");
    l_SensMduInitProc(frm);
    EXPECT_EQ(calls[0].text, "/opt/unit/ZYR_PAN_WEQ.ini");
}

struct CountCase {
    int32_t lMode;
    int32_t lCount;
};
class PictCount : public SensorSteps, public ::testing::WithParamInterface<CountCase> {};

TEST_P(PictCount, ModeDecidesImageCountGivenToTheLibrary) {
    App.g_lDefMode = GetParam().lMode;
    App.g_sFilmName = "NP_T4";
    App.g_lTimeStep = 12;
    App.g_lTimeLag = 34;
    App.g_lPictNo = 3;
    frm.f.m_lLoadFpgaFileFlg = 1;
    EXPECT_EQ(l_SenceProc1(frm), 0);
    EXPECT_EQ(fakelib::names(),
              (std::vector<std::string>{"ResetAll", "SetParamforPictEx", "SetWaitXExpose"}));
    EXPECT_EQ(calls[1].text, "/opt/unit/FILM/NP_T4.dat");
    EXPECT_EQ(calls[1].a, GetParam().lCount);
    EXPECT_EQ(calls[1].b, 12);
    EXPECT_EQ(calls[1].c, 34);
    EXPECT_EQ(App.g_lPictCount, GetParam().lCount);
    EXPECT_EQ(App.g_lPictNo, 0);
    EXPECT_EQ(frm.f.m_lLoadFpgaFileFlg, 0);
}
INSTANTIATE_TEST_SUITE_P(Modes, PictCount,
                         ::testing::Values(CountCase{0, 1}, CountCase{1, 1}, CountCase{2, 4},
                                           CountCase{3, 2}, CountCase{5, 1}));

struct PrepFail {
    const char* fn;
    const char* msg;
    size_t nCalls;
};
class PrepFailure : public SensorSteps, public ::testing::WithParamInterface<PrepFail> {};

TEST_P(PrepFailure, FirstFailureStopsWithItsMessageAndResetButtonIsGivenBack) {
    status[GetParam().fn] = -95;
    frm.booReset = false;  // was disabled before: stays so
    EXPECT_EQ(l_SenceProc1(frm), -95);
    EXPECT_EQ(calls.size(), GetParam().nCalls);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(GetParam().msg, 0), 0u) << boxes[0].text;
    EXPECT_FALSE(frm.booReset);

    fakelib::vReset();
    boxes.clear();
    status[GetParam().fn] = 3;
    frm.booReset = true;
    EXPECT_EQ(l_SenceProc1(frm), 3);
    EXPECT_TRUE(frm.booReset);
    EXPECT_EQ(frm.log.back(), "reset on");
}
INSTANTIATE_TEST_SUITE_P(
    Steps, PrepFailure,
    ::testing::Values(PrepFail{"ResetAll", "RESET error occurred.", 1},
                      PrepFail{"SetParamforPictEx", "Exposure Control Parameter Setting Error occurred.", 2},
                      PrepFail{"SetWaitXExpose", "X-ray Waiting Condition Setting Error occurred.", 3}));

// --- Capture watch -----------------------------------------------------------

TEST_F(SensorSteps, PollIsPacedAt500msAndSurvivesTickWrap) {
    l_CheckPictProc(frm, true);
    clock.advance(500);
    EXPECT_EQ(l_CheckPictProc(frm, false), 0);
    EXPECT_TRUE(calls.empty());
    clock.advance(1);
    l_CheckPictProc(frm, false);
    EXPECT_EQ(calls.size(), 1u);

    // The counter wraps below the last poll: no call, and the wait restarts.
    clock.set(5);
    l_CheckPictProc(frm, false);
    EXPECT_EQ(calls.size(), 1u);
    clock.set(505);
    l_CheckPictProc(frm, false);
    EXPECT_EQ(calls.size(), 1u);
    clock.set(506);
    l_CheckPictProc(frm, false);
    EXPECT_EQ(calls.size(), 2u);
}

namespace {
// Polls once per byte of the script, 501 ms apart.
void vPollBytes(SensorSteps*, platform::FakeClock& clock, FakeMain& frm, const std::vector<uint8_t>& bytes) {
    fakelib::pictBytes.insert(fakelib::pictBytes.end(), bytes.begin(), bytes.end());
    for (size_t i = 0; i < bytes.size(); ++i) {
        clock.advance(501);
        l_CheckPictProc(frm, false);
    }
}
}  // namespace

TEST_F(SensorSteps, SingleImageReachesTransferOnItsEnd) {
    App.g_lPictCount = 1;
    frm.vSetStat(10);
    l_CheckPictProc(frm, true);
    vPollBytes(this, clock, frm, {0, 1, 1, 0});
    EXPECT_EQ(frm.states, (std::vector<int32_t>{10, 11, 12}));
    EXPECT_EQ(App.g_lPictNo, 1);
}

TEST_F(SensorSteps, FourImageExposureGoesBackToOriginAfterTheSecond) {
    App.g_lDefMode = 2;
    App.g_lPictCount = 4;
    frm.vSetStat(10);
    l_CheckPictProc(frm, true);
    vPollBytes(this, clock, frm, {1, 0, 1, 0});
    EXPECT_EQ(frm.states, (std::vector<int32_t>{10, 11, 3}));
    EXPECT_EQ(App.g_lPictNo, 2);
    EXPECT_EQ(App.g_lPictHalf, 1);
    // The second half, after the second READY and the unit's "d1".
    frm.vSetStat(10);
    l_CheckPictProc(frm, true);
    vPollBytes(this, clock, frm, {1, 0, 1, 0});
    EXPECT_EQ(App.g_lPictNo, 4);
    EXPECT_EQ(frm.states, (std::vector<int32_t>{10, 11, 3, 10, 11, 12}));
}

TEST_F(SensorSteps, FallingByteOutsideExposureCountsNothing) {
    App.g_lPictCount = 1;
    frm.vSetStat(7);
    l_CheckPictProc(frm, true);
    vPollBytes(this, clock, frm, {1, 0});
    EXPECT_EQ(App.g_lPictNo, 0);
    EXPECT_EQ(frm.states, (std::vector<int32_t>{7}));
}

TEST_F(SensorSteps, FailedPollShowsMessageAndKeepsLastByte) {
    App.g_lPictCount = 1;
    frm.vSetStat(10);
    l_CheckPictProc(frm, true);
    vPollBytes(this, clock, frm, {1});
    EXPECT_EQ(App.g_lStat, 11);
    status["CheckPictStatus"] = 7;
    clock.advance(501);
    EXPECT_EQ(l_CheckPictProc(frm, false), 7);
    EXPECT_EQ(lastBox().rfind("Exposure Condition Confirmation Error occurred.", 0), 0u);
    status.clear();
    // The byte before the failure was 1: a 0 now ends the image.
    vPollBytes(this, clock, frm, {0});
    EXPECT_EQ(App.g_lPictNo, 1);
}

// --- Retrieval ---------------------------------------------------------------

TEST_F(SensorSteps, RetrievalRunsItsStepsInOrderWithTrimmedName) {
    App.g_lPictNo = 1;
    App.g_sSaveFileName = "  /data/img 1.bmp  ";
    fakelib::value1 = 2900;
    fakelib::value2 = 1400;
    EXPECT_EQ(l_GetImageProc(frm, "/tmp/$1$20260101000000$"), 0);
    EXPECT_EQ(fakelib::names(), (std::vector<std::string>{"ResetAll", "GetImageDataEx", "SetDeviceFree",
                                                           "ImageProcessingEx", "SaveBitmap"}));
    EXPECT_EQ(calls[1].a, 1);
    EXPECT_EQ(calls[3].text, "/tmp/$1$20260101000000$/ZYR_PAN_WEQ.DAT");
    EXPECT_EQ(calls[3].a, 0);
    EXPECT_EQ(calls[3].b, 0);
    EXPECT_EQ(calls[4].text, "/tmp/$1$20260101000000$/ZYR_PAN_WEQ.DAT|/data/img 1.bmp");
    EXPECT_EQ(calls[4].a, 2900);
    EXPECT_EQ(calls[4].b, 1400);
    EXPECT_EQ(calls[4].c, 0);
    EXPECT_EQ(frm.states, (std::vector<int32_t>{13}));
    EXPECT_TRUE(booImageSaved());
    EXPECT_EQ(frm.log.front(), "busy");
    EXPECT_EQ(frm.log.back(), "pointer");
}

TEST_F(SensorSteps, FailedReadNeverReleasesDeviceAndRestoresPointer) {
    status["GetImageDataEx"] = -96;
    EXPECT_EQ(l_GetImageProc(frm, "/w"), -96);
    EXPECT_EQ(fakelib::names(), (std::vector<std::string>{"ResetAll", "GetImageDataEx"}));
    EXPECT_EQ(lastBox().rfind("Image Data Reading Error occurred.", 0), 0u);
    EXPECT_EQ(frm.log.back(), "pointer");
    EXPECT_FALSE(booImageSaved());
    EXPECT_TRUE(frm.states.empty());
}

TEST_F(SensorSteps, EachRetrievalFailureShowsItsStepMessage) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"ResetAll", "RESET error occurred."},
        {"SetDeviceFree", "Initialization error occurred."},
        {"ImageProcessingEx", "Image Treatment Error occurred."},
        {"SaveBitmap", "Image Treatment Error occurred."}};
    for (const auto& [fn, msg] : cases) {
        fakelib::vReset();
        vSetZyrLib(fakelib::table());
        boxes.clear();
        status[fn] = 2;
        EXPECT_EQ(l_GetImageProc(frm, "/w"), 2) << fn;
        ASSERT_EQ(boxes.size(), 1u) << fn;
        EXPECT_EQ(boxes[0].text.rfind(msg, 0), 0u) << fn << ": " << boxes[0].text;
        EXPECT_EQ(frm.log.back(), "pointer");
    }
}

TEST_F(SensorSteps, RetrievalDeletesAnOldDataFileFirst) {
    QTemporaryDir dir;
    const std::string sDat = dir.path().toStdString() + "/ZYR_PAN_WEQ.DAT";
    QFile f(QString::fromStdString(sDat));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    l_GetImageProc(frm, dir.path().toStdString());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(sDat)));
}

// --- Working folder ----------------------------------------------------------

TEST_F(SensorSteps, WorkFolderNameUses24HourClockAndOneSlash) {
    qputenv("TMPDIR", "/var/tmpx");
    const QDateTime t(QDate(2015, 3, 3), QTime(14, 7, 9));
    EXPECT_EQ(sWorkFolderPath(42, t), "/var/tmpx/$42$20150303140709$");
    qputenv("TMPDIR", "/var/tmpx/");
    EXPECT_EQ(sWorkFolderPath(42, t), "/var/tmpx/$42$20150303140709$");
    qunsetenv("TMPDIR");
}

TEST_F(SensorSteps, WorkFolderIsMadeAndRemovedLeavingOtherFiles) {
    QTemporaryDir tmp;
    qputenv("TMPDIR", tmp.path().toUtf8());
    std::string sWork;
    vMakeWorkFolder(7, sWork);
    ASSERT_FALSE(sWork.empty());
    EXPECT_TRUE(QDir(QString::fromStdString(sWork)).exists());
    QFile a(QString::fromStdString(sWork + "/ZYR_PAN_WEQ.DAT"));
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    a.close();
    QFile b(QString::fromStdString(sWork + "/NODOT"));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.close();
    QFile bmp(tmp.path() + "/image.bmp");
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
    bmp.close();
    vRemoveWorkFolder(sWork);
    EXPECT_FALSE(QDir(QString::fromStdString(sWork)).exists());
    EXPECT_TRUE(bmp.exists());
    qunsetenv("TMPDIR");
}

TEST_F(SensorSteps, UnmakeableWorkFolderLeavesPathEmpty) {
    qputenv("TMPDIR", "/nonexistent-parent/child");
    std::string sWork = "x";
    vMakeWorkFolder(7, sWork);
    EXPECT_TRUE(sWork.empty());
    vRemoveWorkFolder(sWork);  // nothing to do, nothing breaks
    qunsetenv("TMPDIR");
}

}  // namespace
