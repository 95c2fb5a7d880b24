// Who may open the unit's serial device: one program at a time (two
// consoles would interleave their frames), and a user outside the device's
// group is told which group that is. Root may open anything, so the refusals
// of the kernel are shown by a child that has become an unprivileged user.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include "app/messages.h"
#include "resources/string_table.h"
#include "sensor/zyr_lib.h"
#include "sim/library.h"
#include "sim/transport.h"
#include "tests/platform/forked.h"
#include "tests/support/program_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::HasSubstr;

constexpr uid_t kNobody = 65534;

// Becomes nobody (group nogroup, no other groups) when run as root.
bool booBecomeNobody() {
    return ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
}

// A status of the library in a child: as nobody when the test runs as root.
int32_t lInChild(const std::function<int32_t()>& call) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(booBecomeNobody() ? call() & 0xff : 0x7f);
    int wst = 0;
    ::waitpid(pid, &wst, 0);
    return WIFEXITED(wst) ? static_cast<int8_t>(WEXITSTATUS(wst)) : 0x7f;
}

class SerialAccess : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        sim::vResetLibrary();
        // Readable by the unprivileged child.
        ::chmod(sFolder().c_str(), 0755);
    }
    void TearDown() override {
        sim::vResetLibrary();
        ProgramTest::TearDown();
    }
    void vLink(const std::string& link) {
        vSetKey("Link", link, "ZyrPan2");
        vWriteSettings();
        ::chmod(sIniPath().c_str(), 0644);
    }
};

// Faults: a second program (the same user, root, or another user) let onto
// a line in use; a line in use reported as missing or refused for rights;
// the line still held, or still exclusive, after its release.
TEST_F(SerialAccess, OneProgramAtATimeOnTheLine) {
    const int pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(pty >= 0 && ::grantpt(pty) == 0 && ::unlockpt(pty) == 0) << "no pseudo-terminal";
    const std::string device = ::ptsname(pty);
    ::chmod(device.c_str(), 0666);
    vLink("serial:" + device);
    const char* const zStage = std::getenv("ZYR_STAGE_DIR");
    ASSERT_NE(zStage, nullptr);
    ZyrLib other;  // a second console: the staged library, with a state of its own
    std::string error;
    ASSERT_TRUE(booLoadZyrLib(std::string(zStage) + "/libZyrPan2.so", other, error)) << error;
    const std::string ini = sIniPath();
    auto lOtherOpens = [&] {
        other.Init(ini.c_str(), 1);
        const int32_t r = other.SetCommInit();
        other.SetDeviceFree();
        return r;
    };

    // A terminal program, which takes no lock, as another user.
    auto lPlainOpen = [&] {
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
        const int32_t r = fd >= 0 ? 0 : errno;
        ::close(fd);
        return r;
    };

    ASSERT_EQ(ZyrWeq_Init(ini.c_str(), 1), 0);
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    EXPECT_EQ(lOtherOpens(), sim::kLinkInUse) << "a second console";
    EXPECT_EQ(lInChild(lOtherOpens), sim::kLinkInUse) << "a second console of another user";
    EXPECT_EQ(lInChild(lPlainOpen), EBUSY) << "the terminal's exclusive mode";
    ZyrWeq_SetDeviceFree();
    EXPECT_EQ(lOtherOpens(), 0) << "released";
    EXPECT_EQ(lInChild(lPlainOpen), 0) << "the exclusive mode ended with the release";
    ::close(pty);
}

// The first group of the system that is none of root, nogroup and dialout.
std::optional<std::pair<gid_t, std::string>> otherGroup() {
    ::setgrent();
    std::optional<std::pair<gid_t, std::string>> found;
    while (const group* g = ::getgrent())
        if (g->gr_gid != 0 && g->gr_gid != kNobody && std::string(g->gr_name) != "dialout") {
            found = std::pair{g->gr_gid, std::string(g->gr_name)};
            break;
        }
    ::endgrent();
    return found;
}

// The message names the group that owns the device, in both languages, and
// the engineer's trace says the same.
// Faults: a fixed group named (dialout), the group of another file, the
// device missing from the message, the status of a missing device (-1).
TEST_F(SerialAccess, NoPermissionNamesTheDevicesGroup) {
    std::string device = sTempFolder() + "/ttyUnit", group;
    zyrtest::writeBytes(device, "");
    ::chmod(sTempFolder().c_str(), 0755);
    if (::geteuid() == 0) {
        const auto g = otherGroup();
        ASSERT_TRUE(g) << "no group to give the device";
        ASSERT_EQ(::chown(device.c_str(), 0, g->first), 0);
        ::chmod(device.c_str(), 0660);  // nobody is in neither the owner nor the group
        group = g->second;
    } else {
        ::chmod(device.c_str(), 0);
        group = ::getgrgid(::getegid())->gr_name;
    }
    vLink("serial:" + device);
    vSetKey("Trace", "stderr", "ZyrPan2");
    vWriteSettings();
    ::chmod(sIniPath().c_str(), 0644);
    zyrtest::Forked child([&](const zyrtest::Report& report) {
        if (!booBecomeNobody()) return report("could not become nobody");
        ::testing::internal::CaptureStderr();
        ZyrWeq_Init(sIniPath().c_str(), 1);
        const int32_t status = ZyrWeq_SetCommInit();
        const std::string trace = ::testing::internal::GetCapturedStderr();
        report(std::to_string(status));
        const auto at = trace.find("no permission");
        report(at == std::string::npos ? trace : trace.substr(at, trace.find('\n', at) - at));
        for (int lang : {1, 2}) {
            vSetResLanguage(lang);
            vShowInitErr(nullptr, status);
            std::string box = boxTexts().back();
            for (char& c : box)
                if (c == '\n' || c == '\r') c = '|';
            report(box);
        }
    });
    EXPECT_EQ(child.sLine(), std::to_string(sim::kLinkNoPermission));
    EXPECT_EQ(child.sLine(), "no permission to open " + device + ": add the user to the group " + group);
    EXPECT_THAT(child.sLine(), HasSubstr("No permission to open the serial device " + device +
                                         " of the unit: add the user to the group " + group + ", which owns it"));
    EXPECT_THAT(child.sLine(), HasSubstr("装置のシリアルデバイス " + device + " を開く権限がありません。ユーザーを、このデバイスを所有する " +
                                         group + " グループに"));
}

// Faults: the new statuses explained as the generic communication error, or
// not at all in the start-up box; the neighbours -3 and -7 given an
// explanation; a group named where the settings name no serial device.
TEST_F(SerialAccess, StartUpBoxExplainsTheInstallationsCodes) {
    vLink("sim");
    for (int32_t code : {-3, -4, -5, -6, -7}) vShowInitErr(nullptr, code);
    EXPECT_THAT(boxTexts(), ::testing::ElementsAre(
                                HasSubstr("(-3)\r\nConfirm"), HasSubstr("(-4)\r\nNo Link setting: section [ZyrPan2]"),
                                HasSubstr("(-5)\r\nNo permission to open the serial device of the unit: add the user to the group that owns the device"),
                                HasSubstr("(-6)\r\nThe serial device of the unit is in use by another program"),
                                HasSubstr("(-7)\r\nConfirm")));
    EXPECT_THAT(sCodeExplanation(sim::kNoSensorDriver), HasSubstr("This library has no driver for a real sensor."));
}

}  // namespace
