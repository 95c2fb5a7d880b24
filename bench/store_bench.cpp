// The DICOM sender against Orthanc on loopback, in one run:
//  1. the time from a bitmap written to the instance readable in the
//     archive, with the sender's service watching the spool;
//  2. making plus sending N objects from N bitmaps (objects into the spool,
//     then one `zyr-pan-weq-store --once`) against DCMTK's own tools doing
//     the same (`img2dcm` per bitmap, then one `storescu` for all), as a ratio.
// Usage: zyr_store_bench [N [ROUNDS]]   (defaults 10 and 5)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/store_bench_object.h"
#include "tests/support/orthanc_peer.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
double dMs(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

// The console's bitmap: 2900 x 1400, 8 bits, grey palette, rows bottom-up.
void vWriteBitmap(const std::string& sPath, int iSeed) {
    const uint32_t w = 2900, h = 1400, stride = (w + 3) & ~3u, off = 14 + 40 + 1024;
    std::vector<unsigned char> b(off + static_cast<size_t>(stride) * h, 0);
    auto put = [&](size_t i, uint32_t v, int n) {
        for (int k = 0; k < n; ++k) b[i + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<uint32_t>(b.size()), 4);
    put(10, off, 4);
    put(14, 40, 4);
    put(18, w, 4);
    put(22, h, 4);
    put(26, 1, 2);
    put(28, 8, 2);
    put(34, stride * h, 4);
    put(46, 256, 4);
    put(50, 256, 4);
    for (uint32_t i = 0; i < 256; ++i) put(54 + 4 * i, i | (i << 8) | (i << 16), 4);
    uint32_t r = 12345u + static_cast<uint32_t>(iSeed);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            r = r * 1103515245u + 12345u;
            b[off + y * stride + x] = static_cast<unsigned char>((x / 12 + y / 7 + (r >> 28)) & 0xFF);
        }
    const std::string sTemp = sPath + ".tmp";
    std::ofstream(sTemp, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    std::filesystem::rename(sTemp, sPath);
}

pid_t pidSpawn(const std::vector<std::string>& args, bool booQuiet = true) {
    std::vector<char*> argv;
    for (const auto& s : args) argv.push_back(const_cast<char*>(s.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (booQuiet) {
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

int iRun(const std::vector<std::string>& args) {
    const pid_t pid = pidSpawn(args);
    int st = 0;
    if (pid < 0 || waitpid(pid, &st, 0) != pid) return -1;
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

int iCount(const zyrtest::OrthancPeer& o) {
    std::string s;
    if (o.iGet("/statistics", s) != 200) return -1;
    return QJsonDocument::fromJson(QByteArray::fromStdString(s)).object().value("CountInstances").toInt(-1);
}

bool booWaitCount(const zyrtest::OrthancPeer& o, int n, int iTimeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(iTimeoutMs);
    while (iCount(o) < n) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

int iFail(const std::string& s) {
    std::fprintf(stderr, "zyr_store_bench: %s\n", s.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int iRounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    zyrtest::OrthancPeer o;
    std::string sWhy;
    if (!o.booStart(sWhy)) return iFail(sWhy);

    namespace fs = std::filesystem;
    const fs::path dir = fs::path(o.sFolder()) / "bench";
    const fs::path prog = dir / "program", spool = prog / "spool", bmps = dir / "bmp", tools = dir / "tools";
    for (const auto& d : {prog, spool, bmps, tools}) fs::create_directories(d);
    fs::copy_file(std::string(ZYR_STAGE_DIR) + "/zyr-pan-weq-store", prog / "zyr-pan-weq-store");
    const std::string sStore = o.sAE() + "@127.0.0.1:" + std::to_string(o.iDicomPort());
    std::ofstream(prog / "ZYR_PAN_WEQ.ini") << "[DICOM]\nEnabled=1\nPixelSpacing=0.1\nStationAE=ZYRPANWEQ\nStore=" << sStore
                                            << "\nSpool=spool\nRetrySeconds=0.05\nRetryMaxSeconds=0.5\n";
    const std::string sSender = (prog / "zyr-pan-weq-store").string();

    // 1. Bitmap written to instance readable, the service watching the spool.
    const pid_t service = pidSpawn({sSender});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::vector<double> lat;
    for (int r = 0; r < iRounds; ++r) {
        const std::string sBmp = (bmps / ("lat" + std::to_string(r) + ".bmp")).string();
        const int iBefore = iCount(o);
        const auto t0 = Clock::now();
        vWriteBitmap(sBmp, 1000 + r);
        if (!booSpoolObjectFromBitmap(sBmp, spool.string(), sWhy)) return iFail(sWhy);
        if (!booWaitCount(o, iBefore + 1, 60000)) return iFail("the instance did not arrive");
        lat.push_back(dMs(t0, Clock::now()));
    }
    kill(service, SIGTERM);
    waitpid(service, nullptr, 0);
    std::sort(lat.begin(), lat.end());

    // 2. N bitmaps made and sent: ours against img2dcm + storescu.
    std::vector<std::string> sBmps;
    for (int i = 0; i < n; ++i) {
        sBmps.push_back((bmps / ("b" + std::to_string(i) + ".bmp")).string());
        vWriteBitmap(sBmps.back(), i);
    }
    int iBefore = iCount(o);
    auto t0 = Clock::now();
    for (const auto& s : sBmps)
        if (!booSpoolObjectFromBitmap(s, spool.string(), sWhy)) return iFail(sWhy);
    const double dOursMade = dMs(t0, Clock::now());
    if (iRun({sSender, "--once"}) != 0) return iFail("zyr-pan-weq-store --once did not deliver everything");
    const double dOurs = dMs(t0, Clock::now());
    if (iCount(o) != iBefore + n) return iFail("the archive did not get all objects from the sender");

    iBefore = iCount(o);
    t0 = Clock::now();
    std::vector<std::string> storescu{"storescu", "-aet", "ZYRPANWEQ", "-aec", o.sAE(), "127.0.0.1",
                                      std::to_string(o.iDicomPort())};
    for (int i = 0; i < n; ++i) {
        const std::string sOut = (tools / ("t" + std::to_string(i) + ".dcm")).string();
        if (iRun({"img2dcm", "-i", "BMP", sBmps[static_cast<size_t>(i)], sOut}) != 0) return iFail("img2dcm failed");
        storescu.push_back(sOut);
    }
    const double dToolsMade = dMs(t0, Clock::now());
    if (iRun(storescu) != 0) return iFail("storescu failed");
    const double dTools = dMs(t0, Clock::now());
    if (iCount(o) != iBefore + n) return iFail("the archive did not get all objects from storescu");

    std::printf("bitmap written -> instance readable in the archive (%d rounds): median %.1f ms, max %.1f ms\n",
                iRounds, lat[lat.size() / 2], lat.back());
    std::printf("%d bitmaps made and sent: zyr-pan-weq-store %.1f ms (making %.1f), img2dcm + storescu %.1f ms "
                "(making %.1f), ratio %.2fx\n",
                n, dOurs, dOursMade, dTools, dToolsMade, dOurs / dTools);
    return 0;
}
