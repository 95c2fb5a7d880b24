// The virtual sensor before its images: the film speed data file and the
// exposure parameters, and the status byte the console polls while the
// X-ray is on, one on/off edge per image, each burst started by the unit's "X1".
#include <sys/stat.h>

#include "sim/virtual_sensor.h"
#include "tests/sim/sim_fixture.h"

namespace {

using namespace simtest;

std::string speeds(size_t n, int32_t v) {
    std::string s = "speed";
    for (size_t i = 0; i < n; ++i) s += " " + std::to_string(v);
    return s + "\n";
}

using SensorFilm = SimTest;

// Faults: a bad file accepted or a good one refused, a limit of the exposure
// range off by one, the lag left out of the window, a status mixed up.
TEST_F(SensorFilm, EachFileGetsItsStatusAndOnlyAnAcceptedOneLetsTheSensorWait) {
    const std::string head = "ZYRFILM 1\nname NP_X\nprojection panoramic\npatient adult\n", e3000 = head + "exposure 3000\n";
    const std::string crlf = "# c\r\nZYRFILM 1 # v\r\nname A\r\nprojection tmj\r\npatient child\r\nexposure 500\r\n";
    const struct {
        const char* name;
        std::string text;
        int32_t step, lag, status;
    } files[] = {
        {"good", e3000 + speeds(400, 500), 10, 50, 0},
        {"comments, CR LF, two speed lines", crlf + speeds(30, 50) + speeds(30, 3000), 10, 50, 0},
        {"empty", "", 10, 50, 10},
        {"version 2", "ZYRFILM 2\n" + e3000.substr(10) + speeds(400, 500), 10, 50, 10},
        {"unknown key", e3000 + "shape round\n" + speeds(400, 500), 10, 50, 10},
        {"speed not a number", e3000 + "speed 500 5x0\n", 10, 50, 10},
        {"speed a fraction", e3000 + "speed 500.5\n", 10, 50, 10},
        {"no exposure", head + speeds(400, 500), 10, 50, 10},
        {"exposure twice", e3000 + "exposure 3000\n" + speeds(400, 500), 10, 50, 10},
        {"no speeds", e3000, 10, 50, 10},
        {"unknown projection", "ZYRFILM 1\nname A\nprojection ceph\npatient adult\nexposure 3000\n" + speeds(400, 500), 10, 50, 10},
        {"exposure beyond 32 bits", head + "exposure 99999999999\n" + speeds(400, 500), 10, 50, 10},
        {"exposure 499", head + "exposure 499\n" + speeds(400, 500), 10, 50, 11},
        {"exposure 500", head + "exposure 500\n" + speeds(400, 500), 10, 50, 0},
        {"exposure 20001", head + "exposure 20001\n" + speeds(2100, 500), 10, 0, 11},
        {"exposure 20000", head + "exposure 20000\n" + speeds(2100, 500), 10, 0, 0},
        {"speed 49", e3000 + speeds(399, 500) + speeds(1, 49), 10, 50, 11},
        {"speed 3001", e3000 + speeds(1, 3001) + speeds(399, 500), 10, 50, 11},
        {"speeds short of the exposure", e3000 + speeds(299, 500), 10, 0, 11},
        {"the same at longer steps", e3000 + speeds(299, 500), 20, 50, 0},
        {"speeds short of the lag", e3000 + speeds(304, 500), 10, 50, 12},
        {"speeds cover the lag", e3000 + speeds(305, 500), 10, 50, 0},
        {"window with lag 20001 ms", head + "exposure 19990\n" + speeds(2100, 500), 10, 11, 12},
        {"window 20000 ms", head + "exposure 19990\n" + speeds(2100, 500), 10, 10, 0},
    };
    ASSERT_EQ(lib_.SetSensMduInit(sIni("").c_str(), 1), 0);
    for (const auto& f : files) {
        zyrtest::writeBytes(dir_.file("film.dat"), f.text);
        EXPECT_EQ(lib_.SetParamforPictEx(dir_.file("film.dat").c_str(), 1, f.step, f.lag), f.status) << f.name;
        EXPECT_EQ(lib_.SetWaitXExpose(), f.status == 0 ? 0 : 9) << f.name;
    }
}

// Faults: an image count, TimeStep or TimeLag the sensor cannot take is
// accepted (or one it can take refused); a missing file or a folder read as
// a film; parameters taken before the module is ready.
TEST_F(SensorFilm, ParametersAndFilesTheSensorCannotTake) {
    const std::string film = sFilm();
    lib_.Init(sIni("").c_str(), 1);
    EXPECT_EQ(lib_.SetParamforPictEx(film.c_str(), 1, 10, 50), 9) << "module not initialised";
    EXPECT_EQ(lib_.SetWaitXExpose(), 9);
    ASSERT_EQ(lib_.SetSensMduInit(sIni("").c_str(), 1), 0);
    for (int32_t n : {0, 3, 5, -1}) EXPECT_EQ(lib_.SetParamforPictEx(film.c_str(), n, 10, 50), 3) << n << " images";
    for (int32_t n : {1, 2, 4}) EXPECT_EQ(lib_.SetParamforPictEx(film.c_str(), n, 10, 50), 0) << n << " images";
    EXPECT_EQ(lib_.SetParamforPictEx(film.c_str(), 1, 0, 50), 3);
    EXPECT_EQ(lib_.SetParamforPictEx(film.c_str(), 1, 10, -1), 3);
    EXPECT_EQ(lib_.SetParamforPictEx(film.c_str(), 1, 10, 0), 0);
    EXPECT_EQ(lib_.SetParamforPictEx(dir_.file("FILM/NP_P1_A.dat").c_str(), 1, 10, 50), -99);
    ASSERT_EQ(mkdir(dir_.file("folder.dat").c_str(), 0755), 0);
    EXPECT_EQ(lib_.SetParamforPictEx(dir_.file("folder.dat").c_str(), 1, 10, 50), -99);
}

// Faults: a staged film of the wrong mode, patient or projection, or one the
// default TimeStep and lags up to 1000 ms do not suit.
TEST(StagedFilms, SuitTheDefaultsAndNotHalfTheTimeStep) {
    for (const std::string film : {"NP_P1_A panoramic adult", "NP_P1_C panoramic child", "NP_T4 tmj adult"}) {
        const std::string path = sStage() + "/FILM/" + film.substr(0, film.find(' ')) + ".dat";
        sim::FilmData d;
        ASSERT_EQ(sim::lReadFilmData(path, 10, 1000, d), 0) << path;
        EXPECT_EQ(d.sName + (d.eProjection == sim::Projection::Tmj ? " tmj" : " panoramic") + (d.booChild ? " child" : " adult"), film);
        EXPECT_EQ(sim::lReadFilmData(path, 5, 50, d), 11) << film;
    }
}

struct Timeline {
    const char* name;
    const char* keys;
    int32_t images;
    const char* steps;  // "ms event": "wait" (SetWaitXExpose), ">" console command, "<" unit report
    uint32_t poll;      // ms between the console's polls
    const char* seen;   // "ms byte" at each change, "ms =status" when a poll fails
};

class SensorTimeline : public SimTest, public ::testing::WithParamInterface<Timeline> {};

// Faults each case catches: an edge early, late, missing or extra; a burst
// started without its command or before the sensor waits; an image lost
// between two polls; a stop ignored; the tick count's wrap mistaken.
TEST_P(SensorTimeline, OneEdgePairPerImage) {
    const Timeline& c = GetParam();
    clock_.set(0xFFFFFFFFu - 1000);  // the tick count wraps in every case
    ASSERT_EQ(lib_.SetSensMduInit(sIni(std::string(c.keys) + "\nXrayOn=3000\nXrayGap=1000").c_str(), 1), 0);
    ASSERT_EQ(lib_.SetParamforPictEx(sFilm().c_str(), c.images, 10, 50), 0);
    const uint32_t t0 = clock_.tickCount();
    const Texts steps = split(c.steps);
    Texts seen;
    std::string last = "0";
    for (uint32_t t = 0, next = 0; t <= 20000; t += 10) {
        clock_.set(t0 + t);
        for (; next < steps.size() && std::stoul(steps[next]) == t; ++next) {
            const std::string what = steps[next].substr(steps[next].find(' ') + 1);
            EXPECT_EQ(what == "wait" ? lib_.SetWaitXExpose() : 0, 0);
            if (what[0] == '<') sim::theSensor().onUnitReport(what.substr(1));
            if (what[0] == '>') sim::theSensor().onConsoleCommand(what.substr(1));
        }
        if (t % c.poll != 0) continue;
        uint8_t b = 0;
        const int32_t status = lib_.CheckPictStatus(&b);
        const std::string now = status == 0 ? std::to_string(b) : "=" + std::to_string(status);
        if (now != last) seen.push_back(std::to_string(t) + " " + now);
        last = now;
    }
    EXPECT_EQ(seen, split(c.seen));
}

INSTANTIATE_TEST_SUITE_P(Cases, SensorTimeline, ::testing::Values(
    Timeline{"OneImage", "", 1, "0 wait;0 >NP_P1_C 70 4;0 <X1;8000 >NP_P1_C 70 4;8000 <X1", 10, "500 1;3500 0"},
    Timeline{"TwoImages", "", 2, "0 wait;0 >NP_P1_C 70 4;0 <X1", 10, "500 1;3500 0;4500 1;7500 0"},
    Timeline{"FourInTwoHalves", "", 4, "0 wait;0 >NP_T4 70 6;0 <X1;8000 >NP_T4 70 6;8000 <X1", 10,
             "500 1;3500 0;4500 1;7500 0;8500 1;11500 0;12500 1;15500 0"},
    Timeline{"X1WithoutCommand", "", 1, "0 wait;0 <X1", 10, ""},
    Timeline{"X1BeforeTheSensorWaits", "", 1, "0 >NP_P1_C 70 4;0 <X1;100 wait", 10, ""},
    Timeline{"ResentX1StartsNoHalf", "", 4, "0 wait;0 >NP_T4 70 6;0 <X1;1000 <X1;9000 <X1", 10,
             "500 1;3500 0;4500 1;7500 0"},
    Timeline{"SlowPollsSeeEveryImage", "XrayDelay=100\nXrayOn=600\nXrayGap=600", 2, "0 wait;0 >NP_P1_C 70 4;0 <X1",
             2000, "2000 1;4000 0;6000 1;8000 0"},
    Timeline{"UnitD0CutsTheImageAndDropsTheRest", "", 2, "0 wait;0 >NP_P1_C 70 4;0 <X1;2000 <d0", 10, "500 1;2000 0"},
    Timeline{"ConsoleX0", "", 1, "0 wait;0 >NP_P1_C 70 4;0 <X1;1000 >x0", 10, "500 1;1000 0"},
    Timeline{"ConsoleR0", "", 1, "0 wait;0 >NP_P1_C 70 4;0 <X1;1000 >r0", 10, "500 1;1000 0"},
    Timeline{"ConsoleD0", "", 1, "0 wait;0 >NP_P1_C 70 4;0 <X1;1000 >d0", 10, "500 1;1000 0"},
    Timeline{"SensorNoXray", "SensorNoXray=1", 1, "0 wait;0 >NP_P1_C 70 4;0 <X1", 10, ""},
    Timeline{"PollFailsOnceTheXrayBegan", "SensorPollFail=21", 1, "0 wait;0 >NP_P1_C 70 4;0 <X1", 10, "500 =21"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
