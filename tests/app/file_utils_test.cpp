// File and folder utilities on real folders.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "app/file_utils.h"

namespace {

struct tJoinCase {
    const char* sFolder;
    const char* sName;
    const char* sPath;
};

class BuildPath : public ::testing::TestWithParam<tJoinCase> {};

TEST_P(BuildPath, OneSlashBetweenFolderAndName) {
    std::string sPath = "stale";
    EXPECT_TRUE(booBuildPath(GetParam().sFolder, GetParam().sName, sPath));
    EXPECT_EQ(sPath, GetParam().sPath);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildPath,
    ::testing::Values(tJoinCase{"/tmp/$42$20150303140709$", "ZYR_PAN_WEQ.DAT",
                                "/tmp/$42$20150303140709$/ZYR_PAN_WEQ.DAT"},
                      tJoinCase{"/opt/zyr/", "Animation", "/opt/zyr/Animation"},
                      tJoinCase{"/", "x", "/x"}, tJoinCase{"", "ZYR_PAN_WEQ.DAT", "/ZYR_PAN_WEQ.DAT"},
                      tJoinCase{"/a//", "b", "/a//b"}, tJoinCase{"/a", "", "/a/"}));

struct tParentCase {
    const char* sPath;
    std::optional<std::string> oFolder;  // nullopt: no folder can be derived
};

class ParentFolder : public ::testing::TestWithParam<tParentCase> {};

TEST_P(ParentFolder, DropsTheLastComponent) {
    std::string sFolder = "stale";
    const bool booOk = booGetParentFolder(GetParam().sPath, sFolder);
    EXPECT_EQ(booOk, GetParam().oFolder.has_value());
    if (booOk) {
        EXPECT_EQ(sFolder, *GetParam().oFolder);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParentFolder,
    ::testing::Values(tParentCase{"/tmp/$1$2$/*.*", "/tmp/$1$2$"},
                      tParentCase{"/tmp/w/ZYR_PAN_WEQ.DAT", "/tmp/w"},
                      tParentCase{"/a/b/", "/a"}, tParentCase{"/x", "/"},
                      tParentCase{"/*.*", "/"}, tParentCase{"/", std::nullopt},
                      tParentCase{"*.*", std::nullopt}, tParentCase{"", std::nullopt}));

class FileUtilsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        s_ = dir_.path().toStdString();
    }
    void vTouch(const std::string& sName, mode_t mode = 0644) const {
        std::ofstream(s_ + "/" + sName) << "data";
        chmod((s_ + "/" + sName).c_str(), mode);
    }
    bool booExists(const std::string& sName) const {
        struct stat st {};
        return stat((s_ + "/" + sName).c_str(), &st) == 0;
    }
    QTemporaryDir dir_;
    std::string s_;
};

TEST_F(FileUtilsTest, MakeFolderKeepsAnExistingOne) {
    vTouch("inside.txt");
    EXPECT_TRUE(booMakeFolder(s_));
    EXPECT_TRUE(booExists("inside.txt"));
}

TEST_F(FileUtilsTest, MakeFolderMakesOneLevel) {
    EXPECT_TRUE(booMakeFolder(s_ + "/$42$20150303140709$"));
    struct stat st {};
    ASSERT_EQ(stat((s_ + "/$42$20150303140709$").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_FALSE(booMakeFolder(s_ + "/missing/child"));
    EXPECT_FALSE(booExists("missing"));
}

TEST_F(FileUtilsTest, MakeFolderRefusesAFileOfThatName) {
    vTouch("taken");
    EXPECT_FALSE(booMakeFolder(s_ + "/taken"));
    EXPECT_FALSE(booMakeFolder(""));
}

TEST_F(FileUtilsTest, DeleteAllFilesKeepsSubfolders) {
    vTouch("ZYR_PAN_WEQ.DAT");
    vTouch("a.txt");
    vTouch("noext");
    vTouch("locked.bin", 0444);
    ASSERT_EQ(mkdir((s_ + "/sub").c_str(), 0755), 0);
    vTouch("sub/deep.txt");
    EXPECT_TRUE(booDeleteFiles(s_ + "/*.*"));
    EXPECT_FALSE(booExists("ZYR_PAN_WEQ.DAT"));
    EXPECT_FALSE(booExists("a.txt"));
    EXPECT_FALSE(booExists("noext"));
    EXPECT_FALSE(booExists("locked.bin"));
    EXPECT_TRUE(booExists("sub"));
    EXPECT_TRUE(booExists("sub/deep.txt"));
}

TEST_F(FileUtilsTest, DeleteOneNamedFile) {
    vTouch("ZYR_PAN_WEQ.DAT", 0444);
    vTouch("ZYR_PAN_WEQ.DAT.bak");
    EXPECT_TRUE(booDeleteFiles(s_ + "/ZYR_PAN_WEQ.DAT"));
    EXPECT_FALSE(booExists("ZYR_PAN_WEQ.DAT"));
    EXPECT_TRUE(booExists("ZYR_PAN_WEQ.DAT.bak"));
}

TEST_F(FileUtilsTest, DeleteByPatternOnlyMatches) {
    vTouch("a.txt");
    vTouch("b.txt");
    vTouch("c.dat");
    EXPECT_TRUE(booDeleteFiles(s_ + "/?.txt"));
    EXPECT_FALSE(booExists("a.txt"));
    EXPECT_FALSE(booExists("b.txt"));
    EXPECT_TRUE(booExists("c.dat"));
}

TEST_F(FileUtilsTest, DeleteInMissingFolderDeletesNothing) {
    vTouch("keep.txt");
    EXPECT_TRUE(booDeleteFiles(s_ + "/gone/*.*"));
    EXPECT_TRUE(booDeleteFiles(s_ + "/*.none"));
    EXPECT_TRUE(booExists("keep.txt"));
}

TEST_F(FileUtilsTest, PatternWithoutFolderIsRefused) {
    EXPECT_FALSE(booDeleteFiles("*.*"));
    EXPECT_FALSE(booDeleteFiles(""));
}

// Marks a file immutable, so that even root cannot delete it, for as long as
// the guard lives; false when the file system does not allow it.
class ImmutableGuard {
public:
    explicit ImmutableGuard(const std::string& sPath) : sPath_(sPath) { booOn_ = booSet(true); }
    ~ImmutableGuard() {
        if (booOn_) booSet(false);
    }
    bool on() const { return booOn_; }

private:
    bool booSet(bool booOn) {
        const int fd = open(sPath_.c_str(), O_RDONLY);
        if (fd < 0) return false;
        int flags = 0;
        bool booOk = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = booOn ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        booOk = booOk && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return booOk;
    }
    std::string sPath_;
    bool booOn_ = false;
};

TEST_F(FileUtilsTest, UndeletableFileFailsButOthersGo) {
    vTouch("a.txt");
    vTouch("b.txt");
    vTouch("c.txt");
    ImmutableGuard guard(s_ + "/b.txt");
    if (!guard.on()) GTEST_SKIP() << "no immutable files on this file system";
    EXPECT_FALSE(booDeleteFiles(s_ + "/*.*"));
    EXPECT_FALSE(booExists("a.txt"));
    EXPECT_TRUE(booExists("b.txt"));
    EXPECT_FALSE(booExists("c.txt"));
}

// The platform's temporary folder, asked afresh on every read.
class TempPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* s = std::getenv("TMPDIR");
        if (s != nullptr) oSaved_ = s;
    }
    void TearDown() override {
        if (oSaved_) {
            setenv("TMPDIR", oSaved_->c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    std::optional<std::string> oSaved_;
};

TEST_F(TempPathTest, FollowsTmpdirEachTime) {
    ClsGetSpecialFolder special;
    setenv("TMPDIR", "/var/tmp/zyr", 1);
    EXPECT_EQ(special.TempPath(), "/var/tmp/zyr/");
    setenv("TMPDIR", "/var/tmp/other/", 1);
    EXPECT_EQ(special.TempPath(), "/var/tmp/other/");
    unsetenv("TMPDIR");
    EXPECT_EQ(special.TempPath(), "/tmp/");
}

}  // namespace
