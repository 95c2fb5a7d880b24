// The serial link over a pseudo-terminal pair: the library opens the
// terminal side as its device, the test plays the unit on the other side.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/tick_clock.h"
#include "sim/library.h"
#include "sim/virtual_unit.h"
#include "tests/sim/link_console.h"

namespace {

class TransportSerial : public ::testing::Test {
protected:
    void SetUp() override {
        platform::vSetClock(&clock);
        sim::vResetLibrary();
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) GTEST_SKIP() << "no pseudo-terminals here";
        device = ::ptsname(master);
        char tmpl[] = "/tmp/zyrserXXXXXX";
        dir = mkdtemp(tmpl);
        ini = dir + "/ZYR_PAN_WEQ.ini";
    }
    void TearDown() override {
        sim::vResetLibrary();
        if (master >= 0) ::close(master);
        platform::vSetClock(nullptr);
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }
    int32_t lOpen(const std::string& link) {
        std::ofstream(ini) << "[ZyrPan2]\nLink=" << link << "\n";
        ZyrWeq_Init(ini.c_str(), 1);
        return ZyrWeq_SetCommInit();
    }
    // What the library wrote to the line (the kernel hands it over at once).
    std::string sFromConsole() {
        std::string got;
        pollfd p{master, POLLIN, 0};
        while (::poll(&p, 1, 200) > 0) {
            char buf[256];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0) break;
            got.append(buf, static_cast<size_t>(n));
            if (got.size() >= expect) break;
        }
        return got;
    }
    void vToConsole(const std::string& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::tcdrain(master);
    }
    // Reads the library side until n bytes came (the pty may hand them over in pieces).
    std::string sRecv(size_t n) {
        std::string got;
        char buf[1024];
        for (int i = 0; i < 200 && got.size() < n; ++i) {
            const int32_t r = ZyrWeq_Ether232Recv(buf);
            if (r < 0) break;
            if (r > 0) got.append(buf, static_cast<size_t>(r));
            else ::usleep(1000);
        }
        return got;
    }

    platform::FakeClock clock{1000};
    int master = -1;
    std::string device, dir, ini;
    size_t expect = 7;
};

TEST_F(TransportSerial, FramesCrossTheLineUnchangedInBothDirections) {
    ASSERT_EQ(lOpen("serial:" + device + ":19200"), 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(master, &tio), 0);
    EXPECT_EQ(ZyrWeq_Ether232Send("\x02" "c1 b4\x03", 7), 0);
    EXPECT_EQ(sFromConsole(), std::string("\x02\x63\x31\x20\x62\x34\x03"));
    // Raw mode: control characters and high bytes pass as they are.
    vToConsole(std::string("\x06\x02s1 c4\x03\x15\x11\x13\xff\r\n", 13));
    EXPECT_EQ(sRecv(13), std::string("\x06\x02s1 c4\x03\x15\x11\x13\xff\r\n", 13));
}

TEST_F(TransportSerial, VirtualUnitAnswersThroughTheLine) {
    ASSERT_EQ(lOpen("serial:" + device), 0);
    sim::VirtualUnit unit(sim::UnitConfig{}, clock.tickCount());
    unit.vConnect(clock.tickCount());
    simtest::LinkConsole con;
    ASSERT_EQ(con.lSendText("c1"), 0);
    unit.vReceive(sFromConsole(), clock.tickCount());
    clock.advance(200);
    unit.vAdvance(clock.tickCount());
    const std::string out = unit.sTakeOutput();
    vToConsole(out);
    ASSERT_EQ(sRecv(out.size()), "\x06" + sim::sBuildFrame("s1"));
}

TEST_F(TransportSerial, OpenFailures) {
    EXPECT_EQ(lOpen("serial:/dev/nonexistent-zyr-line"), -1);
    EXPECT_EQ(lOpen("serial:" + device + ":12345"), -3) << "a rate the line cannot take";
    char buf[1024];
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), -1);
}

TEST_F(TransportSerial, HangUpMakesReceiveNegative) {
    ASSERT_EQ(lOpen("serial:" + device + ":9600"), 0);
    char buf[1024];
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), 0);
    ::close(master);  // the adapter is unplugged
    master = -1;
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), -2);
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), -2);
}

}  // namespace
