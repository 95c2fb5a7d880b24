// The program's folder: where the executable lies, whatever the current folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>

#include "platform/program_folder.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(ProgramFolder, IsTheExecutablesFolderNotTheCurrentOne) {
    platform::vSetProgramFolder("");
    const std::string expected = QCoreApplication::applicationDirPath().toStdString();
    const std::string before = std::filesystem::current_path().string();
    zyrtest::TempDir elsewhere;
    ASSERT_EQ(chdir(elsewhere.path().c_str()), 0);
    const std::string folder = platform::sProgramFolder();
    ASSERT_EQ(chdir(before.c_str()), 0);
    EXPECT_EQ(folder, expected);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "/test_platform"));
}

TEST(ProgramFolder, TestsPointItElsewhereAndBack) {
    const std::string real = platform::sProgramFolder();
    platform::vSetProgramFolder("/opt/unit");
    EXPECT_EQ(platform::sProgramFolder(), "/opt/unit");
    platform::vSetProgramFolder("/opt/unit/");
    EXPECT_EQ(platform::sProgramFolder(), "/opt/unit/") << "given exactly, to test joining rules";
    platform::vSetProgramFolder("");
    EXPECT_EQ(platform::sProgramFolder(), real);
}

}  // namespace
