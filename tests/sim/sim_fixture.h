// The library on a fake clock, with a settings file of its own whose
// [ZyrPan2] section each test writes. Time moves only when the test says.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/tick_clock.h"
#include "sim/library.h"
#include "tests/sim/link_console.h"

namespace simtest {

class SimFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::vSetClock(&clock);
        sim::vResetLibrary();
        char tmpl[] = "/tmp/zyrsimXXXXXX";
        dir = mkdtemp(tmpl);
        ini = dir + "/ZYR_PAN_WEQ.ini";
    }
    void TearDown() override {
        sim::vResetLibrary();
        platform::vSetClock(nullptr);
        std::filesystem::remove_all(dir);
    }

    // Writes the settings file with these lines in [ZyrPan2].
    void vWriteIni(const std::string& keys) {
        const std::string link = keys.find("Link=") == std::string::npos ? "Link=sim\n" : "";
        std::ofstream(ini) << "[ZYR_PAN_WEQ]\nVolt=70\n\n[ZyrPan2]\n" << link << keys << "\n";
    }
    // Init and SetCommInit, as the console's lLinkOpen does.
    int32_t lOpen(const std::string& keys = "Link=sim") {
        vWriteIni(keys);
        ZyrWeq_Init(ini.c_str(), 1);
        return ZyrWeq_SetCommInit();
    }
    // Lets ms pass in 10 ms ticks, reading the link at each, as the console's timer does.
    void vRun(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            clock.advance(10);
            con.lPoll();
        }
    }
    // Sends a command and takes what comes back at once (its ACK).
    void vCommand(const std::string& text) {
        ASSERT_EQ(con.lSendText(text), 0) << text;
        con.lPoll();
    }
    // Reports that arrived since the last call.
    std::vector<std::string> vsTake() {
        auto r = con.reports();
        con.vClear();
        return r;
    }
    uint32_t lNow() const { return const_cast<platform::FakeClock&>(clock).tickCount(); }

    platform::FakeClock clock{1000};
    std::string dir, ini;
    LinkConsole con;
};

using Texts = std::vector<std::string>;

}  // namespace simtest
