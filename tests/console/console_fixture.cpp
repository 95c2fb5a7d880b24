#include "tests/console/console_fixture.h"

#include <QImage>
#include <cstdlib>
#include <fstream>

#include "app/app_state.h"
#include "app/settings.h"
#include "platform/profile_string.h"
#include "platform/program_folder.h"
#include "platform/single_instance.h"
#include "resources/string_table.h"
#include "sensor/sensor_steps.h"
#include "ui/look.h"

namespace {
// A complete settings file: every required key, each group with its own
// defaults so that a test sees which record a value came from.
const char* const SETTINGS_KEYS[][2] = {
    {"Volt", "70"}, {"Elec", "4"}, {"DefMode", "0"}, {"ClickSound", ""},
    {"M0_VoltDef0", "76"}, {"M0_ElecDef0", "8"}, {"M0_VoltDef1", "72"}, {"M0_ElecDef1", "6"},
    {"M0_VoltDef2", "66"}, {"M0_ElecDef2", "4"}, {"M0_Volt", "70"}, {"M0_Elec", "4"}, {"M0_Select", "-1"},
    {"M1_VoltDef0", "70"}, {"M1_ElecDef0", "6"}, {"M1_VoltDef1", "66"}, {"M1_ElecDef1", "4"},
    {"M1_VoltDef2", "62"}, {"M1_ElecDef2", "2"}, {"M1_Volt", "65"}, {"M1_Elec", "2"}, {"M1_Select", "-1"},
    {"M2_VoltDef0", "74"}, {"M2_ElecDef0", "8"}, {"M2_VoltDef1", "69"}, {"M2_ElecDef1", "6"},
    {"M2_VoltDef2", "64"}, {"M2_ElecDef2", "4"}, {"M2_Volt", "71"}, {"M2_Elec", "6"}, {"M2_Select", "-1"},
    {"TimeStep", "10"}, {"TimeLag", "50"}, {"WaitTime", "5000"},
    {"InitRetryTime_Boot", "0"}, {"InitRetryTime_Timer", "60"}, {"SaveFileName", "image.bmp"},
};
}  // namespace

void ConsoleTest::SetUp() {
    vResetAppState();
    fake::vReset();
    vSetZyrLib(fake::lib());
    vSetResLanguage(1);
    platform::vSetClock(&clock_);
    progDir_ = std::make_unique<QTemporaryDir>();
    tempDir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(progDir_->isValid() && tempDir_->isValid());
    platform::vSetProgramFolder(progDir_->path().toStdString());
    const char* sTmp = std::getenv("TMPDIR");
    booHadTmpDir_ = sTmp != nullptr;
    if (sTmp != nullptr) sOldTmpDir_ = sTmp;
    setenv("TMPDIR", tempDir_->path().toStdString().c_str(), 1);
    platform::vSetMsgBoxResponder([this](const platform::MsgBoxCall& c) {
        boxes_.push_back(c);
        return c.style == platform::MB_YESNO_QUESTION_DEFBUTTON2 ? lBoxAnswer_ : platform::IDOK;
    });
    for (const auto& kv : SETTINGS_KEYS) keys_[kv[0]] = kv[1];
}

void ConsoleTest::TearDown() {
    frm_.reset();
    platform::vReleaseInstance();
    platform::vSetMsgBoxResponder(nullptr);
    platform::vSetClock(nullptr);
    platform::vSetProgramFolder("");
    if (booHadTmpDir_) {
        setenv("TMPDIR", sOldTmpDir_.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    vSetResLanguage(0);
}

std::string ConsoleTest::sIniPath() const { return progDir_->path().toStdString() + "/ZYR_PAN_WEQ.ini"; }

void ConsoleTest::vWriteSettings() {
    {
        std::ofstream out(sIniPath(), std::ios::binary);
        out << "[ZYR_PAN_WEQ]\r\n";
        for (const auto& kv : SETTINGS_KEYS) {
            auto it = keys_.find(kv[0]);
            if (it != keys_.end()) out << kv[0] << "=" << it->second << "\r\n";
        }
        for (const auto& kv : keys_) {
            bool booStd = false;
            for (const auto& s : SETTINGS_KEYS) booStd = booStd || kv.first == s[0];
            if (!booStd) out << kv.first << "=" << kv.second << "\r\n";
        }
    }
}

frmMain& ConsoleTest::load() {
    vWriteSettings();
    EXPECT_TRUE(booReadSetting());
    frm_ = std::make_unique<frmMain>();
    frm_->Load();
    return *frm_;
}

frmMain& ConsoleTest::connectIdle() {
    frmMain& frm = load();
    fake::unit().replies["c1"] = {"s1"};
    fake::unit().replies["T1"] = {"T0"};
    frm.Form_Activate();
    frm.tmStart->setInterval(3600 * 1000);
    // From now on "c1" brings the position report.
    fake::unit().replies["c1"] = {"r1"};
    vTicks(3);  // s1: sensor module and "c1"; r1: "T1", state 21; T0: state 0
    return frm;
}

frmMain& ConsoleTest::readyStanding() {
    frmMain& frm = connectIdle();
    fake::unit().replies["T1"] = {};
    frm.cmdStart_Click();
    vTicks(1);  // r1: cooling request, then READY's second run
    EXPECT_EQ(App.g_lStat, 7);
    fake::vQueueReport("d1");
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

void ConsoleTest::vWriteIni(const std::string& sKey, const std::string& sValue) const {
    ASSERT_NE(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", sKey.c_str(), sValue.c_str(), sIniPath().c_str()), 0);
}

std::string ConsoleTest::sIniValue(const std::string& sKey) const {
    char buf[512] = {};
    platform::GetPrivateProfileStringA("ZYR_PAN_WEQ", sKey.c_str(), "", buf, sizeof buf, sIniPath().c_str());
    return buf;
}

std::vector<std::string> ConsoleTest::boxTexts() const {
    std::vector<std::string> v;
    for (const auto& b : boxes_) v.push_back(b.text);
    return v;
}

bool booShowsPicture(const ui::Control& c, int32_t lNo) {
    const QPixmap shown = c.picture();
    const QPixmap want = pLoadPicture(lNo);
    if (shown.isNull() || want.isNull()) return false;
    return shown.toImage().convertToFormat(QImage::Format_ARGB32) ==
           want.toImage().convertToFormat(QImage::Format_ARGB32);
}
