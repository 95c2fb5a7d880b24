#include "tests/support/program_fixture.h"

#include <cstdlib>
#include <sstream>

#include "app/app_state.h"
#include "platform/play_sound.h"
#include "platform/profile_string.h"
#include "platform/program_folder.h"
#include "resources/string_table.h"
#include "tests/support/temp_dir.h"

std::string sDefaultSettingsText() { return zyrtest::readBytes(ZYR_DEFAULT_INI); }

void ProgramTest::SetUp() {
    vResetAppState();
    vSetResLanguage(1);
    scripted::vReset(clock_);
    progDir_ = std::make_unique<QTemporaryDir>();
    tempDir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(progDir_->isValid() && tempDir_->isValid());
    platform::vSetProgramFolder(sFolder());
    const char* sTmp = std::getenv("TMPDIR");
    booHadTmpDir_ = sTmp != nullptr;
    if (sTmp != nullptr) sOldTmpDir_ = sTmp;
    setenv("TMPDIR", sTempFolder().c_str(), 1);
    platform::vSetMsgBoxResponder([this](const platform::MsgBoxCall& c) {
        boxes_.push_back(c);
        if (auto h = onBox) h();
        return c.style == platform::MB_YESNO_QUESTION_DEFBUTTON2 ? lBoxAnswer_ : platform::IDOK;
    });
    platform::vSetSoundPlayer([this](const char* s) { sounds_.push_back(s ? s : ""); });
    // The image goes into this test's own folder, never the default's.
    vSetKey("SaveFileName", sTempFolder() + "/image.bmp");
}

void ProgramTest::TearDown() {
    platform::vSetSoundPlayer({});
    platform::vSetMsgBoxResponder({});
    platform::vSetClock(nullptr);
    platform::vSetProgramFolder("");
    if (booHadTmpDir_) {
        setenv("TMPDIR", sOldTmpDir_.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    vSetResLanguage(0);
}

void ProgramTest::vSetKey(const std::string& sKey, std::optional<std::string> oValue, const std::string& sSection) {
    for (auto& c : changes_)
        if (c.first == std::make_pair(sSection, sKey)) {
            c.second = std::move(oValue);
            return;
        }
    changes_.push_back({{sSection, sKey}, std::move(oValue)});
}

void ProgramTest::vWriteSettings() {
    std::istringstream in(sDefaultSettingsText());
    std::ostringstream out;
    std::vector<bool> used(changes_.size(), false);
    std::string sSection;
    // Adds the changed keys the section did not have, before leaving it.
    auto vAddMissing = [&] {
        for (size_t i = 0; i < changes_.size(); ++i)
            if (!used[i] && changes_[i].first.first == sSection && changes_[i].second) {
                out << changes_[i].first.second << "=" << *changes_[i].second << "\r\n";
                used[i] = true;
            }
    };
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            vAddMissing();
            sSection = line.substr(1, line.find(']') - 1);
            out << line << "\r\n";
            continue;
        }
        const std::string sKey = line.substr(0, line.find('='));
        bool booKeep = true;
        for (size_t i = 0; i < changes_.size(); ++i)
            if (changes_[i].first == std::make_pair(sSection, sKey) && line.find('=') != std::string::npos) {
                used[i] = true;
                booKeep = false;
                if (changes_[i].second) out << sKey << "=" << *changes_[i].second << "\r\n";
            }
        if (booKeep && !line.empty()) out << line << "\r\n";
    }
    vAddMissing();
    for (size_t i = 0; i < changes_.size(); ++i)  // sections the default file lacks, each once
        if (!used[i] && changes_[i].second) {
            sSection = changes_[i].first.first;
            out << "[" << sSection << "]\r\n";
            vAddMissing();
        }
    zyrtest::writeBytes(sIniPath(), out.str());
}

std::string ProgramTest::sIniPath() const { return sFolder() + "/ZYR_PAN_WEQ.ini"; }

std::string ProgramTest::sIniValue(const std::string& sKey, const std::string& sSection) const {
    char buf[512] = {};
    platform::GetPrivateProfileStringA(sSection.c_str(), sKey.c_str(), "<absent>", buf, sizeof buf,
                                       sIniPath().c_str());
    return buf;
}

std::string ProgramTest::sIniText() const { return zyrtest::readBytes(sIniPath()); }

void ProgramTest::vWriteIni(const std::string& sKey, const std::string& sValue) const {
    ASSERT_NE(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", sKey.c_str(), sValue.c_str(), sIniPath().c_str()),
              0);
}

std::vector<std::string> ProgramTest::boxTexts() const {
    std::vector<std::string> v;
    for (const auto& b : boxes_) v.push_back(b.text);
    return v;
}
