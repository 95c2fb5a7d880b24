// The unit's log of accepted commands over a long service: a unit that
// serves consoles for weeks (zyrpan-unit) must not grow with every frame,
// yet the latest commands stay readable, in order.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "sim/frame_codec.h"
#include "sim/library.h"
#include "tests/support/sim_table.h"
#include "tests/support/temp_dir.h"

namespace {

class UnitCommandLog : public ::testing::Test {
protected:
    void SetUp() override {
        sim::vResetLibrary();
        std::ofstream(dir_.file("ZYR_PAN_WEQ.ini")) << "[ZyrPan2]\nLink=sim\n";
        ASSERT_EQ(lib_.Init(dir_.file("ZYR_PAN_WEQ.ini").c_str(), 1), 0);
        ASSERT_EQ(lib_.SetCommInit(), 0);
    }
    void TearDown() override { sim::vResetLibrary(); }

    // Sends the next n of "q0", "q1", ... as frames, reading the ACKs as a
    // console would.
    void vSendCommands(int n) {
        char buf[1024];
        for (int i = 0; i < n; ++i) {
            const std::string frame = sim::sBuildFrame("q" + std::to_string(sent_++));
            ASSERT_EQ(lib_.Ether232Send(frame.c_str(), static_cast<int16_t>(frame.size())), 0);
            while (lib_.Ether232Recv(buf) > 0) {
            }
        }
    }
    const std::vector<std::string>& log() { return sim::theLibrary().embeddedUnit()->commands(); }

    int sent_ = 0;
    zyrtest::TempDir dir_;
    ZyrLib lib_ = simTable();
};

// Faults: a log that keeps every command (memory grows with every frame);
// one that trims the newest instead of the oldest, or out of order; one
// trimmed so early that a short session's commands are already gone.
TEST_F(UnitCommandLog, KeepsAShortSessionWholeAndALongOneBoundedWithItsLatestCommands) {
    const struct {
        int sent;
        size_t atLeastKept;
    } cases[] = {{1, 1}, {255, 255}, {256, 256}, {512, 512}, {513, 256}, {20000, 256}};
    for (const auto& c : cases) {
        vSendCommands(c.sent - sent_);
        const int sent = sent_;
        ASSERT_GE(log().size(), c.atLeastKept) << "after " << sent;
        EXPECT_LE(log().size(), 512u) << "after " << sent;
        // The log ends with the latest commands, oldest first.
        const size_t n = log().size();
        for (size_t k = 0; k < n; ++k)
            ASSERT_EQ(log()[k], "q" + std::to_string(sent - static_cast<int>(n) + static_cast<int>(k))) << sent;
    }
}

}  // namespace
