// The link and the sensor steps without a real window: a program on the
// fake clock with the scripted library (ProgramTest), a fresh capture watch,
// the recording main window installed, and every message box also entered in
// the trace as "box <text>" so that a test sees it in order with the rest.
#pragma once
#include <string>

#include "app/app_state.h"
#include "app/main_ops.h"
#include "sensor/sensor_steps.h"
#include "tests/support/program_fixture.h"
#include "tests/support/recording_main.h"

class LinkTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        vResetCaptureWatch();
        vSetMainWindow(&frm);
        onBox = [this] { scripted::trace().push_back("box " + boxes_.back().text); };
    }
    void TearDown() override {
        vSetMainWindow(nullptr);
        ProgramTest::TearDown();
    }
    // A fresh start for the next row of a table: the application state, the
    // main window, the unit, the trace and the boxes shown.
    void vFresh() {
        vResetAppState();
        frm = RecordingMain();
        scripted::vReset(clock_);
        boxes_.clear();
        vResetCaptureWatch();
    }
    // The text of the box shown last without its code lines ("" for none).
    std::string sBox() const {
        return boxes_.empty() ? "" : boxes_.back().text.substr(0, boxes_.back().text.find('\r'));
    }

    RecordingMain frm;
};

// The box of a command the unit did not take: lCode and its explanation.
inline std::string sCommFail(int32_t lCode, const std::string& sExplanation) {
    return "Communication with equipment is unavailable. Confirm power on of the equipment.\r\nERR : " +
           std::to_string(lCode) + "\r\nMSG : " + sExplanation;
}

// As the trace shows them: the box of a command the unit never took, and of
// one the library refused to send (-1).
inline const std::string kNoAck = "box " + sCommFail(10003, "Unclear Error");
inline const std::string kRefused = "box " + sCommFail(-1, "Communication Error. Communication is not established.");

