// A program killed while it writes the settings file must leave the old file
// whole: the console is switched off at any moment, and the next start reads
// this file first.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "platform/profile_string.h"
#include "tests/platform/child_process.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kOld = "[ZYR_PAN_WEQ]\r\n; operator's file\r\nVolt=70\r\nElec=4\r\n";

std::string readVolt(const std::string& path) {
    char buffer[512];
    platform::GetPrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "NONE", buffer, sizeof buffer, path.c_str());
    return buffer;
}

TEST(ProfileKill, KilledBeforeTheRenameLeavesTheOldFile) {
    zyrtest::TempDir dir;
    const std::string path = dir.file("ZYR_PAN_WEQ.ini");
    zyrtest::writeBytes(path, kOld);
    zyrtest::Child child = zyrtest::spawnChild("write-stop-before-rename", {path, "75"});
    const std::string line = zyrtest::readLine(child);
    ASSERT_EQ(line.rfind("temp ", 0), 0u) << "the writer did not reach its rename: " << line;
    const std::string temp = line.substr(5);
    // The new text is complete in the temporary file, beside the old file.
    EXPECT_EQ(temp.rfind(dir.path() + "/", 0), 0u);
    EXPECT_EQ(zyrtest::readBytes(temp), "[ZYR_PAN_WEQ]\r\n; operator's file\r\nVolt=75\r\nElec=4\r\n");
    zyrtest::killChild(child);

    EXPECT_EQ(zyrtest::readBytes(path), kOld);
    EXPECT_EQ(readVolt(path), "70");
    // What the dead writer left does not hinder the next write.
    ASSERT_NE(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "80", path.c_str()), 0);
    EXPECT_EQ(readVolt(path), "80");
}

// Kills a writer of a large value as soon as its temporary file appears, in
// the middle of writing it. Whenever the kill lands, the settings file is the
// old one or the complete new one, never a mixture.
TEST(ProfileKill, KilledWhileWritingLeavesOldOrNewFile) {
    zyrtest::TempDir dir;
    const std::string path = dir.file("ZYR_PAN_WEQ.ini");
    zyrtest::writeBytes(path, kOld);
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.path().c_str(), IN_CREATE), 0);
    const size_t big = 16u << 20;
    zyrtest::Child child = zyrtest::spawnChild("write-huge", {path, std::to_string(big)});
    ASSERT_EQ(zyrtest::readLine(child), "writing");

    alignas(inotify_event) char events[sizeof(inotify_event) + NAME_MAX + 1];
    ASSERT_GT(read(watch, events, sizeof events), 0);  // the temporary file was created
    zyrtest::killChild(child);
    close(watch);

    const std::string now = zyrtest::readBytes(path);
    if (now != kOld) {
        EXPECT_EQ(now.size(), kOld.size() - 2 + big) << "a half-written settings file";
        EXPECT_EQ(readVolt(path).size(), 511u);
    }
    EXPECT_EQ(readVolt(path), now == kOld ? "70" : std::string(511, 'v'));
}

}  // namespace
