// The links: the Link setting, and on the real clock the shared object, as
// the console loads it, against zyrpan-unit in another process, and a
// pseudo-terminal as the serial line.
#include <poll.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "sensor/zyr_lib.h"
#include "sim/link_spec.h"
#include "tests/sim/sim_fixture.h"

namespace {

using namespace simtest;

// Faults: a link setting taken wrongly, a bad one accepted (port 0 or above
// 65535, no host, no device, an unknown kind).
TEST(LinkSetting, KindAndPlace) {
    const std::pair<const char*, const char*> cases[] = {
        {"sim", "sim"}, {"SIM", "sim"}, {"sim:x", "invalid"}, {"modem:1", "invalid"},
        {"tcp:127.0.0.1:4001", "tcp 127.0.0.1:4001"}, {"tcp:bridge.local:1", "tcp bridge.local:1"},
        {"tcp:[::1]:65535", "tcp ::1:65535"}, {"tcp:127.0.0.1:65536", "invalid"}, {"tcp:127.0.0.1:0", "invalid"},
        {"tcp:127.0.0.1", "invalid"}, {"tcp::4001", "invalid"}, {"serial:/dev/ttyUSB0", "serial /dev/ttyUSB0:9600"},
        {"serial:/dev/ttyS1:115200", "serial /dev/ttyS1:115200"}, {"serial:", "invalid"}};
    for (const auto& [text, want] : cases) {
        const sim::LinkSpec s = sim::parseLinkSpec(text);
        std::string got = "invalid";
        if (s.kind == sim::LinkSpec::Kind::Sim) got = "sim";
        if (s.kind == sim::LinkSpec::Kind::Tcp) got = "tcp " + s.host + ":" + std::to_string(s.port);
        if (s.kind == sim::LinkSpec::Kind::Serial) got = "serial " + s.device + ":" + std::to_string(s.baud);
        EXPECT_EQ(got, want) << text;
    }
}

// The staged zyrpan-unit in another process (for 30 s at most): its first
// line gives the port, then its trace comes line by line.
class UnitProcess {
public:
    explicit UnitProcess(const std::string& args)
        : out_(::popen(("echo $$; exec timeout 30 " + sStage() + "/zyrpan-unit " + args).c_str(), "r")),
          pid_(std::atoi(sLine().c_str())), first(sLine()) {
        if (first.rfind("listening on 127.0.0.1:", 0) == 0) port = std::stoi(first.substr(23));
    }
    ~UnitProcess() {
        if (pid_ > 0) ::kill(pid_, SIGTERM);
        if (out_ != nullptr) ::pclose(out_);
    }
    // The next line it printed; empty when it has ended.
    std::string sLine() {
        char line[512] = {};
        if (out_ == nullptr || std::fgets(line, sizeof line, out_) == nullptr) return {};
        return std::string(line, std::strcspn(line, "\n"));
    }

private:
    FILE* out_;
    int pid_;

public:
    const std::string first;
    int port = 0;
};

class Transport : public SimTest {
protected:
    void SetUp() override { platform::vSetClock(nullptr); }  // the real clock
    // Reads until the event came; false after 3 s.
    static bool booAwait(LineEnd& line, const std::string& what) {
        for (int i = 0; i < 1500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(2))) {
            line.lPoll(0);
            if (std::any_of(line.events.begin(), line.events.end(), [&](const auto& e) { return e.second == what; }))
                return true;
        }
        return false;
    }
};

// Faults: a frame changed on the way, the ACK or report missing from the
// unit's trace, the link loss not seen, the next connection not served, a
// new link without its sensor report, the console's release not seen.
TEST_F(Transport, TcpToZyrpanUnitAcrossALostLinkAndARelease) {
    zyrtest::writeBytes(dir_.file("unit.ini"), "[ZyrPan2]\nLoseLinkAfter=2\nAnswerDelay=20\n");
    UnitProcess unit("--port 0 --config " + dir_.file("unit.ini"));
    ASSERT_NE(unit.port, 0) << unit.first;
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
        EXPECT_EQ((Texts{unit.sLine(), unit.sLine(), unit.sLine(), unit.sLine()}),
                  (Texts{"<- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]", "-> 06  [ACK]", "-> 02 73 31 20 63 34 03  [STX]s1 c4[ETX]",
                         "<- 06  [ACK]"}));
        if (link == 2) break;
        ASSERT_TRUE(booAwait(line, "-2")) << "the unit closes the first link after 2 s";
        EXPECT_EQ(line.lPoll(0), -2) << "lost until the link is opened again";
        EXPECT_EQ(line.lSend("c1"), -2);
        EXPECT_EQ(unit.sLine(), "disconnected: link lost (LoseLinkAfter)");
        so.SetDeviceFree();
    }
    so.SetDeviceFree();
    EXPECT_EQ(unit.sLine(), "disconnected: the console closed the connection");
}

// Faults: wrong arguments or a busy port not refused with their exit status.
TEST(ZyrpanUnit, Exits2OnWrongArgumentsAnd1WhenItCannotListen) {
    const std::string exe = sStage() + "/zyrpan-unit";
    for (const char* args : {"", "--port", "--port x", "--port -1", "--port 65536", "--port 1 --bogus"})
        EXPECT_EQ(WEXITSTATUS(std::system((exe + " " + args + " >/dev/null 2>&1").c_str())), 2) << args;
    UnitProcess first("--port 0");
    EXPECT_EQ(WEXITSTATUS(std::system((exe + " --port " + std::to_string(first.port) + " >/dev/null 2>&1").c_str())), 1);
}

// Faults: a byte changed on the raw line in either direction (CR, LF,
// XON/XOFF, 0xff), a missing device or an unsupported rate accepted, a link
// kept after its open failed, nothing read taken for a hang-up, the hang-up
// not seen or forgotten.
TEST_F(Transport, SerialLinePassesEveryByteAndSeesTheHangUp) {
    Pty pty;
    ASSERT_FALSE(pty.device.empty()) << "no pseudo-terminal";
    EXPECT_EQ(lOpen("Link=serial:/dev/nonexistent-zyr-line"), -1);
    EXPECT_EQ(line_.lPoll(0), -1) << "no link after a failed open";
    EXPECT_EQ(lOpen("Link=serial:" + pty.device + ":12345"), -3);
    ASSERT_EQ(lOpen("Link=serial:" + pty.device + ":19200"), 0);
    const std::string bytes("\x06\x02s1 c4\x03\x15\x11\x13\xff\r\n", 13);
    ASSERT_EQ(lib_.Ether232Send(bytes.data(), 13), 0);
    char buf[1024];
    pollfd p{pty.fd, POLLIN, 0};
    const ssize_t n = ::poll(&p, 1, 2000) > 0 ? ::read(pty.fd, buf, sizeof buf) : 0;
    EXPECT_EQ(std::string(buf, static_cast<size_t>(std::max<ssize_t>(n, 0))), bytes);
    ASSERT_EQ(::write(pty.fd, bytes.data(), bytes.size()), 13);
    for (int i = 0; i < 1000 && line_.wire.size() < bytes.size(); ++i, std::this_thread::sleep_for(std::chrono::milliseconds(1)))
        line_.lPoll(0);
    EXPECT_EQ(line_.wire, bytes);
    EXPECT_EQ(lib_.Ether232Recv(buf), 0) << "nothing more came";
    pty.vClose();
    EXPECT_EQ(lib_.Ether232Recv(buf), -2);
    EXPECT_EQ(lib_.Ether232Recv(buf), -2);
}

}  // namespace
