// The service dialogs on a fake clock: a temporary program folder with its
// own settings file, the scripted unit behind the library table, message
// boxes answered and recorded, and a real main window (offscreen, never
// connected) that the transactions and the dialogs' owners need.
#pragma once
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/frm_main.h"
#include "platform/message_box.h"
#include "platform/tick_clock.h"
#include "tests/dialogs/dialog_during.h"
#include "tests/dialogs/fake_link.h"

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string sIniPath() const;
    // The value of a key in the settings file ("<absent>" when it is not there).
    std::string sIniValue(const std::string& sKey) const;
    // The whole settings file as it is on disk.
    std::string sIniText() const;
    // Texts of the message boxes shown so far.
    std::vector<std::string> boxTexts() const;
    // The text of a string-table number in the language in use (English
    // unless a test chooses another).
    static std::string sText(int32_t lNo);

    platform::FakeClock clock_;
    std::unique_ptr<QTemporaryDir> progDir_;
    std::unique_ptr<QTemporaryDir> tempDir_;
    std::unique_ptr<frmMain> main_;
    std::vector<platform::MsgBoxCall> boxes_;
    int32_t lBoxAnswer_ = platform::IDYES;  // the operator's answer to questions
    std::function<void()> onBox;            // runs as each box is shown
    std::string sOldTmpDir_;
    bool booHadTmpDir_ = false;
};
