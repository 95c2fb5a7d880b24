// Reading values back the way the settings reader relies on: the lookup,
// trimming, quoting, comment, line-end and truncation rules, against real files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile_string.h"
#include "tests/support/temp_dir.h"

namespace {

struct ReadCase {
    const char* name;
    std::string file;  // bytes of the settings file
    const char* section;
    const char* key;
    const char* deflt;
    uint32_t size;
    std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, CopiesTheValueOrTheDefault) {
    const ReadCase& c = GetParam();
    zyrtest::TempDir dir;
    const std::string path = dir.file("ZYR_PAN_WEQ.ini");
    zyrtest::writeBytes(path, c.file);
    // Room beyond the size the call is given, to see that nothing is written there.
    std::vector<char> buffer(c.size + 16, '#');
    const uint32_t n = platform::GetPrivateProfileStringA(c.section, c.key, c.deflt, buffer.data(), c.size,
                                                         path.c_str());
    EXPECT_EQ(n, c.expected.size());
    EXPECT_EQ(std::string(buffer.data(), n), c.expected);
    EXPECT_EQ(buffer[n], '\0');
    for (size_t i = c.size; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#') << "written past the size at " << i;
    EXPECT_EQ(zyrtest::readBytes(path), c.file) << "reading must not change the file";
}

const std::string kUnit = "[ZYR_PAN_WEQ]\r\nVolt=70\r\nElec=4\r\nSaveFileName=/data/img.bmp\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileRead,
    ::testing::Values(
        ReadCase{"Plain", kUnit, "ZYR_PAN_WEQ", "Volt", "NONE", 512, "70"},
        ReadCase{"LastKeyOfFile", kUnit, "ZYR_PAN_WEQ", "SaveFileName", "NONE", 512, "/data/img.bmp"},
        ReadCase{"AbsentKeyGivesDefault", kUnit, "ZYR_PAN_WEQ", "DefMode", "NONE", 512, "NONE"},
        ReadCase{"AbsentSectionGivesDefault", kUnit, "OTHER", "Volt", "NONE", 512, "NONE"},
        ReadCase{"NamesIgnoreCase", kUnit, "zyr_pan_weq", "vOLT", "NONE", 512, "70"},
        ReadCase{"CallerNamesTrimmed", kUnit, " \tZYR_PAN_WEQ ", "\tElec  ", "NONE", 512, "4"},
        ReadCase{"FileNamesTrimmed", "  [ \tS  ]  \n\t k \t= v\n", "S", "k", "NONE", 512, "v"},
        ReadCase{"FirstSectionOnly", "[S]\na=1\n[T]\nx=9\n[s]\na=2\nb=3\n", "S", "b", "NONE", 512, "NONE"},
        ReadCase{"FirstSectionWins", "[S]\na=1\n[s]\na=2\n", "S", "a", "NONE", 512, "1"},
        ReadCase{"FirstDuplicateKeyWins", "[S]\nk=1\nK=2\n", "S", "k", "NONE", 512, "1"},
        ReadCase{"KeyOfLaterSectionNotSeen", "[S]\n[T]\nk=1\n", "S", "k", "NONE", 512, "NONE"},
        ReadCase{"KeysBeforeAnySectionIgnored", "k=1\n[S]\nk=2\n", "S", "k", "NONE", 512, "2"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[S]\nk\nk =\t\n", "S", "k", "NONE", 512, ""},
        ReadCase{"LineWithoutEqualsOnly", "[S]\nk\n", "S", "k", "NONE", 512, "NONE"},
        ReadCase{"EmptyValueIsNotDefault", "[S]\nk=\n", "S", "k", "NONE", 512, ""},
        ReadCase{"BlankValueIsEmpty", "[S]\nk= \t \n", "S", "k", "NONE", 512, ""},
        ReadCase{"ValueBlanksAndTabsTrimmed", "[S]\nk= \t a b \t \n", "S", "k", "NONE", 512, "a b"},
        ReadCase{"DoubleQuotesRemovedInsideKept", "[S]\nk=  \"  a b  \"  \n", "S", "k", "NONE", 512, "  a b  "},
        ReadCase{"SingleQuotesRemoved", "[S]\nk='x'\n", "S", "k", "NONE", 512, "x"},
        ReadCase{"OnlyOnePairRemoved", "[S]\nk=\"\"x\"\"\n", "S", "k", "NONE", 512, "\"x\""},
        ReadCase{"MismatchedQuotesKept", "[S]\nk=\"x'\n", "S", "k", "NONE", 512, "\"x'"},
        ReadCase{"LoneQuoteKept", "[S]\nk=\"\n", "S", "k", "NONE", 512, "\""},
        ReadCase{"InnerQuotesKept", "[S]\nk=a \"b\" c\n", "S", "k", "NONE", 512, "a \"b\" c"},
        ReadCase{"EmptyQuotes", "[S]\nk=\"\"\n", "S", "k", "NONE", 512, ""},
        ReadCase{"CommentLineNeverMatches", "[S]\n;k=1\n  ;k=2\nk=3\n", "S", "k", "NONE", 512, "3"},
        ReadCase{"CommentKeyNameNotFound", "[S]\n;k=1\n", "S", ";k", "NONE", 512, "NONE"},
        ReadCase{"SemicolonInValueIsText", "[S]\nk=a ; b\n", "S", "k", "NONE", 512, "a ; b"},
        ReadCase{"CommentedSectionIgnored", ";[S]\nk=1\n[S]\nk=2\n", "S", "k", "NONE", 512, "2"},
        ReadCase{"HashIsNotAComment", "[S]\n#k=1\n", "S", "#k", "NONE", 512, "1"},
        ReadCase{"EqualsInValue", "[S]\nk=a=b\n", "S", "k", "NONE", 512, "a=b"},
        ReadCase{"SectionWithoutBracketIsNone", "[S\nk=1\n", "S", "k", "NONE", 512, "NONE"},
        ReadCase{"CrLfEndsLines", "[S]\r\na=1\r\nk=2\r\n", "S", "k", "NONE", 512, "2"},
        ReadCase{"LoneCrEndsLines", "[S]\ra=1\rk=2\r", "S", "k", "NONE", 512, "2"},
        ReadCase{"MixedLineEnds", "[T]\rx=0\n[S]\r\na=1\rk=2\n", "S", "k", "NONE", 512, "2"},
        ReadCase{"NoFinalLineEnd", "[S]\nk=last", "S", "k", "NONE", 512, "last"},
        ReadCase{"DefaultTrailingBlanksDropped", kUnit, "S", "k", "dflt   ", 512, "dflt"},
        ReadCase{"DefaultLeadingBlanksKept", kUnit, "S", "k", "  dflt", 512, "  dflt"},
        ReadCase{"NullDefaultIsEmpty", kUnit, "S", "k", nullptr, 512, ""},
        ReadCase{"ValueTruncatedToSizeMinusOne", "[S]\nk=abcdef\n", "S", "k", "NONE", 4, "abc"},
        ReadCase{"ValueThatJustFits", "[S]\nk=abc\n", "S", "k", "NONE", 4, "abc"},
        ReadCase{"SizeOneGivesEmpty", "[S]\nk=abc\n", "S", "k", "NONE", 1, ""},
        ReadCase{"DefaultTruncatedToo", kUnit, "S", "k", "abcdef", 3, "ab"},
        ReadCase{"QuotedValueTruncatedAfterUnquoting", "[S]\nk=\"abcdef\"\n", "S", "k", "NONE", 4, "abc"},
        ReadCase{"EmptyFileGivesDefault", "", "S", "k", "NONE", 512, "NONE"},
        ReadCase{"EightBitBytesKept", "[S]\nk=\xe6\x97\xa5\xb5\n", "S", "k", "NONE", 512, "\xe6\x97\xa5\xb5"}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ProfileReadFile, MissingFileGivesDefault) {
    zyrtest::TempDir dir;
    char buffer[16] = {};
    EXPECT_EQ(platform::GetPrivateProfileStringA("S", "k", "NONE", buffer, sizeof buffer,
                                                 dir.file("absent.ini").c_str()),
              4u);
    EXPECT_STREQ(buffer, "NONE");
    EXPECT_FALSE(zyrtest::exists(dir.file("absent.ini"))) << "reading must not create the file";
}

TEST(ProfileReadFile, LongValueSeenUpTo511Characters) {
    zyrtest::TempDir dir;
    const std::string path = dir.file("long.ini");
    const std::string value(600, 'v');
    zyrtest::writeBytes(path, "[ZYR_PAN_WEQ]\r\nSaveFileName=" + value + "\r\n");
    std::vector<char> buffer(512);
    EXPECT_EQ(platform::GetPrivateProfileStringA("ZYR_PAN_WEQ", "SaveFileName", "NONE", buffer.data(), 512,
                                                 path.c_str()),
              511u);
    EXPECT_EQ(std::string(buffer.data()), value.substr(0, 511));
}

TEST(ProfileReadFile, NoBufferCopiesNothing) {
    zyrtest::TempDir dir;
    const std::string path = dir.file("a.ini");
    zyrtest::writeBytes(path, "[S]\nk=v\n");
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(platform::GetPrivateProfileStringA("S", "k", "NONE", buffer, 0, path.c_str()), 0u);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(platform::GetPrivateProfileStringA("S", "k", "NONE", nullptr, 8, path.c_str()), 0u);
}

struct ListCase {
    const char* name;
    const char* section;  // nullptr: list the sections
    uint32_t size;
    std::string expected;  // the buffer's bytes up to and including the last NUL
    uint32_t count;
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class ProfileList : public ::testing::TestWithParam<ListCase> {};

TEST_P(ProfileList, ListsNamesEachEndedWithNul) {
    const ListCase& c = GetParam();
    zyrtest::TempDir dir;
    const std::string path = dir.file("list.ini");
    zyrtest::writeBytes(path, "[One]\r\na=1\r\n;c=0\r\nnokey\r\n bb = 2\r\n[Two]\r\nz=3\r\n");
    std::vector<char> buffer(c.size + 8, '#');
    const uint32_t n = platform::GetPrivateProfileStringA(c.section, nullptr, "x", buffer.data(), c.size,
                                                         path.c_str());
    EXPECT_EQ(n, c.count);
    EXPECT_EQ(std::string(buffer.data(), c.expected.size()), c.expected);
    for (size_t i = c.size; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#');
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ProfileList,
    ::testing::Values(ListCase{"Sections", nullptr, 64, std::string("One\0Two\0\0", 9), 8},
                      ListCase{"KeysOfSection", "one", 64, std::string("a\0bb\0\0", 6), 5},
                      ListCase{"KeysOfMissingSection", "Three", 64, std::string("\0", 1), 0},
                      ListCase{"SectionsTruncatedEndWithTwoNuls", nullptr, 7, std::string("One\0T\0\0", 7), 5}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

}  // namespace
