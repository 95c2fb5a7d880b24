// A program on a fake clock: a temporary program folder whose settings file
// is the staged default file with the keys a test changes, a temporary
// folder for the working folder, the scripted library installed, message
// boxes answered and recorded, and sounds recorded instead of played.
#pragma once
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/message_box.h"
#include "platform/tick_clock.h"
#include "tests/support/scripted_lib.h"

// The staged default settings file, as text.
std::string sDefaultSettingsText();

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Keys that differ from the default file, for the next vWriteSettings().
    // A value of nullopt removes the key's line; a key the file lacks is added
    // at the end of its section.
    void vSetKey(const std::string& sKey, std::optional<std::string> oValue,
                 const std::string& sSection = "ZYR_PAN_WEQ");
    // Writes the settings file: the default file with the keys changed.
    void vWriteSettings();

    std::string sIniPath() const;
    std::string sFolder() const { return progDir_->path().toStdString(); }
    std::string sTempFolder() const { return tempDir_->path().toStdString(); }
    // A key of the settings file as it is on disk ("<absent>" when it is not there).
    std::string sIniValue(const std::string& sKey, const std::string& sSection = "ZYR_PAN_WEQ") const;
    std::string sIniText() const;
    // Writes one key behind the program's back.
    void vWriteIni(const std::string& sKey, const std::string& sValue) const;
    // Texts of the message boxes shown so far.
    std::vector<std::string> boxTexts() const;

    platform::FakeClock clock_;
    std::unique_ptr<QTemporaryDir> progDir_;
    std::unique_ptr<QTemporaryDir> tempDir_;
    std::vector<platform::MsgBoxCall> boxes_;
    int32_t lBoxAnswer_ = platform::IDYES;  // the operator's answer to questions
    std::function<void()> onBox;            // runs as each box is shown
    std::vector<std::string> sounds_;       // paths handed to the sound player

private:
    std::vector<std::pair<std::pair<std::string, std::string>, std::optional<std::string>>> changes_;
    std::string sOldTmpDir_;
    bool booHadTmpDir_ = false;
};
