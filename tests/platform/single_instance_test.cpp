// Only one copy of the console runs per program folder: a second copy sees
// the first at once, a copy in another folder runs, and a copy that crashed
// leaves nothing that blocks the next start.
#include <gtest/gtest.h>

#include "platform/single_instance.h"
#include "tests/platform/forked.h"

namespace {

// A folder of this test run's own, so that runs side by side do not meet.
const std::string kFolder = "/opt/zyr-" + std::to_string(getpid());

// What a freshly started copy answers for the name.
std::string sOtherCopy(const std::string& sName) {
    zyrtest::Forked copy([&](const zyrtest::Report& report) {
        platform::vReleaseInstance();  // it holds nothing of this copy's
        report(platform::booPrevInstance(sName) ? "running" : "first");
    });
    return copy.sLine();
}

TEST(SingleInstance, SecondCopyInTheSameFolderSeesTheFirst) {
    const std::string sLong = kFolder + std::string(200, 'a');  // longer than a socket name
    EXPECT_FALSE(platform::booPrevInstance(kFolder + "/ZYR_PAN_WEQ"));
    EXPECT_FALSE(platform::booPrevInstance(kFolder + "/ZYR_PAN_WEQ")) << "asking again is no other copy";
    EXPECT_FALSE(platform::booPrevInstance(sLong + "1/ZYR_PAN_WEQ"));
    EXPECT_EQ(sOtherCopy(kFolder + "/ZYR_PAN_WEQ"), "running");
    EXPECT_EQ(sOtherCopy(kFolder + "2/ZYR_PAN_WEQ"), "first") << "another program folder";
    EXPECT_EQ(sOtherCopy(sLong + "1/ZYR_PAN_WEQ"), "running");
    EXPECT_EQ(sOtherCopy(sLong + "2/ZYR_PAN_WEQ"), "first");
    platform::vReleaseInstance();
}

TEST(SingleInstance, CrashedCopyLeavesNothingBehind) {
    zyrtest::Forked first([](const zyrtest::Report& report) {
        platform::vReleaseInstance();
        report(platform::booPrevInstance(kFolder + "/ZYR_PAN_WEQ") ? "running" : "first");
        for (;;) pause();
    });
    ASSERT_EQ(first.sLine(), "first");
    EXPECT_TRUE(platform::booPrevInstance(kFolder + "/ZYR_PAN_WEQ"));
    first.vKill();
    EXPECT_FALSE(platform::booPrevInstance(kFolder + "/ZYR_PAN_WEQ"));
    platform::vReleaseInstance();
}

}  // namespace
