// The main window's initialisation and the initializing window.
#include <gmock/gmock.h>

#include <QDir>
#include <QRegularExpression>

#include "app/app_state.h"
#include "app/frm_initializing.h"
#include "tests/console/console_fixture.h"
#include "ui/look.h"

using ::testing::ElementsAre;

TEST_F(ConsoleTest, InitialisationPutsTheConsoleIdleWithTheStartModesValues) {
    vSetKey("DefMode", "1");
    frmMain& frm = load();
    EXPECT_EQ(frm.f.m_BooLoad, -1);
    EXPECT_EQ(App.g_lStat, 0);
    EXPECT_EQ(App.g_lMoveKind, 0);
    EXPECT_EQ(frm.f.m_lModeIdx, 1);
    EXPECT_EQ(frm.f.m_lUnitPos, 1);
    EXPECT_EQ(frm.f.m_lLoadFpgaFileFlg, 1);
    EXPECT_FALSE(frm.f.m_booActivated);
    EXPECT_FALSE(frm.f.m_booAutoStart);
    EXPECT_EQ(frm.spnlStat->caption().value_or("?"), "");
    EXPECT_EQ(App.g_lVolt, 65);  // M1_Volt
    EXPECT_EQ(App.g_lElec, 2);   // M1_Elec
    EXPECT_TRUE(booShowsPicture(*frm.picVoltH, 12456));
    EXPECT_TRUE(booShowsPicture(*frm.picVoltL, 12455));
    EXPECT_TRUE(frm.picElecH->picture().isNull());
    EXPECT_TRUE(booShowsPicture(*frm.picElecL, 12452));
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[1], 15207));
    EXPECT_FALSE(frm.Animation2->visible());
    EXPECT_FALSE(frm.cmdDebug->visible());
    EXPECT_FALSE(frm.tmStart->isRunning());  // no polling before the unit answers
}

TEST_F(ConsoleTest, InitialisationTextsPicturesAndColours) {
    frmMain& frm = load();
    EXPECT_EQ(frm.lblVolt[0]->caption().value_or(""), "Tube voltage");
    EXPECT_EQ(frm.lblVolt[1]->caption().value_or(""), "kV");
    EXPECT_EQ(frm.lblElec[0]->caption().value_or(""), "Tube current ");
    EXPECT_EQ(frm.lblElec[1]->caption().value_or(""), "mA");
    EXPECT_EQ(frm.lbl1[0]->caption().value_or(""), "Exposure mode");
    EXPECT_EQ(frm.lbl1[1]->caption().value_or(""), "Equipment");
    EXPECT_EQ(frm.lblMode[0]->caption().value_or(""), "Panorama");
    EXPECT_EQ(frm.lblMode[1]->caption().value_or(""), "TMJ");
    for (ui::Control* c : {static_cast<ui::Control*>(frm.cmdStart), static_cast<ui::Control*>(frm.cmdReset),
                           static_cast<ui::Control*>(frm.cmdClose), static_cast<ui::Control*>(frm.cmdVoltUpDown[0])})
        EXPECT_EQ(c->caption().value_or("?"), "") << c->name();
    EXPECT_TRUE(booShowsPicture(*frm.cmdVoltUpDown[0], 12401));
    EXPECT_TRUE(booShowsPicture(*frm.cmdElecUpDown[0], 12401));
    EXPECT_TRUE(booShowsPicture(*frm.cmdVoltUpDown[1], 12404));
    EXPECT_TRUE(booShowsPicture(*frm.cmdElecUpDown[1], 12404));
    EXPECT_TRUE(booShowsPicture(*frm.cmdReset, 12425));
    EXPECT_TRUE(booShowsPicture(*frm.cmdClose, 12428));
    EXPECT_TRUE(booShowsPicture(*frm.cmdStart, 12421));
    EXPECT_TRUE(booShowsPicture(*frm.imgLogo, 15203));
    const int32_t alSize[3] = {12462, 12465, 12468};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(frm.cmdDefVolt[i]->tag(), "OFF");
        EXPECT_TRUE(booShowsPicture(*frm.cmdDefVolt[i], alSize[i]));
    }
    EXPECT_EQ(frm.imgMode[0]->tag(), "P1_A");
    EXPECT_EQ(frm.imgMode[1]->tag(), "P1_C");
    EXPECT_EQ(frm.imgMode[2]->tag(), "T4");
    EXPECT_EQ(frm.picVoltValue->backColor(), lColorDark());
    EXPECT_EQ(frm.picElecValue->backColor(), lColorDark());
    EXPECT_EQ(frm.cmdStart->backColor(), lColorLight());
    EXPECT_EQ(frm.spnlStat->backColor(), lColorLight());
    EXPECT_EQ(frm.spnlStat->foreColor(), 0);
    EXPECT_EQ(frm.backColor(), lColorLight());
    EXPECT_FALSE(frm.cmdStart->outline());
    // Plain push buttons lose two pixels each way; 3-D ones keep their size.
    EXPECT_EQ(frm.cmdReset->width(), 1290 - 30);
    EXPECT_EQ(frm.cmdClose->height(), 900 - 30);
    EXPECT_EQ(frm.cmdStart->width(), 2700);
}

TEST_F(ConsoleTest, LayoutKeepsTheOperatorsPlaces) {
    frmMain& frm = load();
    const struct {
        ui::Control* c;
        int32_t l, t;
    } rows[] = {{frm.imgLogo, 240, 120},        {frm.FrameMode, 240, 600},      {frm.lbl1[1], 6600, 240},
                {frm.imgMode[0], 780, 930},     {frm.imgMode[1], 780, 3120},    {frm.imgMode[2], 4020, 930},
                {frm.lblMode[0], 780, 420},     {frm.lblMode[1], 4020, 420},    {frm.cmdDefVolt[0], 9330, 720},
                {frm.cmdDefVolt[1], 10320, 720}, {frm.cmdDefVolt[2], 11310, 720}, {frm.lblVolt[0], 6600, 1700},
                {frm.picVoltValue, 6600, 2000}, {frm.cmdVoltUpDown[0], 8700, 2000}, {frm.cmdVoltUpDown[1], 8700, 2810},
                {frm.lblElec[0], 6600, 3800},   {frm.picElecValue, 6600, 4100}, {frm.cmdElecUpDown[0], 8700, 4100},
                {frm.cmdElecUpDown[1], 8700, 4910}, {frm.Frame1, 10320, 6000},  {frm.cmdReset, 10320, 8400},
                {frm.cmdClose, 11730, 8400},    {frm.cmdDebug, 6600, 8400},     {frm.Animation2, 240, 6000},
                {frm.spnlStat, 240, 10200}};
    for (const auto& r : rows) {
        EXPECT_EQ(r.c->left(), r.l) << r.c->name();
        EXPECT_EQ(r.c->top(), r.t) << r.c->name();
    }
    EXPECT_EQ(frm.imgMode[0]->container(), frm.FrameMode);
    EXPECT_EQ(frm.cmdStart->container(), frm.Frame1);
    EXPECT_EQ(frm.imgMode[0]->width(), 1605);
    EXPECT_EQ(frm.cmdDefVolt[0]->width(), 735);
    EXPECT_EQ(frm.spnlStat->width(), 14880);
    EXPECT_NEAR(frm.width(), 15360, 15);
    EXPECT_NEAR(frm.height(), 11520, 15);
}

TEST_F(ConsoleTest, StartModeWithoutPictureStartsAsAdultPanorama) {
    vSetKey("DefMode", "4");
    frmMain& frm = load();
    EXPECT_EQ(frm.f.m_lModeIdx, 0);
    EXPECT_EQ(App.g_lDefMode, 0);
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[0], 15205));
    EXPECT_EQ(App.g_lVolt, 70);
}

TEST_F(ConsoleTest, NonNumericStartModeSelectsNothingAndUsesGroupZero) {
    vSetKey("DefMode", "abc");
    frmMain& frm = load();
    EXPECT_EQ(frm.f.m_lModeIdx, -1);
    EXPECT_TRUE(booShowsPicture(*frm.imgMode[0], 15204));
    EXPECT_EQ(App.g_lVolt, 70);
}

TEST_F(ConsoleTest, StartModesRememberedSizeIsPressedAgain) {
    vSetKey("DefMode", "2");
    vSetKey("M2_Select", "0");
    frmMain& frm = load();
    EXPECT_EQ(frm.cmdDefVolt[0]->tag(), "ON");
    EXPECT_EQ(App.g_lVolt, 74);
    EXPECT_EQ(App.g_lElec, 8);
}

TEST_F(ConsoleTest, WorkingFolderIsMadeUnderTheTemporaryFolder) {
    frmMain& frm = load();
    const QString sWork = QString::fromStdString(frm.f.m_sWorkPath);
    const QString sTemp = tempDir_->path();
    EXPECT_TRUE(sWork.startsWith(sTemp + "/$"));
    EXPECT_TRUE(QRegularExpression("^\\$\\d+\\$\\d{14}\\$$").match(sWork.mid(sTemp.size() + 1)).hasMatch())
        << sWork.toStdString();
    EXPECT_TRUE(QDir(sWork).exists());
}

TEST_F(ConsoleTest, UnusableTemporaryFolderLeavesWorkPathEmpty) {
    setenv("TMPDIR", (tempDir_->path() + "/missing/deeper").toStdString().c_str(), 1);
    frmMain& frm = load();
    EXPECT_EQ(frm.f.m_sWorkPath, "");
    EXPECT_EQ(frm.f.m_BooLoad, -1);
}

// --- the initializing window ---

class InitWindowTest : public ConsoleTest {
protected:
    frmInitializing& window() {
        w_ = std::make_unique<frmInitializing>();
        w_->Load();
        return *w_;
    }
    std::unique_ptr<frmInitializing> w_;
};

TEST_F(InitWindowTest, LoadGivesTitleTextAndNoCloseControl) {
    frmInitializing& w = window();
    EXPECT_EQ(w.caption(), "ZYRPLUS");
    EXPECT_EQ(w.lblWait.caption().value_or(""), "Sensor is being recognised now. Please wait for a moment.");
    EXPECT_FALSE(w.lblDebug.visible());
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(w.backColor(), lColorLight());
}

TEST_F(InitWindowTest, RangeIsCorrected) {
    frmInitializing& w = window();
    w.InitProgBar(-5, -10);
    EXPECT_EQ(w.prgRetryInit.min(), 0);
    EXPECT_EQ(w.prgRetryInit.max(), 1);
    EXPECT_EQ(w.prgRetryInit.value(), 0);
    w.InitProgBar(3, 3);
    EXPECT_EQ(w.prgRetryInit.min(), 3);
    EXPECT_EQ(w.prgRetryInit.max(), 3);
    EXPECT_EQ(w.prgRetryInit.value(), 3);
    w.InitProgBar(2, 60);
    EXPECT_EQ(w.prgRetryInit.min(), 2);
    EXPECT_EQ(w.prgRetryInit.value(), 2);
}

TEST_F(InitWindowTest, ValuesAreClampedAndAFullBarPauses) {
    frmInitializing& w = window();
    w.InitProgBar(2, 10);
    uint32_t ulStart = clock_.tickCount();
    w.UpdateProgBar(1);
    EXPECT_EQ(w.prgRetryInit.value(), 2);
    w.UpdateProgBar(5);
    EXPECT_EQ(w.prgRetryInit.value(), 5);
    EXPECT_EQ(clock_.tickCount(), ulStart);  // no pause below the top

    w.UpdateProgBar(40);
    EXPECT_EQ(w.prgRetryInit.value(), 10);
    const uint32_t ulPause = clock_.tickCount() - ulStart;
    EXPECT_GT(ulPause, 300u);
    EXPECT_LE(ulPause, 302u);
}

TEST_F(InitWindowTest, PauseSurvivesTheCounterWrapping) {
    frmInitializing& w = window();
    w.InitProgBar(0, 0);
    clock_.set(0xFFFFFF00u);
    w.UpdateProgBar(0);
    // 256 ms up to the wrap, then a fresh 300 ms from the lower value.
    EXPECT_GT(clock_.tickCount(), 300u);
    EXPECT_LT(clock_.tickCount(), 310u);
}

TEST(BarValue, LargeRetryTimesShowAsTheBarsLargestValue) {
    EXPECT_EQ(iToBarValue(40000), 32767);
    EXPECT_EQ(iToBarValue(60), 60);
    EXPECT_EQ(iToBarValue(-40000), -32768);
}
