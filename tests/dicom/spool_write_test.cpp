// The spool on disk: an object is there whole under its name or not at all,
// also when the writer is killed at any moment or the disk is full; and the
// sender is started detached from the console.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <sstream>
#include <thread>

#include "dicom/sender_start.h"
#include "dicom/spool_write.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> names(const std::string& sFolder) {
    std::vector<std::string> v;
    for (const auto& e : fs::directory_iterator(sFolder)) v.push_back(e.path().filename().string());
    std::sort(v.begin(), v.end());
    return v;
}

// A writer killed at random moments: the name holds the whole object or is
// absent; at most the hidden temporary file is left.
TEST(SpoolWrite, AKilledWriterNeverLeavesPartOfAnObjectUnderItsName) {
    zyrtest::TempDir dir;
    const std::string sBytes(8 << 20, 'x');
    std::mt19937 rng(7);
    for (int i = 0; i < 24; ++i) {
        const std::string sSpool = dir.file("s" + std::to_string(i));
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::string sWhy;
            _exit(booSpoolWrite(sSpool, "obj.dcm", sBytes, sWhy) ? 0 : 1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 60000));
        kill(pid, SIGKILL);
        int iStatus = 0;
        waitpid(pid, &iStatus, 0);
        if (!fs::exists(sSpool)) continue;
        for (const std::string& s : names(sSpool)) EXPECT_TRUE(s == "obj.dcm" || s == ".obj.dcm.part") << s;
        if (fs::exists(sSpool + "/obj.dcm")) {
            EXPECT_EQ(fs::file_size(sSpool + "/obj.dcm"), sBytes.size());
        }
    }
}

// A spool that cannot be written: the reason, and no file left behind. A
// full disk, as the file size limit makes it for this process, one byte
// either side of the limit; the folder made on the way, open to the group
// whatever the umask, to others not at all.
TEST(SpoolWrite, AFullOrUnusableSpoolSaysWhyAndLeavesNothing) {
    zyrtest::TempDir dir;
    std::string sWhy;
    zyrtest::writeBytes(dir.file("file"), "x");
    for (const std::string& sSpool : {dir.file("file"), dir.file("file/spool")}) {
        EXPECT_FALSE(booSpoolWrite(sSpool, "o.dcm", "DICM", sWhy));
        EXPECT_EQ(sWhy, "cannot use " + dir.file("file") + ": Not a directory");
    }
    const std::string sSpool = dir.file("a/spool");
    struct rlimit old {}, small {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    small = old;
    small.rlim_cur = 4096;
    signal(SIGXFSZ, SIG_IGN);
    const mode_t oldMask = umask(022);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool booBig = booSpoolWrite(sSpool, "big.dcm", std::string(4097, 'x'), sWhy);
    const std::string sBigWhy = sWhy;
    const bool booFits = booSpoolWrite(sSpool, "fits.dcm", std::string(4095, 'x') + "y", sWhy);
    setrlimit(RLIMIT_FSIZE, &old);
    umask(oldMask);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(booBig);
    EXPECT_EQ(sBigWhy, "cannot write " + sSpool + "/.big.dcm.part: File too large");
    EXPECT_TRUE(booFits) << sWhy;
    EXPECT_EQ(names(sSpool), std::vector<std::string>{"fits.dcm"});
    EXPECT_EQ(zyrtest::readBytes(sSpool + "/fits.dcm"), std::string(4095, 'x') + "y");
    struct stat st {};
    ASSERT_EQ(stat(sSpool.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0770u);
}

// The sender outlives the console: its own session, not the console's
// child, no inherited streams or descriptors, and "--once".
TEST(SenderStart, RunsTheSenderBesideTheProgramDetached) {
    zyrtest::TempDir dir;
    EXPECT_FALSE(booStartSenderIfIdle(dir.path()));  // none there: nothing started
    const std::string sOut = dir.file("seen");
    const int fdKept = open("/dev/null", O_RDONLY);  // a descriptor the sender must not hold
    ASSERT_GE(fdKept, 3);
    zyrtest::writeBytes(sSenderPath(dir.path()),
                        "#!/bin/sh\n"
                        "echo \"$@\" > " + sOut + ".tmp\n"
                        "cut -d' ' -f4,6 /proc/$$/stat >> " + sOut + ".tmp\n"
                        "(test -e /proc/$$/fd/" + std::to_string(fdKept) + " && echo held || echo closed) >> " + sOut + ".tmp\n"
                        "readlink /proc/$$/fd/2 >> " + sOut + ".tmp\n"
                        "mv " + sOut + ".tmp " + sOut + "\n");
    EXPECT_FALSE(booStartSenderIfIdle(dir.path()));  // not executable
    chmod(sSenderPath(dir.path()).c_str(), 0755);
    ASSERT_TRUE(booStartSenderIfIdle(dir.path()));
    close(fdKept);
    for (int i = 0; i < 500 && !fs::exists(sOut); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::istringstream seen(zyrtest::readBytes(sOut));
    std::string sArgs, sFds, sErr;
    long lSid = 0, lParent = 0;
    std::getline(seen, sArgs);
    seen >> lParent >> lSid >> sFds >> sErr;
    EXPECT_EQ(sArgs, "--once");
    EXPECT_NE(lSid, getsid(0));
    EXPECT_NE(lParent, getpid());
    EXPECT_EQ(sErr, "/dev/null");
    EXPECT_EQ(sFds, "closed");
}

}  // namespace
