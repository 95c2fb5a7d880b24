// zyrpan-unit under a stream of consoles: 1,000 connections one after
// another, then 50 at once. Each connects, sends "c1", waits for the ACK and
// the unit's report, ACKs it and leaves; every tenth leaves after half a
// frame, every tenth more right after the ACK, with the report still owed.
// The unit must answer every whole exchange with "s1" (a new link), answer
// once more at the end, and hold no more descriptors and no more than
// 64 kB more resident memory than after the first 10 connections.
//   zyr_unit_churn [STAGE_DIR [CONNECTIONS]]   (default 1000 one after another)
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/soak_proc.h"
#include "bench/unit_client.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr long kRssToleranceKb = 64;
constexpr int kBaseline = 10, kConcurrent = 50;

enum class Leave { Whole, HalfFrame, OwingReport };

Leave leaveOf(int i) {
    if (i < kBaseline) return Leave::Whole;
    return i % 10 == 7 ? Leave::HalfFrame : i % 10 == 3 ? Leave::OwingReport : Leave::Whole;
}

struct Tally {
    std::mutex m;
    int ok = 0;
    std::map<std::string, int> failures;
    double worstMs = 0;
    void vAdd(const std::string& why, double ms) {
        const std::lock_guard<std::mutex> lock(m);
        if (why.empty()) ++ok;
        else ++failures[why];
        worstMs = std::max(worstMs, ms);
    }
    void vPrint(const char* sPhase, int n) {
        std::printf("%s: %d connections, %d as planned, slowest %.0f ms\n", sPhase, n, ok, worstMs);
        for (const auto& [why, count] : failures) std::printf("  FAILED %d: %s\n", count, why.c_str());
    }
};

// One console's visit; empty when it went as planned, else what went wrong.
std::string sVisit(uint16_t port, Leave how, int iTimeoutMs) {
    soak::UnitClient c;
    if (!c.booConnect(port, iTimeoutMs)) return c.why();
    const std::string frame = soak::sFrameOf("c1");
    if (how == Leave::HalfFrame) return c.booSend(frame.substr(0, frame.size() / 2), iTimeoutMs) ? "" : c.why();
    if (!c.booSend(frame, iTimeoutMs)) return c.why();
    if (how == Leave::OwingReport) return c.booAck(iTimeoutMs) ? "" : c.why();  // gone before the report
    const std::string report = c.sAckThenReport(iTimeoutMs);
    if (report.empty()) return c.why();
    return report == "s1" ? "" : "report \"" + report + "\" instead of \"s1\" on a new link";
}

void vTimedVisit(Tally& t, uint16_t port, Leave how, int iTimeoutMs) {
    const auto t0 = Clock::now();
    const std::string why = sVisit(port, how, iTimeoutMs);
    t.vAdd(why, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string sStage = argc > 1 ? argv[1] : ZYR_STAGE_DIR;
    const int kSequential = argc > 2 ? std::max(kBaseline, std::atoi(argv[2])) : 1000;
    soak::QuickUnit unit;
    if (!unit.booLaunch(sStage)) return 2;
    const pid_t pid = unit.pid();
    auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); };

    Tally seq;
    long lRssBase = 0;
    int iFdsBase = 0;
    const auto t0 = Clock::now();
    for (int i = 0; i < kSequential; ++i) {
        vTimedVisit(seq, unit.port(), leaveOf(i), 10000);
        if (i + 1 == kBaseline) {
            settle();
            lRssBase = soak::lVmRssKb(pid);
            iFdsBase = soak::iOpenFds(pid);
        }
    }
    const double dSeqS = std::chrono::duration<double>(Clock::now() - t0).count();
    seq.vPrint("one after another", kSequential);
    std::printf("  in %.1f s\n", dSeqS);

    Tally par;
    std::vector<std::thread> crowd;
    for (int i = 0; i < kConcurrent; ++i) {
        const Leave how = i % 5 == 2 ? Leave::HalfFrame : i % 5 == 4 ? Leave::OwingReport : Leave::Whole;
        crowd.emplace_back(vTimedVisit, std::ref(par), unit.port(), how, 180000);
    }
    for (std::thread& t : crowd) t.join();
    par.vPrint("fifty at once", kConcurrent);

    Tally last;
    vTimedVisit(last, unit.port(), Leave::Whole, 10000);
    last.vPrint("one more at the end", 1);
    settle();
    const long lRssEnd = soak::lVmRssKb(pid);
    const int iFdsEnd = soak::iOpenFds(pid);
    const bool booUp = soak::booAlive(pid);
    std::printf("open descriptors: %d after the first %d connections, %d at the end\n", iFdsBase, kBaseline,
                iFdsEnd);
    std::printf("resident memory: %ld kB after the first %d connections, %ld kB at the end (%+ld kB, tolerance "
                "%ld kB)\n",
                lRssBase, kBaseline, lRssEnd, lRssEnd - lRssBase, kRssToleranceKb);
    std::printf("trace written by the unit: %llu bytes\n", static_cast<unsigned long long>(unit.llTraceBytes()));
    unit.iStop(SIGTERM);
    return soak::iVerdict(booUp && seq.failures.empty() && par.failures.empty() && last.ok == 1 &&
                          iFdsEnd == iFdsBase && lRssEnd - lRssBase <= kRssToleranceKb);
}
