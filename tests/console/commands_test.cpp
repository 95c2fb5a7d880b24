// READY, RESET, Close, Test Mode, the service keys and the end of the window.
#include <gmock/gmock.h>

#include <QDir>

#include "app/app_state.h"
#include "tests/console/console_fixture.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(ConsoleTest, ReadyRunsTwiceAndSendsTheExposureCommand) {
    frmMain& frm = connectIdle();
    fake::unit().sent.clear();
    fake::unit().replies["T1"] = {};
    frm.cmdStart->click();
    EXPECT_TRUE(frm.f.m_booAutoStart);
    EXPECT_THAT(fake::unit().sent, ElementsAre("c1"));
    vTicks(1);  // "r1": the second run prepares the sensor and starts
    // Mode 0 with 70 kV and 4 mA goes out with the child code.
    EXPECT_THAT(fake::unit().sent, ElementsAre("c1", "T1", "NP_P1_C 70 4"));
    EXPECT_EQ(App.g_sFilmName, "NP_P1_A");
    EXPECT_EQ(fake::unit().calls["SetParamforPictEx"], 1);
    EXPECT_FALSE(frm.f.m_booAutoStart);
    EXPECT_EQ(App.g_lStat, 7);
    EXPECT_TRUE(frm.FrameMode->enabled());  // the timer runs again
    EXPECT_FALSE(frm.cmdStart->visible());  // the start clip stands in its place
}

TEST_F(ConsoleTest, ReadyDoesNothingWhileReceivingOrWithoutMode) {
    frmMain& frm = connectIdle();
    fake::unit().sent.clear();
    App.g_booInRecv = true;
    frm.cmdStart_Click();
    App.g_booInRecv = false;
    App.g_lDefMode = -1;
    frm.cmdStart_Click();
    EXPECT_TRUE(fake::unit().sent.empty());
    EXPECT_FALSE(frm.f.m_booAutoStart);
}

TEST_F(ConsoleTest, ReadyWhoseStatusRequestFailsClosesTheConsole) {
    frmMain& frm = connectIdle();
    fake::unit().booAck = false;
    frm.cmdStart_Click();
    EXPECT_THAT(boxes_.back().text, HasSubstr("Communication with equipment is unavailable."));
    EXPECT_THAT(boxes_.back().text, HasSubstr("10003"));
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(ConsoleTest, ResetSendsByStateAndIsIgnoredWhileReceiving) {
    frmMain& frm = connectIdle();
    fake::unit().sent.clear();
    App.g_booInRecv = true;
    frm.cmdReset_Click();
    EXPECT_TRUE(fake::unit().sent.empty());
    App.g_booInRecv = false;
    frm.cmdReset->click();
    EXPECT_THAT(fake::unit().sent, ElementsAre("r1"));
    EXPECT_EQ(App.g_lStat, 3);
}

TEST_F(ConsoleTest, CloseWithoutImagesClosesAtOnce) {
    frmMain& frm = connectIdle();
    const std::string sWork = frm.f.m_sWorkPath;
    const size_t nBoxes = boxes_.size();
    frm.cmdClose->click();
    EXPECT_EQ(boxes_.size(), nBoxes);
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_FALSE(frm.tmStart->enabled());
    EXPECT_FALSE(QDir(QString::fromStdString(sWork)).exists());
    // The device is released: reset, then free.
    EXPECT_EQ(fake::unit().calls["ResetAll"], 2);
    EXPECT_EQ(fake::unit().calls["SetDeviceFree"], 1);
}

TEST_F(ConsoleTest, CloseWithPendingImagesAndNoDiscardsThem) {
    frmMain& frm = connectIdle();
    App.g_lPictNo = 2;
    lBoxAnswer_ = platform::IDNO;
    frm.cmdClose_Click();
    EXPECT_EQ(boxes_.back().text, "Exposure was interrupted.\nDo you generate image?");
    EXPECT_EQ(boxes_.back().style, platform::MB_YESNO_QUESTION_DEFBUTTON2);
    EXPECT_EQ(fake::unit().calls["GetImageDataEx"], 0);
    EXPECT_EQ(App.g_lPictNo, 0);
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(ConsoleTest, CloseWithPendingImagesAndYesRetrievesThem) {
    frmMain& frm = connectIdle();
    App.g_lPictNo = 2;
    frm.cmdClose_Click();
    EXPECT_EQ(fake::unit().calls["GetImageDataEx"], 1);
    EXPECT_EQ(fake::unit().sLastBitmap, "image.bmp");
    EXPECT_EQ(App.g_lStat, 13);
    EXPECT_EQ(App.g_lPictNo, 0);
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(ConsoleTest, TestModeButtonOpensTheEquipmentDialog) {
    frmMain& frm = connectIdle();
    int iShown = 0;
    vRegisterTestDialog([&](ui::Form& owner) {
        ++iShown;
        EXPECT_EQ(&owner, &frm);
    });
    frm.cmdDebug->click();  // hidden outside test mode
    EXPECT_EQ(iShown, 0);
    frm.keyDown('J', ui::vbCtrlMask | ui::vbAltMask);
    EXPECT_TRUE(frm.cmdDebug->visible());
    frm.cmdDebug->click();
    EXPECT_EQ(iShown, 1);
    vRegisterTestDialog(nullptr);
}

TEST_F(ConsoleTest, ServiceKeysNeedCtrlAndAlt) {
    frmMain& frm = connectIdle();
    fake::unit().sent.clear();
    frm.keyDown('J', ui::vbCtrlMask);
    frm.keyDown('J', ui::vbAltMask);
    EXPECT_TRUE(fake::unit().sent.empty());
    frm.keyDown('J', ui::vbCtrlMask | ui::vbAltMask);
    EXPECT_THAT(fake::unit().sent, ElementsAre("t1"));
    EXPECT_EQ(App.g_lTestMode, 1);
    EXPECT_EQ(App.g_lVolt, 0);
    EXPECT_TRUE(frm.picVoltH->picture().isNull());
}

TEST_F(ConsoleTest, UnloadInImageProcessingLeavesTheLibraryAlone) {
    frmMain& frm = connectIdle();
    frm.vSetStat(13);
    const int iReset = fake::unit().calls["ResetAll"];
    frm.vUnload();
    EXPECT_EQ(fake::unit().calls["ResetAll"], iReset);
    EXPECT_EQ(fake::unit().calls["SetDeviceFree"], 0);
}

TEST_F(ConsoleTest, UnloadDuringReconnectionTakesTheInitializingWindowAlong) {
    frmMain& frm = connectIdle();
    fake::unit().booLinkLost = true;
    fake::unit().commInitResults = {-2};
    vTicks(1);
    ASSERT_NE(frm.initWindow(), nullptr);
    frm.cmdClose->click();
    EXPECT_EQ(frm.initWindow(), nullptr);
    EXPECT_FALSE(frm.isLoaded());
}

TEST_F(ConsoleTest, UnloadAfterFailedLoadDoesNotTouchTheLibrary) {
    frmMain& frm = load();
    frm.f.m_BooLoad = 0;
    frm.vUnload();
    EXPECT_EQ(fake::unit().calls["ResetAll"], 0);
    EXPECT_EQ(fake::unit().calls["SetDeviceFree"], 0);
}
