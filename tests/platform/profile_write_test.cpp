// Writing values: the exact bytes of the file after each write, and the
// writes that must fail and leave the file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/profile_string.h"
#include "tests/support/temp_dir.h"

namespace {

struct WriteCase {
    const char* name;
    std::optional<std::string> before;  // nullopt: no file yet
    const char* section;
    const char* key;    // nullptr: remove the section
    const char* value;  // nullptr: remove the key
    std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    zyrtest::TempDir dir;
    const std::string path = dir.file("ZYR_PAN_WEQ.ini");
    if (c.before) zyrtest::writeBytes(path, *c.before);
    EXPECT_NE(platform::WritePrivateProfileStringA(c.section, c.key, c.value, path.c_str()), 0);
    EXPECT_EQ(zyrtest::readBytes(path), c.after);
    if (c.key != nullptr && c.value != nullptr) {
        char buffer[512];
        platform::GetPrivateProfileStringA(c.section, c.key, "NONE", buffer, sizeof buffer, path.c_str());
        EXPECT_STREQ(buffer, c.value) << "the value written is the value read back";
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary file stays behind";
}

const std::string kUnit = "[ZYR_PAN_WEQ]\r\nVolt=70\r\nElec=4\r\n";

INSTANTIATE_TEST_SUITE_P(
    Edits, ProfileWrite,
    ::testing::Values(
        WriteCase{"ReplaceInPlace", kUnit, "ZYR_PAN_WEQ", "Volt", "75", "[ZYR_PAN_WEQ]\r\nVolt=75\r\nElec=4\r\n"},
        WriteCase{"ReplaceKeepsSpellingOfFile", kUnit, "zyr_pan_weq", "VOLT", "80",
                  "[ZYR_PAN_WEQ]\r\nVolt=80\r\nElec=4\r\n"},
        WriteCase{"ReplaceKeepsLfLineEnds", "[S]\nk=1\nz=2\n", "S", "k", "9", "[S]\nk=9\nz=2\n"},
        WriteCase{"ReplaceKeepsLoneCr", "[S]\rk=1\rz=2\r", "S", "k", "9", "[S]\rk=9\rz=2\r"},
        WriteCase{"ReplaceLastLineWithoutEnd", "[S]\nk=1", "S", "k", "9", "[S]\nk=9"},
        WriteCase{"ReplaceKeepsIndentation", "[S]\n  Key = 1 \t\nz=2\n", "S", "key", "5", "[S]\n  Key=5\nz=2\n"},
        WriteCase{"ReplaceLongerAndShorter", "[S]\nk=123456\nz=2\n", "S", "k", "7", "[S]\nk=7\nz=2\n"},
        WriteCase{"ReplaceWithEmpty", "[S]\nk=1\n", "S", "k", "", "[S]\nk=\n"},
        WriteCase{"ReplaceQuotedValue", "[S]\nk=\"a b\"\n", "S", "k", "c", "[S]\nk=c\n"},
        WriteCase{"FirstDuplicateKeyReplaced", "[S]\nk=1\nk=2\n", "S", "k", "7", "[S]\nk=7\nk=2\n"},
        WriteCase{"FirstSectionOfNameUsed", "[S]\na=1\n[S]\nb=2\n", "S", "b", "5", "[S]\na=1\nb=5\r\n[S]\nb=2\n"},
        WriteCase{"CallerNamesTrimmed", "[S]\nk=1\n", " S\t", "\tk ", "2", "[S]\nk=2\n"},
        WriteCase{"NewKeyTrimmedName", "[S]\nk=1\n", "S", " n ", "2", "[S]\nk=1\nn=2\r\n"},
        WriteCase{"NewKeyAfterLastKeyBeforeComments", "[S]\r\na=1\r\n;x\r\nb=2\r\n; trailing\r\n\r\n[T]\r\nc=3\r\n",
                  "S", "n", "3", "[S]\r\na=1\r\n;x\r\nb=2\r\nn=3\r\n; trailing\r\n\r\n[T]\r\nc=3\r\n"},
        WriteCase{"NewKeyInEmptySection", "[S]\n; only a comment\n[T]\n", "S", "n", "3",
                  "[S]\nn=3\r\n; only a comment\n[T]\n"},
        WriteCase{"NewKeyAfterHeaderWithoutEnd", "[S]", "S", "n", "3", "[S]\r\nn=3\r\n"},
        WriteCase{"NewKeyAfterKeyWithoutEnd", "[S]\na=1", "S", "n", "3", "[S]\na=1\r\nn=3\r\n"},
        WriteCase{"CommentedKeyIsNotReplaced", "[S]\n;k=1\n", "S", "k", "2", "[S]\nk=2\r\n;k=1\n"},
        WriteCase{"LineWithoutEqualsIsNotReplaced", "[S]\nk\n", "S", "k", "2", "[S]\nk\nk=2\r\n"},
        WriteCase{"NewSectionAtEnd", "[S]\na=1\n", "T", "n", "3", "[S]\na=1\n[T]\r\nn=3\r\n"},
        WriteCase{"NewSectionAfterLastLineWithoutEnd", "[S]\na=1", "T", "n", "3", "[S]\na=1\r\n[T]\r\nn=3\r\n"},
        WriteCase{"NewSectionAfterLoneCr", "a=1\r", "T", "n", "3", "a=1\r[T]\r\nn=3\r\n"},
        WriteCase{"NewFile", std::nullopt, "ZYR_PAN_WEQ", "DefMode", "0", "[ZYR_PAN_WEQ]\r\nDefMode=0\r\n"},
        WriteCase{"EmptyFile", std::string(), "ZYR_PAN_WEQ", "DefMode", "-1", "[ZYR_PAN_WEQ]\r\nDefMode=-1\r\n"},
        WriteCase{"EveryOtherByteKept",
                  "k0=pre\n\xef\xbb\xbf junk \xe6\x97\xa5\r\n[S]\r\n\t; note \xb5\r\n  a = 1\t\r\n\r\nodd line\n[T]\rb=2",
                  "s", "A", "9",
                  "k0=pre\n\xef\xbb\xbf junk \xe6\x97\xa5\r\n[S]\r\n\t; note \xb5\r\n  a=9\r\n\r\nodd line\n[T]\rb=2"},
        WriteCase{"RemoveKey", "[S]\r\na=1\r\nb=2\r\n", "S", "a", nullptr, "[S]\r\nb=2\r\n"},
        WriteCase{"RemoveMissingKeyChangesNothing", "[S]\r\na=1\r\n", "S", "z", nullptr, "[S]\r\na=1\r\n"},
        WriteCase{"RemoveSection", "[S]\r\na=1\r\n;c\r\n[T]\r\nb=2\r\n", "s", nullptr, nullptr, "[T]\r\nb=2\r\n"},
        WriteCase{"RemoveLastSection", "[S]\r\na=1\r\n[T]\r\nb=2", "T", nullptr, nullptr, "[S]\r\na=1\r\n"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

class ProfileWriteFails : public ::testing::Test {
protected:
    zyrtest::TempDir dir;
    std::string path = dir.file("ZYR_PAN_WEQ.ini");
    const std::string old = "[ZYR_PAN_WEQ]\r\nVolt=70\r\n";
};

TEST_F(ProfileWriteFails, ReadOnlyFileEvenForRoot) {
    zyrtest::writeBytes(path, old);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "75", path.c_str()), 0);
    EXPECT_EQ(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "New", "1", path.c_str()), 0);
    EXPECT_EQ(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", nullptr, path.c_str()), 0);
    EXPECT_EQ(zyrtest::readBytes(path), old);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(ProfileWriteFails, MissingFolder) {
    const std::string inMissing = dir.file("gone/ZYR_PAN_WEQ.ini");
    EXPECT_EQ(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "75", inMissing.c_str()), 0);
    EXPECT_FALSE(zyrtest::exists(dir.file("gone")));
}

TEST_F(ProfileWriteFails, FolderThatIsAFile) {
    zyrtest::writeBytes(dir.file("plain"), "x");
    EXPECT_EQ(platform::WritePrivateProfileStringA("S", "k", "v", dir.file("plain/a.ini").c_str()), 0);
    EXPECT_EQ(zyrtest::readBytes(dir.file("plain")), "x");
}

TEST_F(ProfileWriteFails, PathThatIsAFolder) {
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    EXPECT_EQ(platform::WritePrivateProfileStringA("S", "k", "v", path.c_str()), 0);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(ProfileWriteFails, NoSectionOrNoPath) {
    zyrtest::writeBytes(path, old);
    EXPECT_EQ(platform::WritePrivateProfileStringA(nullptr, "Volt", "75", path.c_str()), 0);
    EXPECT_EQ(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "75", nullptr), 0);
    EXPECT_EQ(zyrtest::readBytes(path), old);
}

TEST(ProfileWriteKeeps, PermissionsOfTheFile) {
    zyrtest::TempDir dir;
    const std::string path = dir.file("a.ini");
    zyrtest::writeBytes(path, "[S]\nk=1\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_NE(platform::WritePrivateProfileStringA("S", "k", "2", path.c_str()), 0);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ProfileWriteKeeps, SymbolicLinkAndWritesItsTarget) {
    zyrtest::TempDir dir;
    const std::string target = dir.file("real.ini");
    const std::string link = dir.file("ZYR_PAN_WEQ.ini");
    zyrtest::writeBytes(target, "[S]\nk=1\n");
    ASSERT_EQ(symlink("real.ini", link.c_str()), 0);
    ASSERT_NE(platform::WritePrivateProfileStringA("S", "k", "2", link.c_str()), 0);
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(zyrtest::readBytes(target), "[S]\nk=2\n");
}

TEST(ProfileWriteKeeps, SuccessiveWritesBuildTheSettingsFile) {
    zyrtest::TempDir dir;
    const std::string path = dir.file("ZYR_PAN_WEQ.ini");
    for (const char* key : {"Volt", "Elec", "DefMode"}) {
        ASSERT_NE(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", key, "1", path.c_str()), 0);
    }
    ASSERT_NE(platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Elec", "6", path.c_str()), 0);
    EXPECT_EQ(zyrtest::readBytes(path), "[ZYR_PAN_WEQ]\r\nVolt=1\r\nElec=6\r\nDefMode=1\r\n");
}

}  // namespace
