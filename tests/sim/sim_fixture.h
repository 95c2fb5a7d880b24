// Our library on a fake clock with a settings file of the test's own, and
// the console's end of its link: each read is scanned, every frame that
// arrives is acknowledged (a spoilt one refused with NAK) and every event
// noted with the tick it came at. Time moves only when the test says.
#pragma once
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/tick_clock.h"
#include "sim/film_data.h"
#include "sim/frame_codec.h"
#include "sim/library.h"
#include "tests/support/sim_table.h"
#include "tests/support/temp_dir.h"

namespace simtest {

using Texts = std::vector<std::string>;

inline Texts split(const std::string& s, char sep = ';') {
    Texts out;
    std::istringstream in(s);
    for (std::string part; std::getline(in, part, sep);) out.push_back(part);
    return out;
}

// The names in a folder, sorted; none when it is missing.
inline Texts names(const std::string& folder) {
    Texts out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) out.push_back(e.path().filename());
    std::sort(out.begin(), out.end());
    return out;
}

// A pseudo-terminal as the unit's serial line: the test plays the far side.
struct Pty {
    Pty() {
        if (fd >= 0 && ::grantpt(fd) == 0 && ::unlockpt(fd) == 0) device = ::ptsname(fd);
    }
    ~Pty() { vClose(); }
    void vClose() {  // the adapter is unplugged
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    std::string device;  // empty: no pseudo-terminal here
};

// A 32-bit little-endian field of a file.
inline uint32_t u32(const std::string& b, size_t off) {
    return uint8_t(b[off]) | uint8_t(b[off + 1]) << 8 | uint8_t(b[off + 2]) << 16 | uint32_t(uint8_t(b[off + 3])) << 24;
}

// The staged program folder, as CTest names it.
inline std::string sStage() {
    return std::getenv("ZYR_STAGE_DIR") != nullptr ? std::getenv("ZYR_STAGE_DIR") : "ZYR_STAGE_DIR-is-not-set";
}

class LineEnd {
public:
    explicit LineEnd(const ZyrLib& lib) : lib_(lib) {}
    int32_t lSend(const std::string& text) {
        const std::string f = sim::sBuildFrame(text);
        return lib_.Ether232Send(f.data(), static_cast<int16_t>(f.size()));
    }
    // One read; per event "ACK", "NAK", a frame's text or "BAD" (a spoilt
    // frame), and the read's status when it turns negative.
    int32_t lPoll(uint32_t at) {
        char buf[1024];
        const int32_t n = lib_.Ether232Recv(buf);
        if (n < 0 && last >= 0) events.push_back({at, std::to_string(n)});
        last = n;
        wire.append(buf, static_cast<size_t>(std::max(n, 0)));
        scanner_.feed(std::string_view(buf, static_cast<size_t>(std::max(n, 0))));
        for (auto ev = scanner_.next(); ev.kind != sim::FrameScanner::Kind::None; ev = scanner_.next()) {
            const bool frame = ev.kind == sim::FrameScanner::Kind::Frame;
            events.push_back({at, frame ? (ev.valid ? sim::sFrameText(ev.frame) : "BAD")
                                        : ev.kind == sim::FrameScanner::Kind::Ack ? "ACK" : "NAK"});
            const char reply = ev.valid ? sim::kAck : sim::kNak;
            if (frame) lib_.Ether232Send(&reply, 1);
        }
        return n;
    }
    // "ms what" from the tick t0 on; without ACK and NAK unless asked.
    Texts seen(uint32_t t0, bool acks) const {
        Texts out;
        for (const auto& [at, what] : events)
            if (acks || (what != "ACK" && what != "NAK")) out.push_back(std::to_string(at - t0) + " " + what);
        return out;
    }

    std::vector<std::pair<uint32_t, std::string>> events;
    std::string wire;
    int32_t last = 0;

private:
    ZyrLib lib_;
    sim::FrameScanner scanner_;
};

class SimTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::vSetClock(&clock_);
        sim::vResetLibrary();
    }
    void TearDown() override {
        sim::vResetLibrary();
        platform::vSetClock(nullptr);
    }
    // The settings file: the test's keys first (of two equal keys the first
    // counts), then (unless told not to) the simulator chosen explicitly.
    const std::string& sIni(const std::string& keys, bool booSim = true) {
        zyrtest::writeBytes(ini_, "[ZyrPan2]\n" + keys + (booSim ? "\nLink=sim\nSensor=sim\n" : "\n"));
        return ini_;
    }
    int32_t lOpen(const std::string& keys) {
        lib_.Init(sIni(keys).c_str(), 1);
        return lib_.SetCommInit();
    }
    // Lets ms pass in 10 ms ticks, reading the link at each as the console does.
    void vRun(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            clock_.advance(10);
            line_.lPoll(clock_.tickCount());
        }
    }
    // A film speed data file of equal speeds.
    std::string sFilm(int32_t exposure = 3000, size_t steps = 400, sim::Projection p = sim::Projection::Panoramic) {
        const std::string path = dir_.file("NP_X.dat");
        zyrtest::writeBytes(path, sim::sFormatFilmData({"NP_X", p, false, exposure, std::vector<int32_t>(steps, 500)}));
        return path;
    }

    platform::FakeClock clock_{1000};
    zyrtest::TempDir dir_;
    std::string ini_ = dir_.file("ZYR_PAN_WEQ.ini");
    ZyrLib lib_ = simTable();
    LineEnd line_{lib_};
};

}  // namespace simtest
