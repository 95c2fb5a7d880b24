// File search on a real folder: the wildcard rules the console's clean-up
// relies on, plain files only.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/file_find.h"
#include "tests/support/temp_dir.h"

TEST(FileFind, WildcardsMatchPlainFilesOnly) {
    zyrtest::TempDir dir;
    for (const char* s : {"ZYR_PAN_WEQ.DAT", "a.bmp", "ab.bmp", "abc.bmp", "README", ".hidden", "img[1].bmp", "x.tar.gz"})
        zyrtest::writeBytes(dir.file(s), s);
    ASSERT_EQ(mkdir(dir.file("sub.bmp").c_str(), 0755), 0);
    ASSERT_EQ(symlink("a.bmp", dir.file("link.bmp").c_str()), 0);
    using Names = std::vector<std::string>;
    const Names kAll = {".hidden", "README", "ZYR_PAN_WEQ.DAT", "a.bmp", "ab.bmp", "abc.bmp", "img[1].bmp", "link.bmp",
                        "x.tar.gz"};
    const std::pair<const char*, Names> kCases[] = {
        {"*.*", kAll},  // names without an extension too
        {"*", kAll},
        {"*.bmp", {"a.bmp", "ab.bmp", "abc.bmp", "img[1].bmp", "link.bmp"}},
        {"?.bmp", {"a.bmp"}},
        {"a?.bmp", {"ab.bmp"}},
        {"a*c.bmp", {"abc.bmp"}},
        {"img[1].bmp", {"img[1].bmp"}},
        {"README.*", {"README"}},
        {"x.*", {"x.tar.gz"}},
        {"zyr_pan_weq.dat", {}},
        {"ZYR_PAN_WEQ.DAT", {"ZYR_PAN_WEQ.DAT"}}};
    for (const auto& [sPattern, names] : kCases) EXPECT_EQ(platform::FindFiles(dir.file(sPattern)), names) << sPattern;
    EXPECT_EQ(platform::FindFiles(dir.file("gone/*.*")), Names{});
}
