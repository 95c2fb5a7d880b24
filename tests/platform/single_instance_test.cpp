// Only one copy of the console runs: a second copy sees the first at once,
// and a copy that crashed leaves nothing that blocks the next start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/single_instance.h"
#include "tests/platform/child_process.h"

namespace {

class SingleInstance : public ::testing::Test {
protected:
    void TearDown() override { platform::vReleaseInstance(); }
    // Unique per test run, so that runs side by side do not meet.
    std::string name = "ZYR_PAN_WEQ-test-" + std::to_string(getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name();

    std::string askInChild() {
        zyrtest::Child child = zyrtest::spawnChild("query-instance", {name});
        const std::string answer = zyrtest::readLine(child);
        zyrtest::waitChild(child);
        return answer;
    }
};

TEST_F(SingleInstance, SecondCopySeesTheFirst) {
    EXPECT_FALSE(platform::booPrevInstance(name));
    EXPECT_EQ(askInChild(), "running");
    EXPECT_EQ(askInChild(), "running") << "the copy that was refused took nothing";
}

TEST_F(SingleInstance, AskingAgainInTheSameCopyIsNoOtherCopy) {
    EXPECT_FALSE(platform::booPrevInstance(name));
    EXPECT_FALSE(platform::booPrevInstance(name));
}

TEST_F(SingleInstance, OtherNamesDoNotMeet) {
    EXPECT_FALSE(platform::booPrevInstance(name));
    EXPECT_FALSE(platform::booPrevInstance(name + "-other"));
    zyrtest::Child child = zyrtest::spawnChild("query-instance", {name + "-third"});
    EXPECT_EQ(zyrtest::readLine(child), "first");
    zyrtest::waitChild(child);
}

TEST_F(SingleInstance, CrashedCopyLeavesNoLock) {
    zyrtest::Child first = zyrtest::spawnChild("hold-instance", {name});
    ASSERT_EQ(zyrtest::readLine(first), "first");
    EXPECT_TRUE(platform::booPrevInstance(name)) << "the running child holds it";
    zyrtest::killChild(first);  // crash: no chance to release anything
    EXPECT_FALSE(platform::booPrevInstance(name)) << "a crashed copy must not block the next start";
    EXPECT_EQ(askInChild(), "running");
}

TEST_F(SingleInstance, ReleasedCopyLetsTheNextRun) {
    EXPECT_FALSE(platform::booPrevInstance(name));
    platform::vReleaseInstance();
    EXPECT_EQ(askInChild(), "first");
}

TEST_F(SingleInstance, VeryLongNamesStayApart) {
    const std::string a = name + std::string(200, 'a') + "1";
    const std::string b = name + std::string(200, 'a') + "2";
    EXPECT_FALSE(platform::booPrevInstance(a));
    zyrtest::Child child = zyrtest::spawnChild("query-instance", {b});
    EXPECT_EQ(zyrtest::readLine(child), "first");
    zyrtest::waitChild(child);
    zyrtest::Child same = zyrtest::spawnChild("query-instance", {a});
    EXPECT_EQ(zyrtest::readLine(same), "running");
    zyrtest::waitChild(same);
}

}  // namespace
