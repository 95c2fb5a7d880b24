// The program's folder, where the settings file lies: the executable's
// folder, whatever the current folder is.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>

#include "platform/program_folder.h"
#include "tests/support/temp_dir.h"

TEST(ProgramFolder, IsTheExecutablesFolderNotTheCurrentOne) {
    platform::vSetProgramFolder("");
    const std::filesystem::path before = std::filesystem::current_path();
    zyrtest::TempDir elsewhere;
    ASSERT_EQ(chdir(elsewhere.path().c_str()), 0);
    const std::string sFolder = platform::sProgramFolder();
    std::filesystem::current_path(before);
    EXPECT_EQ(sFolder, QCoreApplication::applicationDirPath().toStdString());
}
