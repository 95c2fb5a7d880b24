// A real main window (offscreen) on the scripted library, driven through its
// handlers with the fake clock; the program folder of ProgramTest.
#pragma once
#include <memory>

#include "console/frm_main.h"
#include "tests/support/program_fixture.h"

class ConsoleTest : public ProgramTest {
protected:
    void TearDown() override;

    // Writes the settings file, reads it into App and loads the main window.
    frmMain& load();
    // load(), then the first activation with a unit that answers "c1" with
    // its sensor position sSensor ("s1") and then "r1" and the cooling report
    // "T0": the console is idle in state 0 with READY allowed. The window's
    // real timer is slowed so that the test alone decides when a tick runs.
    frmMain& connectIdle(const std::string& sSensor = "s1");
    // connectIdle(), then READY: "c1", the position report runs READY again,
    // the sensor is prepared and the exposure command goes out (state 7);
    // the unit's "d1" arms the capture watch (state 10).
    frmMain& readyStanding();
    // Runs the polling tick n times, the clock stepping 10 ms before each.
    void vTicks(int n = 1);

    std::unique_ptr<frmMain> frm_;
};

// Pictures compare by content: the control shows resource picture lNo.
bool booShowsPicture(const ui::Control& c, int32_t lNo);
