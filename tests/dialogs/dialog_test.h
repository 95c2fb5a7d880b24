// A dialog over a real main window (offscreen) on the scripted library; the
// main window shows the dialogs through the program's own runners,
// registered as the program registers them at start.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_runners.h"
#include "platform/atomic_file.h"
#include "tests/support/console_fixture.h"

inline std::string sJoined(const std::vector<std::string>& v, const char* sSep = "|") {
    std::string s;
    for (const auto& t : v) s += (s.empty() ? "" : sSep) + t;
    return s;
}

template <class T>
class DialogTest : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        vRegisterTestDialog(vRunFrmTest);
        vRegisterSettingDialog(vRunFrmSetting);
    }
    void TearDown() override {
        dlg_.reset();  // before its owner, the main window
        platform::vSetReplaceHook(nullptr);
        ConsoleTest::TearDown();
    }
    // Loads the main window, then the dialog over it, not yet loaded.
    T& create() {
        load();
        dlg_ = std::make_unique<T>(frm_.get());
        return *dlg_;
    }
    std::unique_ptr<T> dlg_;
};
