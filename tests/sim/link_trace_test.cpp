// The unit link for a service engineer: with [ZyrPan2] Trace the library
// writes every byte both ways, on every kind of link, each chunk after the
// time of day to the millisecond, in zyrpan-unit's format (without the key,
// nothing); a serial device the user may not open has a status of its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <sstream>

#include "sim/frame_codec.h"
#include "sim/library.h"
#include "sim/transport.h"
#include "tests/support/program_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

// The link ("serial": a pseudo-terminal whose far side the test plays) and
// the Trace key ("FILE": a file in the test's folder; "-": no key).
class LinkTrace : public ProgramTest, public ::testing::WithParamInterface<std::pair<std::string, std::string>> {};

// Faults: one direction or one kind of link not traced; bytes traced twice
// or changed; a line without its time of day to the millisecond;
// Trace=stderr ignored; a trace written with no or an empty Trace.
TEST_P(LinkTrace, EveryByteBothWaysWithTheTimeOfDay) {
    const auto& [kind, trace] = GetParam();
    const std::string file = sTempFolder() + "/trace.txt", c1 = sim::sBuildFrame("c1");
    const int peer = kind == "serial" ? ::posix_openpt(O_RDWR | O_NOCTTY) : -1;
    ASSERT_TRUE(peer < 0 || (::grantpt(peer) == 0 && ::unlockpt(peer) == 0)) << "no pseudo-terminals";
    vSetKey("Link", peer < 0 ? kind : kind + ":" + ::ptsname(peer), "ZyrPan2");
    vSetKey("Trace", trace == "-" ? std::nullopt : std::optional(trace == "FILE" ? file : trace), "ZyrPan2");
    vWriteSettings();
    ::testing::internal::CaptureStderr();
    for (int32_t status : {ZyrWeq_Init(sIniPath().c_str(), 1), ZyrWeq_SetCommInit(),
                           ZyrWeq_Ether232Send(c1.data(), static_cast<int16_t>(c1.size()))})
        EXPECT_EQ(status, 0);
    EXPECT_TRUE(peer < 0 || ::write(peer, "\x06", 1) == 1) << "the unit at the far end answers ACK";
    char buf[1024];
    for (int i = 0; i < 200 && ZyrWeq_Ether232Recv(buf) == 0; ++i) ::usleep(5000);
    sim::vResetLibrary();
    const std::string err = ::testing::internal::GetCapturedStderr();
    ::close(peer);
    std::istringstream in(trace == "FILE" ? zyrtest::readBytes(file) : err);
    std::vector<std::string> lines;
    const std::regex re(R"([0-2]\d:[0-5]\d:[0-5]\d\.\d\d\d (.*))");
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        ASSERT_TRUE(std::regex_match(line, m, re)) << line;
        if (m[1].str().rfind("<- ", 0) == 0 || m[1].str().rfind("-> ", 0) == 0 || trace.size() < 2) lines.push_back(m[1]);
    }
    EXPECT_EQ(lines, (trace.size() < 2 ? std::vector<std::string>{}
                                       : std::vector<std::string>{"<- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]", "-> 06  [ACK]"}));
}

INSTANTIATE_TEST_SUITE_P(Targets, LinkTrace,
                         ::testing::Values(std::pair{"sim", "FILE"}, std::pair{"serial", "FILE"},
                                           std::pair{"serial", "stderr"}, std::pair{"sim", "-"},
                                           std::pair{"serial", ""}));

// Fault: a device the user may not open reported as a missing one (-1, the
// other side, is checked with the settings). Root may open anything, so the
// library opens the link in a child that has become an unprivileged user:
// the kernel's refusal is real; the device is a locked file, not a terminal.
TEST(SerialPermission, LockedDeviceHasItsOwnStatus) {
    zyrtest::TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string ini = dir.file("Z.ini"), locked = dir.file("ttyLocked");
    zyrtest::writeBytes(locked, "");
    ::chmod(locked.c_str(), 0);
    zyrtest::writeBytes(ini, "[ZyrPan2]\nLink=serial:" + locked + "\n");
    const pid_t pid = ::fork();
    const bool booUser = pid == 0 && (::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0));
    if (pid == 0) ::_exit(booUser && ZyrWeq_Init(ini.c_str(), 1) == 0 ? ZyrWeq_SetCommInit() & 0xff : 1);
    int wst = 0;
    ASSERT_EQ(::waitpid(pid, &wst, 0), pid);
    EXPECT_EQ(WEXITSTATUS(wst), sim::kLinkNoPermission & 0xff) << "a missing device is -1, as elsewhere";
}

}  // namespace
