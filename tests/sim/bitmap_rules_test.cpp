// The library's bitmap writer and names from a settings file other operators
// may write: an operator (not root) saves through ZyrWeq_SaveBitmap into a
// sticky shared folder and a home folder where another user planted links
// and files. Faults: a write through another user's link (a command planted
// in the operator's start-up file), over another user's file in the sticky
// folder, over a file that is not a bitmap; and, the other way, an
// operator's own link or own bitmap refused.
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "sim/image_dat.h"
#include "tests/sim/sim_fixture.h"

namespace {

constexpr uid_t kOperator = 65533;
constexpr uid_t kOther = 65531;

struct Plant {
    const char* sName;
    const char* sSave;     // the bitmap's name, in the test folder
    bool booWritten;       // a new bitmap landed
    const char* sWatched;  // a file that must keep its bytes when refused
};

class BitmapRules : public simtest::SimTest, public ::testing::WithParamInterface<Plant> {};

// Makes an entry and gives it to its owner (links too).
void vOwn(const std::string& path, uid_t uid) { ASSERT_EQ(lchown(path.c_str(), uid, uid), 0) << path; }

TEST_P(BitmapRules, WritesOnlyWhereTheOperatorChose) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: the files belong to several users";
    namespace fs = std::filesystem;
    const Plant& p = GetParam();
    lib_.Init(sIni("").c_str(), 1);  // the simulated sensor
    const std::string shared = dir_.file("shared"), home = dir_.file("home");
    fs::create_directory(shared);
    fs::create_directory(home);
    ASSERT_EQ(chmod(dir_.path().c_str(), 0755) + chmod(shared.c_str(), 01777), 0);
    vOwn(home, kOperator);
    // The operator's own files; the other user's plants.
    const auto file = [](const std::string& path, const std::string& bytes, uid_t uid) {
        zyrtest::writeBytes(path, bytes);
        vOwn(path, uid);
    };
    const auto link = [](const std::string& target, const std::string& path, uid_t uid) {
        fs::create_symlink(target, path);
        vOwn(path, uid);
    };
    file(home + "/.bashrc", "echo hello\n", kOperator);
    file(home + "/own.bmp", "BM old", kOperator);
    file(home + "/text.bmp", "echo hello\n", kOperator);
    file(home + "/b.bmp", "B", kOperator);
    file(home + "/bm.bmp", "BM", kOperator);
    fs::create_directory(home + "/folder.bmp");
    link(home + "/own.bmp", home + "/mine.bmp", kOperator);
    link(home + "/.bashrc", shared + "/planted.bmp", kOther);
    link(home, shared + "/planted", kOther);
    file(shared + "/theirs.bmp", "BM theirs", kOther);
    file(shared + "/ours.bmp", "BM old", kOperator);

    // A small image; the data file readable by the operator.
    const std::string dat = dir_.file("ZYR_PAN_WEQ.DAT");
    const sim::DatHeader d{.lWidth = 4, .lHeight = 2, .lStride = 4, .lViews = 1, .lPixelsPerMetre = 10000, .lPixelBytes = 8};
    ASSERT_TRUE(sim::booWriteDat(dat, d, [](int32_t, uint8_t* dst) { std::fill(dst, dst + 4, 9); }));
    ASSERT_EQ(chmod(dat.c_str(), 0644), 0);
    const std::string sSave = dir_.file(p.sSave);
    const std::string sWatched = p.sWatched != nullptr ? dir_.file(p.sWatched) : "";
    const std::string sBefore = sWatched.empty() ? "" : zyrtest::readBytes(sWatched);

    const pid_t pid = fork();
    if (pid == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kOperator) != 0 || setuid(kOperator) != 0) _exit(3);
        const int32_t r = lib_.SaveBitmap(dat.c_str(), 4, 2, 0, 0, sSave.c_str());
        _exit(r == 0 ? 0 : r == -93 ? 1 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 3) << "cannot run as the operator";
    EXPECT_EQ(WEXITSTATUS(status), p.booWritten ? 0 : 1);
    if (!sWatched.empty()) {
        const std::string sAfter = zyrtest::readBytes(sWatched);
        if (p.booWritten) {
            EXPECT_EQ(sAfter.size(), 1078u + 8u) << "the new bitmap is there";
        } else {
            EXPECT_EQ(sAfter, sBefore);
        }
    }
    // No temporary file left anywhere.
    for (const auto& e : fs::recursive_directory_iterator(dir_.path(), fs::directory_options::none))
        EXPECT_EQ(e.path().filename().string().find(".~"), std::string::npos) << e.path();
}

INSTANTIATE_TEST_SUITE_P(
    Plants, BitmapRules,
    ::testing::Values(Plant{"AnotherUsersLinkInTheSharedFolder", "shared/planted.bmp", false, "home/.bashrc"},
                      Plant{"AnotherUsersLinkedFolder", "shared/planted/own.bmp", false, "home/own.bmp"},
                      Plant{"AnotherUsersBitmapInTheSharedFolder", "shared/theirs.bmp", false, "shared/theirs.bmp"},
                      Plant{"OwnBitmapInTheSharedFolder", "shared/ours.bmp", true, "shared/ours.bmp"},
                      Plant{"NewNameInTheSharedFolder", "shared/new.bmp", true, "shared/new.bmp"},
                      Plant{"OwnLinkToOwnBitmap", "home/mine.bmp", true, "home/own.bmp"},
                      Plant{"NotABitmap", "home/text.bmp", false, "home/text.bmp"},
                      Plant{"OneByteOfTheSignature", "home/b.bmp", false, "home/b.bmp"},
                      Plant{"TheWholeSignature", "home/bm.bmp", true, "home/bm.bmp"},
                      Plant{"AFolder", "home/folder.bmp", false, nullptr}),
    [](const ::testing::TestParamInfo<Plant>& i) { return std::string(i.param.sName); });

}  // namespace
