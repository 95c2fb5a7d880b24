// The console left idle on the embedded unit (Link=sim) for a long time:
// its resident memory (VmRSS) is sampled every 10 s; after the first
// minute it must grow by less than 1 MB (largest sample against the
// sample at one minute), and the console must still be running.
//   zyr_idle_rss [STAGE_DIR [MINUTES]]      (default 30 minutes)
#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <cstdio>

#include "bench/soak_console.h"

namespace {
constexpr long kGrowthLimitKb = 1024;
constexpr int kSampleSeconds = 10;
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sStage = argc > 1 ? QString(argv[1]) : QString(ZYR_STAGE_DIR);
    const int iMinutes = argc > 2 ? std::max(2, std::atoi(argv[2])) : 30;

    soak::Console con;
    if (!con.booPrepare(sStage)) return 2;
    QString sWhy;
    if (!con.booStartIdle(sWhy)) {
        std::printf("FAIL: %s\n", qPrintable(sWhy));
        return 2;
    }
    const pid_t pid = static_cast<pid_t>(con.process().processId());

    long lAtMinute = -1, lMax = 0, lLast = -1;
    const int iSamples = iMinutes * 60 / kSampleSeconds;
    for (int i = 1; i <= iSamples && soak::booAlive(pid); ++i) {
        QThread::sleep(kSampleSeconds);
        lLast = soak::lVmRssKb(pid);
        if (i * kSampleSeconds == 60) lAtMinute = lLast;
        if (lAtMinute >= 0) lMax = std::max(lMax, lLast);
        if (i * kSampleSeconds % 60 == 0) std::printf("  %3d min: VmRSS %ld kB\n", i * kSampleSeconds / 60, lLast);
        std::fflush(stdout);
    }
    const bool booUp = soak::booAlive(pid) && con.process().state() == QProcess::Running;
    con.process().kill();
    con.process().waitForFinished(5000);

    const long lGrowth = lMax - lAtMinute;
    std::printf("idle %d min on Link=sim: VmRSS at 1 min %ld kB, max after %ld kB, final %ld kB, growth %+ld kB "
                "(limit < %ld kB), console %s\n",
                iMinutes, lAtMinute, lMax, lLast, lGrowth, kGrowthLimitKb, booUp ? "running" : "GONE");
    return soak::iVerdict(booUp && lAtMinute > 0 && lGrowth < kGrowthLimitKb);
}
