// A console on a fake clock: a temporary program folder with its own
// settings file, a temporary folder for the working folder, the scripted
// unit behind the library table, message boxes answered and recorded, and
// a real main window (offscreen) driven through its handlers.
#pragma once
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "console/frm_main.h"
#include "platform/message_box.h"
#include "platform/tick_clock.h"
#include "tests/console/fake_unit.h"

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Settings keys that differ from the standard test file (before Load).
    void vSetKey(const std::string& sKey, const std::string& sValue) { keys_[sKey] = sValue; }
    // Writes the settings file with the keys chosen.
    void vWriteSettings();
    // Writes the settings file, reads it into App and loads the main window.
    frmMain& load();
    // load(), then the first activation with a unit that answers "c1" with
    // "s1" and then "r1" and the cooling report "T0": the console is idle in
    // state 0 with READY allowed. The window's real timer is slowed so that
    // the test alone decides when a tick runs.
    frmMain& connectIdle();
    // connectIdle(), then READY: "c1", the position report runs READY again,
    // the sensor is prepared and the exposure command goes out (state 7);
    // the unit's "d1" arms the capture watch (state 10).
    frmMain& readyStanding();
    // Runs the polling tick n times, the clock stepping 10 ms before each.
    void vTicks(int n = 1);
    // Writes a key into the settings file behind the console's back.
    void vWriteIni(const std::string& sKey, const std::string& sValue) const;
    // The value of a key in the settings file ("" when absent).
    std::string sIniValue(const std::string& sKey) const;
    // Texts of the message boxes shown so far.
    std::vector<std::string> boxTexts() const;
    std::string sIniPath() const;

    platform::FakeClock clock_;
    std::unique_ptr<QTemporaryDir> progDir_;
    std::unique_ptr<QTemporaryDir> tempDir_;
    std::unique_ptr<frmMain> frm_;
    std::vector<platform::MsgBoxCall> boxes_;
    int32_t lBoxAnswer_ = platform::IDYES;  // the operator's answer to questions
    std::map<std::string, std::string> keys_;
    std::string sOldTmpDir_;
    bool booHadTmpDir_ = false;
};

// Pictures compare by content: the control shows resource picture lNo.
bool booShowsPicture(const ui::Control& c, int32_t lNo);
