// The console killed (SIGKILL) at random moments around the bitmap write:
// the name in SaveFileName must hold nothing or a whole bitmap, never a
// part. Each round takes a fresh SaveFileName in a folder of its own,
// starts the staged console on the embedded unit with fast timings, presses
// READY and watches for the working folder's ZYR_PAN_WEQ.DAT (the image
// data file is written, just before the bitmap). Three first rounds run to
// their end and learn how long after the DAT the bitmap appears (E, their
// median); every later round is killed at a moment drawn evenly from
// E - N .. E + N after the DAT (N = E unless given: 0 .. 2E).
// A round counts as: before the write (no file, no temporary file), during
// it (no file, the hidden temporary file left), after it (a whole bitmap
// that ImageMagick's identify reads, of the learnt size); anything else at
// the name (empty, short, unreadable) is a FAIL.
//   zyr_kill_write [STAGE_DIR [ROUNDS [N_MS [SEED]]]]   (200 kills)
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <thread>
#include <vector>

#include "bench/soak_console.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLearningRounds = 3;

// The console's working folder under sTmp, once there is one.
QString sWorkFolder(const QString& sTmp) {
    const QStringList folders = QDir(sTmp).entryList({"$*"}, QDir::Dirs | QDir::Hidden);
    return folders.isEmpty() ? QString() : sTmp + "/" + folders.first();
}

// Waits for a file of the given name to appear in a folder (made there or
// renamed into it), woken by the kernel: a busy machine can leave a polling
// watcher asleep for the whole short life of the data file.
class FolderWatch {
public:
    explicit FolderWatch(const QString& sFolder) : folder_(sFolder.toUtf8()) {
        fd_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        inotify_add_watch(fd_, folder_.constData(), IN_CREATE | IN_MOVED_TO);
    }
    ~FolderWatch() { close(fd_); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool booAwait(const char* sName, int iTimeoutMs) const {
        if (::access((folder_ + "/" + sName).constData(), F_OK) == 0) return true;
        const auto end = Clock::now() + std::chrono::milliseconds(iTimeoutMs);
        alignas(inotify_event) char buf[4096];
        for (pollfd p{fd_, POLLIN, 0}; Clock::now() < end;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (::poll(&p, 1, static_cast<int>(left) + 1) <= 0) continue;
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            for (ssize_t at = 0; at < n;) {
                const auto* ev = reinterpret_cast<const inotify_event*>(buf + at);
                if (ev->len > 0 && std::strcmp(ev->name, sName) == 0) return true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + ev->len);
            }
        }
        return false;
    }

private:
    QByteArray folder_;
    int fd_ = -1;
};

// Hidden temporary files beside the image.
QStringList temporaries(const QString& sFolder) {
    return QDir(sFolder).entryList({".*~*"}, QDir::Files | QDir::Hidden);
}

}  // namespace

// Kill delays (us after the DAT) by what the kill left at the name.
struct Outcomes {
    std::map<std::string, std::vector<long>> delays;
    void vAdd(const std::string& what, long us) { delays[what].push_back(us); }
    int count(const std::string& what) const {
        const auto it = delays.find(what);
        return it == delays.end() ? 0 : static_cast<int>(it->second.size());
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sStage = argc > 1 ? QString(argv[1]) : QString(ZYR_STAGE_DIR);
    const int iKills = argc > 2 ? std::atoi(argv[2]) : 200;
    const long lHalfWindowUs = argc > 3 ? std::atol(argv[3]) * 1000 : -1;
    const unsigned seed = argc > 4 ? static_cast<unsigned>(std::atol(argv[4])) : std::random_device{}();
    soak::Console con;
    if (!soak::booIdentifyInstalled() || !con.booPrepare(sStage)) return 2;
    con.vSetFastExposure();
    const QString sRun = con.folder();
    QString sWhy;

    std::mt19937 rng(seed);
    std::vector<long> learnt;
    qint64 llWholeSize = -1;
    long lExpectUs = 0, lHalfUs = 0;
    Outcomes out;
    int iNoRound = 0;
    std::printf("seed %u\n", seed);
    for (int r = 0; r < kLearningRounds + iKills; ++r) {
        const QString sOut = sRun + QString("/out%1").arg(r), sTmp = sRun + QString("/tmp%1").arg(r);
        const QString sImage = sOut + "/image.bmp";
        QDir().mkpath(sOut);
        con.booSet("ZYR_PAN_WEQ", "SaveFileName", sImage);
        QString sWork;
        const bool booExposing = con.booStart(sTmp, sWhy) && con.booPressReady(15000) &&
                                 booWaitFor([&] { return !(sWork = sWorkFolder(sTmp)).isEmpty(); }, 5000);
        const FolderWatch work(sWork), outWatch(sOut);
        if (!booExposing || !work.booAwait("ZYR_PAN_WEQ.DAT", 30000)) {
            std::printf("round %d: %s\n", r, !booExposing ? qPrintable(sWhy) : "no working data file");
            con.process().kill();
            con.process().waitForFinished(5000);
            ++iNoRound;
            continue;
        }
        const auto tDat = Clock::now();
        if (r < kLearningRounds) {
            // Learning: the round runs to its end.
            outWatch.booAwait("image.bmp", 30000);
            learnt.push_back(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - tDat).count());
            const int iExit = con.iWaitExit(30000);
            llWholeSize = QFileInfo(sImage).size();
            std::printf("learning round %d: the image %.1f ms after the DAT, %lld bytes, exit %d\n", r + 1,
                        learnt.back() / 1000.0, llWholeSize, iExit);
            if (iExit != 0 || !soak::booIdentifies(sImage)) {
                std::printf("FAIL: an unkilled round did not write a readable bitmap\n");
                return 1;
            }
            if (r + 1 == kLearningRounds) {
                std::sort(learnt.begin(), learnt.end());
                lExpectUs = learnt[learnt.size() / 2];
                lHalfUs = lHalfWindowUs >= 0 ? lHalfWindowUs : lExpectUs;
                std::printf("kills drawn evenly from %.1f to %.1f ms after the DAT\n",
                            std::max(0L, lExpectUs - lHalfUs) / 1000.0, (lExpectUs + lHalfUs) / 1000.0);
            }
        } else {
            std::uniform_int_distribution<long> at(std::max(0L, lExpectUs - lHalfUs), lExpectUs + lHalfUs);
            const long lDelayUs = at(rng);
            std::this_thread::sleep_until(tDat + std::chrono::microseconds(lDelayUs));
            kill(static_cast<pid_t>(con.process().processId()), SIGKILL);
            con.process().waitForFinished(10000);
            const bool booSignalled = con.process().exitStatus() == QProcess::CrashExit;
            const QFileInfo image(sImage);
            const bool booTemp = !temporaries(sOut).isEmpty();
            if (!image.exists()) {
                out.vAdd(booTemp ? "during" : "before", lDelayUs);
            } else if (image.size() == llWholeSize && soak::booIdentifies(sImage)) {
                out.vAdd(booSignalled ? "after" : "ended", lDelayUs);
            } else {
                out.vAdd("partial", lDelayUs);
                std::printf("round %d: FAIL: %lld bytes at the name%s\n", r, image.size(),
                            soak::booIdentifies(sImage) ? "" : ", identify cannot read it");
            }
            if (image.exists() && booTemp) std::printf("round %d: a temporary file beside the image\n", r);
        }
        QDir(sOut).removeRecursively();
        QDir(sTmp).removeRecursively();
        std::fflush(stdout);
    }
    std::printf("%d kills: %d before the write (no file), %d during it (no file, the hidden temporary file left), "
                "%d after it (whole bitmap), %d after the run had ended (whole bitmap), %d partial or unreadable; "
                "%d rounds did not get to the data file\n",
                iKills, out.count("before"), out.count("during"), out.count("after"), out.count("ended"),
                out.count("partial"), iNoRound);
    for (auto& [what, us] : out.delays) {
        std::sort(us.begin(), us.end());
        std::printf("  %-7s %3zu kills, %.1f .. %.1f ms after the DAT\n", what.c_str(), us.size(), us.front() / 1000.0,
                    us.back() / 1000.0);
    }
    return soak::iVerdict(out.count("partial") == 0 && iNoRound == 0);
}
