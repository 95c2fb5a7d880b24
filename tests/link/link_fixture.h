// Every link test starts from a fresh application state, a fake clock, the
// scripted unit, a recording main window and recorded message boxes.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "platform/message_box.h"
#include "platform/tick_clock.h"
#include "resources/string_table.h"
#include "tests/link/fake_main.h"
#include "tests/link/fake_unit.h"

class LinkTest : public ::testing::Test {
protected:
    platform::FakeClock clock{100000};
    FakeMain frm;
    std::vector<platform::MsgBoxCall> boxes;
    int32_t lBoxAnswer = platform::IDOK;

    void SetUp() override {
        vResetAppState();
        vSetResLanguage(1);
        fakeunit::vReset(clock);
        vSetMainWindow(&frm);
        platform::vSetMsgBoxResponder([this](const platform::MsgBoxCall& c) {
            boxes.push_back(c);
            fakeunit::trace.push_back("box " + c.text);
            return c.style == platform::MB_ICONINFORMATION ? platform::IDOK : lBoxAnswer;
        });
    }

    void TearDown() override {
        platform::vSetMsgBoxResponder({});
        vSetMainWindow(nullptr);
        platform::vSetClock(nullptr);
        vSetResLanguage(0);
    }

    // The unit acknowledges the next n command frames at once.
    static void vAckNext(size_t n) {
        for (size_t i = 0; i < n; ++i) fakeunit::unit.frameReplies.push_back("\x06");
    }
    // The message the console shows for a failed transaction with lCode.
    static std::string sCommFailText(int32_t lCode, const std::string& sExplanation) {
        return "Communication with equipment is unavailable. Confirm power on of the equipment.\r\nERR : " +
               std::to_string(lCode) + "\r\nMSG : " + sExplanation;
    }
};
