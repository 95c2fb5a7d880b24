// The file utilities on real folders: the work folder, the clean-up that
// empties it, and the temporary folder it lives in.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "app/file_utils.h"
#include "tests/support/program_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

// Which of the names are still there, as a string of 0 and 1.
std::string sLeft(const zyrtest::TempDir& dir, std::initializer_list<const char*> names) {
    std::string s;
    for (const char* n : names) s += zyrtest::exists(dir.file(n)) ? '1' : '0';
    return s;
}

// A folder one level deep only, never over a file; the clean-up takes
// read-only files too, never files in sub-folders nor the current folder.
TEST(FileWorkFolder, IsMadeOneLevelDeepAndEmptiedOfFilesByPattern) {
    zyrtest::TempDir dir;
    zyrtest::writeBytes(dir.file("inside.txt"), "x");
    EXPECT_EQ(std::tuple(booMakeFolder(dir.path()), booMakeFolder(dir.file("missing/child")),
                         booMakeFolder(dir.file("inside.txt")), booMakeFolder(dir.file("sub"))),
              std::tuple(true, false, false, true));
    EXPECT_EQ(sLeft(dir, {"inside.txt", "missing"}), "10");
    for (const char* s : {"ZYR_PAN_WEQ.DAT", "ZYR_PAN_WEQ.DAT.bak", "noext", "sub/deep.txt"}) zyrtest::writeBytes(dir.file(s), s);
    ASSERT_EQ(chmod(dir.file("ZYR_PAN_WEQ.DAT").c_str(), 0444), 0);
    EXPECT_TRUE(booDeleteFiles(dir.file("ZYR_PAN_WEQ.DAT")));
    EXPECT_EQ(sLeft(dir, {"ZYR_PAN_WEQ.DAT", "ZYR_PAN_WEQ.DAT.bak", "noext"}), "011");
    EXPECT_TRUE(booDeleteFiles(dir.file("*.*")));
    EXPECT_EQ(sLeft(dir, {"ZYR_PAN_WEQ.DAT.bak", "noext", "inside.txt", "sub/deep.txt"}), "0001");
    EXPECT_TRUE(booDeleteFiles(dir.file("gone/*.*"))) << "nothing to delete";
    EXPECT_FALSE(booDeleteFiles("*.zyr-none")) << "no folder given: the current one is never used";
}

// Marks a file immutable, so that even root cannot delete it, or clears the
// mark; false when the file system refuses.
bool booImmutable(const std::string& sPath, bool booOn) {
    const int fd = open(sPath.c_str(), O_RDONLY);
    int flags = 0;
    bool ok = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = booOn ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) close(fd);
    return ok;
}

TEST(FileDelete, FileThatCannotGoFailsTheCallButNotTheOthers) {
    zyrtest::TempDir dir;
    for (const char* s : {"a.txt", "b.txt", "c.txt"}) zyrtest::writeBytes(dir.file(s), s);
    if (!booImmutable(dir.file("b.txt"), true)) GTEST_SKIP() << "this file system cannot mark a file immutable";
    EXPECT_FALSE(booDeleteFiles(dir.file("*.*")));
    EXPECT_EQ(sLeft(dir, {"a.txt", "b.txt", "c.txt"}), "010");
    booImmutable(dir.file("b.txt"), false);
}

using FileTempFolder = ProgramTest;  // puts TMPDIR back afterwards

TEST_F(FileTempFolder, FollowsTmpdirOnEveryReadEndingWithSlash) {
    const std::pair<const char*, const char*> kCases[] = {
        {"/var/tmp/zyr", "/var/tmp/zyr/"}, {"/var/tmp/x y/", "/var/tmp/x y/"}, {"", "/tmp/"}, {nullptr, "/tmp/"}};
    for (const auto& [sTmp, sExpected] : kCases) {
        sTmp != nullptr ? setenv("TMPDIR", sTmp, 1) : unsetenv("TMPDIR");
        EXPECT_EQ(ClsGetSpecialFolder().TempPath(), sExpected) << (sTmp ? sTmp : "(none)");
    }
}

}  // namespace
