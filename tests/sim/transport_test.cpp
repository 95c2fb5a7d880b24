// The TCP and serial links on the real clock: the shared object, as the
// console loads it, against zyrpan-unit in another process; a bare socket of
// the test where the peer's misbehaviour is the point; a pseudo-terminal as
// the serial line.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

#include "sensor/zyr_lib.h"
#include "tests/sim/unit_process.h"

namespace {

using namespace simtest;

class Transport : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        platform::vSetClock(nullptr);
    }
    // Reads until the event came; false after 3 s.
    static bool booAwait(LineEnd& line, const std::string& what) {
        for (int i = 0; i < 1500; ++i) {
            line.lPoll(0);
            for (const auto& e : line.events)
                if (e.second == what) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
};

// Faults: a frame changed on the way, the ACK or report missing from the
// unit's trace, the link loss not seen, the next connection not served, a
// new link without its sensor report, the console's release not seen.
TEST_F(Transport, TcpToZyrpanUnitAcrossALostLinkAndARelease) {
    zyrtest::writeBytes(dir_.file("unit.ini"), "[ZyrPan2]\nLoseLinkAfter=2\nAnswerDelay=20\n");
    UnitProcess unit;
    const std::string first = unit.sStart({"--port", "0", "--config", dir_.file("unit.ini")});
    ASSERT_NE(unit.port, 0) << first;
    ZyrLib so;
    std::string error;
    ASSERT_TRUE(booLoadZyrLib(sStage() + "/libZyrPan2.so", so, error)) << error;
    so.Init(sIni("Link=tcp:127.0.0.1:" + std::to_string(unit.port)).c_str(), 1);
    for (int link = 1; link <= 2; ++link) {
        ASSERT_EQ(so.SetCommInit(), 0) << link;
        EXPECT_EQ(unit.sLine().rfind("connected 127.0.0.1:", 0), 0u) << link;
        LineEnd line(so);
        ASSERT_EQ(line.lSend("c1"), 0);
        ASSERT_TRUE(booAwait(line, "s1")) << link;
        EXPECT_EQ(line.wire, "\x06\x02s1 c4\x03");
        EXPECT_EQ(unit.sLine(), "<- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]");
        EXPECT_EQ(unit.sLine(), "-> 06  [ACK]");
        EXPECT_EQ(unit.sLine(), "-> 02 73 31 20 63 34 03  [STX]s1 c4[ETX]");
        EXPECT_EQ(unit.sLine(), "<- 06  [ACK]");
        if (link == 2) break;
        ASSERT_TRUE(booAwait(line, "-2")) << "the first link is lost after 2 s";
        EXPECT_EQ(line.lSend("c1"), -2);
        EXPECT_EQ(unit.sLine(), "disconnected: link lost (LoseLinkAfter)");
        so.SetDeviceFree();
    }
    so.SetDeviceFree();
    EXPECT_EQ(unit.sLine(), "disconnected: the console closed the connection");
}

// Faults: a refused connection reported as open, a peer's close not seen or
// forgotten on the next read.
TEST_F(Transport, TcpRefusedThenAPeerThatCloses) {
    const int srv = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(srv, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::getsockname(srv, reinterpret_cast<sockaddr*>(&a), &len), 0);
    const std::string link = "Link=tcp:127.0.0.1:" + std::to_string(ntohs(a.sin_port));
    EXPECT_EQ(lOpen(link), -1) << "bound but not listening: refused";
    EXPECT_EQ(line_.lPoll(0), -1);
    ASSERT_EQ(::listen(srv, 1), 0);
    ASSERT_EQ(lOpen(link), 0);
    const int peer = ::accept(srv, nullptr, nullptr);
    ASSERT_EQ(::send(peer, "\x06", 1, 0), 1);
    EXPECT_TRUE(booAwait(line_, "ACK"));
    ::close(peer);
    EXPECT_TRUE(booAwait(line_, "-2"));
    EXPECT_EQ(line_.lPoll(0), -2) << "lost until the link is opened again";
    EXPECT_EQ(line_.lSend("c1"), -2);
    ::close(srv);
}

// Faults: wrong arguments or a busy port not refused with their exit status.
TEST(ZyrpanUnit, Exits2OnWrongArgumentsAnd1WhenItCannotListen) {
    const std::string exe = sStage() + "/zyrpan-unit";
    for (const char* args : {"", "--port", "--port x", "--port -1", "--port 65536", "--port 1 --bogus"})
        EXPECT_EQ(WEXITSTATUS(std::system((exe + " " + args + " >/dev/null 2>&1").c_str())), 2) << args;
    UnitProcess first;
    first.sStart({"--port", "0"});
    const std::string busy = exe + " --port " + std::to_string(first.port) + " >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(busy.c_str())), 1);
}

// Faults: a byte changed on the raw line in either direction (CR, LF,
// XON/XOFF, 0xff), a missing device or an unsupported rate accepted, nothing
// read taken for a hang-up, the hang-up not seen or forgotten.
TEST_F(Transport, SerialLinePassesEveryByteAndSeesTheHangUp) {
    const int pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(pty >= 0 && ::grantpt(pty) == 0 && ::unlockpt(pty) == 0) << "no pseudo-terminal";
    const std::string device = ::ptsname(pty);
    EXPECT_EQ(lOpen("Link=serial:/dev/nonexistent-zyr-line"), -1);
    EXPECT_EQ(lOpen("Link=serial:" + device + ":12345"), -3);
    ASSERT_EQ(lOpen("Link=serial:" + device + ":19200"), 0);
    const std::string bytes("\x06\x02s1 c4\x03\x15\x11\x13\xff\r\n", 13);
    ASSERT_EQ(lib_.Ether232Send(bytes.data(), 13), 0);
    std::string out(64, '\0');
    pollfd p{pty, POLLIN, 0};
    const ssize_t n = ::poll(&p, 1, 2000) > 0 ? ::read(pty, out.data(), out.size()) : 0;
    EXPECT_EQ(out.substr(0, static_cast<size_t>(std::max<ssize_t>(n, 0))), bytes);
    ASSERT_EQ(::write(pty, bytes.data(), bytes.size()), 13);
    std::string in;
    char buf[1024];
    for (int i = 0; i < 1000 && in.size() < bytes.size(); ++i) {
        const int32_t r = lib_.Ether232Recv(buf);
        in.append(buf, static_cast<size_t>(std::max(r, 0)));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(in, bytes);
    EXPECT_EQ(lib_.Ether232Recv(buf), 0) << "nothing more came";
    ::close(pty);  // the adapter is unplugged
    EXPECT_EQ(lib_.Ether232Recv(buf), -2);
    EXPECT_EQ(lib_.Ether232Recv(buf), -2);
}

}  // namespace
