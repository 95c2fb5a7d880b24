// Whole exposures on our own library: the embedded virtual unit and sensor
// linked in, driven by the same fake clock as the console. The bitmap that
// ends up under SaveFileName is checked byte by byte and by an independent
// reader when one is on the machine.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <cstdlib>
#include <set>

#include "app/app_state.h"
#include "platform/profile_string.h"
#include "platform/single_instance.h"
#include "sensor/sensor_steps.h"
#include "sensor/zyr_lib.h"
#include "sim/library.h"
#include "tests/console/console_fixture.h"

namespace {

ZyrLib simLib() {
    ZyrLib l;
    l.Init = ZyrWeq_Init;
    l.SetCommInit = ZyrWeq_SetCommInit;
    l.SetSensMduInit = ZyrWeq_SetSensMduInit;
    l.ResetAll = ZyrWeq_ResetAll;
    l.SetParamforPictEx = ZyrWeq_SetParamforPictEx;
    l.SetWaitXExpose = ZyrWeq_SetWaitXExpose;
    l.CheckPictStatus = ZyrWeq_CheckPictStatus;
    l.GetImageDataEx = ZyrWeq_GetImageDataEx;
    l.SetDeviceFree = ZyrWeq_SetDeviceFree;
    l.ImageProcessingEx = ZyrWeq_ImageProcessingEx;
    l.SaveBitmap = ZyrWeq_SaveBitmap;
    l.Ether232Send = ZyrWeq_Ether232Send;
    l.Ether232Recv = ZyrWeq_Ether232Recv;
    return l;
}

uint32_t ulLe32(const QByteArray& b, int at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

class SimExposure : public ConsoleTest {
protected:
    std::string sImage_;
    std::set<int32_t> seen_;

    void SetUp() override {
        ConsoleTest::SetUp();
        sim::vResetLibrary();
        vSetZyrLib(simLib());
        const char* sStage = std::getenv("ZYR_STAGE_DIR");
        if (sStage == nullptr || !QDir(QString(sStage) + "/FILM").exists()) GTEST_SKIP() << "no staged FILM folder";
        QDir().mkpath(progDir_->path() + "/FILM");
        for (const char* s : {"NP_P1_A.dat", "NP_P1_C.dat", "NP_T4.dat"})
            ASSERT_TRUE(QFile::copy(QString(sStage) + "/FILM/" + s, progDir_->path() + "/FILM/" + s));
        sImage_ = tempDir_->path().toStdString() + "/out/exposure.bmp";
        QDir().mkpath(tempDir_->path() + "/out");
        vSetKey("SaveFileName", " " + sImage_ + " ");
    }
    void TearDown() override {
        frm_.reset();
        sim::vResetLibrary();
        ConsoleTest::TearDown();
    }

    // Settings of the virtual unit and sensor: quick, but in the order a real unit keeps.
    void vWriteUnitKeys(const std::map<std::string, std::string>& extra = {}) {
        std::map<std::string, std::string> keys = {
            {"AnswerDelay", "20"}, {"MoveTime", "1000"},    {"ReadyTime", "200"}, {"HandSwitchDelay", "300"},
            {"XrayDelay", "100"},  {"XrayOn", "400"},       {"XrayGap", "200"},   {"CoolTime", "0"},
            {"ImageBinning", "4"}, {"ImageSeed", "7"},   {"Link", "sim"}};
        for (const auto& kv : extra) keys[kv.first] = kv.second;
        for (const auto& kv : keys)
            ASSERT_NE(platform::WritePrivateProfileStringA("ZyrPan2", kv.first.c_str(), kv.second.c_str(),
                                                           sIniPath().c_str()),
                      0);
    }

    frmMain& connect(int16_t iMode, const std::map<std::string, std::string>& extra = {}) {
        vSetKey("DefMode", std::to_string(iMode));
        frmMain& frm = load();
        vWriteUnitKeys(extra);
        frm.Form_Activate();
        frm.tmStart->setInterval(3600 * 1000);
        EXPECT_TRUE(booTicksUntil([] { return App.g_lStat == 0 && App.g_lMoveKind != 0; }, 3000));
        return frm;
    }

    // Ticks (10 ms each) until pred holds or the window closed; false when time ran out.
    bool booTicksUntil(const std::function<bool()>& pred, int iMaxTicks) {
        for (int i = 0; i < iMaxTicks; ++i) {
            if (pred()) return true;
            if (!frm_->isLoaded()) return false;
            vTicks(1);
            seen_.insert(App.g_lStat);
        }
        return pred();
    }

    void vExpectBitmap(int iMinWidth) {
        QFile f(QString::fromStdString(sImage_));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "no bitmap at " << sImage_;
        const QByteArray b = f.readAll();
        ASSERT_GT(b.size(), 1078);
        EXPECT_EQ(b.left(2), QByteArray("BM"));
        EXPECT_EQ(ulLe32(b, 2), static_cast<uint32_t>(b.size()));
        const uint32_t w = ulLe32(b, 18), h = ulLe32(b, 22);
        EXPECT_GE(static_cast<int>(w), iMinWidth);
        EXPECT_EQ(static_cast<uint8_t>(b[28]), 8);  // bits per pixel
        EXPECT_EQ(ulLe32(b, 10), 1078u);            // 256-entry palette before the rows
        EXPECT_EQ(static_cast<uint32_t>(b.size()), 1078u + ((w + 3) / 4 * 4) * h);
        // Only the bitmap is left of the run: the working folder is gone.
        EXPECT_EQ(QDir(tempDir_->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"out"});

        QProcess identify;
        identify.start("identify", {"-format", "%w %h %[type] %z", QString::fromStdString(sImage_)});
        if (!identify.waitForFinished(20000) || identify.exitCode() != 0) return;  // no independent reader here
        EXPECT_EQ(identify.readAllStandardOutput().trimmed().toStdString(),
                  std::to_string(w) + " " + std::to_string(h) + " Grayscale 8");
    }
};

TEST_F(SimExposure, PanoramaAdultAndChildEachLeaveOneBitmap) {
    for (int16_t iMode : {0, 1}) {
        SCOPED_TRACE(iMode);
        frmMain& frm = connect(iMode);
        frm.cmdStart_Click();
        EXPECT_FALSE(booTicksUntil([] { return false; }, 3000)) << "the run did not end";
        EXPECT_TRUE(seen_.count(10) && seen_.count(11)) << "no exposure states";
        EXPECT_TRUE(booImageSaved());
        vExpectBitmap(300);
        QFile::remove(QString::fromStdString(sImage_));
        frm_.reset();
        seen_.clear();
        vResetCaptureWatch();
        vResetAppState();
        sim::vResetLibrary();
        vSetZyrLib(simLib());
        platform::vReleaseInstance();
    }
}

TEST_F(SimExposure, TmjPassesTheOriginAndASecondReady) {
    frmMain& frm = connect(2);
    frm.cmdStart_Click();
    ASSERT_TRUE(booTicksUntil([] { return App.g_lStat == 3; }, 3000));
    EXPECT_EQ(App.g_lPictNo, 2);
    EXPECT_EQ(App.g_lPictHalf, 1);
    // The unit is back at its origin: READY may be pressed for the second half.
    ASSERT_TRUE(booTicksUntil([] { return App.g_lStat == 0; }, 3000));
    frm.cmdStart_Click();
    EXPECT_FALSE(booTicksUntil([] { return false; }, 3000)) << "the run did not end";
    EXPECT_TRUE(booImageSaved());
    vExpectBitmap(300);
}

TEST_F(SimExposure, InterruptedExposureAnsweredYesGivesTheImagesTakenSoFar) {
    // The operator lets go of the hand switch after the first TMJ image.
    frmMain& frm = connect(2, {{"XrayGap", "3000"}, {"HandSwitchHold", "1500"}});
    frm.cmdStart_Click();
    EXPECT_FALSE(booTicksUntil([] { return false; }, 3000)) << "the run did not end";
    const auto texts = boxTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Exposure was interrupted.\nDo you generate image?");
    EXPECT_TRUE(booImageSaved());
    vExpectBitmap(100);
}

TEST_F(SimExposure, InterruptedExposureAnsweredNoLeavesNoFile) {
    lBoxAnswer_ = platform::IDNO;
    frmMain& frm = connect(2, {{"XrayGap", "3000"}, {"HandSwitchHold", "1500"}});
    frm.cmdStart_Click();
    EXPECT_FALSE(booTicksUntil([] { return false; }, 3000)) << "the run did not end";
    EXPECT_FALSE(booImageSaved());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(sImage_)));
    EXPECT_EQ(QDir(tempDir_->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"out"});
}

TEST_F(SimExposure, LibraryFailureShowsItsMessageAndLeavesNoStrayFile) {
    frmMain& frm = connect(0, {{"Fail_GetImageDataEx", "-95"}});
    frm.cmdStart_Click();
    EXPECT_FALSE(booTicksUntil([] { return false; }, 3000)) << "the run did not end";
    const auto texts = boxTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().rfind("Image Data Reading Error occurred.", 0), 0u) << texts.back();
    EXPECT_NE(texts.back().find("-95"), std::string::npos);
    EXPECT_FALSE(booImageSaved());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(sImage_)));
    EXPECT_EQ(QDir(tempDir_->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"out"});
}

}  // namespace
