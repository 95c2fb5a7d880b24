// The temporary folder: TMPDIR when set, always ending with '/', else /tmp/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/temp_path.h"

namespace {

class TempPath : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* v = std::getenv("TMPDIR")) saved = v;
    }
    void TearDown() override {
        if (saved) {
            setenv("TMPDIR", saved->c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    std::optional<std::string> saved;
};

struct TmpCase {
    const char* tmpdir;  // nullptr: unset
    const char* expected;
};

class TempPathCases : public TempPath, public ::testing::WithParamInterface<TmpCase> {};

TEST_P(TempPathCases, AnswersTheFolderWithSlash) {
    if (GetParam().tmpdir == nullptr) {
        unsetenv("TMPDIR");
    } else {
        setenv("TMPDIR", GetParam().tmpdir, 1);
    }
    EXPECT_EQ(platform::GetTempPathA(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Env, TempPathCases,
                         ::testing::Values(TmpCase{nullptr, "/tmp/"}, TmpCase{"", "/tmp/"},
                                           TmpCase{"/var/tmp", "/var/tmp/"}, TmpCase{"/var/tmp/", "/var/tmp/"},
                                           TmpCase{"/", "/"}, TmpCase{"/run/user/1000/x y", "/run/user/1000/x y/"}));

TEST_F(TempPath, AskedAfreshEachTime) {
    setenv("TMPDIR", "/first", 1);
    EXPECT_EQ(platform::GetTempPathA(), "/first/");
    setenv("TMPDIR", "/second", 1);
    EXPECT_EQ(platform::GetTempPathA(), "/second/");
}

}  // namespace
