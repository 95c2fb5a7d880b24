// READY when the unit reports its sensor on the cephalometric side ("s2"):
// the console selects mode 5, which has no exposure code, so READY is
// refused with its own status text; no exposure command "NP_ ..." and no
// film file "NP_.dat" ever come of it. The panoramic side ("s1") with the
// last mode that has a code (2, TMJ) still exposes.
#include "app/app_state.h"
#include "tests/support/console_fixture.h"

namespace {

struct Side {
    const char* sReport;  // the unit's sensor position at connection
    const char* sCommand;  // the exposure command READY sends ("" = refused)
};

class CephaloSideReady : public ConsoleTest, public ::testing::WithParamInterface<Side> {};

TEST_P(CephaloSideReady, ExposesOnlyAModeWithACode) {
    const Side& side = GetParam();
    const std::string sRefused = "Cephalo exposure is not available on this console.";
    vSetKey("DefMode", "2");
    vSetKey("M2_Volt", "74");
    vSetKey("M2_Elec", "8");
    frmMain& frm = load();
    scripted::Unit& u = scripted::unit();
    u.reports = {{"c1", {side.sReport}}, {"T1", {"T0"}}, {"m1", {"m1"}}};
    frm.Form_Activate();
    frm.tmStart->setInterval(3600 * 1000);
    u.reports["c1"] = {"r1"};
    vTicks(6);
    ASSERT_EQ(App.g_lStat, 0);
    u.reports["T1"] = {};
    frm.cmdStart_Click();
    vTicks(2);

    std::vector<std::string> exposures;
    for (const std::string& c : scripted::commands())
        if (c.rfind("NP", 0) == 0) exposures.push_back(c);
    if (*side.sCommand != '\0') {
        EXPECT_EQ(exposures, std::vector<std::string>{side.sCommand});
        EXPECT_EQ(App.g_lStat, 7);
        EXPECT_EQ(scripted::lastCall("SetParamforPictEx").text, sFolder() + "/FILM/NP_T4.dat");
        return;
    }
    EXPECT_EQ(frm.f.m_lModeIdx, 5);
    EXPECT_TRUE(exposures.empty()) << exposures.front();
    EXPECT_EQ(scripted::iCalls("SetParamforPictEx"), 0) << scripted::lastCall("SetParamforPictEx").text;
    EXPECT_NE(App.g_lStat, 7);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), sRefused);
    scripted::vQueueReport("T0");  // the console rests idle: the line stays
    vTicks(1);
    EXPECT_EQ(App.g_lStat, 0);
    EXPECT_EQ(frm.spnlStat->caption().value_or(""), sRefused);
}

INSTANTIATE_TEST_SUITE_P(Sides, CephaloSideReady,
                         ::testing::Values(Side{"s1", "NP_T4 74 8"}, Side{"s2", ""}),
                         [](const ::testing::TestParamInfo<Side>& i) { return std::string(i.param.sReport); });

}  // namespace
