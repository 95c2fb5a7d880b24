// File search and deletion on a real folder: the wildcard rules the console's
// clean-up relies on, plain files only, and the read-only attribute.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/file_find.h"
#include "tests/support/temp_dir.h"

namespace {

using Names = std::vector<std::string>;

class FileFind : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"ZYR_PAN_WEQ.DAT", "a.bmp", "ab.bmp", "abc.bmp", "README", ".hidden",
                                 "img[1].bmp", "x.tar.gz", "a.bmpx"}) {
            zyrtest::writeBytes(dir.file(name), name);
        }
        ASSERT_EQ(mkdir(dir.file("sub.bmp").c_str(), 0755), 0);
        zyrtest::writeBytes(dir.file("sub.bmp/inner.bmp"), "x");
    }
    Names find(const std::string& pattern) { return platform::FindFiles(dir.path() + "/" + pattern); }
    zyrtest::TempDir dir;
};

struct PatternCase {
    const char* pattern;
    Names expected;
};

class FilePattern : public FileFind, public ::testing::WithParamInterface<PatternCase> {};

TEST_P(FilePattern, MatchesPlainFilesOnly) { EXPECT_EQ(find(GetParam().pattern), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Wildcards, FilePattern,
    ::testing::Values(
        PatternCase{"*.*", {".hidden", "README", "ZYR_PAN_WEQ.DAT", "a.bmp", "a.bmpx", "ab.bmp", "abc.bmp",
                            "img[1].bmp", "x.tar.gz"}},
        PatternCase{"*", {".hidden", "README", "ZYR_PAN_WEQ.DAT", "a.bmp", "a.bmpx", "ab.bmp", "abc.bmp",
                          "img[1].bmp", "x.tar.gz"}},
        PatternCase{"*.bmp", {"a.bmp", "ab.bmp", "abc.bmp", "img[1].bmp"}},
        PatternCase{"?.bmp", {"a.bmp"}},
        PatternCase{"a?.bmp", {"ab.bmp"}},
        PatternCase{"a*.bmp", {"a.bmp", "ab.bmp", "abc.bmp"}},
        PatternCase{"*c*", {"abc.bmp"}},
        PatternCase{"img[1].bmp", {"img[1].bmp"}},
        PatternCase{"ZYR_PAN_WEQ.DAT", {"ZYR_PAN_WEQ.DAT"}},
        PatternCase{"zyr_pan_weq.dat", {}},
        PatternCase{"README.*", {"README"}},
        PatternCase{"x.*", {"x.tar.gz"}},
        PatternCase{"nothing*", {}}),
    [](const ::testing::TestParamInfo<PatternCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(FileFind, MissingFolderFindsNothing) { EXPECT_TRUE(platform::FindFiles(dir.file("gone/*.*")).empty()); }

TEST_F(FileFind, SymbolicLinkToFileCountsLinkToFolderDoesNot) {
    ASSERT_EQ(symlink("a.bmp", dir.file("link.bmp").c_str()), 0);
    ASSERT_EQ(symlink("sub.bmp", dir.file("dirlink.bmp").c_str()), 0);
    EXPECT_EQ(find("*link.bmp"), Names{"link.bmp"});
}

TEST_F(FileFind, DeleteRemovesOneFile) {
    EXPECT_TRUE(platform::DeleteFileA(dir.file("a.bmp")));
    EXPECT_FALSE(zyrtest::exists(dir.file("a.bmp")));
    EXPECT_TRUE(zyrtest::exists(dir.file("ab.bmp")));
    EXPECT_FALSE(platform::DeleteFileA(dir.file("a.bmp"))) << "already gone";
}

TEST_F(FileFind, DeleteRefusesFoldersAndReadOnlyFiles) {
    EXPECT_FALSE(platform::DeleteFileA(dir.file("sub.bmp")));
    EXPECT_TRUE(platform::FolderExists(dir.file("sub.bmp")));
    ASSERT_EQ(chmod(dir.file("abc.bmp").c_str(), 0444), 0);
    EXPECT_FALSE(platform::DeleteFileA(dir.file("abc.bmp")));
    EXPECT_TRUE(zyrtest::exists(dir.file("abc.bmp")));
}

TEST_F(FileFind, ClearReadOnlyGivesWritePermissionAndKeepsTheRest) {
    const std::string path = dir.file("abc.bmp");
    ASSERT_EQ(chmod(path.c_str(), 0454), 0);
    EXPECT_TRUE(platform::ClearReadOnly(path));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0654u);
    EXPECT_TRUE(platform::DeleteFileA(path));
    EXPECT_FALSE(platform::ClearReadOnly(path)) << "no such file";
}

TEST_F(FileFind, ExistsAndFolders) {
    EXPECT_TRUE(platform::FileExists(dir.file("README")));
    EXPECT_FALSE(platform::FileExists(dir.file("sub.bmp")));
    EXPECT_FALSE(platform::FileExists(dir.file("nope")));
    EXPECT_TRUE(platform::FolderExists(dir.path()));
    EXPECT_TRUE(platform::FolderExists(dir.path() + "/"));
    EXPECT_FALSE(platform::FolderExists(dir.file("README")));

    const std::string work = dir.file("$work");
    EXPECT_TRUE(platform::CreateFolder(work));
    EXPECT_TRUE(platform::FolderExists(work));
    EXPECT_FALSE(platform::CreateFolder(work)) << "already there";
    EXPECT_FALSE(platform::CreateFolder(dir.file("a/b"))) << "one level only";
    EXPECT_FALSE(platform::RemoveFolder(dir.file("sub.bmp"))) << "not empty";
    EXPECT_TRUE(platform::RemoveFolder(work));
    EXPECT_FALSE(platform::FolderExists(work));
}

}  // namespace
