// Settings-file access against real files: the lookup rules the settings
// reader relies on, and the bytes a write leaves, for files an operator may
// have edited by hand.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "platform/profile_string.h"
#include "tests/support/temp_dir.h"

namespace {

struct tRead {
    std::string sFile;
    const char* sSection;
    const char* sKey;
    std::string sExpected;  // with "NONE" as the default
};

TEST(ProfileRead, FindsTheValueOrGivesTheDefault) {
    const tRead kCases[] = {
        {"[S]\r\nk=1\r\n", "S", "k", "1"},
        {"[Sec]\nKey=1\n", "sEC", "kEY", "1"},  // names ignore letter case
        {"  [ \tS  ]  \n\t k \t= \t a  b \t \n", "S", "k", "a  b"},
        {"[S]\na=1\n[T]\nb=9\n[s]\na=2\nb=3\n", "S", "a", "1"},  // the first section of the name only
        {"[S]\na=1\n[T]\nb=9\n[s]\na=2\nb=3\n", "S", "b", "NONE"},
        {"[S]\nk=1\nK=2\n", "S", "k", "1"},
        {"k=1\n[S]\n[T]\nk=2\n", "S", "k", "NONE"},
        {"[S]\nk\n", "S", "k", "NONE"},
        {"[S]\nk=\n", "S", "k", ""},  // empty, which is not missing
        {"[S]\nk=  \"  a b  \"  \n", "S", "k", "  a b  "},
        {";[S]\nk=1\n[S]\n;k=2\n  ;k=3\nk=a ; b\n", "S", "k", "a ; b"},
        {"[T]\rx=0\n[S]\r\na=1\rk=2", "S", "k", "2"},  // lone CR, LF, CR LF, no end on the last line
        {"[S]\nk=\xe6\x97\xa5\xb5\n", "S", "k", "\xe6\x97\xa5\xb5"},
        {"", "S", "k", "NONE"}};
    zyrtest::TempDir dir;
    for (const tRead& c : kCases) {
        zyrtest::writeBytes(dir.file("a.ini"), c.sFile);
        char buffer[512];
        const uint32_t n = platform::GetPrivateProfileStringA(c.sSection, c.sKey, "NONE", buffer, sizeof buffer,
                                                             dir.file("a.ini").c_str());
        EXPECT_EQ(std::string(buffer, n), c.sExpected) << c.sFile;
        EXPECT_EQ(buffer[n], '\0') << c.sFile;
    }
    char buffer[8] = "#######";
    EXPECT_EQ(platform::GetPrivateProfileStringA("S", "k", "NONE", buffer, 4, dir.file("a.ini").c_str()), 3u);
    EXPECT_EQ(std::string(buffer, 8), std::string("NON\0###\0", 8)) << "at most size-1 characters and the NUL";
    EXPECT_EQ(platform::GetPrivateProfileStringA("S", "k", "NONE", buffer, 8, dir.file("no.ini").c_str()), 4u);
    EXPECT_FALSE(zyrtest::exists(dir.file("no.ini"))) << "reading creates no file";
}

struct tWrite {
    std::optional<std::string> oBefore;  // nullopt: no file yet
    const char* sSection;
    const char* sKey;
    std::string sAfter;  // after writing sKey=9
};

TEST(ProfileWrite, ChangesOnlyWhatItMust) {
    const tWrite kCases[] = {
        {std::nullopt, "S", "k", "[S]\r\nk=9\r\n"},
        {"[Sec]\nKey=1\n", "sec", "KEY", "[Sec]\nKey=9\n"},  // the file's spelling stays
        {"[S]\n  k = 1 \t\rz=2", "S", "k", "[S]\n  k=9\rz=2"},
        {"[S]\nk=1", "S", "k", "[S]\nk=9"},
        {"[S]\nk=1\nk=2\n", "S", "k", "[S]\nk=9\nk=2\n"},
        {"[S]\na=1\n[S]\nk=2\n", "S", "k", "[S]\na=1\nk=9\r\n[S]\nk=2\n"},
        // A new key goes after the section's last key, before the comments
        // and blank lines that close the section.
        {"[S]\r\na=1\r\n;x\r\nb=2\r\n; end\r\n\r\n[T]\r\nc=3\r\n", "S", "k",
         "[S]\r\na=1\r\n;x\r\nb=2\r\nk=9\r\n; end\r\n\r\n[T]\r\nc=3\r\n"},
        {"[S]\n;k=1\n[T]\n", "S", "k", "[S]\nk=9\r\n;k=1\n[T]\n"},
        {"[S]\na=1", "S", "k", "[S]\na=1\r\nk=9\r\n"},
        {"[S]\na=1\n", "T", "k", "[S]\na=1\n[T]\r\nk=9\r\n"},
        {"k=0\n\xef\xbb\xbf junk \xe6\x97\xa5\r\n[S]\r\n\t; \xb5\r\n  k = 1\t\r\n\r\nodd\n[T]\rb=2", "s", "K",
         "k=0\n\xef\xbb\xbf junk \xe6\x97\xa5\r\n[S]\r\n\t; \xb5\r\n  k=9\r\n\r\nodd\n[T]\rb=2"}};
    for (const tWrite& c : kCases) {
        zyrtest::TempDir dir;
        if (c.oBefore) zyrtest::writeBytes(dir.file("a.ini"), *c.oBefore);
        EXPECT_NE(platform::WritePrivateProfileStringA(c.sSection, c.sKey, "9", dir.file("a.ini").c_str()), 0);
        EXPECT_EQ(zyrtest::readBytes(dir.file("a.ini")), c.sAfter) << c.oBefore.value_or("(no file)");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file stayed";
    }
}

// A link is followed in the settings-link test.
TEST(ProfileWrite, FailsWhereNoFileCanBe) {
    zyrtest::TempDir dir;
    EXPECT_EQ(platform::WritePrivateProfileStringA("S", "k", "2", dir.file("gone/a.ini").c_str()), 0);
    EXPECT_FALSE(zyrtest::exists(dir.file("gone")));
    ASSERT_EQ(mkdir(dir.file("dir.ini").c_str(), 0755), 0);
    EXPECT_EQ(platform::WritePrivateProfileStringA("S", "k", "2", dir.file("dir.ini").c_str()), 0);
}

}  // namespace
