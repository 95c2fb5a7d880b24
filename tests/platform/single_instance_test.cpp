// One console per settings file, whoever runs it: a second copy sees the
// first at once, also under another user and through a link to the same
// file; a copy with a file of its own runs; a copy that crashed leaves
// nothing that blocks the next start.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/single_instance.h"
#include "tests/platform/forked.h"
#include "tests/support/temp_dir.h"

namespace {

// What a freshly started copy answers for the settings file, as the user
// uid (the same user when 0).
std::string sOtherCopy(const std::string& sSettings, uid_t uid = 0) {
    zyrtest::Forked copy([&](const zyrtest::Report& report) {
        platform::vReleaseInstance();  // it holds nothing of this copy's
        if (uid != 0 && (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0)) {
            report("cannot change user");
            return;
        }
        report(platform::booPrevInstance(sSettings) ? "running" : "first");
    });
    return copy.sLine();
}

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* sub : {"a", "b", "c"}) std::filesystem::create_directory(dir_.file(sub));
        for (const char* f : {"a/ZYR_PAN_WEQ.ini", "b/ZYR_PAN_WEQ.ini"}) zyrtest::writeBytes(dir_.file(f), "[ZYR_PAN_WEQ]\n");
        // c's settings file is a's, as an installed program folder links to it.
        std::filesystem::create_symlink(dir_.file("a/ZYR_PAN_WEQ.ini"), dir_.file("c/ZYR_PAN_WEQ.ini"));
    }
    void TearDown() override { platform::vReleaseInstance(); }
    zyrtest::TempDir dir_;
};

TEST_F(SingleInstance, SecondCopyOnTheSameSettingsSeesTheFirst) {
    const std::string a = dir_.file("a/ZYR_PAN_WEQ.ini");
    EXPECT_EQ(sOtherCopy(a), "first") << "nobody runs yet";
    EXPECT_FALSE(platform::booPrevInstance(a));
    EXPECT_FALSE(platform::booPrevInstance(a)) << "asking again is no other copy";
    EXPECT_EQ(sOtherCopy(a), "running");
    EXPECT_EQ(sOtherCopy(dir_.file("c/ZYR_PAN_WEQ.ini")), "running") << "the same file through a link";
    EXPECT_EQ(sOtherCopy(dir_.file("b/ZYR_PAN_WEQ.ini")), "first") << "a settings file of its own";
}

TEST_F(SingleInstance, AnotherUserSeesTheFirstToo) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to start a copy as another user";
    ASSERT_EQ(chmod(dir_.path().c_str(), 0755), 0);
    const std::string a = dir_.file("a/ZYR_PAN_WEQ.ini");
    EXPECT_EQ(sOtherCopy(a, 65534), "first");
    EXPECT_FALSE(platform::booPrevInstance(a));
    EXPECT_EQ(sOtherCopy(a, 65534), "running");
    EXPECT_EQ(sOtherCopy(dir_.file("c/ZYR_PAN_WEQ.ini"), 65534), "running");
    EXPECT_EQ(sOtherCopy(dir_.file("b/ZYR_PAN_WEQ.ini"), 65534), "first");
}

TEST_F(SingleInstance, CrashedCopyLeavesNothingBehind) {
    const std::string a = dir_.file("a/ZYR_PAN_WEQ.ini");
    zyrtest::Forked first([&](const zyrtest::Report& report) {
        platform::vReleaseInstance();
        report(platform::booPrevInstance(a) ? "running" : "first");
        for (;;) pause();
    });
    ASSERT_EQ(first.sLine(), "first");
    EXPECT_TRUE(platform::booPrevInstance(a));
    first.vKill();
    EXPECT_FALSE(platform::booPrevInstance(a));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.file("a")), {}), 1) << "no file made for it";
}

}  // namespace
