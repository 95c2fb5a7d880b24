// The TCP link against zyrpan-unit in another process (and against a bare
// socket of the test where the peer's misbehaviour is the point). These
// run on the real clock: the other end is a real process.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/tick_clock.h"
#include "sim/library.h"
#include "tests/sim/link_console.h"
#include "tests/sim/unit_process.h"

namespace {

using simtest::UnitProcess;
using Texts = std::vector<std::string>;

const std::string kC1Trace = "<- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]";
const std::string kS1Trace = "-> 02 73 31 20 63 34 03  [STX]s1 c4[ETX]";

class TransportTcp : public ::testing::Test {
protected:
    void SetUp() override {
        platform::vSetClock(nullptr);
        sim::vResetLibrary();
        char tmpl[] = "/tmp/zyrtcpXXXXXX";
        dir = mkdtemp(tmpl);
        ini = dir + "/ZYR_PAN_WEQ.ini";
    }
    void TearDown() override {
        unit.vStop();
        sim::vResetLibrary();
        std::filesystem::remove_all(dir);
    }
    void vStartUnit(const std::string& keys = "") {
        const std::string cfg = dir + "/unit.ini";
        std::ofstream(cfg) << "[ZyrPan2]\nAnswerDelay=20\n" << keys << "\n";
        std::string error;
        ASSERT_TRUE(unit.booStart({"--port", "0", "--config", cfg}, error)) << error;
    }
    void vWriteIni(const std::string& link) { std::ofstream(ini) << "[ZyrPan2]\nLink=" << link << "\n"; }
    int32_t lOpen(uint16_t port) {
        vWriteIni("tcp:127.0.0.1:" + std::to_string(port));
        ZyrWeq_Init(ini.c_str(), 1);
        return ZyrWeq_SetCommInit();
    }
    // Reads the link until the condition holds or 3 s have passed.
    bool booPollUntil(simtest::LinkConsole& con, const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            con.lPoll();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    static bool booHas(const simtest::LinkConsole& con, const std::string& what) {
        for (const auto& e : con.events)
            if (e.what == what) return true;
        return false;
    }

    std::string dir, ini;
    UnitProcess unit;
};

TEST_F(TransportTcp, ConsoleSendsC1AndGetsTheSensorReportFromAUnitInAnotherProcess) {
    vStartUnit();
    ASSERT_EQ(lOpen(unit.port), 0);
    EXPECT_TRUE(unit.booWaitFor("connected 127.0.0.1:"));
    simtest::LinkConsole con;
    ASSERT_EQ(con.lSendText("c1"), 0);
    ASSERT_TRUE(booPollUntil(con, [&] { return booHas(con, "s1"); }));
    EXPECT_EQ(con.wire, std::string("\x06\x02\x73\x31\x20\x63\x34\x03"));
    EXPECT_TRUE(unit.booWaitFor(kC1Trace));
    EXPECT_TRUE(unit.booWaitFor("-> 06  [ACK]"));
    EXPECT_TRUE(unit.booWaitFor(kS1Trace));
    EXPECT_TRUE(unit.booWaitFor("<- 06  [ACK]")) << "the console's ACK of s1";
}

TEST_F(TransportTcp, TheNextConsoleIsServedWhenOneDrops) {
    vStartUnit();
    ASSERT_EQ(lOpen(unit.port), 0);
    simtest::LinkConsole con;
    ASSERT_EQ(con.lSendText("c1"), 0);
    ASSERT_TRUE(booPollUntil(con, [&] { return booHas(con, "s1"); }));
    ZyrWeq_SetDeviceFree();
    EXPECT_TRUE(unit.booWaitFor("disconnected: the console closed the connection"));
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    EXPECT_TRUE(unit.booWaitFor("connected 127.0.0.1:"));
    con.vClear();
    ASSERT_EQ(con.lSendText("c1"), 0);
    ASSERT_TRUE(booPollUntil(con, [&] { return booHas(con, "s1"); })) << "a new link starts with the sensor report";
}

TEST_F(TransportTcp, RefusedConnectionFailsTheLinkOpen) {
    // A port bound but not listening refuses every connection.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    EXPECT_EQ(lOpen(ntohs(addr.sin_port)), -1);
    char buf[1024];
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), -1);
    ::close(fd);
}

TEST_F(TransportTcp, PeerClosingMakesReceiveNegative) {
    const int srv = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(srv, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(srv, 1), 0);
    ASSERT_EQ(::getsockname(srv, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    ASSERT_EQ(lOpen(ntohs(addr.sin_port)), 0);
    const int peer = ::accept(srv, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    ASSERT_EQ(::send(peer, "\x06", 1, 0), 1);
    simtest::LinkConsole con;
    ASSERT_TRUE(booPollUntil(con, [&] { return con.lastRecv == 1; }));
    ::close(peer);
    ASSERT_TRUE(booPollUntil(con, [&] { return con.lastRecv < 0; }));
    EXPECT_EQ(con.lastRecv, -2);
    EXPECT_EQ(con.lPoll(), -2) << "stays lost until the link is opened again";
    EXPECT_EQ(con.lSendText("c1"), -2);
    ::close(srv);
}

TEST_F(TransportTcp, UnitLosingTheLinkClosesTheConnectionAndTakesTheNext) {
    vStartUnit("LoseLinkAfter=1");
    ASSERT_EQ(lOpen(unit.port), 0);
    simtest::LinkConsole con;
    ASSERT_TRUE(booPollUntil(con, [&] { return con.lastRecv < 0; }));
    EXPECT_EQ(con.lastRecv, -2);
    EXPECT_TRUE(unit.booWaitFor("disconnected: link lost"));
    ZyrWeq_SetDeviceFree();
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    ASSERT_EQ(con.lSendText("c1"), 0);
    ASSERT_TRUE(booPollUntil(con, [&] { return booHas(con, "s1"); }));
}

TEST_F(TransportTcp, SharedLibraryLoadedWithDlopenTalksToTheUnit) {
    vStartUnit();
    const std::string so = simtest::sStageDir() + "/libZyrPan2.so";
    void* h = ::dlopen(so.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(h, nullptr) << ::dlerror();
    simtest::LinkCalls calls;
    calls.Init = reinterpret_cast<decltype(calls.Init)>(::dlsym(h, "ZyrWeq_Init"));
    calls.SetCommInit = reinterpret_cast<decltype(calls.SetCommInit)>(::dlsym(h, "ZyrWeq_SetCommInit"));
    calls.SetDeviceFree = reinterpret_cast<decltype(calls.SetDeviceFree)>(::dlsym(h, "ZyrWeq_SetDeviceFree"));
    calls.Send = reinterpret_cast<decltype(calls.Send)>(::dlsym(h, "ZyrWeq_Ether232Send"));
    calls.Recv = reinterpret_cast<decltype(calls.Recv)>(::dlsym(h, "ZyrWeq_Ether232Recv"));
    vWriteIni("tcp:127.0.0.1:" + std::to_string(unit.port));
    calls.Init(ini.c_str(), 1);
    ASSERT_EQ(calls.SetCommInit(), 0);
    simtest::LinkConsole con(calls);
    ASSERT_EQ(con.lSendText("c1"), 0);
    EXPECT_TRUE(booPollUntil(con, [&] { return booHas(con, "s1"); }));
    EXPECT_TRUE(unit.booWaitFor(kC1Trace));
    calls.SetDeviceFree();
    ::dlclose(h);
}

TEST(ZyrpanUnitCommandLine, RefusesBadArgumentsAndABusyPort) {
    const std::string exe = simtest::sStageDir() + "/zyrpan-unit";
    EXPECT_EQ(WEXITSTATUS(std::system((exe + " >/dev/null 2>&1").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((exe + " --port x >/dev/null 2>&1").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((exe + " --port 70000 >/dev/null 2>&1").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((exe + " --port 1 --bogus >/dev/null 2>&1").c_str())), 2);
    UnitProcess first;
    std::string error;
    ASSERT_TRUE(first.booStart({"--port", "0"}, error)) << error;
    const std::string busy = exe + " --port " + std::to_string(first.port) + " >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(busy.c_str())), 1);
}

}  // namespace
