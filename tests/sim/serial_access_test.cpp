// Who may open the unit's serial device: one program at a time (two
// consoles would interleave their frames), and a user outside the device's
// group is told which group that is. Root may open anything, so the refusals
// of the kernel are shown by a child that has become an unprivileged user.
#include <grp.h>
#include <sys/stat.h>

#include <gmock/gmock.h>

#include "app/messages.h"
#include "resources/string_table.h"
#include "sensor/zyr_lib.h"
#include "sim/transport.h"
#include "tests/platform/forked.h"
#include "tests/sim/sim_fixture.h"
#include "tests/support/program_fixture.h"

namespace {

using ::testing::HasSubstr;

// In a child, as nobody (group nogroup, no other groups) when the test runs
// as root: the lines the steps report, or "not nobody".
zyrtest::Forked asNobody(const std::function<void(const zyrtest::Report&)>& steps) {
    return zyrtest::Forked([&](const zyrtest::Report& report) {
        if (::geteuid() != 0 || (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0)) steps(report);
        else report("not nobody");
    });
}

class SerialAccess : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        sim::vResetLibrary();
        ::chmod(sFolder().c_str(), 0755);  // readable by the unprivileged child
    }
    void TearDown() override {
        sim::vResetLibrary();
        ProgramTest::TearDown();
    }
    void vLink(const std::string& link, const char* trace = nullptr) {
        vSetKey("Link", link, "ZyrPan2");
        if (trace != nullptr) vSetKey("Trace", trace, "ZyrPan2");
        vWriteSettings();
        ::chmod(sIniPath().c_str(), 0644);
    }
};

// Faults: a second program (the same user, root, or another user) let onto
// a line in use; a line in use reported as missing or refused for rights;
// the line still held, or still exclusive, after its release.
TEST_F(SerialAccess, OneProgramAtATimeOnTheLine) {
    simtest::Pty pty;
    ASSERT_FALSE(pty.device.empty()) << "no pseudo-terminal";
    ::chmod(pty.device.c_str(), 0666);
    vLink("serial:" + pty.device);
    ZyrLib other;  // a second console: the staged library, with a state of its own
    std::string error;
    ASSERT_TRUE(booLoadZyrLib(simtest::sStage() + "/libZyrPan2.so", other, error)) << error;
    const std::string ini = sIniPath();
    // What a second console gets, and a terminal program, which takes no lock.
    auto otherOpens = [&](const zyrtest::Report& report) {
        other.Init(ini.c_str(), 1);
        const int32_t status = other.SetCommInit();
        other.SetDeviceFree();
        report(std::to_string(status));
    };
    auto plainOpen = [&](const zyrtest::Report& report) {
        const int fd = ::open(pty.device.c_str(), O_RDWR | O_NOCTTY);
        report(fd >= 0 ? "opened" : std::strerror(errno));
        ::close(fd);
    };
    ASSERT_EQ(ZyrWeq_Init(ini.c_str(), 1), 0);
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    const std::string inUse = std::to_string(sim::kLinkInUse);
    EXPECT_EQ(zyrtest::Forked(otherOpens).sLine(), inUse) << "a second console";
    EXPECT_EQ(asNobody(otherOpens).sLine(), inUse) << "a second console of another user";
    EXPECT_EQ(asNobody(plainOpen).sLine(), std::strerror(EBUSY)) << "the terminal's exclusive mode";
    ZyrWeq_SetDeviceFree();
    EXPECT_EQ(zyrtest::Forked(otherOpens).sLine(), "0") << "released";
    EXPECT_EQ(asNobody(plainOpen).sLine(), "opened") << "the exclusive mode ended with the release";
}

// The message names the group that owns the device, in both languages, and
// the engineer's trace says the same.
// Faults: a fixed group named (dialout), the group of another file, the
// device missing from the message, the status of a missing device (-1).
TEST_F(SerialAccess, NoPermissionNamesTheDevicesGroup) {
    const std::string device = sTempFolder() + "/ttyUnit";
    zyrtest::writeBytes(device, "");
    ::chmod(sTempFolder().c_str(), 0755);
    // As root, the device goes to group 1 (daemon), which nobody is not in;
    // otherwise the file is closed to its owner.
    ASSERT_EQ(::geteuid() == 0 ? ::chown(device.c_str(), 0, 1) : 0, 0);
    ::chmod(device.c_str(), ::geteuid() == 0 ? 0660 : 0);
    const std::string group = ::getgrgid(::geteuid() == 0 ? 1 : ::getegid())->gr_name;
    vLink("serial:" + device, "stderr");
    zyrtest::Forked child = asNobody([&](const zyrtest::Report& report) {
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
            std::replace_if(box.begin(), box.end(), [](char c) { return c == '\n' || c == '\r'; }, '|');
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
