// READY when the unit reports its sensor on the cephalometric side ("s2"):
// the console selects mode 5, which has no exposure code, so READY is
// refused with its own status text; no exposure command "NP_ ..." and no
// film file "NP_.dat" ever come of it. The panoramic side ("s1") with the
// last mode that has a code (2, TMJ) still exposes.
#include "app/app_state.h"
#include "tests/support/console_fixture.h"

namespace {

class CephaloSideReady : public ConsoleTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CephaloSideReady, ExposesOnlyAModeWithACode) {
    using Texts = std::vector<std::string>;
    const bool booCephalo = GetParam() == std::string("s2");
    const std::string sRefused = "Cephalo exposure is not available on this console.";
    vSetKey("DefMode", "2");
    scripted::unit().reports["m1"] = {"m1"};  // the unit turns to the cephalometric side
    frmMain& frm = connectIdle(GetParam());
    vTicks(1);
    ASSERT_EQ(App.g_lStat, 0);
    scripted::unit().reports["T1"] = {};
    frm.cmdStart_Click();
    vTicks(2);
    EXPECT_EQ(scripted::traceOf({"> NP"}), booCephalo ? Texts{} : Texts{"> NP_T4 70 6"});
    EXPECT_EQ(scripted::lastCall("SetParamforPictEx").text, booCephalo ? "" : sFolder() + "/FILM/NP_T4.dat");
    if (!booCephalo) return;
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), sRefused);
    scripted::vQueueReport("T0");  // the console rests idle: the line stays
    vTicks(1);
    EXPECT_EQ(App.g_lStat, 0);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), sRefused);
}

INSTANTIATE_TEST_SUITE_P(Sides, CephaloSideReady, ::testing::Values("s1", "s2"),
                         [](const ::testing::TestParamInfo<const char*>& i) { return std::string(i.param); });

}  // namespace
