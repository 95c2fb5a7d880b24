// How long the library's image processing and bitmap writing take for one
// full-size panoramic image, against a plain copy and write of the same
// number of bytes: the image's 12-bit data as the sensor delivers it, two
// bytes a pixel (which is also what the two calls write: the data file and
// the bitmap, a byte a pixel each). For comparison, a copy and write of the
// bitmap's bytes alone. Measured side by side in the same run, both as
// processor time of the calls (the kernel's share of the writes included:
// steady on a busy machine) and as time on the clock; the verdict goes by
// processor time.
//   zyr_image_bench [FOLDER]   (default: a new folder under /tmp)
#include <fcntl.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/tick_clock.h"
#include "sim/bmp_writer.h"
#include "sim/film_data.h"
#include "sim/virtual_sensor.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Runs f, adding its time on the clock and its processor time to the lists.
template <class F>
bool booTime(F f, std::vector<double>& wall, std::vector<double>& cpu)
{
    const auto t0 = Clock::now();
    const double c0 = cpuMs();
    const bool ok = f();
    cpu.push_back(cpuMs() - c0);
    wall.push_back(msSince(t0));
    return ok;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A panoramic exposure on a stepped clock, read out of the sensor.
bool booExpose(sim::VirtualSensor& sensor, const std::string& dir)
{
    static platform::FakeClock clock(1000);
    platform::vSetClock(&clock);
    const std::string ini = dir + "/ZYR_PAN_WEQ.ini", film = dir + "/NP_P1_A.dat";
    std::ofstream(ini) << "[ZyrPan2]\nXrayDelay=0\nXrayOn=1000\n";
    std::ofstream(film) << sim::sFormatFilmData({"NP_P1_A", sim::Projection::Panoramic, false, 1000,
                                                 std::vector<int32_t>(200, 600)});
    bool ok = sensor.initModule(ini.c_str(), 1) == 0 && sensor.setParam(film.c_str(), 1, 10, 50) == 0 &&
              sensor.waitXExpose() == 0;
    sensor.onConsoleCommand("NP_P1_C 70 4");
    sensor.onUnitReport("X1");
    clock.advance(2000);
    ok = ok && sensor.resetAll() == 0 && sensor.getImageData(1) == 0;
    platform::vSetClock(nullptr);
    return ok;
}

// The first n bytes of src copied to dst and written as a new file.
bool booPlainCopyAndWrite(const std::vector<uint8_t>& src, std::vector<uint8_t>& dst, size_t n,
                          const std::string& path)
{
    std::memcpy(dst.data(), src.data(), n);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < n) {
        const ssize_t k = write(fd, dst.data() + done, n - done);
        if (k <= 0) break;
        done += static_cast<size_t>(k);
    }
    return close(fd) == 0 && done == n;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string dir;
    if (argc > 1) {
        dir = argv[1];
        std::filesystem::create_directories(dir);
    } else {
        char tmpl[] = "/tmp/zyrbenchXXXXXX";
        dir = mkdtemp(tmpl);
    }
    sim::VirtualSensor sensor;
    if (!booExpose(sensor, dir)) {
        std::fprintf(stderr, "the virtual exposure failed\n");
        return 2;
    }
    const std::string dat = dir + "/ZYR_PAN_WEQ.DAT", bmp = dir + "/ZYR_PAN_WEQ.bmp", plain = dir + "/plain.bin";
    int32_t w = 0, h = 0;
    if (sensor.imageProcessing(dat.c_str(), &w, &h) != 0) return 2;
    const size_t lRawBytes = static_cast<size_t>(w) * h * 2;
    const size_t lBmpBytes = sim::kBmpHeaderSize + static_cast<size_t>(sim::lBmpStride(w)) * h;
    std::vector<uint8_t> src(lRawBytes, 0x5A), dst(lRawBytes);

    // Each round starts as an exposure of the console does: no data file
    // (the console deletes it first) and no bitmap yet; the plain writes make
    // a new file as well. Before each measurement the disk catches up with
    // what the one before wrote, so that no write pays for another's. The
    // three alternate so that a busy machine weighs on all alike.
    std::vector<double> oursWall, oursCpu, rawWall, rawCpu, bmpWall, bmpCpu;
    auto ours = [&] {
        return sensor.imageProcessing(dat.c_str(), &w, &h) == 0 &&
               sensor.saveBitmap(dat.c_str(), w, h, 0, 0, bmp.c_str()) == 0;
    };
    for (int i = 0; i < 31; ++i) {
        for (const std::string& f : {dat, bmp, plain}) unlink(f.c_str());
        sync();
        if (!booTime(ours, oursWall, oursCpu)) return 2;
        unlink(plain.c_str());
        sync();
        if (!booTime([&] { return booPlainCopyAndWrite(src, dst, lRawBytes, plain); }, rawWall, rawCpu)) return 2;
        unlink(plain.c_str());
        sync();
        if (!booTime([&] { return booPlainCopyAndWrite(src, dst, lBmpBytes, plain); }, bmpWall, bmpCpu)) return 2;
    }
    const double a = median(oursCpu), b = median(rawCpu);
    std::printf("image %d x %d: 12-bit data %zu bytes, bitmap %zu bytes; medians of %zu rounds\n", w, h, lRawBytes,
                lBmpBytes, oursCpu.size());
    std::printf("                                       processor     clock\n");
    std::printf("processing + bitmap writing:           %7.2f ms  %7.2f ms\n", a, median(oursWall));
    std::printf("copy + write of the 12-bit data bytes: %7.2f ms  %7.2f ms\n", b, median(rawWall));
    std::printf("copy + write of the bitmap's bytes:    %7.2f ms  %7.2f ms\n", median(bmpCpu), median(bmpWall));
    std::printf("ratio %.2f by processor time, %.2f by the clock (limit 3)\n", a / b, median(oursWall) / median(rawWall));
    if (argc <= 1) std::filesystem::remove_all(dir);
    return a < 3 * b ? 0 : 1;
}
