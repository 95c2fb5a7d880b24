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


TEST(FileWorkFolder, IsMadeOneLevelDeepAndEmptiedOfFilesByPattern) {
    zyrtest::TempDir dir;
    zyrtest::writeBytes(dir.file("inside.txt"), "x");
    EXPECT_TRUE(booMakeFolder(dir.path()));
    EXPECT_TRUE(zyrtest::exists(dir.file("inside.txt")));
    EXPECT_FALSE(booMakeFolder(dir.file("missing/child")));
    EXPECT_FALSE(zyrtest::exists(dir.file("missing")));
    EXPECT_FALSE(booMakeFolder(dir.file("inside.txt"))) << "a file of that name";
    EXPECT_TRUE(booMakeFolder(dir.file("sub")));
    for (const char* s : {"ZYR_PAN_WEQ.DAT", "ZYR_PAN_WEQ.DAT.bak", "a.txt", "b.txt", "noext", "sub/deep.txt"})
        zyrtest::writeBytes(dir.file(s), s);
    ASSERT_EQ(chmod(dir.file("ZYR_PAN_WEQ.DAT").c_str(), 0444), 0);
    EXPECT_TRUE(booDeleteFiles(dir.file("ZYR_PAN_WEQ.DAT")));
    EXPECT_FALSE(zyrtest::exists(dir.file("ZYR_PAN_WEQ.DAT")));
    EXPECT_TRUE(zyrtest::exists(dir.file("ZYR_PAN_WEQ.DAT.bak")));
    EXPECT_TRUE(booDeleteFiles(dir.file("?.txt")));
    EXPECT_FALSE(zyrtest::exists(dir.file("a.txt")));
    EXPECT_TRUE(zyrtest::exists(dir.file("noext")));
    EXPECT_TRUE(booDeleteFiles(dir.file("*.*")));
    EXPECT_FALSE(zyrtest::exists(dir.file("noext")));
    EXPECT_FALSE(zyrtest::exists(dir.file("ZYR_PAN_WEQ.DAT.bak")));
    EXPECT_TRUE(zyrtest::exists(dir.file("sub/deep.txt")));
    EXPECT_TRUE(booDeleteFiles(dir.file("gone/*.*"))) << "nothing to delete";
    EXPECT_FALSE(booDeleteFiles("*.zyr-none")) << "no folder given: the current one is never used";
}

// Marks a file immutable, so that even root cannot delete it, or clears the
// mark; false when the file system refuses.
static bool booImmutable(const std::string& sPath, bool booOn) {
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
    EXPECT_FALSE(zyrtest::exists(dir.file("a.txt")));
    EXPECT_TRUE(zyrtest::exists(dir.file("b.txt")));
    EXPECT_FALSE(zyrtest::exists(dir.file("c.txt")));
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
