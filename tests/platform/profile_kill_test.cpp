// A program killed while it writes the settings file must leave the old file
// whole: the console is switched off at any moment, and the next start reads
// this file first.
#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "platform/profile_string.h"
#include "tests/platform/forked.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kOld = "[ZYR_PAN_WEQ]\r\n; operator's file\r\nVolt=70\r\nElec=4\r\n";
std::string sWith(const std::string& sVolt) { return "[ZYR_PAN_WEQ]\r\n; operator's file\r\nVolt=" + sVolt + "\r\nElec=4\r\n"; }
const zyrtest::Report* g_report = nullptr;

TEST(ProfileKill, KilledBeforeTheRenameLeavesTheOldFile) {
    zyrtest::TempDir dir;
    const std::string sPath = dir.file("ZYR_PAN_WEQ.ini");
    zyrtest::writeBytes(sPath, kOld);
    zyrtest::Forked writer([&](const zyrtest::Report& report) {
        g_report = &report;
        // The new text is complete: tell where, then stop as if the power went.
        platform::vSetReplaceHook([](const char* sTemp) {
            (*g_report)(std::string("temp ") + sTemp);
            for (;;) pause();
        });
        platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "75", sPath.c_str());
        report("written without stopping");
    });
    const std::string sLine = writer.sLine();
    ASSERT_EQ(sLine.rfind("temp " + dir.path() + "/", 0), 0u) << sLine;
    EXPECT_EQ(zyrtest::readBytes(sLine.substr(5)), sWith("75")) << "the new text lies beside the old file";
    writer.vKill();
    EXPECT_EQ(zyrtest::readBytes(sPath), kOld);
    // What the dead writer left does not hinder the next write.
    ASSERT_NE(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "80", sPath.c_str()), 0);
    EXPECT_EQ(zyrtest::readBytes(sPath), sWith("80"));
}

}  // namespace
