#include "tests/support/console_fixture.h"

#include <QImage>

#include "app/app_state.h"
#include "app/settings.h"
#include "platform/single_instance.h"
#include "ui/look.h"

void ConsoleTest::TearDown() {
    frm_.reset();
    platform::vReleaseInstance();
    ProgramTest::TearDown();
}

frmMain& ConsoleTest::load() {
    vWriteSettings();
    EXPECT_TRUE(booReadSetting());
    frm_ = std::make_unique<frmMain>();
    frm_->Load();
    return *frm_;
}

frmMain& ConsoleTest::connectIdle(const std::string& sSensor) {
    frmMain& frm = load();
    scripted::Unit& u = scripted::unit();
    u.reports["c1"] = {sSensor};
    u.reports["T1"] = {"T0"};
    frm.Form_Activate();
    frm.tmStart->setInterval(3600 * 1000);
    u.reports["c1"] = {"r1"};  // from now on "c1" brings the position report
    vTicks(3);                 // s1: sensor module and "c1"; r1: "T1", state 21; T0: state 0
    return frm;
}

frmMain& ConsoleTest::readyStanding() {
    frmMain& frm = connectIdle();
    scripted::unit().reports["T1"] = {};
    frm.cmdStart_Click();
    vTicks(1);  // r1: cooling request, then READY's second run
    EXPECT_EQ(App.g_lStat, 7);
    scripted::vQueueReport("d1");
    vTicks(1);
    EXPECT_EQ(App.g_lStat, 10);
    return frm;
}

void ConsoleTest::vTicks(int n) {
    for (int i = 0; i < n; ++i) {
        clock_.advance(10);
        frm_->tmStart_Timer();
    }
}

bool booShowsPicture(const ui::Control& c, int32_t lNo) {
    const QPixmap shown = c.picture();
    const QPixmap want = pLoadPicture(lNo);
    if (shown.isNull() || want.isNull()) return false;
    return shown.toImage().convertToFormat(QImage::Format_ARGB32) ==
           want.toImage().convertToFormat(QImage::Format_ARGB32);
}
