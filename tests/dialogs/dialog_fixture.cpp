#include "tests/dialogs/dialog_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/settings.h"
#include "platform/profile_string.h"
#include "platform/program_folder.h"
#include "resources/string_table.h"

namespace {
// A complete settings file. The equipment keys differ from the start
// values, so a test sees that they were read, and each size of each group
// has its own defaults.
const char* const SETTINGS_LINES[] = {
    "[ZYR_PAN_WEQ]", "Volt=70", "Elec=4", "DefMode=0", "ClickSound=",
    "CephPlace=1", "AutoPower=0", "DisplayMode=1",
    "ElecPP2=11", "ElecPP4=22", "ElecPP6=0", "ElecPP8=255", "ElecPP10=128", "ElecPP12=99",
    "M0_VoltDef0=76", "M0_ElecDef0=8", "M0_VoltDef1=72", "M0_ElecDef1=6", "M0_VoltDef2=66", "M0_ElecDef2=4",
    "M0_Volt=70", "M0_Elec=4", "M0_Select=-1",
    "M1_VoltDef0=70", "M1_ElecDef0=6", "M1_VoltDef1=66", "M1_ElecDef1=4", "M1_VoltDef2=62", "M1_ElecDef2=2",
    "M1_Volt=65", "M1_Elec=2", "M1_Select=-1",
    "M2_VoltDef0=74", "M2_ElecDef0=8", "M2_VoltDef1=69", "M2_ElecDef1=6", "M2_VoltDef2=64", "M2_ElecDef2=4",
    "M2_Volt=71", "M2_Elec=6", "M2_Select=-1",
    "TimeStep=10", "TimeLag=50", "WaitTime=5000", "InitRetryTime_Boot=0", "InitRetryTime_Timer=60",
    "SaveFileName=image.bmp",
};
}  // namespace

void DialogTest::SetUp() {
    vResetAppState();
    dlgfake::vReset();
    vSetZyrLib(dlgfake::lib());
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
        if (auto h = onBox) h();
        return c.style == platform::MB_YESNO_QUESTION_DEFBUTTON2 ? lBoxAnswer_ : platform::IDOK;
    });
    {
        std::ofstream out(sIniPath(), std::ios::binary);
        for (const char* s : SETTINGS_LINES) out << s << "\r\n";
    }
    ASSERT_TRUE(booReadSetting());
    main_ = std::make_unique<frmMain>();
    main_->Load();
    ASSERT_EQ(main_->f.m_BooLoad, -1);
}

void DialogTest::TearDown() {
    main_.reset();
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

std::string DialogTest::sIniPath() const { return progDir_->path().toStdString() + "/ZYR_PAN_WEQ.ini"; }

std::string DialogTest::sIniValue(const std::string& sKey) const {
    char buf[512] = {};
    platform::GetPrivateProfileStringA("ZYR_PAN_WEQ", sKey.c_str(), "<absent>", buf, sizeof buf, sIniPath().c_str());
    return buf;
}

std::string DialogTest::sIniText() const {
    std::ifstream in(sIniPath(), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> DialogTest::boxTexts() const {
    std::vector<std::string> v;
    for (const auto& b : boxes_) v.push_back(b.text);
    return v;
}

std::string DialogTest::sText(int32_t lNo) { return sGetResText(lNo); }
