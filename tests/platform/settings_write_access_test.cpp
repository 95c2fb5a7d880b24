// Settings writes by an operator who is not the file's owner: a writable file
// in a folder the operator may not write into is still written, and the file
// keeps its group and permission bits, whichever way it was written. A file
// the operator may not write is left as it was and the write reports failure.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/profile_string.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr uid_t kOwner = 65531;   // the file's owner, another user
constexpr gid_t kShared = 65532;  // the group the operators share
constexpr uid_t kWriter = 65533;  // the operator; primary group of the same number

struct Access {
    const char* sName;
    mode_t folderMode;  // the folder is root's
    mode_t fileMode;    // the file is kOwner's, group kShared
    bool booInGroup;    // kShared among the operator's groups
    bool booWritten;
};

class SettingsWriteAccess : public ::testing::TestWithParam<Access> {};

TEST_P(SettingsWriteAccess, WritesWhatTheOperatorMayAndKeepsGroupAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: the file and its folder belong to other users";
    const Access& a = GetParam();
    const std::string sOld = "[ZYR_PAN_WEQ]\r\nVolt=100\r\nElec=4\r\n";
    zyrtest::TempDir dir;
    const std::string path = dir.file("ZYR_PAN_WEQ.ini");
    zyrtest::writeBytes(path, sOld);
    ASSERT_EQ(chown(path.c_str(), kOwner, kShared), 0);
    ASSERT_EQ(chmod(path.c_str(), a.fileMode), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), a.folderMode), 0);

    // The operator writes Volt=75 (one byte shorter), in a child without root's rights.
    const pid_t pid = fork();
    if (pid == 0) {
        const gid_t groups[] = {kShared};
        if (setgroups(a.booInGroup ? 1 : 0, groups) != 0 || setgid(kWriter) != 0 || setuid(kWriter) != 0) _exit(3);
        _exit(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "75", path.c_str()) != 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 3) << "cannot run a child without root's rights";
    EXPECT_EQ(WEXITSTATUS(status), a.booWritten ? 0 : 1);
    EXPECT_EQ(zyrtest::readBytes(path), a.booWritten ? "[ZYR_PAN_WEQ]\r\nVolt=75\r\nElec=4\r\n" : sOld);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_gid, kShared);
    EXPECT_EQ(st.st_mode & 07777, a.fileMode);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
}

INSTANTIATE_TEST_SUITE_P(
    Operators, SettingsWriteAccess,
    ::testing::Values(Access{"ClosedFolderWritableFile", 0755, 0666, false, true},
                      Access{"ClosedFolderFileOfAnotherGroup", 0755, 0664, false, false},
                      Access{"OpenFolderGroupMember", 0777, 0664, true, true},
                      Access{"OpenFolderNotInTheGroup", 0777, 0666, false, true}),
    [](const ::testing::TestParamInfo<Access>& i) { return std::string(i.param.sName); });

}  // namespace
