// zyrpan-unit fed rubbish: 10 MB of random bytes on one connection, then
// frames of 100 kB (each must be refused with one NAK) and one of 100 kB
// that never ends, on another. After each, the next well-formed frame
// ("c1") must get its ACK and the unit's report, and the unit must still
// run. Prints the unit's resident memory and descriptors before and after.
//   zyr_unit_garbage [STAGE_DIR [SEED]]
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <thread>

#include "bench/soak_proc.h"
#include "bench/unit_client.h"

namespace {

constexpr size_t kRandomBytes = 10u << 20, kChunk = 64u << 10;
constexpr size_t kLongFrame = 100000;
constexpr int kLongFrames = 100;

// Sends "c1" and takes its ACK and the report; prints what came.
bool booAnswersC1(soak::UnitClient& c, const char* sAfter) {
    (void)c.sTakeUntilQuiet(500, 30000);
    const std::string report = c.booSend(soak::sFrameOf("c1"), 10000) ? c.sAckThenReport(10000) : "";
    std::printf("after %s: \"c1\" %s%s\n", sAfter, report.empty() ? "NOT answered: " : "answered, report ",
                report.empty() ? c.why().c_str() : ("\"" + report + "\"").c_str());
    return !report.empty();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string sStage = argc > 1 ? argv[1] : ZYR_STAGE_DIR;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : std::random_device{}();
    soak::QuickUnit unit;
    if (!unit.booLaunch(sStage)) return 2;
    const pid_t pid = unit.pid();
    const long lRss0 = soak::lVmRssKb(pid);
    const int iFds0 = soak::iOpenFds(pid);
    std::printf("random bytes: %zu, seed %u\n", kRandomBytes, seed);

    bool booAnswered = true;
    {
        soak::UnitClient c;
        std::mt19937 rng(seed);
        std::string chunk(kChunk, '\0');
        bool booSent = c.booConnect(unit.port(), 10000);
        for (size_t sent = 0; booSent && sent < kRandomBytes; sent += kChunk) {
            std::generate(chunk.begin(), chunk.end(), [&] { return static_cast<char>(rng()); });
            booSent = c.booSend(chunk, 60000);
        }
        if (!booSent) std::printf("random bytes NOT all taken: %s\n", c.why().c_str());
        booAnswered = booSent && booAnswersC1(c, "10 MB of random bytes");
    }
    int iNaks = 0;
    {
        soak::UnitClient c;
        std::string body(kLongFrame, '\0');
        for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('A' + i % 26);
        const std::string frame = "\x02" + body + "\x03";
        bool booSent = c.booConnect(unit.port(), 10000);
        for (int i = 0; booSent && i < kLongFrames; ++i) booSent = c.booSend(frame, 60000);
        // Count the NAKs: one per frame, nothing else.
        const std::string in = c.sTakeUntilQuiet(1000, 30000);
        iNaks = static_cast<int>(std::count(in.begin(), in.end(), '\x15'));
        std::printf("%d frames of %zu bytes: %d NAK, %zu bytes in all came back\n", kLongFrames, frame.size(), iNaks,
                    in.size());
        booAnswered = booSent && booAnswersC1(c, "the long frames") && booAnswered;
        booSent = booSent && c.booSend("\x02" + body, 60000);
        booAnswered = booSent && booAnswersC1(c, "a long frame without its end") && booAnswered;
    }
    soak::UnitClient fresh;
    booAnswered = fresh.booConnect(unit.port(), 10000) && booAnswersC1(fresh, "a new connection") && booAnswered;
    fresh.vClose();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const bool booUp = soak::booAlive(pid);
    std::printf("unit %s; VmRSS %ld kB before, %ld kB after; descriptors %d before, %d after\n",
                booUp ? "running" : "GONE", lRss0, soak::lVmRssKb(pid), iFds0, soak::iOpenFds(pid));
    unit.iStop(SIGTERM);
    return soak::iVerdict(booUp && booAnswered && iNaks == kLongFrames);
}
