// An installed program folder is read-only and links its settings file to a
// writable folder elsewhere: a write goes through the link, lands beside the
// target, and leaves the link as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/atomic_file.h"
#include "platform/profile_string.h"
#include "tests/support/temp_dir.h"

namespace {
namespace fs = std::filesystem;

std::string g_sTemp;  // the temporary file of the last write

TEST(SettingsThroughLink, WriteLandsBesideTheTargetAndKeepsTheLink) {
    // The link as installed (absolute, to the file), and a relative link to
    // a second link whose target the operator removed.
    for (const bool booInstalled : {true, false}) {
        zyrtest::TempDir dir;
        const std::string prog = dir.file("prog"), var = dir.file("var"), link = prog + "/ZYR_PAN_WEQ.ini";
        fs::create_directories(prog);
        fs::create_directories(var);
        const std::string sLink = booInstalled ? var + "/ZYR_PAN_WEQ.ini" : "../var/current.ini";
        ASSERT_EQ(symlink(sLink.c_str(), link.c_str()), 0);
        if (booInstalled) zyrtest::writeBytes(var + "/ZYR_PAN_WEQ.ini", "[S]\nk=1\n");
        ASSERT_EQ(booInstalled ? 0 : symlink("ZYR_PAN_WEQ.ini", (var + "/current.ini").c_str()), 0);
        platform::vSetReplaceHook([](const char* sTemp) { g_sTemp = sTemp; });
        const bool booWritten = platform::WritePrivateProfileStringA("S", "k", "2", link.c_str()) != 0;
        platform::vSetReplaceHook(nullptr);
        ASSERT_TRUE(booWritten) << sLink;
        std::error_code ec;
        EXPECT_EQ(fs::read_symlink(link, ec).string(), sLink) << "the link was replaced";
        EXPECT_EQ(fs::weakly_canonical(fs::path(g_sTemp).parent_path()), fs::canonical(var)) << "not beside the target";
        EXPECT_EQ(zyrtest::readBytes(var + "/ZYR_PAN_WEQ.ini"), booInstalled ? "[S]\nk=2\n" : "[S]\r\nk=2\r\n");
    }
}

}  // namespace
